// Scripts driving a small program on the virtual screen: windows, menus, dialogs, file and colour
// dialogs, the clipboard and mouse tracking, as a user would through the headless backend.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AlertSink.h"
#include "CApplication.h"
#include "ColorPicker.h"
#include "Dialogs.h"
#include "Memory.h"
#include "Menus.h"
#include "PString.h"
#include "Resources.h"
#include "Screen.h"
#include "StandardFile.h"
#include "GoldenTest.h"
#include "TempFolder.h"
#include "Windows.h"
#include "headless/HeadlessBackend.h"

namespace {

// Menus: File 128, Edit 129, Test 130 with the submenu More 131.
struct MenuSpec {
  const char* text;
  char key;
  long command;
  bool enabled = true;
  SInt16 submenu = 0;
};

MenuHandle MakeMenu(SInt16 id, const char* title, std::vector<MenuSpec> items, bool inBar = true) {
  MenuHandle m = PortNewMenu(id, Str255(title));
  for (const MenuSpec& s : items) {
    PortAppendMenu(m, Str255(s.text));
    SInt16 i = PortCountMenuItems(m);
    PortSetItemCmd(m, i, UInt8(s.key));
    PortSetMenuItemCommandID(m, i, s.command);
    PortSetMenuItemHierarchicalID(m, i, s.submenu);
    if (!s.enabled) PortDisableMenuItem(m, i);
  }
  PortInsertMenu(m, inBar ? 0 : kInsertHierarchicalMenu);
  return m;
}

// The program: its events and what it did are written down in order.
class ScreenApp : public CApplication {
 public:
  static inline std::vector<std::string> log;
  std::vector<MenuHandle> menus;
  int untitled = 0;

  void SetUpMenus() override {
    menus.push_back(MakeMenu(128, "File", {{"New", 'N', 2}, {"Open\xC9", 'O', 3}, {"Close", 'W', 4}, {"-", 0, 0, false},
                                           {"Quit", 'Q', 1}}));
    menus.push_back(MakeMenu(129, "Edit", {{"Undo", 'Z', 16}, {"-", 0, 0, false}, {"Cut", 'X', 18}, {"Copy", 'C', 19},
                                           {"Paste", 'V', 20}}));
    menus.push_back(MakeMenu(130, "Test", {{"Name\xC9", 'K', 500}, {"Colour\xC9", 0, 501}, {"Save As\xC9", 'S', 502},
                                           {"Disabled item", 0, 503, false}, {"More", 0, 0, true, 131}}));
    menus.push_back(MakeMenu(131, "More", {{"Deep", 0, 504}}, false));
    PortDrawMenuBar();
  }
  void CreateDocument() override {}
  ~ScreenApp() override {
    while (WindowPtr w = PortFrontWindow()) PortDisposeWindow(w);
    for (MenuHandle m : menus) PortDisposeMenu(m);
  }

  std::string Title(WindowPtr w) { return vlui::WindowTitleUtf8(w); }

  void Command(long command) {
    vlui::NoteCommand(command);
    log.push_back("command " + std::to_string(command));
    switch (command) {
      case 2: {
        ++untitled;
        Rect r{SInt16(60 + 20 * untitled), SInt16(40 + 20 * untitled), SInt16(260 + 20 * untitled),
               SInt16(340 + 20 * untitled)};
        std::string title = "Untitled " + std::to_string(untitled);
        PortNewWindow(nullptr, &r, Str255(title.c_str()), true, zoomDocProc, kFirstWindowOfClass, true, 0);
        break;
      }
      case 3: {
        StandardFileReply reply;
        PortStandardGetFile(nullptr, 0, nullptr, &reply);
        log.push_back(reply.sfGood ? "open " + PStrToStd(reply.sfFile.name) : "open cancelled");
        break;
      }
      case 4:
        if (WindowPtr w = PortFrontNonFloatingWindow()) PortDisposeWindow(w);
        break;
      case 500: NameDialog(); break;
      case 501: {
        RGBColor in{0, 0, 65535}, out;
        if (PortGetColor(Point{}, Str255("Pick"), &in, &out))
          log.push_back("colour " + std::to_string(out.red >> 8) + " " + std::to_string(out.green >> 8) + " " +
                        std::to_string(out.blue >> 8));
        else
          log.push_back("colour cancelled");
        break;
      }
      case 502: {
        StandardFileReply reply;
        PortStandardPutFile(Str255("Save as:"), Str255("Plan.vl"), &reply);
        log.push_back(reply.sfGood ? "save " + PStrToStd(reply.sfFile.name) : "save cancelled");
        break;
      }
      case 1: RequestQuit(); break;
      default: break;
    }
  }

