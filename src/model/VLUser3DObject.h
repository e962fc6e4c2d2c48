// The base of every editable model object: its boundary representation (vertices, edges and
// faces with their planes) in one relocatable geometry store, the per-view projection of that
// geometry, and its attributes (type, phase, colour, material, name, selection and visibility).
//
// Construction is two-phase: the constructor only clears fields; a subclass's initialiser
// allocates the store (AllocateStorage) and builds the geometry. Objects are released through
// Dispose; the destructor frees what the object owns: its name, each face's loop block, its
// frame, its own copy of its material and the store.
//
// The array pointers (vertices, edges, faces ...) are valid only right after SetArrayPointers,
// because the store moves whenever memory is allocated; every operation that touches the arrays
// calls it first. Counts and indices are signed 16-bit. Edge and loop entries are vertex
// indices below vertexCount.
//
// Implemented in VLUser3DObject.cpp (store, planes, copies), VLUser3DObjectText.cpp (the text
// record), VLUser3DObjectOrientation.cpp (face orientation), VLUser3DObjectAttributes.cpp (colour,
// phase, visibility, material), VLUser3DObjectTransform.cpp (transforms, the frame, the palette's
// notices), VLUser3DObjectReshape.cpp (vertex, edge and face edits), VLUser3DObjectHitTest.cpp
// (hit tests, rays, face frames, local extents), VLUser3DObjectHandles.cpp (handles, picking,
// snapping), VLUser3DObjectSelection.cpp (selection, the palette link, hiding),
// VLUser3DObjectDraw.cpp (projection, wireframe, pane rectangle, selection handles),
// VLUser3DObjectSubmission.cpp (faces to the depth sorter and the shadow caster, lit patches,
// ground shadows) and VLUser3DObjectPending.cpp (operations still to come).
#pragma once

#include <cstdio>
#include <istream>

#include "CObjectTransformer.h"
#include "GeometryStore.h"
#include "Matrix4d.h"
#include "VL3DObject.h"
#include "VLArray.h"

class CDataFile;
class CShadowCaster;
class CTrimmer;
class D3TMaterial;
class D3TMaterialList;
class DXFExporter;
struct ObjectInfoRecord;
class VLViewPane;
class VLViewTransform;

// The colour new objects take; the colour picker of an object and the tool palette set it.
extern RGBColor gDefaultObjectColor;
// The colour picker for objects (prompt: item 1 of string list 2600) on the colour from: true with
// the choice in *chosen, false when cancelled.
Boolean AskObjectColor(const RGBColor& from, RGBColor* chosen);

// While set, OrientFaces settles a face that no settled neighbour can orient. The drawing
// exchange's import sets it around its orientation of an imported mesh.
extern UInt8 gLenientOrientation;

class VLUser3DObject : public VL3DObject {
  VL_REGISTERED_CLASS(VLUser3DObject, VL3DObject)

 public:
  VLUser3DObject();
  ~VLUser3DObject() override;

  // ---- Geometry store, planes, copies ----

  // Recomputes every array pointer from the store's present address; with no store the pointers
  // become null.
  virtual void SetArrayPointers();
  // Replaces the store by an empty one with these capacities (every count 0). The old store and
  // the loop blocks of its faces are released. A point capacity below the vertex capacity is
  // raised to it, since screen points are indexed by vertex. Raises kDEErrorNotEnoughMemory when
  // the block cannot be had (the object then has no store), and kDEErrorAssertionViolated for a
  // negative capacity.
  virtual void AllocateStorage(SInt16 vertices, SInt16 points, SInt16 edges, SInt16 faces);
  // Enlarges the capacities by the increments, keeping every vertex, edge, face and loop. A
  // negative increment counts as 0 (the store never shrinks), and the point capacity is kept at
  // least the vertex capacity. True at once when nothing is to grow. The last projection is
  // dropped, so growing sets changed for the next draw to project afresh. Raises
  // kDEErrorNotEnoughMemory, with the object unchanged, when the block cannot be had or a
  // capacity would pass 32767.
  virtual Boolean GrowStorage(SInt16 dv, SInt16 dp, SInt16 de, SInt16 df);
  // For a point that is unset (all three coordinates -105600.0): the centre of the vertices'
  // extent along gAxisX and gAxisY (in working-plane coordinates while gWorkingPlaneOn is set),
  // with 0.0 in component gAxisZ. A point that is set is left alone.
  virtual void GetPlanCentre(Vector3d* point);
  // The centre of the vertices' bounding box; the origin for an object without vertices.
  virtual void GetCentre(Vector3d* out);
  // The plane of a face computed afresh from its loop, oriented so that the loop runs clockwise
  // seen from the side the normal points to. A loop without a usable corner (fewer than three
  // entries, all its points collinear or coincident) answers the face's stored plane.
  virtual void CalcFacePlane(SInt16 face, double* a, double* b, double* c, double* d);
  virtual void GetFaceNormal(SInt16 face, Vector3d* out);
  // Marks each face degenerate or not (three distinct points within 1e-5) and computes the
  // plane of every face that is not.
  virtual void CalcFacePlanes();
  // Copies the object into target (a newly constructed object of the caller's class) or into a
  // new VLUser3DObject. The copy is unselected, shown, has no current opening (-1), no opening
  // lists and no lit patches, and holds its own name, frame, face loops and material copy.
  // Answers null, having disposed of the copy, when the object or the frame copy cannot be
  // made; raises kDEErrorNotEnoughMemory, having disposed of the copy, when the store or a loop
  // cannot be duplicated.
  virtual VLUser3DObject* MakeCopy(VLUser3DObject* target);
  // The number of objects this object stands for: 1 (a group counts its members).
  virtual SInt32 CountObjects();
  // The number of objects that are not groups this object stands for: 1 (a group counts its
  // members').
  virtual SInt32 CountLeafObjects();

