// Transforms, styles, shaders, cameras, lights, view hints and the math they use.
#include <cmath>
#include <numbers>

#include "Q3TestSupport.h"

using namespace q3test;

namespace {

TQ3Point3D Apply(const TQ3Matrix4x4& m, TQ3Point3D p) {
  Q3Point3D_Transform(&p, &m, &p);
  return p;
}

void ExpectNear(TQ3Point3D a, TQ3Point3D b, const char* what) {
  EXPECT_NEAR(a.x, b.x, 1e-4) << what;
  EXPECT_NEAR(a.y, b.y, 1e-4) << what;
  EXPECT_NEAR(a.z, b.z, 1e-4) << what;
}

}  // namespace

TEST(Math, MatricesOfRowVectors) {
  constexpr float kQuarter = std::numbers::pi_v<float> / 2;
  TQ3Matrix4x4 m;
  ExpectNear(Apply(*Q3Matrix4x4_SetTranslate(&m, 1, 2, 3), {1, 1, 1}), {2, 3, 4}, "translate");
  ExpectNear(Apply(*Q3Matrix4x4_SetScale(&m, 2, 3, 4), {1, 1, 1}), {2, 3, 4}, "scale");
  ExpectNear(Apply(*Q3Matrix4x4_SetRotate_X(&m, kQuarter), {0, 1, 0}), {0, 0, 1}, "x turns y to z");
  ExpectNear(Apply(*Q3Matrix4x4_SetRotate_Y(&m, kQuarter), {0, 0, 1}), {1, 0, 0}, "y turns z to x");
  ExpectNear(Apply(*Q3Matrix4x4_SetRotate_Z(&m, kQuarter), {1, 0, 0}), {0, 1, 0}, "z turns x to y");
  ExpectNear(Apply(*Q3Matrix4x4_SetRotate_XYZ(&m, kQuarter, 0, kQuarter), {0, 1, 0}), {0, 0, 1}, "x then z");
  TQ3Point3D origin{1, 1, 0};
  TQ3Vector3D axis{0, 0, 5};
  ExpectNear(Apply(*Q3Matrix4x4_SetRotateAboutAxis(&m, &origin, &axis, kQuarter), {2, 1, 0}), {1, 2, 0},
             "about a point");

  TQ3Matrix4x4 a, inverse, product;
  Q3Matrix4x4_SetRotate_XYZ(&a, 0.3f, -1.1f, 2.0f);
  a.value[3][0] = 5;
  a.value[3][2] = -2;
  Q3Matrix4x4_Invert(&a, &inverse);
  Q3Matrix4x4_Multiply(&a, &inverse, &product);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_NEAR(product.value[i][j], i == j ? 1 : 0, 1e-5);
  EXPECT_NEAR(Q3Matrix4x4_Determinant(&a), 1, 1e-5);

  // A singular matrix leaves the result alone and warns.
  TQ3Matrix4x4 zero{}, untouched;
  Q3Matrix4x4_SetIdentity(&untouched);
  Q3Matrix4x4_Invert(&zero, &untouched);
  EXPECT_EQ(untouched.value[0][0], 1);

  TQ3Point3D points[3] = {{1, 5, -1}, {-2, 0, 3}, {0, 2, 2}};
  TQ3BoundingBox box;
  Q3BoundingBox_SetFromPoints3D(&box, points, 3, sizeof(TQ3Point3D));
  EXPECT_EQ(box.isEmpty, kQ3False);
  ExpectNear(box.min, {-2, 0, -1}, "min");
  ExpectNear(box.max, {1, 5, 3}, "max");
  TQ3ColorRGB c{1.5f, -0.5f, 0.25f};
  Q3ColorRGB_Clamp(&c, &c);
  EXPECT_EQ(c.r, 1);
  EXPECT_EQ(c.g, 0);
}

class SceneObjects : public Library {};

TEST_F(SceneObjects, TransformsGiveTheirMatrices) {
  TQ3Vector3D v{1, 2, 3};
  TQ3RotateTransformData rotate{kQ3AxisZ, std::numbers::pi_v<float> / 2};
  Obj translate(Q3TranslateTransform_New(&v)), scale(Q3ScaleTransform_New(&v)), turn(Q3RotateTransform_New(&rotate));
  TQ3Matrix4x4 m;
  Q3Transform_GetMatrix(translate, &m);
  ExpectNear(Apply(m, {0, 0, 0}), {1, 2, 3}, "translate");
  Q3Transform_GetMatrix(scale, &m);
  ExpectNear(Apply(m, {1, 1, 1}), {1, 2, 3}, "scale");
  Q3Transform_GetMatrix(turn, &m);
  ExpectNear(Apply(m, {1, 0, 0}), {0, 1, 0}, "rotate");
  EXPECT_EQ(Q3Transform_GetType(turn), kQ3TransformTypeRotate);
  TQ3RotateTransformData bad{TQ3Axis(3), 0};
  EXPECT_EQ(Q3RotateTransform_New(&bad), nullptr);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorParameterOutOfRange);
}

