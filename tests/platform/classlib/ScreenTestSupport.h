// Shared pieces of the tests that put class-library windows on the virtual screen: an
// application on a screen of 800 by 600, resources compiled from source text, and input
// played to the program step by step (one step each time it asks for an event), with drags
// that move the mouse one point for each poll of the button.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ClassLibTestSupport.h"
#include "Compiler.h"
#include "Screen.h"
#include "Ticks.h"

class ScriptedInput : public vlui::EventSource {
 public:
  void Refill() override {
    if (steps.empty()) {
      // A loop that waits for input the test never gives ends instead of hanging.
      if (!dragging && ++idleRefills > kIdleLimit) PortExitToShell(kStatusStarved);
      return;
    }
    idleRefills = 0;
    auto step = std::move(steps.front());
    steps.pop_front();
    step();
  }
  void PollFor(vlui::PollKind kind) override {
    vlclock::Advance(1);
    if (kind != vlui::PollKind::kButton || !dragging) return;
    if (dragAt < dragPoints.size()) {
      vlui::SetMouse(dragPoints[dragAt++]);
      return;
    }
    // Released where the last step went.
    dragging = false;
    vlui::SetButton(false);
    Post(mouseUp, dragPoints.empty() ? dragStart : dragPoints.back());
  }

  // Steps: each runs when the program next asks for an event.
  void Then(std::function<void()> step) {
    idleRefills = 0;
    steps.push_back(std::move(step));
  }
  void Click(Point where, UInt16 modifiers = 0) {
    Then([where, modifiers] {
      vlui::SetMouse(where);
      Post(mouseDown, where, modifiers);
      Post(mouseUp, where, modifiers);
    });
  }
  // A press at from, the mouse moved in `count` equal steps to `to`, then released there.
  void Drag(Point from, Point to, int count, UInt16 modifiers = 0) {
    Then([this, from, to, count, modifiers] {
      dragStart = from;
      dragPoints.clear();
      for (int i = 1; i <= count; ++i)
        dragPoints.push_back(Point{SInt16(from.v + (to.v - from.v) * i / count),
                                   SInt16(from.h + (to.h - from.h) * i / count)});
      dragAt = 0;
      dragging = true;
      vlui::SetMouse(from);
      vlui::SetButton(true);
      Post(mouseDown, from, modifiers);
    });
  }
  void Key(char c, UInt16 modifiers = 0, UInt8 keyCode = 0) {
    Then([c, modifiers, keyCode] {
      EventRecord e;
      e.what = keyDown;
      e.message = UInt32(UInt8(c)) | (UInt32(keyCode) << 8);
      e.modifiers = modifiers;
      vlui::PostEvent(e);
    });
  }
  void Type(const std::string& text) {
    for (char c : text) Key(c);
  }
  bool Done() const { return steps.empty() && !dragging; }

  std::vector<Point> dragPoints;
  static constexpr int kIdleLimit = 200;
  static constexpr int kStatusStarved = 98;

 private:
  static void Post(UInt16 what, Point where, UInt16 modifiers = 0) {
    EventRecord e;
    e.what = what;
    e.where = where;
    e.modifiers = modifiers;
    vlui::PostEvent(e);
  }

  std::deque<std::function<void()>> steps;
  Point dragStart;
  std::size_t dragAt = 0;
  bool dragging = false;
  int idleRefills = 0;
};

// An application with its desktop, decorator and switchboard on a fresh screen.
class ScreenFixture : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    vlclock::UseVirtualClock(true);
    vlui::InitScreen(800, 600);
    vlui::SetEventSource(&input);
  }
  void TearDown() override {
    vlui::SetEventSource(nullptr);
    AppFixture::TearDown();
    vlui::ShutdownScreen();
    vlclock::UseVirtualClock(false);
  }
  // Compiles resource text and installs it as the application's resources.
  void InstallResources(const std::string& text) {
    std::string error;
    compiled.clear();
    ASSERT_TRUE(rescomp::CompileSource(text, "test.vlr", &compiled, &error)) << error;
    table.clear();
    for (const auto& r : compiled)
      table.push_back({r.type, r.id, nullptr, r.bytes.data(), UInt32(r.bytes.size())});
    vlres::InstallResourceTable(table.data(), table.size());
  }
  // Lets the program handle events until the input has been played and nothing is pending.
  void Pump(int extra = 4) {
    for (int guard = 0; guard < 1000 && (!input.Done() || vlui::PendingEventCount() > 0); ++guard)
      app->ProcessOneEvent();
    for (int i = 0; i < extra; ++i) app->ProcessOneEvent();
  }

  ScriptedInput input;
  std::vector<vlres::ResourceData> compiled;
  std::vector<vlres::CompiledResource> table;
};
