#include "VLApplication.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "Alerts.h"
#include "BusyCursor.h"
#include "CDesktop.h"
#include "CMenuManager.h"
#include "CProgressDialog.h"
#include "VLDepthBuffer.h"
#include "CWindow.h"
#include "Cursors.h"
#include "D3TMaterial.h"
#include "DETException.h"
#include "ExceptionReporting.h"
#include "FilePaths.h"
#include "Menus.h"
#include "PointLoop.h"
#include "QuickDraw.h"
#include "QuickDraw3DPresence.h"
#include "Resources.h"
#include "ToolboxUtilities.h"
#include "UnitBase.h"
#include "Unwinding.h"
#include "VLAbstractDocument.h"
#include "VLAboutBox.h"
#include "VLClipboard.h"
#include "VLDecorator.h"
#include "VLPopupMenu.h"
#include "VLRadioDLOGDirector.h"
#include "VLScrollPane.h"
#include "VLSmallDefaultButton.h"
#include "VLStartupScreen.h"
#include "VLSwitchboard.h"
#include "VLWindow.h"
#include "VLStandInDocument.h"
#include "Windows.h"

Handle gCursors[14] = {};
SInt16 gViewsMenuItemCount = 0;
SInt16 gWindowsMenuItemCount = 0;
Boolean gQuickTimePresent = false;
std::function<void()> gApplicationEndHook;
ToolPaletteMaker gToolPaletteMaker = nullptr;
SInt32 gViewSetting = 0;

namespace {

constexpr SInt16 kMemoryMasters = 150;
constexpr Size kRainyDayFund = 45000;
constexpr Size kCreditLimit = 40000;
constexpr Size kToolboxReserve = 20000;

// The menus of the menu bar, left to right.
constexpr SInt16 kMenuBar[] = {kAppleMenu, 2, 3, 4, 5, kViewsMenu, kTextMenu, kMaterialsMenu, kWindowsMenu};
// Font numbers the font menu looks through.
constexpr SInt16 kFontNumberLimit = 2048;

// Commands whose items the application takes out of the menus at start-up.
constexpr long kRemovedCommands[] = {2100, 2204, 2208, 6014, 6012};
// Fonts the text tool prefers, in this order of the font menu's items.
constexpr const char* kPreferredFonts[] = {"Chicago", "Courier", "Geneva", "Helvetica"};

void RegisterShellClasses() {
  VLApplication::ClassInfo();
  VLAbstractDocument::ClassInfo();
  VLStandInDocument::ClassInfo();
  VLClipboard::ClassInfo();
  VLDecorator::ClassInfo();
  VLSwitchboard::ClassInfo();
  VLWindow::ClassInfo();
  VLScrollPane::ClassInfo();
  VLSmallDefaultButton::ClassInfo();
  VLRadioDLOGDirector::ClassInfo();
  VLPopupMenu::ClassInfo();
  CSplashDoc::ClassInfo();
  VLAboutBox::ClassInfo();
  VLStartupScreen::ClassInfo();
  CProgressDialog::ClassInfo();
  VLDepthBuffer::ClassInfo();
}

}  // namespace

VLApplication::VLApplication() : CApplication(kMemoryMasters, kRainyDayFund, kCreditLimit, kToolboxReserve) {
  RegisterShellClasses();
  SetBusyCursorHook(SetCursorBusy);  // the geometry code shows it without linking the cursors
  // Materials make their scene objects while the application has the scene library.
  gQuickDraw3DCheck = []() -> Boolean {
    const auto* application = dynamic_cast<const VLApplication*>(gApplication);
    return application && application->HasQuickDraw3D();
  };
  gModelLengthUnit = gFeet;
  gModelAngleUnit = gDegrees;
  lengthFormats[0] = Format({gMiles}, Format::kDecimals, 3);
  lengthFormats[1] = Format({gFeet}, Format::kDecimals, 3);
  lengthFormats[2] = Format({gFeet, gInches}, Format::kDecimals, 2);
  lengthFormats[3] = Format({gFeet, gInches}, Format::kFractions, 32);
  lengthFormats[4] = Format({gInches}, Format::kDecimals, 2);
  lengthFormats[5] = Format({gInches}, Format::kFractions, 32);
  lengthFormats[6] = Format({gKilometers}, Format::kDecimals, 3);
  lengthFormats[7] = Format({gMeters}, Format::kDecimals, 3);
  lengthFormats[8] = Format({gCentimeters}, Format::kDecimals, 1);
  lengthFormats[9] = Format({gMillimeters}, Format::kDecimals, 0);
  angleFormats[0] = Format({gDegrees}, Format::kDecimals, 2);
  angleFormats[1] = Format({gDegrees, gMinutes}, Format::kDecimals, 0);
  angleFormats[2] = Format({gDegrees, gMinutes, gSeconds}, Format::kDecimals, 0);
}

