// Golden images: what the screen, a window or a dialog shows, compared with a PNG file kept
// beside the test that shows it. Scripts compare through their `compare` lines (the headless
// backend), unit tests through tests/support/GoldenTest.h; both come here.
//
// A comparison that fails writes the picture it got and a diff picture into an output folder,
// as NAME.actual.png and NAME.diff.png (NAME: the golden file's name without ".png"), and its
// message names both paths and the share of pixels that differ. The diff shows the pixels that
// agree faded to grey, those that differ in red, and those only one of the two pictures has in
// magenta.
//
// To record goldens, run the tests with VELMORA_RECORD_GOLDENS=1 in the environment: every
// comparison then writes its golden file from what it got and holds. Look at each new golden
// before committing it.
#pragma once

#include <string>
#include <vector>

#include "MacTypes.h"
#include "QuickDraw.h"
#include "Windows.h"

namespace vlui {

// A picture of 0x00RRGGBB pixels, row by row from the top.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<UInt32> pixels;
};

// The part of a 32-bit pixel map inside area (global coordinates, clipped to the map).
Picture PictureOf(const PixMap& pixels, const Rect& area);
// The whole screen; an empty picture when there is none.
Picture ScreenPicture();
// A window with its frame, as the screen shows it (what covers it included).
Picture WindowPicture(WindowPtr window);

// Reads an 8-bit RGB or RGBA PNG file (alpha is dropped); false with *error when it cannot.
bool ReadPngPicture(const std::string& path, Picture* out, std::string* error);
bool WritePngPicture(const Picture& picture, const std::string& path, std::string* error);

// How far a picture may stray from its golden: a pixel differs when one of its colour
// components differs by more than `channel` (0 to 255); the comparison holds while at most
// `share` of the pixels (0 to 1) differ. The default asks for the same pixels exactly.
struct GoldenTolerance {
  int channel = 0;
  double share = 0.0;
};

struct GoldenOutcome {
  bool matched = false;
  std::string message;  // why it failed (or that the golden was recorded)
};

// Compares the picture with the golden PNG file; failures write into outputFolder (made when
// missing). A missing or unreadable golden fails and writes the actual picture only.
GoldenOutcome CompareWithGolden(const Picture& actual, const std::string& goldenPath, const std::string& outputFolder,
                                GoldenTolerance tolerance = {});

// True when VELMORA_RECORD_GOLDENS asks for goldens to be recorded.
bool RecordingGoldens();

}  // namespace vlui
