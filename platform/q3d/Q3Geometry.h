// Geometry: points, lines, polylines, triangles, polygons, general polygons,
// boxes, ellipses, markers, polyhedra, triangle meshes and meshes.
//
// The _New and _SetData calls copy what they are given, taking their own
// reference of every attribute set; _GetData hands out copies with new
// references, released with the matching _EmptyData.
#pragma once

#include "Q3Types.h"

TQ3ObjectType Q3Geometry_GetType(TQ3GeometryObject geometry);
// A new reference to the geometry's attribute set, or null in *attributeSet.
TQ3Status Q3Geometry_GetAttributeSet(TQ3GeometryObject geometry, TQ3AttributeSet* attributeSet);
TQ3Status Q3Geometry_SetAttributeSet(TQ3GeometryObject geometry, TQ3AttributeSet attributeSet);

struct TQ3PointData { TQ3Point3D point; TQ3AttributeSet pointAttributeSet; };
TQ3GeometryObject Q3Point_New(const TQ3PointData* pointData);
TQ3Status Q3Point_GetData(TQ3GeometryObject point, TQ3PointData* pointData);
TQ3Status Q3Point_SetData(TQ3GeometryObject point, const TQ3PointData* pointData);
TQ3Status Q3Point_EmptyData(TQ3PointData* pointData);

struct TQ3LineData { TQ3Vertex3D vertices[2]; TQ3AttributeSet lineAttributeSet; };
TQ3GeometryObject Q3Line_New(const TQ3LineData* lineData);
TQ3Status Q3Line_GetData(TQ3GeometryObject line, TQ3LineData* lineData);
TQ3Status Q3Line_SetData(TQ3GeometryObject line, const TQ3LineData* lineData);
TQ3Status Q3Line_EmptyData(TQ3LineData* lineData);

// segmentAttributeSet is null or holds numVertices - 1 entries.
struct TQ3PolyLineData {
  TQ3Uns32 numVertices;
  TQ3Vertex3D* vertices;
  TQ3AttributeSet* segmentAttributeSet;
  TQ3AttributeSet polyLineAttributeSet;
};
TQ3GeometryObject Q3PolyLine_New(const TQ3PolyLineData* polylineData);
TQ3Status Q3PolyLine_GetData(TQ3GeometryObject polyLine, TQ3PolyLineData* polyLineData);
TQ3Status Q3PolyLine_SetData(TQ3GeometryObject polyLine, const TQ3PolyLineData* polyLineData);
TQ3Status Q3PolyLine_EmptyData(TQ3PolyLineData* polyLineData);

struct TQ3TriangleData { TQ3Vertex3D vertices[3]; TQ3AttributeSet triangleAttributeSet; };
TQ3GeometryObject Q3Triangle_New(const TQ3TriangleData* triangleData);
TQ3Status Q3Triangle_GetData(TQ3GeometryObject triangle, TQ3TriangleData* triangleData);
TQ3Status Q3Triangle_SetData(TQ3GeometryObject triangle, const TQ3TriangleData* triangleData);
TQ3Status Q3Triangle_EmptyData(TQ3TriangleData* triangleData);

struct TQ3PolygonData { TQ3Uns32 numVertices; TQ3Vertex3D* vertices; TQ3AttributeSet polygonAttributeSet; };
TQ3GeometryObject Q3Polygon_New(const TQ3PolygonData* polygonData);
TQ3Status Q3Polygon_GetData(TQ3GeometryObject polygon, TQ3PolygonData* polygonData);
TQ3Status Q3Polygon_SetData(TQ3GeometryObject polygon, const TQ3PolygonData* polygonData);
TQ3Status Q3Polygon_EmptyData(TQ3PolygonData* polygonData);