  void NameDialog() {
    std::vector<unsigned char> items = DialogItems();
    Handle h = PortHandleFromBytes(items.data(), Size(items.size()));
    Rect bounds{100, 100, 220, 400};
    DialogPtr d = PortNewDialogWithItems(nullptr, &bounds, Str255("Name"), true, movableDBoxProc, kFirstWindowOfClass,
                                         false, 0, h);
    PortFreeHandle(h);
    SInt16 hit = 0;
    do {
      PortModalDialog(nullptr, &hit);
    } while (hit != 1 && hit != 2);
    log.push_back("dialog " + std::to_string(hit) + " " + vlui::DialogItemTextUtf8(d, 4) + "|" +
                  vlui::DialogItemTextUtf8(d, 5));
    PortDisposeDialog(d);
  }

  static void Put16(std::vector<unsigned char>* b, int v) {
    b->push_back((unsigned char)((v >> 8) & 0xFF));
    b->push_back((unsigned char)(v & 0xFF));
  }

  static std::vector<unsigned char> DialogItems() {
    struct Item {
      Rect r;
      unsigned char kind;
      std::string text;
    };
    std::vector<Item> items = {{{85, 210, 105, 280}, 4, "OK"},
                               {{85, 120, 105, 190}, 4, "Cancel"},
                               {{12, 12, 28, 80}, 8 | 128, "Name:"},
                               {{12, 90, 28, 280}, 16, ""},
                               {{44, 90, 60, 280}, 16, "second"}};
    std::vector<unsigned char> b;
    Put16(&b, int(items.size()) - 1);
    for (const Item& i : items) {
      for (int k = 0; k < 4; ++k) b.push_back(0);
      for (int v : {i.r.top, i.r.left, i.r.bottom, i.r.right}) Put16(&b, v);
      b.push_back(i.kind);
      b.push_back((unsigned char)i.text.size());
      b.insert(b.end(), i.text.begin(), i.text.end());
      if (i.text.size() % 2) b.push_back(0);
    }
    return b;
  }

  // A tracking loop as a mouse task runs it: the start, each new position, the end.
  void Track(WindowPtr w, Point start) {
    PortSetPort(w);
    Point p = start;
    PortGlobalToLocal(&p);
    log.push_back("begin " + std::to_string(p.h) + " " + std::to_string(p.v));
    Point last = p;
    while (PortStillDown()) {
      Point now;
      PortGetMouse(&now);
      if (now == last) continue;
      last = now;
      log.push_back("keep " + std::to_string(now.h) + " " + std::to_string(now.v));
    }
    log.push_back("end " + std::to_string(last.h) + " " + std::to_string(last.v));
  }

  void LogPlace(WindowPtr w) {
    Rect r;
    PortGetWindowContentRect(w, &r);
    log.push_back("at " + std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
                  std::to_string(r.bottom));
  }

