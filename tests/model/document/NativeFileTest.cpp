// The native model file: a document saved, opened and saved again gives the same text; files
// that are old, new or damaged are refused with their own error and leave no document behind;
// a save that fails leaves the file on the disk as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "CArc.h"
#include "CCylinder.h"
#include "CGroup.h"
#include "CPolyhedron.h"
#include "CProgressDialog.h"
#include "AlertSink.h"
#include "CRectangle.h"
#include "DETException.h"
#include "DocumentTestSupport.h"
#include "FilePaths.h"
#include "SafeReplace.h"
#include "StandardFile.h"
#include "TextLines.h"
#include "Unwinding.h"
#include "VLCube.h"
#include "VLPolyline.h"

namespace {

// The text an object writes as its record (factor 1: the fixture's lengths are in feet).
std::string Record(VLUser3DObject* object) {
  std::FILE* file = std::tmpfile();
  object->WriteText(file, 1.0);
  std::fflush(file);
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text.push_back(char(c));
  std::fclose(file);
  return text;
}

template <class T>
struct Disposed {
  T* object;
  ~Disposed() { object->Dispose(); }
};

std::string CubeRecord(double x, double y, bool framed, const std::string& openings = {}, double height = 3.0) {
  auto* cube = new VLCube;
  Disposed<VLCube> held{cube};
  cube->InitStorage();
  Vector3d corners[8];
  for (int i = 0; i < 8; ++i)
    corners[i] = {x + ((i == 1 || i == 2 || i == 5 || i == 6) ? 4.0 : 0.0), y + ((i % 4 >= 2) ? 0.5 : 0.0),
                  (i >= 4 ? height : 0.0)};
  cube->SetCorners(corners);
  if (framed) {
    const double c = std::sqrt(0.5);
    const Vector3d u{c, c, 0}, v{-c, c, 0}, w{0, 0, 1};
    auto* frame = new CObjectTransformer;
    frame->SetAxes(&u, &v, &w);
    cube->SetFrame(frame);
  }
  std::string text = Record(cube);
  if (!openings.empty()) {
    const std::size_t at = text.find("numOpenings: 0\n");
    text.replace(at, 15, openings);
  }
  return text;
}

// An outline, extruded when it is given a height or asked to be (an extrusion of height 0).
std::string PolylineRecord(const std::vector<Vector3d>& points, bool close, double height, bool extrude = false) {
  auto* outline = new VLPolyline;
  Disposed<VLPolyline> held{outline};
  outline->InitStorage();
  for (std::size_t i = 0; i < points.size(); ++i) outline->BuildGeometry(nullptr, i > 0, &points[i], -1, nullptr);
  if (close) outline->closed = 1;
  outline->BuildOutlineEdges(false);
  if (height != 0 || extrude) outline->Extrude(height);
  return Record(outline);
}

template <class Shape>
std::string DraggedRecord(Shape* shape, const Vector3d& from, const Vector3d& to) {
  Disposed<Shape> held{shape};
  shape->BuildGeometry(nullptr, false, &from, -1, nullptr);
  shape->BuildGeometry(nullptr, true, &to, -1, nullptr);
  return Record(shape);
}

// A block drawn in plan by a drag through the points: flat, since the drag stays at z = 0; and
// when asked, the wall continued from it to a further point.
std::string DraggedBlockRecords(const std::vector<Vector3d>& path, const Vector3d* wallTo = nullptr) {
  auto* block = new VLCube;
  Disposed<VLCube> held{block};
  block->InitStorage();
  for (std::size_t i = 0; i < path.size(); ++i) block->BuildGeometry(nullptr, i > 0, &path[i], -1, nullptr);
  std::string text = Record(block);
  if (wallTo) {
    VLCube* wall = block->ContinueWall(wallTo, 3, false);
    EXPECT_NE(wall, nullptr);
    if (!wall) return text;
    Disposed<VLCube> heldWall{wall};
    text += Record(wall);
  }
  return text;
}

std::string PolyhedronRecord() {
  auto* mesh = new CPolyhedron;
  Disposed<CPolyhedron> held{mesh};
  mesh->InitStorage();
  const Vector3d points[6] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 1}, {0, 1, 0}, {1, 1, 1}, {2, 1, 1}};
  mesh->BuildMesh(2, 3, points, false);
  return Record(mesh);
}

