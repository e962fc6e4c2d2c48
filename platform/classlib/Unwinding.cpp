#include "Unwinding.h"

#include "CApplication.h"
#include "Events.h"

bool CatchFailures(const std::function<void()>& action, const FailureHandler& handler) {
  try {
    action();
    return true;
  } catch (const vlui::ExitToShellSignal&) {
    throw;
  } catch (...) {
    if (handler) handler(std::current_exception());
    return false;
  }
}

bool CatchFailures(const std::function<void()>& action) {
  return CatchFailures(action, [](std::exception_ptr failure) {
    if (gApplication) gApplication->ReportFailure(failure);
  });
}
