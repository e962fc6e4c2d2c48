#include "Compiler.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <optional>
#include <sstream>

#include "ByteReader.h"
#include "PString.h"
#include "ResourceForkFormat.h"
#include "ResourceLayouts.h"

namespace rescomp {

namespace {

using Bytes = std::vector<unsigned char>;

struct Failure {
  int line;
  std::string message;
};

struct Token {
  enum Kind { kEnd, kString, kType, kNumber, kVersion, kWord, kOpen, kClose } kind = kEnd;
  std::string text;  // words, versions; Mac Roman bytes of a string; the four bytes of a type
  long long number = 0;
  int line = 1;
};

const char* KindName(Token::Kind kind) {
  switch (kind) {
    case Token::kEnd:
      return "end of file";
    case Token::kString:
      return "a string";
    case Token::kType:
      return "a resource type";
    case Token::kNumber:
      return "a number";
    case Token::kVersion:
      return "a version number";
    case Token::kWord:
      return "a word";
    case Token::kOpen:
      return "'{'";
    case Token::kClose:
      return "'}'";
  }
  return "?";
}

std::string Describe(const Token& t) {
  switch (t.kind) {
    case Token::kWord:
    case Token::kVersion:
      return "'" + t.text + "'";
    case Token::kNumber:
      return std::to_string(t.number);
    case Token::kString:
      return "a string";
    default:
      return KindName(t.kind);
  }
}

// UTF-8 text to Mac Roman; a character without a Mac Roman form is an error.
std::string ToMacRoman(const std::string& utf8, int line) {
  std::string mac = Utf8ToMacRoman(utf8);
  if (MacRomanToUtf8(mac) != utf8)
    throw Failure{line, "text \"" + utf8 + "\" has a character that Mac Roman cannot hold"};
  return mac;
}

class Lexer {
 public:
  explicit Lexer(const std::string& text) : text_(text) {}

  int line() const { return peeked_ ? peek_.line : line_; }

  const Token& Peek() {
    if (!peeked_) {
      peek_ = Read();
      peeked_ = true;
    }
    return peek_;
  }

  Token Next() {
    Peek();
    peeked_ = false;
    return peek_;
  }

  // A braced block of hexadecimal digits (white space and comments allowed between them).
  Bytes HexBlock() {
    Token open = Next();
    if (open.kind != Token::kOpen) throw Failure{open.line, "expected '{' to start hex data"};
    Bytes out;
    int nibbles = 0;
    unsigned value = 0;
    for (;;) {
      SkipSpace();
      if (pos_ >= text_.size()) throw Failure{open.line, "hex data not closed with '}'"};
      char c = text_[pos_++];
      if (c == '}') break;
      int digit = HexDigit(c);
      if (digit < 0) throw Failure{line_, std::string("'") + c + "' is not a hex digit"};
      value = (value << 4) | unsigned(digit);
      if (++nibbles == 2) {
        out.push_back(static_cast<unsigned char>(value));
        nibbles = 0;
        value = 0;
      }
    }
    if (nibbles) throw Failure{line_, "hex data has an odd number of digits"};
    return out;
  }

 private:
  static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  void SkipSpace() {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '#') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  Token Read() {
    SkipSpace();
    Token t;
    t.line = line_;
    if (pos_ >= text_.size()) return t;
    char c = text_[pos_];
    if (c == '{' || c == '}') {
      ++pos_;
      t.kind = c == '{' ? Token::kOpen : Token::kClose;
      return t;
    }
    if (c == '"') return ReadString(t);
    if (c == '\'') return ReadType(t);
    if (c == '-' || (c >= '0' && c <= '9')) return ReadNumber(t);
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      t.kind = Token::kWord;
      while (pos_ < text_.size() &&
             (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
        t.text += text_[pos_++];
      return t;
    }
    throw Failure{line_, std::string("unexpected character '") + c + "'"};
  }

  Token ReadString(Token t) {
    t.kind = Token::kString;
    ++pos_;
    std::string utf8;  // pending UTF-8 text, converted before each raw byte and at the end
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') throw Failure{t.line, "string not closed with '\"'"};
      char c = text_[pos_++];
      if (c == '"') break;
      if (c != '\\') {
        utf8 += c;
        continue;
      }
      if (pos_ >= text_.size()) throw Failure{t.line, "string not closed with '\"'"};
      char e = text_[pos_++];
      switch (e) {
        case 'n':
        case 'r':
          utf8 += '\r';
          break;  // a line end is a carriage return in Mac text
        case 't':
          utf8 += '\t';
          break;
        case '"':
          utf8 += '"';
          break;
        case '\\':
          utf8 += '\\';
          break;
        case 'x': {
          int hi = pos_ < text_.size() ? HexDigit(text_[pos_]) : -1;
          int lo = pos_ + 1 < text_.size() ? HexDigit(text_[pos_ + 1]) : -1;
          if (hi < 0 || lo < 0) throw Failure{line_, "\\x needs two hex digits"};
          pos_ += 2;
          t.text += ToMacRoman(utf8, t.line);
          utf8.clear();
          t.text += char(hi * 16 + lo);
          break;
        }
        default:
          throw Failure{line_, std::string("unknown escape '\\") + e + "' in string"};
      }
    }
    t.text += ToMacRoman(utf8, t.line);
    return t;
  }

