// The text form of 3DMF: ClassName ( data sub-objects ), labels "name:"
// before objects, references "name>", comments from # to the end of the line.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>

#include "internal/Classes.h"
#include "internal/Metafile.h"
#include "internal/MetafileFormat.h"

namespace q3d {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool IsIdentStart(char c) { return std::isalpha(TQ3Uns8(c)) || c == '_'; }
bool IsIdent(char c) { return std::isalnum(TQ3Uns8(c)) || c == '_'; }
bool IsDelimiter(char c) {
  return IsSpace(c) || c == ',' || c == '(' || c == ')' || c == '#' || c == '"' || c == '|';
}

bool SameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return std::tolower(TQ3Uns8(x)) == std::tolower(TQ3Uns8(y)); });
}

const EnumName kHeaderFlags[] = {{"Normal", 0}, {"Stream", 1}, {"Database", 2}, {nullptr, 0}};

class TextReader final : public Reader {
 public:
  explicit TextReader(std::vector<TQ3Uns8> bytes) : t_(bytes.begin(), bytes.end()) { Scan(); }

  bool IsText() const override { return true; }
  size_t Length() const override { return t_.size(); }

  TQ3Uns32 U32() override {
    std::int64_t v = Integer();
    if (v < INT32_MIN || v > std::int64_t(UINT32_MAX))
      FailRead(kQ3ErrorInvalidMetafilePrimitive, "an unsigned number is out of range");
    return TQ3Uns32(v);
  }
  TQ3Int32 I32() override {
    std::int64_t v = Integer();
    if (v < INT32_MIN || v > std::int64_t(UINT32_MAX))
      FailRead(kQ3ErrorInvalidMetafilePrimitive, "a signed number is out of range");
    return TQ3Int32(TQ3Uns32(v));
  }
  TQ3Uns16 U16() override { return TQ3Uns16(Ranged(-32768, 65535)); }
  TQ3Int16 I16() override { return TQ3Int16(Ranged(-32768, 65535)); }
  TQ3Uns8 U8() override { return TQ3Uns8(Ranged(-128, 255)); }
  TQ3Int8 I8() override { return TQ3Int8(Ranged(-128, 255)); }
  float F32() override { return Number<float>(); }
  double F64() override { return Number<double>(); }

  std::string String() override {
    size_t p = Skip(pos_, end_);
    if (p >= end_ || t_[p] != '"') FailRead(kQ3ErrorInvalidMetafilePrimitive, "a string does not start with a quote");
    std::string s;
    for (++p; p < end_ && t_[p] != '"'; ++p) {
      char c = t_[p];
      if (c != '\\') {
        s += c;
        continue;
      }
      if (++p >= end_) break;
      switch (char e = t_[p]) {
        case 'n':
          s += '\n';
          break;
        case 'r':
          s += '\r';
          break;
        case 't':
          s += '\t';
          break;
        case 'x': {
          int v = 0, n = 0;
          while (n < 2 && p + 1 < end_ && std::isxdigit(TQ3Uns8(t_[p + 1]))) {
            v = v * 16 + Hex(t_[++p]);
            ++n;
          }
          s += char(v);
          break;
        }
        default:
          s += e;
      }
    }
    if (p >= end_) FailRead(kQ3ErrorInvalidMetafilePrimitive, "a string has no closing quote");
    pos_ = p + 1;
    return s;
  }

  void Raw(TQ3Uns8* dst, size_t size) override {
    size_t got = 0;
    while (got < size) {
      std::string tok = Token();
      if (tok.size() < 2 || tok[0] != '0' || (tok[1] != 'x' && tok[1] != 'X'))
        FailRead(kQ3ErrorInvalidHexString, "raw data is not written in hexadecimal");
      size_t digits = tok.size() - 2;
      if (digits % 2) FailRead(kQ3ErrorInvalidHexString, "raw data has an odd number of hexadecimal digits");
      for (size_t i = 2; i + 1 < tok.size() && got < size; i += 2) {
        if (!std::isxdigit(TQ3Uns8(tok[i])) || !std::isxdigit(TQ3Uns8(tok[i + 1])))
          FailRead(kQ3ErrorInvalidHexString, "raw data holds a character that is not a hexadecimal digit");
        dst[got++] = TQ3Uns8(Hex(tok[i]) * 16 + Hex(tok[i + 1]));
      }
    }
  }

  TQ3Uns32 Enum(const EnumName* names) override { return ValueOf(Token(), names); }

