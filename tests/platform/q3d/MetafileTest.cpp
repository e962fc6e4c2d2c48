// Writing and reading metafiles: every kind of object both ways, references,
// unknown objects, registered classes, storage and the primitives of read and
// write methods.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "Q3TestSupport.h"
#include "TempFolder.h"
#include "TestClasses.h"

using namespace q3test;

namespace {

Obj Attributes(float r) {
  Obj set(Q3AttributeSet_New());
  TQ3ColorRGB c{r, 0.5f, 0.25f};
  Q3AttributeSet_Add(set, kQ3AttributeTypeDiffuseColor, &c);
  TQ3Param2D uv{r, 1 - r};
  Q3AttributeSet_Add(set, kQ3AttributeTypeSurfaceUV, &uv);
  return set;
}

Obj Texture() {
  TQ3Uns8 pixels[2 * 8];
  for (int i = 0; i < 16; ++i) pixels[i] = TQ3Uns8(i * 17);
  Obj storage(Q3MemoryStorage_New(pixels, sizeof pixels));
  TQ3StoragePixmap pixmap{storage, 2, 2, 8, 32, kQ3PixelTypeARGB32, kQ3EndianLittle, kQ3EndianLittle};
  Obj texture(Q3PixmapTexture_New(&pixmap));
  Obj shader(Q3TextureShader_New(texture));
  Q3Shader_SetVBoundary(shader, kQ3ShaderUVBoundaryClamp);
  TQ3Matrix3x3 uv;
  Q3Matrix3x3_SetScale(&uv, 2, 0.5f);
  Q3Shader_SetUVTransform(shader, &uv);
  return shader;
}

std::vector<TQ3Object> Raw(const std::vector<Obj>& objects) {
  std::vector<TQ3Object> raw;
  for (const Obj& o : objects) raw.push_back(o.get());
  return raw;
}

size_t Occurrences(const std::vector<TQ3Uns8>& bytes, const std::string& what) {
  std::string s = AsText(bytes);
  size_t n = 0;
  for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
  return n;
}

}  // namespace

class Metafiles : public Library {
 protected:
  void SetUp() override {
    Library::SetUp();
    RegisterTestClasses();
  }
  void TearDown() override {
    UnregisterTestClasses();
    Library::TearDown();
  }

