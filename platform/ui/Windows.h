// The window manager of the virtual screen (Screen.h).
//
// Three layers, front to back: modal dialogs and alerts, floating palettes, document windows
// (the children of the frame). A window is a graphics port (WindowRecord derives from GrafPort,
// so a WindowPtr is a GrafPtr) whose pixels are the framebuffer: its port rectangle is its
// content area in local coordinates ((0, 0) at the content's top-left corner unless the program
// moves the origin), its visible region the part of the content no other window covers. Drawing
// through a window's port therefore lands on the screen, clipped to what is visible.
//
// Kinds by 'WIND' procID: documentProc (title bar with close box, grow box), noGrowDocProc
// (no grow box), zoomDocProc and zoomNoGrow (with a zoom box), dBoxProc, plainDBox and
// altDBoxProc (modal dialog frames without a title bar), movableDBoxProc (a modal dialog with a
// title bar), kFloatProc, kFloatGrowProc and kFloatZoomGrowProc (floating palettes with a thin
// title bar). A floating procID puts the window in the floating layer; dialog procIDs put it in
// the modal layer; everything else is a document window.
//
// Activation: the active window is the frontmost visible window of the modal layer, or when
// there is none, of the document layer. When it changes the window manager hands out a
// deactivate event for the old one and an activate event for the new one (Events.h). Floating
// palettes are drawn active while the program is.
//
// Update regions are in global coordinates. Uncovering part of a window adds it to the window's
// update region and erases it to white; the program gets an update event and draws between
// PortBeginUpdate and PortEndUpdate, which clip its port to what needs drawing.
#pragma once

#include <string>

#include "Events.h"
#include "MacTypes.h"
#include "QuickDraw.h"

struct MenuInfo;

// Window procIDs.
enum : SInt16 {
  documentProc = 0,
  dBoxProc = 1,
  plainDBox = 2,
  altDBoxProc = 3,
  noGrowDocProc = 4,
  movableDBoxProc = 5,
  zoomDocProc = 8,
  zoomNoGrow = 12,
  rDocProc = 16,
  kFloatProc = 1985,
  kFloatGrowProc = 1987,
  kFloatZoomGrowProc = 1991,
};

// Window kinds (windowKind): the program's own windows use userKind and above.
enum : SInt16 { dialogKind = 2, userKind = 8 };

// Layers.
enum class WindowLayer : UInt8 { kDocument, kFloating, kModal };

// Parts of the screen, from PortFindWindow.
enum : SInt16 {
  inDesk = 0,
  inMenuBar = 1,
  inSysWindow = 2,
  inContent = 3,
  inDrag = 4,
  inGrow = 5,
  inGoAway = 6,
  inZoomIn = 7,
  inZoomOut = 8,
};

// Frame metrics.
constexpr SInt16 kTitleBarHeight = 20;       // document and movable dialog title bars
constexpr SInt16 kFloatTitleBarHeight = 12;  // floating palettes
constexpr SInt16 kGrowBoxSize = 15;          // the grow box in the content's bottom-right corner
constexpr SInt16 kMinWindowWidth = 64;       // PortGrowWindow never makes a window smaller
constexpr SInt16 kMinWindowHeight = 32;

struct WindowRecord : GrafPort {
  SInt16 windowKind = userKind;
  Boolean visible = false;
  Boolean hilited = false;
  Boolean goAwayFlag = false;
  Boolean hasGrow = false;
  Boolean hasZoom = false;
  Boolean hasTitleBar = false;
  SInt16 procID = documentProc;
  WindowLayer layer = WindowLayer::kDocument;
  Rect content;                    // content area, global
  RgnHandle strucRgn = nullptr;    // frame and content, global
  RgnHandle contRgn = nullptr;     // content, global
  RgnHandle updateRgn = nullptr;   // what needs drawing, global
  std::string title;               // Mac Roman
  SInt32 refCon = 0;
  Rect userState;                  // zoom: the size the user gave it
  Rect stdState;                   // zoom: the standard (zoomed) size
  Boolean zoomed = false;
  UInt32 id = 0;                   // names the window in event messages
  void* object = nullptr;          // the class library's window object
  void* ownedStorage = nullptr;    // internal
  WindowRecord* nextWindow = nullptr;  // front to back over all layers
};
using WindowPtr = WindowRecord*;
using WindowRef = WindowRecord*;
using CWindowPtr = WindowRecord*;