  TQ3Uns32 Flags(const EnumName* names) override {
    TQ3Uns32 v = ValueOf(Token(), names);
    for (;;) {
      size_t p = Skip(pos_, end_);
      if (p >= end_ || t_[p] != '|') return v;
      pos_ = p + 1;
      v |= ValueOf(Token(), names);
    }
  }

  TQ3Boolean Boolean() override {
    std::string tok = Token();
    if (SameWord(tok, "True")) return kQ3True;
    if (SameWord(tok, "False")) return kQ3False;
    return ParseInteger(tok) ? kQ3True : kQ3False;
  }

  bool AtEndOfData() override { return Skip(pos_, end_) >= end_; }
  std::string Word() override { return Token(); }

  size_t LabelPosition(const std::string& label) const override {
    auto it = labels_.find(label);
    return it == labels_.end() ? std::string::npos : it->second;
  }

  std::string Slice(size_t begin, size_t end) const override { return t_.substr(begin, end - begin); }

  void CheckCount(TQ3Uns64 count, TQ3Uns32, TQ3Uns32 textTokens) override {
    // Every token takes at least one character and a separator.
    TQ3Uns64 left = pos_ < end_ ? (end_ - pos_) / 2 + 1 : 0;
    if (textTokens && count > left / textTokens)
      FailRead(kQ3ErrorInvalidMetafile, "a count asks for more items than the text holds");
  }

  bool ParseEntry(size_t pos, size_t limit, Entry& e) override {
    size_t p = Skip(pos, limit);
    if (p >= limit) return false;
    size_t q = p;
    while (q < limit && t_[q] != '(' && t_[q] != ')' && t_[q] != '"') ++q;
    if (q >= limit || t_[q] != '(') FailRead(kQ3ErrorInvalidMetafile, "an object has no opening parenthesis");
    auto close = close_.find(q);
    if (close == close_.end() || close->second >= limit)
      FailRead(kQ3ErrorInvalidMetafile, "an object's parenthesis is never closed");
    std::string_view head(t_.data() + p, q - p);
    // A label names the object: "label:" and a blank before the class name.
    size_t i = 0;
    if (!head.empty() && IsIdentStart(head[0])) {
      while (i < head.size() && IsIdent(head[i])) ++i;
      if (i + 1 < head.size() && head[i] == ':' && IsSpace(head[i + 1]))
        head.remove_prefix(i + 1);
    }
    while (!head.empty() && IsSpace(head.front())) head.remove_prefix(1);
    while (!head.empty() && IsSpace(head.back())) head.remove_suffix(1);
    if (head.empty()) FailRead(kQ3ErrorInvalidMetafile, "an object has no class name");
    e = Entry{};
    e.begin = p;
    e.end = close->second + 1;
    e.dataBegin = q + 1;
    e.dataEnd = close->second;
    e.name = std::string(head);
    if (SameWord(head, format::kTextContainer) || SameWord(head, format::kTextBeginGroup)) {
      Entry root;
      if (!ParseEntry(e.dataBegin, e.dataEnd, root) || root.kind != Entry::kObject || root.container)
        FailRead(kQ3ErrorInvalidMetafile, "a container or group does not start with its object");
      e.kind = SameWord(head, format::kTextContainer) ? Entry::kObject : Entry::kBeginGroup;
      e.container = true;
      e.cls = root.cls;
      e.name = root.name;
      e.dataBegin = root.dataBegin;
      e.dataEnd = root.dataEnd;
      e.subBegin = root.end;
      e.subEnd = close->second;
      return true;
    }
    if (SameWord(head, format::kTextEndGroup))
      e.kind = Entry::kEndGroup;
    else if (SameWord(head, format::kTextReference))
      e.kind = Entry::kReference;
    else if (SameWord(head, format::kTextTableOfContents))
      e.kind = Entry::kTableOfContents;
    else if (SameWord(head, format::kTextHeader))
      e.kind = Entry::kHeader;
    else if (SameWord(head, format::kTextTypeDeclaration))
      e.kind = Entry::kTypeDeclaration;
    else
      e.cls = Lookup(head);
    return true;
  }

