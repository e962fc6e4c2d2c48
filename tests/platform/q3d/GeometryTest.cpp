// Geometry data in and out, checks on what is given, and meshes.
#include <cmath>

#include "Q3TestSupport.h"

using namespace q3test;

class Geometry : public Library {
 protected:
  Obj Colored(float r) {
    Obj set(Q3AttributeSet_New());
    TQ3ColorRGB c{r, 0, 0};
    Q3AttributeSet_Add(set, kQ3AttributeTypeDiffuseColor, &c);
    return set;
  }
};

TEST_F(Geometry, DataComesBackWithItsAttributeSets) {
  Obj a = Colored(0.5f), b = Colored(1);
  TQ3Vertex3D v[4] = {{{0, 0, 0}, a}, {{1, 0, 0}, nullptr}, {{1, 1, 0}, b}, {{0, 1, 0}, nullptr}};
  TQ3AttributeSet segments[3] = {nullptr, a, nullptr};
  TQ3PolyLineData pl{4, v, segments, b};
  Obj polyline(Q3PolyLine_New(&pl));
  ASSERT_NE(polyline.get(), nullptr);
  TQ3PolygonData pg{4, v, nullptr};
  Obj polygon(Q3Polygon_New(&pg));
  TQ3TriangleData tr{{v[0], v[1], v[2]}, a};
  Obj triangle(Q3Triangle_New(&tr));
  TQ3GeneralPolygonContourData contours[2] = {{4, v}, {3, v}};
  TQ3GeneralPolygonData gp{2, contours, kQ3GeneralPolygonShapeHintConcave, nullptr};
  Obj general(Q3GeneralPolygon_New(&gp));
  ASSERT_NE(general.get(), nullptr);
  // Its own, polyline vertex and segment, polygon vertex, triangle vertex and set, two contours.
  EXPECT_EQ(Q3Shared_GetReferenceCount(a), 8u);

  TQ3PolyLineData out{};
  ASSERT_EQ(Q3PolyLine_GetData(polyline, &out), kQ3Success);
  EXPECT_EQ(out.numVertices, 4u);
  EXPECT_EQ(out.vertices[2].point.y, 1);
  EXPECT_EQ(out.vertices[0].attributeSet, a.get());
  ASSERT_NE(out.segmentAttributeSet, nullptr);
  EXPECT_EQ(out.segmentAttributeSet[1], a.get());
  EXPECT_EQ(out.polyLineAttributeSet, b.get());
  Q3PolyLine_EmptyData(&out);
  EXPECT_EQ(out.vertices, nullptr);

  TQ3GeneralPolygonData gout{};
  ASSERT_EQ(Q3GeneralPolygon_GetData(general, &gout), kQ3Success);
  EXPECT_EQ(gout.numContours, 2u);
  EXPECT_EQ(gout.contours[1].numVertices, 3u);
  EXPECT_EQ(gout.shapeHint, kQ3GeneralPolygonShapeHintConcave);
  Q3GeneralPolygon_EmptyData(&gout);

  polyline.reset();
  polygon.reset();
  triangle.reset();
  general.reset();
  EXPECT_EQ(Q3Shared_GetReferenceCount(a), 1u);
}

