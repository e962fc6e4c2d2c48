// The headless backend: runs the program on the virtual clock and the virtual screen in memory,
// with its input taken from a script (HeadlessScript.h, README.md). Script lines become events
// when the program asks for its next event; a click or drag goes on while the program polls the
// button (one step a poll); answers wait until their alert or dialog is shown; expectations are
// checked when they are reached. When the script runs out the backend posts the quit command; a
// program that then goes on asking for input, or that polls for input the script never gives,
// is ended with kStatusNoQuit.
#pragma once

#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "AlertSink.h"
#include "Events.h"
#include "HeadlessScript.h"
#include "Scrap.h"
#include "StandardFile.h"

class CApplication;

namespace vlheadless {

// Exit statuses of a headless run.
enum : int {
  kStatusOk = 0,
  kStatusExpectFailed = 1,
  kStatusBadScript = 2,
  kStatusNoQuit = 3,
  kStatusStartFailed = 4,
};

// Polls (button, pending events) the program may make without asking for an event before the
// backend decides it waits for input that will never come: ten virtual minutes, one tick each.
constexpr long kPollLimit = 60L * 60L * 10L;
// Polls without input after which a polling program (waiting for a click, a double click or a
// key while it works) is given the script's next input line.
constexpr long kPollGrace = 10;

class HeadlessBackend : public vlui::EventSource, public vlui::ClipboardHost {
 public:
  // Messages (failed expectations, warnings) go to log.
  explicit HeadlessBackend(Script script, std::FILE* log = stderr);
  ~HeadlessBackend() override;

  // Virtual clock, the virtual screen (when none is made), empty alert log, command log and
  // event queue, this backend as event source, answerer and clipboard.
  void Install();
  // Puts the previous source, answerers and clipboard back; frees the screen it made.
  void Uninstall();

  void Refill() override;
  void PollFor(vlui::PollKind kind) override;

  bool GetText(std::string* utf8) override;
  void SetText(const std::string& utf8) override;
  UInt32 ChangeCount() override { return clipboardCount; }

  // After the run: warns about answers no alert or dialog took; the status of the run so far.
  int Finish();
  int FailedExpectations() const { return failures; }
  Boolean QuitPosted() const { return quitPosted; }

 private:
  struct PendingAnswer {
    ScriptLine line;
  };
  // One step of a click, drag or menu choice in progress.
  struct Step {
    enum Kind { kMoveTo, kMenuItem, kRelease };
    Kind kind;
    Point to;
    std::string item;  // kMenuItem
    bool postUp = true;  // kRelease
    int line = 0;
  };

  int Answer(const vlalert::Record& record);
  bool AnswerStandard(const vlui::StandardDialogRequest& request, vlui::StandardDialogAnswer* answer);
  // Carries out one line; true when it gave the program input (events) to handle.
  bool Perform(const ScriptLine& line);
  void Check(const ScriptLine& line);
  // A compare line: the screen, a window or the front dialog against its golden image.
  void Compare(const ScriptLine& line);
  void Fail(int line, const std::string& message);
  void Press(Point where, UInt16 modifiers);
  void StepMotion();
  // Finishes a motion in progress at once; true when it posted a mouse-up.
  bool FinishMotion();
  // A poll may take the script's next input line (and the answer and wait lines before it).
  void TakeFromPoll();
  void PostTyping();
  [[noreturn]] void GiveUp(const char* why);

  Script script;
  std::FILE* log;
  std::size_t next = 0;
  std::size_t logCursor = 0;     // alerts and dialogs checked by expect lines
  std::size_t commandCursor = 0; // commands checked by expect lines
  std::vector<ScriptLine> answers;
  std::deque<Step> motion;
  std::deque<unsigned char> typing;  // characters of a type line still to post
  int failures = 0;
  Boolean quitPosted = false;
  long polls = 0;
  long idlePolls = 0;
  Boolean installed = false;
  bool madeScreen = false;
  std::string clipboard;
  long beepsSeen = 0;  // the beep count at the last expect beeps (or the start)
  bool clipboardHolds = false;
  UInt32 clipboardCount = 1;
  vlui::EventSource* previousSource = nullptr;
  vlalert::Answerer previousAnswerer;
  vlui::StandardDialogAnswerer previousStandard;
  vlui::ClipboardHost* previousClipboard = nullptr;
};

// Runs a program on a script: loads the script (kStatusBadScript when it cannot), installs the
// backend, makes and initialises the application with makeApp (kStatusStartFailed when that
// fails), runs it, deletes it and answers the status.
int RunScript(const std::string& scriptPath, const std::function<CApplication*()>& makeApp,
              std::FILE* log = stderr);

}  // namespace vlheadless