  // One object of every kind the program writes, with attribute sets and elements.
  std::vector<Obj> EveryKind() {
    std::vector<Obj> all;
    Obj red = Attributes(0.75f), green = Attributes(0.25f);
    TQ3Vertex3D v[4] = {{{0, 0, 0}, red}, {{1, 0, 0}, nullptr}, {{1, 1, 0.5f}, green}, {{0, 1, 0}, nullptr}};

    TQ3PointData point{{1.5f, -2, 3}, red};
    all.emplace_back(Q3Point_New(&point));
    TQ3LineData line{{v[0], v[2]}, green};
    all.emplace_back(Q3Line_New(&line));
    TQ3AttributeSet segments[3] = {nullptr, green, nullptr};
    TQ3PolyLineData polyline{4, v, segments, nullptr};
    all.emplace_back(Q3PolyLine_New(&polyline));
    TQ3TriangleData triangle{{v[0], v[1], v[2]}, red};
    all.emplace_back(Q3Triangle_New(&triangle));
    TQ3PolygonData polygon{4, v, nullptr};
    all.emplace_back(Q3Polygon_New(&polygon));
    TQ3GeneralPolygonContourData contours[2] = {{4, v}, {3, v + 1}};
    TQ3GeneralPolygonData general{2, contours, kQ3GeneralPolygonShapeHintConvex, red};
    all.emplace_back(Q3GeneralPolygon_New(&general));
    TQ3AttributeSet faces[6] = {red, nullptr, nullptr, green, nullptr, nullptr};
    TQ3BoxData box{{1, 2, 3}, {0, 2, 0}, {0, 0, 3}, {4, 0, 0}, faces, nullptr};
    all.emplace_back(Q3Box_New(&box));
    TQ3EllipseData ellipse{{0, 0, 1}, {2, 0, 0}, {0, 1, 0}, 0.25f, 0.75f, nullptr};
    all.emplace_back(Q3Ellipse_New(&ellipse));
    TQ3Uns8 bits[6] = {0x80, 0x01, 0xFF, 0x00, 0x3C, 0x42};
    TQ3MarkerData marker{{0, 1, 0}, -4, 4, {bits, 12, 3, 2, kQ3EndianLittle}, nullptr};
    all.emplace_back(Q3Marker_New(&marker));
    TQ3Uns8 pixels[2 * 6] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    Obj image(Q3MemoryStorage_New(pixels, sizeof pixels));
    TQ3PixmapMarkerData pixmapMarker{{0, 0, 0}, 1, -1, {image, 2, 2, 6, 24, kQ3PixelTypeRGB24, kQ3EndianBig,
                                                        kQ3EndianBig}, nullptr};
    all.emplace_back(Q3PixmapMarker_New(&pixmapMarker));

    TQ3PolyhedronTriangleData ptri[2] = {{{0, 1, 2}, kQ3PolyhedronEdge01 | kQ3PolyhedronEdge12, red},
                                         {{0, 2, 3}, kQ3PolyhedronEdge12 | kQ3PolyhedronEdge20, nullptr}};
    TQ3PolyhedronEdgeData pedge[2] = {{{0, 2}, {0, 1}, green}, {{0, 1}, {0, kQ3ArrayIndexNULL}, nullptr}};
    TQ3PolyhedronData polyhedron{4, v, 2, pedge, 2, ptri, green};
    all.emplace_back(Q3Polyhedron_New(&polyhedron));

    Obj shader = Texture();
    TQ3Object shaders[2] = {shader, nullptr};
    TQ3ColorRGB colors[2] = {{1, 0, 0}, {0, 1, 0}};
    char use[2] = {0, 1};
    TQ3Vector3D normals[4] = {{0, 0, 1}, {0, 0, 1}, {0, 1, 0}, {1, 0, 0}};
    TQ3Switch highlight[2] = {kQ3On, kQ3Off};
    TQ3TriMeshAttributeData triAttrs[3] = {{kQ3AttributeTypeSurfaceShader, shaders, nullptr},
                                           {kQ3AttributeTypeDiffuseColor, colors, use},
                                           {kQ3AttributeTypeHighlightState, highlight, nullptr}};
    TQ3TriMeshAttributeData vertexAttrs[1] = {{kQ3AttributeTypeNormal, normals, nullptr}};
    TQ3TriMeshTriangleData tris[2] = {{{0, 1, 2}}, {{0, 2, 3}}};
    TQ3TriMeshEdgeData tedges[1] = {{{0, 2}, {0, 1}}};
    TQ3Point3D points[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    TQ3TriMeshData trimesh{red, 2, tris, 3, triAttrs, 1, tedges, 0, nullptr, 4, points, 1, vertexAttrs, {}};
    Q3BoundingBox_SetFromPoints3D(&trimesh.bBox, points, 4, sizeof(TQ3Point3D));
    all.emplace_back(Q3TriMesh_New(&trimesh));

    // A mesh with a hole, corners, an edge set and an element in its shape set.
    Obj mesh(Q3Mesh_New());
    TQ3MeshVertex mv[7];
    const TQ3Point3D mp[7] = {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}, {1, 1, 0}, {3, 1, 0}, {2, 3, 0}};
    for (int i = 0; i < 7; ++i) {
      TQ3Vertex3D vx{mp[i], i == 3 ? green.get() : nullptr};
      mv[i] = Q3Mesh_VertexNew(mesh, &vx);
    }
    TQ3MeshVertex outer[4] = {mv[0], mv[1], mv[2], mv[3]}, inner[3] = {mv[4], mv[6], mv[5]};
    TQ3MeshVertex tri[3] = {mv[1], mv[2], mv[5]};
    TQ3MeshFace f0 = Q3Mesh_FaceNew(mesh, 4, outer, red);
    TQ3MeshFace hole = Q3Mesh_FaceNew(mesh, 3, inner, nullptr);
    Q3Mesh_FaceToContour(mesh, f0, hole);
    TQ3MeshFace f1 = Q3Mesh_FaceNew(mesh, 3, tri, nullptr);
    Q3Mesh_SetCornerAttributeSet(mesh, mv[1], f0, green);
    Q3Mesh_SetCornerAttributeSet(mesh, mv[1], f1, green);
    Q3Mesh_SetCornerAttributeSet(mesh, mv[2], f1, red);
    TQ3MeshIterator it;
    Q3Mesh_SetEdgeAttributeSet(mesh, Q3Mesh_FirstVertexEdge(mv[6], &it), red);
    Q3Geometry_SetAttributeSet(mesh, green);
    Q3Shape_AddElement(mesh, Types().presence, nullptr);
    all.push_back(std::move(mesh));

    // Transforms, styles and shaders in an ordered display group, inline.
    Obj ordered(Q3OrderedDisplayGroup_New());
    TQ3Matrix4x4 matrix;
    Q3Matrix4x4_SetRotate_XYZ(&matrix, 0.1f, 0.2f, 0.3f);
    TQ3Vector3D vec{1, -2, 3};
    TQ3RotateTransformData rot{kQ3AxisY, 1.25f};
    TQ3SubdivisionStyleData sub{kQ3SubdivisionMethodScreenSpace, 4, 0};
    for (TQ3Object o : {Q3MatrixTransform_New(&matrix), Q3TranslateTransform_New(&vec), Q3ScaleTransform_New(&vec),
                        Q3RotateTransform_New(&rot), Q3BackfacingStyle_New(kQ3BackfacingStyleFlip),
                        Q3InterpolationStyle_New(kQ3InterpolationStylePixel), Q3FillStyle_New(kQ3FillStylePoints),
                        Q3SubdivisionStyle_New(&sub), Q3LambertIllumination_New(), Q3NULLIllumination_New(),
                        Q3PhongIllumination_New()}) {
      Q3Group_AddObject(ordered, o);
      Q3Object_Dispose(o);
    }
    Q3Group_AddObject(ordered, shader);
    Q3Group_AddObject(ordered, red);
    TQ3DisplayGroupState state = 0;
    Q3DisplayGroup_GetState(ordered, &state);
    Q3DisplayGroup_SetState(ordered, (state | kQ3DisplayGroupStateMaskIsInline) & ~kQ3DisplayGroupStateMaskIsPicked);
    all.push_back(std::move(ordered));
    all.emplace_back(Q3IOProxyDisplayGroup_New());

    // Lights, cameras and view hints.
    TQ3LightData on{kQ3True, 0.75f, {1, 0.5f, 0}};
    TQ3DirectionalLightData dir{on, kQ3True, {0, -1, 0}};
    TQ3PointLightData pl{on, kQ3False, kQ3AttenuationTypeInverseDistanceSquared, {1, 2, 3}};
    TQ3SpotLightData sl{on, kQ3True, kQ3AttenuationTypeInverseDistance, {0, 5, 0}, {0, -1, 0}, 0.2f, 0.4f,
                        kQ3FallOffTypeExponential};
    Obj lights(Q3LightGroup_New());
    for (TQ3Object o : {Q3AmbientLight_New(&on), Q3DirectionalLight_New(&dir), Q3PointLight_New(&pl),
                        Q3SpotLight_New(&sl)}) {
      Q3Group_AddObject(lights, o);
      Q3Object_Dispose(o);
    }
    TQ3CameraData cd{{{1, 2, 10}, {0, 0, 0}, {0, 1, 0}}, {0.5f, 500}, {{-1, 1}, 2, 2}};
    TQ3ViewPlaneCameraData plane{cd, 2, 1, 0.75f, 0.1f, -0.1f};
    TQ3OrthographicCameraData ortho{cd, -30, 20, 30, -20};
    TQ3ViewAngleAspectCameraData angle{cd, 1.1f, 1.5f};
    Obj camera(Q3ViewPlaneCamera_New(&plane));
    TQ3Int32 duration = 90;
    Q3Shape_AddElement(camera, Types().number, &duration);
    Obj hints(Q3ViewHints_New(nullptr));
    Q3ViewHints_SetCamera(hints, camera);
    Q3ViewHints_SetLightGroup(hints, lights);
    Obj hintSet(Q3AttributeSet_New());
    Obj caption(Q3CString_New("South \"front\"\tview"));
    TQ3Object c = caption.get();
    Q3Set_Add(hintSet, Types().caption, &c);
    Q3ViewHints_SetAttributeSet(hints, hintSet);
    Q3ViewHints_SetDimensionsState(hints, kQ3True);
    Q3ViewHints_SetDimensions(hints, 640, 480);
    all.push_back(std::move(hints));
    all.emplace_back(Q3OrthographicCamera_New(&ortho));
    all.emplace_back(Q3ViewAngleAspectCamera_New(&angle));

    // A set of registered elements, with one kept in memory only.
    Obj settings(Q3Set_New());
    TQ3Vector3D up{0, 1, 0};
    Q3Set_Add(settings, Types().vector, &up);
    std::vector<TQ3Uns8> flags{1, 0, 0, 1, 0, 0, 0, 0, 1};
    FlagArray fa = &flags;
    Q3Set_Add(settings, Types().flags, &fa);
    std::vector<TQ3Uns8> none;
    FlagArray empty = &none;
    Q3Set_Add(settings, Types().flags, &empty);
    Q3Set_Add(settings, Types().flags, &fa);
    TQ3Int32 secret = 7;
    Q3Set_Add(settings, Types().memoryOnly, &secret);
    Q3Set_Add(settings, Types().caption, &c);
    all.push_back(std::move(settings));

    // A group of a registered class with members and an element of its own.
    Obj sequence(Q3XObjectHierarchy_NewObject(Types().sequenceClass, nullptr));
    Q3Group_AddObject(sequence, camera);
    TQ3Int32 rate = 24;
    Q3Shape_AddElement(sequence, Types().number, &rate);
    all.push_back(std::move(sequence));

    // Every attribute type, the surface shader a sub-object.
    Obj everything(Q3AttributeSet_New());
    float f[6] = {0.5f, 0.25f, 1, 0, 0, 1};
    for (TQ3AttributeType t : {kQ3AttributeTypeShadingUV, kQ3AttributeTypeNormal, kQ3AttributeTypeAmbientCoefficient,
                               kQ3AttributeTypeSpecularColor, kQ3AttributeTypeSpecularControl,
                               kQ3AttributeTypeTransparencyColor, kQ3AttributeTypeSurfaceTangent,
                               kQ3AttributeTypeEmissiveColor})
      Q3AttributeSet_Add(everything, t, f);
    TQ3Switch onSwitch = kQ3On;
    Q3AttributeSet_Add(everything, kQ3AttributeTypeHighlightState, &onSwitch);
    TQ3Object s = shader.get();
    Q3AttributeSet_Add(everything, kQ3AttributeTypeSurfaceShader, &s);
    all.push_back(std::move(everything));
    all.emplace_back(Q3CString_New("done"));

    Obj plain(Q3Group_New());
    Q3Group_AddObject(plain, all[0]);  // shared with the top level: written once
    all.push_back(std::move(plain));
    return all;
  }
};

