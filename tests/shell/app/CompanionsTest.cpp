#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CDecorator.h"
#include "CDesktop.h"
#include "CPanorama.h"
#include "CPaneBorder.h"
#include "CScrollBar.h"
#include "CWindow.h"
#include "Memory.h"
#include "Menus.h"
#include "ShellAppTestSupport.h"
#include "VLArray.h"
#include "VLClipboard.h"
#include "VLDecorator.h"
#include "VLScrollPane.h"
#include "VLSmallDefaultButton.h"
#include "VLWindow.h"

namespace {

// A window of the program made the way documents make theirs, owned by a director.
struct WindowOwner : CDirector {
  VLWindow* window = nullptr;
  void Make(CDirectorOwner* owner) {
    Init(owner);
    window = new VLWindow;
    window->Init(500, false, gDesktop, this);
  }
};

// A model object stand-in that logs its disposal.
struct LoggedObject : CCollaborator {
  LoggedObject(std::vector<std::string>* log, std::string name) : log(log), name(std::move(name)) {}
  void Dispose() override {
    log->push_back(name);
    CCollaborator::Dispose();
  }
  std::vector<std::string>* log;
  std::string name;
};

VLArray* ArrayOf(std::initializer_list<CCollaborator*> objects) {
  auto* array = new VLArray(VLArray::kPointerSize);
  for (CCollaborator* o : objects) array->AppendPointer(o);
  return array;
}

Point ContentTopLeft(CWindow* window) {
  Rect r;
  window->GetContentRect(&r);
  return Point{r.top, r.left};
}

}  // namespace

TEST_F(ShellAppFixture, DecoratorStaggersFivePlacesAndStartsAgain) {
  MakeApp();
  auto* decorator = dynamic_cast<VLDecorator*>(gDecorator);
  ASSERT_NE(decorator, nullptr);
  EXPECT_EQ(decorator->defaultWidth, 687);
  EXPECT_EQ(decorator->defaultHeight, 550);
  std::vector<WindowOwner*> owners;
  std::vector<Point> places;
  for (int i = 0; i < 6; ++i) {
    auto* owner = new WindowOwner;
    owner->Make(app);
    decorator->PlaceNewWindow(owner->window, true);
    places.push_back(ContentTopLeft(owner->window));
    owners.push_back(owner);
  }
  SInt16 top = SInt16(PortMenuBarHeight() + 22);
  const std::vector<Point> expected = {{top, 64},
                                       {SInt16(top + 16), 72},
                                       {SInt16(top + 32), 80},
                                       {SInt16(top + 48), 88},
                                       {SInt16(top + 64), 96},
                                       {top, 64}};
  EXPECT_EQ(places, expected);
  EXPECT_EQ(owners[0]->window->GetWidth(), 687);
  EXPECT_EQ(owners[0]->window->GetHeight(), 550);
  // A window that would pass the client area is cut to it.
  Rect client = vlui::ClientRect();
  EXPECT_EQ(owners[4]->window->GetHeight(), client.bottom - (top + 64) < 550 ? client.bottom - (top + 64) : 550);

  // Closing every window starts the series again.
  EXPECT_EQ(decorator->nextLeft, 72);
  for (WindowOwner* owner : owners) owner->Dispose();
  EXPECT_EQ(decorator->openWindows, 0);
  EXPECT_EQ(decorator->nextLeft, 64);
  EXPECT_EQ(decorator->nextTop, top);
  EXPECT_EQ(decorator->staggerStep, 1);
}

TEST_F(ShellAppFixture, DecoratorSizeOnSmallScreens) {
  struct Case {
    int width, height;
    SInt16 defaultWidth, defaultHeight;
  } cases[] = {{800, 600, 687, 550}, {640, 480, 544, 480 - 42 - 6}};
  for (const Case& c : cases) {
    vlui::InitScreen(c.width, c.height);
    VLDecorator decorator;
    decorator.IVLDecorator();
    EXPECT_EQ(decorator.defaultWidth, c.defaultWidth) << c.width;
    EXPECT_EQ(decorator.defaultHeight, c.defaultHeight) << c.width;
  }
}

TEST_F(ShellAppFixture, WindowSizeKeepsGrowthLimits) {
  MakeApp();
  auto* owner = new WindowOwner;
  owner->Make(app);
  owner->window->SetSize(300, 200);
  Rect limits;
  owner->window->GetSizeRect(&limits);
  Rect client = vlui::ClientRect();
  EXPECT_EQ(limits, (Rect{100, 100, client.bottom, client.right}));
  EXPECT_EQ(owner->window->GetWidth(), 300);
  owner->window->SetSize(3000, 2000);
  owner->window->GetSizeRect(&limits);
  EXPECT_EQ(limits, (Rect{100, 100, 2000, 3000}));
  owner->Dispose();
}