VLApplication::~VLApplication() {
  if (gApplicationEndHook) gApplicationEndHook();
  TearDown();
  gQuickDraw3DCheck = nullptr;
}

Boolean VLApplication::IVLApplication() {
  textTracking = false;
  untitledCount = 0;
  untitledNumber = 0;
  IApplication(kMemoryMasters, kRainyDayFund, kCreditLimit, kToolboxReserve);
  LoadCursors();
  ShowStartupScreen();
  MakeDepthBuffer();
  MakeProgressDialog();
  gViewSetting = 100;
  MakeToolPalette();
  gViewsMenuItemCount = gMenuManager ? gMenuManager->CountItems(kViewsMenu) : 0;
  gWindowsMenuItemCount = gMenuManager ? gMenuManager->CountItems(kWindowsMenu) : 0;

  textSizeIndex = 12;
  textStyle = 0;
  if (gMenuManager) {
    SInt16 count = gMenuManager->CountItems(kFontMenu);
    for (SInt16 item = 1; item <= count && textFontItem == 0; ++item) {
      Str255 text;
      gMenuManager->GetCommandText(gMenuManager->FindCommand(kFontMenu, item), text);
      for (const char* font : kPreferredFonts) {
        if (PStrCompare(text, Str255(font)) == 0) {
          textFontItem = item;
          PortFontNumber(text, &textFontNumber);
          break;
        }
      }
    }

    for (long command : kRemovedCommands) gMenuManager->RemoveCommandItem(command);
    Str255 text;
    if (gMenuManager->GetCommandText(cmdMaterialEdit, text)) {
      if (text.Length() < 200) PStrConcat(text, Str255("..."));
      gMenuManager->AddCommandItem(cmdMaterialDialog, text, kMaterialsMenu, 0);
      gMenuManager->RemoveCommandItem(cmdMaterialEdit);
    }
  }
  return true;
}

void VLApplication::MakeDepthBuffer() {
  auto* sorter = new (std::nothrow) VLDepthBuffer;
  FailNIL(sorter);
  struct Disposer {
    void operator()(VLDepthBuffer* s) const { s->Dispose(); }
  };
  std::unique_ptr<VLDepthBuffer, Disposer> made(sorter);
  sorter->IVLDepthBuffer();
  if (gDepthBuffer) gDepthBuffer->Dispose();
  gDepthBuffer = made.release();
}

void VLApplication::MakeProgressDialog() {
  auto* progress = new (std::nothrow) CProgressDialog;
  FailNIL(progress);
  progress->OpenDialog();
  if (gProgressDialog) gProgressDialog->Dispose();
  gProgressDialog = progress;
}

void VLApplication::MakeToolPalette() {
  if (!gToolPaletteMaker) return;
  VLPaletteDirector* palette = gToolPaletteMaker(this);
  FailNIL(palette);
  toolPalette = palette;
}

void VLApplication::TearDown() {
  if (tornDown) return;
  tornDown = true;
  // Quitting may have closed the palette with the other directors already.
  if (toolPalette && OwnsDirector(toolPalette)) toolPalette->Dispose();
  toolPalette = nullptr;
  if (gDepthBuffer) {
    VLDepthBuffer* sorter = gDepthBuffer;
    gDepthBuffer = nullptr;
    sorter->ResetList();
    sorter->Dispose();
  }
  if (gProgressDialog) {
    CProgressDialog* progress = gProgressDialog;
    gProgressDialog = nullptr;
    progress->Dispose();
  }
  if (gClipboard) {
    CClipboard* clipboard = gClipboard;
    gClipboard = nullptr;
    clipboard->Dispose();
  }
}

void VLApplication::Quit() { TearDown(); }

void VLApplication::LoadCursors() {
  for (std::size_t i = 0; i < std::size(kCursorIds); ++i)
    gCursors[i] = reinterpret_cast<Handle>(PortGetCursor(kCursorIds[i]));
}

