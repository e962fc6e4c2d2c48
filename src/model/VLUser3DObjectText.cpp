// The object body of the native document: attributes, vertices, edges and faces as text lines,
// coordinates in the document's length unit.
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "DETException.h"
#include "Memory.h"
#include "Refusal.h"
#include "TextLines.h"
#include "VLUser3DObject.h"

namespace {

// ---- Writing ----

void CheckPrint(int result) { vltext::CheckPrint(result, kDEErrorErrorWritingModelFile); }

void CheckFile(std::FILE* file) { ThrowIfFileError(file, kDEErrorErrorWritingModelFile); }

// Tiny values (and a NaN, which could not be read back) are written as zero; huge ones as 1000.
void WriteCoordinate(std::FILE* file, double value, double factor) {
  vltext::WriteCoordinate(file, value, factor, 0.000001, kDEErrorErrorWritingModelFile);
}

// ---- Reading ----

using vltext::ReadWord;

// Back to a noted position, in a stream that may have met the end of the input.
void Rewind(std::istream& in, std::streampos at) {
  in.clear();
  in.seekg(at);
}

void Fail(std::istream& in) { in.setstate(std::ios::failbit); }

SInt16 Larger(SInt16 a, SInt16 b) { return a > b ? a : b; }

}  // namespace

void VLUser3DObject::WriteText(std::FILE* file, double factor) {
  CheckPrint(std::fprintf(file, "Phase: %d\n", phase));
  CheckFile(file);
  CheckPrint(std::fprintf(file, "Mat: %d\n", int(materialId)));
  // An empty name is no name: the bare keyword, which reads back as an empty name.
  if (name && *name) {
    // A line end inside a name would end the line early and spoil the rest of the record.
    std::string line(name);
    for (char& c : line)
      if (c == '\r' || c == '\n') c = ' ';
    CheckPrint(std::fprintf(file, "Name: %s\n", line.c_str()));
  } else {
    CheckPrint(std::fputs("Name:\n", file));
  }
  CheckPrint(std::fprintf(file, "Color: %u %u %u\n", unsigned(color.red), unsigned(color.green), unsigned(color.blue)));
  CheckPrint(std::fprintf(file, "numVerts: %d\n", vertexCount));

  SetArrayPointers();
  for (SInt16 i = 0; i < vertexCount; ++i) {
    WriteCoordinate(file, vertices[i].x, factor);
    WriteCoordinate(file, vertices[i].y, factor);
    WriteCoordinate(file, vertices[i].z, factor);
    CheckPrint(std::fputs("1\n", file));
    CheckFile(file);
  }

  CheckPrint(std::fprintf(file, "numEdges: %d\n", edgeCount));
  for (SInt16 i = 0; i < edgeCount; ++i) CheckPrint(std::fprintf(file, "%d %d\n", edges[i].a, edges[i].b));
  CheckFile(file);

  CheckPrint(std::fprintf(file, "numFaces: %d\n", faceCount));
  for (SInt16 i = 0; i < faceCount; ++i) {
    const SInt16 count = faces[i].loop ? faces[i].loopCount : 0;
    CheckPrint(std::fprintf(file, "numVerts: %d\n", count));
    const SInt16* loop = LoopEntries(faces[i]);
    for (SInt16 k = 0; k < count; ++k) CheckPrint(std::fprintf(file, "%d\n", loop[k]));
    CheckFile(file);
  }
}