const char kOpening[] =
    "numOpenings: 1\nOpening:\nfaces: 4 2\nnumVerts: 8\n"
    "1 0.0 1 1\n2 0.0 1 1\n2 0.0 2 1\n1 0.0 2 1\n1 0.5 1 1\n2 0.5 1 1\n2 0.5 2 1\n1 0.5 2 1\n";

// A document of every kind of record: phases, materials of every kind, saved views, blocks
// (one with an opening, one turned), a group holding a group, polylines, extrusions, dragged
// shapes, a polyhedron, and flat objects (a block, a block and its wall drawn in plan, an
// extrusion of height 0), every object record as the objects write it.
std::string FixtureText() {
  std::string text = "4\n//\tfixture.vl\n//\tNumber of Objects: 12\n";
  text +=
      "\nLatitude: 35.5\nGroundPlaneVisible: 0\nGroundColor: 100  200  300\nSkyColor: 400  500  600\n"
      "ObjectColor: 7  8  9\n"
      "\nnumPhases: 3\nPhase: Site\n1  1  1\nPhase: Walls\n2  0  1\nPhase: Roof\n5  1  0\nCurrPhase: 2\n"
      "\nnumMaterials: 5\n\nMaterial: none\n0\n"
      "\nMaterial: Brick\n3\nMaterialType: Properties\nColor: 0.5 0.25 0.125\nOpacity: 0.75\n"
      "SpecularReflectivity: 0.5\nSmoothnessExponent: 4\n"
      "\nMaterial: Lamp\n4\nMaterialType: Spot_Light\nColor: 1 1 0.5\nBrightness: 0.75\n"
      "Attentuation: kQ3AttenuationTypeInverseDistance\nInnerHalfAngle: 0.25\nFallOff: kQ3FallOffTypeCosine\n"
      "OuterHalfAngle: 0.5\n"
      "\nMaterial: Bulb\n5\nMaterialType: Point_Light\nColor: 1 1 1\nBrightness: 1\n"
      "Attentuation: kQ3AttenuationTypeNone\n"
      "\nMaterial: Wood\n9\nMaterialType: Centered_Texture\nPictureFile: wood grain.pict\nOpacity: 1\n"
      "SpecularReflectivity: 0.25\nSmoothnessExponent: 2\nTextureWidthAndHeight: 2, 3\n"
      "\nView: North side\n3\nViewType: NorthElevation\nEyePoint: 10 -50 5\nLookPoint: 10 0 5\nScriptView: 1\n"
      "\nView: \n4\nViewType: Axonometric\nEyePoint: 1 2 3\nLookPoint: 0 0 0\nScriptView: 0\n";
  text += CubeRecord(0, 0, false, kOpening);
  text += CubeRecord(10, 0, true);
  text += PolylineRecord({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}}, false, 0);
  text += "\nGroup:\nPrevious 2 objects\nName: inner\n";
  text += PolylineRecord({{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}}, true, 3);
  text += "\nGroup:\nPrevious 2 objects\nName: outer\n";
  text += PolylineRecord({{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {3, 3, 0}, {1, 4, 0}}, false, 2.5);
  auto* arc = new CArc;
  arc->InitArc(8);
  text += DraggedRecord(arc, {0, 0, 0}, {3, 2, 0});
  auto* cylinder = new CCylinder;
  cylinder->InitCylinder(12);
  text += DraggedRecord(cylinder, {5, 5, 0}, {7, 7, 0});
  auto* rectangle = new CRectangle;
  rectangle->InitRectangle();
  text += DraggedRecord(rectangle, {0, 0, 1}, {2, 3, 1});
  text += PolyhedronRecord();
  text += CubeRecord(20, 0, false, {}, 0.0);
  const Vector3d wallTo{9, 4, 0};
  text += DraggedBlockRecords({{0, 10, 0}, {2, 11, 0}, {3, 10.5, 0}, {6, 11, 0}}, &wallTo);
  text += PolylineRecord({{0, 20, 0}, {3, 20, 0}, {3, 22, 0}, {0, 22, 0}}, true, 0, true);
  return text;
}