TEST_F(Geometry, WhatCannotBeIsRefused) {
  TQ3Vertex3D v[3] = {{{0, 0, 0}, nullptr}, {{1, 0, 0}, nullptr}, {{0, 1, 0}, nullptr}};
  TQ3PolyLineData one{1, v, nullptr, nullptr};
  EXPECT_EQ(Q3PolyLine_New(&one), nullptr);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorGeometryInsufficientNumberOfPoints);

  Obj notASet(Q3Set_New());
  TQ3Vertex3D bad[2] = {{{0, 0, 0}, notASet}, {{1, 0, 0}, nullptr}};
  TQ3LineData line{{bad[0], bad[1]}, nullptr};
  EXPECT_EQ(Q3Line_New(&line), nullptr);  // a plain set is no attribute set
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorInvalidObjectType);

  TQ3TriMeshTriangleData tri{{0, 1, 3}};
  TQ3Point3D points[3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  TQ3TriMeshData tm{};
  tm.numTriangles = 1;
  tm.triangles = &tri;
  tm.numPoints = 3;
  tm.points = points;
  EXPECT_EQ(Q3TriMesh_New(&tm), nullptr);  // index 3 of 3 points
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorInvalidData);

  TQ3PolyhedronTriangleData ptri{{0, 1, 2}, kQ3PolyhedronEdgeAll, nullptr};
  TQ3PolyhedronEdgeData edge{{0, 1}, {0, 7}, nullptr};
  TQ3PolyhedronData ph{3, v, 1, &edge, 1, &ptri, nullptr};
  EXPECT_EQ(Q3Polyhedron_New(&ph), nullptr);  // triangle 7 does not exist
  edge.triangleIndices[1] = kQ3ArrayIndexNULL;
  Obj polyhedron(Q3Polyhedron_New(&ph));
  EXPECT_NE(polyhedron.get(), nullptr);

  TQ3Uns8 image[2] = {0xFF, 0x80};
  TQ3MarkerData marker{{0, 0, 0}, 0, 0, {image, 9, 2, 1, kQ3EndianBig}, nullptr};
  EXPECT_EQ(Q3Marker_New(&marker), nullptr);  // 9 pixels need 2 bytes a row
  marker.bitmap.width = 8;
  Obj m(Q3Marker_New(&marker));
  EXPECT_NE(m.get(), nullptr);

  Obj storage(Q3MemoryStorage_New(image, 2));
  TQ3StoragePixmap pixmap{storage, 2, 2, 8, 32, kQ3PixelTypeRGB32, kQ3EndianBig, kQ3EndianBig};
  EXPECT_EQ(Q3PixmapTexture_New(&pixmap), nullptr);  // 16 bytes needed, 2 stored
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorInvalidData);
}

