// Bad files: cut short, bytes flipped, counts larger than the file, negative
// sizes, unknown types, deep nesting, references that go round. Each gives a
// clean error (or reads what is sound), never a crash or an allocation beyond
// what the file could hold.
#include <cstring>
#include <random>

#include "AllocationWatch.h"
#include "Q3TestSupport.h"

using namespace q3test;

namespace {

// A binary metafile built by hand.
struct Bin {
  std::vector<TQ3Uns8> b;
  Bin() {
    Tag("3DMF");
    U32(16);
    U32(0x00010006);
    U32(0);
    U32(0);
    U32(0);
  }
  Bin& U32(TQ3Uns32 v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(TQ3Uns8(v >> s));
    return *this;
  }
  Bin& F32(float f) {
    TQ3Uns32 bits;
    std::memcpy(&bits, &f, 4);
    return U32(bits);
  }
  Bin& Tag(const char (&t)[5]) { return U32(TQ3Uns32(Q3FourCC(t))); }
  // An object whose size is filled in by End.
  Bin& Begin(const char (&t)[5]) {
    Tag(t);
    open.push_back(b.size());
    return U32(0);
  }
  Bin& End() {
    size_t at = open.back();
    open.pop_back();
    TQ3Uns32 size = TQ3Uns32(b.size() - at - 4);
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = TQ3Uns8(size >> (24 - 8 * i));
    return *this;
  }
  std::vector<size_t> open;
};

std::vector<TQ3Uns8> Bytes(const std::string& s) { return std::vector<TQ3Uns8>(s.begin(), s.end()); }

// Reads a file, checking the rules every read keeps.
struct Outcome {
  bool ok;
  size_t objects;
  size_t errors;
};

Outcome Attempt(const std::vector<TQ3Uns8>& bytes) {
  Log() = Posted{};
  ResetLargestAllocation();
  std::vector<Obj> objects;
  bool ok = ReadObjects(bytes, objects);
  // Nothing read is bigger than a few times the file.
  EXPECT_LE(LargestAllocation(), 16 * bytes.size() + (1u << 16));
  if (!ok) {
    EXPECT_FALSE(Log().errors.empty());  // a failure always says why
  }
  return {ok, objects.size(), Log().errors.size()};
}

// The ends of the top-level objects of a binary file: truncating there leaves a sound file.
std::vector<size_t> TopLevelEnds(const std::vector<TQ3Uns8>& b) {
  std::vector<size_t> ends{24};
  size_t pos = 24;
  while (pos + 8 <= b.size()) {
    TQ3Uns32 size = (TQ3Uns32(b[pos + 4]) << 24) | (TQ3Uns32(b[pos + 5]) << 16) | (TQ3Uns32(b[pos + 6]) << 8) |
                    b[pos + 7];
    pos += 8 + size;
    ends.push_back(pos);
  }
  return ends;
}

}  // namespace

class Robustness : public Library {};

TEST_F(Robustness, EveryFixtureCutShortOrWithBytesFlipped) {
  SKIP_WITHOUT_FIXTURES();
  std::mt19937 random(20261210);
  for (const auto& path : FixtureFiles()) {
    std::vector<TQ3Uns8> full = ReadFile(path);
    Outcome whole = Attempt(full);
    ASSERT_TRUE(whole.ok) << path;
    bool binary = full.size() >= 4 && std::memcmp(full.data(), "3DMF", 4) == 0;
    std::vector<size_t> ends = binary ? TopLevelEnds(full) : std::vector<size_t>{};

    // Cut at every length of a small file, at a spread of lengths of a large one.
    size_t step = std::max<size_t>(1, full.size() / 300);
    for (size_t length = 0; length < full.size(); length += step) {
      std::vector<TQ3Uns8> cut(full.begin(), full.begin() + long(length));
      Outcome o = Attempt(cut);
      EXPECT_LE(o.objects, whole.objects) << path << " cut at " << length;
      bool sound = std::find(ends.begin(), ends.end(), length) != ends.end();
      if (binary && !sound) {
        EXPECT_GT(o.errors, 0u) << path << " cut at " << length;
      }
    }

    // Flip bytes, all bits or one: every byte of a small file, a sample of a large one.
    std::vector<size_t> positions;
    for (size_t i = 0; i < full.size() && i < 300; ++i) positions.push_back(i);
    for (int i = 0; full.size() > 300 && i < 300; ++i) positions.push_back(random() % full.size());
    for (size_t i = 0; i < positions.size(); ++i) {
      std::vector<TQ3Uns8> flipped = full;
      flipped[positions[i]] ^= (i % 2) ? TQ3Uns8(0xFF) : TQ3Uns8(1u << (i / 2 % 8));
      Attempt(flipped);
    }
  }
}