  // ---- Object text record ----

  // Writes the object body with every coordinate times the factor. A failed write raises
  // kDEErrorErrorWritingModelFile with the I/O error -36.
  virtual void WriteText(std::FILE* file, double factor);
  // Reads the object body into this (initialised) object, multiplying coordinates by the
  // factor. A record that does not fit (a missing keyword, a number that cannot be read, a
  // count or index out of range) leaves the stream failed and the object consistent: it keeps
  // only what was read completely. Raises kDEErrorNotEnoughMemory when memory runs out.
  virtual void ReadText(std::istream& in, double factor, char delimiter);

  // ---- Face orientation and convexity ----

  // Reverses the face's loop when its recomputed plane does not match the stored normal
  // (within 0.0001 per component); true when it did.
  virtual Boolean CheckFaceOrientation(SInt16 face);
  // Turns every face to point out of the solid, settling concave corners through shared edges,
  // then recomputes the planes (not when no face could be settled).
  virtual void OrientFaces();
  // Whether, going out of face A, one meets the plane of face B in front.
  virtual Boolean FacePlaneInFront(SInt16 faceA, SInt16 faceB, Boolean includeFacing);
  // Sets nonConvex when some face has another face's plane in front of it; answers it.
  virtual Boolean CheckConvexity();
  // 1 when the loops run along a shared edge the same way, -1 the opposite way, 0 when they
  // share no edge. Looks only at the two records.
  virtual SInt16 CompareFaceOrientation(const FaceRecord* faceA, const FaceRecord* faceB);
  // Reverses the loop of a face in place.
  virtual void ReverseFace(SInt16 face);

  // ---- Hooks for the object classes: the base does nothing or answers no ----

  virtual Boolean FindHandle(const Vector3d* modelPoint, Point panePoint, SInt16* handle, SInt16* unused,
                             Boolean checkModel, VLViewTransform* view);
  virtual Boolean BuildGeometry(VLViewTransform* view, SInt16 mode, const Vector3d* modelPoint, SInt16 index,
                                VLViewPane* pane);
  virtual void StretchToHandle(SInt16* corner, const Vector3d* mousePoint, VLViewTransform* view, Boolean continuing);
  virtual void CreateOpening(const Vector3d* boxPoints);
  virtual Boolean DeleteCurrentOpening();
  virtual SInt16 OppositeFace(SInt16 face);
  virtual void BuildOutlineEdges(Boolean finish);
  virtual void ProjectEdges(VLViewTransform* view, Boolean flag);
  // The openings' outline on a face of their owner: appends the hole's points (and edges) to
  // the caller's blocks; the base answers no point block.
  virtual Handle OutlineOnFace(SInt16 face, UInt8 asHole, SInt16* pointCount, Handle points, UInt8* closeFlag,
                               SInt16* edgeCount, Handle* edgeBlock);
  // An opening's outline on its owner's face (its front outline on its front face, its back
  // outline on its back face) from its own view points, as a new ShadowLoop block owned by the
  // caller; null when it does not lie on that face. The base lies on no face.
  virtual Handle ViewOutlineOnFace(SInt16 face);
  virtual void SetOutline(const Vector3d* boxPoints, SInt16 frontFace, SInt32 ownerPosition);
  virtual Boolean ValidateOutline(Boolean front, const Vector3d* point);
  virtual Boolean AppendHoleOutline(SInt16 face, Handle* points);
  // The owner's opening list; null in the base.
  virtual VLArray* CopyOpenings();
  virtual void AlignFacesWith(VLUser3DObject* other, const SInt16* facePairs);
  virtual void Extrude(double height);
  virtual void ExtrudeAlong(const Vector3d* vector);
  virtual void DuplicateMoved(VLUser3DObject** copy, const Vector3d* offset);

  // ---- Colour, phase, visibility, material ----