enum TQ3GeneralPolygonShapeHint : TQ3Uns32 {
  kQ3GeneralPolygonShapeHintComplex = 0,
  kQ3GeneralPolygonShapeHintConcave = 1,
  kQ3GeneralPolygonShapeHintConvex = 2
};
struct TQ3GeneralPolygonContourData { TQ3Uns32 numVertices; TQ3Vertex3D* vertices; };
struct TQ3GeneralPolygonData {
  TQ3Uns32 numContours;
  TQ3GeneralPolygonContourData* contours;
  TQ3GeneralPolygonShapeHint shapeHint;
  TQ3AttributeSet generalPolygonAttributeSet;
};
TQ3GeometryObject Q3GeneralPolygon_New(const TQ3GeneralPolygonData* generalPolygonData);
TQ3Status Q3GeneralPolygon_GetData(TQ3GeometryObject polygon, TQ3GeneralPolygonData* generalPolygonData);
TQ3Status Q3GeneralPolygon_SetData(TQ3GeometryObject generalPolygon, const TQ3GeneralPolygonData* generalPolygonData);
TQ3Status Q3GeneralPolygon_EmptyData(TQ3GeneralPolygonData* generalPolygonData);

// faceAttributeSet is null or holds six entries.
struct TQ3BoxData {
  TQ3Point3D origin;
  TQ3Vector3D orientation, majorAxis, minorAxis;
  TQ3AttributeSet* faceAttributeSet;
  TQ3AttributeSet boxAttributeSet;
};
TQ3GeometryObject Q3Box_New(const TQ3BoxData* data);
TQ3Status Q3Box_GetData(TQ3GeometryObject box, TQ3BoxData* data);
TQ3Status Q3Box_SetData(TQ3GeometryObject box, const TQ3BoxData* data);
TQ3Status Q3Box_EmptyData(TQ3BoxData* data);

struct TQ3EllipseData {
  TQ3Point3D origin;
  TQ3Vector3D majorRadius, minorRadius;
  float uMin, uMax;
  TQ3AttributeSet ellipseAttributeSet;
};
TQ3GeometryObject Q3Ellipse_New(const TQ3EllipseData* ellipseData);
TQ3Status Q3Ellipse_GetData(TQ3GeometryObject ellipse, TQ3EllipseData* ellipseData);
TQ3Status Q3Ellipse_SetData(TQ3GeometryObject ellipse, const TQ3EllipseData* ellipseData);
TQ3Status Q3Ellipse_EmptyData(TQ3EllipseData* ellipseData);

// The bitmap holds rowBytes * height bytes.
struct TQ3MarkerData {
  TQ3Point3D location;
  TQ3Int32 xOffset, yOffset;
  TQ3Bitmap bitmap;
  TQ3AttributeSet markerAttributeSet;
};
TQ3GeometryObject Q3Marker_New(const TQ3MarkerData* markerData);
TQ3Status Q3Marker_GetData(TQ3GeometryObject geometry, TQ3MarkerData* markerData);
TQ3Status Q3Marker_SetData(TQ3GeometryObject geometry, const TQ3MarkerData* markerData);
TQ3Status Q3Marker_EmptyData(TQ3MarkerData* markerData);

struct TQ3PixmapMarkerData {
  TQ3Point3D position;
  TQ3Int32 xOffset, yOffset;
  TQ3StoragePixmap pixmap;
  TQ3AttributeSet pixmapMarkerAttributeSet;
};
TQ3GeometryObject Q3PixmapMarker_New(const TQ3PixmapMarkerData* pixmapMarkerData);
TQ3Status Q3PixmapMarker_GetData(TQ3GeometryObject geometry, TQ3PixmapMarkerData* pixmapMarkerData);
TQ3Status Q3PixmapMarker_SetData(TQ3GeometryObject geometry, const TQ3PixmapMarkerData* pixmapMarkerData);
TQ3Status Q3PixmapMarker_EmptyData(TQ3PixmapMarkerData* pixmapMarkerData);

