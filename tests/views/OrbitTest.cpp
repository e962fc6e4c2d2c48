// The pane's orbit angles: taken from the view, and moved by a drag of the orbit tool.
#include <gtest/gtest.h>

#include "VLViewPane.h"
#include "ViewTestSupport.h"

namespace {

// A pane with only its navigation state: the view is the test's.
struct OrbitPane : ::testing::Test {
  void SetUp() override {
    pane.viewTransform = &view;
    pane.SetNavigationFactors(20.0, 20.0);
  }
  void TearDown() override { pane.viewTransform = nullptr; }
  void LookFrom(const Vector3d& eye) { PlaceCamera(&view, eye, {0, 0, 0}, {0, 0, 1}, true); }

  VLViewTransform view = SetUpTransform(400, 300);
  VLViewPane pane;
};

TEST_F(OrbitPane, AnglesFollowTheEyeAndStraightAboveGivesAzimuthZero) {
  struct Case {
    Vector3d eye;
    double altitude, azimuth;
  } cases[] = {{{0, 10, 0}, 90, 0},   {{10, 0, 0}, 90, 90},   {{-10, 0, 0}, 90, -90},
               {{0, -10, 0}, 90, 180}, {{0, 0, 10}, 0, 0},    {{10, 10, 0}, 90, 45}};
  for (const Case& c : cases) {
    LookFrom(c.eye);
    pane.SyncOrbitAngles();
    EXPECT_NEAR(pane.eyeAltitude, c.altitude, 1e-6) << c.eye.x << " " << c.eye.y << " " << c.eye.z;
    EXPECT_NEAR(pane.eyeAzimuth, c.azimuth, 1e-6) << c.eye.x << " " << c.eye.y << " " << c.eye.z;
    EXPECT_NEAR(pane.lookAzimuth, c.azimuth - 180.0, 1e-6);
    EXPECT_DOUBLE_EQ(pane.lookAltitude, pane.eyeAltitude);
  }
}

TEST_F(OrbitPane, ADragMovesTheAltitudeByRotateStepsAndHoldsIt) {
  LookFrom({0, 10, 10});
  pane.SyncOrbitAngles();
  ASSERT_NEAR(pane.eyeAltitude, 45.0, 1e-6);
  EXPECT_TRUE(pane.OrbitBy(0, -10));  // up by 10 pixels at factor 20: 4 degrees higher
  EXPECT_NEAR(pane.eyeAltitude, 41.0, 1e-6);
  pane.SyncOrbitAngles();
  EXPECT_NEAR(pane.eyeAltitude, 41.0, 1e-4);
  pane.OrbitBy(0, -1000);
  EXPECT_DOUBLE_EQ(pane.eyeAltitude, 1.0);
  EXPECT_FALSE(pane.OrbitBy(0, -10));
  EXPECT_TRUE(pane.OrbitBy(25, 0));
  EXPECT_NEAR(pane.eyeAzimuth, 10.0, 1e-6);
  EXPECT_NEAR(pane.lookAzimuth, -170.0, 1e-6);
}

TEST(LookAround, APolarAngleIsFoldedAndKeptOffThePoles) {
  const double cases[][2] = {{180.0, 179.9}, {179.95, 179.9}, {0.0, 0.1},     {0.05, 0.1},   {-0.05, -0.1},
                             {-179.95, -179.9}, {200.0, 20.0}, {-200.0, -20.0}, {90.0, 90.0}, {-0.1, -0.1}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(VLViewPane::HeldPolarAngle(c[0]), c[1]) << c[0];
}

}  // namespace