  // The colour picker (prompt: item 1 of string list 2600) on the object's colour. On a choice
  // the object takes the colour and its half, new objects take it too (gDefaultObjectColor),
  // and the object is changed: true. Cancelled: false, nothing changes.
  virtual Boolean ChooseColor();
  // Takes the colour and its half as drawColor; sets changed.
  virtual void SetColor(const RGBColor* colour);
  virtual RGBColor* GetColor(RGBColor* out);
  // Sets changed and needsRedraw when the object is visible; answers whether it did.
  virtual Boolean MarkChanged();
  // Openings always; otherwise not when hidden, and only when the current phase list has a
  // record for the object's phase whose first flag is set.
  virtual Boolean IsVisible();
  // When the current phase list has a record for the object's phase with both flags set.
  virtual Boolean IsSelectable();
  virtual void SetPhase(SInt16 newPhase);
  virtual void SetMaterialIndex(SInt32 id);
  virtual SInt32 GetMaterialIndex();
  // On the objects of the document copied from: the object's own copy of its material (none when
  // the allocation fails); an id the list does not know becomes 0.
  virtual void CreateMaterialObject(D3TMaterialList* materials);
  // On the objects pasted into a document: the id of the list's material of the same name; when
  // the list has none, a copy of the object's material is added under a new id, which the
  // object takes, and the object's copy goes. Raises kDEErrorNotEnoughMemory when the copy
  // cannot be made, and as NewMaterialId when no id is left; the object is then unchanged.
  virtual void UpdateMaterialObject(D3TMaterialList* materials);

  // ---- Drawing ----
  //
  // Into the current port, through the view. The projection (viewPoints, screenPoints,
  // clippedEdges, projectedVisible, and for a clipped object edgeSegments, edgeVisible and
  // vertexUnclipped) is a cache: it stays valid until the object changes (changed) or the view
  // does (gInteractiveDrawing, gViewScrolled, or the pane marking every object changed). The
  // flags of the pass are those of ViewDrawingFlags.h.

  // Nothing for an object that is not visible. An unchanged object in a direct pass of an
  // unchanged view is drawn from its cache. Otherwise the object counts on the progress
  // dialog's job (not while a drag draws; when the user stopped the job it draws nothing more
  // and stays changed), projects (only remaps its view points after a scroll; unclipped while a
  // drag draws), then draws its openings (marks them changed while the view is dragged) and its
  // edges in a direct pass, or hands its faces to the depth sorter (DrawHidden). The pane
  // rectangle is recomputed when needsRedraw or gViewScrolled is set; a tracked object grows
  // updateRect by it (replacing it while its left is -9999). Clears changed.
  void Draw(VLViewTransform* view, Rect* updateRect) override;
  // The pane rectangle when the object is visible (true); false otherwise, out untouched.
  virtual Boolean GetScreenBounds(Rect* out);
  // The pane rectangle from the last projection: empty (0, 0, 0, 0) when nothing of the object
  // was in view; around the visible clipped segments 4 pixels out; otherwise around the screen
  // points, 2 before and 3 after (an object without vertices: 32765, 32765, 3, 3).
  virtual void CalcScreenBounds();
  // The handles of a selected object (projecting again): filled squares on the shown vertices
  // (the reference vertex grey while the info palette is open), or in face mode on the current
  // face's, with outlined squares at its sides' midpoints when it is the only selected object;
  // outlined squares at the edges' midpoints when edgeHandlesShown is set and it is the only
  // selected object. Nothing while tracked, when nothing was in view, or for a clipped object
  // in a sorted pass.
  virtual void DrawSelected(VLViewTransform* view);
  // The wireframe from the cache; nothing when nothing was in view. rect is not used.
  virtual void DrawCachedEdges(VLViewTransform* view, Rect* rect);
  // The wireframe in the draw colour (then black again): a clipped object clips each edge and
  // keeps the segments and flags in its cache; others draw a chain through the screen points.
  virtual void DrawClippedEdges(VLViewTransform* view);
  // Each screen point becomes its vertex through the transform's matrix (flattening the
  // object into the plane of the view for the exporters).
  virtual void ProjectVertices(VLViewTransform* transform);
  // The box of the screen points, no margin: (32767, 32767, -32767, -32767) without vertices.
  virtual Rect* GetProjectedBounds(Rect* out);
  // rect becomes the pane rectangle when it is (0, 0, 0, 0), else their union.
  virtual void AddScreenBounds(Rect* rect);

  // ---- Face submission, lit patches, ground shadows ----
  //
  // A lit patch is a block laid out as the depth sorter's overlay (DepthOverlay: next, shade,
  // point count, face index, then the points), in world coordinates; litPatches lists the
  // object's own in ascending face index. Every block allocation that fails raises
  // kDEErrorNotEnoughMemory unless said otherwise.