// --- Factories ------------------------------------------------------------------------------

void VLApplication::MakeDesktop() { CApplication::MakeDesktop(); }

void VLApplication::MakeClipboard() {
  auto* clipboard = new (std::nothrow) VLClipboard;
  FailNIL(clipboard);
  clipboard->IVLClipboard(this);
  gClipboard = clipboard;
}

void VLApplication::MakeDecorator() {
  auto* decorator = new (std::nothrow) VLDecorator;
  FailNIL(decorator);
  decorator->IVLDecorator();
  if (gDecorator && gDecorator != decorator) gDecorator->Dispose();
  gDecorator = decorator;
}

void VLApplication::MakeSwitchboard() {
  auto* board = new (std::nothrow) VLSwitchboard;
  FailNIL(board);
  board->IVLSwitchboard();
  SetSwitchboard(board);
  switchboard = board;
}

void VLApplication::MakeMenuManager() {
  auto* manager = new (std::nothrow) CMenuManager;
  FailNIL(manager);
  manager->IMenuManager(1);
  if (gMenuManager && gMenuManager != manager) gMenuManager->Dispose();
  gMenuManager = manager;
}

void VLApplication::SetUpFileParameters() {
  CApplication::SetUpFileParameters();
  sfFileTypes[0] = FourCC("TEXT");
  if (HasQuickDraw3D()) {
    sfNumTypes = 2;
    sfFileTypes[1] = FourCC("3DMF");
  } else {
    sfNumTypes = 1;
  }
  gApplicationSignature = FourCC("DOCC");
}

void VLApplication::SetUpMenus() {
  CApplication::SetUpMenus();
  if (!gMenuManager) return;
  // The menu bar, and the text tool's submenus at the top of the text menu.
  for (SInt16 menu : kMenuBar) gMenuManager->AddMenu(menu, 0);
  const SInt16 textSubmenus[] = {kFontMenu, kSizeMenu, kStyleMenu};
  for (SInt16 i = 0; i < SInt16(std::size(textSubmenus)); ++i)
    if (!gMenuManager->GetMenuByID(textSubmenus[i])) gMenuManager->AddSubmenu(textSubmenus[i], 0, kTextMenu, i);

  Str255 text;
  PortGetListString(text, kAppMenuStrings, 4);
  gMenuManager->AddCommandItem(cmdInformation, text, kAppleMenu, 0);
  PortGetListString(text, kAppMenuStrings, 2);
  gMenuManager->AddCommandItem(cmdAbout, text, kAppleMenu, 0);
  for (SInt16 menu : {SInt16(4), SInt16(5), SInt16(kViewsMenu)}) gMenuManager->SetUnCheckOption(menu, true);
  for (SInt16 menu : {SInt16(kTextMenu), SInt16(kStyleMenu), SInt16(kSizeMenu), SInt16(kFontMenu)}) {
    gMenuManager->SetDimOption(menu, 0);
    gMenuManager->SetUnCheckOption(menu, true);
  }
  AppendFontNames(kFontMenu);
}

void VLApplication::AppendFontNames(SInt16 menuId) {
  // Every font the drawing layer knows by name, sorted, each once.
  std::vector<std::string> names;
  for (SInt16 number = 0; number < kFontNumberLimit; ++number) {
    Str255 name;
    PortGetFontName(number, name);
    if (name.Length() > 0) names.push_back(name.Std());
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return PortCompareStrings(Str255(a), Str255(b)) < 0;
  });
  names.erase(std::unique(names.begin(), names.end()), names.end());
  for (const std::string& name : names)
    gMenuManager->AddCommandItem(0, Str255(name), menuId, gMenuManager->CountItems(menuId));
}

// --- Run ------------------------------------------------------------------------------------

void VLApplication::ProcessOneEvent() {
  CApplication::ProcessOneEvent();
  if (toolPalette && OwnsDirector(toolPalette)) toolPalette->EventStep();
}

void VLApplication::ReportFailure(std::exception_ptr failure) {
  CatchFailures(
      [&] {
        try {
          std::rethrow_exception(failure);
        } catch (CException& e) {
          ReportException(e);
        }
      },
      [this](std::exception_ptr other) { CApplication::ReportFailure(other); });
}

// --- Documents ------------------------------------------------------------------------------

