// Sets, attribute sets, shapes' sets, C strings and groups.
#include <cstring>

#include "Q3TestSupport.h"
#include "TestClasses.h"

using namespace q3test;

class Sets : public Library {};

TEST_F(Sets, EveryBuiltInAttributeKeepsItsValue) {
  struct Case {
    TQ3AttributeType type;
    TQ3Uns32 size;
    float value[6];
  };
  const Case cases[] = {
      {kQ3AttributeTypeSurfaceUV, 8, {0.25f, 0.75f}},
      {kQ3AttributeTypeShadingUV, 8, {1, 2}},
      {kQ3AttributeTypeNormal, 12, {0, 0, 1}},
      {kQ3AttributeTypeAmbientCoefficient, 4, {0.5f}},
      {kQ3AttributeTypeDiffuseColor, 12, {1, 0.5f, 0}},
      {kQ3AttributeTypeSpecularColor, 12, {0.2f, 0.2f, 0.2f}},
      {kQ3AttributeTypeSpecularControl, 4, {8}},
      {kQ3AttributeTypeTransparencyColor, 12, {0.5f, 0.5f, 0.5f}},
      {kQ3AttributeTypeSurfaceTangent, 24, {1, 0, 0, 0, 1, 0}},
      {kQ3AttributeTypeEmissiveColor, 12, {0, 0, 1}},
  };
  Obj set(Q3AttributeSet_New());
  for (const Case& c : cases) {
    TQ3Uns32 size = 0;
    ASSERT_EQ(Q3XElementType_GetElementSize(c.type, &size), kQ3Success);
    EXPECT_EQ(size, c.size) << c.type;
    ASSERT_EQ(Q3AttributeSet_Add(set, c.type, c.value), kQ3Success) << c.type;
  }
  TQ3AttributeType type = kQ3AttributeTypeNone;
  size_t i = 0;
  while (Q3AttributeSet_GetNextAttributeType(set, &type) == kQ3Success && type != kQ3AttributeTypeNone) {
    ASSERT_LT(i, std::size(cases));
    EXPECT_EQ(type, cases[i].type);  // in the order they were added
    float got[6] = {};
    ASSERT_EQ(Q3AttributeSet_Get(set, type, got), kQ3Success);
    EXPECT_EQ(std::memcmp(got, cases[i].value, cases[i].size), 0) << type;
    ++i;
  }
  EXPECT_EQ(i, std::size(cases));

  EXPECT_EQ(Q3AttributeSet_Clear(set, kQ3AttributeTypeNormal), kQ3Success);
  EXPECT_EQ(Q3AttributeSet_Contains(set, kQ3AttributeTypeNormal), kQ3False);
  float none[3];
  EXPECT_EQ(Q3AttributeSet_Get(set, kQ3AttributeTypeNormal, none), kQ3Failure);  // absent: a failure, no error
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorNone);
  EXPECT_EQ(Q3AttributeSet_Empty(set), kQ3Success);
  EXPECT_EQ(Q3AttributeSet_Contains(set, kQ3AttributeTypeDiffuseColor), kQ3False);
}

TEST_F(Sets, SurfaceShaderAttributeHoldsAReference) {
  Obj shader(Q3TextureShader_New(nullptr));
  Obj set(Q3AttributeSet_New());
  TQ3Object s = shader.get();
  ASSERT_EQ(Q3AttributeSet_Add(set, kQ3AttributeTypeSurfaceShader, &s), kQ3Success);
  EXPECT_EQ(Q3Shared_GetReferenceCount(shader), 2u);
  TQ3Object got = nullptr;
  ASSERT_EQ(Q3AttributeSet_Get(set, kQ3AttributeTypeSurfaceShader, &got), kQ3Success);
  EXPECT_EQ(got, shader.get());
  EXPECT_EQ(Q3Shared_GetReferenceCount(shader), 3u);  // the caller's own reference
  Q3Object_Dispose(got);
  Obj copy(Q3Object_Duplicate(set));
  EXPECT_EQ(Q3Shared_GetReferenceCount(shader), 3u);
  copy.reset();
  set.reset();
  EXPECT_EQ(Q3Shared_GetReferenceCount(shader), 1u);
}

