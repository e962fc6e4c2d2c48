#include "AlertSink.h"

#include <utility>

namespace vlalert {
namespace {
Answerer gAnswerer;
std::vector<Record> gLog;
std::FILE* gEcho = nullptr;
}  // namespace

Answerer SetAnswerer(Answerer answerer) {
  Answerer old = std::move(gAnswerer);
  gAnswerer = std::move(answerer);
  return old;
}

int Report(Record record, int defaultAnswer) {
  record.answer = gAnswerer ? gAnswerer(record) : defaultAnswer;
  if (gEcho) {
    std::fprintf(gEcho, "%s %d", record.kind.c_str(), record.id);
    if (!record.title.empty()) std::fprintf(gEcho, " [%s]", record.title.c_str());
    for (const auto& t : record.texts) std::fprintf(gEcho, " \"%s\"", t.c_str());
    std::fprintf(gEcho, " -> %d\n", record.answer);
    std::fflush(gEcho);
  }
  gLog.push_back(record);
  return record.answer;
}

const std::vector<Record>& Log() { return gLog; }
void ClearLog() { gLog.clear(); }
void SetEcho(std::FILE* stream) { gEcho = stream; }
std::FILE* Echo() { return gEcho; }

}  // namespace vlalert
