#include "TextTokenReaders.h"

#include <cctype>
#include <cstring>

namespace {

// Which characters a reader takes at a position of the plain or quoted form.
using Allowed = bool (*)(int c, int position, bool quoted);

bool AlnumChar(int c, int, bool) { return std::isalnum(c) || c == '.'; }
bool WordChar(int c, int, bool quoted) { return quoted || !std::isspace(c); }
bool NameChar(int c, int position, bool quoted) {
  if (position == 0) return std::isalnum(c) || c == '.' || c == '$';
  return std::isalnum(c) || (quoted && c == ' ');
}
bool SymbolChar(int c, int, bool) { return IsSymbolChar(c); }

// Character source over a stream or a FILE, with one character of push-back.
struct StreamSource {
  std::istream& in;
  int Get() { return in.get(); }
  void Unget(int c) { in.putback(char(c)); }
  bool Good() const { return in.good(); }
};

struct FileSource {
  std::FILE* file;
  bool failed = false;
  int Get() {
    int c = std::getc(file);
    if (c == EOF) failed = true;
    return c;
  }
  void Unget(int c) {
    if (std::ungetc(c, file) == EOF) failed = true;
  }
  bool Good() const { return !failed; }
};

template <class Source>
void ReadToken(Source& src, char* buffer, int size, Allowed allowed, bool quoteEndsEmpty) {
  if (!buffer || size < 1) return;
  int c;
  do {
    c = src.Get();
  } while (c != EOF && std::isspace(c));
  if (c == EOF || !src.Good()) return;  // the buffer is left as it was

  int length = 0;
  bool accepted = true;
  if (c == '"' && quoteEndsEmpty) {
    src.Unget(c);
    buffer[0] = 0;
    return;
  }
  if (c == '"') {
    accepted = false;
    for (;;) {
      c = src.Get();
      if (c == EOF) break;
      if (c == '"') {
        accepted = true;
        break;
      }
      if (!allowed(c, length, true) || length >= size - 1) break;
      buffer[length++] = char(c);
    }
  } else {
    for (;;) {
      if (allowed(c, length, false) && length < size - 1) {
        buffer[length++] = char(c);
      } else {
        src.Unget(c);  // the character that ended the token is read next
        break;
      }
      c = src.Get();
      if (c == EOF) break;
    }
  }
  if (src.Good() && accepted && length <= size - 1)
    buffer[length] = 0;
  else
    buffer[0] = 0;
}

}  // namespace

bool IsSymbolChar(int c) { return c >= 0 && c < 256 && std::isprint(c) && !std::isalnum(c) && !std::isspace(c); }

void ReadAlnumToken(std::istream& in, char* buffer, int size) {
  StreamSource src{in};
  ReadToken(src, buffer, size, AlnumChar, false);
}

void ReadAlnumTokenOnLine(std::istream& in, char* buffer, int size) {
  if (buffer && size >= 1) buffer[0] = 0;
  ReadAlnumToken(in, buffer, size);
}

void ReadWordToken(std::istream& in, char* buffer, int size) {
  StreamSource src{in};
  ReadToken(src, buffer, size, WordChar, false);
}

void ReadNameToken(std::istream& in, char* buffer, int size) {
  StreamSource src{in};
  ReadToken(src, buffer, size, NameChar, false);
}

void ReadSymbolToken(std::istream& in, char* buffer, int size) {
  StreamSource src{in};
  ReadToken(src, buffer, size, SymbolChar, true);
}

bool IsCommentLine(std::istream& in) {
  if (!in.good()) return false;
  int c = in.get();
  if (c == EOF) return false;
  bool comment = c == '#';
  if (c == '/') comment = in.peek() == '/';
  in.clear(in.rdstate() & ~std::ios::eofbit);
  in.putback(char(c));
  return comment;
}

void ReadLine(std::istream& in, char* buffer, int size) {
  if (!buffer || size < 1) return;
  int length = 0;
  while (length < size - 1) {
    int c = in.get();
    if (c == EOF) break;
    buffer[length++] = char(c);
    if (c == '\r' || c == '\n' || c == '\f') break;
  }
  buffer[length] = 0;
}

int ReadQuotedToken(std::FILE* file, char* buffer, int size) {
  FileSource src{file};
  ReadToken(src, buffer, size, WordChar, false);
  return src.Good() ? 1 : -1;
}

int WriteQuotedToken(std::FILE* file, const char* text) {
  bool space = false;
  for (const char* p = text; *p; ++p)
    if (std::isspace(static_cast<unsigned char>(*p))) space = true;
  if (!space) return std::fprintf(file, "%s", text);
  std::fprintf(file, "\"");
  std::fprintf(file, "%s", text);
  return std::fprintf(file, "\"");
}
