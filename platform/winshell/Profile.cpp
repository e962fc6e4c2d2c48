#include "Profile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

#include "FilePaths.h"
#include "Folders.h"
#include "SafeReplace.h"

namespace vlwinshell {
namespace {

std::string_view Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// One line of the file, with its own line end so that untouched lines are written back as read.
struct Line {
  enum Kind { kOther, kBlank, kComment, kSection, kEntry };
  std::string text;
  std::string eol;
  Kind kind = kOther;
  std::string name;  // section name or entry key
  std::string value;
};

Line Classify(std::string text, std::string eol, bool first) {
  Line line{std::move(text), std::move(eol)};
  std::string_view body = line.text;
  if (first && body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);  // a UTF-8 mark
  body = Trim(body);
  if (body.empty()) {
    line.kind = Line::kBlank;
  } else if (body[0] == ';') {
    line.kind = Line::kComment;
  } else if (body[0] == '[') {
    std::size_t close = body.find(']');
    if (close != std::string_view::npos) {
      line.kind = Line::kSection;
      line.name = Trim(body.substr(1, close - 1));
    }
  } else if (std::size_t eq = body.find('='); eq != std::string_view::npos && !Trim(body.substr(0, eq)).empty()) {
    line.kind = Line::kEntry;
    line.name = Trim(body.substr(0, eq));
    line.value = Trim(body.substr(eq + 1));
  }
  return line;
}

class IniFile {
 public:
  void Parse(std::string_view bytes) {
    lines_.clear();
    std::size_t start = 0;
    while (start < bytes.size()) {
      std::size_t nl = bytes.find('\n', start);
      std::string_view raw = bytes.substr(start, nl == std::string_view::npos ? std::string_view::npos : nl - start);
      std::string eol = nl == std::string_view::npos ? "" : "\n";
      if (!raw.empty() && raw.back() == '\r' && !eol.empty()) {
        raw.remove_suffix(1);
        eol = "\r\n";
      }
      lines_.push_back(Classify(std::string(raw), eol, lines_.empty()));
      if (nl == std::string_view::npos) break;
      start = nl + 1;
    }
  }

  std::string Text() const {
    std::string out;
    for (const Line& l : lines_) out += l.text + l.eol;
    return out;
  }

  // The first section of that name: its header's index and the end of its lines.
  std::optional<std::pair<std::size_t, std::size_t>> Find(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      if (lines_[i].kind != Line::kSection || !SameName(lines_[i].name, section)) continue;
      std::size_t end = i + 1;
      while (end < lines_.size() && lines_[end].kind != Line::kSection) ++end;
      return std::make_pair(i, end);
    }
    return std::nullopt;
  }

  const Line* Entry(std::string_view section, std::string_view key) const {
    auto range = Find(section);
    if (!range) return nullptr;
    for (std::size_t i = range->first + 1; i < range->second; ++i)
      if (lines_[i].kind == Line::kEntry && SameName(lines_[i].name, key)) return &lines_[i];
    return nullptr;
  }

  std::vector<std::string> SectionNames() const {
    std::vector<std::string> names;
    for (const Line& l : lines_)
      if (l.kind == Line::kSection) names.push_back(l.name);
    return names;
  }

  // The lines of a section that carry something: entries (and other text), not comments.
  std::vector<const Line*> Body(std::string_view section) const {
    std::vector<const Line*> body;
    if (auto range = Find(section))
      for (std::size_t i = range->first + 1; i < range->second; ++i)
        if (lines_[i].kind == Line::kEntry || lines_[i].kind == Line::kOther) body.push_back(&lines_[i]);
    return body;
  }

