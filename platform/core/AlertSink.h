// Every alert, dialog and message box of the program passes through here: it is logged with its
// substituted texts (UTF-8) and answered. The ui layer installs an answerer that shows it on the
// screen; the headless backend answers from its script. With no answerer, item 1 is the answer.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace vlalert {

struct Record {
  std::string kind;                // "alert", "messagebox", "dialog", ...
  int id = 0;                      // resource number, 0 when none
  std::string title;
  std::vector<std::string> texts;  // substituted texts, in order
  int answer = 0;                  // item or button chosen
};

using Answerer = std::function<int(const Record&)>;

// Installs the answerer and returns the previous one.
Answerer SetAnswerer(Answerer answerer);
// Logs the record, asks the answerer (default: defaultAnswer) and returns the answer.
int Report(Record record, int defaultAnswer = 1);
const std::vector<Record>& Log();
void ClearLog();
// Each record is also written as one line to this stream (null: nowhere).
void SetEcho(std::FILE* stream);
std::FILE* Echo();

}  // namespace vlalert