TEST_F(Metafiles, EveryKindSurvivesBothFormsAndTheyReadBackEqual) {
  std::vector<Obj> objects = EveryKind();
  for (const Obj& o : objects) ASSERT_NE(o.get(), nullptr);
  std::vector<TQ3Uns8> binary = WriteObjects(Raw(objects), kQ3FileModeNormal);
  std::vector<TQ3Uns8> text = WriteObjects(Raw(objects), kQ3FileModeText);
  ASSERT_FALSE(binary.empty());
  ASSERT_FALSE(text.empty());
  EXPECT_TRUE(Log().errors.empty());

  std::vector<Obj> fromBinary, fromText;
  TQ3FileMode mode = 0;
  ASSERT_TRUE(ReadObjects(binary, fromBinary, &mode));
  EXPECT_EQ(mode & kQ3FileModeText, 0u);
  ASSERT_TRUE(ReadObjects(text, fromText, &mode)) << AsText(text);
  EXPECT_EQ(mode & kQ3FileModeText, kQ3FileModeText);
  ASSERT_EQ(fromBinary.size(), objects.size());
  ASSERT_EQ(fromText.size(), objects.size());
  for (size_t i = 0; i < objects.size(); ++i) {
    EXPECT_EQ(Q3Object_GetLeafType(fromBinary[i]), Q3Object_GetLeafType(objects[i])) << i;
    EXPECT_EQ(Q3Object_GetLeafType(fromText[i]), Q3Object_GetLeafType(objects[i])) << i;
  }
  // Written again, both forms give the very same files.
  EXPECT_EQ(WriteObjects(Raw(fromBinary), kQ3FileModeNormal), binary);
  EXPECT_EQ(WriteObjects(Raw(fromText), kQ3FileModeNormal), binary);
  EXPECT_EQ(AsText(WriteObjects(Raw(fromText), kQ3FileModeText)), AsText(text));
  EXPECT_EQ(AsText(WriteObjects(Raw(fromBinary), kQ3FileModeText)), AsText(text));
}