TEST_F(Geometry, TriMeshArraysAndShaderReferences) {
  Obj shader(Q3TextureShader_New(nullptr));
  TQ3Object shaders[2] = {shader, nullptr};
  TQ3ColorRGB colors[2] = {{1, 0, 0}, {0, 1, 0}};
  char use[2] = {1, 0};
  TQ3TriMeshAttributeData triangleAttributes[2] = {{kQ3AttributeTypeSurfaceShader, shaders, nullptr},
                                                   {kQ3AttributeTypeDiffuseColor, colors, use}};
  TQ3TriMeshTriangleData triangles[2] = {{{0, 1, 2}}, {{0, 2, 3}}};
  TQ3TriMeshEdgeData edges[1] = {{{0, 2}, {0, 1}}};
  TQ3Point3D points[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  TQ3TriMeshData data{};
  data.numTriangles = 2;
  data.triangles = triangles;
  data.numTriangleAttributeTypes = 2;
  data.triangleAttributeTypes = triangleAttributes;
  data.numEdges = 1;
  data.edges = edges;
  data.numPoints = 4;
  data.points = points;
  Q3BoundingBox_SetFromPoints3D(&data.bBox, points, 4, sizeof(TQ3Point3D));
  Obj mesh(Q3TriMesh_New(&data));
  ASSERT_NE(mesh.get(), nullptr);
  EXPECT_EQ(Q3Shared_GetReferenceCount(shader), 2u);

  TQ3TriMeshData out{};
  ASSERT_EQ(Q3TriMesh_GetData(mesh, &out), kQ3Success);
  EXPECT_EQ(Q3Shared_GetReferenceCount(shader), 3u);
  ASSERT_EQ(out.numTriangleAttributeTypes, 2u);
  EXPECT_EQ(static_cast<TQ3Object*>(out.triangleAttributeTypes[0].data)[0], shader.get());
  EXPECT_EQ(static_cast<TQ3ColorRGB*>(out.triangleAttributeTypes[1].data)[1].g, 1);
  ASSERT_NE(out.triangleAttributeTypes[1].attributeUseArray, nullptr);
  EXPECT_EQ(out.triangleAttributeTypes[1].attributeUseArray[1], 0);
  EXPECT_EQ(out.edges[0].triangleIndices[1], 1u);
  EXPECT_EQ(out.bBox.max.y, 1);
  Q3TriMesh_EmptyData(&out);
  EXPECT_EQ(Q3Shared_GetReferenceCount(shader), 2u);
  mesh.reset();
  EXPECT_EQ(Q3Shared_GetReferenceCount(shader), 1u);
}

TEST_F(Geometry, BoxEllipseMarkerAndPixmapMarker) {
  Obj face = Colored(0.25f);
  TQ3AttributeSet faces[6] = {face, nullptr, nullptr, nullptr, nullptr, face};
  TQ3BoxData box{{1, 2, 3}, {0, 1, 0}, {0, 0, 2}, {3, 0, 0}, faces, nullptr};
  Obj b(Q3Box_New(&box));
  TQ3BoxData bout{};
  ASSERT_EQ(Q3Box_GetData(b, &bout), kQ3Success);
  EXPECT_EQ(bout.origin.z, 3);
  EXPECT_EQ(bout.faceAttributeSet[5], face.get());
  Q3Box_EmptyData(&bout);

  TQ3EllipseData ellipse{{0, 0, 0}, {2, 0, 0}, {0, 1, 0}, 0, 0.5f, nullptr};
  Obj e(Q3Ellipse_New(&ellipse));
  TQ3EllipseData eout{};
  ASSERT_EQ(Q3Ellipse_GetData(e, &eout), kQ3Success);
  EXPECT_EQ(eout.uMax, 0.5f);

  TQ3Uns8 pixels[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  Obj storage(Q3MemoryStorage_New(pixels, 16));
  TQ3PixmapMarkerData pm{{0, 0, 0}, -1, 1, {storage, 2, 2, 8, 32, kQ3PixelTypeARGB32, kQ3EndianBig, kQ3EndianLittle},
                         nullptr};
  Obj p(Q3PixmapMarker_New(&pm));
  ASSERT_NE(p.get(), nullptr);
  TQ3PixmapMarkerData pout{};
  ASSERT_EQ(Q3PixmapMarker_GetData(p, &pout), kQ3Success);
  EXPECT_EQ(pout.pixmap.byteOrder, kQ3EndianLittle);
  TQ3Uns8 back[16] = {};
  TQ3Uns32 got = 0;
  Q3Storage_GetData(pout.pixmap.image, 0, 16, back, &got);
  EXPECT_EQ(got, 16u);
  EXPECT_EQ(back[15], 16);
  Q3PixmapMarker_EmptyData(&pout);
}

// A box of six faces, the front one with a square hole.
class Meshes : public Library {
 protected:
  void SetUp() override {
    Library::SetUp();
    mesh.reset(Q3Mesh_New());
    const TQ3Point3D p[12] = {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}, {0, 0, 4}, {4, 0, 4},
                              {4, 4, 4}, {0, 4, 4}, {1, 1, 4}, {3, 1, 4}, {3, 3, 4}, {1, 3, 4}};
    for (int i = 0; i < 12; ++i) {
      TQ3Vertex3D v{p[i], nullptr};
      vertex[i] = Q3Mesh_VertexNew(mesh, &v);
    }
    const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    for (int f = 0; f < 6; ++f) face[f] = Face({faces[f][0], faces[f][1], faces[f][2], faces[f][3]});
    hole = Face({8, 11, 10, 9});
    contour = Q3Mesh_FaceToContour(mesh, face[1], hole);
  }
  TQ3MeshFace Face(std::initializer_list<int> indices) {
    std::vector<TQ3MeshVertex> vs;
    for (int i : indices) vs.push_back(vertex[i]);
    return Q3Mesh_FaceNew(mesh, TQ3Uns32(vs.size()), vs.data(), nullptr);
  }
  TQ3Uns32 Count(TQ3Status (*get)(TQ3GeometryObject, TQ3Uns32*)) {
    TQ3Uns32 n = 0;
    get(mesh, &n);
    return n;
  }
  Obj mesh;
  TQ3MeshVertex vertex[12];
  TQ3MeshFace face[6], hole;
  TQ3MeshContour contour;
};

TEST_F(Meshes, CountsAndWalks) {
  ASSERT_NE(contour, nullptr);
  EXPECT_EQ(Count(Q3Mesh_GetNumVertices), 12u);
  EXPECT_EQ(Count(Q3Mesh_GetNumFaces), 6u);  // the hole is a contour now, no face
  EXPECT_EQ(Count(Q3Mesh_GetNumEdges), 16u);
  EXPECT_EQ(Count(Q3Mesh_GetNumCorners), 0u);
  TQ3Uns32 n = 0;
  Q3Mesh_GetFaceNumVertices(mesh, face[1], &n);
  EXPECT_EQ(n, 8u);
  Q3Mesh_GetFaceNumContours(mesh, face[1], &n);
  EXPECT_EQ(n, 2u);
  TQ3MeshFace owner = nullptr;
  Q3Mesh_GetContourFace(mesh, contour, &owner);
  EXPECT_EQ(owner, face[1]);

  TQ3MeshIterator it;
  TQ3Uns32 i = 0;
  for (TQ3MeshVertex v = Q3Mesh_FirstMeshVertex(mesh, &it); v; v = Q3Mesh_NextMeshVertex(&it), ++i) {
    TQ3Uns32 index = 99;
    Q3Mesh_GetVertexIndex(mesh, v, &index);
    EXPECT_EQ(index, i);
  }
  EXPECT_EQ(i, 12u);
  std::vector<TQ3MeshVertex> walked;
  for (TQ3MeshContour c = Q3Mesh_FirstFaceContour(face[1], &it); c; c = Q3Mesh_NextFaceContour(&it)) {
    TQ3MeshIterator vit;
    for (TQ3MeshVertex v = Q3Mesh_FirstContourVertex(c, &vit); v; v = Q3Mesh_NextContourVertex(&vit))
      walked.push_back(v);
  }
  std::vector<TQ3MeshVertex> expected{vertex[4], vertex[5], vertex[6], vertex[7],
                                      vertex[8], vertex[11], vertex[10], vertex[9]};
  EXPECT_EQ(walked, expected);
  TQ3Uns32 faceVertices = 0;
  for (TQ3MeshVertex v = Q3Mesh_FirstFaceVertex(face[1], &it); v; v = Q3Mesh_NextFaceVertex(&it)) ++faceVertices;
  EXPECT_EQ(faceVertices, 8u);

  TQ3Uns32 around = 0;
  for (TQ3MeshFace f = Q3Mesh_FirstVertexFace(vertex[0], &it); f; f = Q3Mesh_NextVertexFace(&it)) ++around;
  EXPECT_EQ(around, 3u);
  around = 0;
  for (TQ3MeshEdge e = Q3Mesh_FirstVertexEdge(vertex[8], &it); e; e = Q3Mesh_NextVertexEdge(&it)) {
    TQ3MeshVertex a, b;
    Q3Mesh_GetEdgeVertices(mesh, e, &a, &b);
    EXPECT_TRUE(a == vertex[8] || b == vertex[8]);
    ++around;
  }
  EXPECT_EQ(around, 2u);
  TQ3Uns32 edges = 0;
  for (TQ3MeshEdge e = Q3Mesh_FirstMeshEdge(mesh, &it); e; e = Q3Mesh_NextMeshEdge(&it)) ++edges;
  EXPECT_EQ(edges, 16u);
}

TEST_F(Meshes, PlaneEquationsFaceOutwards) {
  TQ3PlaneEquation plane;
  ASSERT_EQ(Q3Mesh_GetFacePlaneEquation(mesh, face[0], &plane), kQ3Success);
  EXPECT_FLOAT_EQ(plane.normal.z, -1);
  EXPECT_FLOAT_EQ(plane.constant, 0);
  ASSERT_EQ(Q3Mesh_GetFacePlaneEquation(mesh, face[1], &plane), kQ3Success);
  EXPECT_FLOAT_EQ(plane.normal.z, 1);
  EXPECT_FLOAT_EQ(plane.constant, -4);  // n . p + c = 0 at z = 4
  // A face on one line has no plane: a warning and a failure, never a guess.
  TQ3MeshFace flat = Face({0, 1, 1});
  EXPECT_EQ(Q3Mesh_GetFacePlaneEquation(mesh, flat, &plane), kQ3Failure);
  EXPECT_EQ(Q3Warning_Get(nullptr), kQ3WarningDegenerateGeometry);
}

TEST_F(Meshes, AttributeSetsOnEveryPart) {
  Obj red(Q3AttributeSet_New()), uv(Q3AttributeSet_New());
  ASSERT_EQ(Q3Mesh_SetFaceAttributeSet(mesh, face[2], red), kQ3Success);
  ASSERT_EQ(Q3Mesh_SetVertexAttributeSet(mesh, vertex[3], red), kQ3Success);
  ASSERT_EQ(Q3Mesh_SetCornerAttributeSet(mesh, vertex[0], face[2], uv), kQ3Success);
  ASSERT_EQ(Q3Mesh_SetCornerAttributeSet(mesh, vertex[0], face[0], uv), kQ3Success);
  EXPECT_EQ(Count(Q3Mesh_GetNumCorners), 2u);
  EXPECT_EQ(Q3Mesh_SetCornerAttributeSet(mesh, vertex[8], face[2], uv), kQ3Failure);  // not a corner of it
  TQ3MeshIterator it;
  TQ3MeshEdge edge = Q3Mesh_FirstVertexEdge(vertex[0], &it);
  ASSERT_EQ(Q3Mesh_SetEdgeAttributeSet(mesh, edge, red), kQ3Success);
  TQ3AttributeSet got = nullptr;
  Q3Mesh_GetCornerAttributeSet(mesh, vertex[0], face[0], &got);
  EXPECT_EQ(got, uv.get());
  Q3Object_Dispose(got);
  Q3Mesh_GetEdgeAttributeSet(mesh, edge, &got);
  EXPECT_EQ(got, red.get());
  Q3Object_Dispose(got);
  EXPECT_EQ(Q3Shared_GetReferenceCount(red), 4u);
  mesh.reset();
  EXPECT_EQ(Q3Shared_GetReferenceCount(red), 1u);
  EXPECT_EQ(Q3Shared_GetReferenceCount(uv), 1u);
}

TEST_F(Meshes, DeletingKeepsTheRestAndRefusesStaleHandles) {
  ASSERT_EQ(Q3Mesh_FaceDelete(mesh, face[2]), kQ3Success);
  EXPECT_EQ(Count(Q3Mesh_GetNumFaces), 5u);
  EXPECT_EQ(Count(Q3Mesh_GetNumEdges), 16u);  // each of its edges has another face
  TQ3Uns32 index = 0;
  EXPECT_EQ(Q3Mesh_GetFaceIndex(mesh, face[3], &index), kQ3Success);
  EXPECT_EQ(index, 2u);
  EXPECT_EQ(Q3Mesh_FaceDelete(mesh, face[2]), kQ3Failure);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorInvalidMeshPart);

  // A vertex takes its faces with it, and the edges only they had.
  ASSERT_EQ(Q3Mesh_VertexDelete(mesh, vertex[8]), kQ3Success);
  EXPECT_EQ(Count(Q3Mesh_GetNumVertices), 11u);
  EXPECT_EQ(Count(Q3Mesh_GetNumFaces), 4u);
  EXPECT_EQ(Count(Q3Mesh_GetNumEdges), 11u);
  Q3Mesh_GetVertexIndex(mesh, vertex[9], &index);
  EXPECT_EQ(index, 8u);
  TQ3Point3D p;
  EXPECT_EQ(Q3Mesh_GetVertexCoordinates(mesh, vertex[8], &p), kQ3Failure);

  // Handles of another mesh, or of a mesh that is gone, are refused.
  Obj other(Q3Mesh_New());
  EXPECT_EQ(Q3Mesh_GetVertexCoordinates(other, vertex[0], &p), kQ3Failure);
  TQ3MeshVertex stale = vertex[0];
  mesh.reset();
  TQ3MeshIterator it;
  EXPECT_EQ(Q3Mesh_FirstVertexFace(stale, &it), nullptr);
  EXPECT_EQ(Q3Error_Get(nullptr), kQ3ErrorInvalidMeshPart);
}
