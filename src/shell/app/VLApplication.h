// The program's application object: program-wide settings (the text tool's attributes, the
// length and angle formats, the untitled-document counters), its own desktop, clipboard,
// decorator, switchboard and menu manager made through the class library's factories, the
// start-up screen, new documents and opening files by their type, and the application's own
// commands and menus.
#pragma once

#include <exception>
#include <functional>

#include "CApplication.h"
#include "CDirector.h"
#include "EventBroker.h"
#include "Format.h"
#include "PString.h"

class VLPaletteDirector;
class VLStartupScreen;
class VLSwitchboard;

class VLApplication : public CApplication {
  VL_REGISTERED_CLASS(VLApplication, CApplication)

 public:
  VLApplication();
  // Tears down the program-wide objects (once), then the class library's application.
  ~VLApplication() override;

  // The initialiser: factories, menus, cursors, start-up screen, the progress dialog
  // (gProgressDialog, made hidden), the tool palette, menu adjustments. True.
  virtual Boolean IVLApplication();

  // Disposes the program-wide objects: the tool palette, the progress dialog, the clipboard and
  // what later layers made. Runs once; the globals it disposes are cleared.
  virtual void TearDown();
  void Quit() override;

  void DoCommand(long command) override;
  void UpdateMenus() override;

  void MakeDesktop() override;
  void MakeClipboard() override;
  void MakeDecorator() override;
  void MakeSwitchboard() override;
  void MakeMenuManager() override;
  void SetUpFileParameters() override;
  void SetUpMenus() override;

  // The class library's event step, then the tool palette's.
  void ProcessOneEvent() override;
  // A failure of one pass: class-library exceptions are reported with ReportException (the
  // program's alerts), others as the class library reports them.
  void ReportFailure(std::exception_ptr failure) override;

  void CreateDocument() override;
  void OpenDocument(SFReply* reply) override;
  // Documents given at launch or dropped on the program: not opened by the Open command.
  void OpenDocuments(const std::vector<SFReply>& files) override;

  // An untitled document was saved under a name or went away.
  void EndNesting();

  Boolean HasQuickDraw3D() const;
  Boolean CheckQuickDraw3DVersion() const;

  // The text tool's flag while the view pane tracks a click of the text tool.
  void SetTextTracking(Boolean tracking) { textTracking = tracking; }
  Boolean IsTextTracking() const { return textTracking; }

  // Asks alert 131 with the text while the opened-by-command flag is set, or when forced;
  // otherwise agrees at once.
  Boolean ConfirmWithAlert(ConstStringPtr text, Boolean force);

  // Length formats (10) and angle formats (3).
  const Format& GetMilesFormat() const { return lengthFormats[0]; }
  const Format& GetFeetFormat() const { return lengthFormats[1]; }
  const Format& GetFeetAndInchesFormat() const { return lengthFormats[2]; }
  const Format& GetFeetAndFractionalInchesFormat() const { return lengthFormats[3]; }
  const Format& GetInchesFormat() const { return lengthFormats[4]; }
  const Format& GetFractionalInchesFormat() const { return lengthFormats[5]; }
  const Format& GetKilometersFormat() const { return lengthFormats[6]; }
  const Format& GetMetersFormat() const { return lengthFormats[7]; }
  const Format& GetCentimetersFormat() const { return lengthFormats[8]; }
  const Format& GetMillimetersFormat() const { return lengthFormats[9]; }
  const Format* GetAngleFormats() const { return angleFormats; }
  // Index of the first equal format; the count when none is equal.
  SInt16 FindLengthFormat(const Format& format) const;
  SInt16 FindAngleFormat(const Format& format) const;

  // Cursors 2, 128-131, 133-138, 201, 202 and 257 into their globals.
  virtual void LoadCursors();

  // The window list at the end of menu 8: the program's windows (not the clipboard's) sorted by
  // title, as commands 8001 upward, the active one checked.
  void UpdateWindowMenu();
  // Brings the first window with this title (compared as the window list shows it) to the
  // front; false when there is none.
  Boolean SelectWindowTitled(ConstStringPtr title);
  // The about box, shown until the mouse button is pressed.
  void ShowAboutBox();

  // State the tests and the documents read.
  UInt16 GetUntitledCount() const { return untitledCount; }
  UInt16 GetUntitledNumber() const { return untitledNumber; }
  Boolean OpenedByCommand() const { return openedByCommand; }
  Boolean& DocumentSetUpFlag() { return documentSetUp; }
  VLStartupScreen* GetStartupScreen() const { return startupScreen; }
  // The start-up screen went away (closed with the other documents, for instance).
  void ForgetStartupScreen(const VLStartupScreen* screen) {
    if (startupScreen == screen) startupScreen = nullptr;
  }
  VLSwitchboard* GetSwitchboard() const { return switchboard; }
  // The one event broker, made with the application and gone with it; it is
  // EventBroker::Current() meanwhile, so the palettes, panels and plug-ins take it as they are made.
  EventBroker& GetEventBroker() { return eventBroker; }
  void SetQuickDraw3DEnabled(Boolean enabled) { quickDraw3DEnabled = enabled; }

