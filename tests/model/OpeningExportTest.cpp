// An owner's faces with its openings as the exporters write them: the joined polygon, Radiance
// text and DXF text, the DXF read back by an independent reader (python3-ezdxf) when installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "AppResources.h"
#include "D3TMaterial.h"
#include "D3TMaterialList.h"
#include "OpeningTestSupport.h"
#include "RadianceNames.h"
#include "TempFolder.h"

namespace {

using modeltest::ShownPhase;
using modeltest::WrittenText;
using openingtest::kWallBack;
using openingtest::kWallFront;
using openingtest::OwnerPtr;
using openingtest::Wall;
using openingtest::Window;

std::vector<Vector3d> LoopPoints(VLUser3DObject* object, SInt16 face) {
  std::vector<Vector3d> points;
  for (SInt16 v : modeltest::Loop(object, face)) points.push_back(modeltest::VertexAt(object, v));
  return points;
}

TEST(FacePolygons, JoinEachOpeningsOutlineToTheFaceBySeams) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  CRectangularOpening* window = Window(wall.get(), 2, 1, 4, 2.5);
  ASSERT_NE(window, nullptr);

  // A face without openings: its loop alone.
  EXPECT_EQ(wall->FacePolygon(4), LoopPoints(wall.get(), 4));

  // The front: L1 .. Ln, C1 .. C4, C1, Ln, Ln.
  const std::vector<Vector3d> loop = LoopPoints(wall.get(), kWallFront);
  std::vector<Vector3d> expected = loop;
  for (SInt16 v = 0; v < 4; ++v) expected.push_back(modeltest::VertexAt(window, v));
  expected.push_back(modeltest::VertexAt(window, 0));
  expected.push_back(loop.back());
  expected.push_back(loop.back());
  EXPECT_EQ(wall->FacePolygon(kWallFront), expected);
  // The back face takes the back outline.
  EXPECT_EQ(wall->FacePolygon(kWallBack)[4], modeltest::VertexAt(window, 4));

  // Two openings on one face: one hole after the other.
  ASSERT_NE(Window(wall.get(), 6, 1, 8, 2.5), nullptr);
  EXPECT_EQ(wall->FacePolygon(kWallFront).size(), loop.size() + 2 * 6 + 1);
  EXPECT_TRUE(wall->FacePolygon(-1).empty());
}

// The Radiance text of some owners written one after the other into one export.
struct RadianceExport {
  std::string scene, materials;
  void Write(const std::vector<VLOpeningOwner*>& owners, D3TMaterialList* list) {
    VLArray names;
    SInt32 count = 0;
    modeltest::FilePtr sceneFile(std::tmpfile()), materialFile(std::tmpfile());
    for (VLOpeningOwner* owner : owners)
      owner->WriteRadiance(sceneFile.get(), materialFile.get(), &names, &count, "wall", list);
    EXPECT_EQ(count, names.GetNumItems());
    scene = Read(sceneFile.get());
    materials = Read(materialFile.get());
  }
  static std::string Read(std::FILE* file) {
    std::string text;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;) text.push_back(char(c));
    return text;
  }
};

TEST(RadianceOutput, DefinesEachMaterialOnceWithTheFirstOwnersColour) {
  vlres::InstallApplicationResources();
  ShownPhase phase;
  D3TMaterialList list;
  list.AddMaterial(7, new D3TMaterial(&list, D3TMaterial::kProperties, Str255("Red brick")));
  const auto wallOf = [](SInt32 material, RGBColor colour) {
    OwnerPtr wall = Wall();
    wall->SetMaterialIndex(material);
    wall->SetColor(&colour);
    EXPECT_NE(Window(wall.get(), 2, 1, 4, 2.5), nullptr);
    return wall;
  };
  OwnerPtr a = wallOf(7, {65535, 0, 0}), b = wallOf(7, {0, 65535, 0});
  OwnerPtr c = wallOf(99, {0, 0, 65535}), d = wallOf(0, {0, 0, 65535}), e = wallOf(0, {1, 2, 3});
  RadianceExport out;
  out.Write({a.get(), b.get(), c.get(), d.get(), e.get()}, &list);
  EXPECT_EQ(out.materials,
            "void plastic Red_brick\n0\n0\n5 1.000000 0.000000 0.000000 0 0\n\n"
            "void plastic none_0_0_65535\n0\n0\n5 0.000000 0.000000 1.000000 0 0\n\n"
            "void plastic none_1_2_3\n0\n0\n5 0.000015 0.000031 0.000046 0 0\n\n");
}