// Everything but line 2 (the path).
std::string WithoutPath(const std::string& text) {
  const std::size_t first = text.find('\n');
  const std::size_t second = text.find('\n', first + 1);
  return text.substr(0, first) + text.substr(second);
}

class NativeFile : public DocumentFixture {
 protected:
  // Opens the file as the application does; the document, or null when the open failed.
  VLDocument* Open(const std::string& path) {
    SFReply reply;
    EXPECT_TRUE(vlui::FillOpenReply(path, &reply));
    reply.fType = FourCC("TEXT");
    const std::size_t before = Documents().size();
    app->OpenDocument(&reply);
    const std::vector<VLDocument*> now = Documents();
    return now.size() > before ? now.back() : nullptr;
  }
  void SaveAs(VLDocument* document, const std::string& path) {
    StandardFileReply reply;
    reply.sfGood = true;
    ASSERT_TRUE(vlfiles::SpecFromPath(path, &reply.sfFile));
    EXPECT_TRUE(document->DoSaveAs(&reply));
  }
  // Opening the text fails with the code (and leaves no document); the alerts shown.
  void ExpectRefused(const std::string& text, std::int32_t code, int alert, const std::string& what) {
    const std::string path = temp.Write("bad.vl", text);
    vlalert::ClearLog();
    std::int32_t caught = 0;
    try {
      auto* document = static_cast<VLDocument*>(gNativeDocumentMaker());
      Owned<VLDocument> held(document);
      document->InitNewDocument(app, true, 0);
      SFReply reply;
      ASSERT_TRUE(vlui::FillOpenReply(path, &reply));
      document->OpenFile(&reply);
    } catch (DETException& e) {
      caught = e.GetCode();
    }
    EXPECT_EQ(caught, code) << what;
    // Through the application: the alert, and no document, window or progress dialog left.
    const std::size_t before = Documents().size();
    EXPECT_EQ(Open(path), nullptr) << what;
    EXPECT_EQ(Documents().size(), before) << what;
    const std::vector<int> shown = AlertIds();
    if (alert != 0) {
      EXPECT_NE(std::find(shown.begin(), shown.end(), alert), shown.end()) << what;
    }
    if (gProgressDialog) {
      EXPECT_FALSE(gProgressDialog->busy) << what;
    }
  }
};