  Token ReadType(Token t) {
    t.kind = Token::kType;
    std::size_t close = text_.find('\'', pos_ + 1);
    std::size_t end = text_.find('\n', pos_ + 1);
    if (close == std::string::npos || close > end)
      throw Failure{t.line, "resource type not closed with \"'\""};
    std::string inner = text_.substr(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    t.text = ToMacRoman(inner, t.line);
    if (t.text.size() != 4) throw Failure{t.line, "resource type '" + inner + "' is not four characters"};
    return t;
  }

  Token ReadNumber(Token t) {
    std::size_t start = pos_;
    if (text_[pos_] == '-') ++pos_;
    bool hex = text_.compare(pos_, 2, "0x") == 0 || text_.compare(pos_, 2, "0X") == 0;
    if (hex) pos_ += 2;
    std::size_t digits = pos_;
    while (pos_ < text_.size() &&
           (hex ? HexDigit(text_[pos_]) >= 0 : std::isdigit(static_cast<unsigned char>(text_[pos_])) != 0))
      ++pos_;
    if (pos_ == digits)
      throw Failure{t.line, "'" + text_.substr(start, pos_ - start + 1) + "' is not a number"};
    if (!hex && pos_ < text_.size() && text_[pos_] == '.' && text_[start] != '-') {
      // A version number such as 1.0.2.
      while (pos_ < text_.size() &&
             (text_[pos_] == '.' || std::isdigit(static_cast<unsigned char>(text_[pos_]))))
        ++pos_;
      t.kind = Token::kVersion;
      t.text = text_.substr(start, pos_ - start);
      return t;
    }
    if (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
      throw Failure{t.line, "'" + text_.substr(start, pos_ - start + 1) + "' is not a number"};
    t.kind = Token::kNumber;
    std::string s = text_.substr(start, pos_ - start);
    errno = 0;
    t.number = std::strtoll(s.c_str(), nullptr, hex ? 16 : 10);
    if (errno == ERANGE) throw Failure{t.line, "number " + s + " is too large"};
    t.text = s;
    return t;
  }

  const std::string& text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  Token peek_;
  bool peeked_ = false;
};

struct Output {
  ResType type;
  SInt16 id;
  std::string name;
  Bytes bytes;
  int line;
};

std::string TypeText(ResType type) {
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8) s += char((type >> shift) & 0xFF);
  return MacRomanToUtf8(s);
}

class Parser {
 public:
  Parser(const std::string& text, const std::string& fileName) : lex_(text), fileName_(fileName) {}

  std::vector<Output> Run() {
    std::vector<Output> out;
    while (lex_.Peek().kind != Token::kEnd) {
      Token word = lex_.Next();
      if (word.kind != Token::kWord || word.text != "resource")
        throw Failure{word.line, "expected 'resource', found " + Describe(word)};
      Token type = Expect(Token::kType, "after 'resource'");
      ResType code = 0;
      for (unsigned char c : type.text) code = (code << 8) | c;
      SInt16 id = SInt16(Number(-32768, 32767, "resource id"));
      std::string name;
      if (lex_.Peek().kind == Token::kString) {
        name = lex_.Next().text;
        if (name.size() > 255) throw Failure{type.line, "resource name longer than 255 characters"};
      }
      type_ = code;
      id_ = id;
      extra_.clear();
      Bytes bytes = Body(code);
      out.push_back(Output{code, id, name, std::move(bytes), type.line});
      for (Output& o : extra_) out.push_back(std::move(o));
    }
    return out;
  }

