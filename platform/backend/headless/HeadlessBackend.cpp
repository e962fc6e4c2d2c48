#include "HeadlessBackend.h"

#include <exception>
#include <memory>

#include "CApplication.h"
#include "Commands.h"
#include "Ticks.h"

namespace vlheadless {

HeadlessBackend::HeadlessBackend(Script s, std::FILE* logStream) : script(std::move(s)), log(logStream) {}

HeadlessBackend::~HeadlessBackend() { Uninstall(); }

void HeadlessBackend::Install() {
  if (installed) return;
  vlclock::UseVirtualClock(true);
  vlalert::ClearLog();
  vlui::ResetEvents();
  previousSource = vlui::SetEventSource(this);
  previousAnswerer = vlalert::SetAnswerer([this](const vlalert::Record& r) { return Answer(r); });
  installed = true;
  // Answers at the top of the script wait for alerts the program shows while it starts.
  while (next < script.lines.size() && script.lines[next].kind == ScriptLine::kAnswerAlert) {
    const ScriptLine& line = script.lines[next++];
    answers.push_back({line.alertId, line.item, line.line});
  }
}

void HeadlessBackend::Uninstall() {
  if (!installed) return;
  vlui::SetEventSource(previousSource);
  vlalert::SetAnswerer(std::move(previousAnswerer));
  installed = false;
}

void HeadlessBackend::Refill() {
  polls = 0;
  vlui::SetModifiers(0);  // the keys of the previous line are no longer held
  if (quitPosted) GiveUp("the program did not quit at the end of the script");
  while (next < script.lines.size()) {
    const ScriptLine& line = script.lines[next++];
    switch (line.kind) {
      case ScriptLine::kAnswerAlert:
        answers.push_back({line.alertId, line.item, line.line});
        continue;
      case ScriptLine::kExpectAlert:
        Expect(line);
        continue;
      case ScriptLine::kWait:
        vlclock::Advance(line.ticks);
        return;
      case ScriptLine::kCommand:
        vlui::PostCommand(line.command);
        return;
      case ScriptLine::kKey:
        vlui::SetModifiers(line.modifiers);
        vlui::PostEvent(keyDown, line.key, line.modifiers);
        vlui::PostEvent(keyUp, line.key, line.modifiers);
        return;
    }
  }
  quitPosted = true;
  vlui::PostCommand(cmdQuit);
}

void HeadlessBackend::Poll() {
  vlclock::Advance(1);
  if (++polls > kPollLimit) GiveUp("the program waits for input the script does not give");
}

void HeadlessBackend::GiveUp(const char* why) {
  std::fprintf(log, "%s: %s\n", script.name.c_str(), why);
  std::fflush(log);
  PortExitToShell(kStatusNoQuit);
}

int HeadlessBackend::Answer(const vlalert::Record& record) {
  if (record.kind != "alert") return 1;
  for (auto it = answers.begin(); it != answers.end(); ++it) {
    if (it->alertId != record.id) continue;
    int item = it->item;
    answers.erase(it);
    return item;
  }
  return 1;
}

void HeadlessBackend::Expect(const ScriptLine& line) {
  const auto& records = vlalert::Log();
  while (logCursor < records.size() && records[logCursor].kind != "alert") ++logCursor;
  if (logCursor < records.size() && records[logCursor].id == line.alertId) {
    ++logCursor;
    return;
  }
  ++failures;
  if (logCursor < records.size()) {
    std::fprintf(log, "%s:%d: expected alert %d, but the next alert was %d\n", script.name.c_str(), line.line,
                 line.alertId, records[logCursor].id);
    ++logCursor;
  } else {
    std::fprintf(log, "%s:%d: expected alert %d, but no further alert was shown\n", script.name.c_str(),
                 line.line, line.alertId);
  }
  std::fflush(log);
}

int HeadlessBackend::Finish() {
  for (const PendingAnswer& a : answers)
    std::fprintf(log, "%s:%d: warning: alert %d was never shown to take this answer\n", script.name.c_str(), a.line,
                 a.alertId);
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
