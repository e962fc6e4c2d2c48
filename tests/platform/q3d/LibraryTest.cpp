// Starting and ending the library, errors, objects and references, the class
// hierarchy and classes registered at run time.
#include <stdexcept>

#include "Q3TestSupport.h"
#include "TestClasses.h"

using namespace q3test;

TEST(LibraryStart, ReportsRelease16AndCountsStarts) {
  TQ3Uns32 release = 0, major = 0, minor = 0;
  ASSERT_EQ(Q3GetReleaseVersion(&release), kQ3Success);
  EXPECT_EQ(release, 0x01608000u);  // at or above the 0x01518000 the program asks for
  ASSERT_EQ(Q3GetVersion(&major, &minor), kQ3Success);
  EXPECT_EQ(major, 1u);
  EXPECT_EQ(minor, 6u);

  EXPECT_EQ(Q3IsInitialized(), kQ3False);
  Q3Error_Get(nullptr);
  EXPECT_EQ(Q3Set_New(), nullptr);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNotInitialized);

  ASSERT_EQ(Q3Initialize(), kQ3Success);
  ASSERT_EQ(Q3Initialize(), kQ3Success);
  EXPECT_EQ(Q3Exit(), kQ3Success);
  EXPECT_EQ(Q3IsInitialized(), kQ3True);
  Obj set(Q3Set_New());
  EXPECT_NE(set.get(), nullptr);
  set.reset();
  EXPECT_EQ(Q3Exit(), kQ3Success);
  EXPECT_EQ(Q3IsInitialized(), kQ3False);
  EXPECT_EQ(Q3Exit(), kQ3Failure);  // one exit too many is an error, not a crash
}

class Objects : public Library {};

TEST_F(Objects, TypesFollowTheClassTree) {
  Obj mesh(Q3Mesh_New());
  EXPECT_EQ(Q3Object_GetLeafType(mesh), kQ3GeometryTypeMesh);
  EXPECT_EQ(Q3Object_GetType(mesh), kQ3ObjectTypeShared);
  EXPECT_EQ(Q3Shared_GetType(mesh), kQ3SharedTypeShape);
  EXPECT_EQ(Q3Shape_GetType(mesh), kQ3ShapeTypeGeometry);
  EXPECT_EQ(Q3Geometry_GetType(mesh), kQ3GeometryTypeMesh);
  EXPECT_TRUE(Q3Object_IsType(mesh, kQ3ShapeTypeGeometry));
  EXPECT_FALSE(Q3Object_IsType(mesh, kQ3ShapeTypeGroup));

  Obj ordered(Q3OrderedDisplayGroup_New());
  EXPECT_EQ(Q3Group_GetType(ordered), kQ3GroupTypeDisplay);
  EXPECT_EQ(Q3DisplayGroup_GetType(ordered), kQ3DisplayGroupTypeOrdered);

  TQ3ObjectType type = 0;
  ASSERT_EQ(Q3ObjectHierarchy_GetTypeFromString("TriMesh", &type), kQ3Success);
  EXPECT_EQ(type, kQ3GeometryTypeTriMesh);
  TQ3ObjectClassNameString name;
  ASSERT_EQ(Q3ObjectHierarchy_GetStringFromType(kQ3SharedTypeViewHints, name), kQ3Success);
  EXPECT_STREQ(name, "ViewHints");
  EXPECT_EQ(Q3ObjectHierarchy_GetTypeFromString("No Such Class", &type), kQ3Failure);
  EXPECT_EQ(type, kQ3ObjectTypeInvalid);

  // No renderer is installed yet: the renderer class has no subclasses.
  TQ3SubClassData sub{};
  ASSERT_EQ(Q3ObjectHierarchy_GetSubClassData(kQ3SharedTypeRenderer, &sub), kQ3Success);
  EXPECT_EQ(sub.numClasses, 0u);
  ASSERT_EQ(Q3ObjectHierarchy_GetSubClassData(kQ3GroupTypeDisplay, &sub), kQ3Success);
  EXPECT_EQ(sub.numClasses, 2u);
  Q3ObjectHierarchy_EmptySubClassData(&sub);
  EXPECT_EQ(sub.classTypes, nullptr);
}

