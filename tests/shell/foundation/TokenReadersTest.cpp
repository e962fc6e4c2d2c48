#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "TextTokenReaders.h"

namespace {
using Reader = void (*)(std::istream&, char*, int);

struct Case {
  const char* name;
  Reader reader;
  std::string input;
  int size;
  std::string token;
  int next;  // the next character left in the stream, or EOF
};
}  // namespace

TEST(TokenReaders, TableOfInputs) {
  const Case cases[] = {
      {"alnum stops at comma", ReadAlnumToken, "  abc.def,ghi", 64, "abc.def", ','},
      {"alnum quoted blank refused", ReadAlnumToken, "\"x1 y\" z", 64, "", 'y'},
      {"alnum quoted", ReadAlnumToken, "\"x1.y\" z", 64, "x1.y", ' '},
      {"word quoted pair", ReadWordToken, "\"two words\" more", 64, "two words", ' '},
      {"name with dollar", ReadNameToken, "$var1.x ", 64, "$var1", '.'},
      {"buffer of four", ReadWordToken, "abcdef ", 4, "abc", 'd'},
      {"runs into the end", ReadWordToken, "abc", 64, "", EOF},
      {"missing closing quote", ReadWordToken, "\"abc def", 64, "", EOF},
      {"quoted overflow", ReadWordToken, "\"abcdef\" ", 4, "", 'e'},
      {"symbols", ReadSymbolToken, " +=- x", 64, "+=-", ' '},
      {"symbol quote puts back", ReadSymbolToken, " \"a\"", 64, "", '"'},
      {"empty plain token", ReadAlnumToken, ",x", 64, "", ','},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::istringstream in(c.input);
    char buffer[64] = "old";
    c.reader(in, buffer, c.size);
    EXPECT_EQ(std::string(buffer), c.token);
    EXPECT_EQ(in.get(), c.next);
  }
}

TEST(TokenReaders, EmptyInputLeavesTheBufferExceptOnLine) {
  std::istringstream a("   ");
  char buffer[16] = "old";
  ReadAlnumToken(a, buffer, 16);
  EXPECT_STREQ(buffer, "old");
  std::istringstream b("");
  ReadAlnumTokenOnLine(b, buffer, 16);
  EXPECT_STREQ(buffer, "");
  char tiny[1] = {'z'};
  std::istringstream c("abc ");
  ReadWordToken(c, tiny, 0);  // no room at all: untouched
  EXPECT_EQ(tiny[0], 'z');
}

TEST(TokenReaders, CommentLinesAreOnlyPeeked) {
  std::istringstream a("/x");
  EXPECT_FALSE(IsCommentLine(a));
  EXPECT_EQ(a.get(), '/');
  EXPECT_EQ(a.get(), 'x');
  std::istringstream b("//c");
  EXPECT_TRUE(IsCommentLine(b));
  EXPECT_EQ(b.get(), '/');
  std::istringstream c("# x");
  EXPECT_TRUE(IsCommentLine(c));
  std::istringstream d("/");
  EXPECT_FALSE(IsCommentLine(d));
  EXPECT_EQ(d.get(), '/');
  std::istringstream e("");
  EXPECT_FALSE(IsCommentLine(e));
  EXPECT_TRUE(e.fail());
}

TEST(TokenReaders, ReadLineKeepsTheLineEnd) {
  std::istringstream in("one\rtwo\nlonger line\n");
  char buffer[8];
  ReadLine(in, buffer, 8);
  EXPECT_STREQ(buffer, "one\r");
  ReadLine(in, buffer, 8);
  EXPECT_STREQ(buffer, "two\n");
  ReadLine(in, buffer, 8);
  EXPECT_STREQ(buffer, "longer ");
}

TEST(TokenReaders, QuotedTokensOnFiles) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  WriteQuotedToken(f, "plain");
  std::fputc(' ', f);
  WriteQuotedToken(f, "with blank");
  std::fputc('\n', f);
  std::rewind(f);
  char buffer[32];
  EXPECT_EQ(ReadQuotedToken(f, buffer, 32), 1);
  EXPECT_STREQ(buffer, "plain");
  EXPECT_EQ(ReadQuotedToken(f, buffer, 32), 1);
  EXPECT_STREQ(buffer, "with blank");
  EXPECT_EQ(ReadQuotedToken(f, buffer, 32), -1);
  std::fclose(f);
}
