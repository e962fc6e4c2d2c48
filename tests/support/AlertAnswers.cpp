#include "AlertAnswers.h"

#include "AlertSink.h"

namespace vltest {

AlertAnswers::AlertAnswers() {
  vlalert::ClearLog();
  vlalert::SetAnswerer([this](const vlalert::Record&) {
    if (answers.empty()) return 1;
    const int item = answers.front();
    answers.erase(answers.begin());
    return item;
  });
}

AlertAnswers::~AlertAnswers() {
  vlalert::SetAnswerer(nullptr);
  vlalert::ClearLog();
}

std::vector<int> AlertAnswers::Ids(const std::string& kind) {
  std::vector<int> ids;
  for (const vlalert::Record& record : vlalert::Log())
    if (kind.empty() || record.kind == kind) ids.push_back(record.id);
  return ids;
}

}  // namespace vltest
