// Alerts: an 'ALRT' resource and its 'DITL' item list, with the four substitution texts put
// in place of ^0 to ^3 in its text items. Every alert is handed to the alert sink
// (AlertSink.h) as a record of kind "alert" with its id and its substituted texts (UTF-8), and
// the sink's answer (item 1 unless the answerer says otherwise) is the item the user chose.
// An alert whose resources are missing or damaged is handed over all the same, with the title
// "missing alert resource" and the four substitution texts; nothing fails.
#pragma once

#include <string>

#include "Events.h"
#include "MacTypes.h"

// A filter of the alert's events (used only where an alert is shown on screen).
using ModalFilterProcPtr = Boolean (*)(void* dialog, EventRecord* event, SInt16* itemHit);

// The four substitution texts; a null text is the empty text.
void PortSetAlertTexts(ConstStringPtr text0, ConstStringPtr text1, ConstStringPtr text2, ConstStringPtr text3);

// The alert kinds differ only in their icon on screen; each answers the item chosen.
SInt16 PortAlert(SInt16 alertId, ModalFilterProcPtr filter = nullptr);
SInt16 PortAlertVariant(SInt16 alertId, ModalFilterProcPtr filter = nullptr);
SInt16 PortAskAlert(SInt16 alertId, ModalFilterProcPtr filter = nullptr);
SInt16 PortShowAlert(SInt16 alertId, ModalFilterProcPtr filter = nullptr);

// Sounds the beep (duration in ticks; the backend decides how it is heard).
void PortBeep(SInt16 duration);

namespace vlui {
// Substitution text 0..3 (UTF-8), as set last.
std::string AlertText(int index);
// Beeps sounded since the start (or the last reset).
long BeepCount();
void ResetBeepCount();
// ^0..^3 of a Mac Roman text replaced by the substitution texts (Mac Roman).
std::string SubstituteAlertTexts(const std::string& text);
}  // namespace vlui