  // Hands every face that can be seen to gDepthBuffer: for each face not flagged degenerate, in
  // order, its outline clipped to the view (from the cached projection: clipped when
  // clippedEdges is set, else the screen points) with its pane plane. A face turned away from
  // the viewer is left out while gCullBackFaces is set; otherwise it goes with the shade -999.0
  // (not an opening's face in a clipped view). Front faces take the view's light cosine of
  // their normal, times 0.4 in shadow mode, and their lit patches, projected, as overlays.
  // Nothing while projectedVisible is clear.
  virtual void DrawHidden(VLViewTransform* view);
  // DrawGroundShadow for every lit patch, in list order.
  virtual void DrawGroundShadows(VLViewTransform* view);
  // Fills, in the current foreground colour, the shadow on the ground (z = 0) of the patch's
  // part above the ground, thrown along the sun (the view's light direction), projected over
  // the whole view. Nothing for a patch wholly below the ground or out of view.
  virtual void DrawGroundShadow(Handle patch, VLViewTransform* view);
  // Makes one DepthPolygon of the face just clipped (the submission polygon DrawHidden left):
  // its points, the openings' holes on the face joined to the outline (not while the view is
  // dragged), the outline's and holes' edges in hidden-line mode, the lit patches of the face as
  // overlays (not for a back face), and inserts it into gDepthBuffer. On failure nothing reaches
  // the sorter; without a sorter nothing is made.
  virtual void ClipViewPolygons(double shade, SInt16 face, const Vector3d* normal);
  // Takes the vertices through the matrix into the view points and hands every face whose
  // turned normal has z above 0 to AddFaceToSorter, shade (n.z + 1) / 2.
  virtual void TransformToView(const Matrix4d* matrix, CShadowCaster* caster);
  // One ShadowPolygon of the face in the caster's frame (from the view points), or, when
  // openings lie on the face, its triangles with the openings as holes
  // (CShadowCaster::Triangulate), each handed to CShadowCaster::AddPolygon. The first loop
  // block failing raises kDEErrorNilPointer.
  virtual void AddFaceToSorter(double shade, SInt16 face, const Vector3d* normal, CShadowCaster* caster);
  // Takes ownership of the patch and links it before the first patch of the same or a higher
  // face index.
  virtual void InsertLitPatch(Handle patch);
  // Frees every lit patch.
  virtual void FreeLitPatches();

  // ---- Hit tests, rays, face frames, local extents ----
  //
  // Queries: none changes the object. A ray is an origin and a direction; distances count in
  // multiples of the direction, and a hit must lie farther than 0.0001. The best distance is in
  // and out, so that one distance can be carried across the objects of the model. Extrusions,
  // openings, polyhedra and objects marked nonConvex are tried face by face; other objects count
  // as convex and are tried as the space behind all their face planes. Pane points are tested
  // against screenBounds and screenPoints as the last drawing left them.

  // A ray through the pixel at panePoint (or, with shadowRay, any ray): IntersectRay on a shown,
  // visible object, and for a primary ray only where the object is drawn (PointInScreenBounds).
  // True when a face is met nearer than *distance, which takes its distance; *normal takes the
  // face's normal and, for a primary ray, *colour the object's colour.
  virtual Boolean HitByRay(Point panePoint, const Vector3d* origin, const Vector3d* direction, double* distance,
                           RGBColor* colour, Vector3d* normal, UInt8 shadowRay);
  // The nearest face the ray meets nearer than *distance, from either side: true with *face,
  // *distance and *normal set. Face by face, *face starts at -1; in the convex test a miss leaves
  // *face alone, and a hit that no single plane decided keeps the caller's value.
  virtual Boolean IntersectRay(SInt16* face, double* distance, const Vector3d* origin, const Vector3d* direction,
                               Vector3d* normal);
  // Two new blocks of faceCount matrices each, one into each face's frame and one back, the
  // frames taken from the middle of the view's left pane edge (GetFaceFrame); entries of
  // degenerate faces are zero. The caller owns the blocks. Raises kDEErrorNotEnoughMemory,
  // with both outputs null, when a block cannot be had.
  virtual Boolean BuildFaceFrames(VLViewTransform* view, Handle* toFrames, Handle* fromFrames);
  // The frame of a face for points as rows (TransformPoint4x4): its origin the loop vertex drawn
  // nearest the pane point (the first of equals), x toward the next loop vertex, z the face's
  // unit normal, y = x cross z. Outputs untouched for a face that is not there.
  virtual void GetFaceFrame(Point panePoint, SInt16 face, Matrix4d* toFrame, Matrix4d* fromFrame);
  // As IntersectRay, for a mouse click at panePoint: false for a hidden, invisible or
  // unselectable object or one not drawn there. Face by face only faces turned toward the
  // origin count; the convex test skips degenerate faces and takes a ray that only touches the
  // solid. No normal.
  virtual Boolean PickFace(Point panePoint, const Vector3d* origin, const Vector3d* direction, double* distance,
                           SInt16* face);
  // Whether the point lies in the face: within 1e-5 of its plane and inside its outline. A point
  // within 1e-5 of a side is in the face; with onEdgeCounts each side it lies on counts instead
  // as one crossing of the outline. False for a degenerate face or one that is not there.
  virtual Boolean PointInFace(SInt16 face, const Vector3d* point, UInt8 onEdgeCounts);
  // Shown, visible and screenBounds meeting the rectangle.
  virtual Boolean HitScreenBounds(const Rect* rect);
  // Visible, selectable and the point within screenBounds.
  virtual Boolean PointInScreenBounds(Point panePoint);
  // The edge midpoint (FarthestVertex: the vertex) farthest from the point, compared in the
  // object's own axes, else in the working plane's while it is on; in face mode only those of
  // the current face. *out is left as it was when there is none.
  virtual void FarthestEdgeMidpoint(const Vector3d* point, Vector3d* out);
  virtual void FarthestVertex(const Vector3d* point, Vector3d* out);
  // The corner of the local extent farthest from the point (the first of equals), in model
  // coordinates. Outside face mode *flatAxis becomes the first axis along which the extent is
  // below 1e-5 of the largest (the frame's axis, or a unit axis), or zero; in face mode the
  // corners are those of the face's rectangle and *flatAxis is left alone.
  virtual void FarthestCorner(const Vector3d* point, Vector3d* corner, Vector3d* flatAxis);
  // Minimum x, y, z then maximum x, y, z of the vertices in the object's own axes (world axes
  // without a frame with matrices); in face mode of the current face's vertices in its frame
  // from the current port's bottom-left corner. Without vertices minima 105600.0 and maxima
  // -105600.0.
  virtual void GetLocalBounds(double* box);

