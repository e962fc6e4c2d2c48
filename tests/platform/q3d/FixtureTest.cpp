// Metafiles written by another implementation: each reads with the objects,
// geometry, attributes and counts its text states.
#include "Q3TestSupport.h"

using namespace q3test;

class Fixtures : public Library {
 protected:
  std::vector<Obj> Read(const char* name) {
    std::vector<Obj> objects;
    EXPECT_TRUE(ReadObjects(ReadFile(FixtureFolder() / name), objects)) << name;
    EXPECT_TRUE(Log().errors.empty()) << name;
    return objects;
  }
  static TQ3ColorRGB Diffuse(TQ3AttributeSet set) {
    TQ3ColorRGB c{-1, -1, -1};
    Q3AttributeSet_Get(set, kQ3AttributeTypeDiffuseColor, &c);
    return c;
  }
};

TEST_F(Fixtures, EveryFileReadsItsObjects) {
  SKIP_WITHOUT_FIXTURES();
  const TQ3ObjectType style = kQ3StyleTypeInterpolation, matrix = kQ3TransformTypeMatrix;
  struct Case {
    const char* file;
    std::vector<TQ3ObjectType> types;
  };
  const Case cases[] = {
      {"binary/Line.3dmf", {style, matrix, kQ3GeometryTypeLine}},
      {"binary/Marker.3dmf", {style, matrix, kQ3GeometryTypeMarker}},
      {"binary/Point.3dmf", {style, matrix, kQ3GeometryTypePoint}},
      {"binary/PolyLine.3dmf", {style, matrix, kQ3GeometryTypePolyLine}},
      {"binary/Triangle.3dmf", {style, matrix, kQ3GeometryTypeTriangle}},
      {"more/F15.3dmf", {kQ3GeometryTypeTriMesh}},
      {"more/Mesh_TriGrid.3dmf", {kQ3GeometryTypeMesh}},
      {"more/Mesh_Unoriented.3dmf", {kQ3GeometryTypeMesh}},
      {"more/PixMap.3dmf", {style, matrix, kQ3GeometryTypePixmapMarker}},
      {"more/Polyline-attributes.3dmf", {kQ3GeometryTypePolyLine}},
      {"more/TriMesh-face-colors-normals.3dmf", {kQ3GeometryTypeTriMesh}},
      {"more/TriMesh-transparent.3dmf", {kQ3GroupTypeDisplay}},
      {"more/ndc-foreground.3dmf", {kQ3GeometryTypeTriMesh}},
      {"text/Box.3dmf", {kQ3GeometryTypeBox}},
      {"text/Ellipse.3dmf", {kQ3GeometryTypeEllipse}},
      {"text/GeneralPolygon.3dmf", {kQ3GeometryTypeGeneralPolygon}},
      {"text/GeneralPolygon_Concave.3dmf", {kQ3GeometryTypeGeneralPolygon}},
      {"text/Line.3dmf", {kQ3GeometryTypeLine}},
      {"text/Marker.3dmf", std::vector<TQ3ObjectType>(5, kQ3GeometryTypeMarker)},
      {"text/Mesh.3dmf", {kQ3GeometryTypeMesh}},
      {"text/Mesh_Concave.3dmf", {kQ3GeometryTypeMesh}},
      {"text/Mesh_Star.3dmf", {kQ3GeometryTypeMesh}},
      {"text/Point.3dmf", {kQ3GeometryTypePoint}},
      {"text/PolyLine.3dmf", {kQ3GeometryTypePolyLine}},
      {"text/Polygon.3dmf", {kQ3GeometryTypePolygon}},
      {"text/TriMesh-face-colors.3dmf", {kQ3GeometryTypeTriMesh}},
      {"text/TriMesh-fancy.3dmf", {kQ3GeometryTypeTriMesh}},
      {"text/TriMesh-simple.3dmf", {kQ3GeometryTypeTriMesh}},
      {"text/Triangle.3dmf", {kQ3GroupTypeDisplay}},
  };
  EXPECT_EQ(FixtureFiles().size(), std::size(cases));
  for (const Case& c : cases) {
    std::vector<Obj> objects = Read(c.file);
    ASSERT_EQ(objects.size(), c.types.size()) << c.file;
    for (size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(Q3Object_GetLeafType(objects[i]), c.types[i]) << c.file;
  }
}

TEST_F(Fixtures, TextGeometryAsStated) {
  SKIP_WITHOUT_FIXTURES();
  TQ3BoxData box{};
  ASSERT_EQ(Q3Box_GetData(Read("text/Box.3dmf")[0], &box), kQ3Success);
  EXPECT_EQ(box.orientation.y, 4);
  EXPECT_EQ(box.majorAxis.z, 2);
  EXPECT_EQ(box.minorAxis.x, 6);
  EXPECT_EQ(box.origin.x, -3);
  EXPECT_EQ(box.origin.z, -1);
  Q3Box_EmptyData(&box);

  // 14 vertices, 8 faces, two of them with a hole; the top face is commented out.
  Obj mesh = std::move(Read("text/Mesh.3dmf")[0]);
  TQ3Uns32 n = 0;
  Q3Mesh_GetNumVertices(mesh, &n);
  EXPECT_EQ(n, 14u);
  Q3Mesh_GetNumFaces(mesh, &n);
  EXPECT_EQ(n, 8u);
  TQ3MeshIterator it;
  TQ3MeshFace front = Q3Mesh_FirstMeshFace(mesh, &it);
  Q3Mesh_GetFaceNumContours(mesh, front, &n);
  EXPECT_EQ(n, 2u);
  Q3Mesh_GetFaceNumVertices(mesh, front, &n);
  EXPECT_EQ(n, 7u);
  TQ3PlaneEquation plane;
  ASSERT_EQ(Q3Mesh_GetFacePlaneEquation(mesh, front, &plane), kQ3Success);
  EXPECT_FLOAT_EQ(plane.normal.z, 1);

  TQ3GeneralPolygonData gp{};
  ASSERT_EQ(Q3GeneralPolygon_GetData(Read("text/GeneralPolygon_Concave.3dmf")[0], &gp), kQ3Success);
  ASSERT_EQ(gp.numContours, 1u);
  EXPECT_EQ(gp.contours[0].numVertices, 7u);
  EXPECT_EQ(gp.contours[0].vertices[6].point.x, 1);
  Q3GeneralPolygon_EmptyData(&gp);

  std::vector<Obj> markers = Read("text/Marker.3dmf");
  TQ3MarkerData marker{};
  ASSERT_EQ(Q3Marker_GetData(markers[1], &marker), kQ3Success);
  EXPECT_EQ(marker.xOffset, -32);
  EXPECT_EQ(marker.bitmap.width, 32u);
  EXPECT_EQ(marker.bitmap.height, 12u);
  EXPECT_EQ(marker.bitmap.image[0], 0x02);
  EXPECT_EQ(marker.bitmap.image[47], 0x00);
  Q3Marker_EmptyData(&marker);

  TQ3PolygonData polygon{};
  ASSERT_EQ(Q3Polygon_GetData(Read("text/Polygon.3dmf")[0], &polygon), kQ3Success);
  TQ3Param2D uv{};
  Q3AttributeSet_Get(polygon.vertices[2].attributeSet, kQ3AttributeTypeSurfaceUV, &uv);
  EXPECT_EQ(uv.u, 1);
  EXPECT_EQ(uv.v, 0.5f);
  EXPECT_EQ(Diffuse(polygon.polygonAttributeSet).g, 1);
  Q3Polygon_EmptyData(&polygon);

  // A display group around a triangle whose corners are red, green and blue.
  Obj group = std::move(Read("text/Triangle.3dmf")[0]);
  ASSERT_EQ(CountOf(group), 1u);
  TQ3TriangleData tri{};
  ASSERT_EQ(Q3Triangle_GetData(MemberAt(group, 0), &tri), kQ3Success);
  EXPECT_EQ(Diffuse(tri.vertices[0].attributeSet).r, 1);
  EXPECT_EQ(Diffuse(tri.vertices[2].attributeSet).b, 1);
  Q3Triangle_EmptyData(&tri);
}

TEST_F(Fixtures, TriMeshArraysReferencesAndSharedShaders) {
  SKIP_WITHOUT_FIXTURES();
  TQ3TriMeshData d{};
  ASSERT_EQ(Q3TriMesh_GetData(Read("text/TriMesh-fancy.3dmf")[0], &d), kQ3Success);
  EXPECT_EQ(d.numTriangles, 4u);
  EXPECT_EQ(d.numEdges, 3u);
  EXPECT_EQ(d.numPoints, 6u);
  EXPECT_EQ(d.edges[2].pointIndices[0], 3u);
  EXPECT_EQ(d.bBox.max.y, 30);
  ASSERT_EQ(d.numTriangleAttributeTypes, 2u);
  EXPECT_EQ(d.triangleAttributeTypes[0].attributeType, kQ3AttributeTypeSpecularColor);
  EXPECT_EQ(static_cast<TQ3ColorRGB*>(d.triangleAttributeTypes[0].data)[0].b, 0.8f);
  ASSERT_EQ(d.triangleAttributeTypes[1].attributeType, kQ3AttributeTypeSurfaceShader);
  auto* shaders = static_cast<TQ3Object*>(d.triangleAttributeTypes[1].data);
  EXPECT_NE(shaders[0], shaders[1]);
  EXPECT_EQ(shaders[2], shaders[0]);  // two references to the shaders defined before them
  EXPECT_EQ(shaders[3], shaders[1]);
  TQ3TextureObject texture = nullptr;
  Q3TextureShader_GetTexture(shaders[0], &texture);
  TQ3StoragePixmap pixmap{};
  Q3PixmapTexture_GetPixmap(texture, &pixmap);
  EXPECT_EQ(pixmap.width, 8u);
  EXPECT_EQ(pixmap.rowBytes, 36u);
  Q3Object_Dispose(pixmap.image);
  Q3Object_Dispose(texture);
  ASSERT_EQ(d.numEdgeAttributeTypes, 1u);
  EXPECT_EQ(static_cast<TQ3ColorRGB*>(d.edgeAttributeTypes[0].data)[1].g, 1);
  ASSERT_EQ(d.numVertexAttributeTypes, 2u);
  EXPECT_EQ(d.vertexAttributeTypes[0].attributeType, kQ3AttributeTypeShadingUV);
  EXPECT_EQ(d.vertexAttributeTypes[1].attributeType, kQ3AttributeTypeNormal);
  float ambient = 0;
  Q3AttributeSet_Get(d.triMeshAttributeSet, kQ3AttributeTypeAmbientCoefficient, &ambient);
  EXPECT_EQ(ambient, 0.5f);
  Q3TriMesh_EmptyData(&d);

  ASSERT_EQ(Q3TriMesh_GetData(Read("more/F15.3dmf")[0], &d), kQ3Success);
  EXPECT_EQ(d.numTriangles, 9288u);
  EXPECT_EQ(d.numPoints, 4309u);
  EXPECT_EQ(d.numTriangleAttributeTypes, 1u);
  EXPECT_EQ(d.numVertexAttributeTypes, 1u);
  TQ3Uns32 highest = 0;
  for (TQ3Uns32 i = 0; i < d.numTriangles; ++i)
    for (TQ3Uns32 k : d.triangles[i].pointIndices) highest = std::max(highest, k);
  EXPECT_EQ(highest, 4308u);
  Q3TriMesh_EmptyData(&d);

  // An element of a class nobody registered is passed over; the mesh is read.
  ASSERT_EQ(Q3TriMesh_GetData(Read("more/ndc-foreground.3dmf")[0], &d), kQ3Success);
  EXPECT_EQ(d.numVertexAttributeTypes, 2u);
  TQ3ColorRGB transparency{};
  Q3AttributeSet_Get(d.triMeshAttributeSet, kQ3AttributeTypeTransparencyColor, &transparency);
  EXPECT_EQ(transparency.r, 0.5f);
  Q3TriMesh_EmptyData(&d);
}

TEST_F(Fixtures, BinaryFilesAsStated) {
  SKIP_WITHOUT_FIXTURES();
  std::vector<Obj> line = Read("binary/Line.3dmf");
  TQ3InterpolationStyle interpolation;
  Q3InterpolationStyle_Get(line[0], &interpolation);
  EXPECT_EQ(interpolation, kQ3InterpolationStyleVertex);
  TQ3LineData ld{};
  ASSERT_EQ(Q3Line_GetData(line[2], &ld), kQ3Success);
  EXPECT_EQ(ld.vertices[1].point.x, 1);
  EXPECT_EQ(Diffuse(ld.vertices[0].attributeSet).r, 1);
  EXPECT_EQ(Diffuse(ld.vertices[1].attributeSet).b, 1);
  Q3Line_EmptyData(&ld);

  TQ3MarkerData md{};
  ASSERT_EQ(Q3Marker_GetData(Read("binary/Marker.3dmf")[2], &md), kQ3Success);
  EXPECT_EQ(md.xOffset, -20);
  EXPECT_EQ(md.bitmap.width, 56u);
  EXPECT_EQ(md.bitmap.rowBytes, 7u);
  EXPECT_EQ(md.bitmap.image[41], 0x18);
  EXPECT_EQ(Diffuse(md.markerAttributeSet).g, 1);
  Q3Marker_EmptyData(&md);

  TQ3PixmapMarkerData pm{};
  ASSERT_EQ(Q3PixmapMarker_GetData(Read("more/PixMap.3dmf")[2], &pm), kQ3Success);
  EXPECT_EQ(pm.pixmap.width, 128u);
  EXPECT_EQ(pm.pixmap.rowBytes, 512u);
  EXPECT_EQ(pm.xOffset, -50);
  TQ3Uns32 size = 0;
  Q3Storage_GetSize(pm.pixmap.image, &size);
  EXPECT_EQ(size, 65536u);
  Q3PixmapMarker_EmptyData(&pm);

  // Segment colours at 0 and 2, vertex colours at 1 and 4 (the file counts one segment too many).
  TQ3PolyLineData pl{};
  ASSERT_EQ(Q3PolyLine_GetData(Read("more/Polyline-attributes.3dmf")[0], &pl), kQ3Success);
  EXPECT_EQ(pl.numVertices, 5u);
  ASSERT_NE(pl.segmentAttributeSet, nullptr);
  EXPECT_EQ(Diffuse(pl.segmentAttributeSet[0]).b, 1);
  EXPECT_EQ(pl.segmentAttributeSet[1], nullptr);
  EXPECT_EQ(Diffuse(pl.segmentAttributeSet[2]).r, 1);
  EXPECT_EQ(pl.vertices[0].attributeSet, nullptr);
  EXPECT_EQ(Diffuse(pl.vertices[1].attributeSet).g, 1);
  EXPECT_EQ(Diffuse(pl.vertices[4].attributeSet).g, 1);
  Q3PolyLine_EmptyData(&pl);

  Obj transparent = std::move(Read("more/TriMesh-transparent.3dmf")[0]);
  EXPECT_EQ(CountOf(transparent), 3u);
}
