#include "CSwitchboard.h"

#include <cstdlib>

#include "Alerts.h"
#include "CApplication.h"
#include "CDesktop.h"
#include "CMenuManager.h"
#include "CWindow.h"
#include "Dialogs.h"
#include "Menus.h"
#include "Screen.h"
#include "Windows.h"

SInt16 gClickCount = 0;

namespace {

constexpr SInt16 kClickSlop = 5;

// Counts the press into gClickCount.
void CountClick(const EventRecord& event) {
  static UInt32 lastWhen = 0;
  static Point lastWhere;
  const bool follows = gClickCount > 0 && event.when - lastWhen <= PortDoubleClickTicks() &&
                       std::abs(event.where.h - lastWhere.h) <= kClickSlop &&
                       std::abs(event.where.v - lastWhere.v) <= kClickSlop;
  gClickCount = follows ? SInt16(gClickCount + 1) : SInt16(1);
  lastWhen = event.when;
  lastWhere = event.where;
}

// Updates of class-library windows while a modal loop of the window layer runs (an alert on
// the screen): they are drawn at once.
void ModalUpdate(WindowPtr window, EventRecord*) {
  if (CWindow* object = CDesktop::FindWindowObject(window)) {
    object->Update();
  } else if (window) {
    PortBeginUpdate(window);
    PortEndUpdate(window);
  }
}
}  // namespace

CSwitchboard::~CSwitchboard() {}

void CSwitchboard::ISwitchboard() { vlui::SetModalUpdateHook(&ModalUpdate); }

void CSwitchboard::ProcessEvent() {
  // The menu bar shows what can be chosen now, not what could when a menu was last pulled down.
  if (gApplication) gApplication->UpdateAllMenus();
  if (gMenuManager) gMenuManager->SyncMenus();
  if (gDesktop && vlui::ScreenReady()) {
    gDesktop->Prepare();
    Point mouse;
    PortGetMouse(&mouse);
    PortLocalToGlobal(&mouse);
    gDesktop->AdjustCursor(mouse, nullptr);
  }
  EventRecord event;
  PortGetNextEvent(everyEvent, &event);
  if (gApplication)
    gApplication->DispatchEvent(&event);
  else
    DispatchWindowEvent(&event);
  if (gDesktop && vlui::ScreenReady()) gDesktop->ResetWindowOrigins();
}

void CSwitchboard::DispatchWindowEvent(EventRecord* event) {
  switch (event->what) {
    case mouseDown:
      DoMouseDown(event);
      break;
    case mouseUp:
      DoMouseUp(event);
      break;
    case updateEvt:
      DoUpdate(event);
      break;
    case activateEvt:
      DoActivate(event);
      break;
    default:
      break;
  }
}

void CSwitchboard::DoMouseDown(EventRecord* event) {
  CountClick(*event);
  WindowPtr window = nullptr;
  SInt16 part = PortFindWindow(event->where, &window);
  if (part == inMenuBar) {
    DoMenuBarClick(event);
    return;
  }
  if (gDesktop) gDesktop->DispatchClick(event);
}

void CSwitchboard::DoMouseUp(EventRecord*) {}

void CSwitchboard::DoMenuBarClick(EventRecord* event) {
  // While a modal dialog is in front the menus are not the user's.
  WindowPtr front = PortFrontWindow();
  if (front && front->layer == WindowLayer::kModal) {
    PortBeep(1);
    return;
  }
  if (gApplication) gApplication->UpdateAllMenus();
  if (gMenuManager) gMenuManager->SyncMenus();
  SInt32 choice = PortMenuSelect(event->where);
  if (choice != 0 && gApplication) {
    SInt16 menuId = SInt16(choice >> 16), item = SInt16(choice & 0xFFFF);
    long command = 0;
    if (gMenuManager && gMenuManager->GetMenuByID(menuId)) {
      command = gMenuManager->FindCommand(menuId, item);
    } else if (MenuHandle menu = PortGetMenuHandle(menuId)) {
      // A menu the program put on the screen itself names its commands there.
      command = PortGetMenuItemCommandID(menu, item);
      if (command == 0) command = -((long(UInt16(menuId)) << 16) | long(UInt16(item)));
    }
    if (command != 0) gApplication->DispatchCommand(command);
  }
  PortHighlightMenu(0);
}

void CSwitchboard::DoUpdate(EventRecord* event) {
  WindowPtr window = PortEventWindow(event);
  if (!window) return;
  if (CWindow* object = CDesktop::FindWindowObject(window)) {
    object->Update();
    return;
  }
  // A window that is not the class library's still has its update taken, so it does not come
  // back for ever.
  PortBeginUpdate(window);
  if (DialogPtr dialog = PortWindowDialog(window)) PortDrawDialog(dialog);
  PortEndUpdate(window);
}

void CSwitchboard::DoActivate(EventRecord* event) {
  WindowPtr window = PortEventWindow(event);
  CWindow* object = CDesktop::FindWindowObject(window);
  if (!object) return;
  // An activation overtaken by later changes (a window shown and hidden again meanwhile) is
  // left alone: the window's state follows the window layer's active window.
  Boolean activating = (event->modifiers & activeFlag) != 0;
  if (activating != (PortActiveWindow() == window) && !object->IsFloating()) return;
  if (activating)
    object->Activate();
  else
    object->Deactivate();
}
