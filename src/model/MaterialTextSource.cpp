#include "MaterialTextSource.h"

#include <cmath>
#include <cstdlib>

#include "Memory.h"
#include "Resources.h"

namespace vlmaterial {

int TextSource::Get() {
  int c;
  if (!pushed_.empty()) {
    c = pushed_.back();
    pushed_.pop_back();
  } else {
    c = GetRaw();
  }
  if (c == '\n') ++line_;
  return c;
}

void TextSource::Unget(int c) {
  if (c == EOF) return;
  if (c == '\n') --line_;
  pushed_.push_back(c);
}

int TextSource::Peek() {
  const int c = Get();
  Unget(c);
  return c;
}

void TextSource::GiveBack() {
  // The next character to read is the last one pushed, so it goes back last: given back in the
  // other order, a "/" line read as no comment moved behind the line end after it.
  for (const int c : pushed_) UngetRaw(c);
  pushed_.clear();
}

int FileSource::GetRaw() { return std::fgetc(file_); }

void FileSource::UngetRaw(int c) { std::ungetc(c, file_); }

int StreamSource::GetRaw() {
  const int c = in_.get();
  if (c == std::char_traits<char>::eof()) {
    in_.clear(in_.rdstate() & ~std::ios::failbit);
    return EOF;
  }
  return static_cast<unsigned char>(c);
}

void StreamSource::UngetRaw(int c) {
  in_.clear(in_.rdstate() & ~std::ios::eofbit);
  in_.putback(static_cast<char>(c));
}

bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

void SkipSpace(TextSource& source) {
  int c;
  do {
    c = source.Get();
  } while (IsSpace(c));
  source.Unget(c);
}

bool AtComment(TextSource& source) {
  const int first = source.Get();
  if (first == '#') {
    source.Unget(first);
    return true;
  }
  if (first != '/') {
    source.Unget(first);
    return false;
  }
  const int second = source.Peek();
  source.Unget(first);
  return second == '/';
}

void SkipLine(TextSource& source) {
  int c;
  do {
    c = source.Get();
  } while (c != '\n' && c != EOF);
}

std::string ReadKeptLine(TextSource& source) {
  std::string line;
  for (;;) {
    const int c = source.Get();
    if (c == EOF) return line;
    if (line.size() < kMaxTokenLength) line.push_back(static_cast<char>(c));
    if (c == '\n') return line;
  }
}

Token ReadToken(TextSource& source, bool quotesAllowed, std::string* out, bool* quoted) {
  out->clear();
  if (quoted) *quoted = false;
  SkipSpace(source);
  int c = source.Get();
  if (c == EOF) return Token::kEnd;
  if (c == '"' && quotesAllowed) {
    if (quoted) *quoted = true;
    for (;;) {
      c = source.Get();
      // A doubled quote is a quote of the name's own.
      if (c == '"' && source.Peek() != '"') return Token::kRead;
      if (c == '"') source.Get();
      // A name never spans lines: an unclosed quote spoils only its own line.
      if (c == EOF || c == '\n' || c == '\r') {
        source.Unget(c);
        return Token::kBad;
      }
      if (out->size() >= kMaxTokenLength) {
        SkipLine(source);
        return Token::kBad;
      }
      out->push_back(static_cast<char>(c));
    }
  }
  while (c != EOF && !IsSpace(c)) {
    if (out->size() >= kMaxTokenLength) {
      do {
        c = source.Get();
      } while (c != EOF && !IsSpace(c));
      source.Unget(c);
      return Token::kBad;
    }
    out->push_back(static_cast<char>(c));
    c = source.Get();
  }
  source.Unget(c);
  return Token::kRead;
}

bool ReadNumber(TextSource& source, double* out) {
  std::string token;
  if (ReadToken(source, false, &token) != Token::kRead) return false;
  char* end = nullptr;
  const double value = std::strtod(token.c_str(), &end);
  if (end == token.c_str() || *end != '\0' || !std::isfinite(value)) return false;
  *out = value;
  return true;
}

bool ReadWord(TextSource& source, std::string* out) {
  return ReadToken(source, false, out) == Token::kRead && !out->empty();
}

OSErr LoadApplicationText(SInt16 id, std::string* text) {
  text->clear();
  const SInt16 current = PortCurResFile();
  PortUseResFile(vlres::ApplicationResFile());
  Handle resource = PortLoadResource(FourCC("TEXT"), id);
  const OSErr err = PortResError();
  if (resource) {
    text->assign(*resource, std::size_t(PortHandleSize(resource)));
    PortReleaseResource(resource);
  }
  PortUseResFile(current);
  if (!resource) return err != noErr ? err : OSErr(resNotFound);
  for (char& c : *text)
    if (c == '\r') c = '\n';
  return noErr;
}

}  // namespace vlmaterial
