// The colour picker.
#include "ColorPicker.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "Alerts.h"
#include "PString.h"
#include "Screen.h"
#include "StandardFile.h"
#include "UiInternal.h"

namespace vlui {
namespace {

using namespace internal;

enum : SInt16 {
  kOk = 1,
  kCancel = 2,
  kPrompt = 3,
  kSwatches = 4,
  kRed = 5,
  kGreen = 6,
  kBlue = 7,
  kRedLabel = 8,
  kGreenLabel = 9,
  kBlueLabel = 10,
  kStandard = 11,
};

constexpr UInt32 kStandardColors[] = {0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x800000, 0xFF0000, 0xFF8000,
                                      0xFFFF00, 0x008000, 0x00FF00, 0x008080, 0x00FFFF, 0x000080, 0x0000FF, 0xFF00FF};

struct PickerState {
  DialogPtr dialog = nullptr;
  RGBColor start;
  int rgb[3] = {0, 0, 0};
  ControlHandle sliders[3] = {};
};
PickerState* gPicker = nullptr;

Rect ItemBox(SInt16 item) {
  SInt16 kind;
  Handle h;
  Rect box;
  PortGetDialogItem(gPicker->dialog, item, &kind, &h, &box);
  return box;
}

UInt32 Packed(const int rgb[3]) { return UInt32(rgb[0] << 16 | rgb[1] << 8 | rgb[2]); }

void DrawSwatches(DialogPtr d, SInt16 item) {
  if (!gPicker || gPicker->dialog != d) return;
  Rect box = ItemBox(item);
  PortKeeper keep;
  PortSetPort(d);
  Rect left = box, right = box;
  left.right = SInt16((box.left + box.right) / 2);
  right.left = left.right;
  int start[3] = {gPicker->start.red >> 8, gPicker->start.green >> 8, gPicker->start.blue >> 8};
  FillRect(left, Packed(start));
  FillRect(right, Packed(gPicker->rgb));
  FrameRect(box, kBlack);
}

Rect StandardCell(const Rect& box, int i) {
  SInt16 w = SInt16((box.right - box.left) / 16);
  return Rect{box.top, SInt16(box.left + i * w), box.bottom, SInt16(box.left + (i + 1) * w)};
}

void DrawStandard(DialogPtr d, SInt16 item) {
  if (!gPicker || gPicker->dialog != d) return;
  Rect box = ItemBox(item);
  PortKeeper keep;
  PortSetPort(d);
  for (int i = 0; i < 16; ++i) {
    Rect cell = StandardCell(box, i);
    FillRect(cell, kStandardColors[i]);
    FrameRect(cell, kBlack);
  }
}

void ShowValues(bool fields) {
  for (int i = 0; i < 3; ++i) {
    PortSetControlValue(gPicker->sliders[i], SInt16(gPicker->rgb[i]));
    if (!fields) continue;
    SInt16 kind;
    Handle h;
    Rect box;
    PortGetDialogItem(gPicker->dialog, SInt16(kRed + i), &kind, &h, &box);
    PortSetDialogItemText(h, Str255(std::string_view(std::to_string(gPicker->rgb[i]))));
  }
  DrawSwatches(gPicker->dialog, kSwatches);
}

void ReadFields() {
  for (int i = 0; i < 3; ++i) {
    SInt16 kind;
    Handle h;
    Rect box;
    PortGetDialogItem(gPicker->dialog, SInt16(kRed + i), &kind, &h, &box);
    Str255 text;
    PortGetDialogItemText(h, text);
    std::string s = PStrToStd(text);
    int value = 0;
    std::from_chars(s.data(), s.data() + s.size(), value);
    gPicker->rgb[i] = std::clamp(value, 0, 255);
  }
  ShowValues(false);
}

void SliderAction(ControlHandle c, SInt16 part) {
  if (!gPicker) return;
  for (int i = 0; i < 3; ++i) {
    if (gPicker->sliders[i] != c) continue;
    int step = part == kControlUpButtonPart ? -1 : part == kControlDownButtonPart ? 1
             : part == kControlPageUpPart ? -16 : part == kControlPageDownPart ? 16 : 0;
    gPicker->rgb[i] = std::clamp(gPicker->rgb[i] + step, 0, 255);
    ShowValues(true);
  }
}

Boolean PickerFilter(DialogPtr d, EventRecord* e, SInt16* itemHit) {
  Point local;
  if (!gPicker || gPicker->dialog != d || !ContentClick(d, *e, &local)) return false;
  PortKeeper keep;
  PortSetPort(d);
  ControlHandle c = nullptr;
  if (PortFindControl(local, d, &c) != kControlNoPart) {
    for (int i = 0; i < 3; ++i) {
      if (c != gPicker->sliders[i]) continue;
      PortTrackControl(c, local, &SliderAction);
      gPicker->rgb[i] = PortGetControlValue(c);
      ShowValues(true);
      *itemHit = 0;
      return true;
    }
  }
  Rect box = ItemBox(kStandard);
  for (int i = 0; i < 16; ++i) {
    Rect cell = StandardCell(box, i);
    if (!PortPtInRect(local, &cell)) continue;
    UInt32 v = kStandardColors[i];
    gPicker->rgb[0] = int(v >> 16);
    gPicker->rgb[1] = int((v >> 8) & 0xFF);
    gPicker->rgb[2] = int(v & 0xFF);
    ShowValues(true);
    *itemHit = 0;
    return true;
  }
  return false;
}

bool RunPicker(const std::string& prompt, const RGBColor& start, RGBColor* out) {
  PickerState state;
  PickerState* outer = gPicker;
  gPicker = &state;
  state.start = start;
  state.rgb[0] = start.red >> 8;
  state.rgb[1] = start.green >> 8;
  state.rgb[2] = start.blue >> 8;
  std::vector<ItemSpec> items = {
      {ctrlItem + btnCtrl, Rect{190, 270, 210, 350}, "OK"},
      {ctrlItem + btnCtrl, Rect{190, 180, 210, 260}, "Cancel"},
      {statText | itemDisable, Rect{10, 14, 28, 350}, Utf8ToMacRoman(prompt)},
      {userItem | itemDisable, Rect{36, 14, 96, 110}, ""},
      {editText, Rect{40, 300, 56, 346}, std::to_string(state.rgb[0])},
      {editText, Rect{70, 300, 86, 346}, std::to_string(state.rgb[1])},
      {editText, Rect{100, 300, 116, 346}, std::to_string(state.rgb[2])},
      {statText | itemDisable, Rect{40, 122, 56, 170}, "Red"},
      {statText | itemDisable, Rect{70, 122, 86, 170}, "Green"},
      {statText | itemDisable, Rect{100, 122, 116, 170}, "Blue"},
      {userItem | itemDisable, Rect{140, 14, 164, 350}, ""},
  };
  DialogPtr d = MakeDialog(CenteredRect(364, 222), "Colour", movableDBoxProc, items);
  if (!d) {
    gPicker = outer;
    return false;
  }
  state.dialog = d;
  PortSetDialogCancelItem(d, kCancel);
  PortSetDialogItemProc(d, kSwatches, &DrawSwatches);
  PortSetDialogItemProc(d, kStandard, &DrawStandard);
  {
    PortKeeper keep;
    PortSetPort(d);
    for (int i = 0; i < 3; ++i) {
      Rect r{SInt16(40 + 30 * i), 170, SInt16(56 + 30 * i), 290};
      state.sliders[i] = PortNewControl(d, &r, nullptr, true, SInt16(state.rgb[i]), 0, 255, scrollBarProc, 0);
    }
  }
  PortDrawDialog(d);
  bool chosen = false;
  for (;;) {
    SInt16 hit = 0;
    PortModalDialog(&PickerFilter, &hit);
    if (hit == kOk) {
      ReadFields();
      chosen = true;
      break;
    }
    if (hit == kCancel || hit < 0) break;
    if (hit >= kRed && hit <= kBlue) ReadFields();
  }
  if (chosen) *out = RGBColor{UInt16(state.rgb[0] * 257), UInt16(state.rgb[1] * 257), UInt16(state.rgb[2] * 257)};
  PortDisposeDialog(d);
  gPicker = outer;
  return chosen;
}

}  // namespace
}  // namespace vlui

Boolean PortGetColor(Point, ConstStringPtr prompt, const RGBColor* inColor, RGBColor* outColor) {
  using namespace vlui;
  RGBColor start = inColor ? *inColor : RGBColor{};
  StandardDialogRequest request;
  request.kind = "color";
  request.prompt = prompt ? MacRomanToUtf8(PStrToStd(prompt)) : std::string();
  request.color = start;
  StandardDialogAnswer answer;
  StandardDialogAnswerer answerer = SetStandardDialogAnswerer(nullptr);
  SetStandardDialogAnswerer(answerer);
  bool answered = answerer && answerer(request, &answer);
  if (!answered) {
    answer = StandardDialogAnswer{};
    if (IsInteractive() && ScreenReady()) answer.chosen = RunPicker(request.prompt, start, &answer.color);
  }
  std::vector<std::string> texts{request.prompt};
  if (answer.chosen)
    texts.push_back(std::to_string(answer.color.red >> 8) + " " + std::to_string(answer.color.green >> 8) + " " +
                    std::to_string(answer.color.blue >> 8));
  internal::LogRecord("color", 0, request.prompt, texts, answer.chosen ? 1 : 0);
  if (answer.chosen && outColor) *outColor = answer.color;
  return answer.chosen;
}