TEST_F(ShellAppFixture, WindowActivationHighlightsAndTellsTheDirectorOnce) {
  MakeApp();
  auto* owner = new WindowOwner;
  owner->Make(app);
  owner->window->Show();
  owner->window->Activate();
  EXPECT_TRUE(PortIsWindowHilited(owner->window->GetMacWindow()));
  EXPECT_TRUE(owner->IsActive());
  owner->window->Activate();  // already active: nothing more
  owner->window->Deactivate();
  EXPECT_FALSE(PortIsWindowHilited(owner->window->GetMacWindow()));
  EXPECT_FALSE(owner->IsActive());
  owner->Dispose();
}

TEST_F(ShellAppFixture, ScrollBarsAreInactiveWhileThePanoramaFits) {
  MakeApp();
  auto* owner = new WindowOwner;
  owner->Make(app);
  owner->window->Show();
  owner->window->Activate();
  auto* pane = new VLScrollPane;
  pane->IScrollPane(owner->window, owner, 300, 200, 0, 0, sizFIXEDLEFT, sizFIXEDTOP, true, true, true);
  auto* panorama = new CPanorama;
  panorama->IPanorama(pane, owner, 100, 100, 0, 0, sizFIXEDLEFT, sizFIXEDTOP);
  pane->InstallPanorama(panorama);
  LongRect small{0, 0, 50, 80};
  panorama->SetBounds(&small);
  pane->AdjustScrollMax();
  EXPECT_FALSE(pane->GetHScrollBar()->IsActive());
  EXPECT_FALSE(pane->GetVScrollBar()->IsActive());
  // Once the panorama is larger one way, the bars are active again.
  LongRect large{0, 0, 50, 1000};
  panorama->SetBounds(&large);
  pane->AdjustScrollMax();
  EXPECT_TRUE(pane->GetHScrollBar()->IsActive());
  EXPECT_TRUE(pane->GetVScrollBar()->IsActive());
  owner->Dispose();
}

TEST_F(ShellAppFixture, SmallDefaultButtonShowsItsDefaultAsABorder) {
  MakeApp();
  auto* owner = new WindowOwner;
  owner->Make(app);
  auto* button = new VLSmallDefaultButton;
  button->IButton(owner->window, owner, 60, 20, 10, 10, sizFIXEDLEFT, sizFIXEDTOP, Str255("OK"));
  button->SetDefault(true);
  ASSERT_TRUE(button->HasDefaultBorder());
  CPaneBorder* border = button->GetBorder();
  EXPECT_EQ(border->GetPenWidth(), 2);
  EXPECT_EQ(border->GetBorderFlags(), kBorderFrame);
  button->SetDefault(true);
  EXPECT_EQ(button->GetBorder(), border);
  button->SetDefault(false);
  EXPECT_FALSE(button->HasDefaultBorder());
  owner->Dispose();
}

TEST_F(ShellAppFixture, ClipboardHoldsCopiedObjectsAndDisposesTheOldOnes) {
  MakeApp();
  auto* clipboard = dynamic_cast<VLClipboard*>(gClipboard);
  ASSERT_NE(clipboard, nullptr);
  std::vector<std::string> disposed;
  EXPECT_EQ(clipboard->DataSize(VLClipboard::kObjectsType), 0);
  void* result = nullptr;
  EXPECT_FALSE(clipboard->GetData(VLClipboard::kObjectsType, &result));

  auto* a = new LoggedObject(&disposed, "a");
  auto* b = new LoggedObject(&disposed, "b");
  clipboard->PutData(VLClipboard::kObjectsType, ArrayOf({a, b}));
  EXPECT_EQ(clipboard->DataSize(VLClipboard::kObjectsType), 1);
  // Pasting twice gives the same objects twice, in order; the arrays are the caller's.
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(clipboard->GetData(VLClipboard::kObjectsType, &result));
    auto* got = static_cast<VLArray*>(result);
    ASSERT_EQ(got->GetNumItems(), 2);
    EXPECT_EQ(got->PointerAt(1), a);
    EXPECT_EQ(got->PointerAt(2), b);
    got->Dispose();
  }
  // Putting the held array again keeps it; a new copy disposes the first set, last first.
  clipboard->PutData(VLClipboard::kObjectsType, const_cast<VLArray*>(clipboard->HeldObjects()));
  EXPECT_TRUE(disposed.empty());
  auto* c = new LoggedObject(&disposed, "c");
  clipboard->PutData(VLClipboard::kObjectsType, ArrayOf({c}));
  EXPECT_EQ(disposed, (std::vector<std::string>{"b", "a"}));
  // Other types are the class library's; tearing down disposes what is held.
  Handle text = PortHandleFromBytes("abc", 3);
  clipboard->PutData(FourCC("TEXT"), text);
  PortFreeHandle(text);
  EXPECT_EQ(clipboard->DataSize(FourCC("TEXT")), 3);
  app->TearDown();
  EXPECT_EQ(disposed, (std::vector<std::string>{"b", "a", "c"}));
}