TEST_F(Sets, InheritTakesTheChildOverTheParent) {
  RegisterTestClasses();
  Obj parent(Q3AttributeSet_New()), child(Q3AttributeSet_New()), result(Q3AttributeSet_New());
  TQ3ColorRGB red{1, 0, 0}, blue{0, 0, 1};
  float shine = 20;
  Q3AttributeSet_Add(parent, kQ3AttributeTypeDiffuseColor, &red);
  Q3AttributeSet_Add(parent, kQ3AttributeTypeSpecularControl, &shine);
  TQ3Int32 n = 4;
  Q3Set_Add(parent, Types().number, &n);  // a registered class without an inherit method stays behind
  Q3AttributeSet_Add(child, kQ3AttributeTypeDiffuseColor, &blue);
  ASSERT_EQ(Q3AttributeSet_Inherit(parent, child, result), kQ3Success);
  TQ3ColorRGB c{};
  Q3AttributeSet_Get(result, kQ3AttributeTypeDiffuseColor, &c);
  EXPECT_EQ(c.b, 1);
  float got = 0;
  Q3AttributeSet_Get(result, kQ3AttributeTypeSpecularControl, &got);
  EXPECT_EQ(got, 20);
  EXPECT_EQ(Q3AttributeSet_Contains(result, Types().number), kQ3False);
  // The result may be one of the two.
  ASSERT_EQ(Q3AttributeSet_Inherit(parent, child, child), kQ3Success);
  EXPECT_EQ(Q3AttributeSet_Contains(child, kQ3AttributeTypeSpecularControl), kQ3True);
  parent.reset();
  child.reset();
  result.reset();
  UnregisterTestClasses();
}

TEST_F(Sets, ShapeSetsAndStrings) {
  RegisterTestClasses();
  Obj mesh(Q3Mesh_New());
  EXPECT_EQ(Q3Shape_ContainsElement(mesh, Types().presence), kQ3False);
  TQ3SetObject set = nullptr;
  ASSERT_EQ(Q3Shape_GetSet(mesh, &set), kQ3Success);
  EXPECT_EQ(set, nullptr);  // asking makes no set
  ASSERT_EQ(Q3Shape_AddElement(mesh, Types().presence, nullptr), kQ3Success);
  EXPECT_EQ(Q3Shape_ContainsElement(mesh, Types().presence), kQ3True);
  ASSERT_EQ(Q3Shape_GetSet(mesh, &set), kQ3Success);
  EXPECT_EQ(Q3Set_Contains(set, Types().presence), kQ3True);
  Obj other(Q3Mesh_New());
  ASSERT_EQ(Q3Shape_SetSet(other, set), kQ3Success);  // one set, shared
  Q3Object_Dispose(set);
  EXPECT_EQ(Q3Shape_ContainsElement(other, Types().presence), kQ3True);

  Obj text(Q3CString_New("Caf\x8E"));  // Mac Roman bytes are kept as they are
  char* s = nullptr;
  ASSERT_EQ(Q3CString_GetString(text, &s), kQ3Success);
  EXPECT_STREQ(s, "Caf\x8E");
  Q3CString_EmptyData(&s);
  EXPECT_EQ(s, nullptr);
  Q3CString_SetString(text, "longer text");
  TQ3Uns32 length = 0;
  Q3CString_GetLength(text, &length);
  EXPECT_EQ(length, 11u);
  mesh.reset();
  other.reset();
  UnregisterTestClasses();
}

class Groups : public Library {};