  size_t ParseHeader(TQ3Uns32& major, TQ3Uns32& minor, TQ3Uns32& flags, TQ3Uns32& tocLocation,
                     std::string& tocLabel) override {
    Entry e;
    if (!ParseEntry(0, t_.size(), e) || e.kind != Entry::kHeader)
      FailRead(kQ3ErrorInvalidMetafile, "the file does not start with a 3DMetafile header");
    Range saved = Data();
    SetData({e.dataBegin, e.dataEnd});
    major = U32();
    minor = U32();
    flags = Flags(kHeaderFlags);
    tocLocation = 0;
    if (!AtEndOfData()) {
      std::string word = Token();
      if (word.size() > 1 && word.back() == '>') tocLabel = word.substr(0, word.size() - 1);
    }
    SetData(saved);
    return e.end;
  }

 private:
  static int Hex(char c) {
    return c <= '9' ? c - '0' : (std::tolower(TQ3Uns8(c)) - 'a' + 10);
  }

  // Matches parentheses and finds labels, passing over strings and comments.
  void Scan() {
    std::vector<size_t> open;
    size_t n = t_.size();
    for (size_t i = 0; i < n; ++i) {
      char c = t_[i];
      if (c == '#') {
        while (i < n && t_[i] != '\n') ++i;
      } else if (c == '"') {
        for (++i; i < n && t_[i] != '"'; ++i)
          if (t_[i] == '\\') ++i;
      } else if (c == '(') {
        open.push_back(i);
      } else if (c == ')') {
        if (!open.empty()) {
          close_[open.back()] = i;
          open.pop_back();
        }
      } else if (IsIdentStart(c) && (i == 0 || IsDelimiter(t_[i - 1]))) {
        size_t j = i;
        while (j < n && IsIdent(t_[j])) ++j;
        if (j + 1 < n && t_[j] == ':' && IsSpace(t_[j + 1])) labels_.emplace(t_.substr(i, j - i), i);
        i = j - 1;
      }
    }
  }

  ClassInfo* Lookup(std::string_view name) { return FindClassByNameNoCase(name); }

  size_t Skip(size_t p, size_t limit) const {
    while (p < limit) {
      char c = t_[p];
      if (IsSpace(c) || c == ',') {
        ++p;
      } else if (c == '#') {
        while (p < limit && t_[p] != '\n') ++p;
      } else {
        break;
      }
    }
    return p;
  }

  std::string Token() {
    size_t p = Skip(pos_, end_);
    size_t q = p;
    while (q < end_ && !IsDelimiter(t_[q])) ++q;
    if (q == p) {
      if (q >= end_) FailRead(kQ3ErrorReadMoreThanSize, "an object's data ends before a value");
      FailRead(kQ3ErrorInvalidMetafilePrimitive, "a value is missing before a delimiter");
    }
    pos_ = q;
    return t_.substr(p, q - p);
  }

  static bool ParseIntegerText(const std::string& tok, std::int64_t& v) {
    const char* b = tok.data();
    const char* e = b + tok.size();
    bool negative = false;
    if (b < e && (*b == '-' || *b == '+')) negative = *b++ == '-';
    int base = 10;
    if (e - b > 2 && b[0] == '0' && (b[1] == 'x' || b[1] == 'X')) {
      base = 16;
      b += 2;
    }
    std::uint64_t u = 0;
    auto r = std::from_chars(b, e, u, base);
    if (r.ec != std::errc() || r.ptr != e || b == e || u > (std::uint64_t(1) << 40)) return false;
    v = negative ? -std::int64_t(u) : std::int64_t(u);
    return true;
  }

  std::int64_t ParseInteger(const std::string& tok) {
    std::int64_t v;
    if (!ParseIntegerText(tok, v)) FailRead(kQ3ErrorInvalidMetafilePrimitive, "a number is not an integer");
    return v;
  }
  std::int64_t Integer() { return ParseInteger(Token()); }
  std::int64_t Ranged(std::int64_t low, std::int64_t high) {
    std::int64_t v = Integer();
    if (v < low || v > high) FailRead(kQ3ErrorInvalidMetafilePrimitive, "a number is out of range");
    return v;
  }

  template <class T>
  T Number() {
    std::string tok = Token();
    const char* b = tok.data();
    const char* e = b + tok.size();
    if (b < e && *b == '+') ++b;
    T v{};
    auto r = std::from_chars(b, e, v);
    if (r.ec == std::errc::result_out_of_range && sizeof(T) < sizeof(double)) {
      // Too small for a float is nearly zero; too large for one is an error.
      double d = 0;
      r = std::from_chars(b, e, d);
      v = T(d);
      if (r.ec == std::errc() && std::isinf(v)) r.ec = std::errc::result_out_of_range;
    }
    if (r.ec != std::errc() || r.ptr != e) FailRead(kQ3ErrorInvalidMetafilePrimitive, "a number is not a real number");
    return v;
  }