TEST_F(Objects, DrawableKinds) {
  RegisterTestClasses();
  struct Case {
    const char* what;
    TQ3Object object;
    TQ3Boolean drawable;
  };
  TQ3LightData light{kQ3True, 1, {1, 1, 1}};
  TQ3ViewPlaneCameraData camera{};
  Case cases[] = {
      {"mesh", Q3Mesh_New(), kQ3True},
      {"group", Q3Group_New(), kQ3True},
      {"display group", Q3DisplayGroup_New(), kQ3True},
      {"attribute set", Q3AttributeSet_New(), kQ3True},
      {"style", Q3BackfacingStyle_New(kQ3BackfacingStyleBoth), kQ3True},
      {"shader", Q3PhongIllumination_New(), kQ3True},
      {"plain group subclass", Q3XObjectHierarchy_NewObject(Types().sequenceClass, nullptr), kQ3False},
      {"set", Q3Set_New(), kQ3False},
      {"view hints", Q3ViewHints_New(nullptr), kQ3False},
      {"camera", Q3ViewPlaneCamera_New(&camera), kQ3False},
      {"light", Q3AmbientLight_New(&light), kQ3False},
      {"string", Q3CString_New("x"), kQ3False},
  };
  for (const Case& c : cases) {
    ASSERT_NE(c.object, nullptr) << c.what;
    EXPECT_EQ(Q3Object_IsDrawable(c.object), c.drawable) << c.what;
    Q3Object_Dispose(c.object);
  }
  UnregisterTestClasses();
}

TEST_F(Objects, ReferencesAndDuplicates) {
  Obj set(Q3AttributeSet_New());
  EXPECT_EQ(Q3Shared_GetReferenceCount(set), 1u);
  EXPECT_EQ(Q3Shared_IsReferenced(set), kQ3False);
  TQ3Object second = Q3Shared_GetReference(set);
  EXPECT_EQ(second, set.get());
  EXPECT_EQ(Q3Shared_GetReferenceCount(set), 2u);
  EXPECT_EQ(Q3Shared_IsReferenced(set), kQ3True);
  Q3Object_Dispose(second);
  EXPECT_EQ(Q3Shared_GetReferenceCount(set), 1u);

  // A duplicate is deep: the group's members and their attribute sets are new objects.
  TQ3ColorRGB red{1, 0, 0};
  Q3AttributeSet_Add(set, kQ3AttributeTypeDiffuseColor, &red);
  TQ3PointData data{{1, 2, 3}, set};
  Obj point(Q3Point_New(&data));
  EXPECT_EQ(Q3Shared_GetReferenceCount(set), 2u);
  Obj group(Q3DisplayGroup_New());
  Q3Group_AddObject(group, point);
  Obj copy(Q3Object_Duplicate(group));
  ASSERT_NE(copy.get(), nullptr);
  Obj copiedPoint = MemberAt(copy, 0);
  EXPECT_NE(copiedPoint.get(), point.get());
  TQ3PointData out{};
  ASSERT_EQ(Q3Point_GetData(copiedPoint, &out), kQ3Success);
  EXPECT_NE(out.pointAttributeSet, set.get());
  TQ3ColorRGB color{};
  EXPECT_EQ(Q3AttributeSet_Get(out.pointAttributeSet, kQ3AttributeTypeDiffuseColor, &color), kQ3Success);
  EXPECT_EQ(color.r, 1);
  Q3Point_EmptyData(&out);
  EXPECT_EQ(Q3Shared_GetReferenceCount(set), 2u);  // the original's set is untouched
}

TEST_F(Objects, BadObjectsGiveErrors) {
  Obj set(Q3Set_New());
  EXPECT_EQ(Q3Mesh_GetNumVertices(set, nullptr), kQ3Failure);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorInvalidObjectType);

  TQ3Object gone = Q3Set_New();
  Q3Object_Dispose(gone);
  EXPECT_EQ(Q3Object_Dispose(gone), kQ3Failure);  // a second dispose is refused, not a double free
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorInvalidObject);
  EXPECT_EQ(Q3Object_IsType(nullptr, kQ3SharedTypeSet), kQ3False);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNULLParameter);
}