 private:
  Token Expect(Token::Kind kind, const std::string& where) {
    Token t = lex_.Next();
    if (t.kind != kind)
      throw Failure{t.line,
                    std::string("expected ") + KindName(kind) + " " + where + ", found " + Describe(t)};
    return t;
  }

  long long Number(long long lo, long long hi, const std::string& what) {
    Token t = Expect(Token::kNumber, "for the " + what);
    if (t.number < lo || t.number > hi)
      throw Failure{t.line,
                    what + " " + t.text + " is outside " + std::to_string(lo) + " to " + std::to_string(hi)};
    return t.number;
  }

  std::string String(const std::string& what, std::size_t maxLength = 255) {
    Token t = Expect(Token::kString, "for the " + what);
    if (t.text.size() > maxLength)
      throw Failure{t.line, what + " is longer than " + std::to_string(maxLength) + " characters"};
    return t.text;
  }

  void Open() { Expect(Token::kOpen, "to start the body of '" + TypeText(type_) + "'"); }

  bool AtClose() {
    if (lex_.Peek().kind == Token::kEnd)
      throw Failure{lex_.line(), "body of '" + TypeText(type_) + "' not closed with '}'"};
    if (lex_.Peek().kind != Token::kClose) return false;
    lex_.Next();
    return true;
  }

  // The next keyword of a body, or an error naming the ones allowed.
  std::string Keyword(const char* allowed) {
    Token t = lex_.Next();
    if (t.kind != Token::kWord)
      throw Failure{t.line, "expected one of " + std::string(allowed) + " in '" + TypeText(type_) +
                                "', found " + Describe(t)};
    return t.text;
  }

  [[noreturn]] void Unknown(const std::string& word, const char* allowed) {
    throw Failure{lex_.line(),
                  "unknown word '" + word + "' in '" + TypeText(type_) + "' (allowed: " + allowed + ")"};
  }

  Rect ReadBounds() {
    Rect r;
    r.top = SInt16(Number(-32768, 32767, "top"));
    r.left = SInt16(Number(-32768, 32767, "left"));
    r.bottom = SInt16(Number(-32768, 32767, "bottom"));
    r.right = SInt16(Number(-32768, 32767, "right"));
    return r;
  }

  Bytes ReadFileBytes(const std::string& relative, int line) {
    std::string path = relative;
    if (!relative.empty() && relative[0] != '/') {
      std::size_t slash = fileName_.find_last_of('/');
      if (slash != std::string::npos) path = fileName_.substr(0, slash + 1) + relative;
    }
    // Only a plain file, and no more than a resource file can hold: a device or a pipe named here
    // could be read for ever.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
      throw Failure{line, "\"" + path + "\" is not a file"};
    if (!ec && std::filesystem::is_regular_file(status) &&
        std::filesystem::file_size(path, ec) > vlres::format::kMaxDataOffset)
      throw Failure{line, "\"" + path + "\" is larger than a resource file can hold"};
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure{line, "cannot read file \"" + path + "\""};
    std::ostringstream s;
    s << in.rdbuf();
    std::string data = s.str();
    return Bytes(data.begin(), data.end());
  }

  Bytes Body(ResType type) {
    const Token& next = lex_.Peek();
    if (next.kind == Token::kWord && next.text == "hex") {
      lex_.Next();
      return lex_.HexBlock();
    }
    if (next.kind == Token::kWord && next.text == "file") {
      int line = lex_.Next().line;
      return ReadFileBytes(MacRomanToUtf8(String("file name", 4096)), line);
    }
    switch (type) {
      case FourCC("STR#"):
        return StringList();
      case FourCC("STR "):
        return SingleString();
      case FourCC("TEXT"):
        return Text();
      case FourCC("ALRT"):
        return Alert();
      case FourCC("DITL"):
        return ItemList();
      case FourCC("DLOG"):
        return Dialog();
      case FourCC("WIND"):
        return Window();
      case FourCC("WDLG"):
        return WinDialog();
      case FourCC("MENU"):
        return Menu();
      case FourCC("CURS"):
        return Cursor();
      case FourCC("ICON"):
        return Icon();
      case FourCC("ICN#"):
        return IconList();
      case FourCC("vers"):
        return Version();
      default:
        throw Failure{next.line,
                      "type '" + TypeText(type) + "' has no typed body: give hex { ... } or file \"name\""};
    }
  }