// ---------------------------------------------------------------------------
// Polyhedra: triangles over shared vertices, with optional edges.
enum TQ3PolyhedronEdgeMasks : TQ3Uns32 {
  kQ3PolyhedronEdgeNone = 0,
  kQ3PolyhedronEdge01 = 1,
  kQ3PolyhedronEdge12 = 2,
  kQ3PolyhedronEdge20 = 4,
  kQ3PolyhedronEdgeAll = 7
};
typedef TQ3Uns32 TQ3PolyhedronEdge;
struct TQ3PolyhedronEdgeData {
  TQ3Uns32 vertexIndices[2];
  TQ3Uns32 triangleIndices[2];
  TQ3AttributeSet edgeAttributeSet;
};
struct TQ3PolyhedronTriangleData {
  TQ3Uns32 vertexIndices[3];
  TQ3PolyhedronEdge edgeFlag;
  TQ3AttributeSet triangleAttributeSet;
};
struct TQ3PolyhedronData {
  TQ3Uns32 numVertices;
  TQ3Vertex3D* vertices;
  TQ3Uns32 numEdges;
  TQ3PolyhedronEdgeData* edges;
  TQ3Uns32 numTriangles;
  TQ3PolyhedronTriangleData* triangles;
  TQ3AttributeSet polyhedronAttributeSet;
};
// An index with no triangle or edge behind it.
constexpr TQ3Uns32 kQ3ArrayIndexNULL = 0xFFFFFFFFu;
TQ3GeometryObject Q3Polyhedron_New(const TQ3PolyhedronData* polyhedronData);
TQ3Status Q3Polyhedron_GetData(TQ3GeometryObject polyhedron, TQ3PolyhedronData* polyhedronData);
TQ3Status Q3Polyhedron_SetData(TQ3GeometryObject polyhedron, const TQ3PolyhedronData* polyhedronData);
TQ3Status Q3Polyhedron_EmptyData(TQ3PolyhedronData* polyhedronData);

// ---------------------------------------------------------------------------
// Triangle meshes: attributes are arrays of values, one per triangle, edge or point.
struct TQ3TriMeshTriangleData { TQ3Uns32 pointIndices[3]; };
struct TQ3TriMeshEdgeData { TQ3Uns32 pointIndices[2]; TQ3Uns32 triangleIndices[2]; };
// data holds one value per element, of the attribute type's element size; for
// surface shaders each value is an object reference. attributeUseArray is null or
// holds one byte per element, 0 where the element has no value.
struct TQ3TriMeshAttributeData {
  TQ3AttributeType attributeType;
  void* data;
  char* attributeUseArray;
};
struct TQ3TriMeshData {
  TQ3AttributeSet triMeshAttributeSet;
  TQ3Uns32 numTriangles;
  TQ3TriMeshTriangleData* triangles;
  TQ3Uns32 numTriangleAttributeTypes;
  TQ3TriMeshAttributeData* triangleAttributeTypes;
  TQ3Uns32 numEdges;
  TQ3TriMeshEdgeData* edges;
  TQ3Uns32 numEdgeAttributeTypes;
  TQ3TriMeshAttributeData* edgeAttributeTypes;
  TQ3Uns32 numPoints;
  TQ3Point3D* points;
  TQ3Uns32 numVertexAttributeTypes;
  TQ3TriMeshAttributeData* vertexAttributeTypes;
  TQ3BoundingBox bBox;
};
TQ3GeometryObject Q3TriMesh_New(const TQ3TriMeshData* triMeshData);
TQ3Status Q3TriMesh_GetData(TQ3GeometryObject triMesh, TQ3TriMeshData* triMeshData);
TQ3Status Q3TriMesh_SetData(TQ3GeometryObject triMesh, const TQ3TriMeshData* triMeshData);
TQ3Status Q3TriMesh_EmptyData(TQ3TriMeshData* triMeshData);