  void DispatchEvent(EventRecord* e) override {
    switch (e->what) {
      case mouseDown: {
        WindowPtr w = nullptr;
        SInt16 part = PortFindWindow(e->where, &w);
        switch (part) {
          case inMenuBar: {
            UpdateAllMenus();
            SInt32 choice = PortMenuSelect(e->where);
            if (choice) {
              MenuHandle m = PortGetMenuHandle(SInt16(choice >> 16));
              Command(PortGetMenuItemCommandID(m, SInt16(choice & 0xFFFF)));
            }
            PortHighlightMenu(0);
            break;
          }
          case inDrag:
            PortDragWindow(w, e->where, nullptr);
            LogPlace(w);
            break;
          case inGrow: {
            SInt32 size = PortGrowWindow(w, e->where, nullptr);
            if (size) PortSizeWindow(w, SInt16(size & 0xFFFF), SInt16(size >> 16), true);
            LogPlace(w);
            break;
          }
          case inGoAway:
            if (PortTrackGoAway(w, e->where)) {
              log.push_back("closed " + Title(w));
              PortDisposeWindow(w);
            }
            break;
          case inZoomIn:
          case inZoomOut:
            if (PortTrackBox(w, e->where, part)) PortZoomWindow(w, part, true);
            LogPlace(w);
            break;
          case inContent:
            if (w != PortActiveWindow()) PortSelectWindow(w);
            else Track(w, e->where);
            break;
          default: break;
        }
        break;
      }
      case updateEvt: {
        WindowPtr w = PortEventWindow(e);
        log.push_back("update " + Title(w));
        PortBeginUpdate(w);
        PortSetPort(w);
        PortEraseRect(&w->portRect);
        PortDrawGrowIcon(w);
        PortEndUpdate(w);
        break;
      }
      case activateEvt:
        log.push_back(std::string(e->modifiers & activeFlag ? "activate " : "deactivate ") + Title(PortEventWindow(e)));
        break;
      case keyDown:
        if (e->modifiers & cmdKey) {
          SInt32 choice = PortMenuKey(UInt8(e->message & charCodeMask));
          if (choice) {
            MenuHandle m = PortGetMenuHandle(SInt16(choice >> 16));
            Command(PortGetMenuItemCommandID(m, SInt16(choice & 0xFFFF)));
          }
          PortHighlightMenu(0);
        }
        break;
      case commandEvt: Command(long(SInt32(e->message))); break;
      default: CApplication::DispatchEvent(e); break;
    }
  }
};

class ScreenScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::ResetResourceChain();
    ScreenApp::log.clear();
    log = std::tmpfile();
  }
  void TearDown() override {
    std::fclose(log);
    vlalert::ClearLog();
  }
  int Run(const std::string& text) {
    std::filesystem::path path = folder / "script.vls";
    std::ofstream(path) << text;
    return vlheadless::RunScript(path.string(), [] {
      auto* app = new ScreenApp;
      app->IApplication(150, 45000, 40000, 20000);
      return app;
    }, log);
  }
  std::string Messages() {
    std::rewind(log);
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, log)) text += buffer;
    return text;
  }
  // The entries of the log that start with one of the prefixes, in order.
  static std::vector<std::string> Only(std::initializer_list<const char*> prefixes) {
    std::vector<std::string> out;
    for (const std::string& s : ScreenApp::log)
      for (const char* p : prefixes)
        if (s.rfind(p, 0) == 0) out.push_back(s);
    return out;
  }
  vltest::TempFolder temp;
  std::filesystem::path folder = temp.Root();
  std::FILE* log = nullptr;
};

// Window 1 opens with its content from (60, 80) to (360, 280) (h, v); its title bar runs from
// v 60 to 78 with the close box at h 67-77, v 64-74 and the zoom box at h 342-352; the grow box
// is the content's bottom-right 15 by 15 pixels.
TEST_F(ScreenScriptTest, AWindowIsDraggedGrownAndClosedWithTheMouse) {
  EXPECT_EQ(Run("command 2\n"
                "expect window \"Untitled 1\"\n"
                "drag 200 70 to 300 120 steps 10\n"   // by its title bar: content now (160, 130)
                "drag 455 325 to 505 355 steps 5\n"   // by its grow box: 50 wider, 30 taller
                "command 2\n"
                "expect front \"Untitled 2\"\n"
                "click 450 340\n"                     // a part of window 1 that window 2 leaves free
                "expect front \"Untitled 1\"\n"
                "click 171 118\n"                     // its close box
                "expect no window \"Untitled 1\"\n"
                "expect front \"Untitled 2\"\n"),
            vlheadless::kStatusOk)
      << Messages();
  std::vector<std::string> want = {"command 2",
                                   "activate Untitled 1",
                                   "update Untitled 1",
                                   "at 160 130 460 330",
                                   "update Untitled 1",
                                   "at 160 130 510 360",
                                   "update Untitled 1",
                                   "command 2",
                                   "deactivate Untitled 1",
                                   "activate Untitled 2",
                                   "update Untitled 2",
                                   "deactivate Untitled 2",
                                   "activate Untitled 1",
                                   "update Untitled 1",
                                   "closed Untitled 1",
                                   "activate Untitled 2",
                                   "update Untitled 2",
                                   "command 1"};
  EXPECT_EQ(Only({"command", "activate", "deactivate", "update", "closed", "at"}), want);
}

