#include "HeadlessScript.h"

#include <charconv>
#include <cstring>
#include <filesystem>
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
    {"return", kReturnChar},    {"enter", kEnterChar},          {"tab", kTabChar},        {"escape", kEscapeChar},
    {"delete", kBackspaceChar}, {"forwarddelete", kDeleteChar}, {"space", kSpaceChar},    {"left", kLeftArrowChar},
    {"right", kRightArrowChar}, {"up", kUpArrowChar},           {"down", kDownArrowChar}, {"home", kHomeChar},
    {"end", kEndChar},
};

// Words separated by blanks; a word in double quotes may hold blanks, \" and \\.
bool Words(const std::string& line, std::vector<std::string>* words, std::string* problem) {
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    std::string w;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
          w += line[i++];
        } else if (c == '"') {
          closed = true;
          break;
        } else {
          w += c;
        }
      }
      if (!closed) {
        *problem = "a quoted text is not closed";
        return false;
      }
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') w += line[i++];
    }
    words->push_back(w);
  }
  return true;
}

// The rest of a line after its first word: a quoted text, or the characters as they stand.
std::string Rest(const std::string& raw, std::size_t verbLength) {
  std::string rest = raw.substr(std::min(raw.size(), raw.find_first_not_of(" \t") + verbLength));
  if (!rest.empty() && (rest[0] == ' ' || rest[0] == '\t')) rest.erase(0, 1);
  std::vector<std::string> words;
  std::string problem;
  if (rest.size() >= 2 && rest.front() == '"' && Words(rest, &words, &problem) && words.size() == 1) return words[0];
  return rest;
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

// Modifier words from index `from`; an empty message means they are fine.
std::string Modifiers(const std::vector<std::string>& w, std::size_t from, UInt16* out) {
  for (std::size_t i = from; i < w.size(); ++i) {
    if (w[i] == "cmd") *out |= cmdKey;
    else if (w[i] == "shift") *out |= shiftKey;
    else if (w[i] == "option") *out |= optionKey;
    else return "unknown modifier: " + w[i];
  }
  return {};
}

bool Coordinate(const std::string& word, SInt16* out) { return Number<SInt16>(word, -32768, 32767, out); }

std::string Point2(const std::vector<std::string>& w, std::size_t at, Point* p) {
  if (!Coordinate(w[at], &p->h) || !Coordinate(w[at + 1], &p->v))
    return "the point is not two 16-bit numbers: " + w[at] + " " + w[at + 1];
  return {};
}

// Parses one line; an empty message means it is fine.
std::string ParseLine(const std::vector<std::string>& w, const std::string& raw, ScriptLine* line) {
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
    return Modifiers(w, 2, &line->modifiers);
  }
  if (verb == "type") {
    line->kind = ScriptLine::kType;
    line->text = Rest(raw, 4);
    if (line->text.empty()) return "expected: type TEXT";
    return {};
  }
  if (verb == "click") {
    if (w.size() >= 3 && w[1] == "item") {
      line->kind = ScriptLine::kClickItem;
      if (!Number<SInt16>(w[2], 1, 32767, &line->item)) return "the item is not a number from 1 to 32767: " + w[2];
      const bool part = w.size() > 3 && (w[3] == "top" || w[3] == "bottom");
      if (part) line->itemPart = w[3] == "top" ? -1 : 1;
      return Modifiers(w, part ? 4 : 3, &line->modifiers);
    }
    if (w.size() < 3) return "expected: click X Y [twice] [cmd] [shift] [option] or click item N";
    line->kind = ScriptLine::kClick;
    if (std::string p = Point2(w, 1, &line->from); !p.empty()) return p;
    const bool twice = w.size() > 3 && w[3] == "twice";
    line->steps = twice ? 2 : 1;
    return Modifiers(w, twice ? 4 : 3, &line->modifiers);
  }
  if (verb == "move") {
    if (w.size() != 3) return "expected: move X Y";
    line->kind = ScriptLine::kMove;
    return Point2(w, 1, &line->from);
  }
  if (verb == "drag") {
    if (w.size() < 6 || w[3] != "to") return "expected: drag X1 Y1 to X2 Y2 [steps N] [cmd] [shift] [option]";
    line->kind = ScriptLine::kDrag;
    if (std::string p = Point2(w, 1, &line->from); !p.empty()) return p;
    if (std::string p = Point2(w, 4, &line->to); !p.empty()) return p;
    std::size_t next = 6;
    if (w.size() >= 8 && w[6] == "steps") {
      if (!Number<int>(w[7], 1, 1000, &line->steps)) return "the steps are not a number from 1 to 1000: " + w[7];
      next = 8;
    }
    return Modifiers(w, next, &line->modifiers);
  }
  if (verb == "choose") {
    if (w.size() != 4 || w[1] != "item") return "expected: choose item N \"Text\"";
    line->kind = ScriptLine::kChooseItem;
    if (!Number<SInt16>(w[2], 1, 32767, &line->item)) return "the item is not a number from 1 to 32767: " + w[2];
    line->names.assign(1, w[3]);
    return {};
  }
  if (verb == "menu") {
    if (w.size() < 3) return "expected: menu \"Title\" \"Item\" [\"Item\" ...]";
    line->kind = ScriptLine::kMenu;
    line->names.assign(w.begin() + 1, w.end());
    return {};
  }
  if (verb == "answer") {
    if (w.size() >= 2 && (w[1] == "getfile" || w[1] == "putfile")) {
      if (w.size() != 3) return "expected: answer " + w[1] + " PATH";
      line->kind = ScriptLine::kAnswerFile;
      line->fileKind = w[1];
      line->text = w[2];
      return {};
    }
    if (w.size() >= 2 && w[1] == "color") {
      if (w.size() != 5) return "expected: answer color R G B";
      line->kind = ScriptLine::kAnswerColor;
      UInt16* parts[3] = {&line->color.red, &line->color.green, &line->color.blue};
      for (int i = 0; i < 3; ++i) {
        UInt16 v = 0;
        if (!Number<UInt16>(w[std::size_t(2 + i)], 0, 255, &v)) return "the colour is not three numbers from 0 to 255";
        *parts[i] = UInt16(v * 257);
      }
      return {};
    }
    if (w.size() != 4 || w[1] != "alert") return "expected: answer alert ID N";
    line->kind = ScriptLine::kAnswerAlert;
    if (!Number<SInt16>(w[2], -32768, 32767, &line->alertId)) return "the alert id is not a 16-bit number: " + w[2];
    if (!Number<SInt16>(w[3], 1, 255, &line->item)) return "the item is not a number from 1 to 255: " + w[3];
    return {};
  }
  if (verb == "cancel") {
    if (w.size() != 1) return "expected: cancel";
    line->kind = ScriptLine::kCancel;
    return {};
  }
  if (verb == "clipboard") {
    line->kind = ScriptLine::kClipboard;
    line->text = Rest(raw, 9);
    return {};
  }
  if (verb == "resize") {
    if (w.size() != 3) return "expected: resize W H";
    line->kind = ScriptLine::kResize;
    if (!Number<SInt16>(w[1], 1, 8192, &line->to.h) || !Number<SInt16>(w[2], 1, 8192, &line->to.v))
      return "the size is not two numbers from 1 to 8192";
    return {};
  }
  if (verb == "snapshot") {
    if (w.size() != 2) return "expected: snapshot FILE.png";
    line->kind = ScriptLine::kSnapshot;
    line->text = w[1];
    return {};
  }
  if (verb == "compare") {
    const std::string usage =
        "expected: compare screen FILE.png, compare window \"Title\" FILE.png or compare dialog FILE.png, then "
        "[channel N] [pixels P%]";
    std::size_t file = w.size() >= 3 && w[1] == "window" ? 3 : 2;
    if (w.size() <= file || (w[1] != "screen" && w[1] != "window" && w[1] != "dialog")) return usage;
    line->kind = ScriptLine::kCompare;
    line->names.assign(w.begin() + 1, w.begin() + std::ptrdiff_t(file));
    line->text = w[file];
    for (std::size_t i = file + 1; i < w.size(); i += 2) {
      if (i + 1 >= w.size()) return usage;
      const std::string& value = w[i + 1];
      double percent = -1;
      if (w[i] == "channel") {
        if (!Number<int>(value, 0, 255, &line->tolerance.channel))
          return "the channel is not a number from 0 to 255: " + value;
      } else if (w[i] == "pixels" && value.size() >= 2 && value.back() == '%' &&
                 std::from_chars(value.data(), value.data() + value.size() - 1, percent).ptr ==
                     value.data() + value.size() - 1 &&
                 percent >= 0 && percent <= 100) {
        line->tolerance.share = percent / 100.0;
      } else if (w[i] == "pixels") {
        return "the pixels are not a share from 0% to 100%: " + value;
      } else {
        return usage;
      }
    }
    return {};
  }
  if (verb == "expect") {
    const std::string usage =
        "expected: expect alert ID, expect dialog ID, expect command N, expect window \"Title\", expect no window "
        "\"Title\", expect front \"Title\", expect item N \"text\", expect clipboard \"text\" or expect beeps N";
    if (w.size() < 2) return usage;
    const std::string& what = w[1];
    if (what == "alert" || what == "dialog") {
      if (w.size() != 3) return "expected: expect " + what + " ID";
      line->kind = what == "alert" ? ScriptLine::kExpectAlert : ScriptLine::kExpectDialog;
      if (!Number<SInt16>(w[2], -32768, 32767, &line->alertId))
        return "the " + what + " id is not a 16-bit number: " + w[2];
      return {};
    }
    if (what == "command") {
      if (w.size() != 3) return "expected: expect command N";
      line->kind = ScriptLine::kExpectCommand;
      if (!Number<long>(w[2], -2147483647L - 1, 2147483647L, &line->command))
        return "the command is not a 32-bit number: " + w[2];
      return {};
    }
    if (what == "beeps") {
      if (w.size() != 3) return "expected: expect beeps N";
      line->kind = ScriptLine::kExpectBeeps;
      if (!Number<long>(w[2], 0, 2147483647L, &line->command)) return "the beeps are not a number from 0: " + w[2];
      return {};
    }
    if (what == "window" || what == "front" || what == "clipboard") {
      if (w.size() != 3) return "expected: expect " + what + " \"text\"";
      line->kind = what == "window" ? ScriptLine::kExpectWindow
                   : what == "front" ? ScriptLine::kExpectFront
                                     : ScriptLine::kExpectClipboard;
      line->text = w[2];
      return {};
    }
    if (what == "no") {
      if (w.size() != 4 || w[2] != "window") return "expected: expect no window \"Title\"";
      line->kind = ScriptLine::kExpectNoWindow;
      line->text = w[3];
      return {};
    }
    if (what == "same") {
      const std::string sameUsage = "expected: expect same FILE1 FILE2 [but line N]";
      if (w.size() != 4 && (w.size() != 7 || w[4] != "but" || w[5] != "line")) return sameUsage;
      line->kind = ScriptLine::kExpectSameFiles;
      line->names = {w[2], w[3]};
      if (w.size() == 7 && !Number<int>(w[6], 1, 2147483647, &line->steps)) return sameUsage;
      if (w.size() == 4) line->steps = 0;
      return {};
    }
    if (what == "item") {
      if (w.size() != 4) return "expected: expect item N \"text\"";
      line->kind = ScriptLine::kExpectItem;
      if (!Number<SInt16>(w[2], 1, 32767, &line->item)) return "the item is not a number from 1 to 32767: " + w[2];
      line->text = w[3];
      return {};
    }
    return usage;
  }
  if (verb == "wait") {
    if (w.size() != 2) return "expected: wait TICKS";
    line->kind = ScriptLine::kWait;
    if (!Number<UInt32>(w[1], 0, 0x7FFFFFFF, &line->ticks)) return "the ticks are not a number from 0 to 2147483647: " + w[1];
    return {};
  }
  return "unknown action: " + verb;
}