// "In front of all windows" for the behind argument.
inline WindowPtr const kFirstWindowOfClass = reinterpret_cast<WindowPtr>(-1);

// Makes a window. storage: null lets the layer allocate it; otherwise at least
// sizeof(WindowRecord) bytes the caller keeps until PortCloseWindow. bounds is the content area
// in global coordinates. behind: kFirstWindowOfClass for the front of its layer, null for the
// back, else the window it goes behind (in the same layer; another layer's window means the
// front). A visible window is drawn at once and gets an update event for its content; when it
// is the new active window an activate event follows. Null when the screen is not made.
WindowPtr PortNewWindow(void* storage, const Rect* bounds, ConstStringPtr title, Boolean visible, SInt16 procID,
                        WindowPtr behind, Boolean goAwayFlag, SInt32 refCon);
WindowPtr PortNewCWindow(void* storage, const Rect* bounds, ConstStringPtr title, Boolean visible, SInt16 procID,
                         WindowPtr behind, Boolean goAwayFlag, SInt32 refCon);
// From 'WIND' resource windowID; null (resNotFound in PortResError) when it is missing or damaged.
WindowPtr PortGetNewWindow(SInt16 windowID, void* storage, WindowPtr behind);
WindowPtr PortGetNewCWindow(SInt16 windowID, void* storage, WindowPtr behind);
// Takes the window off the screen (uncovered windows get updates) and releases what it holds;
// PortDisposeWindow also frees the record when the layer allocated it, PortCloseWindow never.
void PortCloseWindow(WindowPtr window);
void PortDisposeWindow(WindowPtr window);
// Moves a window into another layer (the class library's floating flag), at its front.
void PortSetWindowLayer(WindowPtr window, WindowLayer layer);

// Title (Mac Roman).
void PortSetWTitle(WindowPtr window, ConstStringPtr title);
void PortGetWTitle(WindowPtr window, StringPtr title);
void PortSetWRefCon(WindowPtr window, SInt32 refCon);
SInt32 PortGetWRefCon(WindowPtr window);
// The class library's window object for a window (null when none was set).
void PortSetWindowObject(WindowPtr window, void* object);
void* PortFindWindowObject(WindowPtr window);
// The native window behind a window: on this screen the window itself.
void* PortNativeWindow(WindowPtr window);

// Showing, hiding, ordering, activation.
void PortShowWindow(WindowPtr window);
void PortHideWindow(WindowPtr window);
void PortShowHide(WindowPtr window, Boolean show);
// Brings the window to the front of its layer and makes it the active window when it can be
// (not behind a modal dialog).
void PortSelectWindow(WindowPtr window);
void PortBringToFront(WindowPtr window);
void PortSendBehind(WindowPtr window, WindowPtr behindWindow);
// The frontmost visible window of all layers / of the modal and document layers (the one the
// user works in); null when none.
WindowPtr PortFrontWindow();
WindowPtr PortFrontNonFloatingWindow();
WindowPtr PortActiveWindow();
// Every window, front to back (PortGetWindowList), and the next after one.
WindowPtr PortGetWindowList();
WindowPtr PortGetNextWindow(WindowPtr window);
// The title highlight (the active look).
void PortHiliteWindow(WindowPtr window, Boolean hilite);
Boolean PortIsWindowVisible(WindowPtr window);
Boolean PortIsWindowHilited(WindowPtr window);
// True when the pointer names a window of the screen (not closed).
Boolean PortIsWindow(WindowPtr window);