  // ---- Geometry from polygons ----

  virtual void CreateObjectFromPolys(Handle pieces, const Vector3d* normal, double offset);
  virtual void CapPlane(const Vector3d* normal, double offset, FaceRecord* faces, SInt16* faceCount,
                        Vector3d* points, SInt16 pointCount);
  virtual Boolean HasEdge(SInt16 a, SInt16 b, const EdgeRecord* edgeList, SInt16 count);
  virtual void RemoveRepeatedLoopVertices(FaceRecord* faceList, SInt16* count);
  virtual void BuildSheetFaces(SInt16 loopLength);

  // ---- Export writers ----

  virtual void WriteDXFEdges(std::FILE* file);
  virtual void WriteDrawingFaces(DXFExporter* exporter);
  virtual void WriteDXFFaces(std::FILE* file);
  virtual void WriteDXFOutline(std::FILE* file);
  virtual SInt16 WriteClarisLines(CDataFile* writer, double dh, double dv);
  virtual void WriteRadiance(std::FILE* scene, std::FILE* materialFile, VLArray* names, SInt32* nameCount,
                             const char* objectName, D3TMaterialList* materials);
  virtual const char* LayerNameOfPhase(SInt16 phaseNumber);

  // ---- Transforms and the object frame ----
  //
  // "Face mode" below: faceMode is set and currentFace names a face (HasCurrentFace); such an
  // operation then acts on the vertices of that face's loop only, each once. Every operation
  // leaves the face planes current except Transform. The palette notices go through
  // NotifyInfoBox: to the object's dependents with an ObjectInfoRecord while the palette is open.