void VLUser3DObject::ReadText(std::istream& in, double factor, char delimiter) {
  SetArrayPointers();
  phase = 1;
  rotationAngle = 0.0;

  // Attribute words, in any order, each one optional. The count of vertices ends them.
  bool vertexCountNext = false;
  while (in.good()) {
    const std::streampos at = vltext::Tell(in);
    const std::string word = ReadWord(in);
    long value = 0;
    if (word == std::string_view("Phase:")) {
      if (vltext::ReadInteger(in, -32768, 32767, &value)) phase = SInt16(value);
    } else if (word == std::string_view("Mat:")) {
      if (vltext::ReadInteger(in, INT32_MIN, INT32_MAX, &value)) materialId = SInt32(value);
    } else if (word == std::string_view("Name:")) {
      std::string text;
      if (vltext::ReadRestOfLine(in, delimiter, &text, vltext::LongLine::kCut)) SetNameText(text.c_str());
    } else if (word == std::string_view("Color:")) {
      long red = 0, green = 0, blue = 0;
      if (vltext::ReadInteger(in, 0, 65535, &red) && vltext::ReadInteger(in, 0, 65535, &green) && vltext::ReadInteger(in, 0, 65535, &blue)) {
        color = RGBColor{UInt16(red), UInt16(green), UInt16(blue)};
        drawColor = RGBColor{UInt16(red >> 1), UInt16(green >> 1), UInt16(blue >> 1)};
      }
    } else {
      vertexCountNext = word == std::string_view("numVerts:");
      if (!vertexCountNext && !word.empty()) Rewind(in, at);
      break;
    }
  }

  // A keyword that must come next: when another word stands there, the stream is put back
  // before it and failed.
  auto expect = [&in](const char* keyword) {
    if (!in.good()) {
      vlcore::NoteRefusal("the record ends before a count of its parts");
      Fail(in);
      return false;
    }
    const std::streampos at = vltext::Tell(in);
    if (vltext::TakeWord(in, keyword)) return true;
    Rewind(in, at);
    vlcore::NoteRefusal("a count of the record's parts is missing");
    Fail(in);
    return false;
  };

  // Vertices.
  long n = 0;
  if ((vertexCountNext || expect("numVerts:")) && vltext::ReadInteger(in, 0, 32767, &n)) {
    if (n > vertexCapacity) GrowStorage(SInt16(n - vertexCapacity), SInt16(n - screenPointCapacity), 0, 0);
    SetArrayPointers();
    vertexCount = 0;
    for (long i = 0; i < n && in.good(); ++i) {
      double xyzw[4] = {};
      if (vltext::TakeNumbers(in, xyzw, 4) < 4) {
        vlcore::NoteRefusal("a vertex has fewer than four numbers");
        break;
      }
      const double x = xyzw[0] * factor, y = xyzw[1] * factor, z = xyzw[2] * factor;
      if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
        vlcore::NoteRefusal("a vertex is not a finite point");
        Fail(in);
        break;
      }
      vertices[i] = Vector3d{x, y, z};
      vertexCount = SInt16(i + 1);
    }
  }

  // Edges.
  if (expect("numEdges:") && vltext::ReadInteger(in, 0, 32767, &n)) {
    if (n > edgeCapacity) GrowStorage(0, 0, SInt16(n - edgeCapacity), 0);
    SetArrayPointers();
    edgeCount = 0;
    for (long i = 0; i < n && in.good(); ++i) {
      SInt16 ends[2] = {};
      if (vltext::ReadIntegers(in, SInt16(0), SInt16(vertexCount - 1), ends, 2) < 2) break;
      edges[i] = EdgeRecord{ends[0], ends[1]};
      edgeCount = SInt16(i + 1);
    }
  }

  // Faces.
  if (in.good()) {
    // Another word here is consumed and the object keeps the faces it had.
    const bool hasFaces = ReadWord(in) == std::string_view("numFaces:");
    if (hasFaces && vltext::ReadInteger(in, 0, kMaxOrientableFaces, &n)) {
      if (n > faceCapacity) GrowStorage(0, 0, 0, SInt16(n - faceCapacity));
      SetArrayPointers();
      const SInt16 hadFaces = faceCount;
      SInt16 done = 0;  // faces read completely, from the first
      for (long i = 0; i < n && in.good(); ++i) {
        long m = 0;
        if (!expect("numVerts:") || !vltext::ReadInteger(in, 0, kMaxFaceLoopPoints, &m)) break;
        FaceRecord& face = faces[i];  // nothing in this loop resizes the store
        if (i >= hadFaces) face = FaceRecord{};
        if (!face.loop) {
          face.loopCount = 0;
          face.loop = PortAllocHandle(Size(m) * Size(sizeof(SInt16)));
          if (!face.loop) {
            faceCount = Larger(faceCount, done);
            ThrowIfOSErr(PortMemError() != noErr ? PortMemError() : OSErr(memFullErr), kDEErrorNotEnoughMemory);
          }
        } else if (m != face.loopCount) {
          PortResizeHandle(face.loop, Size(m) * Size(sizeof(SInt16)));
          ThrowIfMemError(kDEErrorNotEnoughMemory);
        }
        face.loopCount = SInt16(m);
        // The loop block is set before the object counts the face, so that it is released
        // with the object whatever happens next.
        faceCount = Larger(faceCount, SInt16(i + 1));
        if (vltext::ReadIntegers(in, SInt16(0), SInt16(vertexCount - 1), LoopEntries(face), int(m)) < m) break;
        done = SInt16(i + 1);
      }
      // Faces whose loop was not read completely are not kept, nor are faces beyond the list.
      const SInt16 keep = in.good() ? SInt16(n) : done;
      ReleaseFaceLoops(keep, Larger(faceCount, hadFaces));
      faceCount = keep;
    }
  }

  // Whatever the record said, every edge and loop entry must name a vertex the object has now.
  SetArrayPointers();
  for (SInt16 i = 0; i < edgeCount; ++i) {
    if (edges[i].a >= vertexCount || edges[i].b >= vertexCount || edges[i].a < 0 || edges[i].b < 0) {
      edgeCount = i;
      vlcore::NoteRefusal("an edge names a vertex the object does not have");
      Fail(in);
      break;
    }
  }
  for (SInt16 i = 0; i < faceCount; ++i) {
    const SInt16* loop = LoopEntries(faces[i]);
    bool valid = faces[i].loopCount == 0 || loop;
    for (SInt16 k = 0; valid && k < faces[i].loopCount; ++k) valid = loop[k] >= 0 && loop[k] < vertexCount;
    if (!valid) {
      ReleaseFaceLoops(i, faceCount);
      faceCount = i;
      vlcore::NoteRefusal("a face names a vertex the object does not have");
      Fail(in);
      break;
    }
  }

  CalcFacePlanes();
  // OrientFaces would recompute every plane again; a record read afresh has no openings to
  // turn with its faces, and its planes change only when a loop was turned.
  if (OrientFaceLoops() == Orientation::kTurned) CalcFacePlanes();
  needsRedraw = 1;
  changed = 1;
  CheckConvexity();
}
