// The headless backend: runs the program on the virtual clock with its input taken from a
// script (HeadlessScript.h, README.md). Script lines become events when the program asks for
// its next event; alert answers wait until their alert is shown; expectations are checked
// against the alert log in order. When the script runs out the backend posts the quit command;
// a program that then goes on asking for input, or that polls for input the script never gives,
// is ended with kStatusNoQuit.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "AlertSink.h"
#include "Events.h"
#include "HeadlessScript.h"

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

class HeadlessBackend : public vlui::EventSource {
 public:
  // Messages (failed expectations, warnings) go to log.
  explicit HeadlessBackend(Script script, std::FILE* log = stderr);
  ~HeadlessBackend() override;

  // Virtual clock, empty alert log and event queue, this backend as event source and answerer.
  void Install();
  // Puts the previous source and answerer back.
  void Uninstall();

  void Refill() override;
  void Poll() override;

  // After the run: warns about answers no alert took; the status of the run so far.
  int Finish();
  int FailedExpectations() const { return failures; }
  Boolean QuitPosted() const { return quitPosted; }

 private:
  int Answer(const vlalert::Record& record);
  void Expect(const ScriptLine& line);
  [[noreturn]] void GiveUp(const char* why);

  struct PendingAnswer {
    SInt16 alertId;
    SInt16 item;
    int line;
  };

  Script script;
  std::FILE* log;
  std::size_t next = 0;
  std::size_t logCursor = 0;
  std::vector<PendingAnswer> answers;
  int failures = 0;
  Boolean quitPosted = false;
  long polls = 0;
  Boolean installed = false;
  vlui::EventSource* previousSource = nullptr;
  vlalert::Answerer previousAnswerer;
};

// Runs a program on a script: loads the script (kStatusBadScript when it cannot), installs the
// backend, makes and initialises the application with makeApp (kStatusStartFailed when that
// fails), runs it, deletes it and answers the status.
int RunScript(const std::string& scriptPath, const std::function<CApplication*()>& makeApp,
              std::FILE* log = stderr);

}  // namespace vlheadless