  // Text-tool attributes.
  SInt16 textFontNumber = 0;
  SInt16 textFontItem = 0;
  SInt16 textSizeIndex = 0;
  UInt16 textStyle = 0;
  SInt16 textJustification = 0;

  static constexpr SInt32 kLengthFormatCount = 10;
  static constexpr SInt32 kAngleFormatCount = 3;

 protected:
  // Takes the start-up screen away (when shown) before the first document, and warns once
  // about a missing or old 3D scene library.
  void ShowStartupScreen();
  void DisposeStartupScreen();
  // The one depth sorter into gDepthBuffer, initialised. Raises the memory error when it cannot
  // be made.
  void MakeDepthBuffer();
  // The one progress dialog into gProgressDialog, opened (hidden). Raises the memory error when
  // it cannot be made.
  void MakeProgressDialog();
  // The tool palette under the application (when a maker is installed).
  void MakeToolPalette();
  // Appends the names of the fonts to the menu, as items without commands.
  void AppendFontNames(SInt16 menuId);
  void WarnAboutQuickDraw3D();

  UInt16 untitledCount = 0;
  UInt16 untitledNumber = 0;
  VLStartupScreen* startupScreen = nullptr;
  Boolean textTracking = false;
  Boolean openedByCommand = false;
  Boolean documentSetUp = false;
  Boolean quickDraw3DEnabled = true;
  Boolean tornDown = false;
  VLSwitchboard* switchboard = nullptr;
  VLPaletteDirector* toolPalette = nullptr;
  Format lengthFormats[kLengthFormatCount];
  Format angleFormats[kAngleFormatCount];
  // Outlives the tear-down (the destructor's body), where the palettes subscribed to it go.
  EventBroker eventBroker;
};

// A window's title as the window list shows it: without a leading character 19 and leading blanks.
void StripWindowTitle(StringPtr title);

// Menus and commands of the application.
enum : SInt16 {
  kAppleMenu = 1,
  kViewsMenu = 6,
  kWindowsMenu = 8,
  kSizeMenu = 9,
  kStyleMenu = 11,
  kTextMenu = 20,
  kFontMenu = 50,
  kMaterialsMenu = 137,
};
enum : long {
  cmdInformation = 1500,
  cmdJustifyFirst = 2701,
  cmdJustifyLast = 2703,
  cmdPlain = 2800,
  cmdStyleLast = 2849,
  cmdSizeFirst = 2900,
  cmdSizeLast = 2949,
  cmdWindowFirst = 8001,
  cmdWindowLast = 8030,
  cmdWindowBase = 8000,
  cmdMaterialDialog = 8110,
  cmdMaterialEdit = 8100,
  cmdSceneWindow = 10003,
};
enum : SInt16 {
  kInformationAlert = 1008,
  kConfirmAlert = 131,
  kNoMemoryAtStartAlert = 501,
  kOutOfMemoryAlert = 134,
  kNoQD3DAlert = 138,
  kNoQD3DFor3DMFAlert = 139,
  kOldQD3DAlert = 142,
  kOldQD3DFor3DMFAlert = 143,
  kAppMenuStrings = 1800,
  kViewStrings = 1900,
};
// The release of the 3D scene library the program needs (1.5.1).
constexpr UInt32 kQD3DRequiredRelease = 0x01518000;

// The tool palette as the application sees it: a director with a step of its own after each event.
class VLPaletteDirector : public CDirector {
  VL_REGISTERED_CLASS(VLPaletteDirector, CDirector)

 public:
  virtual void EventStep() {}
};

// Makes the tool palette under the application and sets it up (the layer that defines the palette
// installs it; null: the program has no palette). Raises the memory error when it cannot.
using ToolPaletteMaker = VLPaletteDirector* (*)(CDirectorOwner* supervisor);
extern ToolPaletteMaker gToolPaletteMaker;
// The view setting the view and tool code read; 100 from the initialiser on.
extern SInt32 gViewSetting;

// Called first when the application goes, while the frame still stands (the shell notes the
// frame's placement then).
extern std::function<void()> gApplicationEndHook;

// Cursors loaded at start-up.
extern Handle gCursors[14];
constexpr SInt16 kCursorIds[14] = {2, 131, 128, 129, 130, 133, 134, 135, 136, 137, 257, 201, 202, 138};
// Number of items of menus 6 and 8 at start-up.
extern SInt16 gViewsMenuItemCount;
extern SInt16 gWindowsMenuItemCount;
// Whether the movie services are present.
extern Boolean gQuickTimePresent;