  Bytes StringList() {
    Open();
    std::vector<std::string> strings;
    while (!AtClose()) strings.push_back(String("string"));
    if (strings.size() > vlres::layout::kMaxStringListCount) throw Failure{lex_.line(), "more than 65535 strings"};
    vlcore::ByteWriter w;
    w.U16(unsigned(strings.size()));
    for (const std::string& s : strings) w.PString(s);
    return std::move(w.bytes());
  }

  Bytes SingleString() {
    Open();
    vlcore::ByteWriter w;
    w.PString(String("string"));
    if (!AtClose()) throw Failure{lex_.line(), "'STR ' holds one string"};
    return std::move(w.bytes());
  }

  Bytes Text() {
    Open();
    Bytes out;
    while (!AtClose()) {
      if (lex_.Peek().kind == Token::kString) {
        std::string s = lex_.Next().text;
        out.insert(out.end(), s.begin(), s.end());
        continue;
      }
      std::string word = Keyword("a string or include");
      if (word != "include") Unknown(word, "a string, include \"file\"");
      int line = lex_.line();
      Bytes raw = ReadFileBytes(MacRomanToUtf8(String("file name", 4096)), line);
      // A UTF-8 text file with Unix line ends becomes Mac Roman with carriage returns.
      std::string text = ToMacRoman(std::string(raw.begin(), raw.end()), line);
      for (char c : text) out.push_back(static_cast<unsigned char>(c == '\n' ? '\r' : c));
    }
    return out;
  }

  // Items of a 'DITL' up to and including its closing brace.
  Bytes Items() {
    std::vector<Bytes> items;
    static const std::map<std::string, UInt8> kinds = {
        {"user", vlres::kUserItem},         {"button", vlres::kButtonItem},
        {"checkbox", vlres::kCheckBoxItem}, {"radio", vlres::kRadioButtonItem},
        {"control", vlres::kControlItem},   {"statictext", vlres::kStaticTextItem},
        {"edittext", vlres::kEditTextItem}, {"icon", vlres::kIconItem},
        {"picture", vlres::kPictureItem}};
    const char* allowed = "button, checkbox, radio, statictext, edittext, control, icon, picture, user";
    while (!AtClose()) {
      std::string word = Keyword(allowed);
      auto kind = kinds.find(word);
      if (kind == kinds.end()) Unknown(word, allowed);
      Rect bounds = ReadBounds();
      vlcore::ByteWriter data;
      switch (kind->second) {
        case vlres::kUserItem:
          break;
        case vlres::kControlItem:
        case vlres::kIconItem:
        case vlres::kPictureItem:
          data.U16(UInt16(Number(-32768, 32767, "resource id of the item")));
          break;
        default: {
          std::string text = String("item text");
          data.Bytes(text.data(), text.size());
        }
      }
      UInt8 type = kind->second;
      while (lex_.Peek().kind == Token::kWord &&
             (lex_.Peek().text == "disabled" || lex_.Peek().text == "enabled"))
        type = lex_.Next().text == "disabled" ? UInt8(type | vlres::kItemDisableBit)
                                              : UInt8(type & ~vlres::kItemDisableBit);
      vlcore::ByteWriter item;
      item.Zeros(vlres::layout::kItemReservedSize);
      item.WriteRect(bounds);
      item.U8(type);
      item.U8(unsigned(data.size()));
      item.Bytes(data.bytes().data(), data.size());
      item.AlignEven();
      items.push_back(std::move(item.bytes()));
    }
    if (items.empty()) throw Failure{lex_.line(), "an item list needs at least one item"};
    if (items.size() > vlres::layout::kMaxItemCount) throw Failure{lex_.line(), "too many items"};
    vlcore::ByteWriter w;
    w.U16(unsigned(items.size() - 1));
    for (const Bytes& b : items) w.Bytes(b.data(), b.size());
    return std::move(w.bytes());
  }

  Bytes ItemList() {
    Open();
    return Items();
  }

  // `items N` names an item list; `items { ... }` gives one inline, stored as a 'DITL' with the
  // id of the resource being compiled.
  SInt16 ItemsClause() {
    if (lex_.Peek().kind == Token::kOpen) {
      int line = lex_.Next().line;
      extra_.push_back(Output{FourCC("DITL"), id_, std::string(), Items(), line});
      return id_;
    }
    return SInt16(Number(-32768, 32767, "item list id"));
  }