TEST_F(Robustness, CraftedBinaryFiles) {
  struct Case {
    const char* what;
    std::vector<TQ3Uns8> bytes;
    bool error;
  };
  std::vector<Case> cases;

  Bin huge;  // a triangle mesh claiming two billion points
  huge.Begin("tmsh").U32(1).U32(0).U32(0).U32(0).U32(0x7FFFFFFF).U32(0).U32(0).End();
  cases.push_back({"count larger than the file", huge.b, true});

  Bin negative;
  negative.Tag("pnt ").U32(0xFFFFFFF0).F32(1).F32(2).F32(3);
  cases.push_back({"negative size", negative.b, true});

  Bin unknown;
  unknown.Begin("zzzz").U32(42).End().Begin("pnt ").F32(1).F32(2).F32(3).End();
  cases.push_back({"unknown type", unknown.b, false});

  Bin deep;
  for (int i = 0; i < 500; ++i) deep.Begin("cntr").Begin("dspg").End();
  for (int i = 0; i < 500; ++i) deep.End();
  cases.push_back({"containers 500 deep", deep.b, true});

  Bin groups;
  for (int i = 0; i < 500; ++i) groups.Begin("bgng").Begin("dspg").End().End();
  for (int i = 0; i < 500; ++i) groups.Begin("endg").End();
  cases.push_back({"groups 500 deep", groups.b, true});

  // A reference to the container it stands in.
  Bin loop;
  size_t target = loop.b.size();
  loop.Begin("cntr").Begin("attr").End().Begin("cntr").Begin("kdif").F32(1).F32(0).F32(0).End().End();
  loop.Begin("rfrn").U32(1).End().End();
  size_t toc = loop.b.size();
  loop.Begin("toc ").U32(0).U32(0).U32(2).U32(0).U32(1).U32(16).U32(1);
  loop.U32(1).U32(0).U32(TQ3Uns32(target)).U32(TQ3Uns32(Q3FourCC("attr"))).End();
  loop.b[20] = TQ3Uns8(toc >> 24);
  loop.b[21] = TQ3Uns8(toc >> 16);
  loop.b[22] = TQ3Uns8(toc >> 8);
  loop.b[23] = TQ3Uns8(toc);
  cases.push_back({"reference to its own container", loop.b, true});

  Bin badToc = unknown;
  badToc.b[23] = 0xF0;  // the table of contents lies past the end: the objects still read
  cases.push_back({"table of contents outside the file", badToc.b, true});

  Bin tocCount;
  size_t t2 = tocCount.b.size();
  tocCount.Begin("toc ").U32(0).U32(0).U32(2).U32(0).U32(1).U32(16).U32(0x10000000).End();
  tocCount.b[23] = TQ3Uns8(t2);
  tocCount.Begin("pnt ").F32(1).F32(2).F32(3).End();
  cases.push_back({"table of contents with too many entries", tocCount.b, true});

  Bin contourFirst;
  contourFirst.Begin("mesh").U32(3).F32(0).F32(0).F32(0).F32(1).F32(0).F32(0).F32(0).F32(1).F32(0);
  contourFirst.U32(1).U32(0).U32(TQ3Uns32(-3)).U32(0).U32(1).U32(2).End();
  cases.push_back({"mesh starting with a hole", contourFirst.b, true});

  Bin index;
  index.Begin("mesh").U32(1).F32(0).F32(0).F32(0).U32(1).U32(0).U32(3).U32(0).U32(0).U32(7).End();
  cases.push_back({"mesh vertex index out of range", index.b, true});

  Bin unterminated;
  unterminated.Begin("strc").U32(0x41414141).End();
  cases.push_back({"string without its end", unterminated.b, true});

  Bin marker;
  marker.Begin("mrkr").F32(0).F32(0).F32(0).U32(0).U32(0).U32(8).U32(0x7FFFFFFF).U32(1).U32(0).End();
  cases.push_back({"marker image larger than the file", marker.b, true});

  Bin list;
  list.Begin("cntr").Begin("trng");
  for (int i = 0; i < 9; ++i) list.F32(0);
  list.End().Begin("vasl").U32(3).U32(0).U32(0x40000000).End().End();
  cases.push_back({"attribute list with too many indices", list.b, true});

  Bin declared;
  declared.Begin("type").U32(TQ3Uns32(-1)).U32(0x4E6F626F).U32(0x64790000).End();
  declared.Begin("cntr").Tag("set ").U32(0).U32(TQ3Uns32(-1)).U32(4).U32(7).End();
  cases.push_back({"element of a declared class nobody knows", declared.b, false});

  cases.push_back({"empty file", {}, true});
  std::vector<TQ3Uns8> header = Bin().b;
  header.resize(12);
  cases.push_back({"header only, cut", header, true});

  for (const Case& c : cases) {
    Outcome o = Attempt(c.bytes);
    EXPECT_EQ(o.errors > 0, c.error) << c.what;
  }
  // Reading goes on past a damaged table of contents: the point is still read.
  EXPECT_EQ(Attempt(tocCount.b).objects, 1u);
}