TEST_F(Objects, EveryKindDuplicates) {
  TQ3LightData ld{kQ3True, 1, {1, 1, 1}};
  TQ3ViewPlaneCameraData cd{};
  TQ3Uns8 bytes[4] = {1, 2, 3, 4};
  for (TQ3Object o : {Q3View_New(), Q3File_New(), Q3MemoryStorage_New(bytes, 4), Q3PathStorage_New("/tmp/x"),
                      Q3CString_New("a"), Q3ViewHints_New(nullptr), Q3ViewPlaneCamera_New(&cd),
                      Q3AmbientLight_New(&ld), Q3PhongIllumination_New(), Q3LightGroup_New(), Q3Mesh_New()}) {
    Obj original(o);
    Obj copy(Q3Object_Duplicate(o));
    ASSERT_NE(copy.get(), nullptr) << Q3Object_GetLeafType(o);
    EXPECT_NE(copy.get(), o);
    EXPECT_EQ(Q3Object_GetLeafType(copy), Q3Object_GetLeafType(o));
  }
  Obj view(Q3View_New());
  Obj copy(Q3Object_Duplicate(view));
  Obj file(Q3File_New()), storage(Q3MemoryStorage_New(nullptr, 0));
  Q3File_SetStorage(file, storage);
  Q3File_OpenWrite(file, kQ3FileModeNormal);
  EXPECT_EQ(Q3View_StartWriting(copy, file), kQ3Success);
  EXPECT_EQ(Q3View_EndWriting(copy), kQ3ViewStatusDone);
}

TEST_F(Objects, ErrorGetReportsFirstAndLast) {
  Q3Error_Register(nullptr, 0);
  Q3Set_Add(nullptr, 1, nullptr);
  Obj set(Q3Set_New());
  Q3Set_Add(set, 9999, nullptr);
  TQ3Error first = kQ3ErrorNone;
  EXPECT_EQ(Q3Error_Get(&first), kQ3ErrorUnknownElementType);
  EXPECT_EQ(first, kQ3ErrorNULLParameter);
  EXPECT_EQ(Q3Error_Get(&first), kQ3ErrorNone);
  EXPECT_EQ(Q3Error_IsFatalError(kQ3ErrorInternalError), kQ3True);
  EXPECT_EQ(Q3Error_IsFatalError(kQ3ErrorInvalidObject), kQ3False);
}

// The program's error handler throws; every call must leave things as they were.
static void Throw(TQ3Error first, TQ3Error, TQ3Int32) { throw std::runtime_error(std::to_string(first)); }

TEST_F(Objects, ThrowingErrorHandlerLeavesObjectsConsistent) {
  Q3Error_Register(Throw, 0);
  Obj group(Q3DisplayGroup_New());
  Obj set(Q3Set_New());
  EXPECT_THROW(Q3Group_AddObject(group, set), std::runtime_error);  // a set does not draw
  EXPECT_EQ(CountOf(group), 0u);
  // Each report carries its own first error, not one left from before.
  try {
    Obj mesh(Q3Mesh_New());
    Q3Object_Dispose(nullptr);
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), std::to_string(kQ3ErrorNULLParameter));
  }
  EXPECT_EQ(Q3Shared_GetReferenceCount(set), 1u);

  // A damaged file: the exception leaves the read; the file can still be closed.
  std::string text = "3DMetafile ( 1 6 Normal NULL )\nTriMesh ( 1 0 0 0 3 0 0 1 9 0 0 0 1 0 0 0 1 0 )";
  std::vector<TQ3Uns8> bytes(text.begin(), text.end());
  Obj storage(Q3MemoryStorage_New(bytes.data(), TQ3Uns32(bytes.size())));
  Obj file(Q3File_New());
  Q3File_SetStorage(file, storage);
  ASSERT_EQ(Q3File_OpenRead(file, nullptr), kQ3Success);
  EXPECT_THROW(Q3File_ReadObject(file), std::runtime_error);
  Q3Error_Register(nullptr, 0);
  EXPECT_EQ(Q3File_IsEndOfFile(file), kQ3True);
  EXPECT_EQ(Q3File_Close(file), kQ3Success);
}

TEST_F(Objects, ExitWithObjectsAliveKeepsThemUsable) {
  ASSERT_EQ(Q3Initialize(), kQ3Success);  // balanced by the fixture's exit
  Obj mesh(Q3Mesh_New());
  EXPECT_EQ(Q3Exit(), kQ3Success);
  ASSERT_EQ(Q3Exit(), kQ3Success);
  EXPECT_EQ(Q3Warning_Get(nullptr), kQ3WarningPossibleMemoryLeak);
  TQ3Uns32 n = 1;
  EXPECT_EQ(Q3Mesh_GetNumVertices(mesh, &n), kQ3Success);
  EXPECT_EQ(n, 0u);
  mesh.reset();
  ASSERT_EQ(Q3Initialize(), kQ3Success);
}