TEST_F(ScreenScriptTest, TheZoomBoxTogglesBetweenTheClientAreaAndTheUsersSize) {
  EXPECT_EQ(Run("command 2\n"
                "click 347 69\n"
                "snapshot " + (folder / "zoomed.png").string() + "\n"
                "click 1011 28\n"  // the zoom box of the zoomed window, at the top right
                "drag 200 70 to 200 5 steps 2\n"),  // dragged up into the menu bar: stops below it
            vlheadless::kStatusOk)
      << Messages();
  EXPECT_EQ(Only({"at"}), (std::vector<std::string>{"at 4 44 1020 764", "at 60 80 360 280", "at 60 41 360 241"}));
  // The snapshot holds the zoomed window as the screen showed it.
  vlui::Picture zoomed;
  std::string error;
  ASSERT_TRUE(vlui::ReadPngPicture((folder / "zoomed.png").string(), &zoomed, &error)) << error;
  EXPECT_TRUE(vltest::PictureMatches(zoomed, VL_GOLDEN("zoomed.png")));
}

TEST_F(ScreenScriptTest, MenusAreChosenWithTheMouseAndWithKeyEquivalents) {
  EXPECT_EQ(Run("menu \"File\" \"New\"\n"
                "expect command 2\n"
                "expect window \"Untitled 1\"\n"
                "key n cmd\n"
                "expect command 2\n"
                "expect window \"Untitled 2\"\n"
                "menu \"Test\" \"More\" \"Deep\"\n"
                "expect command 504\n"
                "menu \"Test\" \"Disabled item\"\n"
                "key w cmd\n"
                "expect no window \"Untitled 2\"\n"),
            vlheadless::kStatusOk)
      << Messages();
  EXPECT_EQ(Only({"command"}),
            (std::vector<std::string>{"command 2", "command 2", "command 504", "command 4", "command 1"}));
}

TEST_F(ScreenScriptTest, MenuLinesNamingWhatIsNotThereFailTheRun) {
  EXPECT_EQ(Run("menu \"Nothing\" \"New\"\nmenu \"File\" \"Nothing\"\nexpect command 2\n"),
            vlheadless::kStatusExpectFailed);
  std::string text = Messages();
  EXPECT_NE(text.find(":1: the menu bar has no menu \"Nothing\""), std::string::npos) << text;
  EXPECT_NE(text.find(":2: no open menu has the item \"Nothing\""), std::string::npos) << text;
  EXPECT_NE(text.find(":3: expected command 2, but it was not given"), std::string::npos) << text;
  EXPECT_EQ(Only({"command"}), (std::vector<std::string>{"command 1"}));
}

TEST_F(ScreenScriptTest, ADialogIsUsedWithTheKeyboardAlone) {
  EXPECT_EQ(Run("key k cmd\n"
                "expect item 4 \"\"\n"
                "type Plan A\n"
                "key tab\n"             // to the second field, selecting all of it
                "type x\n"
                "key tab shift\n"       // back to the first
                "key right\n"
                "type !\n"
                "expect item 4 \"Plan A!\"\n"
                "key return\n"          // the default button
                "key k cmd\n"
                "type gone\n"
                "key escape\n"          // the cancel button
                "key k cmd\n"
                "click item 1\n"),
            vlheadless::kStatusOk)
      << Messages();
  EXPECT_EQ(Only({"dialog"}), (std::vector<std::string>{"dialog 1 Plan A!|x", "dialog 2 gone|second", "dialog 1 |second"}));
}

