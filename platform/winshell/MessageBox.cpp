#include "MessageBox.h"

#include <algorithm>

#include "AlertSink.h"
#include "PString.h"

namespace vlwinshell {

std::vector<int> MessageBoxButtons(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    default: return {IDOK};
  }
}

}  // namespace vlwinshell

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
  std::vector<int> buttons = vlwinshell::MessageBoxButtons(type);
  vlalert::Record record;
  record.kind = "messagebox";
  record.id = int(type);
  record.title = MacRomanToUtf8(caption ? caption : "Error");
  record.texts.push_back(MacRomanToUtf8(text ? text : ""));
  int answer = vlalert::Report(std::move(record), 1);
  if (answer >= 1 && std::size_t(answer) <= buttons.size()) return buttons[std::size_t(answer - 1)];
  bool hasCancel = std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end();
  return hasCancel ? IDCANCEL : buttons.front();
}
