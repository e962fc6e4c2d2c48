#include "Alerts.h"

#include <algorithm>
#include <vector>

#include "AlertSink.h"
#include "PString.h"
#include "Resources.h"
#include "Screen.h"
#include "UiInternal.h"

namespace {
std::string gTexts[4];
long gBeeps = 0;
vlui::BeepHandler gBeepHandler;

const char* const kMissing = "missing alert resource";

// The substituted text items of an alert, or false when its resources are missing or damaged.
bool AlertItemTexts(SInt16 alertId, std::vector<std::string>* texts) {
  Handle alert = PortLoadResource(FourCC("ALRT"), alertId);
  vlres::AlertTemplate templ;
  if (!alert || !vlres::ParseAlert(alert, &templ)) return false;
  Handle list = PortLoadResource(FourCC("DITL"), templ.itemListId);
  std::vector<vlres::DialogItem> items;
  if (!list || !vlres::ParseItemList(list, &items)) return false;
  for (const auto& item : items) {
    UInt8 kind = item.kind & UInt8(~vlres::kItemDisableBit);
    if (kind == vlres::kStaticTextItem || kind == vlres::kEditTextItem)
      texts->push_back(MacRomanToUtf8(vlui::SubstituteAlertTexts(item.text)));
  }
  return true;
}

// The alert on the screen: its items, its icon and the modal loop; the item chosen.
SInt16 ShowOnScreen(SInt16 alertId, vlui::AlertIcon icon, ModalFilterProcPtr filter, const std::string& missingText) {
  using namespace vlui::internal;
  std::vector<ItemSpec> specs;
  Rect bounds;
  SInt16 defaultItem = 1;
  Handle alert = PortLoadResource(FourCC("ALRT"), alertId);
  vlres::AlertTemplate templ;
  std::vector<vlres::DialogItem> items;
  bool found = alert && vlres::ParseAlert(alert, &templ);
  if (found) {
    Handle list = PortLoadResource(FourCC("DITL"), templ.itemListId);
    found = list && vlres::ParseItemList(list, &items);
  }
  if (found) {
    bounds = CenteredRect(SInt16(templ.bounds.right - templ.bounds.left), SInt16(templ.bounds.bottom - templ.bounds.top));
    for (const vlres::DialogItem& item : items) {
      SInt16 kind = SInt16(item.kind & 127);
      if (!item.enabled || (item.kind & vlres::kItemDisableBit)) kind = SInt16(kind | itemDisable);
      specs.push_back(ItemSpec{kind, item.bounds, item.text, item.resourceId});
    }
    defaultItem = SInt16(vlres::AlertStageDefaultItem(templ.stages, 1));
    int beeps = templ.stages & 3;
    for (int i = 0; i < beeps; ++i) PortBeep(1);
  } else {
    bounds = CenteredRect(380, 130);
    specs.push_back(ItemSpec{ctrlItem + btnCtrl, Rect{95, 290, 115, 360}, "OK"});
    specs.push_back(ItemSpec{statText | itemDisable, Rect{12, 70, 85, 365}, missingText});
  }
  // An alert whose items hold an icon shows that one in place of its kind's.
  bool ownIcon = std::any_of(specs.begin(), specs.end(), [](const ItemSpec& s) { return (s.kind & 127) == iconItem; });
  if (!ownIcon) specs.push_back(ItemSpec{iconItem | itemDisable, vlui::kAlertIconBounds, "", SInt16(icon)});
  DialogPtr d = MakeDialog(bounds, "", dBoxProc, specs);
  if (!d) return defaultItem;
  PortSetDialogDefaultItem(d, defaultItem);
  // The other of the first two buttons answers Escape; an alert with one button closes with it.
  SInt16 other = defaultItem == 1 ? 2 : 1;
  SInt16 kind = 0;
  PortGetDialogItem(d, other, &kind, nullptr, nullptr);
  PortSetDialogCancelItem(d, found && (kind & 127) == ctrlItem + btnCtrl ? other : defaultItem);
  SInt16 hit = RunModalUntil(d, filter, {});
  PortDisposeDialog(d);
  return hit > 0 ? hit : defaultItem;
}

SInt16 RunAlert(SInt16 alertId, vlui::AlertIcon icon, ModalFilterProcPtr filter) {
  vlalert::Record record;
  record.kind = "alert";
  record.id = alertId;
  if (!AlertItemTexts(alertId, &record.texts)) {
    record.title = kMissing;
    record.texts.clear();
    for (const auto& t : gTexts) record.texts.push_back(MacRomanToUtf8(t));
  }
  if (vlui::IsInteractive() && vlui::ScreenReady()) {
    std::string missing;
    for (const auto& t : gTexts) {
      if (t.empty()) continue;
      if (!missing.empty()) missing += "\r";
      missing += t;
    }
    SInt16 answer = ShowOnScreen(alertId, icon, filter, missing);
    return SInt16(vlui::internal::LogRecord(record.kind, record.id, record.title, record.texts, answer));
  }
  return SInt16(vlalert::Report(record, 1));
}
}  // namespace

void PortSetAlertTexts(ConstStringPtr text0, ConstStringPtr text1, ConstStringPtr text2, ConstStringPtr text3) {
  ConstStringPtr in[4] = {text0, text1, text2, text3};
  for (int i = 0; i < 4; ++i) gTexts[i] = in[i] ? PStrToStd(in[i]) : std::string();
}

SInt16 PortAlert(SInt16 alertId, ModalFilterProcPtr filter) { return RunAlert(alertId, vlui::kStopIcon, filter); }
SInt16 PortAlertVariant(SInt16 alertId, ModalFilterProcPtr filter) {
  return RunAlert(alertId, vlui::kCautionIcon, filter);
}
SInt16 PortAskAlert(SInt16 alertId, ModalFilterProcPtr filter) { return RunAlert(alertId, vlui::kCautionIcon, filter); }
SInt16 PortShowAlert(SInt16 alertId, ModalFilterProcPtr filter) { return RunAlert(alertId, vlui::kNoteIcon, filter); }

void PortBeep(SInt16 duration) {
  ++gBeeps;
  if (gBeepHandler) gBeepHandler(duration);
}

namespace vlui {

std::string AlertText(int index) {
  if (index < 0 || index > 3) return std::string();
  return MacRomanToUtf8(gTexts[index]);
}

long BeepCount() { return gBeeps; }
void ResetBeepCount() { gBeeps = 0; }

BeepHandler SetBeepHandler(BeepHandler handler) {
  BeepHandler previous = std::move(gBeepHandler);
  gBeepHandler = std::move(handler);
  return previous;
}

std::string SubstituteAlertTexts(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '^' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '3') {
      out += gTexts[text[i + 1] - '0'];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace vlui