  // Palette reasons, info pointing at an ObjectInfoRecord: kInfoMoved moves the reference vertex
  // to info.position; kInfoRotated rotates about it to info.angle; kInfoResized scales about it
  // to info.size along the object's axes (pushing a face out along an axis of size 0), then
  // recomputes the planes and orients the faces. Other reasons, or no record, go to the base.
  void ProviderChanged(CCollaborator* provider, long reason, void* info) override;
  // Face mode. Each component x becomes f * x - f * c + c; planes recomputed, marked changed.
  virtual void ScaleAbout(const Vector3d* centre, const Vector3d* factors);
  // Turns every vertex through the angle (degrees) about the centre in the plane of the gAxisX
  // and gAxisY roles (working-plane coordinates while the plane is on, the centre included).
  // Makes the frame on the first turn and turns it too; adds the angle to rotationAngle, brought
  // once into [0, 360) from each side; sends kInfoRotated; recomputes the planes.
  virtual void Rotate(double angle, const Vector3d* centre);
  // Every vertex through the matrix (rows, translation in column 3), face mode ignored. Marks
  // the object changed and leaves the face planes stale: callers finish with GeometryChanged.
  virtual void Transform(const Matrix4d* matrix);
  // In face mode MoveFace on the current face; otherwise adds the offset to every vertex,
  // recomputes the planes, sends kInfoMoved and sets changed and needsRedraw.
  virtual void Move(const Vector3d* offset);
  // Scales about the anchor by the per-axis factors, along the frame's axes when the object
  // has one (the handle, a point the factors carry away from the anchor, tells how the world
  // factors become frame factors). Along an axis where anchor and handle lie within 1e-5 the
  // object is flat: the factor is a distance and the face facing that axis is pushed by it. In
  // face mode the current face is scaled in drawing-plane coordinates and no face is pushed.
  // The three arguments come back unchanged; planes recomputed, marked changed.
  virtual void Stretch(Vector3d* anchor, Vector3d* factors, Vector3d* handle);
  // Face mode. Every vertex through the matrix (points as rows, translation in row 3); planes
  // recomputed, marked changed.
  virtual void TransformVertices(const Matrix4d* matrix);
  // The keyboard's nudge: Move in this class.
  virtual void Nudge(const Vector3d* offset);
  // Adds the offset to the face's vertices, recomputes the planes, orients the faces and sends
  // kInfoMoved, with only the position filled in, to every dependent. Nothing for a face that
  // is not there.
  virtual void MoveFace(SInt16 face, const Vector3d* offset);
  // Rebuilds the frame's matrices at the reference vertex (when there is a frame); true.
  virtual Boolean UpdateFrame();
  // When there is no frame, makes one from the working plane's axes while the plane is on, else
  // from the unit vectors of the gAxisX, gAxisY and gAxisZ roles. Without memory the object
  // stays without a frame.
  virtual void CreateFrame();
  // When there is no frame, makes one with the world axes.
  virtual void CreateDefaultFrame();
  // Disposes of the frame and keeps newFrame (which may be null) in its place.
  virtual void SetFrame(CObjectTransformer* newFrame);
  // UpdateFrame, then the frame or null; the object keeps it.
  virtual void GetFrame(CObjectTransformer** out);
  // Mirrors the object across the plane where one coordinate equals planeOffset (axis code 1:
  // x, 2: z, anything else: y), then moves it by shift along that coordinate; the frame and the
  // reference point go the same way. Marked changed, planes recomputed, faces oriented outward.
  virtual void Flip(SInt16 axisCode, double planeOffset, double shift);
  // The reference vertex; the origin when the object has no such vertex.
  virtual void GetReferencePoint(Vector3d* out);
  // The extent the palette shows. Unrotated (rotationAngle exactly 0): the axis-aligned extent,
  // axes not written. Rotated: the lengths of the edges at the reference vertex, the one rising
  // most in z as the height and the two longest others as width and depth, with their unit
  // directions; a missing one has size 0 and points towards vertex 0. Null axes are allowed.
  virtual void GetSize(Vector3d* size, Vector3d* xAxis, Vector3d* yAxis, Vector3d* zAxis);

  // ---- Reshaping vertices, edges and faces ----
  //
  // The drags constrain their offsets in the view's role coordinates (gAxisX, gAxisY span the
  // plane the mouse moves in, gAxisZ is the depth). Indices that name nothing leave the object
  // as it was.

  // Outside face mode the vertex takes the position; in face mode it moves to the point nearest
  // the position's drag that keeps it in the current face's plane. Planes recomputed.
  virtual void MoveVertex(SInt16 vertex, const Vector3d* position, long unused);
  // Moves both ends by the offset, constrained to move the edge perpendicular to itself (within
  // the current face's plane in face mode), and hands back the offset applied. An edge of zero
  // length (ends within 1e-5) has no direction and does not move: the offset comes back zero.
  // The planes are left to the caller.
  virtual void MoveEdge(SInt16 edge, Vector3d* offset, long unused);
  // Places the target face's vertices at the source face's, moved back along the source's
  // normal by the distance, in the opposite order starting one place on (an extrusion's back
  // face). Nothing when the target's loop is shorter than the source's. Planes recomputed.
  virtual void OffsetFace(SInt16 sourceFace, SInt16 targetFace, double distance);
  // Moves the face that faces the offset most (the last of equals; face 0 when none faces it)
  // by the offset. A tracked vertex outside that face becomes the face's vertex now lying at
  // its position plus the offset, if there is one. Planes recomputed before and after.
  virtual void PushFace(const Vector3d* offset, SInt16* trackedVertex);
  // Turns the current face's plane through the angle about the frame's origin in the frame's
  // x-y plane, moving each of its vertices along the old normal onto the new plane. Nothing
  // without a frame with matrices, for a face whose points all lie in one line, or for a tilt
  // that would leave the new plane within 0.0001 (cosine) of standing on edge to the old normal:
  // the face keeps its plane. Marked changed; planes left to the caller.
  virtual void TiltFace(double angle, CObjectTransformer* frameForTilt);
  // Recomputes the planes and marks the object changed: for callers that changed vertices.
  virtual void GeometryChanged();
  // A new block of vertexCount points holding the vertices; null when it cannot be allocated.
  // The caller owns it.
  virtual Handle CopyVertices();
  // Restores vertices from a CopyVertices block: as many as both the block and the object hold
  // (a block from before the vertex count changed restores the smaller count). Marked changed;
  // planes left to the caller. A null block changes nothing.
  virtual void SetVertices(Handle copy);
  // Point k of the array goes to the vertex at loop position k of the face, for every position.
  // Marked changed; planes left to the caller.
  virtual void SetFaceVertices(SInt16 face, const Vector3d* points);

