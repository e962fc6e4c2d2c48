#include "HeadlessBackend.h"

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>

#include "Alerts.h"
#include "CApplication.h"
#include "Commands.h"
#include "Cursors.h"
#include "Dialogs.h"
#include "Golden.h"
#include "Menus.h"
#include "PString.h"
#include "Screen.h"
#include "Ticks.h"
#include "Windows.h"

namespace vlheadless {

namespace {

Point Center(const Rect& r) { return Point{SInt16((r.top + r.bottom) / 2), SInt16((r.left + r.right) / 2)}; }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

HeadlessBackend::HeadlessBackend(Script s, std::FILE* logStream) : script(std::move(s)), log(logStream) {}

HeadlessBackend::~HeadlessBackend() { Uninstall(); }

void HeadlessBackend::Install() {
  if (installed) return;
  vlclock::UseVirtualClock(true);
  vlalert::ClearLog();
  vlui::ResetEvents();
  vlui::ClearCommandLog();
  beepsSeen = vlui::BeepCount();
  if (!vlui::ScreenReady()) {
    vlui::InitScreen();
    madeScreen = true;
  }
  vlui::SetInteractive(false);
  previousSource = vlui::SetEventSource(this);
  previousAnswerer = vlalert::SetAnswerer([this](const vlalert::Record& r) { return Answer(r); });
  previousStandard = vlui::SetStandardDialogAnswerer(
      [this](const vlui::StandardDialogRequest& q, vlui::StandardDialogAnswer* a) { return AnswerStandard(q, a); });
  previousClipboard = vlui::SetClipboardHost(this);
  installed = true;
  // Answers at the top of the script wait for alerts and dialogs the program shows while it starts.
  while (next < script.lines.size() && IsAnswerLine(script.lines[next])) answers.push_back(script.lines[next++]);
}

void HeadlessBackend::Uninstall() {
  if (!installed) return;
  vlui::SetEventSource(previousSource);
  vlalert::SetAnswerer(std::move(previousAnswerer));
  vlui::SetStandardDialogAnswerer(std::move(previousStandard));
  vlui::SetClipboardHost(previousClipboard);
  if (madeScreen) vlui::ShutdownScreen();
  madeScreen = false;
  installed = false;
}

void HeadlessBackend::Refill() {
  polls = 0;
  idlePolls = 0;
  // A click or drag the program did not poll to its end ends now.
  if (FinishMotion()) return;
  vlui::SetModifiers(0);  // the keys of the previous line are no longer held
  if (!typing.empty()) {
    PostTyping();
    return;
  }
  if (quitPosted) GiveUp("the program did not quit at the end of the script");
  while (next < script.lines.size()) {
    const ScriptLine& line = script.lines[next++];
    if (Perform(line)) return;
  }
  quitPosted = true;
  vlui::PostCommand(cmdQuit);
}

void HeadlessBackend::PollFor(vlui::PollKind kind) {
  vlclock::Advance(1);
  if (++polls > kPollLimit) GiveUp("the program waits for input the script does not give");
  if (kind == vlui::PollKind::kMouse) return;
  if (!motion.empty()) {
    StepMotion();
    idlePolls = 0;
    return;
  }
  // Events still queued hold back the next line only for a program that looks at the queue; one
  // that waits for the button (an about box after its menu's mouse-up) is waiting for input.
  if (kind == vlui::PollKind::kEvents && vlui::PendingEventCount() > 0) {
    idlePolls = 0;
    return;
  }
  if (++idlePolls >= kPollGrace) {
    idlePolls = 0;
    TakeFromPoll();
  }
}

void HeadlessBackend::TakeFromPoll() {
  if (!typing.empty()) {
    PostTyping();
    return;
  }
  while (next < script.lines.size()) {
    const ScriptLine& line = script.lines[next];
    bool passive = IsAnswerLine(line) || line.kind == ScriptLine::kWait || line.kind == ScriptLine::kClipboard ||
                   line.kind == ScriptLine::kResize;
    if (!passive && !IsInputLine(line)) return;  // expectations and snapshots wait for the next event request
    ++next;
    if (line.kind == ScriptLine::kWait) {
      vlclock::Advance(line.ticks);
      continue;
    }
    Perform(line);
    if (!passive) return;
  }
}

void HeadlessBackend::Press(Point where, UInt16 modifiers) {
  vlui::SetMouse(where);
  vlui::NoteMouseMoved();
  vlui::SetModifiers(modifiers);
  vlui::SetButton(true);
  vlui::PostEvent(mouseDown, 0, modifiers);
}

bool HeadlessBackend::Perform(const ScriptLine& line) {
  switch (line.kind) {
    case ScriptLine::kAnswerAlert:
    case ScriptLine::kAnswerFile:
    case ScriptLine::kAnswerColor:
    case ScriptLine::kCancel:
      answers.push_back(line);
      return false;
    case ScriptLine::kExpectAlert:
    case ScriptLine::kExpectDialog:
    case ScriptLine::kExpectCommand:
    case ScriptLine::kExpectWindow:
    case ScriptLine::kExpectNoWindow:
    case ScriptLine::kExpectFront:
    case ScriptLine::kExpectItem:
    case ScriptLine::kExpectClipboard:
    case ScriptLine::kExpectBeeps:
    case ScriptLine::kExpectSameFiles:
      Check(line);
      return false;
    case ScriptLine::kWait:
      vlclock::Advance(line.ticks);
      return true;
    case ScriptLine::kCommand:
      vlui::PostCommand(line.command);
      return true;
    case ScriptLine::kKey:
      vlui::SetModifiers(line.modifiers);
      vlui::PostEvent(keyDown, PortKeyMessage(line.key), line.modifiers);
      vlui::PostEvent(keyUp, PortKeyMessage(line.key), line.modifiers);
      return true;
    case ScriptLine::kType: {
      std::string mac = Utf8ToMacRoman(line.text);
      for (char c : mac) typing.push_back(static_cast<unsigned char>(c));
      PostTyping();
      return true;
    }
    case ScriptLine::kMove:
      vlui::SetMouse(line.from);
      vlui::NoteMouseMoved();
      return true;
    case ScriptLine::kClick:
      Press(line.from, line.modifiers);
      vlui::PostEvent(mouseUp, 0, line.modifiers);
      // A double click: both presses are queued at once, as a program waiting for the second
      // press of a double click looks at the queue.
      if (line.steps == 2) {
        vlui::PostEvent(mouseDown, 0, line.modifiers);
        vlui::PostEvent(mouseUp, 0, line.modifiers);
      }
      motion.push_back(Step{Step::kRelease, line.from, {}, false, line.line});
      return true;
    case ScriptLine::kClickItem:
    case ScriptLine::kChooseItem: {
      vlui::SetModifiers(0);
      DialogPtr dialog = vlui::FrontDialog();
      Rect r;
      if (!dialog || !vlui::DialogItemGlobalRect(dialog, line.item, &r)) {
        Fail(line.line, dialog ? "the front dialog has no item " + std::to_string(line.item) : "no dialog is shown");
        return false;
      }
      Point p = Center(r);
      if (line.itemPart != 0) p.v = SInt16(line.itemPart < 0 ? r.top + (r.bottom - r.top) / 4 : r.bottom - 1 - (r.bottom - r.top) / 4);
      if (line.kind == ScriptLine::kChooseItem) {
        // Held on the item while its menu is open, let go on the entry.
        Press(p, 0);
        motion.push_back(Step{Step::kMenuItem, p, line.names[0], true, line.line});
        motion.push_back(Step{Step::kRelease, p, {}, true, line.line});
        return true;
      }
      Press(p, line.modifiers);
      vlui::PostEvent(mouseUp, 0, line.modifiers);
      motion.push_back(Step{Step::kRelease, p, {}, false, line.line});
      return true;
    }
    case ScriptLine::kDrag: {
      Press(line.from, line.modifiers);
      for (int i = 1; i <= line.steps; ++i) {
        Point p{SInt16(line.from.v + (long(line.to.v) - line.from.v) * i / line.steps),
                SInt16(line.from.h + (long(line.to.h) - line.from.h) * i / line.steps)};
        motion.push_back(Step{Step::kMoveTo, p, {}, true, line.line});
      }
      motion.push_back(Step{Step::kRelease, line.to, {}, true, line.line});
      return true;
    }
    case ScriptLine::kMenu: {
      SInt16 menu = vlui::FindMenuByTitle(line.names[0]);
      Rect title;
      if (!menu || !vlui::MenuTitleRect(menu, &title)) {
        Fail(line.line, "the menu bar has no menu " + Quoted(line.names[0]));
        return false;
      }
      Point p = Center(title);
      Press(p, 0);
      for (std::size_t i = 1; i < line.names.size(); ++i)
        motion.push_back(Step{Step::kMenuItem, p, line.names[i], true, line.line});
      motion.push_back(Step{Step::kRelease, p, {}, true, line.line});
      return true;
    }
    case ScriptLine::kClipboard:
      clipboard = line.text;
      clipboardHolds = true;
      ++clipboardCount;
      return false;
    case ScriptLine::kResize:
      vlui::ResizeScreen(line.to.h, line.to.v);
      return false;
    case ScriptLine::kSnapshot: {
      std::string error;
      if (!vlui::WriteScreenPng(line.text, &error)) Fail(line.line, error);
      return false;
    }
    case ScriptLine::kCompare:
      Compare(line);
      return false;
  }
  return false;
}

void HeadlessBackend::StepMotion() {
  if (motion.empty()) return;
  Step step = motion.front();
  motion.pop_front();
  switch (step.kind) {
    case Step::kMoveTo:
      vlui::SetMouse(step.to);
      vlui::NoteMouseMoved();
      break;
    case Step::kMenuItem: {
      Rect r;
      if (vlui::OpenMenuItemRect(step.item, nullptr, nullptr, &r)) {
        vlui::SetMouse(Center(r));
      } else {
        Fail(step.line, "no open menu has the item " + Quoted(step.item));
        // The rest of this choice is dropped; the button is let go where the mouse is.
        while (!motion.empty() && motion.front().kind == Step::kMenuItem) motion.pop_front();
      }
      break;
    }
    case Step::kRelease:
      vlui::SetButton(false);
      if (step.postUp) vlui::PostEvent(mouseUp, 0, vlui::CurrentModifiers());
      break;
  }
}

bool HeadlessBackend::FinishMotion() {
  bool posted = false;
  while (!motion.empty()) {
    if (motion.front().kind == Step::kRelease && motion.front().postUp) posted = true;
    StepMotion();
  }
  return posted;
}

void HeadlessBackend::PostTyping() {
  // In batches, so that a long text never fills the event queue.
  for (int i = 0; i < 64 && !typing.empty(); ++i) {
    unsigned char c = typing.front();
    typing.pop_front();
    vlui::PostEvent(keyDown, PortKeyMessage(c), 0);
    vlui::PostEvent(keyUp, PortKeyMessage(c), 0);
  }
}

bool HeadlessBackend::GetText(std::string* utf8) {
  if (!clipboardHolds) return false;
  *utf8 = clipboard;
  return true;
}

void HeadlessBackend::SetText(const std::string& utf8) {
  clipboard = utf8;
  clipboardHolds = true;
}

void HeadlessBackend::GiveUp(const char* why) {
  std::fprintf(log, "%s: %s\n", script.name.c_str(), why);
  std::fflush(log);
  PortExitToShell(kStatusNoQuit);
}

int HeadlessBackend::Answer(const vlalert::Record& record) {
  if (record.kind != "alert") return 1;
  for (auto it = answers.begin(); it != answers.end(); ++it) {
    if (it->kind != ScriptLine::kAnswerAlert || it->alertId != record.id) continue;
    int item = it->item;
    answers.erase(it);
    return item;
  }
  return 1;
}

bool HeadlessBackend::AnswerStandard(const vlui::StandardDialogRequest& request, vlui::StandardDialogAnswer* answer) {
  for (auto it = answers.begin(); it != answers.end(); ++it) {
    bool cancel = it->kind == ScriptLine::kCancel;
    bool file = it->kind == ScriptLine::kAnswerFile && it->fileKind == request.kind;
    bool color = it->kind == ScriptLine::kAnswerColor && request.kind == "color";
    if (!cancel && !file && !color) continue;
    *answer = vlui::StandardDialogAnswer{};
    answer->chosen = !cancel;
    if (file) answer->path = it->text;
    if (color) answer->color = it->color;
    answers.erase(it);
    return true;
  }
  return false;
}

void HeadlessBackend::Compare(const ScriptLine& line) {
  vlui::Picture picture;
  const std::string& what = line.names[0];
  if (what == "screen") {
    picture = vlui::ScreenPicture();
  } else if (what == "dialog") {
    DialogPtr dialog = vlui::FrontDialog();
    if (!dialog) return Fail(line.line, "no dialog is shown");
    picture = vlui::WindowPicture(PortGetDialogWindow(dialog));
  } else {
    WindowPtr window = vlui::FindWindowByTitle(line.names[1]);
    if (!window) return Fail(line.line, "no window " + Quoted(line.names[1]) + " is shown");
    picture = vlui::WindowPicture(window);
  }
  // Goldens are kept beside the script; what a failure leaves goes to the working folder.
  namespace fs = std::filesystem;
  const fs::path golden = fs::path(script.name).parent_path() / line.text;
  const char* output = std::getenv("VELMORA_GOLDEN_OUTPUT");
  std::error_code ignored;
  const vlui::GoldenOutcome outcome =
      vlui::CompareWithGolden(picture, golden.lexically_normal().string(),
                              output && *output ? output : fs::current_path(ignored).string(), line.tolerance);
  if (!outcome.matched) Fail(line.line, outcome.message);
}

void HeadlessBackend::Fail(int line, const std::string& message) {
  ++failures;
  std::fprintf(log, "%s:%d: %s\n", script.name.c_str(), line, message.c_str());
  std::fflush(log);
}

void HeadlessBackend::Check(const ScriptLine& line) {
  switch (line.kind) {
    case ScriptLine::kExpectAlert:
    case ScriptLine::kExpectDialog: {
      const char* kind = line.kind == ScriptLine::kExpectAlert ? "alert" : "dialog";
      const auto& records = vlalert::Log();
      while (logCursor < records.size() && records[logCursor].kind != kind) ++logCursor;
      if (logCursor < records.size() && records[logCursor].id == line.alertId) {
        ++logCursor;
        return;
      }
      if (logCursor < records.size()) {
        Fail(line.line, std::string("expected ") + kind + " " + std::to_string(line.alertId) + ", but the next " + kind +
                            " was " + std::to_string(records[logCursor].id));
        ++logCursor;
      } else {
        Fail(line.line, std::string("expected ") + kind + " " + std::to_string(line.alertId) + ", but no further " +
                            kind + " was shown");
      }
      return;
    }
    case ScriptLine::kExpectCommand: {
      const std::vector<long>& commands = vlui::CommandLog();
      for (std::size_t i = commandCursor; i < commands.size(); ++i) {
        if (commands[i] != line.command) continue;
        commandCursor = i + 1;
        return;
      }
      Fail(line.line, "expected command " + std::to_string(line.command) + ", but it was not given");
      return;
    }
    case ScriptLine::kExpectWindow:
      if (!vlui::FindWindowByTitle(line.text)) Fail(line.line, "expected a window " + Quoted(line.text) + ", but none is shown");
      return;
    case ScriptLine::kExpectNoWindow:
      if (vlui::FindWindowByTitle(line.text)) Fail(line.line, "expected no window " + Quoted(line.text) + ", but one is shown");
      return;
    case ScriptLine::kExpectFront: {
      WindowPtr front = PortFrontNonFloatingWindow();
      std::string title = front ? vlui::WindowTitleUtf8(front) : std::string();
      if (!front || title != line.text)
        Fail(line.line, "expected the front window " + Quoted(line.text) + ", but it is " +
                            (front ? Quoted(title) : std::string("none")));
      return;
    }
    case ScriptLine::kExpectItem: {
      DialogPtr dialog = vlui::FrontDialog();
      std::string text = dialog ? vlui::DialogItemTextUtf8(dialog, line.item) : std::string();
      if (!dialog)
        Fail(line.line, "expected item " + std::to_string(line.item) + " " + Quoted(line.text) + ", but no dialog is shown");
      else if (text != line.text)
        Fail(line.line, "expected item " + std::to_string(line.item) + " " + Quoted(line.text) + ", but it holds " +
                            Quoted(text));
      return;
    }
    case ScriptLine::kExpectSameFiles: {
      // The lines of both files, but for the one the line leaves out (0: none).
      auto lines = [&line](const std::string& path, bool* read) {
        std::ifstream in(path, std::ios::binary);
        *read = bool(in);
        std::vector<std::string> kept;
        std::string text;
        for (int number = 1; std::getline(in, text); ++number)
          if (number != line.steps) kept.push_back(text);
        return kept;
      };
      bool read1 = false, read2 = false;
      const std::vector<std::string> first = lines(line.names[0], &read1), second = lines(line.names[1], &read2);
      if (!read1 || !read2)
        Fail(line.line, "expected the files " + line.names[0] + " and " + line.names[1] + ", but one cannot be read");
      else if (first != second)
        Fail(line.line, "expected " + line.names[0] + " and " + line.names[1] + " to hold the same lines");
      return;
    }
    case ScriptLine::kExpectBeeps: {
      const long count = vlui::BeepCount() - beepsSeen;
      beepsSeen = vlui::BeepCount();
      if (count != line.command)
        Fail(line.line, "expected " + std::to_string(line.command) + " beeps, but there were " + std::to_string(count));
      return;
    }
    case ScriptLine::kExpectClipboard: {
      std::string text = vlui::ScrapTextUtf8();
      if (text != line.text) Fail(line.line, "expected the clipboard " + Quoted(line.text) + ", but it holds " + Quoted(text));
      return;
    }
    default:
      return;
  }
}

int HeadlessBackend::Finish() {
  for (const ScriptLine& a : answers) {
    std::string what = a.kind == ScriptLine::kAnswerAlert  ? "alert " + std::to_string(a.alertId)
                        : a.kind == ScriptLine::kAnswerFile ? "no " + a.fileKind + " dialog"
                        : a.kind == ScriptLine::kAnswerColor ? "no colour dialog"
                                                             : "no file or colour dialog";
    if (a.kind == ScriptLine::kAnswerAlert)
      std::fprintf(log, "%s:%d: warning: %s was never shown to take this answer\n", script.name.c_str(), a.line,
                   what.c_str());
    else
      std::fprintf(log, "%s:%d: warning: %s was shown to take this answer\n", script.name.c_str(), a.line, what.c_str());
  }
  answers.clear();
  std::fflush(log);
  return failures > 0 ? kStatusExpectFailed : kStatusOk;
}

int RunScript(const std::string& scriptPath, const std::function<CApplication*()>& makeApp, std::FILE* log) {
  Script script;
  std::string error;
  if (!LoadScript(scriptPath, &script, &error)) {
    std::fprintf(log, "%s\n", error.c_str());
    return kStatusBadScript;
  }
  HeadlessBackend backend(std::move(script), log);
  backend.Install();
  int status = kStatusOk;
  std::unique_ptr<CApplication> app;
  try {
    app.reset(makeApp());
    if (!app) {
      std::fprintf(log, "%s: the application could not be made\n", scriptPath.c_str());
      return kStatusStartFailed;
    }
    app->Run();
  } catch (const vlui::ExitToShellSignal& exit) {
    status = exit.status;
  } catch (const CException& e) {
    std::fprintf(log, "%s: the application failed to start (error %d)\n", scriptPath.c_str(), e.GetError());
    status = kStatusStartFailed;
  } catch (const std::exception& e) {
    std::fprintf(log, "%s: the application failed to start (%s)\n", scriptPath.c_str(), e.what());
    status = kStatusStartFailed;
  }
  app.reset();
  int finished = backend.Finish();
  return status != kStatusOk ? status : finished;
}

}  // namespace vlheadless