TEST(RadianceOutput, WritesEachFaceWithItsOpeningsAsOnePolygon) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  ASSERT_NE(Window(wall.get(), 2, 1, 4, 2.5), nullptr);
  RadianceExport out;
  out.Write({wall.get()}, nullptr);
  // The front face: 4 loop points and 7 for the window, three numbers each.
  std::istringstream scene(out.scene);
  std::string line;
  int front = -1;
  std::vector<std::string> headers;
  while (std::getline(scene, line)) {
    if (line.find(" polygon ") == std::string::npos) continue;
    headers.push_back(line);
    std::string zero, zero2;
    int numbers = 0;
    std::getline(scene, zero);
    std::getline(scene, zero2);
    scene >> numbers;
    if (line == "none_0_0_0 polygon facewall_3") front = numbers;
  }
  EXPECT_EQ(front, 3 * 11);
  EXPECT_EQ(headers.size(), 6u);
  // y is negated: the window's front corner (2, 0, 1) and the back wall's points at y = -1.
  EXPECT_NE(out.scene.find("\t\t2 -0 1\n"), std::string::npos) << out.scene;
  EXPECT_NE(out.scene.find("\t\t10 -1 3\n"), std::string::npos);
}

std::string DxfOf(VLOpeningOwner* owner) {
  return WrittenText([owner](std::FILE* file) { owner->WriteDXFFaces(file); });
}

TEST(DxfOutput, WritesEachFaceWithItsOpeningsAsAClosedPolylineInInches) {
  ShownPhase phase;
  OwnerPtr wall = Wall();
  ASSERT_NE(Window(wall.get(), 2, 1, 4, 2.5), nullptr);
  const std::string text = DxfOf(wall.get());
  const std::string layer = wall->LayerNameOfPhase(wall->phase);
  // The front face's polyline: 11 vertices, the first the loop's first point.
  const Vector3d first = LoopPoints(wall.get(), kWallFront)[0];
  std::ostringstream head;
  head << "0\nPOLYLINE\n66\n1\n8\n" << layer << "\n70\n9\n71\n0\n72\n11\n0\nVERTEX\n8\n0\n10\n"
       << std::fixed;
  head.precision(3);
  head << first.x * 12 << "\n20\n" << first.y * -12 << "\n30\n" << first.z * 12 << "\n70\n32\n";
  EXPECT_NE(text.find(head.str()), std::string::npos) << text.substr(0, 400);
  // The window's corner (4, 0, 2.5) in inches, y reversed.
  EXPECT_NE(text.find("10\n48.000\n20\n-0.000\n30\n30.000\n70\n32\n"), std::string::npos);
  std::size_t polylines = 0;
  for (std::size_t at = text.find("POLYLINE"); at != std::string::npos; at = text.find("POLYLINE", at + 1)) ++polylines;
  EXPECT_EQ(polylines, 6u);

  // Hidden: nothing at all.
  wall->Hide();
  EXPECT_EQ(DxfOf(wall.get()), "");
  EXPECT_EQ(WrittenText([&](std::FILE* file) { wall->WriteDXFEdges(file); }), "");
}

TEST(DxfOutput, AnIndependentReaderFindsThePolylinesAndTheirVertices) {
  if (!modeltest::IndependentDxfReaderPresent()) GTEST_SKIP() << "python3-ezdxf is not installed";
  ShownPhase phase;
  OwnerPtr wall = Wall();
  ASSERT_NE(Window(wall.get(), 2, 1, 4, 2.5), nullptr);
  std::vector<std::string> lines;
  for (const modeltest::DxfEntityRead& e : modeltest::ReadWithIndependentDxfReader(DxfOf(wall.get())))
    lines.push_back(e.type + " " + std::to_string(e.is3d) + " " + std::to_string(e.closed) + " " + e.points);
  ASSERT_EQ(lines.size(), 6u);
  for (const std::string& line : lines) EXPECT_EQ(line.rfind("POLYLINE 1 1 ", 0), 0u) << line;
  // The front face with its window, read back point for point in inches, y reversed.
  std::string front = "POLYLINE 1 1 ";
  const std::vector<Vector3d> polygon = wall->FacePolygon(kWallFront);
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    char point[100];
    std::snprintf(point, sizeof point, "%s%.3f %.3f %.3f", i ? ";" : "", polygon[i].x * 12, polygon[i].y * -12,
                  polygon[i].z * 12);
    front += point;
  }
  EXPECT_NE(std::find(lines.begin(), lines.end(), front), lines.end()) << front;
}

}  // namespace