TEST_F(Robustness, CraftedTextFiles) {
  const std::string head = "3DMetafile ( 1 6 Normal NULL )\n";
  std::string deep = head;
  for (int i = 0; i < 2000; ++i) deep += "Container ( ";
  deep += "Point ( 0 0 0 )";
  for (int i = 0; i < 2000; ++i) deep += " )";
  std::string parens = head + std::string(100000, '(');
  struct Case {
    const char* what;
    std::string text;
    bool error;
  };
  const Case cases[] = {
      {"object not closed", head + "Point ( 1 2 3\n", true},
      {"stray closing parenthesis", head + ") Point ( 1 2 3 )", true},
      {"too few numbers", head + "Triangle ( 1 2 3 4 5 6 7 8 )", true},
      {"negative count", head + "PolyLine ( -5 0 0 0 1 1 1 )", true},
      {"count larger than the file", head + "TriMesh ( 1 0 0 0 999999999 0 0 1 2 )", true},
      {"a word for a number", head + "Point ( 1 two 3 )", true},
      {"number too large", head + "Point ( 1 1e300 3 )", true},
      {"odd hex digits", head + "Marker ( 0 0 0 0 0 8 1 1 BigEndian 0x8 )", true},
      {"string not closed", head + "CString ( \"open )", true},
      {"reference without a table", head + "Container ( Point ( 1 2 3 ) Reference ( 4 ) )", true},
      {"containers 2000 deep", deep, true},
      {"100000 open parentheses", parens, true},
      {"unknown class kept", head + "Who:Knows ( 1 2 3 ) Point ( 0 0 0 )", false},
      {"tiny numbers are nearly zero", head + "Point ( 1e-50 0 0 )", false},
      {"no header", "Point ( 0 0 0 )", true},
  };
  for (const Case& c : cases) {
    Outcome o = Attempt(Bytes(c.text));
    EXPECT_EQ(o.errors > 0, c.error) << c.what;
  }
}
