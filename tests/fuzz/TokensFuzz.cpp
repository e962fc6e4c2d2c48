// Text through the token readers of the text importers.
#include <cstdio>
#include <sstream>
#include <string>

#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "TextTokenReaders.h"

namespace vlfuzz {

Outcome ReadTokens(const std::uint8_t* data, std::size_t size) {
  // The readers in turn, over the stream, as an importer mixes them; the line reader at the end
  // of each round takes at least one character.
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  char token[32];
  for (std::size_t turn = 0; in.good() && turn < 7 * (size + 1); ++turn) {
    switch (turn % 7) {
      case 0:
        ReadAlnumToken(in, token, sizeof token);
        break;
      case 1:
        ReadAlnumTokenOnLine(in, token, sizeof token);
        break;
      case 2:
        ReadWordToken(in, token, sizeof token);
        break;
      case 3:
        ReadNameToken(in, token, sizeof token);
        break;
      case 4:
        ReadSymbolToken(in, token, sizeof token);
        break;
      case 5:
        IsCommentLine(in);
        break;
      default:
        ReadLine(in, token, sizeof token);
        break;
    }
  }
  // The quoted form, from a file.
  if (size > 0) {
    std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (file) {
      while (ReadQuotedToken(file, token, sizeof token) == 1) {
      }
      std::fclose(file);
    }
  }
  return Accepted();
}

}  // namespace vlfuzz
