#include "HeadlessScript.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "Events.h"
#include "PString.h"

namespace vlheadless {
namespace {

struct NamedKey {
  const char* name;
  unsigned char code;
};
constexpr NamedKey kNamedKeys[] = {
    {"return", 13}, {"enter", 3},  {"tab", 9},    {"escape", 27}, {"delete", 8},
    {"space", 32},  {"left", 28},  {"right", 29}, {"up", 30},     {"down", 31},
};

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  std::string w;
  while (in >> w) words.push_back(w);
  return words;
}

template <class T>
bool Number(const std::string& word, T low, T high, T* out) {
  long long value = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size()) return false;
  if (value < static_cast<long long>(low) || value > static_cast<long long>(high)) return false;
  *out = static_cast<T>(value);
  return true;
}

bool Key(const std::string& word, unsigned char* out) {
  for (const auto& named : kNamedKeys) {
    if (word == named.name) {
      *out = named.code;
      return true;
    }
  }
  std::string mac = Utf8ToMacRoman(word);
  if (mac.size() != 1 || (mac == "?" && word != "?")) return false;
  *out = static_cast<unsigned char>(mac[0]);
  return true;
}

// Parses one line; an empty message means it is fine.
std::string ParseLine(const std::vector<std::string>& w, ScriptLine* line) {
  const std::string& verb = w[0];
  if (verb == "command") {
    if (w.size() != 2) return "expected: command N";
    line->kind = ScriptLine::kCommand;
    if (!Number<long>(w[1], -2147483647L - 1, 2147483647L, &line->command))
      return "the command is not a 32-bit number: " + w[1];
    return {};
  }
  if (verb == "key") {
    if (w.size() < 2) return "expected: key C [cmd] [shift] [option]";
    line->kind = ScriptLine::kKey;
    if (!Key(w[1], &line->key)) return "not one character or key name: " + w[1];
    for (std::size_t i = 2; i < w.size(); ++i) {
      if (w[i] == "cmd") line->modifiers |= cmdKey;
      else if (w[i] == "shift") line->modifiers |= shiftKey;
      else if (w[i] == "option") line->modifiers |= optionKey;
      else return "unknown modifier: " + w[i];
    }
    return {};
  }
  if (verb == "answer") {
    if (w.size() != 4 || w[1] != "alert") return "expected: answer alert ID N";
    line->kind = ScriptLine::kAnswerAlert;
    if (!Number<SInt16>(w[2], -32768, 32767, &line->alertId)) return "the alert id is not a 16-bit number: " + w[2];
    if (!Number<SInt16>(w[3], 1, 255, &line->item)) return "the item is not a number from 1 to 255: " + w[3];
    return {};
  }
  if (verb == "expect") {
    if (w.size() != 3 || w[1] != "alert") return "expected: expect alert ID";
    line->kind = ScriptLine::kExpectAlert;
    if (!Number<SInt16>(w[2], -32768, 32767, &line->alertId)) return "the alert id is not a 16-bit number: " + w[2];
    return {};
  }
  if (verb == "wait") {
    if (w.size() != 2) return "expected: wait TICKS";
    line->kind = ScriptLine::kWait;
    if (!Number<UInt32>(w[1], 0, 0x7FFFFFFF, &line->ticks)) return "the ticks are not a number from 0 to 2147483647: " + w[1];
    return {};
  }
  return "unknown action: " + verb;
}

}  // namespace

bool ParseScript(const std::string& text, const std::string& name, Script* out, std::string* error) {
  Script script;
  script.name = name;
  std::istringstream in(text);
  std::string raw;
  int number = 0;
  while (std::getline(in, raw)) {
    ++number;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::vector<std::string> words = Words(raw);
    if (words.empty() || words[0][0] == '#') continue;
    ScriptLine line;
    line.line = number;
    std::string problem = ParseLine(words, &line);
    if (!problem.empty()) {
      if (error) *error = name + ":" + std::to_string(number) + ": " + problem;
      return false;
    }
    script.lines.push_back(line);
  }
  *out = std::move(script);
  return true;
}

bool LoadScript(const std::string& path, Script* out, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (error) *error = path + ": cannot be read";
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) {
    if (error) *error = path + ": cannot be read";
    return false;
  }
  return ParseScript(text.str(), path, out, error);
}

}  // namespace vlheadless
