#include "VLSwitchboard.h"

#include "CDesktop.h"
#include "Windows.h"

void VLSwitchboard::DoActivate(EventRecord* event) {
  WindowPtr window = PortEventWindow(event);
  if (!window || window->windowKind < userKind || !CDesktop::FindWindowObject(window)) return;
  CSwitchboard::DoActivate(event);
}