// ---------------------------------------------------------------------------
// Meshes: vertices, faces with contours (holes), corners, edges. Parts are
// named by handles that stay valid until the part is deleted; a stale handle
// gives an error, never a crash.
typedef struct OpaqueTQ3MeshVertex* TQ3MeshVertex;
typedef struct OpaqueTQ3MeshFace* TQ3MeshFace;
typedef struct OpaqueTQ3MeshContour* TQ3MeshContour;
typedef struct OpaqueTQ3MeshEdge* TQ3MeshEdge;

struct TQ3MeshIterator {
  TQ3GeometryObject mesh;
  TQ3Uns32 kind;
  TQ3Uns32 owner;
  TQ3Uns32 index;
  TQ3Uns32 subIndex;
};

TQ3GeometryObject Q3Mesh_New();
TQ3MeshVertex Q3Mesh_VertexNew(TQ3GeometryObject mesh, const TQ3Vertex3D* vertex);
// Deletes the vertex and every face that uses it.
TQ3Status Q3Mesh_VertexDelete(TQ3GeometryObject mesh, TQ3MeshVertex vertex);
TQ3MeshFace Q3Mesh_FaceNew(TQ3GeometryObject mesh, TQ3Uns32 numVertices, const TQ3MeshVertex* vertices,
                           TQ3AttributeSet attributeSet);
TQ3Status Q3Mesh_FaceDelete(TQ3GeometryObject mesh, TQ3MeshFace face);
// Turns face into a further contour (a hole) of containerFace; face goes away.
TQ3MeshContour Q3Mesh_FaceToContour(TQ3GeometryObject mesh, TQ3MeshFace containerFace, TQ3MeshFace face);
TQ3Status Q3Mesh_DelayUpdates(TQ3GeometryObject mesh);
TQ3Status Q3Mesh_ResumeUpdates(TQ3GeometryObject mesh);

TQ3Status Q3Mesh_GetNumVertices(TQ3GeometryObject mesh, TQ3Uns32* numVertices);
TQ3Status Q3Mesh_GetNumFaces(TQ3GeometryObject mesh, TQ3Uns32* numFaces);
TQ3Status Q3Mesh_GetNumEdges(TQ3GeometryObject mesh, TQ3Uns32* numEdges);
// The number of face corners that carry an attribute set.
TQ3Status Q3Mesh_GetNumCorners(TQ3GeometryObject mesh, TQ3Uns32* numCorners);

TQ3Status Q3Mesh_GetVertexCoordinates(TQ3GeometryObject mesh, TQ3MeshVertex vertex, TQ3Point3D* coordinates);
TQ3Status Q3Mesh_SetVertexCoordinates(TQ3GeometryObject mesh, TQ3MeshVertex vertex, const TQ3Point3D* coordinates);
// 0 .. vertex count - 1, in iteration order.
TQ3Status Q3Mesh_GetVertexIndex(TQ3GeometryObject mesh, TQ3MeshVertex vertex, TQ3Uns32* index);
TQ3Status Q3Mesh_GetVertexAttributeSet(TQ3GeometryObject mesh, TQ3MeshVertex vertex, TQ3AttributeSet* attributeSet);
TQ3Status Q3Mesh_SetVertexAttributeSet(TQ3GeometryObject mesh, TQ3MeshVertex vertex, TQ3AttributeSet attributeSet);

// Vertices of all the face's contours.
TQ3Status Q3Mesh_GetFaceNumVertices(TQ3GeometryObject mesh, TQ3MeshFace face, TQ3Uns32* numVertices);
TQ3Status Q3Mesh_GetFaceNumContours(TQ3GeometryObject mesh, TQ3MeshFace face, TQ3Uns32* numContours);
TQ3Status Q3Mesh_GetFaceIndex(TQ3GeometryObject mesh, TQ3MeshFace face, TQ3Uns32* index);
// The plane of the first contour: normal . p + constant = 0.
TQ3Status Q3Mesh_GetFacePlaneEquation(TQ3GeometryObject mesh, TQ3MeshFace face, TQ3PlaneEquation* planeEquation);
TQ3Status Q3Mesh_GetFaceAttributeSet(TQ3GeometryObject mesh, TQ3MeshFace face, TQ3AttributeSet* attributeSet);
TQ3Status Q3Mesh_SetFaceAttributeSet(TQ3GeometryObject mesh, TQ3MeshFace face, TQ3AttributeSet attributeSet);