TEST_F(NativeFile, SavedOpenedAndSavedAgainGivesTheSameText) {
  // Material preferences of comments only: the document's materials are the file's.
  config.Write("velmora/Textures/VL Material Prefs", "# no materials\n");
  const std::string written = FixtureText();
  const std::string fixture = temp.Write("fixture.vl", written);
  VLDocument* first = Open(fixture);
  ASSERT_NE(first, nullptr);
  const std::string a = temp.Path("a.vl"), b = temp.Path("b.vl");
  SaveAs(first, a);
  // A copy: the first document holds a.vl now, and a file open already is not opened twice.
  VLDocument* second = Open(temp.Write("copy.vl", vltest::TempFolder::Read(a)));
  ASSERT_NE(second, nullptr);
  SaveAs(second, b);
  const std::string textA = vltest::TempFolder::Read(a), textB = vltest::TempFolder::Read(b);
  EXPECT_EQ(WithoutPath(textA), WithoutPath(textB));
  EXPECT_NE(textA.find("//\t" + a + "\n"), std::string::npos);
  // Read once, the objects write what they wrote before: flat ones, whose faces have no inside
  // to turn toward, and nameless ones too.
  const auto objectsOf = [](const std::string& text) { return text.substr(std::min(text.find("\nCube:"), text.size())); };
  EXPECT_EQ(objectsOf(textA), objectsOf(written));

  // The reopened model is the first: objects, nesting and order, names, phases, materials, views.
  const std::vector<VLUser3DObject*> one = ModelObjects(first), two = ModelObjects(second);
  ASSERT_EQ(one.size(), 11u);
  ASSERT_EQ(two.size(), one.size());
  for (std::size_t i = 0; i < one.size(); ++i) {
    EXPECT_EQ(one[i]->typeCode, two[i]->typeCode) << i;
    EXPECT_EQ(Record(one[i]), Record(two[i])) << i;
  }
  auto* outer = dynamic_cast<CGroup*>(two[1]);
  ASSERT_NE(outer, nullptr);
  EXPECT_STREQ(outer->name, "outer");
  const std::vector<VLUser3DObject*> members = outer->Members();
  ASSERT_EQ(members.size(), 2u);
  // The last record before a group is its first member.
  auto* inner = dynamic_cast<CGroup*>(members[1]);
  ASSERT_NE(inner, nullptr);
  EXPECT_STREQ(inner->name, "inner");
  ASSERT_EQ(inner->Members().size(), 2u);
  EXPECT_EQ(inner->Members()[0]->typeCode, kObjectTypePolyline);
  EXPECT_NE(inner->Members()[1]->frame, nullptr);  // the turned block
  EXPECT_EQ(members[0]->typeCode, kObjectTypeExtrusion);
  EXPECT_EQ(one[0]->openingCount, 1);
  EXPECT_EQ(two[0]->openingCount, 1);
  EXPECT_EQ(two[6]->typeCode, kObjectTypePolyhedron);
  EXPECT_EQ(second->GetPhases()->GetNumItems(), 3);
  EXPECT_EQ(second->GetPhases()->KeyAt(3), 5);
  EXPECT_EQ(second->GetCurrentPhase(), 2);
  EXPECT_EQ(second->GetMaterialList()->GetCount(), 4);
  EXPECT_EQ(second->GetSavedViews()->GetNumItems(), 3);    // the working view and two saved
  EXPECT_EQ(second->GetWalkthroughViews()->GetNumItems(), 2);
  EXPECT_NEAR(second->GetLatitude(), 35.5, 1e-9);
  EXPECT_NE(textA.find("GroundColor: 100  200  300\nSkyColor: 400  500  600\n"), std::string::npos);
  EXPECT_NE(textA.find("Attentuation: kQ3AttenuationTypeInverseDistance\n"), std::string::npos);
  EXPECT_NE(textA.find("\nView: \n4\n"), std::string::npos);
}

TEST_F(NativeFile, OpeningKeepsTheSnapSpacingTheFileGives) {
  std::string text = FixtureText();
  const std::string header = "//\tNumber of Objects: 12\n";
  const double defaultSpacing = vltext::DefaultLength(VLDocument::kSnapGridDefault, 0.5);
  VLDocument* without = Open(temp.Write("without.vl", text));
  ASSERT_NE(without, nullptr);
  EXPECT_DOUBLE_EQ(without->GetSnapGridSpacing(), defaultSpacing);  // the file gives none

  text.insert(text.find(header) + header.size(), "SnapGridSpacing: 2\n");
  VLDocument* with = Open(temp.Write("with.vl", text));
  ASSERT_NE(with, nullptr);
  EXPECT_NE(with->GetSnapGridSpacing(), defaultSpacing);
  const std::string saved = temp.Path("saved.vl");
  SaveAs(with, saved);
  EXPECT_NE(vltest::TempFolder::Read(saved).find("\nSnapGridSpacing: 2\n"), std::string::npos);
}

TEST_F(NativeFile, LineEndsOfEveryKindReadAlike) {
  const std::string text = FixtureText();
  std::string cr = text, crlf;
  for (char& c : cr)
    if (c == '\n') c = '\r';
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::vector<std::string> saved;
  for (const auto& [name, bytes] : {std::pair{"lf.vl", text}, {"cr.vl", cr}, {"crlf.vl", crlf}}) {
    VLDocument* document = Open(temp.Write(name, bytes));
    ASSERT_NE(document, nullptr) << name;
    EXPECT_EQ(document->GetLineDelimiter(), std::string(name) == "cr.vl" ? 13 : 10);
    const std::string out = temp.Path(std::string("out-") + name);
    SaveAs(document, out);
    saved.push_back(WithoutPath(vltest::TempFolder::Read(out)));
  }
  EXPECT_EQ(saved[0], saved[1]);
  EXPECT_EQ(saved[0], saved[2]);
}

