#include "Alerts.h"

#include <vector>

#include "AlertSink.h"
#include "PString.h"
#include "Resources.h"

namespace {
std::string gTexts[4];
long gBeeps = 0;

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

SInt16 RunAlert(SInt16 alertId) {
  vlalert::Record record;
  record.kind = "alert";
  record.id = alertId;
  if (!AlertItemTexts(alertId, &record.texts)) {
    record.title = kMissing;
    record.texts.clear();
    for (const auto& t : gTexts) record.texts.push_back(MacRomanToUtf8(t));
  }
  return SInt16(vlalert::Report(record, 1));
}
}  // namespace

void PortSetAlertTexts(ConstStringPtr text0, ConstStringPtr text1, ConstStringPtr text2, ConstStringPtr text3) {
  ConstStringPtr in[4] = {text0, text1, text2, text3};
  for (int i = 0; i < 4; ++i) gTexts[i] = in[i] ? PStrToStd(in[i]) : std::string();
}

SInt16 PortAlert(SInt16 alertId, ModalFilterProcPtr) { return RunAlert(alertId); }
SInt16 PortAlertVariant(SInt16 alertId, ModalFilterProcPtr) { return RunAlert(alertId); }
SInt16 PortAskAlert(SInt16 alertId, ModalFilterProcPtr) { return RunAlert(alertId); }
SInt16 PortShowAlert(SInt16 alertId, ModalFilterProcPtr) { return RunAlert(alertId); }

void PortBeep(SInt16) { ++gBeeps; }

namespace vlui {

std::string AlertText(int index) {
  if (index < 0 || index > 3) return std::string();
  return MacRomanToUtf8(gTexts[index]);
}

long BeepCount() { return gBeeps; }
void ResetBeepCount() { gBeeps = 0; }

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