  // ---- Handles, picking, snapping ----
  //
  // Queries: none changes the object or allocates. A handle is hit when its pane position lies
  // less than 3 pixels from the pane point both horizontally and vertically; checking the model
  // point it must also lie within 5.0 of it on each axis. Face and vertex indices that name
  // nothing give the miss answer.

  // The mean of the current face's loop vertices (zero for an empty loop) and its normal;
  // outputs untouched when there is no such face.
  virtual void GetFaceCentre(Vector3d* centre, Vector3d* normal);
  // The first vertex whose handle is hit (model distance strictly below 5.0); -1 when none.
  virtual SInt16 FindVertexHandle(const Vector3d* modelPoint, Point panePoint, Boolean checkModel);
  // The vertex nearest the point among those within the tolerance on each axis (the first of
  // equals): true with *vertex set; false with *vertex untouched when none is.
  virtual Boolean FindVertexNear(const Vector3d* modelPoint, SInt16* vertex, double tolerance);
  // The first edge whose midpoint handle, projected through the view, is hit (model distance up
  // to 5.0); -1 when edge handles are not shown. With clippedEdges only edges drawn whole count.
  virtual SInt16 FindEdgeHandle(const Vector3d* modelPoint, Point panePoint, Boolean checkModel,
                                VLViewTransform* view);
  // The vertex, or the midpoint of the edge, of a handle.
  virtual void GetHandlePoint(Vector3d* out, SInt16 index, Boolean isVertex);
  // The extent of the vertices; without vertices minima 105600.0 and maxima -105600.0.
  virtual void GetBounds(double* minX, double* minY, double* minZ, double* maxX, double* maxY, double* maxZ);
  // The plane through the midpoint of the current face's side farthest from the mouse (the side
  // whose nearer end is drawn farthest), standing across that side: its unit normal runs along
  // it. *point takes the midpoint. With no side of the face edge 0 is taken; false only for an
  // object without edges.
  virtual Boolean PickFaceEdge(VLViewTransform* view, Point panePoint, Vector3d* planeNormal, double* planeOffset,
                               Vector3d* point);
  // For a visible object, over the vertices within the tolerance of the point on each axis: a
  // vertex nearer than *bestDistance becomes *position and its distance *bestDistance, and
  // *found is set. Passing the same three to several objects keeps the nearest vertex of all.
  // True at once, outputs untouched, when the point is exactly a vertex.
  virtual Boolean SnapToVertex(const Vector3d* point, Vector3d* position, double* bestDistance, Boolean* found,
                               double tolerance);
  // Where a ray in the face's plane first crosses a side of the face, at least 0.001 along it:
  // true with the point; false with *out the origin.
  virtual Boolean RayToFaceEdge(const Vector3d* origin, SInt16 face, const Vector3d* direction, Vector3d* out);
  // The nearest other face that a ray from the point against the face's normal leaves the solid
  // through (the far side of a wall): its index, with the hit point in *out; -1, *out untouched,
  // when none.
  virtual SInt16 FindOppositeFace(const Vector3d* point, SInt16 face, Vector3d* out);
  // The foot of the point on the face's plane: true with *out set when it lies in the face.
  virtual Boolean ProjectOntoFace(const Vector3d* point, SInt16 face, Vector3d* out);
  // Whether the face's loop lists the vertex.
  virtual Boolean FaceHasVertex(SInt16 face, SInt16 vertex);
  // The plane through first and second standing across the face: unit normal along the face's
  // normal cross (second - first); the trimmer cuts with it.
  virtual Boolean EdgePlane(const Vector3d* first, const Vector3d* second, SInt16 face, Vector3d* normal,
                            double* offset);
  // faceMode is set and currentFace names a face.
  virtual Boolean HasCurrentFace();

  // ---- Trimming ----

  virtual Boolean TrimWith(CTrimmer* trimmer, VLArray* frontList, VLArray* backList);
  virtual Boolean IsCrossedBy(CTrimmer* trimmer);
  virtual Boolean LiesInFrontOf(CTrimmer* trimmer);

  // ---- Extending and joining ----

  virtual void ExtendToNearest(SInt16 directionCode);
  virtual void IntersectFaces(SInt16 face, SInt16 otherFace, UInt8* marks, UInt8* otherMarks, VLUser3DObject* other,
                              double offsetQ, const Vector3d* normalQ, double offsetP, const Vector3d* normalP);
  virtual void JoinFaces(SInt16 face, SInt16 otherFace, VLUser3DObject* other);
  virtual SInt16 PreviousSide(SInt16 side);
  virtual SInt16 NextSide(SInt16 side);

  // ---- Selection, the info palette, hiding ----
  //
  // The object is in gCurrentSelection exactly while selected is set, and in face mode only
  // while selected. While it is the one selected object and the palette is open (Selection.h),
  // it and the palette are each other's provider.

