// Shared pieces of the native document's tests: the program's resources with string lists a
// test may replace, a screen, an alert log, input played to the program's dialogs step by step,
// and one initialised application that makes native documents.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "AlertAnswers.h"
#include "AlertSink.h"
#include "AppResources.h"
#include "Alerts.h"
#include "Dialogs.h"
#include "Events.h"
#include "Memory.h"
#include "Menus.h"
#include "Resources.h"
#include "Screen.h"
#include "TempFolder.h"
#include "Ticks.h"
#include "VLApplication.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "VLUser3DObject.h"

// Input for modal dialogs: each step runs when the program asks for its next event. Clicks land
// on items of the frontmost dialog; a click on a popup menu chooses the item with the given text
// while the menu is open.
class DialogInput : public vlui::EventSource {
 public:
  void Refill() override {
    if (steps.empty()) {
      // A dialog waiting for input the test does not give would wait for ever: cancel it.
      if (vlui::FrontDialog()) {
        ADD_FAILURE() << "a dialog waits for input the test does not give";
        EventRecord e;
        e.what = keyDown;
        e.message = kEscapeChar;
        vlui::PostEvent(e);
      }
      return;
    }
    auto step = std::move(steps.front());
    steps.pop_front();
    step();
  }
  void PollFor(vlui::PollKind kind) override {
    vlclock::Advance(1);
    if (kind != vlui::PollKind::kButton || !pressed) return;
    if (!choice.empty()) {
      Rect r;
      if (!vlui::OpenMenuItemRect(choice, nullptr, nullptr, &r)) return;
      vlui::SetMouse(Centre(r));
    }
    pressed = false;
    choice.clear();
    vlui::SetButton(false);
    Post(mouseUp, pressAt);
  }

  void Then(std::function<void()> step) { steps.push_back(std::move(step)); }
  void Key(char c) {
    Then([c] {
      EventRecord e;
      e.what = keyDown;
      e.message = UInt32(UInt8(c));
      vlui::PostEvent(e);
    });
  }
  void Type(const std::string& text) {
    for (char c : text) Key(c);
  }
  // Selects the whole text of the current edit field, then types.
  void Replace(const std::string& text) {
    Then([] {
      EventRecord e;
      e.what = keyDown;
      e.message = UInt32('a');
      e.modifiers = cmdKey;
      vlui::PostEvent(e);
    });
    Type(text);
  }
  void Return() { Key('\r'); }
  void Escape() { Key(kEscapeChar); }
  void Tab() { Key('\t'); }
  // A press and release on an item of the front dialog; with a choice, the popup menu's item.
  void Click(SInt16 item, const std::string& menuChoice = {}) {
    Then([this, item, menuChoice] {
      Rect r;
      ASSERT_TRUE(vlui::DialogItemGlobalRect(vlui::FrontDialog(), item, &r)) << "item " << item;
      pressAt = Centre(r);
      pressed = true;
      choice = menuChoice;
      vlui::SetMouse(pressAt);
      vlui::SetButton(true);
      Post(mouseDown, pressAt);
    });
  }
  // Keeps the text of an item of the front dialog as it is at this step.
  void Capture(SInt16 item, std::string* text) {
    Then([item, text] { *text = vlui::DialogItemTextUtf8(vlui::FrontDialog(), item); });
  }
  bool Done() const { return steps.empty(); }

 private:
  static Point Centre(const Rect& r) { return Point{SInt16((r.top + r.bottom) / 2), SInt16((r.left + r.right) / 2)}; }
  static void Post(UInt16 what, Point where) {
    EventRecord e;
    e.what = what;
    e.where = where;
    vlui::PostEvent(e);
  }

  std::deque<std::function<void()>> steps;
  Point pressAt;
  bool pressed = false;
  std::string choice;
};

class DocumentFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::ResetResourceChain();
    vlres::InstallApplicationResources();
    vlui::ResetEvents();
    vlclock::UseVirtualClock(true);
    vlui::InitScreen();
    vlui::SetEventSource(&input);
    vlui::ResetBeepCount();
    savedMaker = gNativeDocumentMaker;
    savedViewsMaker = gDocumentViewsMaker;
    InstallNativeDocument();
    app = new VLApplication;
    app->IVLApplication();
  }
  void TearDown() override {
    delete app;
    app = nullptr;
    gNativeDocumentMaker = savedMaker;
    gDocumentViewsMaker = savedViewsMaker;
    vlui::SetEventSource(nullptr);
    vlui::ShutdownScreen();
    vlclock::UseVirtualClock(false);
    vlui::ResetEvents();
    vlres::ResetResourceChain();
    // Nothing a document published may outlive the documents.
    EXPECT_EQ(gCurrentObjectList, nullptr);
    EXPECT_EQ(gCurrentSelection, nullptr);
    EXPECT_EQ(gCurrentPhases, nullptr);
    EXPECT_EQ(gCurrentViewPane, nullptr);
    EXPECT_EQ(gCurrentMaterials, nullptr);
  }

  // A new untitled document through the application's New command path.
  VLDocument* NewDocument() {
    const std::vector<VLDocument*> before = Documents();
    app->CreateDocument();
    for (VLDocument* document : Documents())
      if (std::find(before.begin(), before.end(), document) == before.end()) return document;
    return nullptr;
  }
  // A made object moved along x, put in the phase and appended to the document's model.
  static VLUser3DObject* AppendMoved(VLDocument* document, VLUser3DObject* object, double x, SInt16 phase) {
    const Vector3d offset{x, 0, 0};
    object->Move(&offset);
    object->phase = phase;
    document->GetObjectList()->AppendPointer(object);
    return object;
  }
  // The model objects of a document (from position 3), in list order.
  static std::vector<VLUser3DObject*> ModelObjects(VLDocument* document) {
    std::vector<VLUser3DObject*> objects;
    VLArray* list = document->GetObjectList();
    for (long i = VLDocument::kFirstModelObject; i <= list->GetNumItems(); ++i)
      objects.push_back(static_cast<VLUser3DObject*>(list->PointerAt(i)));
    return objects;
  }
  // The application's native documents, oldest first.
  std::vector<VLDocument*> Documents() const {
    std::vector<VLDocument*> documents;
    for (long i = 1; i <= app->CountDirectors(); ++i)
      if (auto* document = dynamic_cast<VLDocument*>(app->GetDirector(i))) documents.push_back(document);
    return documents;
  }

  // Lets the program take the events waiting (activation, updates).
  void Pump(int steps = 10) {
    for (int i = 0; i < steps; ++i) app->ProcessOneEvent();
  }

  // Replaces a string list for the rest of the test: a resource file above the program's.
  void OverrideStringList(SInt16 listId, const std::vector<std::string>& strings) {
    std::string bytes;
    bytes.push_back(char(strings.size() >> 8));
    bytes.push_back(char(strings.size() & 0xFF));
    for (const std::string& s : strings) {
      bytes.push_back(char(s.size()));
      bytes += s;
    }
    OverrideResource(FourCC("STR#"), listId, bytes);
  }
  // Replaces a resource for the rest of the test.
  void OverrideResource(ResType type, SInt16 id, const std::string& bytes) {
    if (overrides.empty()) {
      overrides = temp.Path("overrides");
      PortCreateResFilePath(overrides.c_str());
      ASSERT_GE(PortOpenResFilePath(overrides.c_str(), kResPermReadWrite), 0);
    }
    PortAddResource(PortHandleFromBytes(bytes.data(), Size(bytes.size())), type, id, nullptr);
    ASSERT_EQ(PortResError(), noErr);
  }

  std::vector<int> AlertIds() const { return alerts.Ids("alert"); }

  // The user's configuration folder, where documents keep their material preferences.
  vltest::TempFolder config;
  const std::string configHome = config.UseAsConfigHome();
  vltest::TempFolder temp;
  vltest::AlertAnswers alerts;
  std::vector<int>& answers = alerts.answers;
  VLApplication* app = nullptr;
  DialogInput input;
  DocumentMaker savedMaker = nullptr;
  DocumentViewsMaker savedViewsMaker = nullptr;
  std::string overrides;
};
