// The characters and tokens of material preference text: the "VL Material Prefs" file, read
// from a C file, and the default records of the text resources, read from a stream. Both forms
// share one reader (D3TMaterial::Read and ReadTabRecord, the list's header readers), which takes
// its characters from a TextSource. Every read is bounded: tokens and kept lines hold at most 255
// characters, whatever the text holds.
#pragma once

#include <cstdio>
#include <istream>
#include <string>
#include <vector>

#include "MacTypes.h"

namespace vlmaterial {

// Characters a token or a kept comment line holds at most.
constexpr std::size_t kMaxTokenLength = 255;

// A source of characters that counts the lines it passes and takes back any number of
// characters. What is still taken back when the source goes is given back to the file or stream
// it reads (at most one character there, which is all a finished read leaves).
class TextSource {
 public:
  explicit TextSource(SInt32 line) : line_(line) {}
  virtual ~TextSource() = default;
  TextSource(const TextSource&) = delete;
  TextSource& operator=(const TextSource&) = delete;

  // The next character as an unsigned char, or EOF at the end or on a read error.
  int Get();
  void Unget(int c);
  int Peek();
  // The number of the line the source stands on (1 for the first).
  SInt32 Line() const { return line_; }

 protected:
  virtual int GetRaw() = 0;
  virtual void UngetRaw(int c) = 0;
  // Hands what is still taken back to the underlying file or stream.
  void GiveBack();

 private:
  std::vector<int> pushed_;
  SInt32 line_;
};

class FileSource : public TextSource {
 public:
  FileSource(std::FILE* file, SInt32 line) : TextSource(line), file_(file) {}
  ~FileSource() override { GiveBack(); }

 private:
  int GetRaw() override;
  void UngetRaw(int c) override;
  std::FILE* file_;
};

// The end of the stream sets its end-of-file state but not its fail state: a record that ends
// the text is still whole.
class StreamSource : public TextSource {
 public:
  StreamSource(std::istream& in, SInt32 line) : TextSource(line), in_(in) {}
  ~StreamSource() override { GiveBack(); }

 private:
  int GetRaw() override;
  void UngetRaw(int c) override;
  std::istream& in_;
};

bool IsSpace(int c);
// Skips white space, line ends included.
void SkipSpace(TextSource& source);
// Whether the next characters are "#" or "//", which start a comment line; nothing is consumed.
bool AtComment(TextSource& source);
// Skips the rest of the line and its line end.
void SkipLine(TextSource& source);
// The rest of the line with its line end, of which at most kMaxTokenLength characters are kept.
std::string ReadKeptLine(TextSource& source);

enum class Token { kRead, kEnd, kBad };
// Skips white space and reads a token: a run of characters up to white space, or, where quotes
// are allowed, a run between double quotes that holds no line end, a doubled quote inside standing
// for one (*quoted is then set; the closing quote is consumed). kEnd when nothing is left; kBad for an unclosed quote
// or a token of more than kMaxTokenLength characters (its rest is skipped).
Token ReadToken(TextSource& source, bool quotesAllowed, std::string* out, bool* quoted = nullptr);

// A number token: a decimal number that the whole token spells, finite.
bool ReadNumber(TextSource& source, double* out);
// A word token (no quotes).
bool ReadWord(TextSource& source, std::string* out);

// The bytes of text resource 'TEXT' id of the application's own resources (the current resource
// file is put back afterwards), with every carriage return made a line feed. resNotFound when
// there is none; the resource error when it cannot be read.
OSErr LoadApplicationText(SInt16 id, std::string* text);

}  // namespace vlmaterial