  // Each returns whether the file changed.
  bool Set(std::string_view section, std::string_view key, std::string_view value) {
    auto range = Find(section);
    if (!range) {
      if (!lines_.empty() && lines_.back().kind != Line::kBlank) Append(Line{"", "", Line::kBlank});
      Append(Classify("[" + std::string(section) + "]", "", false));
      Append(Classify(std::string(key) + "=" + std::string(value), "", false));
      return true;
    }
    std::size_t insertAt = range->first + 1;
    for (std::size_t i = range->first + 1; i < range->second; ++i) {
      Line& l = lines_[i];
      if (l.kind != Line::kEntry) continue;
      insertAt = i + 1;
      if (!SameName(l.name, key)) continue;
      std::string text = l.name + "=" + std::string(value);
      if (l.text == text) return false;
      l = Classify(text, l.eol, false);
      return true;
    }
    if (insertAt > 0 && lines_[insertAt - 1].eol.empty()) lines_[insertAt - 1].eol = Eol();
    lines_.insert(lines_.begin() + std::ptrdiff_t(insertAt),
                  Classify(std::string(key) + "=" + std::string(value), Eol(), false));
    return true;
  }

  bool DeleteKey(std::string_view section, std::string_view key) {
    auto range = Find(section);
    if (!range) return false;
    auto first = lines_.begin() + std::ptrdiff_t(range->first + 1);
    auto last = lines_.begin() + std::ptrdiff_t(range->second);
    auto kept = std::remove_if(first, last, [&](const Line& l) { return l.kind == Line::kEntry && SameName(l.name, key); });
    if (kept == last) return false;
    lines_.erase(kept, last);
    return true;
  }

  bool DeleteSection(std::string_view section) {
    bool changed = false;
    while (auto range = Find(section)) {
      lines_.erase(lines_.begin() + std::ptrdiff_t(range->first), lines_.begin() + std::ptrdiff_t(range->second));
      changed = true;
    }
    return changed;
  }

 private:
  // The line end the file uses; a new file gets the system's.
  std::string Eol() const {
    for (const Line& l : lines_)
      if (!l.eol.empty()) return l.eol;
    return "\n";
  }
  void Append(Line line) {
    if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = Eol();
    line.eol = Eol();
    lines_.push_back(std::move(line));
  }

