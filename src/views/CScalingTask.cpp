#include "CScalingTask.h"

#include <cmath>
#include <new>

#include "CObjectChangedTask.h"
#include "CObjectTransformer.h"
#include "GeometryKernel.h"
#include "ObjectInfoRecord.h"
#include "TaskSupport.h"
#include "Unwinding.h"
#include "VLCrosshairCursor.h"
#include "VLDocument.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "ViewDrawingFlags.h"

namespace {

constexpr double kSameCoordinate = 1e-5;  // start and anchor this close along an axis: factor 1
constexpr double kSnapMoved = 0.0001;     // a snapped release this close to the last point adds no step
constexpr double kNoVolume = 1e-9;        // frame axes spanning less than this are no frame
const double kExtrudeCosine = std::cos(80.0 * kDegreesToRadians);

bool IsFinite(const Vector3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

bool IsFinite(const Matrix4d& m) {
  for (double e : m.m)
    if (!std::isfinite(e)) return false;
  return true;
}

// A frame that can take points into the object's axes and back: matrices built and axes that
// span a volume. Without one the scaling works in world axes.
const CObjectTransformer* UsableFrame(VLUser3DObject* object) {
  CObjectTransformer* frame = nullptr;
  object->GetFrame(&frame);
  if (!frame || !frame->HasMatrices()) return nullptr;
  Vector3d x, y, z;
  frame->GetAxes(&x, &y, &z);
  return std::fabs(Determinant3(&x, &y, &z)) > kNoVolume ? frame : nullptr;
}

// The frame's matrix without its translation row (identity without a frame).
Matrix4d TurnOnly(const CObjectTransformer* frame, Boolean inverse) {
  Matrix4d m;
  SetIdentity4x4(&m);
  if (frame) frame->GetMatrix(&m, inverse);
  m.at(3, 0) = m.at(3, 1) = m.at(3, 2) = 0.0;
  return m;
}

Matrix4d Translation(const Vector3d& by) {
  Matrix4d m;
  SetIdentity4x4(&m);
  m.at(3, 0) = by.x;
  m.at(3, 1) = by.y;
  m.at(3, 2) = by.z;
  return m;
}

}  // namespace

CScalingTask::~CScalingTask() {
  Forget(scaleStep);
  Forget(extrudeStep);
}

template <class Record>
void CScalingTask::Forget(Record*& record) {
  if (record) record->Dispose();
  record = nullptr;
}

template <class Record>
void CScalingTask::TakeBack(Record*& record) {
  if (!record) return;
  // Out of the field first, so that an undo that raises leaves no record disposed twice.
  Owned<Record> held(record);
  record = nullptr;
  held->Undo();
}

void CScalingTask::IScalingTask(SInt16 nameIndex, VLViewTransform* view) {
  viewTransform = view;
  object = nullptr;
  Init(nameIndex);
  extrudeAllowed = 0;
  Forget(scaleStep);
  Forget(extrudeStep);
}

void CScalingTask::SetObject(VLUser3DObject* scaled) { object = scaled; }

// ---- Tracking ----

void CScalingTask::BeginTracking(LongPt* startPt) {
  if (VLViewPane* pane = gCurrentViewPane) {
    pane->LocateMousePoint(vltasks::PanePoint(startPt), &startPoint, false, nullptr, false);
    if (pane->crosshair) pane->crosshair->BroadcastPoint(&startPoint, true);
  }
  lastPoint = startPoint;
  if (object) {
    object->UpdateFrame();
    ChooseAnchor();
  }
  gTrackingDrawing = 1;
}

void CScalingTask::KeepTracking(LongPt* currPt, LongPt* prevPt, LongPt*) {
  VLViewPane* pane = gCurrentViewPane;
  if (!pane || !object || (currPt->h == prevPt->h && currPt->v == prevPt->v)) return;
  Vector3d point;
  if (!pane->LocateMousePoint(vltasks::PanePoint(currPt), &point, false, nullptr, false)) return;
  ScaleTo(&point);
  vltasks::RedrawActivePane();
}

void CScalingTask::EndTracking(LongPt* currPt, LongPt* prevPt, LongPt* startPt) {
  // A release the program saw before it polled the mouse there (a quick hand, a busy machine):
  // the drag still ends where the button was let go.
  KeepTracking(currPt, prevPt, startPt);
  VLViewPane* pane = gCurrentViewPane;
  if (pane && pane->crosshair) pane->crosshair->taskTracking = 0;
  gTrackingDrawing = 0;
  if (gSnapToVertices && pane && object) {
    const Vector3d current = pane->currentPoint;
    // The mouse has not moved since the last poll: the locate must run all the same to snap.
    if (pane->crosshair) pane->crosshair->forceLocate = 1;
    Vector3d snapped = current;
    const Boolean located = pane->LocateMousePoint(vltasks::PanePoint(currPt), &snapped, true, object, false);
    if (located && (std::fabs(snapped.x - current.x) > kSnapMoved || std::fabs(snapped.y - current.y) > kSnapMoved ||
                    std::fabs(snapped.z - current.z) > kSnapMoved))
      ScaleTo(&snapped);
  }
  // The object keeps the shape of the last step.
  Forget(extrudeStep);
  Forget(scaleStep);
  if (object) {
    object->tracking = 0;
    object->NotifyInfoBox(kInfoChanged);
  }
  gTrackingDrag = 0;
  if (pane) pane->Refresh();
}

// ---- Steps ----

void CScalingTask::ChooseAnchor() {
  direction = Vector3d{};
  if (object->HasCurrentFace()) {
    object->GetFaceCentre(&anchor, &direction);
    extrudeAllowed = 0;
    return;
  }
  object->FarthestCorner(&startPoint, &anchor, &direction);
  const bool extrudable = object->typeCode == kObjectTypePolyline || object->typeCode == kObjectTypeGroup;
  extrudeAllowed = extrudable && VectorLength(&direction) > 0.0 ? 1 : 0;
}

Boolean CScalingTask::IsAlongDirection(const Vector3d* point, Vector3d* offset) {
  if (!extrudeAllowed) return false;
  if (point->x == lastPoint.x && point->y == lastPoint.y && point->z == lastPoint.z) return false;
  VectorSubtract(point, &lastPoint, offset);
  const double length = VectorLength(offset);
  return std::isfinite(length) && std::fabs(VectorDot(offset, &direction)) / length > kExtrudeCosine;
}

bool CScalingTask::ScalingMatrix(Vector3d point, Matrix4d* m) {
  const CObjectTransformer* frame = UsableFrame(object);
  Vector3d n = direction, a = anchor, s = startPoint;
  if (frame) {
    frame->RotateVector(&direction, &n);
    frame->ToLocal(&anchor, &a);
    frame->ToLocal(&startPoint, &s);
    frame->ToLocal(&point, &point);
  }
  const bool faceMode = object->HasCurrentFace();
  if (faceMode) {
    // Only across the face: the drag's part along its plane does not count.
    Vector3d t, along;
    VectorSubtract(&point, &s, &t);
    VectorScale(&n, VectorDot(&n, &t), &along);
    VectorSubtract(&t, &along, &t);
    VectorAdd(&s, &t, &point);
  }
  double factors[3];
  for (int i = 0; i < 3; ++i) {
    const double d = VectorComponent(s, i) - VectorComponent(a, i);
    // A flat object's flat axis is pushed out instead (ScaleTo): scaling a zero extent gives
    // nothing, and a start point a hair off the object would scale the pushed extent wildly.
    const bool flatAxis = !faceMode && std::fabs(VectorComponent(n, i)) > 0.5;
    factors[i] = flatAxis || std::fabs(d) <= kSameCoordinate ? 1.0 : (VectorComponent(point, i) - VectorComponent(a, i)) / d;
    // A face dragged through the opposite side flattens the object there, never mirrors it.
    if (faceMode && factors[i] < 0.0) factors[i] = 0.0;
  }
  Matrix4d scale;
  SetIdentity4x4(&scale);
  SetScale4x4(&scale, factors[0], factors[1], factors[2]);
  Vector3d back = anchor;
  VectorNegate(&back);
  const Matrix4d steps[5] = {Translation(back), TurnOnly(frame, false), scale, TurnOnly(frame, true),
                             Translation(anchor)};
  *m = steps[0];
  for (int k = 1; k < 5; ++k) MatrixMultiply(m, &steps[k], MatrixShape{}, MatrixShape{}, m);
  if (!IsFinite(*m)) return false;
  // Finite factors can still carry a vertex past the largest double.
  object->SetArrayPointers();
  for (SInt16 i = 0; i < object->vertexCount; ++i) {
    Vector3d moved;
    TransformPoint4x4(&object->vertices[i], m, &moved);
    if (!IsFinite(moved)) return false;
  }
  return true;
}

void CScalingTask::ScaleTo(const Vector3d* point) {
  // A point the pane could not place (a ray along the drawing plane) gives no step.
  if (!object || !IsFinite(*point)) return;
  TakeBack(extrudeStep);
  Vector3d offset;
  if (IsAlongDirection(point, &offset)) {
    Owned<CVertsAndTypeChangedTask> record(new (std::nothrow) CVertsAndTypeChangedTask);
    if (!record) return;
    record->IVertsAndTypeChangedTask(kScalingName);
    extrudeStep = record.release();
    object->ExtrudeAlong(&offset);
    return;
  }
  TakeBack(scaleStep);
  // The object is as it was before the drag: a scaling that cannot be computed leaves it so.
  Matrix4d m;
  if (!ScalingMatrix(*point, &m)) return;
  Owned<CVertsChangedTask> record(new (std::nothrow) CVertsChangedTask);
  if (!record) return;
  record->IVertsChangedTask(kScalingName);
  scaleStep = record.release();
  // A flat object (a block drawn on the ground) is thickened first: the face facing the drag
  // across its flat axis moves by the drag's part along that axis.
  if (!object->HasCurrentFace() && VectorLength(&direction) > 0.0) {
    Vector3d dragged, push;
    VectorSubtract(point, &startPoint, &dragged);
    VectorScale(&direction, VectorDot(&dragged, &direction), &push);
    if (VectorLength(&push) > kSameCoordinate) object->PushFace(&push, nullptr);
  }
  object->TransformVertices(&m);
  object->MarkChanged();
  object->CalcFacePlanes();
  object->OrientFaces();
  lastPoint = *point;
}