TEST_F(NativeFile, OlderFilesAskFirstAndNewerOnesAreRefused) {
  const std::string old = "//\told file\nPhase: A\n1 1\nPhase: B\n1 1\nPhase: C\n0 1\n";
  answers = {1};
  VLDocument* document = Open(temp.Write("old.vl", old));
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(AlertIds(), std::vector<int>{VLDocument::kOlderFileAlert});
  EXPECT_EQ(document->GetFileVersion(), 0);
  ASSERT_EQ(document->GetPhases()->GetNumItems(), 3);
  for (long i = 1; i <= 3; ++i) EXPECT_EQ(document->GetPhases()->KeyAt(i), i);

  // Any other answer ends the open without a word.
  answers = {2, 2};
  ExpectRefused(old, kDEErrorSilent, 0, "declined");
  ExpectRefused("5\n//\tnewer\n", VLDocument::kErrorNewerFile, 4018, "newer");
}

TEST_F(NativeFile, DamagedFilesAreRefusedWithTheirError) {
  const std::string head = "4\n//\tdamaged\n";
  const std::string cube = CubeRecord(0, 0, false);
  std::string cut = head + cube.substr(0, cube.size() / 2);
  std::string tooMany = head + cube;
  tooMany.replace(tooMany.find("numVerts: 8"), 11, "numVerts: 9");
  std::string negative = head + cube;
  negative.replace(negative.find("numEdges: 12"), 12, "numEdges: -1");
  std::string badEdge = head + cube;
  badEdge.replace(badEdge.find("numEdges: 12\n0 1"), 16, "numEdges: 12\n0 8");
  std::string badLoop = head + cube;
  const std::size_t faces = badLoop.find("numFaces:");
  badLoop.replace(badLoop.find("numVerts: 4\n", faces), 14, "numVerts: 4\n99");
  const struct {
    const char* what;
    std::string text;
    std::int32_t code;
    int alert;
  } cases[] = {
      {"empty file", "", kDEErrorNotAValidVelmoraFile, 4010},
      {"binary data", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), kDEErrorNotAValidVelmoraFile, 4010},
      {"no comment line", "4\nCube:\n", kDEErrorNotAValidVelmoraFile, 4010},
      {"unknown keyword", head + "Cubes:\n", VLDocument::kErrorDamagedFile, 4019},
      {"record cut short", cut, VLDocument::kErrorDamagedFile, 4019},
      {"count larger than what follows", tooMany, VLDocument::kErrorDamagedFile, 4019},
      {"negative count", negative, VLDocument::kErrorDamagedFile, 4019},
      {"edge index outside the list", badEdge, VLDocument::kErrorDamagedFile, 4019},
      {"loop index outside the list", badLoop, VLDocument::kErrorDamagedFile, 4019},
      {"opening on a face the owner lacks", head + CubeRecord(0, 0, false, std::string(kOpening).replace(35, 3, "0 9")),
       VLDocument::kErrorDamagedFile, 4019},
      {"phase number twice", head + "Phase: A\n1 1 1\nPhase: B\n1 1 1\n", VLDocument::kErrorDamagedFile, 4019},
  };
  for (const auto& c : cases) ExpectRefused(c.text, c.code, c.alert, c.what);
  // The alert shows where reading stopped.
  EXPECT_EQ(PStrToStd(gErrorMessage).rfind("Cubes:", 0), std::string::npos);
  ExpectRefused(head + "Cubes: 3\n", VLDocument::kErrorDamagedFile, 4019, "message");
  EXPECT_EQ(PStrToStd(gErrorMessage).rfind("Cubes:", 0), 0u);
}