TEST_F(Metafiles, RegisteredElementsReadBackAsWritten) {
  std::vector<Obj> objects = EveryKind();
  TQ3Object settings = nullptr, sequence = nullptr, hints = nullptr, mesh = nullptr;
  for (const Obj& o : objects) {
    TQ3ObjectType t = Q3Object_GetLeafType(o);
    if (t == kQ3SharedTypeSet) settings = o;
    if (t == Types().sequence) sequence = o;
    if (t == kQ3SharedTypeViewHints) hints = o;
    if (t == kQ3GeometryTypeMesh) mesh = o;
  }
  std::vector<TQ3Uns8> file = WriteObjects({settings, sequence, hints, mesh}, kQ3FileModeText);
  EXPECT_EQ(Occurrences(file, "Test:MemoryOnly"), 0u);
  EXPECT_NE(AsText(file).find("# numBits"), std::string::npos);
  std::vector<Obj> read;
  ASSERT_TRUE(ReadObjects(file, read));
  ASSERT_EQ(read.size(), 4u);

  TQ3Vector3D up{};
  ASSERT_EQ(Q3Set_Get(read[0], Types().vector, &up), kQ3Success);
  EXPECT_EQ(up.y, 1);
  std::vector<TQ3Uns8> flags;
  FlagArray fa = &flags;
  ASSERT_EQ(Q3Set_Get(read[0], Types().flags, &fa), kQ3Success);
  EXPECT_EQ(flags, (std::vector<TQ3Uns8>{1, 0, 0, 1, 0, 0, 0, 0, 1}));
  EXPECT_EQ(Q3Set_Contains(read[0], Types().memoryOnly), kQ3False);
  TQ3Object caption = nullptr;
  ASSERT_EQ(Q3Set_Get(read[0], Types().caption, &caption), kQ3Success);
  char* s = nullptr;
  Q3CString_GetString(caption, &s);
  EXPECT_STREQ(s, "South \"front\"\tview");
  Q3CString_EmptyData(&s);
  Q3Object_Dispose(caption);

  EXPECT_EQ(Q3Object_IsDrawable(read[1]), kQ3False);
  EXPECT_EQ(CountOf(read[1]), 1u);
  TQ3Int32 rate = 0;
  EXPECT_EQ(Q3Shape_GetElement(read[1], Types().number, &rate), kQ3Success);
  EXPECT_EQ(rate, 24);
  Obj frame = MemberAt(read[1], 0);
  TQ3Int32 duration = 0;
  EXPECT_EQ(Q3Shape_GetElement(frame, Types().number, &duration), kQ3Success);
  EXPECT_EQ(duration, 90);

  // An empty flag array is written with no data and reads back empty.
  Obj emptySet(Q3Set_New());
  std::vector<TQ3Uns8> none;
  FlagArray nothing = &none;
  Q3Set_Add(emptySet, Types().flags, &nothing);
  for (TQ3FileMode form : {kQ3FileModeNormal, kQ3FileModeText}) {
    std::vector<Obj> back;
    ASSERT_TRUE(ReadObjects(WriteObjects({emptySet.get()}, form), back));
    flags.assign(3, 1);
    ASSERT_EQ(Q3Set_Get(back[0], Types().flags, &fa), kQ3Success);
    EXPECT_TRUE(flags.empty());
  }
  EXPECT_TRUE(Log().errors.empty());

  TQ3Uns32 w = 0, h = 0;
  Q3ViewHints_GetDimensions(read[2], &w, &h);
  EXPECT_EQ(w, 640u);
  TQ3CameraObject camera = nullptr;
  Q3ViewHints_GetCamera(read[2], &camera);
  EXPECT_EQ(camera, frame.get());  // one camera, referred to twice
  Q3Object_Dispose(camera);
  EXPECT_EQ(Q3Shape_ContainsElement(read[3], Types().presence), kQ3True);
}