void VLApplication::ShowStartupScreen() {
  Owned<VLStartupScreen> screen(new (std::nothrow) VLStartupScreen);
  if (!screen) return;
  // The program runs without its start-up screen when the screen cannot show it.
  const bool shown = CatchFailures(
      [&] {
        screen->IVLStartupScreen(this);
        screen->NewFile();
        screen->ShowStartup();
      },
      nullptr);
  if (shown) startupScreen = screen.release();
}

void VLApplication::DisposeStartupScreen() {
  if (!startupScreen) return;
  VLStartupScreen* screen = startupScreen;
  startupScreen = nullptr;
  screen->Dispose();
}

void VLApplication::WarnAboutQuickDraw3D() {
  // A library that is not there at all is missing rather than old.
  if (!QuickDraw3DLoaded()) {
    PortSetAlertTexts(nullptr, nullptr, nullptr, nullptr);
    PortAlertVariant(kNoQD3DAlert);
  } else if (!CheckQuickDraw3DVersion()) {
    PortSetAlertTexts(Str255("1.5.1"), nullptr, nullptr, nullptr);
    PortAlertVariant(kOldQD3DAlert);
  } else if (!HasQuickDraw3D()) {
    PortSetAlertTexts(nullptr, nullptr, nullptr, nullptr);
    PortAlertVariant(kNoQD3DAlert);
  }
}

void VLApplication::CreateDocument() {
  Owned<VLAbstractDocument> document(gNativeDocumentMaker ? gNativeDocumentMaker() : nullptr);
  FailNIL(document.get());
  ++untitledCount;
  ++untitledNumber;
  try {
    document->InitNewDocument(this, true, SInt16(untitledNumber));
    document->NewFile();
  } catch (SE_Exception& e) {
    document.reset();
    e.Report("VLApplication", 1192);
    return;
  }
  document.release();  // the application's director now
  if (startupScreen) {
    DisposeStartupScreen();
    WarnAboutQuickDraw3D();
  }
}

namespace {

// The alerts of a file that could not be opened name it: the error message, when the failure
// left none, becomes the file's name in quotes.
void NameFileInMessage(const SFReply& reply) {
  if (gErrorMessage.Length() > 0) return;
  gErrorMessage.Assign("\xD2");  // Mac Roman quotes
  PStrConcat(gErrorMessage, reply.fName);
  PStrConcat(gErrorMessage, Str255("\xD3"));
}

void ReportOpenFailure(const SFReply& reply, CException& failure) {
  NameFileInMessage(reply);
  ReportException(failure);
}

// The open document whose file the reply names, or null.
CDocument* OpenDocumentOfFile(const SFReply& reply) {
  std::string path;
  if (!gApplication || vlfiles::ResolvePath(reply.vRefNum, 0, reply.fName, &path) != noErr) return nullptr;
  for (long i = 1; i <= gApplication->CountDirectors(); ++i) {
    auto* document = dynamic_cast<CDocument*>(gApplication->GetDirector(i));
    FSSpec spec;
    if (!document || !document->GetFileSpec(&spec)) continue;
    std::error_code ec;
    if (std::filesystem::equivalent(vlfiles::PathFromSpec(spec), path, ec)) return document;
  }
  return nullptr;
}

}  // namespace