TQ3Status Q3Mesh_GetCornerAttributeSet(TQ3GeometryObject mesh, TQ3MeshVertex vertex, TQ3MeshFace face,
                                       TQ3AttributeSet* attributeSet);
TQ3Status Q3Mesh_SetCornerAttributeSet(TQ3GeometryObject mesh, TQ3MeshVertex vertex, TQ3MeshFace face,
                                       TQ3AttributeSet attributeSet);

TQ3Status Q3Mesh_GetEdgeVertices(TQ3GeometryObject mesh, TQ3MeshEdge edge, TQ3MeshVertex* vertex1,
                                 TQ3MeshVertex* vertex2);
TQ3Status Q3Mesh_GetEdgeAttributeSet(TQ3GeometryObject mesh, TQ3MeshEdge edge, TQ3AttributeSet* attributeSet);
TQ3Status Q3Mesh_SetEdgeAttributeSet(TQ3GeometryObject mesh, TQ3MeshEdge edge, TQ3AttributeSet attributeSet);

TQ3Status Q3Mesh_GetContourFace(TQ3GeometryObject mesh, TQ3MeshContour contour, TQ3MeshFace* face);
TQ3Status Q3Mesh_GetContourNumVertices(TQ3GeometryObject mesh, TQ3MeshContour contour, TQ3Uns32* numVertices);

// Iterators: First* starts and answers the first part or null, Next* the next or null.
TQ3MeshVertex Q3Mesh_FirstMeshVertex(TQ3GeometryObject mesh, TQ3MeshIterator* iterator);
TQ3MeshVertex Q3Mesh_NextMeshVertex(TQ3MeshIterator* iterator);
TQ3MeshFace Q3Mesh_FirstMeshFace(TQ3GeometryObject mesh, TQ3MeshIterator* iterator);
TQ3MeshFace Q3Mesh_NextMeshFace(TQ3MeshIterator* iterator);
TQ3MeshEdge Q3Mesh_FirstMeshEdge(TQ3GeometryObject mesh, TQ3MeshIterator* iterator);
TQ3MeshEdge Q3Mesh_NextMeshEdge(TQ3MeshIterator* iterator);
TQ3MeshVertex Q3Mesh_FirstFaceVertex(TQ3MeshFace face, TQ3MeshIterator* iterator);
TQ3MeshVertex Q3Mesh_NextFaceVertex(TQ3MeshIterator* iterator);
TQ3MeshContour Q3Mesh_FirstFaceContour(TQ3MeshFace face, TQ3MeshIterator* iterator);
TQ3MeshContour Q3Mesh_NextFaceContour(TQ3MeshIterator* iterator);
TQ3MeshVertex Q3Mesh_FirstContourVertex(TQ3MeshContour contour, TQ3MeshIterator* iterator);
TQ3MeshVertex Q3Mesh_NextContourVertex(TQ3MeshIterator* iterator);
TQ3MeshFace Q3Mesh_FirstVertexFace(TQ3MeshVertex vertex, TQ3MeshIterator* iterator);
TQ3MeshFace Q3Mesh_NextVertexFace(TQ3MeshIterator* iterator);
TQ3MeshEdge Q3Mesh_FirstVertexEdge(TQ3MeshVertex vertex, TQ3MeshIterator* iterator);
TQ3MeshEdge Q3Mesh_NextVertexEdge(TQ3MeshIterator* iterator);