TEST_F(Metafiles, SharedObjectsAreWrittenOnceUnlessStreaming) {
  Obj set = Attributes(0.5f);
  std::vector<Obj> points;
  for (int i = 0; i < 3; ++i) {
    TQ3PointData p{{float(i), 0, 0}, set};
    points.emplace_back(Q3Point_New(&p));
  }
  auto sets = [](const std::vector<Obj>& read) {
    std::vector<TQ3Object> out;
    for (const Obj& o : read) {
      TQ3PointData d{};
      Q3Point_GetData(o, &d);
      out.push_back(d.pointAttributeSet);
      Q3Point_EmptyData(&d);
    }
    return out;
  };
  for (TQ3FileMode form : {kQ3FileModeNormal, kQ3FileModeText}) {
    std::vector<TQ3Uns8> normal = WriteObjects(Raw(points), form);
    EXPECT_EQ(Occurrences(normal, form ? "DiffuseColor" : "kdif"), 1u);
    std::vector<Obj> read;
    ASSERT_TRUE(ReadObjects(normal, read));
    std::vector<TQ3Object> s = sets(read);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0], s[1]);
    EXPECT_EQ(s[1], s[2]);

    std::vector<TQ3Uns8> stream = WriteObjects(Raw(points), form | kQ3FileModeStream);
    EXPECT_EQ(Occurrences(stream, form ? "DiffuseColor" : "kdif"), 3u);
    read.clear();
    ASSERT_TRUE(ReadObjects(stream, read));
    s = sets(read);
    EXPECT_NE(s[0], s[1]);
  }
}