TEST_F(SceneObjects, StylesAndShaders) {
  TQ3SubdivisionStyleData sub{kQ3SubdivisionMethodConstant, 20, 20};
  Obj subdivision(Q3SubdivisionStyle_New(&sub)), backfacing(Q3BackfacingStyle_New(kQ3BackfacingStyleRemove));
  EXPECT_EQ(Q3Style_GetType(subdivision), kQ3StyleTypeSubdivision);
  TQ3BackfacingStyle b;
  Q3BackfacingStyle_Get(backfacing, &b);
  EXPECT_EQ(b, kQ3BackfacingStyleRemove);
  EXPECT_EQ(Q3FillStyle_New(TQ3FillStyle(7)), nullptr);

  Obj phong(Q3PhongIllumination_New()), lambert(Q3LambertIllumination_New());
  EXPECT_EQ(Q3Shader_GetType(phong), kQ3ShaderTypeIllumination);  // both replace each other in a group
  EXPECT_EQ(Q3Shader_GetType(lambert), Q3Shader_GetType(phong));

  TQ3Uns8 pixels[4] = {1, 2, 3, 4};
  Obj storage(Q3MemoryStorage_New(pixels, 4));
  TQ3StoragePixmap pixmap{storage, 1, 1, 4, 32, kQ3PixelTypeRGB32, kQ3EndianLittle, kQ3EndianLittle};
  Obj texture(Q3PixmapTexture_New(&pixmap));
  Obj shader(Q3TextureShader_New(texture));
  EXPECT_EQ(Q3Shared_GetReferenceCount(texture), 2u);
  ASSERT_EQ(Q3Shader_SetUBoundary(shader, kQ3ShaderUVBoundaryClamp), kQ3Success);
  TQ3ShaderUVBoundary u;
  Q3Shader_GetUBoundary(shader, &u);
  EXPECT_EQ(u, kQ3ShaderUVBoundaryClamp);
  TQ3TextureObject got = nullptr;
  Q3TextureShader_GetTexture(shader, &got);
  TQ3StoragePixmap back{};
  Q3PixmapTexture_GetPixmap(got, &back);
  EXPECT_EQ(back.image, storage.get());
  EXPECT_EQ(back.byteOrder, kQ3EndianLittle);
  Q3Object_Dispose(back.image);
  Q3Object_Dispose(got);
  TQ3Uns32 width = 0;
  Q3Texture_GetWidth(texture, &width);
  EXPECT_EQ(width, 1u);
}

