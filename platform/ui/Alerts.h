// Alerts: an 'ALRT' resource and its 'DITL' item list, with the four substitution texts put
// in place of ^0 to ^3 in its text items. Every alert is handed to the alert sink
// (AlertSink.h) as a record of kind "alert" with its id and its substituted texts (UTF-8), and
// the sink's answer (item 1 unless the answerer says otherwise) is the item the user chose.
// An alert whose resources are missing or damaged is handed over all the same, with the title
// "missing alert resource" and the four substitution texts; nothing fails.
//
// While the screen is interactive (Screen.h: the SDL backend) an alert is shown on the screen
// in front of everything, with its icon, its substituted texts and its buttons, and the answer
// is the item the user chose there (by mouse, or Return/Enter for the default item and Escape
// or command-period for the other button of a two-button alert, or the only one); it is logged
// with that answer.
// Otherwise the sink's answerer answers it as before. An alert whose resources are missing is
// shown as a plain message with an OK button.
#pragma once

#include <functional>
#include <string>

#include "Dialogs.h"
#include "Events.h"
#include "MacTypes.h"

// The four substitution texts; a null text is the empty text.
void PortSetAlertTexts(ConstStringPtr text0, ConstStringPtr text1, ConstStringPtr text2, ConstStringPtr text3);

// The alert kinds differ only in their icon on screen (stop, caution, question, note), unless
// the alert's items hold an icon of their own; each answers the item chosen. The filter
// (Dialogs.h) sees the events of an alert on screen.
SInt16 PortAlert(SInt16 alertId, ModalFilterProcPtr filter = nullptr);
SInt16 PortAlertVariant(SInt16 alertId, ModalFilterProcPtr filter = nullptr);
SInt16 PortAskAlert(SInt16 alertId, ModalFilterProcPtr filter = nullptr);
SInt16 PortShowAlert(SInt16 alertId, ModalFilterProcPtr filter = nullptr);

// Sounds the beep (duration in ticks): counted, then handed to the backend's beep handler
// (SetBeepHandler), which plays it or shows it.
void PortBeep(SInt16 duration);

namespace vlui {
// Substitution text 0..3 (UTF-8), as set last.
std::string AlertText(int index);
// Beeps sounded since the start (or the last reset).
long BeepCount();
void ResetBeepCount();
// How the backend makes a beep heard or seen (duration in ticks); none for a backend no user
// watches. Answers the previous handler.
using BeepHandler = std::function<void(SInt16 duration)>;
BeepHandler SetBeepHandler(BeepHandler handler);
// ^0..^3 of a Mac Roman text replaced by the substitution texts (Mac Roman).
std::string SubstituteAlertTexts(const std::string& text);
// The icons of the alert kinds ('ICON' ids 0 stop, 1 note, 2 caution; built in when the
// resources have none).
enum AlertIcon : SInt16 { kStopIcon = 0, kNoteIcon = 1, kCautionIcon = 2 };
// Where an alert shows its icon; the alert's own items keep clear of it.
constexpr Rect kAlertIconBounds{10, 20, 42, 52};
}  // namespace vlui
