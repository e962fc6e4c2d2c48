// Model objects read from object text records, drawn in wireframe as the view pane draws them
// (every object, then the selection's handles), in plan and axonometric views, against golden
// pictures beside this file.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "DrawingTestSupport.h"
#include "GoldenTest.h"
#include "ModelTestSupport.h"
#include "ViewTestSupport.h"

namespace {

using modeltest::ObjectPtr;

constexpr SInt16 kWidth = 320;
constexpr SInt16 kHeight = 240;

testing::AssertionResult WorldMatches(const CurrentWorld& world, const std::string& golden) {
  const PixMap& pixels = world.get()->portPixMap;
  return vltest::PictureMatches(vlui::PictureOf(pixels, pixels.bounds), VL_GOLDEN(golden));
}

// A box, an L-shaped extrusion and a slab tilted by 25 degrees about the x axis, each in its
// own colour.
struct Scene {
  modeltest::ShownPhase phase;
  ObjectPtr box = modeltest::ReadObject(modeltest::BoxRecord({0, 0, 0}, {4, 3, 3}));
  ObjectPtr extrusion = modeltest::ReadObject(
      modeltest::PrismRecord({{6, 0, 0}, {6, 6, 0}, {10, 6, 0}, {10, 4, 0}, {8, 4, 0}, {8, 0, 0}}, 0, 2.5));
  ObjectPtr slab = modeltest::ReadObject(modeltest::BoxRecord({-8, 0, 0}, {-3, 4, 0.4}));

  Scene() {
    const RGBColor red{65535, 8000, 8000}, blue{8000, 8000, 65535}, green{8000, 50000, 8000};
    box->SetColor(&red);
    extrusion->SetColor(&blue);
    slab->SetColor(&green);
    const double angle = 25.0 * 3.14159265358979323846 / 180.0;
    Matrix4d tilt;
    SetIdentity4x4(&tilt);
    tilt.at(1, 1) = std::cos(angle);
    tilt.at(1, 2) = -std::sin(angle);
    tilt.at(2, 1) = std::sin(angle);
    tilt.at(2, 2) = std::cos(angle);
    tilt.at(2, 3) = 0.5;
    slab->Transform(&tilt);
    slab->GeometryChanged();
  }
  std::vector<VLUser3DObject*> All() const { return {box.get(), extrusion.get(), slab.get()}; }

  // Draws every object, then the handles of the selected ones.
  void Draw(VLViewTransform* view, const std::vector<VLUser3DObject*>& selected) {
    for (VLUser3DObject* o : All()) o->Draw(view, nullptr);
    modeltest::Selected selection(selected);
    for (VLUser3DObject* o : selected) o->DrawSelected(view);
  }
};

// The plan of the scene's box, or a parallel view of it from the south-west and above.
VLViewTransform ViewOfTheScene(bool axonometric) {
  VLViewTransform t = SetUpTransform(kWidth, kHeight);
  const Vector3d min{-9, -1, 0}, max{11, 7, 3};
  t.InitViewsForBox(&min, &max);
  if (!axonometric) {
    t.UpdateForViewKind();
    return t;
  }
  SetWindow(&t, 11, 8.25);
  PlaceCamera(&t, {-11, 21, 16}, {1, 3, 1}, {0, 0, 1}, false);
  t.viewKind = kAxonometricView;
  return t;
}

TEST(ObjectDrawingGolden, PlanAndAxonometricWireframesSelectedAndNot) {
  modeltest::DrawingPass pass;
  for (bool axonometric : {false, true}) {
    for (bool selected : {false, true}) {
      Scene scene;
      CurrentWorld world(kWidth, kHeight);
      VLViewTransform view = ViewOfTheScene(axonometric);
      scene.Draw(&view, selected ? scene.All() : std::vector<VLUser3DObject*>{});
      const std::string name =
          std::string("objects-") + (axonometric ? "axonometric" : "plan") + (selected ? "-selected" : "") + ".png";
      EXPECT_TRUE(WorldMatches(world, name));
    }
  }
}

TEST(ObjectDrawingGolden, TheOnlySelectedObjectShowsItsEdgeHandles) {
  modeltest::DrawingPass pass;
  Scene scene;
  scene.extrusion->edgeHandlesShown = 1;
  CurrentWorld world(kWidth, kHeight);
  VLViewTransform view = ViewOfTheScene(true);
  scene.Draw(&view, {scene.extrusion.get()});
  EXPECT_TRUE(WorldMatches(world, "objects-axonometric-edge-handles.png"));
}

}  // namespace