TEST_F(Groups, EachKindTakesItsOwnMembers) {
  TQ3LightData ld{kQ3True, 1, {1, 1, 1}};
  TQ3ViewPlaneCameraData cd{};
  Obj light(Q3AmbientLight_New(&ld)), camera(Q3ViewPlaneCamera_New(&cd)), mesh(Q3Mesh_New()),
      set(Q3Set_New()), attributes(Q3AttributeSet_New()), hints(Q3ViewHints_New(nullptr));
  struct Case {
    TQ3GroupObject (*make)();
    TQ3Object member;
    bool accepted;
  };
  const Case cases[] = {
      {Q3Group_New, mesh, true},         {Q3Group_New, hints, true},
      {Q3Group_New, camera, true},       {Q3DisplayGroup_New, mesh, true},
      {Q3DisplayGroup_New, attributes, true}, {Q3DisplayGroup_New, set, false},
      {Q3DisplayGroup_New, light, false},  {Q3DisplayGroup_New, hints, false},
      {Q3LightGroup_New, light, true},   {Q3LightGroup_New, mesh, false},
      {Q3IOProxyDisplayGroup_New, mesh, true}, {Q3OrderedDisplayGroup_New, camera, false},
  };
  for (const Case& c : cases) {
    Obj group(c.make());
    TQ3GroupPosition pos = Q3Group_AddObject(group, c.member);
    EXPECT_EQ(pos != nullptr, c.accepted) << Q3Object_GetLeafType(group) << " " << Q3Object_GetLeafType(c.member);
    EXPECT_EQ(CountOf(group), c.accepted ? 1u : 0u);
    if (!c.accepted) {
      EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorInvalidObjectForGroup);
    }
  }
  EXPECT_EQ(Q3Shared_GetReferenceCount(mesh), 1u);
}

TEST_F(Groups, OrderedDisplayGroupSortsByKind) {
  TQ3Vector3D v{1, 2, 3};
  TQ3PointData pd{{0, 0, 0}, nullptr};
  Obj group(Q3OrderedDisplayGroup_New());
  Obj inner(Q3DisplayGroup_New()), point(Q3Point_New(&pd)), shader(Q3PhongIllumination_New()),
      attributes(Q3AttributeSet_New()), style(Q3FillStyle_New(kQ3FillStyleEdges)),
      transform(Q3TranslateTransform_New(&v)), point2(Q3Point_New(&pd));
  for (TQ3Object o : {inner.get(), point.get(), shader.get(), attributes.get(), style.get(), transform.get(),
                      point2.get()})
    ASSERT_NE(Q3Group_AddObject(group, o), nullptr);
  const TQ3Object expected[] = {transform, style, attributes, shader, point, point2, inner};
  for (TQ3Uns32 i = 0; i < 7; ++i) EXPECT_EQ(MemberAt(group, i).get(), expected[i]) << i;

  // A place given that breaks the order is not kept.
  TQ3GroupPosition first = nullptr;
  Q3Group_GetFirstPosition(group, &first);
  Obj point3(Q3Point_New(&pd));
  ASSERT_NE(Q3Group_AddObjectBefore(group, first, point3), nullptr);
  EXPECT_EQ(MemberAt(group, 6).get(), point3.get());
}

TEST_F(Groups, PositionsWalkInsertAndRemove) {
  TQ3PointData pd{{0, 0, 0}, nullptr};
  Obj a(Q3Point_New(&pd)), b(Q3Point_New(&pd)), c(Q3Point_New(&pd)), mesh(Q3Mesh_New());
  Obj group(Q3DisplayGroup_New());
  TQ3GroupPosition pa = Q3Group_AddObject(group, a);
  TQ3GroupPosition pc = Q3Group_AddObject(group, c);
  ASSERT_NE(Q3Group_AddObjectAfter(group, pa, b), nullptr);
  ASSERT_NE(Q3Group_AddObjectBefore(group, pa, mesh), nullptr);
  // mesh a b c
  EXPECT_EQ(MemberAt(group, 0).get(), mesh.get());
  EXPECT_EQ(MemberAt(group, 2).get(), b.get());
  TQ3GroupPosition pos = pc;
  ASSERT_EQ(Q3Group_GetPreviousPosition(group, &pos), kQ3Success);
  Obj atPos;
  Q3Group_GetPositionObject(group, pos, atPos.out());
  EXPECT_EQ(atPos.get(), b.get());

  ASSERT_EQ(Q3Group_GetFirstPositionOfType(group, kQ3GeometryTypePoint, &pos), kQ3Success);
  EXPECT_EQ(pos, pa);
  ASSERT_EQ(Q3Group_GetNextPositionOfType(group, kQ3GeometryTypePoint, &pos), kQ3Success);
  ASSERT_EQ(Q3Group_GetLastPositionOfType(group, kQ3GeometryTypeMesh, &pos), kQ3Success);
  Q3Group_GetPositionObject(group, pos, atPos.out());
  EXPECT_EQ(atPos.get(), mesh.get());
  TQ3Uns32 n = 0;
  Q3Group_CountObjectsOfType(group, kQ3GeometryTypePoint, &n);
  EXPECT_EQ(n, 3u);

  // The removed member comes back with the group's reference.
  TQ3Object removed = Q3Group_RemovePosition(group, pa);
  EXPECT_EQ(removed, a.get());
  EXPECT_EQ(Q3Shared_GetReferenceCount(a), 2u);
  Q3Object_Dispose(removed);
  // A stale position is refused.
  EXPECT_EQ(Q3Group_RemovePosition(group, pa), nullptr);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorInvalidPositionForGroup);
  EXPECT_EQ(Q3Group_GetNextPosition(group, &pa), kQ3Failure);

  ASSERT_EQ(Q3Group_SetPositionObject(group, pc, a), kQ3Success);
  EXPECT_EQ(Q3Shared_GetReferenceCount(c), 1u);
  ASSERT_EQ(Q3Group_GetFirstObjectPosition(group, a, &pos), kQ3Success);
  EXPECT_EQ(pos, pc);
  ASSERT_EQ(Q3Group_EmptyObjectsOfType(group, kQ3GeometryTypePoint), kQ3Success);
  EXPECT_EQ(CountOf(group), 1u);
  ASSERT_EQ(Q3Group_EmptyObjects(group), kQ3Success);
  EXPECT_EQ(CountOf(group), 0u);
  Q3Group_GetFirstPosition(group, &pos);
  EXPECT_EQ(pos, nullptr);
}