class CustomClasses : public Library {
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

TEST_F(CustomClasses, MethodsAreTakenWhileRegistering) {
  // The shared table was cleared after each registration; the methods were kept.
  auto cls = Q3XObjectHierarchy_FindClassByType(Types().vector);
  ASSERT_NE(cls, nullptr);
  EXPECT_NE(Q3XObjectClass_GetMethod(cls, kQ3XMethodTypeObjectWrite), nullptr);
  EXPECT_EQ(Q3XObjectClass_GetMethod(cls, kQ3XMethodTypeElementDelete), nullptr);
  TQ3Uns32 size = 0;
  ASSERT_EQ(Q3XElementType_GetElementSize(Types().vector, &size), kQ3Success);
  EXPECT_EQ(size, 12u);
  ASSERT_EQ(Q3XElementType_GetElementSize(kQ3AttributeTypeSurfaceShader, &size), kQ3Success);
  EXPECT_EQ(size, sizeof(TQ3Object));

  TQ3ObjectType type = 0;
  ASSERT_EQ(Q3ObjectHierarchy_GetTypeFromString("Test:Vector", &type), kQ3Success);
  EXPECT_EQ(type, Types().vector);
  // A name is registered once.
  TQ3ElementType again = 0;
  EXPECT_EQ(Q3XElementClass_Register(&again, "Test:Vector", 12, nullptr), nullptr);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorInvalidObjectName);
  // Only classes whose objects the library can make can be built on.
  EXPECT_EQ(Q3XObjectHierarchy_RegisterClass(kQ3SharedTypeStorage, &type, "Test:Storage", nullptr, nullptr, 0, 0),
            nullptr);
}

TEST_F(CustomClasses, ElementDataGoesThroughTheCopyMethods) {
  Obj set(Q3Set_New());
  std::vector<TQ3Uns8> flags{1, 0, 1};
  FlagArray in = &flags;
  ASSERT_EQ(Q3Set_Add(set, Types().flags, &in), kQ3Success);
  flags.push_back(1);  // the set holds its own copy
  std::vector<TQ3Uns8> got;
  FlagArray out = &got;
  ASSERT_EQ(Q3Set_Get(set, Types().flags, &out), kQ3Success);
  EXPECT_EQ(got, (std::vector<TQ3Uns8>{1, 0, 1}));

  Obj copy(Q3Object_Duplicate(set));
  ASSERT_EQ(Q3Set_Add(set, Types().flags, &in), kQ3Success);  // replaced in place
  ASSERT_EQ(Q3Set_Get(copy, Types().flags, &out), kQ3Success);
  EXPECT_EQ(got.size(), 3u);
  ASSERT_EQ(Q3Set_Get(set, Types().flags, &out), kQ3Success);
  EXPECT_EQ(got.size(), 4u);

  // The caption holds a reference to its string object.
  Obj caption(Q3CString_New("north"));
  TQ3Object c = caption.get();
  ASSERT_EQ(Q3Set_Add(set, Types().caption, &c), kQ3Success);
  EXPECT_EQ(Q3Shared_GetReferenceCount(caption), 2u);
  ASSERT_EQ(Q3Set_Clear(set, Types().caption), kQ3Success);
  EXPECT_EQ(Q3Shared_GetReferenceCount(caption), 1u);

  // A class cannot go while elements of it exist.
  auto flagsClass = Q3XObjectHierarchy_FindClassByType(Types().flags);
  EXPECT_EQ(Q3XObjectHierarchy_UnregisterClass(flagsClass), kQ3Failure);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorObjectClassInUse);
}

TEST_F(CustomClasses, GroupSubclassMakesGroupsThatHoldMembers) {
  Obj sequence(Q3XObjectHierarchy_NewObject(Types().sequenceClass, nullptr));
  ASSERT_NE(sequence.get(), nullptr);
  EXPECT_EQ(Q3Object_GetLeafType(sequence), Types().sequence);
  TQ3ViewPlaneCameraData data{};
  Obj camera(Q3ViewPlaneCamera_New(&data));
  EXPECT_NE(Q3Group_AddObject(sequence, camera), nullptr);  // a plain group takes any shared object
  TQ3Int32 rate = 15;
  ASSERT_EQ(Q3Shape_AddElement(sequence, Types().number, &rate), kQ3Success);
  Obj copy(Q3Object_Duplicate(sequence));
  EXPECT_EQ(Q3Object_GetLeafType(copy), Types().sequence);
  EXPECT_EQ(CountOf(copy), 1u);
  TQ3Int32 got = 0;
  EXPECT_EQ(Q3Shape_GetElement(copy, Types().number, &got), kQ3Success);
  EXPECT_EQ(got, 15);
  EXPECT_EQ(Q3XObjectHierarchy_UnregisterClass(Types().sequenceClass), kQ3Failure);
}
