// The Windows-style dialogs' tests: the program's dialog templates on a virtual screen, and
// input that works a running dialog's items step by step.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "Dialogs.h"
#include "Events.h"
#include "ScreenTestSupport.h"
#include "WinDialogs.h"

class WinDialogFixture : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    std::ifstream in(std::string(VL_SOURCE_DIR) + "/resources/windialogs.vlr");
    std::stringstream text;
    text << in.rdbuf();
    InstallResources(text.str());
  }
  // A click on item N of the front dialog: its middle, or (part -1, 1) near its top or bottom.
  void ClickItem(SInt16 item, int part = 0) {
    input.Then([item, part] {
      Rect r;
      ASSERT_TRUE(vlui::DialogItemGlobalRect(vlui::FrontDialog(), item, &r)) << "item " << item;
      Point p{SInt16((r.top + r.bottom) / 2), SInt16((r.left + r.right) / 2)};
      if (part != 0) p.v = SInt16(part < 0 ? r.top + 2 : r.bottom - 3);
      vlui::SetMouse(p);
      EventRecord e;
      e.where = p;
      e.what = mouseDown;
      vlui::PostEvent(e);
      e.what = mouseUp;
      vlui::PostEvent(e);
    });
  }
  // Selects the whole text of the current field and types the text over it.
  void Replace(const std::string& text) {
    input.Key('a', cmdKey);
    input.Type(text);
  }
  // The text of item N of the front dialog as it is at this step.
  void Capture(SInt16 item, std::string* text) {
    input.Then([item, text] { *text = vlui::DialogItemTextUtf8(vlui::FrontDialog(), item); });
  }
};