TEST_F(ScreenScriptTest, ClipboardTextIsPastedAndCopiedInDialogs) {
  EXPECT_EQ(Run("clipboard from outside\n"
                "key k cmd\n"
                "key v cmd\n"
                "key a cmd\n"
                "key c cmd\n"
                "key return\n"
                "expect clipboard \"from outside\"\n"),
            vlheadless::kStatusOk)
      << Messages();
  EXPECT_EQ(Only({"dialog"}), (std::vector<std::string>{"dialog 1 from outside|second"}));
}

TEST_F(ScreenScriptTest, BeepsAreCountedBetweenExpectations) {
  EXPECT_EQ(Run("expect beeps 0\n"
                "click 1000 700\n"  // on the desktop: nothing
                "key k cmd\n"
                "click 1000 700\n"
                "expect beeps 1\n"
                "expect beeps 0\n"
                "key escape\n"),
            vlheadless::kStatusOk)
      << Messages();
  EXPECT_EQ(Run("click 1000 700\nexpect beeps 1\n"), vlheadless::kStatusExpectFailed);
  EXPECT_NE(Messages().find("expected 1 beeps, but there were 0"), std::string::npos) << Messages();
}

TEST_F(ScreenScriptTest, FileAndColourDialogsTakeTheScriptsAnswers) {
  std::string out = (folder / "out.vl").string();
  EXPECT_EQ(Run("answer putfile " + out + "\n"
                "command 502\n"
                "cancel\n"
                "command 502\n"
                "answer color 255 128 0\n"
                "command 501\n"
                "command 501\n"    // no answer waits: cancelled
                "answer getfile " + out + "\n"
                "command 3\n"),
            vlheadless::kStatusOk)
      << Messages();
  EXPECT_EQ(Only({"save", "colour", "open"}), (std::vector<std::string>{"save out.vl", "save cancelled",
                                                                         "colour 255 128 0", "colour cancelled",
                                                                         "open out.vl"}));
  std::vector<std::string> kinds;
  for (const auto& r : vlalert::Log()) kinds.push_back(r.kind + " " + std::to_string(r.answer));
  EXPECT_EQ(kinds, (std::vector<std::string>{"putfile 1", "putfile 0", "color 1", "color 0", "getfile 1"}));
}

TEST_F(ScreenScriptTest, ATrackedDragSeesEveryScriptedPositionAndEndsOnRelease) {
  // Window 1's content starts at (60, 80): global (100, 90) is local (40, 10).
  EXPECT_EQ(Run("command 2\n"
                "drag 100 90 to 200 140 steps 10\n"),
            vlheadless::kStatusOk)
      << Messages();
  std::vector<std::string> want = {"begin 40 10"};
  for (int i = 1; i <= 10; ++i) want.push_back("keep " + std::to_string(40 + 10 * i) + " " + std::to_string(10 + 5 * i));
  want.push_back("end 140 60");
  EXPECT_EQ(Only({"begin", "keep", "end"}), want);
}

TEST_F(ScreenScriptTest, AProgramWaitingForAClickGetsTheNextLine) {
  // The about-box pattern: wait for the button, then throw the click away.
  struct WaitingApp : ScreenApp {
    void CreateDocument() override {
      while (!PortButton()) {
      }
      log.push_back("pressed");
      PortFlushEvents(everyEvent, 0);
    }
  };
  std::filesystem::path path = folder / "wait.vls";
  std::ofstream(path) << "click 500 500\ncommand 2\nexpect window \"Untitled 1\"\n";
  int status = vlheadless::RunScript(path.string(), [] {
    auto* app = new WaitingApp;
    app->IApplication(150, 45000, 40000, 20000);
    return app;
  }, log);
  EXPECT_EQ(status, vlheadless::kStatusOk) << Messages();
  EXPECT_EQ(Only({"pressed", "command"}), (std::vector<std::string>{"pressed", "command 2", "command 1"}));
}

}  // namespace
