// A screen for ui tests, and an event source that plays mouse motions while the code under test
// polls the button, as a user's hand would.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "AlertSink.h"
#include "Events.h"
#include "Menus.h"
#include "Resources.h"
#include "Screen.h"
#include "Scrap.h"
#include "StandardFile.h"
#include "Ticks.h"

namespace uitest {

// Plays steps on button and event polls: move the mouse, or let the button go (posting the
// mouse-up). When the steps run out the button is let go. Refill posts nothing.
class MotionSource : public vlui::EventSource {
 public:
  struct Step {
    Point to;
    bool release = false;
  };
  std::deque<Step> steps;
  int refills = 0;

  // Presses at a point (mouse-down posted) and plans moves through the points, then a release.
  void Press(Point at, std::vector<Point> through, UInt16 modifiers = 0) {
    vlui::SetMouse(at);
    vlui::SetModifiers(modifiers);
    vlui::SetButton(true);
    vlui::PostEvent(mouseDown, 0, modifiers);
    for (Point p : through) steps.push_back({p, false});
    steps.push_back({through.empty() ? at : through.back(), true});
  }
  void Refill() override {
    ++refills;
    while (!steps.empty()) PollFor(vlui::PollKind::kButton);
  }
  void PollFor(vlui::PollKind kind) override {
    vlclock::Advance(1);
    if (kind == vlui::PollKind::kMouse || steps.empty()) return;
    Step s = steps.front();
    steps.pop_front();
    vlui::SetMouse(s.to);
    if (s.release) {
      vlui::SetButton(false);
      vlui::PostEvent(mouseUp, 0, vlui::CurrentModifiers());
    }
  }
};

inline Point Pt(int h, int v) { return Point{SInt16(v), SInt16(h)}; }

inline void Key(unsigned char c, UInt16 modifiers = 0) {
  vlui::PostEvent(keyDown, PortKeyMessage(c), modifiers);
  vlui::PostEvent(keyUp, PortKeyMessage(c), modifiers);
}

inline void Type(const std::string& macRoman) {
  for (char c : macRoman) Key(static_cast<unsigned char>(c));
}

// A fresh 640 by 480 screen, empty event queue, no menus, no source; torn down afterwards.
class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vlclock::UseVirtualClock(true);
    vlres::ResetResourceChain();
    vlui::ResetEvents();
    vlui::ResetMenus();
    vlui::SetEventSource(nullptr);
    vlui::SetInteractive(false);
    vlui::SetStandardDialogAnswerer(nullptr);
    vlui::SetClipboardHost(nullptr);
    vlalert::SetAnswerer(nullptr);
    vlalert::ClearLog();
    vlui::InitScreen(640, 480);
    vlui::ForgetActivations();
  }
  void TearDown() override {
    vlui::SetEventSource(nullptr);
    vlui::SetInteractive(false);
    vlui::ShutdownScreen();
    vlui::ResetMenus();
    vlui::ResetEvents();
    vlalert::ClearLog();
    vlres::ResetResourceChain();
  }
  // The events the window manager hands out now (activate and update), as "activate N" texts
  // with the window's title.
  std::vector<std::string> Pending() {
    std::vector<std::string> out;
    EventRecord e;
    while (PortGetNextEvent(activMask | updateMask, &e)) {
      std::string title = vlui::WindowTitleUtf8(PortEventWindow(&e));
      if (e.what == activateEvt) out.push_back(((e.modifiers & activeFlag) ? "activate " : "deactivate ") + title);
      if (e.what == updateEvt) {
        out.push_back("update " + title);
        PortBeginUpdate(PortEventWindow(&e));
        PortEndUpdate(PortEventWindow(&e));
      }
    }
    return out;
  }
  UInt32 PixelAt(int h, int v) {
    const PixMap* pm = vlui::ScreenPixMap();
    return reinterpret_cast<const UInt32*>(pm->baseAddr + v * pm->rowBytes)[h];
  }
  MotionSource motion;
};

}  // namespace uitest