  // Selects the object for a pick ray that met its face at origin + t * direction: Select in
  // this class (an opening owner makes the opening hit there its current one).
  virtual void SelectHit(const Vector3d* origin, const Vector3d* direction, double t, SInt16 face);
  // Deselect when selected, Select otherwise; nothing for a hidden or unselectable object.
  virtual void ToggleSelection();
  // Appends a shown, selectable object that is not yet selected to the selection (nothing
  // without a selection list), outside face mode. With the palette open: the first object
  // selected is linked to it (ConnectInfoBox); at the second the first sends kInfoDeselected,
  // is unlinked, and the palette shows several objects.
  virtual void Select();
  // Select, then face mode with that face; nothing for a hidden or unselectable object, and no
  // face mode for one that could not be selected.
  virtual void SelectFace(SInt16 face);
  // With the palette open: links the object and the palette and sends kInfoShowMe.
  virtual void ConnectInfoBox();
  // With the palette open: the object and the palette stop being each other's provider. Sends
  // nothing.
  void DisconnectInfoBox();
  // Takes a selected object out of the selection. With the palette open and no current
  // opening: when none remains the object sends kInfoDeselected and is unlinked; when one
  // remains, that one is linked.
  virtual void Deselect();
  // Takes a selected object out of the selection whatever remains: it sends kInfoDeselected and
  // is unlinked from the palette. A group does so to the objects it takes in.
  void ForceDeselect();
  // With the palette open: sends the object's ObjectInfoRecord with the reason to its
  // dependents. Nothing while the palette is closed.
  virtual void NotifyInfoBox(SInt32 reason);
  // The object's record for the palette: reference point, size, angle, name, phase, material.
  void FillInfoRecord(ObjectInfoRecord* info);
  // Sets hidden (neither drawn, picked nor selected) and deselects.
  virtual void Hide();
  // Clears hidden and marks the object changed; nothing for a shown object.
  virtual void Show();

  // Replaces the name by a copy of text (null for none).
  void SetNameText(const char* text);

  // ---- Fields ----

  SInt16 openingCount = 0;
  SInt16 currentOpening = 0;  // -1 when none is current
  SInt16 currentFace = 0;
  SInt16 phase = 0;
  SInt16 referenceVertex = 0;
  SInt16 typeCode = kObjectTypeBlock;
  UInt8 selected = 0;
  UInt8 faceMode = 0;
  UInt8 ownedPartsShown = 0;
  UInt8 hidden = 0;
  UInt8 tracking = 0;
  UInt8 clippedEdges = 0;
  UInt8 hasOwnedParts = 0;
  UInt8 edgeHandlesShown = 0;
  UInt8 projectedVisible = 0;
  UInt8 nonConvex = 0;
  UInt8 needsRedraw = 0;
  Rect screenBounds;
  SInt16 faceCount = 0;
  SInt16 faceCapacity = 0;
  FaceRecord* faces = nullptr;
  EdgeSegment* markedEdgeSegmentsA = nullptr;
  EdgeSegment* markedEdgeSegmentsB = nullptr;
  EdgeSegment* markedEdgeSegmentsC = nullptr;
  UInt8* markedEdgeFlagsA = nullptr;
  UInt8* markedEdgeFlagsB = nullptr;
  UInt8* markedEdgeFlagsC = nullptr;
  VLArray* openings = nullptr;
  VLArray* removedOpenings = nullptr;
  RGBColor color;
  RGBColor drawColor;  // each component of color shifted right by one
  // The object's own axes, owned; null until made.
  CObjectTransformer* frame = nullptr;
  Vector3d stretchPoints[3];
  double rotationAngle = 0.0;
  SInt32 materialId = 0;  // 0: no material; new objects take gCurrentMaterials' current one
  // The object's own copy of its material, or null; owned: a copy of the object gets a copy of
  // it, and it is released with the object, so that no update or disposal of one object can
  // leave another with a freed material.
  D3TMaterial* materialObject = nullptr;
  char* name = nullptr;  // zero-terminated, owned; null when the object has no name
  Handle litPatches = nullptr;
  UInt8 membersKeepSettings = 0;

 protected:
  // Releases the loop blocks of faces [from, to) and clears their handles.
  void ReleaseFaceLoops(SInt16 from, SInt16 to);
  // The midpoint of an edge, where its handle sits.
  void EdgeMidpoint(SInt16 edge, Vector3d* out);
  // OrientFaces without its recompute of the planes: whether no face could be settled, or
  // whether any loop was turned (the planes then need recomputing).
  enum class Orientation { kUnsettled, kKept, kTurned };
  Orientation OrientFaceLoops();
  // CalcFacePlane on pointers already set, for a face that exists.
  void PlaneOfFace(SInt16 face, double* a, double* b, double* c, double* d) const;
};