// Where a point (global) lies: the part code and the window (null for the desk and the menu bar).
SInt16 PortFindWindow(Point where, WindowPtr* window);

// Moving and sizing. PortMoveWindow puts the content's top-left corner at (h, v) global, and
// brings the window to the front when front is set. PortSizeWindow sets the content size
// (width, height, at least 1 by 1); with update set the newly exposed content is added to the
// update region. PortCall6317 moves a proposed content position (h, v) in place so that the
// title bar stays within the client area.
void PortMoveWindow(WindowPtr window, SInt16 h, SInt16 v, Boolean front);
void PortSizeWindow(WindowPtr window, SInt16 width, SInt16 height, Boolean update);
void PortCall6317(Point* where);

// Tracking with the button held (from the mouse-down that hit the part). Each loop polls the
// button and the mouse and ends on release.
// Drags a gray outline of the window; on release inside limit (global; a null or empty limit is
// the client area) moves the window there. The window comes to the front unless the command
// key is held.
void PortDragWindow(WindowPtr window, Point startPt, const Rect* limit);
// Drags the outline of the window's bottom-right corner; answers the new size as
// (height << 16) | width, or 0 when the size did not change. sizeRect gives the smallest
// (left, top) and largest (right, bottom) width and height; null: kMinWindowWidth and
// kMinWindowHeight up to the client area.
SInt32 PortGrowWindow(WindowPtr window, Point startPt, const Rect* sizeRect);
// Tracks the close box (and the zoom box): true when released inside it.
Boolean PortTrackGoAway(WindowPtr window, Point pt);
Boolean PortTrackBox(WindowPtr window, Point pt, SInt16 part);
// Zooms to the standard state (inZoomOut: the client area less a margin unless set with
// PortSetWindowStandardState) or back to the user state (inZoomIn).
void PortZoomWindow(WindowPtr window, SInt16 part, Boolean front);
void PortSetWindowStandardState(WindowPtr window, const Rect* state);
void PortSetWindowUserState(WindowPtr window, const Rect* state);
Boolean PortIsWindowZoomed(WindowPtr window);

// Update regions (the arguments are in the window's local coordinates).
void PortInvalRect(WindowPtr window, const Rect* r);
void PortInvalRgn(WindowPtr window, RgnHandle rgn);
void PortValidRect(WindowPtr window, const Rect* r);
void PortValidRgn(WindowPtr window, RgnHandle rgn);
// The classic forms on the current port (which must be a window).
void PortInvalWindowRect(const Rect* r);
void PortValidWindowRect(const Rect* r);
// Between the two the window's visible region is what needs drawing and the update region is
// empty; PortEndUpdate restores the visible region.
void PortBeginUpdate(WindowPtr window);
void PortEndUpdate(WindowPtr window);
// Draws the window's frame (title bar, boxes) again; PortDrawGrowIcon draws the grow box in the
// content's corner (documents draw it after their content).
void PortDrawWindowFrame(WindowPtr window);
void PortDrawGrowIcon(WindowPtr window);

// Global content rectangle / structure rectangle (frame included).
void PortGetWindowContentRect(WindowPtr window, Rect* r);
void PortGetWindowStructureRect(WindowPtr window, Rect* r);
void PortGetWindowPortBounds(WindowPtr window, Rect* r);

namespace vlui {

// The window whose id an event message carries; null when it is gone.
WindowPtr WindowFromId(UInt32 id);
// A window's title as UTF-8.
std::string WindowTitleUtf8(WindowPtr window);
// The visible window with this title (UTF-8, exact), front to back; null when none.
WindowPtr FindWindowByTitle(const std::string& utf8Title);
// The close box, zoom box and grow box of a window in global coordinates (empty when it has
// none); for scripts and tests that click them.
Rect CloseBoxRect(WindowPtr window);
Rect ZoomBoxRect(WindowPtr window);
Rect GrowBoxRect(WindowPtr window);
Rect TitleBarRect(WindowPtr window);

// Forgets pending activations (tests).
void ForgetActivations();

}  // namespace vlui
