// The SDL2 backend: a resizable native window that shows the virtual screen, with the mouse,
// the keyboard, text input and the text clipboard turned into the program's events, and the
// beep made heard (or, without sound, seen). The
// control key is the command key, alt the option key. The tick clock follows the wall clock.
// Files dropped on the window go to a callback the program sets.
#pragma once

#include <climits>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "Events.h"
#include "Scrap.h"

class CApplication;

namespace vlsdl {

struct Options {
  // Where the window's frame (its outer edge, title bar included) goes on the desktop:
  // kUndefinedPosition lets the window system choose.
  static constexpr int kUndefinedPosition = INT_MIN;
  int x = kUndefinedPosition;
  int y = kUndefinedPosition;
  // The size of the window's inside (the screen), or with sizeIsFrame of its frame; never
  // less than the screen's minimum (Screen.h).
  int width = 1024;
  int height = 768;
  bool sizeIsFrame = false;
  bool maximized = false;
  bool minimized = false;
  // When set: after this many ticks of running, the window's pixels (as SDL shows them) are
  // written to snapshotPath as PNG and the program is asked to quit.
  long snapshotAfterTicks = -1;
  std::string snapshotPath;
  // Called with the paths of the files dropped on the window, in the order dropped.
  std::function<void(const std::vector<std::string>&)> dropFiles;
};

// Where the window stands: its frame on the desktop (the inner area with the window manager's
// borders around it) and whether it is maximized.
struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool maximized = false;
};

class SdlBackend : public vlui::EventSource, public vlui::ClipboardHost {
 public:
  SdlBackend();
  ~SdlBackend() override;

  // Opens the window and makes the screen at its size; false with *error when SDL cannot, or
  // when SDL has no display and falls back to a video driver that shows nothing ("offscreen",
  // "dummy"): such a driver is taken only when SDL_VIDEODRIVER names it.
  bool Open(const Options& options, std::string* error);
  void Close();
  // The open window's placement; false when there is no window.
  bool CurrentPlacement(Placement* placement) const;

  void Refill() override;
  void PollFor(vlui::PollKind kind) override;

  bool GetText(std::string* utf8) override;
  void SetText(const std::string& utf8) override;
  UInt32 ChangeCount() override { return clipboardCount; }

  // Shows the framebuffer when it changed since it was last shown.
  void Present(bool force = false);

  // The beep while the window is open (PortBeep): a short tone when a sound device can be
  // opened, otherwise a flash of the menu bar.
  void Beep(SInt16 duration);
  // Beeps shown as a flash of the menu bar since the window opened.
  int FlashCount() const;

 private:
  struct Impl;
  Impl* impl;
  UInt32 clipboardCount = 1;
  bool Pump(bool wait);
  void DeliverDrops();
  // Queues the tone; false when there is no sound device.
  bool PlayTone();
  // Lets the button go for a release held back until the program had seen its press.
  void ApplyPendingRelease();
  // Learns the window manager's borders (they come a little after the window is shown) and
  // puts the frame where and as the options ask.
  void PlaceFrame(const Options& options);
};

// Runs a program in a window: opens it (status 4 when it cannot), makes and runs the
// application, and answers the status of PortExitToShell (0 when the program quits).
int RunInWindow(const Options& options, const std::function<CApplication*()>& makeApp, std::FILE* log = stderr);
// The same in a backend the caller keeps, so that it can ask for the window's placement while
// the program runs (until the application is gone; the window closes after it).
int RunInWindow(SdlBackend& backend, const Options& options, const std::function<CApplication*()>& makeApp,
                std::FILE* log = stderr);

}  // namespace vlsdl