TEST_F(Groups, NoGroupContainsItself) {
  Obj outer(Q3DisplayGroup_New()), inner(Q3DisplayGroup_New()), innermost(Q3Group_New());
  ASSERT_NE(Q3Group_AddObject(outer, inner), nullptr);
  ASSERT_NE(Q3Group_AddObject(inner, innermost), nullptr);
  EXPECT_EQ(Q3Group_AddObject(outer, outer), nullptr);
  EXPECT_EQ(Q3Group_AddObject(innermost, outer), nullptr);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorInvalidObjectForGroup);
  // The same member twice is fine.
  EXPECT_NE(Q3Group_AddObject(outer, innermost), nullptr);
  EXPECT_NE(Q3Group_AddObject(outer, innermost), nullptr);
}

TEST_F(Groups, DisplayState) {
  Obj group(Q3OrderedDisplayGroup_New());
  TQ3DisplayGroupState state = 0;
  ASSERT_EQ(Q3DisplayGroup_GetState(group, &state), kQ3Success);
  EXPECT_TRUE(state & kQ3DisplayGroupStateMaskIsDrawn);
  EXPECT_FALSE(state & kQ3DisplayGroupStateMaskIsInline);
  ASSERT_EQ(Q3DisplayGroup_SetState(group, state | kQ3DisplayGroupStateMaskIsInline), kQ3Success);
  Q3DisplayGroup_GetState(group, &state);
  EXPECT_TRUE(state & kQ3DisplayGroupStateMaskIsInline);
  Obj plain(Q3Group_New());
  EXPECT_EQ(Q3DisplayGroup_GetState(plain, &state), kQ3Failure);
}

TEST_F(Groups, DuplicatingKeepsSharedMembersShared) {
  // Every level holds the level below twice: 40 levels stand for 2^40 paths to the point.
  TQ3PointData pd{{0, 0, 0}, nullptr};
  Obj level(Q3Point_New(&pd));
  for (int i = 0; i < 40; ++i) {
    Obj group(Q3DisplayGroup_New());
    ASSERT_NE(Q3Group_AddObject(group, level), nullptr);
    ASSERT_NE(Q3Group_AddObject(group, level), nullptr);
    level = std::move(group);
  }
  Obj copy(Q3Object_Duplicate(level));
  ASSERT_NE(copy.get(), nullptr);
  EXPECT_NE(MemberAt(copy, 0).get(), MemberAt(level, 0).get());  // copies, not the originals
  Obj at = std::move(copy);
  for (int i = 0; i < 40; ++i) {
    Obj first = MemberAt(at, 0), second = MemberAt(at, 1);
    ASSERT_EQ(first.get(), second.get()) << "level " << i;
    at = std::move(first);
  }
  EXPECT_EQ(Q3Object_GetLeafType(at), kQ3GeometryTypePoint);
}