TEST_F(Metafiles, UnknownObjectsAreKeptAndUnknownElementsSkipped) {
  std::string text =
      "3DMetafile ( 1 6 Normal NULL )\n"
      "Mystery:Thing ( 1 2 \"three\" )\n"
      "Container ( Set ( ) Someone:Else ( 5 ) Test:Number ( 12 ) )\n";
  std::vector<Obj> read;
  ASSERT_TRUE(ReadObjects(std::vector<TQ3Uns8>(text.begin(), text.end()), read));
  ASSERT_EQ(read.size(), 2u);
  ASSERT_EQ(Q3Unknown_GetType(read[0]), kQ3UnknownTypeText);
  TQ3UnknownTextData data{};
  ASSERT_EQ(Q3UnknownText_GetData(read[0], &data), kQ3Success);
  EXPECT_STREQ(data.objectName, "Mystery:Thing");
  EXPECT_STREQ(data.contents, " 1 2 \"three\" ");
  Q3UnknownText_EmptyData(&data);
  TQ3Int32 n = 0;
  EXPECT_EQ(Q3Set_Get(read[1], Types().number, &n), kQ3Success);
  EXPECT_EQ(n, 12);
  EXPECT_NE(std::find(Log().warnings.begin(), Log().warnings.end(), kQ3WarningUnknownObject), Log().warnings.end());

  // Written back as text it stands as it was; binary files cannot hold it.
  std::vector<TQ3Uns8> again = WriteObjects({read[0]}, kQ3FileModeText);
  EXPECT_NE(AsText(again).find("Mystery:Thing ( 1 2 \"three\" )"), std::string::npos);
  Log().warnings.clear();
  std::vector<TQ3Uns8> binary = WriteObjects({read[0]}, kQ3FileModeNormal);
  EXPECT_EQ(Log().warnings, std::vector<TQ3Warning>{kQ3WarningObjectNotWritten});

  // A binary object of a declared class nobody registered keeps its name.
  Obj sequence(Q3XObjectHierarchy_NewObject(Types().sequenceClass, nullptr));
  TQ3Vector3D v{1, 2, 3};
  Q3Shape_AddElement(sequence, Types().vector, &v);
  std::vector<TQ3Uns8> file = WriteObjects({Obj(Q3Set_New()).get()}, kQ3FileModeNormal);
  Obj set(Q3Set_New());
  Q3Set_Add(set, Types().vector, &v);
  file = WriteObjects({set.get()}, kQ3FileModeNormal);
  UnregisterTestClasses();
  sequence.reset();
  set.reset();
  read.clear();
  ASSERT_TRUE(ReadObjects(file, read));
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(Q3Object_GetLeafType(read[0]), kQ3SharedTypeSet);
  TQ3ElementType type = kQ3ElementTypeNone;
  Q3Set_GetNextElementType(read[0], &type);
  EXPECT_EQ(type, kQ3ElementTypeNone);  // the element is skipped, the set is read
  RegisterTestClasses();
}

TEST_F(Metafiles, ReferencesInTextFilesWithLabelsCommentsAndCommas) {
  std::string text =
      "3DMetafile ( 1 6 Normal toc0> )  # a header\n"
      "BeginGroup ( DisplayGroup ( ) DisplayGroupState ( Inline|DontPick ) )\n"
      "  shared:\n"
      "  Container ( Point ( 1, 2, 3 ) # comma separated\n"
      "    Container ( AttributeSet ( ) diffusecolor ( 1 0 0 ) ) )\n"
      "  Reference ( 7 )\n"
      "endgroup ( )\n"
      "toc0: TableOfContents ( NULL 8 -1 0 12 1 7 shared> )\n";
  std::vector<Obj> read;
  ASSERT_TRUE(ReadObjects(std::vector<TQ3Uns8>(text.begin(), text.end()), read));
  ASSERT_EQ(read.size(), 1u);
  ASSERT_EQ(CountOf(read[0]), 2u);
  EXPECT_EQ(MemberAt(read[0], 0).get(), MemberAt(read[0], 1).get());
  TQ3DisplayGroupState state = 0;
  Q3DisplayGroup_GetState(read[0], &state);
  EXPECT_TRUE(state & kQ3DisplayGroupStateMaskIsInline);
  EXPECT_FALSE(state & kQ3DisplayGroupStateMaskIsPicked);
  TQ3PointData p{};
  Q3Point_GetData(MemberAt(read[0], 0), &p);
  EXPECT_EQ(p.point.z, 3);
  TQ3ColorRGB c{};
  EXPECT_EQ(Q3AttributeSet_Get(p.pointAttributeSet, kQ3AttributeTypeDiffuseColor, &c), kQ3Success);
  EXPECT_EQ(c.r, 1);
  Q3Point_EmptyData(&p);
}