// The set-up lines among the comment lines before the first action.
bool ReadSetup(const std::string& text, const std::string& name, ScriptSetup* out, std::string* error) {
  struct Key {
    const char* text;
    std::vector<std::string> ScriptSetup::*made;  // where the names go to be made; null: nowhere
    bool give;                                    // given at start too
  };
  static const Key kKeys[] = {{"# files:", &ScriptSetup::make, true},
                              {"# make:", &ScriptSetup::make, false},
                              {"# copies:", &ScriptSetup::copies, true},
                              {"# folders:", &ScriptSetup::folders, true},
                              {"# config:", &ScriptSetup::config, false},
                              {"# args:", nullptr, true}};
  static constexpr char kExitStatus[] = "# exit status:";
  ScriptSetup setup;
  std::istringstream in(text);
  std::string raw;
  for (int number = 1; std::getline(in, raw); ++number) {
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    const std::size_t first = raw.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    if (raw[first] != '#') break;
    const std::string line = raw.substr(first);
    std::string problem;
    std::vector<std::string> words;
    if (line.rfind(kExitStatus, 0) == 0) {
      if (!Words(line.substr(sizeof kExitStatus - 1), &words, &problem) || words.size() != 1 ||
          !Number<int>(words[0], 0, 255, &setup.exitStatus))
        problem = "expected: # exit status: N (0 to 255)";
    }
    for (const Key& key : kKeys) {
      if (line.rfind(key.text, 0) != 0) continue;
      if (!Words(line.substr(std::strlen(key.text)), &words, &problem)) break;
      for (const std::string& word : words) {
        if (key.made) (setup.*key.made).push_back(word);
        if (key.give) setup.arguments.push_back(word);
      }
    }
    if (!problem.empty()) {
      if (error) *error = name + ":" + std::to_string(number) + ": " + problem;
      return false;
    }
  }
  *out = std::move(setup);
  return true;
}

