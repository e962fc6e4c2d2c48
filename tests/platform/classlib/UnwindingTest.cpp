// The owner that disposes during unwinding, and the catch-all that lets the exit to the shell
// through.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "CException.h"
#include "Events.h"
#include "Unwinding.h"

namespace {

struct Disposable {
  explicit Disposable(std::vector<std::string>* log) : log(log) {}
  void Dispose() {
    log->push_back("disposed");
    delete this;
  }
  std::vector<std::string>* log;
};

TEST(Unwinding, AnOwnerDisposesWhatIsNotHandedOn) {
  std::vector<std::string> log;
  Disposable* kept = nullptr;
  try {
    Owned<Disposable> failing(new Disposable(&log));
    Failure(paramErr, 0);
  } catch (const CException&) {
    log.push_back("caught");
  }
  {
    Owned<Disposable> placed(new Disposable(&log));
    kept = placed.release();
  }
  EXPECT_EQ(log, (std::vector<std::string>{"disposed", "caught"}));  // disposed before the catch runs
  kept->Dispose();
}

TEST(Unwinding, CatchFailuresHandsOnEveryFailureButTheExit) {
  std::vector<std::string> handled;
  const FailureHandler note = [&](std::exception_ptr failure) {
    try {
      std::rethrow_exception(failure);
    } catch (const CException& e) {
      handled.push_back("error " + std::to_string(e.GetError()));
    } catch (const std::exception& e) {
      handled.push_back(e.what());
    }
  };
  EXPECT_TRUE(CatchFailures([] {}, note));
  EXPECT_FALSE(CatchFailures([] { Failure(fnfErr, 0); }, note));
  EXPECT_FALSE(CatchFailures([] { throw std::runtime_error("broken"); }, note));
  EXPECT_FALSE(CatchFailures([] { throw 7; }, nullptr));
  EXPECT_EQ(handled, (std::vector<std::string>{"error -43", "broken"}));
  try {
    CatchFailures([] { PortExitToShell(3); }, note);
    ADD_FAILURE() << "the exit to the shell was stopped";
  } catch (const vlui::ExitToShellSignal& exit) {
    EXPECT_EQ(exit.status, 3);
  }
  EXPECT_EQ(handled.size(), 2u);
}

}  // namespace
