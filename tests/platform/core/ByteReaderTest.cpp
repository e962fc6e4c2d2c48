// The shared byte reader and writer: both byte orders, a failure that stays with its first reason,
// counts checked before anything is made for them; and the reasons readers give for refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "AlertSink.h"
#include "ByteReader.h"
#include "Refusal.h"

using vlcore::ByteOrder;
using vlcore::ByteReader;
using vlcore::ByteWriter;

TEST(ByteReader, WrittenValuesReadBackInEitherOrder) {
  for (ByteOrder order : {ByteOrder::kBigEndian, ByteOrder::kLittleEndian}) {
    ByteWriter w(order);
    w.U8(0xAB);
    w.U16(0x1234);
    w.U24(0x56789A);
    w.U32(0xDEADBEEF);
    w.U64(0x0102030405060708ULL);
    w.F32(-1.5f);
    w.F64(3.25);
    w.WriteRect(Rect{-1, 2, 300, -400});
    w.PString("name");
    ByteReader in(w.bytes().data(), w.size(), order);
    EXPECT_EQ(in.U8(), 0xAB);
    EXPECT_EQ(in.U16(), 0x1234);
    EXPECT_EQ(in.U24(), 0x56789Au);
    EXPECT_EQ(in.U32(), 0xDEADBEEFu);
    EXPECT_EQ(in.U64(), 0x0102030405060708ULL);
    EXPECT_EQ(in.F32(), -1.5f);
    EXPECT_EQ(in.F64(), 3.25);
    EXPECT_EQ(in.ReadRect(), (Rect{-1, 2, 300, -400}));
    EXPECT_EQ(in.PString(), "name");
    EXPECT_TRUE(in.ok());
    EXPECT_TRUE(in.AtEnd());
  }
  // The orders differ where they should.
  const unsigned char bytes[] = {0x12, 0x34};
  EXPECT_EQ(ByteReader(bytes, 2, ByteOrder::kBigEndian).U16(), 0x1234);
  EXPECT_EQ(ByteReader(bytes, 2, ByteOrder::kLittleEndian).U16(), 0x3412);
}

TEST(ByteReader, AFailureStaysWithItsFirstReasonAndGivesZeros) {
  const unsigned char bytes[] = {1, 2, 3};
  ByteReader in(bytes, sizeof bytes);
  EXPECT_EQ(in.U16(), 0x0102);
  EXPECT_EQ(in.U16(), 0);  // one byte left: the read fails
  EXPECT_FALSE(in.ok());
  EXPECT_STREQ(in.failure(), vlcore::kReasonDataEnds);
  in.Fail("a later reason");
  EXPECT_STREQ(in.failure(), vlcore::kReasonDataEnds);
  EXPECT_EQ(in.U8(), 0);  // even a byte that was there
  EXPECT_EQ(in.PString(), "");
  EXPECT_EQ(in.Take(0), nullptr);
  EXPECT_FALSE(in.Seek(0));

  ByteReader seek(bytes, sizeof bytes);
  EXPECT_FALSE(seek.Seek(4));
  EXPECT_STREQ(seek.failure(), vlcore::kReasonSeekOutside);
  ByteReader text(bytes, sizeof bytes);
  EXPECT_EQ(text.CString(), "");
  EXPECT_STREQ(text.failure(), vlcore::kReasonNoTerminator);
}

TEST(ByteReader, CountsAreCheckedAgainstWhatIsLeft) {
  const unsigned char bytes[12] = {};
  ByteReader in(bytes, sizeof bytes);
  in.Skip(2);
  EXPECT_TRUE(in.Fits(5, 2));
  EXPECT_TRUE(in.Fits(1'000'000, 0));  // items of no size
  EXPECT_TRUE(in.ok());
  // A count far beyond the bytes, or one whose byte size would overflow, fails before anything.
  EXPECT_FALSE(ByteReader(bytes, sizeof bytes).Fits(7, 2));
  ByteReader huge(bytes, sizeof bytes);
  EXPECT_FALSE(huge.Fits(~0ULL, 16, "too many entries"));
  EXPECT_STREQ(huge.failure(), "too many entries");
}

TEST(ByteReader, SubReadersTakeTheirPartAndPaddingIsForgiven) {
  const unsigned char bytes[] = {0, 3, 'a', 'b', 'c', 0, 9, 'x', 0, 7};
  ByteReader in(bytes, sizeof bytes);
  ByteReader part = in.Sub(in.U16());
  EXPECT_EQ(part.size(), 3u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(part.Take(3)), 3), "abc");
  in.AlignEven();
  EXPECT_EQ(in.pos(), 6u);
  EXPECT_EQ(in.U8(), 9);
  EXPECT_EQ(in.CString(), "x");
  in.Align(4);  // the padding runs past the end: no failure
  EXPECT_TRUE(in.ok());
  EXPECT_TRUE(in.AtEnd());
  ByteReader cut(bytes, 2);
  EXPECT_FALSE(cut.Sub(5).ok());
  EXPECT_FALSE(cut.ok());
}

TEST(Refusal, TheLastReasonIsKeptAndEchoedToTheLog) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* log = open_memstream(&text, &size);
  vlalert::SetEcho(log);
  vlcore::ClearRefusal();
  EXPECT_STREQ(vlcore::LastRefusal(), "");
  EXPECT_EQ(vlcore::Refuse(-199, "the map is shorter than its header"), -199);
  vlcore::NoteRefusal(nullptr);  // nothing to say: the reason stands
  EXPECT_STREQ(vlcore::LastRefusal(), "the map is shorter than its header");
  vlalert::SetEcho(nullptr);
  std::fclose(log);
  EXPECT_EQ(std::string(text, size), "refused: the map is shorter than its header\n");
  std::free(text);
  vlcore::ClearRefusal();
  EXPECT_STREQ(vlcore::LastRefusal(), "");
}