TEST_F(Metafiles, LittleEndianBinaryFilesAreRead) {
  auto le32 = [](std::vector<TQ3Uns8>& b, TQ3Uns32 v) {
    for (int i = 0; i < 4; ++i) b.push_back(TQ3Uns8(v >> (8 * i)));
  };
  auto fcc = [&](std::vector<TQ3Uns8>& b, const char* c) { le32(b, TQ3Uns32(Q3FourCC(*reinterpret_cast<const char(*)[5]>(c)))); };
  std::vector<TQ3Uns8> b;
  fcc(b, "3DMF");
  le32(b, 16);
  b.insert(b.end(), {1, 0, 6, 0});
  le32(b, 0);
  le32(b, 0);
  le32(b, 0);
  fcc(b, "pnt ");
  le32(b, 12);
  for (float f : {1.0f, -2.0f, 0.5f}) {
    TQ3Uns32 bits;
    std::memcpy(&bits, &f, 4);
    le32(b, bits);
  }
  std::vector<Obj> read;
  ASSERT_TRUE(ReadObjects(b, read));
  ASSERT_EQ(read.size(), 1u);
  TQ3PointData p{};
  Q3Point_GetData(read[0], &p);
  EXPECT_EQ(p.point.y, -2);
  EXPECT_EQ(p.point.z, 0.5f);
  Q3Point_EmptyData(&p);
}

// Reading and writing go through the file's idle method, which can stop them.
static int gIdleCalls = 0;
static TQ3Status StopAtSecond(TQ3FileObject, const void*) { return ++gIdleCalls < 2 ? kQ3Success : kQ3Failure; }

TEST_F(Metafiles, IdleMethodSeesProgressAndCanStop) {
  std::vector<Obj> objects = EveryKind();
  std::vector<TQ3Uns8> file = WriteObjects(Raw(objects), kQ3FileModeNormal);
  Obj storage(Q3MemoryStorage_New(file.data(), TQ3Uns32(file.size())));
  Obj reader(Q3File_New());
  Q3File_SetStorage(reader, storage);
  ASSERT_EQ(Q3File_OpenRead(reader, nullptr), kQ3Success);
  TQ3Uns32 last = 0, position = 0, length = 0;
  while (!Q3File_IsEndOfFile(reader)) {
    Obj o(Q3File_ReadObject(reader));
    ASSERT_NE(o.get(), nullptr);
    ASSERT_EQ(Q3File_GetPosition(reader, &position, &length), kQ3Success);
    EXPECT_GE(position, last);
    last = position;
  }
  EXPECT_EQ(length, file.size());
  Q3File_Close(reader);

  gIdleCalls = 0;
  ASSERT_EQ(Q3File_OpenRead(reader, nullptr), kQ3Success);
  Q3File_SetIdleMethod(reader, StopAtSecond, nullptr);
  Obj first(Q3File_ReadObject(reader));
  EXPECT_NE(first.get(), nullptr);
  EXPECT_EQ(Q3File_ReadObject(reader), nullptr);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorFileCancelled);
  Q3File_Close(reader);

  gIdleCalls = 0;
  Obj out(Q3MemoryStorage_New(nullptr, 0));
  Obj writer(Q3File_New());
  Q3File_SetStorage(writer, out);
  Q3File_OpenWrite(writer, kQ3FileModeNormal);
  Q3File_SetIdleMethod(writer, StopAtSecond, nullptr);
  Obj view(Q3View_New());
  Q3View_StartWriting(view, writer);
  EXPECT_EQ(Q3Object_Submit(objects[0], view), kQ3Success);
  EXPECT_EQ(Q3Object_Submit(objects[1], view), kQ3Failure);
  EXPECT_EQ(Q3Object_Submit(objects[2], view), kQ3Failure);
  EXPECT_EQ(Q3View_EndWriting(view), kQ3ViewStatusCancelled);
  Q3File_Close(writer);
}

// An element that reads a string with the primitive calls.
static TQ3Uns32 gLength = 0;
static TQ3Status ReadLongName(TQ3Object, TQ3FileObject file) {
  char buffer[kQ3StringMaximumLength];
  TQ3Uns32 peek = 0;
  if (Q3String_Read(nullptr, &peek, file) != kQ3Success) return kQ3Failure;
  TQ3Status s = Q3String_Read(buffer, &gLength, file);
  return s == kQ3Success && peek == gLength && std::strlen(buffer) == gLength ? kQ3Success : kQ3Failure;
}
static TQ3XFunctionPointer LongNameMethods(TQ3XMethodType t) {
  return t == kQ3XMethodTypeObjectReadData ? reinterpret_cast<TQ3XFunctionPointer>(ReadLongName) : nullptr;
}