bool ReadWholeFile(const std::string& path, std::string* text, std::string* error) {
  // A folder opens as a stream that reads as empty: it would run as an empty script.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    if (error) *error = path + ": is a folder, not a script";
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  if (file) bytes << file.rdbuf();
  if (!file || file.bad()) {
    if (error) *error = path + ": cannot be read";
    return false;
  }
  *text = bytes.str();
  return true;
}

}  // namespace

bool IsInputLine(const ScriptLine& line) {
  switch (line.kind) {
    case ScriptLine::kCommand:
    case ScriptLine::kKey:
    case ScriptLine::kClick:
    case ScriptLine::kDrag:
    case ScriptLine::kMove:
    case ScriptLine::kType:
    case ScriptLine::kMenu:
    case ScriptLine::kClickItem:
    case ScriptLine::kChooseItem:
      return true;
    default:
      return false;
  }
}

bool IsAnswerLine(const ScriptLine& line) {
  return line.kind == ScriptLine::kAnswerAlert || line.kind == ScriptLine::kAnswerFile ||
         line.kind == ScriptLine::kAnswerColor || line.kind == ScriptLine::kCancel;
}

bool ParseScript(const std::string& text, const std::string& name, Script* out, std::string* error) {
  Script script;
  script.name = name;
  if (!ReadSetup(text, name, &script.setup, error)) return false;
  std::istringstream in(text);
  std::string raw;
  int number = 0;
  while (std::getline(in, raw)) {
    ++number;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::vector<std::string> words;
    std::string problem;
    std::size_t first = raw.find_first_not_of(" \t");
    if (first == std::string::npos || raw[first] == '#') continue;
    if (raw.compare(first, 5, "type ") != 0 && raw.compare(first, 10, "clipboard ") != 0 &&
        !Words(raw, &words, &problem)) {
      if (error) *error = name + ":" + std::to_string(number) + ": " + problem;
      return false;
    }
    if (words.empty()) {
      std::istringstream verb(raw);
      std::string v;
      verb >> v;
      words.push_back(v);
    }
    ScriptLine line;
    line.line = number;
    problem = ParseLine(words, raw, &line);
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
  std::string text;
  return ReadWholeFile(path, &text, error) && ParseScript(text, path, out, error);
}

bool LoadScriptSetup(const std::string& path, ScriptSetup* out, std::string* error) {
  std::string text;
  return ReadWholeFile(path, &text, error) && ReadSetup(text, path, out, error);
}

}  // namespace vlheadless
