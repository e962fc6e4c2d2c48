// When an exception leaves the middle of the program's work. Two tools, so that no caller writes
// its own try/catch/Dispose/throw or its own catch-all:
//
// - Owned<T> holds an object that ends with Dispose() (the class library's objects, the model's
//   objects) while it is made and set up. Should the scope be left, by an exception above all,
//   the owner disposes the object; release() hands it on once it is safely placed. It is a
//   std::unique_ptr whose deleter calls Dispose.
// - CatchFailures runs an action and stops every failure of it, except the unwinding of
//   PortExitToShell (vlui::ExitToShellSignal), which always goes on to the program's entry.
#pragma once

#include <exception>
#include <functional>
#include <memory>

struct DisposeObject {
  template <class T>
  void operator()(T* object) const {
    object->Dispose();
  }
};

template <class T>
using Owned = std::unique_ptr<T, DisposeObject>;

using FailureHandler = std::function<void(std::exception_ptr failure)>;

// Runs the action and answers true when it ended normally. Any exception but the exit to the
// shell goes to the handler (null: none) and the answer is false; what the handler throws goes on.
bool CatchFailures(const std::function<void()>& action, const FailureHandler& handler);
// The same, the failure reported by the application (gApplication->ReportFailure; dropped when
// there is no application).
bool CatchFailures(const std::function<void()>& action);