TEST_F(Metafiles, PrimitivesWorkOnlyInsideMethodsAndStringsAreBounded) {
  TQ3ElementType type = 0;
  TQ3XObjectClass cls = Q3XElementClass_Register(&type, "Test:LongName", 4, LongNameMethods);
  ASSERT_NE(cls, nullptr);
  std::string text = "3DMetafile ( 1 6 Normal NULL )\nContainer ( Set ( ) Test:LongName ( \"" +
                     std::string(3000, 'x') + "\" ) )\n";
  std::vector<Obj> read;
  ASSERT_TRUE(ReadObjects(std::vector<TQ3Uns8>(text.begin(), text.end()), read));
  EXPECT_EQ(gLength, kQ3StringMaximumLength - 1);
  EXPECT_NE(std::find(Log().warnings.begin(), Log().warnings.end(), kQ3WarningStringExceedsMaximumLength),
            Log().warnings.end());

  Obj storage(Q3MemoryStorage_New(reinterpret_cast<const unsigned char*>(text.data()), TQ3Uns32(text.size())));
  Obj file(Q3File_New());
  Q3File_SetStorage(file, storage);
  Q3File_OpenRead(file, nullptr);
  TQ3Uns32 v = 0;
  EXPECT_EQ(Q3Uns32_Read(&v, file), kQ3Failure);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorReadStateInactive);
  EXPECT_EQ(Q3Uns32_Write(1, file), kQ3Failure);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorWriteStateInactive);
  Q3File_Close(file);
  read.clear();
  Q3XObjectHierarchy_UnregisterClass(cls);
}

TEST_F(Metafiles, SkippingAGroupSkipsItsMembers) {
  Obj group(Q3DisplayGroup_New());
  Obj inner(Q3DisplayGroup_New());
  TQ3PointData pd{{0, 0, 0}, nullptr};
  Obj point(Q3Point_New(&pd));
  Q3Group_AddObject(inner, point);
  Q3Group_AddObject(group, inner);
  Q3Group_AddObject(group, point);
  std::vector<TQ3Uns8> bytes = WriteObjects({group.get(), point.get()}, kQ3FileModeText);
  Obj storage(Q3MemoryStorage_New(bytes.data(), TQ3Uns32(bytes.size())));
  Obj file(Q3File_New());
  Q3File_SetStorage(file, storage);
  ASSERT_EQ(Q3File_OpenRead(file, nullptr), kQ3Success);
  ASSERT_EQ(Q3File_SkipObject(file), kQ3Success);
  Obj last(Q3File_ReadObject(file));
  EXPECT_EQ(Q3Object_GetLeafType(last), kQ3GeometryTypePoint);
  EXPECT_EQ(Q3File_IsEndOfFile(file), kQ3True);
}

TEST_F(Metafiles, PathAndDescriptorStorage) {
  vltest::TempFolder temp;
  const std::filesystem::path dir = temp.Root();
  std::filesystem::path path = dir / "scene.3dmf";
  { std::ofstream(path) << "old contents"; }
  TQ3PointData pd{{4, 5, 6}, nullptr};
  Obj point(Q3Point_New(&pd));

  Obj storage(Q3PathStorage_New(path.c_str()));
  Obj file(Q3File_New());
  Q3File_SetStorage(file, storage);
  ASSERT_EQ(Q3File_OpenWrite(file, kQ3FileModeText), kQ3Success);
  Obj view(Q3View_New());
  Q3View_StartWriting(view, file);
  Q3Object_Submit(point, view);
  Q3View_EndWriting(view);
  EXPECT_EQ(AsText(ReadFile(path)), "old contents");  // nothing replaced before the file is complete
  ASSERT_EQ(Q3File_Close(file), kQ3Success);
  EXPECT_NE(AsText(ReadFile(path)).find("Point ( 4 5 6 )"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);

  // An open descriptor, as the porting layer hands it over.
  int fd = open(path.c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  Obj fdStorage(Q3Win32Storage_New(fd));
  Obj reader(Q3File_New());
  Q3File_SetStorage(reader, fdStorage);
  TQ3FileMode mode = 0;
  ASSERT_EQ(Q3File_OpenRead(reader, &mode), kQ3Success);
  EXPECT_EQ(mode, kQ3FileModeText);
  Obj read(Q3File_ReadObject(reader));
  EXPECT_EQ(Q3Object_GetLeafType(read), kQ3GeometryTypePoint);
  Q3File_Close(reader);
  ASSERT_EQ(Q3File_OpenWrite(reader, kQ3FileModeNormal), kQ3Success);
  Q3View_StartWriting(view, reader);
  Q3Object_Submit(point, view);
  Q3View_EndWriting(view);
  ASSERT_EQ(Q3File_Close(reader), kQ3Success);
  close(fd);
  std::vector<TQ3Uns8> bytes = ReadFile(path);
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(AsText(bytes).substr(0, 4), "3DMF");
  std::filesystem::remove_all(dir);

  Obj missing(Q3PathStorage_New((dir / "none.3dmf").c_str()));
  Q3File_SetStorage(reader, missing);
  EXPECT_EQ(Q3File_OpenRead(reader, nullptr), kQ3Failure);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorUnixError);
}