void VLApplication::OpenDocument(SFReply* reply) {
  if (!reply) return;
  // A file given at launch or dropped whose name no reply can hold is reported, named as far
  // as the reply goes.
  if (!reply->good) {
    try {
      ThrowIfOSErr(bdNamErr, kDEErrorErrorReadingFile);
    } catch (CException& e) {
      ReportOpenFailure(*reply, e);
    }
    return;
  }
  // A file that is open already is not opened twice: its window comes to the front.
  if (CDocument* open = OpenDocumentOfFile(*reply)) {
    if (startupScreen) DisposeStartupScreen();
    if (CWindow* window = open->GetWindow()) window->Select();
    return;
  }
  OSType type = reply->fType;
  VLAbstractDocument* document = nullptr;
  if (type == FourCC("TEXT")) {
    Boolean wasShown = startupScreen != nullptr;
    if (wasShown) DisposeStartupScreen();
    document = gNativeDocumentMaker ? gNativeDocumentMaker() : nullptr;
    if (wasShown) WarnAboutQuickDraw3D();
    FailNIL(document);
  } else if (type == FourCC("3DMF") || type == FourCC("3DTX")) {
    if (startupScreen) DisposeStartupScreen();
    if (QuickDraw3DLoaded() && !CheckQuickDraw3DVersion()) {
      PortSetAlertTexts(Str255("1.5.1"), nullptr, nullptr, nullptr);
      PortAlertVariant(kOldQD3DFor3DMFAlert);
      return;
    }
    if (!HasQuickDraw3D() || !gSceneDocumentMaker) {
      PortSetAlertTexts(nullptr, nullptr, nullptr, nullptr);
      PortAlertVariant(kNoQD3DFor3DMFAlert);
      return;
    }
    document = gSceneDocumentMaker();
    FailNIL(document);
  } else if (type == FourCC("PICT")) {
    CreateDocument();
    ThrowError(kDEErrorNotAValidVelmoraFile, Str255("VLApplication::OpenDocument"));
  } else {
    // Nothing opens a file of any other type (nor a folder): it is not a Velmora file.
    ThrowError(kDEErrorNotAValidVelmoraFile, Str255("VLApplication::OpenDocument"));
  }

  gLastError = noErr;
  Owned<VLAbstractDocument> opening(document);
  CatchFailures(
      [&] {
        if (type == FourCC("TEXT")) document->InitNewDocument(this, true, 0);
        document->OpenFile(reply);
        opening.release();  // the application's director now
      },
      [&](std::exception_ptr failure) {
        opening.reset();
        // Running out of memory has its own alert; any other failure is reported, so that a file
        // that could not be opened never goes unnoticed.
        try {
          std::rethrow_exception(failure);
        } catch (CException& e) {
          if (gLastError == memFullErr || e.GetError() == memFullErr)
            PortShowAlert(kOutOfMemoryAlert);
          else
            ReportOpenFailure(*reply, e);
        } catch (const std::bad_alloc&) {
          PortShowAlert(kOutOfMemoryAlert);
        } catch (...) {
          CApplication::ReportFailure(failure);
        }
      });
}

void VLApplication::OpenDocuments(const std::vector<SFReply>& files) {
  openedByCommand = false;
  CApplication::OpenDocuments(files);
}

void VLApplication::EndNesting() {
  if (untitledCount > 0) --untitledCount;
  if (untitledCount == 0) untitledNumber = 0;
}

Boolean VLApplication::HasQuickDraw3D() const { return quickDraw3DEnabled && QuickDraw3DLoaded(); }

Boolean VLApplication::CheckQuickDraw3DVersion() const {
  UInt32 release = 0;
  return QuickDraw3DRelease(&release) && release >= kQD3DRequiredRelease;
}

Boolean VLApplication::ConfirmWithAlert(ConstStringPtr text, Boolean force) {
  if (!force && !openedByCommand) return true;
  PortSetAlertTexts(text, nullptr, nullptr, nullptr);
  return PortAskAlert(kConfirmAlert) == 1;
}

SInt16 VLApplication::FindLengthFormat(const Format& format) const {
  for (SInt16 i = 0; i < kLengthFormatCount; ++i)
    if (lengthFormats[i] == format) return i;
  return SInt16(kLengthFormatCount);
}

SInt16 VLApplication::FindAngleFormat(const Format& format) const {
  for (SInt16 i = 0; i < kAngleFormatCount; ++i)
    if (angleFormats[i] == format) return i;
  return SInt16(kAngleFormatCount);
}

// --- Commands and menus ---------------------------------------------------------------------

void VLApplication::DoCommand(long command) {
  if (command < 0) {
    long code = -command;
    auto menu = SInt16(code >> 16);
    auto item = SInt16(code & 0xFFFF);
    Str255 text;
    if (gMenuManager) gMenuManager->GetCommandText(command, text);
    switch (menu) {
      case kSizeMenu:
        textSizeIndex = SInt16(item + 7);
        return;
      case kStyleMenu:
        if (item == 1)
          textStyle = 0;
        else if (item > 1 && item <= 17)
          textStyle ^= UInt16(1u << (item - 2));
        return;
      case kFontMenu:
        textFontItem = item;
        PortFontNumber(text, &textFontNumber);
        return;
      default:
        CApplication::DoCommand(command);
        return;
    }
  }
  if (command >= cmdSizeFirst && command <= cmdSizeLast) {
    textSizeIndex = SInt16(command - cmdSizeFirst);
  } else if (command >= cmdPlain && command <= cmdStyleLast) {
    if (command == cmdPlain)
      textStyle = 0;
    else
      textStyle ^= UInt16(command - cmdPlain);
  } else if (command >= cmdWindowFirst && command <= cmdWindowLast) {
    Str255 text;
    if (gMenuManager && gMenuManager->GetCommandText(command, text)) SelectWindowTitled(text);
  } else if (command == cmdInformation) {
    PortAlert(kInformationAlert);
  } else if (command >= cmdJustifyFirst && command <= cmdJustifyLast) {
    textJustification = SInt16(command - cmdJustifyFirst);
  } else if (command == cmdAbout) {
    ShowAboutBox();
  } else if (command == cmdOpen) {
    openedByCommand = true;
    CApplication::DoCommand(command);
  } else {
    CApplication::DoCommand(command);
  }
}