  TQ3Uns32 ValueOf(const std::string& tok, const EnumName* names) {
    for (const EnumName* n = names; n && n->name; ++n)
      if (SameWord(tok, n->name)) return n->value;
    std::int64_t v;
    if (ParseIntegerText(tok, v) && v >= 0 && v <= std::int64_t(UINT32_MAX)) return TQ3Uns32(v);
    FailRead(kQ3ErrorInvalidMetafilePrimitive, "a word names no value of its kind");
  }

  std::string t_;
  std::unordered_map<size_t, size_t> close_;
  std::unordered_map<std::string, size_t> labels_;
};

class TextWriter final : public Writer {
 public:
  explicit TextWriter(bool stream) : stream_(stream) {}

  bool IsText() const override { return true; }

  size_t BeginObject(TQ3ObjectType, std::string_view name) override {
    size_t pos = Line();
    out_ += name;
    out_ += " (";
    ++indent_;
    ++objects_;
    ++opened_;
    return pos;
  }
  void EndObject() override {
    --indent_;
    --objects_;
    --opened_;
    Close(" )");
  }
  size_t BeginContainer() override { return Open(std::string(format::kTextContainer) + " ("); }
  void EndContainer() override { CloseOnLine(); }
  size_t BeginGroup() override { return Open(std::string(format::kTextBeginGroup) + " ("); }
  void EndGroupHead() override { CloseOnLine(); }
  void EndGroup() override {
    Line();
    out_ += std::string(format::kTextEndGroup) + " ( )";
  }
  void Reference(TQ3Uns32 refID) override {
    Line();
    out_ += std::string(format::kTextReference) + " ( " + std::to_string(refID) + " )";
  }
  size_t ObjectDataSize() const override { return 0; }
  int OpenObjects() const override { return objects_; }

  void U32(TQ3Uns32 v) override { Token(std::to_string(v)); }
  void I32(TQ3Int32 v) override { Token(std::to_string(v)); }
  void U16(TQ3Uns16 v) override { Token(std::to_string(v)); }
  void I16(TQ3Int16 v) override { Token(std::to_string(v)); }
  void U8(TQ3Uns8 v) override { Token(std::to_string(v)); }
  void I8(TQ3Int8 v) override { Token(std::to_string(v)); }
  void F32(float v) override {
    char buf[48];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    Token(std::string_view(buf, size_t(r.ptr - buf)));
  }
  void F64(double v) override {
    char buf[48];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    Token(std::string_view(buf, size_t(r.ptr - buf)));
  }
  void String(std::string_view s) override {
    std::string q = "\"";
    for (char c : s) {
      auto u = TQ3Uns8(c);
      if (c == '"' || c == '\\') {
        q += '\\';
        q += c;
      } else if (c == '\n') {
        q += "\\n";
      } else if (c == '\r') {
        q += "\\r";
      } else if (c == '\t') {
        q += "\\t";
      } else if (u < 0x20 || u == 0x7F) {
        static const char kHex[] = "0123456789ABCDEF";
        q += "\\x";
        q += kHex[u >> 4];
        q += kHex[u & 15];
      } else {
        q += c;
      }
    }
    q += '"';
    Token(q);
  }
  void Raw(const TQ3Uns8* data, size_t size) override {
    static const char kHex[] = "0123456789ABCDEF";
    for (size_t at = 0; at < size; at += 32) {
      if (at) NewLine();
      std::string tok = "0x";
      for (size_t i = at; i < size && i < at + 32; ++i) {
        tok += kHex[data[i] >> 4];
        tok += kHex[data[i] & 15];
      }
      Token(tok);
    }
  }
  void Enum(TQ3Uns32 value, const EnumName* names) override {
    for (const EnumName* n = names; n && n->name; ++n)
      if (n->value == value) return Token(n->name);
    U32(value);
  }
  void Flags(TQ3Uns32 value, const EnumName* names) override {
    std::string s;
    TQ3Uns32 left = value;
    for (const EnumName* n = names; n && n->name; ++n) {
      if (!n->value || (left & n->value) != n->value) continue;
      if (!s.empty()) s += " | ";
      s += n->name;
      left &= ~n->value;
    }
    if (left || s.empty()) {
      if (!left && names && names->name && names->value == 0)
        s = names->name;
      else
        s += (s.empty() ? "" : " | ") + std::to_string(left);
    }
    Token(s);
  }
  void Boolean(bool value) override { Token(value ? "True" : "False"); }
  void Comment(std::string_view text) override {
    std::string line(text);
    std::replace(line.begin(), line.end(), '\n', ' ');
    out_ += " # ";
    out_ += line;
    NewLine();
  }
  void NewLine() override {
    out_ += '\n';
    out_.append(size_t(indent_), '\t');
  }
  void Verbatim(std::string_view text) override { out_ += text; }

