#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

#include "DETException.h"
#include "Memory.h"
#include "ModelTestSupport.h"

namespace {

using modeltest::Loop;
using modeltest::MakeBlock;
using modeltest::NewObject;
using modeltest::Normal;
using modeltest::ObjectPtr;
using modeltest::SetGeometry;
using modeltest::WriteBody;

std::string Fixture() {
  std::ifstream in(VL_TEST_DATA_DIR "/model/garden-wall.txt", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A block as its class's initialiser leaves it, ready for its record.
ObjectPtr NewBlock() {
  ObjectPtr block = NewObject();
  MakeBlock(block.get());
  return block;
}

// Reads a body; true when the stream is still usable afterwards.
bool ReadBody(VLUser3DObject* object, const std::string& text, double factor = 1.0, char delimiter = '\n') {
  std::istringstream in(text);
  object->ReadText(in, factor, delimiter);
  return !in.fail();
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// What every object must hold after a read, failed or not.
void ExpectConsistent(VLUser3DObject* object, const std::string& context) {
  SCOPED_TRACE(context);
  object->SetArrayPointers();
  ASSERT_GE(object->vertexCount, 0);
  ASSERT_LE(object->vertexCount, object->vertexCapacity);
  ASSERT_LE(object->vertexCapacity, object->screenPointCapacity);
  ASSERT_GE(object->edgeCount, 0);
  ASSERT_LE(object->edgeCount, object->edgeCapacity);
  ASSERT_GE(object->faceCount, 0);
  ASSERT_LE(object->faceCount, object->faceCapacity);
  for (SInt16 i = 0; i < object->vertexCount; ++i) {
    ASSERT_TRUE(std::isfinite(object->vertices[i].x) && std::isfinite(object->vertices[i].y) &&
                std::isfinite(object->vertices[i].z));
  }
  for (SInt16 i = 0; i < object->edgeCount; ++i) {
    ASSERT_GE(object->edges[i].a, 0);
    ASSERT_LT(object->edges[i].a, object->vertexCount);
    ASSERT_GE(object->edges[i].b, 0);
    ASSERT_LT(object->edges[i].b, object->vertexCount);
  }
  for (SInt16 f = 0; f < object->faceCapacity; ++f) {
    const FaceRecord& face = object->faces[f];
    if (f >= object->faceCount) {
      ASSERT_EQ(face.loop, nullptr) << "face " << f << " beyond the count keeps a loop";
      continue;
    }
    ASSERT_GE(face.loopCount, 0);
    ASSERT_LE(face.loopCount, kMaxFaceLoopPoints);
    if (face.loopCount > 0) {
      ASSERT_NE(face.loop, nullptr);
      ASSERT_GE(PortHandleSize(face.loop), Size(face.loopCount) * Size(sizeof(SInt16)));
    }
    const SInt16* loop = LoopEntries(face);
    for (SInt16 k = 0; k < face.loopCount; ++k) {
      ASSERT_GE(loop[k], 0);
      ASSERT_LT(loop[k], object->vertexCount);
    }
    ASSERT_TRUE(std::isfinite(face.a) && std::isfinite(face.b) && std::isfinite(face.c) && std::isfinite(face.d));
  }
}

TEST(TextRecord, CoordinatesAreWrittenInTheirExactText) {
  const struct {
    double value;
    double factor;
    const char* text;
  } cases[] = {
      {0.0000005, 1, "0.0"},       {-0.0000009, 12, "0.0"},   {20000000, 1, "1000.0"}, {-20000000, 12, "1000.0"},
      {10000000, 1, "1e+07"},      {10000000, 0.5, "5e+06"},  {1234.5678, 1, "1234.57"}, {0.25, 1, "0.25"},
      {1.5, 12, "18"},             {1000000, 1, "1e+06"},     {999999, 1, "999999"},   {0.00005, 1, "5e-05"},
      {0.0001, 1, "0.0001"},       {-2.5, 1, "-2.5"},         {0.000001, 1, "1e-06"},  {NAN, 1, "0.0"},
  };
  for (const auto& c : cases) {
    ObjectPtr object = NewObject();
    SetGeometry(object.get(), {{c.value, 0, 0}}, {});
    const std::string body = WriteBody(object.get(), c.factor);
    const std::string line = std::string("numVerts: 1\n") + c.text + " 0.0 0.0 1\n";
    EXPECT_NE(body.find(line), std::string::npos) << c.value << " x " << c.factor << " gave\n" << body;
  }
}

TEST(TextRecord, FixtureReadsAndWritesBackUnchanged) {
  const std::string fixture = Fixture();
  ASSERT_FALSE(fixture.empty());
  ObjectPtr wall = NewBlock();
  wall->rotationAngle = 45;
  ASSERT_TRUE(ReadBody(wall.get(), fixture));
  EXPECT_EQ(wall->phase, 2);
  EXPECT_EQ(wall->materialId, 3);
  ASSERT_NE(wall->name, nullptr);
  EXPECT_STREQ(wall->name, "Garden wall");
  EXPECT_EQ(wall->color, (RGBColor{65535, 32768, 0}));
  EXPECT_EQ(wall->drawColor, (RGBColor{32767, 16384, 0}));
  EXPECT_EQ(wall->rotationAngle, 0.0);
  EXPECT_EQ(wall->vertexCount, 8);
  EXPECT_EQ(wall->edgeCount, 12);
  EXPECT_EQ(wall->faceCount, 6);
  EXPECT_TRUE(wall->changed);
  EXPECT_TRUE(wall->needsRedraw);
  EXPECT_FALSE(wall->nonConvex);
  wall->SetArrayPointers();
  EXPECT_EQ(wall->vertices[6], (Vector3d{2.5, 1.5, 3}));
  EXPECT_EQ(Normal(wall.get(), 4), (Vector3d{0, 0, 1}));
  EXPECT_EQ(WriteBody(wall.get(), 1.0), fixture);
}

TEST(TextRecord, FactorsOneAndTwelveRoundTrip) {
  for (double factor : {1.0, 12.0}) {
    ObjectPtr wall = NewBlock();
    ASSERT_TRUE(ReadBody(wall.get(), Fixture()));
    const std::string written = WriteBody(wall.get(), factor);
    if (factor == 12.0) {
      EXPECT_NE(written.find("\n30 18 36 1\n"), std::string::npos) << written;
    }
    ObjectPtr back = NewBlock();
    ASSERT_TRUE(ReadBody(back.get(), written, 1.0 / factor));
    wall->SetArrayPointers();
    back->SetArrayPointers();
    for (SInt16 i = 0; i < 8; ++i) {
      EXPECT_DOUBLE_EQ(back->vertices[i].x, wall->vertices[i].x);
      EXPECT_DOUBLE_EQ(back->vertices[i].y, wall->vertices[i].y);
      EXPECT_DOUBLE_EQ(back->vertices[i].z, wall->vertices[i].z);
    }
    for (SInt16 f = 0; f < 6; ++f) EXPECT_EQ(Loop(back.get(), f), Loop(wall.get(), f));
  }
}

TEST(TextRecord, NamesAndLineEnds) {
  // No name is written as a bare keyword; it reads back as an empty name, which is written the
  // same way, so the body comes back byte for byte.
  ObjectPtr nameless = NewObject();
  SetGeometry(nameless.get(), {}, {});
  const std::string body = WriteBody(nameless.get(), 1.0);
  EXPECT_NE(body.find("\nName:\n"), std::string::npos);
  ObjectPtr empty = NewBlock();
  ASSERT_TRUE(ReadBody(empty.get(), body));
  ASSERT_NE(empty->name, nullptr);
  EXPECT_STREQ(empty->name, "");
  EXPECT_EQ(WriteBody(empty.get(), 1.0), body);

  const std::string fixture = Fixture();
  std::string cr = fixture, crlf;
  for (char& c : cr)
    if (c == '\n') c = '\r';
  for (char c : fixture) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const struct {
    const char* what;
    std::string text;
    char delimiter;
  } endings[] = {{"carriage returns", cr, '\r'}, {"both", crlf, '\n'}, {"both, read to the return", crlf, '\r'}};
  for (const auto& e : endings) {
    ObjectPtr wall = NewBlock();
    EXPECT_TRUE(ReadBody(wall.get(), e.text, 1.0, e.delimiter)) << e.what;
    ASSERT_NE(wall->name, nullptr) << e.what;
    EXPECT_STREQ(wall->name, "Garden wall") << e.what;
    EXPECT_EQ(wall->faceCount, 6) << e.what;
  }

  // A name longer than 255 characters keeps its first 255; the rest of its line is skipped.
  ObjectPtr longName = NewBlock();
  ASSERT_TRUE(ReadBody(longName.get(), Replace(fixture, "Garden wall", std::string(300, 'w'))));
  EXPECT_EQ(std::string(longName->name), std::string(255, 'w'));
  EXPECT_EQ(longName->faceCount, 6);

  // A line end inside a name would cut the record; it is written as a blank.
  const char broken[] = "Garden\nwall";
  delete[] longName->name;
  longName->name = new char[sizeof broken];
  std::copy(broken, broken + sizeof broken, longName->name);
  ObjectPtr again = NewBlock();
  ASSERT_TRUE(ReadBody(again.get(), WriteBody(longName.get(), 1.0)));
  EXPECT_STREQ(again->name, "Garden wall");
}

TEST(TextRecord, AttributeWordsInAnyOrderOptionalAndRepeated) {
  const std::string fixture = Fixture();
  const std::string head = "Phase: 2\nMat: 3\nName: Garden wall\nColor: 65535 32768 0\n";
  const std::string rest = fixture.substr(head.size());
  ASSERT_EQ(fixture.substr(0, head.size()), head);

  ObjectPtr reordered = NewBlock();
  ASSERT_TRUE(ReadBody(reordered.get(), "Color: 65535 32768 0\nName: Garden wall\nMat: 3\nPhase: 2\n" + rest));
  EXPECT_EQ(WriteBody(reordered.get(), 1.0), fixture);

  // Without the optional words: phase 1, and the material and colour the object was made with.
  ObjectPtr bare = NewBlock();
  bare->materialId = 9;
  const RGBColor grey{100, 200, 300};
  bare->SetColor(&grey);
  ASSERT_TRUE(ReadBody(bare.get(), rest));
  EXPECT_EQ(bare->phase, 1);
  EXPECT_EQ(bare->materialId, 9);
  EXPECT_EQ(bare->color, grey);
  EXPECT_EQ(bare->name, nullptr);

  ObjectPtr repeated = NewBlock();
  ASSERT_TRUE(ReadBody(repeated.get(), "Phase: 5\n" + head + "Phase: 7\n" + rest));
  EXPECT_EQ(repeated->phase, 7);
}

TEST(TextRecord, LargerCountsGrowTheStore) {
  std::string body = "numVerts: 10\n";
  for (int i = 0; i < 10; ++i) body += std::to_string(std::cos(i * 0.6283185307179586)) + " " +
                                       std::to_string(std::sin(i * 0.6283185307179586)) + " 0 1\n";
  body += "numEdges: 0\nnumFaces: 1\nnumVerts: 10\n";
  for (int i = 9; i >= 0; --i) body += std::to_string(i) + "\n";
  ObjectPtr decagon = NewBlock();
  ASSERT_TRUE(ReadBody(decagon.get(), body));
  EXPECT_EQ(decagon->vertexCount, 10);
  EXPECT_EQ(decagon->vertexCapacity, 10);
  EXPECT_EQ(decagon->screenPointCapacity, 10);
  EXPECT_EQ(decagon->faceCount, 1);
  EXPECT_EQ(decagon->edgeCount, 0);
  ExpectConsistent(decagon.get(), "decagon");
}

TEST(TextRecord, RecordsThatDoNotFitFailTheStream) {
  const std::string fixture = Fixture();
  const struct {
    const char* what;
    std::string text;
    SInt16 facesKept;  // -1: not checked
  } cases[] = {
      {"negative vertex count", Replace(fixture, "numVerts: 8", "numVerts: -1"), -1},
      {"negative edge count", Replace(fixture, "numEdges: 12", "numEdges: -3"), -1},
      {"edge past the vertices", Replace(fixture, "\n7 4\n", "\n8 4\n"), -1},
      {"negative edge index", Replace(fixture, "\n7 4\n", "\n-1 4\n"), -1},
      {"loop index past the vertices", Replace(fixture, "numVerts: 4\n7\n", "numVerts: 4\n99\n"), 4},
      {"too many faces", Replace(fixture, "numFaces: 6", "numFaces: 20000"), -1},
      {"loop longer than the scratch block", Replace(fixture, "numVerts: 4\n7\n", "numVerts: 1462\n7\n"), 4},
      {"negative loop length", Replace(fixture, "numVerts: 4\n7\n", "numVerts: -4\n7\n"), 4},
      {"missing vertex keyword", Replace(fixture, "numVerts: 8", "numVert: 8"), -1},
      {"missing edge keyword", Replace(fixture, "numEdges:", "Edges:"), -1},
      {"unreadable coordinate", Replace(fixture, "2.5 1.5 3 1", "2.5 abc 3 1"), -1},
      {"coordinate too large for the factor", Replace(fixture, "2.5 1.5 3 1", "2.5 1e308 3 1"), -1},
      {"phase beyond 16 bits", Replace(fixture, "Phase: 2", "Phase: 40000"), -1},
      {"colour beyond 16 bits", Replace(fixture, "32768 0", "32768 65536"), -1},
      {"cut inside the face list", fixture.substr(0, fixture.find("numVerts: 4\n2\n") + 16), 2},
      {"cut inside the vertices", fixture.substr(0, fixture.find("2.5 1.5 0.0")), -1},
  };
  const long handlesBefore = PortLiveHandleCount();
  for (const auto& c : cases) {
    ObjectPtr object = NewBlock();
    EXPECT_FALSE(ReadBody(object.get(), c.text, 12.0)) << c.what;
    ExpectConsistent(object.get(), c.what);
    if (c.facesKept >= 0) {
      EXPECT_EQ(object->faceCount, c.facesKept) << c.what;
    }
  }
  EXPECT_EQ(PortLiveHandleCount(), handlesBefore);
}

TEST(TextRecord, MissingKeywordIsPutBack) {
  ObjectPtr object = NewBlock();
  std::istringstream in(Replace(Fixture(), "numEdges: 12", "numEdgez: 12"));
  object->ReadText(in, 1.0, '\n');
  ASSERT_TRUE(in.fail());
  in.clear();
  std::string word;
  in >> word;
  EXPECT_EQ(word, "numEdgez:");
}

TEST(TextRecord, WithoutAFaceListTheFacesStay) {
  // The word after the edges is consumed and the faces the object was made with stay.
  const std::string fixture = Fixture();
  const std::string noFaces = fixture.substr(0, fixture.find("numFaces:")) + "numOpenings: 0\n";
  ObjectPtr object = NewBlock();
  std::istringstream in(noFaces);
  object->ReadText(in, 1.0, '\n');
  EXPECT_FALSE(in.fail());
  EXPECT_EQ(object->faceCount, 6);
  int openings = -1;
  in >> openings;
  EXPECT_EQ(openings, 0);

  // Unless those faces name vertices the record no longer has.
  std::string fewer = "numVerts: 4\n0 0 0 1\n1 0 0 1\n1 1 0 1\n0 1 0 1\nnumEdges: 0\n";
  ObjectPtr shrunk = NewBlock();
  EXPECT_FALSE(ReadBody(shrunk.get(), fewer));
  ExpectConsistent(shrunk.get(), "shrunk");
}

TEST(TextRecord, FailedWriteRaisesTheModelFileError) {
  ObjectPtr wall = NewBlock();
  std::FILE* readOnly = std::fopen("/dev/null", "r");
  ASSERT_NE(readOnly, nullptr);
  try {
    wall->WriteText(readOnly, 1.0);
    ADD_FAILURE() << "no exception";
  } catch (const DETException& e) {
    EXPECT_EQ(e.GetCode(), kDEErrorErrorWritingModelFile);
    EXPECT_EQ(e.GetOSError(), ioErr);
  }
  std::fclose(readOnly);
}

TEST(TextRecord, MutatedRecordsFailCleanlyOrReadValidObjects) {
  const std::string fixture = Fixture();
  ASSERT_FALSE(fixture.empty());
  const char* numbers[] = {"-1", "0", "7", "8", "9", "32767", "32768", "-32769", "1461", "1462",
                           "17540", "17541", "99999", "1e308", "-0", "x", ""};
  std::mt19937 random(20240611);
  auto pick = [&random](std::size_t n) { return std::size_t(random() % n); };
  const long handlesBefore = PortLiveHandleCount();
  int read = 0, failed = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text = fixture;
    const int mutations = 1 + int(pick(3));
    for (int m = 0; m < mutations && !text.empty(); ++m) {
      switch (pick(5)) {
        case 0: {  // replace a number
          std::size_t at = pick(text.size());
          while (at < text.size() && !std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
          if (at == text.size()) break;
          std::size_t end = at;
          while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.')) ++end;
          text.replace(at, end - at, numbers[pick(std::size(numbers))]);
          break;
        }
        case 1: {  // drop a line
          const std::size_t at = text.rfind('\n', pick(text.size()));
          const std::size_t from = at == std::string::npos ? 0 : at + 1;
          const std::size_t to = text.find('\n', from);
          text.erase(from, to == std::string::npos ? std::string::npos : to - from + 1);
          break;
        }
        case 2: {  // repeat a line
          const std::size_t at = text.rfind('\n', pick(text.size()));
          const std::size_t from = at == std::string::npos ? 0 : at + 1;
          const std::size_t to = text.find('\n', from);
          if (to != std::string::npos) text.insert(from, text.substr(from, to - from + 1));
          break;
        }
        case 3:  // change one character
          text[pick(text.size())] = "0123456789-.: \n\rxN"[pick(18)];
          break;
        default:  // cut the record short
          text.resize(pick(text.size()));
          break;
      }
    }
    ObjectPtr object = NewBlock();
    bool ok = false;
    ASSERT_NO_THROW(ok = ReadBody(object.get(), text, pick(2) ? 1.0 : 12.0)) << text;
    (ok ? read : failed)++;
    ExpectConsistent(object.get(), text);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(read, 0);
  EXPECT_GT(failed, 0);
  EXPECT_EQ(PortLiveHandleCount(), handlesBefore);
}

}  // namespace