void VLApplication::UpdateMenus() {
  CApplication::UpdateMenus();
  if (!gMenuManager) return;
  // The application's own items at the top of menu 1 can always be chosen.
  gMenuManager->EnableCommand(cmdAbout);
  gMenuManager->EnableCommand(cmdInformation);
  if (textStyle == 0) {
    gMenuManager->CheckCommand(cmdPlain, true);
  } else {
    for (UInt16 bit : {1, 2, 4, 8, 16})
      if (textStyle & bit) gMenuManager->CheckCommand(cmdPlain + bit, true);
  }
  if (textFontItem != 0) gMenuManager->CheckCommand(gMenuManager->FindCommand(kFontMenu, textFontItem), true);
  if (textSizeIndex != 0) gMenuManager->CheckCommand(cmdSizeFirst + textSizeIndex, true);
  gMenuManager->CheckCommand(cmdJustifyFirst + textJustification, true);
  UpdateWindowMenu();
}

void StripWindowTitle(StringPtr title) {
  int length = title[0];
  int from = 1;
  if (from <= length && title[from] == 19) ++from;
  while (from <= length && title[from] == ' ') ++from;
  int kept = length - from + 1;
  for (int i = 0; i < kept; ++i) title[1 + i] = title[from + i];
  title[0] = static_cast<unsigned char>(kept);
}

namespace {

struct ListedWindow {
  CWindow* window;
  Str255 title;
};

// The desktop's windows, front to back, but the clipboard's.
std::vector<ListedWindow> ProgramWindows() {
  std::vector<ListedWindow> windows;
  if (!gDesktop) return windows;
  for (CWindow* window : gDesktop->GetWindows()) {
    if (gClipboard && window->GetDirector() == gClipboard) continue;
    ListedWindow entry{window, {}};
    window->GetTitle(entry.title);
    StripWindowTitle(entry.title);
    windows.push_back(entry);
  }
  return windows;
}

}  // namespace

void VLApplication::UpdateWindowMenu() {
  for (SInt16 count = gMenuManager->CountItems(kWindowsMenu); count > gWindowsMenuItemCount; --count)
    gMenuManager->RemoveCommandItem(gMenuManager->FindCommand(kWindowsMenu, count));
  Str255 text;
  PortGetListString(text, kViewStrings, 4);
  gMenuManager->SetCommandText(cmdSceneWindow, text);

  std::vector<ListedWindow> windows = ProgramWindows();
  std::stable_sort(windows.begin(), windows.end(), [](const ListedWindow& a, const ListedWindow& b) {
    return PortCompareStrings(a.title, b.title) < 0;
  });
  CWindow* active = gDesktop ? gDesktop->GetActiveWindow() : nullptr;
  long command = cmdWindowBase;
  for (const ListedWindow& entry : windows) {
    ++command;
    gMenuManager->AddCommandItem(command, entry.title, kWindowsMenu, gMenuManager->CountItems(kWindowsMenu));
    gMenuManager->EnableCommand(command);
    if (entry.window == active) gMenuManager->CheckCommand(command, true);
  }
}

Boolean VLApplication::SelectWindowTitled(ConstStringPtr title) {
  for (const ListedWindow& entry : ProgramWindows()) {
    if (!PStrEqual(entry.title, title)) continue;
    if (entry.window != gDesktop->GetActiveWindow()) entry.window->Select();
    return true;
  }
  return false;
}

void VLApplication::ShowAboutBox() {
  Owned<VLAboutBox> box(new (std::nothrow) VLAboutBox);
  if (!box) return;
  box->IVLAboutBox(this);
  box->NewFile();
  box->ShowAbout();
}