  std::vector<Line> lines_;
};

// Reads the file; a missing file is an empty one. False when it exists but cannot be read.
bool Load(const std::string& path, IniFile* ini) {
  ini->Parse({});
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return errno == ENOENT;
  if (S_ISDIR(st.st_mode)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  ini->Parse(bytes);
  return true;
}

bool Load(LPCSTR fileName, IniFile* ini) {
  std::string path = ProfilePath(fileName);
  if (path.empty()) {
    ini->Parse({});
    return false;
  }
  return Load(path, ini);
}

// Copies a string into a buffer of size bytes, cut to fit; the result is the characters copied.
DWORD CopyString(std::string_view s, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  std::size_t n = std::min<std::size_t>(s.size(), size - 1);
  std::memcpy(buffer, s.data(), n);
  buffer[n] = 0;
  return DWORD(n);
}

// Copies zero-terminated strings followed by a second zero; a list that does not fit is cut at
// size - 2 characters and still ends in two zeros.
DWORD CopyList(const std::vector<std::string>& items, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  std::string all;
  for (const std::string& s : items) {
    all += s;
    all += '\0';
  }
  if (all.size() + 1 <= size) {
    std::memcpy(buffer, all.data(), all.size());
    buffer[all.size()] = 0;
    return DWORD(all.size());
  }
  if (size < 2) {
    buffer[0] = 0;
    return 0;
  }
  std::memcpy(buffer, all.data(), size - 2);
  buffer[size - 2] = 0;
  buffer[size - 1] = 0;
  return size - 2;
}

std::string Unquoted(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) return std::string(v.substr(1, v.size() - 2));
  return std::string(v);
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

std::string ProfilePath(LPCSTR fileName) {
  if (!fileName || !*fileName) return {};
  std::string name = fileName;
  std::size_t cut = name.find_last_of("/\\");
  std::string leaf = cut == std::string::npos ? name : name.substr(cut + 1);
  std::string folder = cut == std::string::npos ? std::string() : cut == 0 ? std::string("/") : name.substr(0, cut);
  bool programs = folder.empty();
  if (!programs && folder.find('\\') == std::string::npos) {
    using vlfiles::NormalizedPath, vlfiles::ParentFolder;
    std::string f = NormalizedPath(folder);
    programs = f == NormalizedPath(ParentFolder(vlfiles::ProgramPath())) ||
               f == NormalizedPath(ParentFolder(vlfiles::ExecutablePath()));
  }
  if (!programs || leaf.empty()) return name;
  std::string config = vlfiles::ConfigDir();
  return config.empty() ? std::string() : config + "/" + Lower(leaf);
}

}  // namespace vlwinshell

using vlwinshell::IniFile;

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
  if (!section || !key) return UINT(defaultValue);
  IniFile ini;
  vlwinshell::Load(fileName, &ini);
  const auto* line = ini.Entry(section, key);
  if (!line) return UINT(defaultValue);
  std::string value = vlwinshell::Unquoted(line->value);
  if (value.empty()) return UINT(defaultValue);
  std::size_t i = 0;
  bool negative = false;
  if (value[i] == '-' || value[i] == '+') negative = value[i++] == '-';
  long long n = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
    n = std::min<long long>(n * 10 + (value[i] - '0'), 0xFFFFFFFFll);
  return UINT(static_cast<unsigned long long>(negative ? -n : n));
}

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR fileName) {
  IniFile ini;
  vlwinshell::Load(fileName, &ini);
  if (!section) return vlwinshell::CopyList(ini.SectionNames(), buffer, size);
  if (!key) {
    std::vector<std::string> keys;
    for (const auto* line : ini.Body(section))
      if (line->kind == vlwinshell::Line::kEntry) keys.push_back(line->name);
    return vlwinshell::CopyList(keys, buffer, size);
  }
  if (const auto* line = ini.Entry(section, key))
    return vlwinshell::CopyString(vlwinshell::Unquoted(line->value), buffer, size);
  std::string_view fallback = defaultValue ? defaultValue : "";
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  return vlwinshell::CopyString(fallback, buffer, size);
}

DWORD GetPrivateProfileSectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR fileName) {
  if (!section) return vlwinshell::CopyList({}, buffer, size);
  IniFile ini;
  vlwinshell::Load(fileName, &ini);
  std::vector<std::string> lines;
  for (const auto* line : ini.Body(section))
    lines.push_back(line->kind == vlwinshell::Line::kEntry ? line->name + "=" + line->value
                                                             : std::string(vlwinshell::Trim(line->text)));
  return vlwinshell::CopyList(lines, buffer, size);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  using namespace vlwinshell;
  if (!section) return key || value ? FALSE : TRUE;
  std::string_view s = Trim(section);
  if (s.empty() || HasLineBreak(s) || s.find(']') != std::string_view::npos) return FALSE;
  if (key) {
    std::string_view k = Trim(key);
    if (k.empty() || HasLineBreak(k) || k.find('=') != std::string_view::npos || k[0] == '[' || k[0] == ';')
      return FALSE;
  }
  if (value && HasLineBreak(value)) return FALSE;

  std::string path = ProfilePath(fileName);
  if (path.empty()) return FALSE;
  IniFile ini;
  if (!Load(path, &ini)) return FALSE;
  bool changed = !key ? ini.DeleteSection(s) : !value ? ini.DeleteKey(s, Trim(key)) : ini.Set(s, Trim(key), value);
  if (!changed) return TRUE;
  if (path.rfind(vlfiles::ConfigDir() + "/", 0) == 0) vlfiles::ConfigDir(true);
  return vlfiles::ReplaceFileBytes(path, ini.Text()) == noErr ? TRUE : FALSE;
}
