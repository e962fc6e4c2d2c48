// The object-info palette's drop-down list: a child window in a class-library window, its
// entries, and the notice a pick sends.
#include <string>
#include <vector>

#include "CDLOGDirector.h"
#include "CDialog.h"
#include "GoldenTest.h"
#include "Menus.h"
#include "ObjectInfoComboBox.h"
#include "ScreenTestSupport.h"
#include "Windows.h"

namespace {

constexpr const char* kSource = R"(
resource 'DLOG' 601 {
  bounds 100 100 240 400
  items {
    button 100 200 120 280 "OK"
  }
  proc 5 title "Info"
}
)";

// Presses and, while the list is open, moves onto the entry and lets go there.
class ChoosingInput : public ScriptedInput {
 public:
  void PollFor(vlui::PollKind kind) override {
    vlclock::Advance(1);
    if (kind != vlui::PollKind::kButton || choice.empty()) return;
    Rect r;
    if (!vlui::OpenMenuItemRect(choice, nullptr, nullptr, &r)) return;
    Point p{SInt16((r.top + r.bottom) / 2), SInt16((r.left + r.right) / 2)};
    vlui::SetMouse(p);
    vlui::SetButton(false);
    choice.clear();
    EventRecord e;
    e.what = mouseUp;
    e.where = p;
    vlui::PostEvent(e);
  }
  void Choose(Point where, const std::string& entry) {
    Then([this, where, entry] {
      choice = entry;
      vlui::SetMouse(where);
      vlui::SetButton(true);
      EventRecord e;
      e.what = mouseDown;
      e.where = where;
      vlui::PostEvent(e);
    });
  }
  std::string choice;
};

class EntryListener : public CCollaborator {
 public:
  void ProviderChanged(CCollaborator*, long reason, void* info) override {
    if (reason == ObjectInfoComboBox::kEntryChosen) entries.push_back(*static_cast<SInt32*>(info));
  }
  std::vector<SInt32> entries;
};

class ObjectInfoComboBoxTest : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    vlui::SetEventSource(&choosing);
    InstallResources(kSource);
    MakeApp();
    director = new CDLOGDirector(601, app);
    window = director->GetDialog();
  }
  void TearDown() override {
    director->Dispose();
    ScreenFixture::TearDown();
  }
  // The global point of a window point of the dialog.
  Point Global(SInt16 h, SInt16 v) const {
    Point p{v, h};
    PortSetPort(window->GetMacWindow());
    PortLocalToGlobal(&p);
    return p;
  }
  void Run() {
    for (int guard = 0; guard < 100 && (!choosing.Done() || vlui::PendingEventCount() > 0); ++guard)
      app->ProcessOneEvent();
  }
  ChoosingInput choosing;
  CDLOGDirector* director = nullptr;
  CDialog* window = nullptr;
};

TEST_F(ObjectInfoComboBoxTest, APickTellsTheDependentsTheOneBasedEntryAndGivesTheFocusBack) {
  auto* box = new ObjectInfoComboBox(window, 10, 10, 120, 100, 49);
  ASSERT_NE(box->GetComboBox(), nullptr);
  char name[16];
  EXPECT_EQ(GetClassNameA(box->GetComboBox(), name, sizeof name), 8);
  EXPECT_EQ(box->GetEnclosure(), window);
  box->AddItem("Phase 1");
  const int narrow = box->GetWidestItem();
  box->AddItem("A much longer phase");
  EXPECT_GT(narrow, 0);
  EXPECT_GT(box->GetWidestItem(), narrow);
  box->Select(0);
  EXPECT_EQ(SendMessageA(box->GetComboBox(), CB_GETCURSEL, 0, 0), 0);

  EntryListener listener;
  box->AddDependent(&listener);
  window->Show();
  window->Select();
  Run();
  ASSERT_EQ(PortActiveWindow(), window->GetMacWindow());
  choosing.Choose(Global(40, 18), "A much longer phase");
  Run();
  EXPECT_EQ(listener.entries, std::vector<SInt32>{2});
  EXPECT_TRUE(vltest::WindowMatches(window->GetMacWindow(), VL_GOLDEN("object-info-list.png")));
  EXPECT_EQ(box->GetSelectedIndex(), 1);
  EXPECT_FALSE(gComboBoxOpen);
  EXPECT_EQ(GetFocus(), WindowHandle(PortNativeWindow(window->GetMacWindow())));
  EXPECT_EQ(SendMessageA(box->GetComboBox(), CB_GETHORIZONTALEXTENT, 0, 0), box->GetWidestItem() + 3);
  box->RemoveDependent(&listener);

  box->Clear();
  EXPECT_EQ(SendMessageA(box->GetComboBox(), CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(box->GetWidestItem(), 0);
  HWND list = box->GetComboBox();
  box->Dispose();
  EXPECT_EQ(GetClassNameA(list, name, sizeof name), 0) << "the list's window went with the view";
}

TEST_F(ObjectInfoComboBoxTest, OnlyAComboBoxWithAViewTakesANotification) {
  HWND parent = WindowHandle(PortNativeWindow(window->GetMacWindow()));
  EXPECT_FALSE(RouteComboBoxCommand(parent, 1, parent, CBN_SELENDOK));
  HWND bare = CreateWindowExA(0, "ComboBox", "", ObjectInfoComboBox::kStyle, 0, 0, 50, 50, parent, nullptr, nullptr,
                              nullptr);
  ASSERT_NE(bare, nullptr);
  EXPECT_FALSE(RouteComboBoxCommand(parent, 0, bare, CBN_SELENDOK));
  EXPECT_EQ(CreateWindowExA(0, "Button", "", 0, 0, 0, 50, 50, parent, nullptr, nullptr, nullptr), nullptr);
  DestroyWindow(bare);
}

}  // namespace