TEST_F(SceneObjects, CamerasMapWorldToViewAndFrustum) {
  TQ3CameraData common{{{0, 0, 10}, {0, 0, 0}, {0, 1, 0}}, {1, 11}, {{-1, 1}, 2, 2}};
  TQ3ViewPlaneCameraData plane{common, 1, 0.5f, 0.5f, 0, 0};
  Obj perspective(Q3ViewPlaneCamera_New(&plane));
  TQ3Matrix4x4 m;
  Q3Camera_GetWorldToView(perspective, &m);
  ExpectNear(Apply(m, {0, 0, 10}), {0, 0, 0}, "eye at the origin");
  ExpectNear(Apply(m, {0, 0, 0}), {0, 0, -10}, "looking down -z");
  ExpectNear(Apply(m, {0, 1, 10}), {0, 1, 0}, "up stays up");
  Q3Camera_GetWorldToFrustum(perspective, &m);
  ExpectNear(Apply(m, {0, 0, 9}), {0, 0, 0}, "hither at 0");
  ExpectNear(Apply(m, {0, 0, -1}), {0, 0, -1}, "yon at -1");
  ExpectNear(Apply(m, {0.5f, 0.5f, 9}), {1, 1, 0}, "the view plane's corner");

  TQ3OrthographicCameraData ortho{common, -2, 1, 2, -1};
  Obj orthographic(Q3OrthographicCamera_New(&ortho));
  Q3Camera_GetWorldToFrustum(orthographic, &m);
  ExpectNear(Apply(m, {2, 1, 9}), {1, 1, 0}, "orthographic corner at hither");
  ExpectNear(Apply(m, {-2, -1, -1}), {-1, -1, -1}, "orthographic corner at yon");

  // The view port picks the upper right quarter.
  TQ3CameraViewPort port{{0, 1}, 1, 1};
  Q3Camera_SetViewPort(orthographic, &port);
  Q3Camera_GetWorldToFrustum(orthographic, &m);
  ExpectNear(Apply(m, {2, 1, 9}), {1, 1, 0}, "view port corner");
  ExpectNear(Apply(m, {0, 0, 9}), {-1, -1, 0}, "view port centre corner");

  TQ3ViewAngleAspectCameraData angle{common, std::numbers::pi_v<float> / 2, 2};
  Obj wide(Q3ViewAngleAspectCamera_New(&angle));
  Q3Camera_GetWorldToFrustum(wide, &m);
  ExpectNear(Apply(m, {2, 1, 9}), {1, 1, 0}, "wide corner at one unit");
  TQ3ViewAngleAspectCameraData out{};
  Q3ViewAngleAspectCamera_GetData(wide, &out);
  EXPECT_EQ(out.aspectRatioXToY, 2);
  EXPECT_EQ(out.cameraData.range.yon, 11);
  EXPECT_EQ(Q3Camera_GetType(wide), kQ3CameraTypeViewAngleAspect);
}

TEST_F(SceneObjects, LightsAndViewHints) {
  TQ3SpotLightData spot{{kQ3True, 0.8f, {1, 1, 0}}, kQ3True, kQ3AttenuationTypeInverseDistance, {1, 2, 3},
                        {0, -1, 0}, 0.3f, 0.6f, kQ3FallOffTypeCosine};
  Obj light(Q3SpotLight_New(&spot));
  TQ3SpotLightData out{};
  ASSERT_EQ(Q3SpotLight_GetData(light, &out), kQ3Success);
  EXPECT_EQ(out.fallOff, kQ3FallOffTypeCosine);
  EXPECT_EQ(out.location.z, 3);
  ASSERT_EQ(Q3Light_SetBrightness(light, 2), kQ3Success);
  TQ3LightData data{};
  Q3Light_GetData(light, &data);
  EXPECT_EQ(data.brightness, 2);
  EXPECT_EQ(Q3Light_GetType(light), kQ3LightTypeSpot);
  spot.attenuation = TQ3AttenuationType(9);
  EXPECT_EQ(Q3SpotLight_New(&spot), nullptr);
  TQ3PointLightData point{{kQ3False, 1, {1, 1, 1}}, kQ3False, kQ3AttenuationTypeNone, {0, 0, 0}};
  EXPECT_EQ(Q3DirectionalLight_GetData(light, nullptr), kQ3Failure);  // a spot light is no directional light
  Obj pointLight(Q3PointLight_New(&point));

  Obj hints(Q3ViewHints_New(nullptr));
  Obj group(Q3LightGroup_New());
  Q3Group_AddObject(group, light);
  Q3Group_AddObject(group, pointLight);
  TQ3ViewPlaneCameraData cd{};
  Obj camera(Q3ViewPlaneCamera_New(&cd));
  ASSERT_EQ(Q3ViewHints_SetLightGroup(hints, group), kQ3Success);
  ASSERT_EQ(Q3ViewHints_SetCamera(hints, camera), kQ3Success);
  EXPECT_EQ(Q3ViewHints_SetCamera(hints, group), kQ3Failure);  // wrong kind
  Q3ViewHints_SetDimensionsState(hints, kQ3True);
  Q3ViewHints_SetDimensions(hints, 640, 480);
  TQ3CameraObject got = nullptr;
  Q3ViewHints_GetCamera(hints, &got);
  EXPECT_EQ(got, camera.get());
  Q3Object_Dispose(got);
  TQ3AttributeSet none = nullptr;
  Q3ViewHints_GetAttributeSet(hints, &none);
  EXPECT_EQ(none, nullptr);  // asking makes nothing
  Obj copy(Q3Object_Duplicate(hints));
  Q3ViewHints_GetLightGroup(copy, &got);
  EXPECT_NE(got, group.get());
  EXPECT_EQ(CountOf(got), 2u);
  Q3Object_Dispose(got);
}
