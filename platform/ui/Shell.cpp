// The frame's glue: start-up, the toolbox globals, frame messages and settings.
#include "Shell.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "Events.h"
#include "Menus.h"
#include "Screen.h"

namespace {
std::map<long, long> gSettings;
}

long PortStartup(const void*) { return 0; }

long PortInitToolbox(void*) {
  if (!vlui::ScreenReady()) vlui::InitScreen();
  return vlui::ScreenReady() ? 0 : 102;
}

long PortToolboxReady() { return vlui::ScreenReady() ? 1 : 0; }

void PortSetHelpFile(const char*, const char*) {}

void PortFrameDestroyed() { vlui::ShutdownScreen(); }

void PortMenuCommand(UInt32 identifier) {
  if (identifier == 0xFFFF) {
    vlui::PostCommand(1);  // the quit command
    return;
  }
  SInt16 menuID = SInt16(identifier >> 8), item = SInt16(identifier & 0xFF);
  MenuHandle menu = PortGetMenuHandle(menuID);
  if (!menu || item < 1 || item > PortCountMenuItems(menu)) return;
  SInt32 command = PortGetMenuItemCommandID(menu, item);
  vlui::PostCommand(command ? command : -((long(UInt16(menuID)) << 16) | item));
}

Boolean PortDefaultWindowMessage(void*, UInt32, unsigned long, long, long* result) {
  if (result) *result = 0;
  return false;
}

long PortCall154(long group, long setting, long value) {
  long key = (group << 16) ^ setting;
  long previous = gSettings.count(key) ? gSettings[key] : 0;
  gSettings[key] = value;
  return previous;
}

void PortDebugMessage(const char* text) {
  if (text && std::getenv("VELMORA_DEBUG")) std::fprintf(stderr, "%s\n", text);
}