  Bytes Alert() {
    Open();
    std::optional<Rect> bounds;
    std::optional<SInt16> items;
    UInt16 stages = vlres::layout::kDefaultAlertStages;
    const char* allowed = "bounds, items, stages";
    while (!AtClose()) {
      std::string word = Keyword(allowed);
      if (word == "bounds")
        bounds = ReadBounds();
      else if (word == "items")
        items = ItemsClause();
      else if (word == "stages")
        stages = UInt16(Number(0, 0xFFFF, "stages"));
      else
        Unknown(word, allowed);
    }
    Require(bounds.has_value(), "bounds");
    Require(items.has_value(), "items");
    vlcore::ByteWriter w;
    w.WriteRect(*bounds);
    w.U16(UInt16(*items));
    w.U16(stages);
    return std::move(w.bytes());
  }

  void Require(bool present, const char* what) {
    if (!present)
      throw Failure{lex_.line(), "'" + TypeText(type_) + "' " + std::to_string(id_) + " needs " + what};
  }

  struct WindowFields {
    std::optional<Rect> bounds;
    SInt16 proc = 0;
    bool visible = true;
    bool goAway = false;
    SInt32 refCon = 0;
    std::string title;
    std::optional<SInt16> items;
  };

  WindowFields WindowBody(bool dialog) {
    Open();
    WindowFields f;
    const char* allowed = dialog ? "bounds, proc, visible, invisible, goaway, nogoaway, refcon, title, items"
                                 : "bounds, proc, visible, invisible, goaway, nogoaway, refcon, title";
    while (!AtClose()) {
      std::string word = Keyword(allowed);
      if (word == "bounds")
        f.bounds = ReadBounds();
      else if (word == "proc")
        f.proc = SInt16(Number(-32768, 32767, "window kind"));
      else if (word == "visible" || word == "invisible")
        f.visible = word == "visible";
      else if (word == "goaway" || word == "nogoaway")
        f.goAway = word == "goaway";
      else if (word == "refcon")
        f.refCon =
            SInt32(Number(std::numeric_limits<SInt32>::min(), std::numeric_limits<SInt32>::max(), "refcon"));
      else if (word == "title")
        f.title = String("title");
      else if (dialog && word == "items")
        f.items = ItemsClause();
      else
        Unknown(word, allowed);
    }
    Require(f.bounds.has_value(), "bounds");
    if (dialog) Require(f.items.has_value(), "items");
    return f;
  }

  Bytes WindowBytes(const WindowFields& f, bool dialog) {
    vlcore::ByteWriter w;
    w.WriteRect(*f.bounds);
    w.U16(UInt16(f.proc));
    w.U8(f.visible);
    w.U8(0);
    w.U8(f.goAway);
    w.U8(0);
    w.U32(UInt32(f.refCon));
    if (dialog) w.U16(UInt16(*f.items));
    w.PString(f.title);
    w.AlignEven();
    return std::move(w.bytes());
  }

  Bytes Dialog() { return WindowBytes(WindowBody(true), true); }

  // A Windows-style dialog template: `size W H`, `title "..."` and `items { KIND ID X Y W H
  // [BUDDY] ["text"] ... }`, all in dialog units.
  Bytes WinDialog() {
    Open();
    std::optional<std::pair<UInt16, UInt16>> size;
    std::string title;
    std::optional<Bytes> items;
    const char* allowed = "size, title, items";
    while (!AtClose()) {
      std::string word = Keyword(allowed);
      if (word == "size") {
        UInt16 width = UInt16(Number(1, 0x7FFF, "width"));
        size = std::make_pair(width, UInt16(Number(1, 0x7FFF, "height")));
      } else if (word == "title") {
        title = String("title");
      } else if (word == "items") {
        items = WinItems();
      } else {
        Unknown(word, allowed);
      }
    }
    Require(size.has_value(), "size");
    Require(items.has_value(), "items");
    vlcore::ByteWriter w;
    w.U16(size->first);
    w.U16(size->second);
    w.PString(title);
    w.Bytes(items->data(), items->size());
    return std::move(w.bytes());
  }

