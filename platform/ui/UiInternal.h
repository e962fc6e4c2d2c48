// Shared internals of the ui layer: the look (colours and metrics), drawing helpers on the
// screen port, the window list, and the hooks between windows, menus and dialogs.
#pragma once

#include <string>
#include <vector>

#include "Dialogs.h"
#include "Events.h"
#include "Menus.h"
#include "QuickDraw.h"
#include "Windows.h"

namespace vlui::internal {

// ---- The look ---------------------------------------------------------------------------------
constexpr UInt32 kDesktopColor = 0x6B7A8F;
constexpr UInt32 kBlack = 0x000000;
constexpr UInt32 kWhite = 0xFFFFFF;
constexpr UInt32 kFaceColor = 0xE4E4E4;      // title bars, buttons
constexpr UInt32 kStripeColor = 0xA8A8A8;    // stripes of an active title bar
constexpr UInt32 kDimTextColor = 0x8C8C8C;   // disabled texts, inactive titles
constexpr UInt32 kSelectColor = 0x2F5FB3;    // highlighted menu items, list selections
constexpr UInt32 kSelectTextColor = 0xFFFFFF;
constexpr UInt32 kTextSelectColor = 0xB5CCF0; // text editor selection
constexpr SInt16 kSystemFont = 0;
constexpr SInt16 kSystemSize = 12;
constexpr SInt16 kSmallSize = 9;

RGBColor ToRGB(UInt32 rgb);
void SetFore(UInt32 rgb);
void SetBack(UInt32 rgb);
// Fills a rectangle of the current port with a colour (the pen state is kept).
void FillRect(const Rect& r, UInt32 rgb);
void FrameRect(const Rect& r, UInt32 rgb);
// Draws Mac Roman text with its baseline at (h, v) in the current port's font.
void DrawText(const std::string& macRoman, SInt16 h, SInt16 v, UInt32 rgb);
SInt16 TextWidth(const std::string& macRoman);
// Text cut with "…" to fit width.
std::string FitText(const std::string& macRoman, SInt16 width);
// The system font at a size in the current port.
void UseFont(SInt16 size, Style face = 0);

// Keeps the current port and restores it on leaving a scope.
class PortKeeper {
 public:
  PortKeeper();
  ~PortKeeper();
  PortKeeper(const PortKeeper&) = delete;
  PortKeeper& operator=(const PortKeeper&) = delete;

 private:
  GrafPtr saved;
  PenState pen;
  RGBColor fore, back;
  SInt16 font, size, mode;
  Style face;
};

// The screen port, current and clipped to a global region or rectangle (null: the whole screen).
GrafPtr UseScreenPort(RgnHandle clip = nullptr);
GrafPtr UseScreenPortRect(const Rect& clip);

// Copies pixels out of and back into the framebuffer (menus save what they cover).
struct SavedBits {
  Rect r;
  std::vector<UInt32> pixels;
};
void SaveBits(const Rect& r, SavedBits* out);
void RestoreBits(const SavedBits& bits);

// ---- Windows ----------------------------------------------------------------------------------
// Sets up a constructed window record (its ownedStorage already set) and puts it on the screen.
WindowPtr SetUpWindow(WindowPtr w, const Rect* bounds, const std::string& title, Boolean visible, SInt16 procID,
                      WindowPtr behind, Boolean goAwayFlag, SInt32 refCon);
// Every window, front to back over the layers.
const std::vector<WindowPtr>& Windows();
// The structure rectangle of a window for a content rectangle.
Rect StructureFor(WindowPtr w, const Rect& content);
// Recomputes every window's regions and visible region after windows changed; windows in
// `contentLost` (moved or resized) get their whole visible content as update; others get what
// became visible. Newly visible desktop is painted; window frames are drawn again.
void Relayout(const std::vector<WindowPtr>& contentLost = {});
// Draws a window's frame clipped to what is visible of it.
void DrawFrame(WindowPtr w);
// The window's visible content (global), or null.
RgnHandle VisibleContent(WindowPtr w);
// Brings activation up to date with the front windows (queues activate events).
void UpdateActivation();
// Points a window port at the framebuffer and sets its visible region from the global one.
void AttachPort(WindowPtr w);
// True while a modal dialog (the modal layer) shows.
bool ModalLayerShowing();
// Whether the program itself is active (floating palettes look active).
bool ProgramActive();

// While on, update events are made only for the modal layer's windows (a modal loop that has
// nobody to draw the others).
void RestrictUpdatesToModal(bool on);
// The window manager's event generator (Events.h).
Boolean GenerateEvent(SInt16 mask, EventRecord* event, Boolean remove);

// Disposes of a closing window's controls.
void KillControlsOf(WindowPtr window);

// ---- Menus ------------------------------------------------------------------------------------
void DrawMenuBarNow();
void ForgetMenusForScreen();
// A popup for a control or dialog: the chosen item or 0.
SInt16 PopUpAt(MenuHandle menu, const Rect& box, SInt16 current);
// Menus for popup controls that name an id.
MenuHandle FindAnyMenu(SInt16 menuID);

// ---- Dialogs ----------------------------------------------------------------------------------
// A mouse-down in the window's content: true with the point in the window's local coordinates.
bool ContentClick(WindowPtr window, const EventRecord& event, Point* local);
// Runs a dialog's modal loop until an enabled item in `ends` is hit (or any enabled item when
// `ends` is empty); the item hit.
SInt16 RunModalUntil(DialogPtr dialog, ModalFilterProcPtr filter, const std::vector<SInt16>& ends);
// Centres a rectangle of a size on the screen one third down the client area.
Rect CenteredRect(SInt16 width, SInt16 height);
// Logs a record through the alert sink.
int LogRecord(const std::string& kind, int id, const std::string& title, const std::vector<std::string>& texts,
              int answer);
// Disposes of a window that is a dialog; false when it is none.
bool DisposeIfDialog(WindowPtr window);
// A window came on the screen: a dialog made from a resource is logged (with its texts now).
void NoteWindowShown(WindowPtr window);
// Builds a dialog from item descriptions (for the built-in dialogs: file, colour, alerts).
struct ItemSpec {
  SInt16 kind;
  Rect box;
  std::string text;  // Mac Roman
  SInt16 resourceId = 0;
};
DialogPtr MakeDialog(const Rect& bounds, const std::string& title, SInt16 procID, const std::vector<ItemSpec>& items);
// Icons drawn by the alerts when the resources have none.
void DrawBuiltInIcon(SInt16 iconId, const Rect& box);
// Draws a 32 by 32 'ICON' resource into a box of the current port; false when missing.
bool DrawIconResource(SInt16 iconId, const Rect& box);

// ---- Standard dialogs -------------------------------------------------------------------------
struct StandardAnswer;

}  // namespace vlui::internal
