// A scene file as the scene layer writes and reads it, and references that
// balance over making, grouping, copying, writing, reading and disposing.
#include "Q3TestSupport.h"
#include "TestClasses.h"

using namespace q3test;

class SceneFiles : public Library {
 protected:
  void SetUp() override {
    Library::SetUp();
    RegisterTestClasses();
  }
  void TearDown() override {
    UnregisterTestClasses();
    Library::TearDown();
  }
};

// What the reader of a model file does with each top-level object.
enum class Kind { kBackdrop, kObject, kSettings, kSavedView, kOtherView, kMovie, kDropped };

static Kind Classify(TQ3Object o) {
  if (Q3Object_IsDrawable(o))
    return Q3Shape_ContainsElement(o, Types().presence) ? Kind::kBackdrop : Kind::kObject;
  if (Q3Object_GetLeafType(o) == kQ3SharedTypeSet) return Kind::kSettings;
  if (Q3Object_IsType(o, kQ3SharedTypeViewHints)) {
    TQ3CameraObject camera = nullptr;
    Q3ViewHints_GetCamera(o, &camera);
    if (!camera) return Kind::kOtherView;
    Q3Object_Dispose(camera);
    return Kind::kSavedView;
  }
  if (Q3Object_IsType(o, Types().sequence)) return Kind::kMovie;
  return Kind::kDropped;
}

TEST_F(SceneFiles, TopLevelObjectsSortTheWayTheModelReaderSortsThem) {
  Obj settings(Q3Set_New());
  TQ3Vector3D up{0, 1, 0};
  Q3Set_Add(settings, Types().vector, &up);

  TQ3ViewPlaneCameraData cd{{{{0, 0, 5}, {0, 0, 0}, {0, 1, 0}}, {1, 100}, {{-1, 1}, 2, 2}}, 1, 1, 1, 0, 0};
  Obj movie(Q3XObjectHierarchy_NewObject(Types().sequenceClass, nullptr));
  TQ3Int32 fps = 15;
  Q3Shape_AddElement(movie, Types().number, &fps);
  for (int frame = 0; frame < 3; ++frame) {
    cd.cameraData.placement.cameraLocation.x = float(frame);
    Obj camera(Q3ViewPlaneCamera_New(&cd));
    TQ3Int32 duration = 30 * (frame + 1);
    Q3Shape_AddElement(camera, Types().number, &duration);
    Q3Group_AddObject(movie, camera);
  }

  Obj saved(Q3ViewHints_New(nullptr)), other(Q3ViewHints_New(nullptr));
  Obj savedCamera(Q3ViewPlaneCamera_New(&cd));
  Q3ViewHints_SetCamera(saved, savedCamera);

  TQ3PointData pd{{0, 0, 0}, nullptr};
  Obj sky(Q3Point_New(&pd));
  Q3Shape_AddElement(sky, Types().presence, nullptr);
  Obj objects(Q3DisplayGroup_New());
  Q3Group_AddObject(objects, sky);  // a drawable that is no backdrop, for all its member

  std::vector<TQ3Object> top{settings, movie, saved, other, sky, objects, savedCamera};
  const Kind expected[] = {Kind::kSettings, Kind::kMovie,  Kind::kSavedView, Kind::kOtherView,
                           Kind::kBackdrop, Kind::kObject, Kind::kDropped};
  for (TQ3FileMode form : {kQ3FileModeNormal, kQ3FileModeText}) {
    std::vector<Obj> read;
    ASSERT_TRUE(ReadObjects(WriteObjects(top, form), read));
    ASSERT_EQ(read.size(), top.size());
    for (size_t i = 0; i < read.size(); ++i) EXPECT_EQ(Classify(read[i]), expected[i]) << form << " " << i;
    // The movie keeps its frames in order, with their own elements.
    ASSERT_EQ(CountOf(read[1]), 3u);
    for (TQ3Uns32 f = 0; f < 3; ++f) {
      Obj frame = MemberAt(read[1], f);
      TQ3CameraPlacement placement{};
      Q3Camera_GetPlacement(frame, &placement);
      EXPECT_EQ(placement.cameraLocation.x, float(f));
      TQ3Int32 duration = 0;
      Q3Shape_GetElement(frame, Types().number, &duration);
      EXPECT_EQ(duration, 30 * TQ3Int32(f + 1));
    }
  }
}

TEST_F(SceneFiles, ReferencesBalanceOverMakeGroupCopyWriteReadDispose) {
  Obj colour(Q3AttributeSet_New());
  TQ3ColorRGB red{1, 0, 0};
  Q3AttributeSet_Add(colour, kQ3AttributeTypeDiffuseColor, &red);
  Obj mesh(Q3Mesh_New());
  TQ3MeshVertex v[3];
  for (int i = 0; i < 3; ++i) {
    TQ3Vertex3D vertex{{float(i), float(i * i), 0}, colour};
    v[i] = Q3Mesh_VertexNew(mesh, &vertex);
  }
  TQ3MeshFace face = Q3Mesh_FaceNew(mesh, 3, v, colour);
  Q3Mesh_SetCornerAttributeSet(mesh, v[0], face, colour);
  EXPECT_EQ(Q3Shared_GetReferenceCount(colour), 6u);

  Obj inner(Q3OrderedDisplayGroup_New()), outer(Q3DisplayGroup_New());
  Q3Group_AddObject(inner, colour);
  Q3Group_AddObject(inner, mesh);
  Q3Group_AddObject(outer, inner);
  Q3Group_AddObject(outer, mesh);  // the same mesh twice
  EXPECT_EQ(Q3Shared_GetReferenceCount(mesh), 3u);
  EXPECT_EQ(Q3Shared_GetReferenceCount(colour), 7u);

  Obj copy(Q3Object_Duplicate(outer));
  EXPECT_EQ(Q3Shared_GetReferenceCount(mesh), 3u);  // a copy holds copies
  EXPECT_EQ(Q3Shared_GetReferenceCount(colour), 7u);

  std::vector<TQ3Uns8> file = WriteObjects({outer.get(), copy.get()}, kQ3FileModeNormal);
  EXPECT_EQ(Q3Shared_GetReferenceCount(mesh), 3u);  // writing keeps nothing once the file is closed
  std::vector<Obj> read;
  ASSERT_TRUE(ReadObjects(file, read));
  ASSERT_EQ(read.size(), 2u);
  // The mesh read once and shared: by both groups and by the read reference held in the groups.
  Obj readInner = MemberAt(read[0], 0), readMesh = MemberAt(read[0], 1);
  EXPECT_EQ(MemberAt(readInner, 1).get(), readMesh.get());
  EXPECT_EQ(Q3Shared_GetReferenceCount(readMesh), 3u);  // two groups and this test's reference

  copy.reset();
  read.clear();
  readInner.reset();
  EXPECT_EQ(Q3Shared_GetReferenceCount(readMesh), 1u);
  readMesh.reset();
  outer.reset();
  inner.reset();
  EXPECT_EQ(Q3Shared_GetReferenceCount(mesh), 1u);
  mesh.reset();
  EXPECT_EQ(Q3Shared_GetReferenceCount(colour), 1u);
  // Whatever was not let go shows up under the leak checker when the program ends.
}