  Bytes WinItems() {
    Open();
    namespace L = vlres::layout;
    static const std::map<std::string, UInt8> kinds = {
        {"defbutton", L::kWinDefaultButton}, {"button", L::kWinPushButton}, {"radio", L::kWinAutoRadio},
        {"number", L::kWinNumberEdit},       {"updown", L::kWinUpDown},     {"dropdown", L::kWinDropDownList},
        {"group", L::kWinGroupBox},          {"text", L::kWinStaticText}};
    const char* allowed = "defbutton, button, radio, number, updown, dropdown, group, text";
    std::size_t count = 0;
    vlcore::ByteWriter list;
    while (!AtClose()) {
      std::string word = Keyword(allowed);
      auto kind = kinds.find(word);
      if (kind == kinds.end()) Unknown(word, allowed);
      list.U8(kind->second);
      list.U16(UInt16(Number(-32768, 32767, "control id")));
      for (const char* what : {"x", "y", "width", "height"}) list.U16(UInt16(Number(-32768, 32767, what)));
      list.U16(kind->second == L::kWinUpDown ? UInt16(Number(-32768, 32767, "buddy id")) : 0);
      bool hasText = lex_.Peek().kind == Token::kString;
      list.PString(hasText ? String("item text") : std::string());
      ++count;
    }
    if (count == 0) throw Failure{lex_.line(), "a dialog template needs at least one item"};
    if (count > L::kMaxWinItemCount) throw Failure{lex_.line(), "too many items"};
    vlcore::ByteWriter w;
    w.U16(unsigned(count));
    w.Bytes(list.bytes().data(), list.size());
    return std::move(w.bytes());
  }
  Bytes Window() { return WindowBytes(WindowBody(false), false); }

  UInt8 OneCharacter(const std::string& what) {
    std::string s = String(what);
    if (s.size() != 1) throw Failure{lex_.line(), what + " must be one character"};
    return UInt8(s[0]);
  }

  Bytes Menu() {
    Open();
    std::string title;
    SInt16 proc = 0;
    bool enabled = true;
    std::vector<vlres::MenuItemData> items;
    static const std::map<std::string, UInt8> styles = {{"bold", 1},    {"italic", 2},  {"underline", 4},
                                                        {"outline", 8}, {"shadow", 16}, {"condense", 32},
                                                        {"extend", 64}};
    const char* allowed = "title, proc, disabled, item, separator";
    const char* itemAllowed = "key, icon, mark, style, disabled, or the next item";
    while (!AtClose()) {
      std::string word = Keyword(allowed);
      if (word == "title") {
        title = String("menu title");
      } else if (word == "proc") {
        proc = SInt16(Number(-32768, 32767, "menu definition id"));
      } else if (word == "disabled") {
        enabled = false;
      } else if (word == "separator") {
        vlres::MenuItemData item;
        item.text = "-";
        item.enabled = false;
        items.push_back(item);
      } else if (word == "item") {
        vlres::MenuItemData item;
        item.text = String("item text");
        if (item.text.empty()) throw Failure{lex_.line(), "a menu item needs text"};
        while (lex_.Peek().kind == Token::kWord) {
          const std::string& option = lex_.Peek().text;
          if (option == "item" || option == "separator" || option == "title" || option == "proc") break;
          lex_.Next();
          if (option == "key")
            item.keyEquivalent = OneCharacter("key");
          else if (option == "icon")
            item.icon = UInt8(Number(0, 255, "icon number"));
          else if (option == "mark")
            item.mark = OneCharacter("mark");
          else if (option == "disabled")
            item.enabled = false;
          else if (option == "style") {
            while (lex_.Peek().kind == Token::kWord && styles.count(lex_.Peek().text))
              item.style |= styles.at(lex_.Next().text);
          } else
            Unknown(option, itemAllowed);
        }
        items.push_back(item);
      } else {
        Unknown(word, allowed);
      }
    }
    UInt32 flags = enabled ? 1 : 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (i + 1 <= std::size_t(vlres::layout::kMaxFlaggedMenuItems)) {
        if (items[i].enabled) flags |= UInt32(1) << (i + 1);
      } else if (!items[i].enabled && items[i].text != "-") {
        throw Failure{lex_.line(), "only the first 31 items of a menu can be disabled"};
      }
    }
    vlcore::ByteWriter w;
    w.U16(UInt16(id_));
    w.U16(0);
    w.U16(0);
    w.U16(UInt16(proc));
    w.U16(0);
    w.U32(flags);
    w.PString(title);
    for (const auto& item : items) {
      w.PString(item.text);
      w.U8(item.icon);
      w.U8(item.keyEquivalent);
      w.U8(item.mark);
      w.U8(item.style);
    }
    w.U8(0);
    return std::move(w.bytes());
  }

