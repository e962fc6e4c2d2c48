// Answers to the alerts, dialogs and message boxes the code under test shows: while the helper
// lives, each one takes the first answer of the list (item 1 when the list is empty). The alert
// log is empty at both ends.
#pragma once

#include <string>
#include <vector>

namespace vltest {

class AlertAnswers {
 public:
  AlertAnswers();
  ~AlertAnswers();
  AlertAnswers(const AlertAnswers&) = delete;
  AlertAnswers& operator=(const AlertAnswers&) = delete;

  // The ids of what was shown, in order: of one kind ("alert", "dialog", ...), or of all.
  static std::vector<int> Ids(const std::string& kind = {});

  std::vector<int> answers;  // the items of the next answers, in order
};

}  // namespace vltest