TEST_F(NativeFile, AGroupAskingForMoreObjectsThanThereAreTakesWhatIsThere) {
  const std::string text = "4\n//\tg\n" + CubeRecord(0, 0, false) + "\nGroup:\nPrevious 5 objects\nName: all\n" +
                           "\nGroup:\nPrevious -2 objects\nName: none\n";
  VLDocument* document = Open(temp.Write("group.vl", text));
  ASSERT_NE(document, nullptr);
  const std::vector<VLUser3DObject*> objects = ModelObjects(document);
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(static_cast<CGroup*>(objects[0])->Members().size(), 1u);
  EXPECT_EQ(static_cast<CGroup*>(objects[1])->Members().size(), 0u);
  EXPECT_EQ(document->GetSectionPlane(), document->GetObjectList()->PointerAt(1));
}

TEST_F(NativeFile, AFailedSaveLeavesTheFileAsItWas) {
  VLDocument* document = Open(temp.Write("fixture.vl", FixtureText()));
  ASSERT_NE(document, nullptr);
  const std::string path = temp.Path("kept.vl");
  SaveAs(document, path);
  const std::string before = vltest::TempFolder::Read(path);
  document->SetChanged(true);
  for (std::size_t offset : {std::size_t(0), std::size_t(100), before.size() - 1}) {
    for (int error : {ENOSPC, EIO}) {
      vlfiles::FailNextReplaceAfter(offset, error);
      std::int32_t caught = 0;
      try {
        document->DoSave();
      } catch (DETException& e) {
        caught = e.GetCode();
      }
      EXPECT_EQ(caught, kDEErrorErrorWritingModelFile) << offset;
      EXPECT_EQ(vltest::TempFolder::Read(path), before) << offset;
      EXPECT_TRUE(document->IsChanged()) << offset;
    }
  }
  EXPECT_TRUE(document->DoSave());
  EXPECT_FALSE(document->IsChanged());

  // A failed save-as keeps the document's file and name.
  Str255 name;
  document->GetName(name);
  StandardFileReply reply;
  reply.sfGood = true;
  ASSERT_TRUE(vlfiles::SpecFromPath(temp.Path("elsewhere.vl"), &reply.sfFile));
  vlfiles::FailNextReplaceAfter(10);
  EXPECT_THROW(document->DoSaveAs(&reply), DETException);
  Str255 after;
  document->GetName(after);
  EXPECT_EQ(PStrToStd(after), PStrToStd(name));
  FSSpec spec;
  ASSERT_TRUE(document->GetFileSpec(&spec));
  EXPECT_EQ(vlfiles::PathFromSpec(spec), path);
}

TEST_F(NativeFile, MutatedFilesNeverCrashTheReader) {
  const std::string text = FixtureText();
  std::mt19937 random(27);
  for (int round = 0; round < 60; ++round) {
    std::string mutated = text;
    const int edits = 1 + int(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % mutated.size();
      switch (random() % 4) {
        case 0: mutated[at] = char(random() % 256); break;
        case 1: mutated.erase(at, 1 + random() % 20); break;
        case 2: mutated.insert(at, 1, "-9 \n"[random() % 4]); break;
        default: mutated.resize(at); break;
      }
      if (mutated.empty()) mutated.assign(1, '4');
    }
    alerts.answers.assign(4, 1);
    Open(temp.Write("mutated.vl", mutated));
  }
}

}  // namespace

namespace {

TEST_F(NativeFile, AStoppedOpenLeavesNothingAndSaysNothing) {
  const std::string path = temp.Write("fixture.vl", FixtureText());
  // Command-period waits in the queue: the progress dialog's first look at it stops the reading.
  EventRecord stop;
  stop.what = keyDown;
  stop.message = UInt32('.');
  stop.modifiers = cmdKey;
  vlui::PostEvent(stop);
  const std::size_t before = Documents().size();
  EXPECT_EQ(Open(path), nullptr);
  EXPECT_EQ(Documents().size(), before);
  EXPECT_TRUE(AlertIds().empty());
  ASSERT_NE(gProgressDialog, nullptr);
  EXPECT_FALSE(gProgressDialog->busy);
}

}  // namespace