  Bytes SizedHex(const std::string& what, std::size_t size) {
    Bytes b = lex_.HexBlock();
    if (b.size() != size)
      throw Failure{lex_.line(),
                    what + " needs " + std::to_string(size) + " bytes, has " + std::to_string(b.size())};
    return b;
  }

  Bytes Cursor() {
    Open();
    std::optional<Bytes> data, mask;
    std::optional<Point> hotSpot;
    const char* allowed = "data, mask, hotspot";
    while (!AtClose()) {
      std::string word = Keyword(allowed);
      if (word == "data")
        data = SizedHex("cursor data", vlres::layout::kCursorBitsSize);
      else if (word == "mask")
        mask = SizedHex("cursor mask", vlres::layout::kCursorBitsSize);
      else if (word == "hotspot") {
        Point p;
        p.v = SInt16(Number(0, 15, "hot spot row"));
        p.h = SInt16(Number(0, 15, "hot spot column"));
        hotSpot = p;
      } else
        Unknown(word, allowed);
    }
    Require(data.has_value(), "data");
    Require(mask.has_value(), "mask");
    vlcore::ByteWriter w;
    w.Bytes(data->data(), data->size());
    w.Bytes(mask->data(), mask->size());
    w.U16(UInt16(hotSpot ? hotSpot->v : 0));
    w.U16(UInt16(hotSpot ? hotSpot->h : 0));
    return std::move(w.bytes());
  }

  Bytes Icon() {
    Open();
    std::optional<Bytes> data;
    while (!AtClose()) {
      std::string word = Keyword("data");
      if (word != "data") Unknown(word, "data");
      data = SizedHex("icon data", vlres::layout::kIconSize);
    }
    Require(data.has_value(), "data");
    return *data;
  }

  Bytes IconList() {
    Open();
    std::optional<Bytes> icon, mask;
    while (!AtClose()) {
      std::string word = Keyword("icon, mask");
      if (word == "icon")
        icon = SizedHex("icon", vlres::layout::kIconSize);
      else if (word == "mask")
        mask = SizedHex("icon mask", vlres::layout::kIconSize);
      else
        Unknown(word, "icon, mask");
    }
    Require(icon.has_value(), "icon");
    Require(mask.has_value(), "mask");
    Bytes out = *icon;
    out.insert(out.end(), mask->begin(), mask->end());
    return out;
  }

  Bytes Version() {
    Open();
    std::optional<std::vector<int>> numbers;
    UInt8 stage = vlres::layout::kStageRelease;
    UInt8 prerelease = 0;
    UInt16 region = 0;
    std::string shortText, longText;
    static const std::map<std::string, UInt8> stages = {{"development", vlres::layout::kStageDevelopment},
                                                        {"alpha", vlres::layout::kStageAlpha},
                                                        {"beta", vlres::layout::kStageBeta},
                                                        {"release", vlres::layout::kStageRelease}};
    const char* allowed = "version, stage, prerelease, region, short, long";
    while (!AtClose()) {
      std::string word = Keyword(allowed);
      if (word == "version") {
        Token t = lex_.Next();
        if (t.kind != Token::kVersion && t.kind != Token::kNumber)
          throw Failure{t.line, "expected a version number such as 1.0.2, found " + Describe(t)};
        std::vector<int> parts;
        std::stringstream s(t.text);
        std::string part;
        while (std::getline(s, part, '.')) parts.push_back(part.empty() ? -1 : std::atoi(part.c_str()));
        if (parts.size() > 3 || parts[0] < 0 || parts[0] > 99 ||
            (parts.size() > 1 && (parts[1] < 0 || parts[1] > 9)) ||
            (parts.size() > 2 && (parts[2] < 0 || parts[2] > 9)))
          throw Failure{t.line,
                        "version " + t.text + " must be major.minor.fix with major 0-99, minor and fix 0-9"};
        parts.resize(3, 0);
        numbers = parts;
      } else if (word == "stage") {
        std::string name = Keyword("development, alpha, beta, release");
        if (!stages.count(name)) Unknown(name, "development, alpha, beta, release");
        stage = stages.at(name);
      } else if (word == "prerelease") {
        prerelease = UInt8(Number(0, 255, "prerelease number"));
      } else if (word == "region") {
        region = UInt16(Number(0, 0xFFFF, "region code"));
      } else if (word == "short") {
        shortText = String("short version");
      } else if (word == "long") {
        longText = String("long version");
      } else {
        Unknown(word, allowed);
      }
    }
    Require(numbers.has_value(), "version");
    const std::vector<int>& n = *numbers;
    vlcore::ByteWriter w;
    w.U8(unsigned((n[0] / 10) << 4 | (n[0] % 10)));
    w.U8(unsigned(n[1] << 4 | n[2]));
    w.U8(stage);
    w.U8(prerelease);
    w.U16(region);
    w.PString(shortText);
    w.PString(longText);
    return std::move(w.bytes());
  }