  TQ3ObjectType TypeCode(const ClassInfo* cls) override { return cls->type; }
  TQ3ObjectType TypeCodeForName(TQ3ObjectType fileType, std::string_view) override { return fileType; }

  std::vector<TQ3Uns8> Finish(const std::vector<TocItem>& toc) override {
    // Whatever was cut short by a failure is closed so the file stays well formed.
    for (; opened_ > 0; --opened_) CloseOnLine();
    std::map<size_t, std::string> labels;
    for (const TocItem& item : toc) labels[item.position] = LabelName(item);
    std::string file = std::string(format::kTextHeader) + " ( " + std::to_string(format::kMajorVersion) + " " +
                       std::to_string(format::kMinorVersion) + " ";
    file += stream_ ? "Stream " : "Normal ";
    file += toc.empty() ? "NULL" : "toc>";
    file += " )\n";
    size_t from = 0;
    for (const auto& [pos, label] : labels) {
      file.append(out_, from, pos - from);
      file += label + ": ";
      from = pos;
    }
    file.append(out_, from, std::string::npos);
    if (!toc.empty()) {
      TQ3Uns32 seed = 1;
      for (const TocItem& item : toc) seed = std::max(seed, item.refID + 1);
      file += "\ntoc: " + std::string(format::kTextTableOfContents) + " (\n\tNULL # next table\n\t";
      file += std::to_string(seed);
      file += " -1 0 " + std::to_string(format::kTocShortEntrySize) + " ";
      file += std::to_string(toc.size());
      file += " # seeds, entry kind and size, entries\n";
      for (const TocItem& item : toc) {
        file += '\t';
        file += std::to_string(item.refID);
        file += ' ';
        file += labels[item.position];
        file += ">\n";
      }
      file += ")";
    }
    file += '\n';
    return std::vector<TQ3Uns8>(file.begin(), file.end());
  }

 private:
  static std::string LabelName(const TocItem& item) {
    std::string s;
    for (char c : item.name)
      if (std::isalnum(TQ3Uns8(c))) s += char(std::tolower(TQ3Uns8(c)));
    if (s.empty() || !IsIdentStart(s[0])) s = "object" + s;
    return s + std::to_string(item.refID);
  }

  // Starts a new line at the current indentation; answers where its text begins.
  size_t Line() {
    if (!out_.empty() && out_.back() != '\n') {
      while (!out_.empty() && (out_.back() == '\t' || out_.back() == ' ')) out_.pop_back();
      if (!out_.empty() && out_.back() != '\n') out_ += '\n';
    }
    out_.append(size_t(indent_), '\t');
    return out_.size();
  }
  size_t Open(std::string_view text) {
    size_t pos = Line();
    out_ += text;
    ++indent_;
    ++opened_;
    return pos;
  }
  void CloseOnLine() {
    --indent_;
    --opened_;
    Line();
    out_ += ")";
  }
  void Close(const char* text) {
    while (!out_.empty() && (out_.back() == '\t' || out_.back() == ' ')) out_.pop_back();
    if (!out_.empty() && out_.back() == '\n') {
      out_.append(size_t(indent_), '\t');
      out_ += ")";
    } else {
      out_ += text;
    }
  }
  void Token(std::string_view s) {
    char last = out_.empty() ? '\n' : out_.back();
    if (last != ' ' && last != '\t' && last != '\n') out_ += ' ';
    out_ += s;
  }

  std::string out_;
  int indent_ = 0;
  int objects_ = 0;
  int opened_ = 0;
  bool stream_;
};

}  // namespace

std::unique_ptr<Reader> NewTextReader(std::vector<TQ3Uns8> bytes) {
  return std::make_unique<TextReader>(std::move(bytes));
}

std::unique_ptr<Writer> NewTextWriter(bool stream) { return std::make_unique<TextWriter>(stream); }

}  // namespace q3d