  Lexer lex_;
  std::string fileName_;
  ResType type_ = 0;
  SInt16 id_ = 0;
  std::vector<Output> extra_;
};

std::string Location(const std::string& fileName, int line) {
  return fileName + ":" + std::to_string(line) + ": ";
}

}  // namespace

bool CompileSource(const std::string& text, const std::string& fileName,
                   std::vector<vlres::ResourceData>* out, std::string* error) {
  std::vector<Output> compiled;
  try {
    compiled = Parser(text, fileName).Run();
  } catch (const Failure& f) {
    *error = Location(fileName, f.line) + f.message;
    return false;
  }
  for (Output& o : compiled) {
    for (const vlres::ResourceData& r : *out)
      if (r.type == o.type && r.id == o.id) {
        *error = Location(fileName, o.line) + "resource '" + TypeText(o.type) + "' " + std::to_string(o.id) +
                 " is given twice";
        return false;
      }
    vlres::ResourceData r;
    r.type = o.type;
    r.id = o.id;
    r.name = std::move(o.name);
    r.bytes = std::move(o.bytes);
    out->push_back(std::move(r));
  }
  return true;
}

bool CompileFiles(const std::vector<std::string>& paths, std::vector<vlres::ResourceData>* out,
                  std::string* error) {
  for (const std::string& path : paths) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      *error = path + ": cannot read the file";
      return false;
    }
    std::ostringstream s;
    s << in.rdbuf();
    if (!CompileSource(s.str(), path, out, error)) return false;
  }
  return true;
}

std::string EmitCpp(const std::vector<vlres::ResourceData>& resources, const std::string& symbol) {
  std::string out;
  out += "// Generated by rescomp; do not edit.\n#include \"Resources.h\"\n\nnamespace {\n\n";
  auto array = [&](const std::string& name, const unsigned char* p, std::size_t n) {
    out += "const unsigned char " + name + "[] = {";
    for (std::size_t i = 0; i < n; ++i) {
      if (i % 16 == 0) out += "\n   ";
      char buf[8];
      std::snprintf(buf, sizeof buf, " %u,", unsigned(p[i]));
      out += buf;
    }
    if (n == 0) out += "0";
    out += "\n};\n";
  };
  for (std::size_t i = 0; i < resources.size(); ++i) {
    const vlres::ResourceData& r = resources[i];
    out += "// '" + TypeText(r.type) + "' " + std::to_string(r.id) + "\n";
    array("kData" + std::to_string(i), r.bytes.data(), r.bytes.size());
    if (!r.name.empty()) {
      std::vector<unsigned char> name;
      name.push_back(static_cast<unsigned char>(r.name.size()));
      name.insert(name.end(), r.name.begin(), r.name.end());
      array("kName" + std::to_string(i), name.data(), name.size());
    }
  }
  out += "\nconst vlres::CompiledResource kTable[] = {\n";
  for (std::size_t i = 0; i < resources.size(); ++i) {
    const vlres::ResourceData& r = resources[i];
    char buf[160];
    std::snprintf(buf, sizeof buf, "    {0x%08Xu, %d, %s, kData%zu, %zuu},\n", unsigned(r.type), int(r.id),
                  r.name.empty() ? "nullptr" : ("kName" + std::to_string(i)).c_str(), i, r.bytes.size());
    out += buf;
  }
  if (resources.empty()) out += "    {0, 0, nullptr, nullptr, 0},\n";
  out += "};\n\n}  // namespace\n\n";
  out += "std::size_t " + symbol + "(const vlres::CompiledResource** table) {\n";
  out += "  *table = kTable;\n";
  out += "  return " + std::to_string(resources.size()) + ";\n}\n";
  return out;
}

}  // namespace rescomp
