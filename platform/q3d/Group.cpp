// Groups: members in order, positions that stay checkable, the kinds of
// members each group accepts and the order an ordered display group keeps.
#include <unordered_set>

#include "internal/Classes.h"
#include "internal/Metafile.h"

namespace q3d {
namespace {

constexpr TQ3ObjectType kDisplayGroupStatePart = Q3FourCC("dgst");
constexpr TQ3DisplayGroupState kDefaultState =
    kQ3DisplayGroupStateMaskIsDrawn | kQ3DisplayGroupStateMaskIsPicked | kQ3DisplayGroupStateMaskIsWritten;

// Flags of the state in files, where set bits turn the usual behaviour off.
const EnumName kStateNames[] = {{"None", 0},          {"Inline", 1},           {"DontDraw", 2},
                                {"NoBoundingBox", 4}, {"NoBoundingSphere", 8}, {"DontPick", 16},
                                {nullptr, 0}};

TQ3Uns32 StateToFile(TQ3DisplayGroupState s) {
  TQ3Uns32 f = 0;
  if (s & kQ3DisplayGroupStateMaskIsInline) f |= 1;
  if (!(s & kQ3DisplayGroupStateMaskIsDrawn)) f |= 2;
  if (!(s & kQ3DisplayGroupStateMaskUseBoundingBox)) f |= 4;
  if (!(s & kQ3DisplayGroupStateMaskUseBoundingSphere)) f |= 8;
  if (!(s & kQ3DisplayGroupStateMaskIsPicked)) f |= 16;
  return f;
}

TQ3DisplayGroupState StateFromFile(TQ3Uns32 f) {
  TQ3DisplayGroupState s = kQ3DisplayGroupStateMaskIsWritten;
  if (f & 1) s |= kQ3DisplayGroupStateMaskIsInline;
  if (!(f & 2)) s |= kQ3DisplayGroupStateMaskIsDrawn;
  if (!(f & 4)) s |= kQ3DisplayGroupStateMaskUseBoundingBox;
  if (!(f & 8)) s |= kQ3DisplayGroupStateMaskUseBoundingSphere;
  if (!(f & 16)) s |= kQ3DisplayGroupStateMaskIsPicked;
  return s;
}

// The place of a member's kind in an ordered display group.
int Rank(const OpaqueTQ3Object* o) {
  if (o->IsType(kQ3ShapeTypeTransform)) return 0;
  if (o->IsType(kQ3ShapeTypeStyle)) return 1;
  if (o->IsType(kQ3SetTypeAttribute)) return 2;
  if (o->IsType(kQ3ShapeTypeShader)) return 3;
  if (o->IsType(kQ3ShapeTypeGeometry)) return 4;
  if (o->IsType(kQ3ShapeTypeGroup)) return 5;
  return 6;
}

// True when holder is target or holds it, directly or through groups.
bool Holds(TQ3Object holder, TQ3Object target) {
  std::vector<TQ3Object> todo{holder};
  std::unordered_set<TQ3Object> seen;
  while (!todo.empty()) {
    TQ3Object o = todo.back();
    todo.pop_back();
    if (o == target) return true;
    if (!seen.insert(o).second) continue;
    o->ForEachHeld([&](TQ3Object held) { todo.push_back(held); });
  }
  return false;
}

TQ3GroupPosition ToPosition(TQ3Uns32 p) { return reinterpret_cast<TQ3GroupPosition>(uintptr_t(p)); }
TQ3Uns32 FromPosition(TQ3GroupPosition p) {
  uintptr_t v = reinterpret_cast<uintptr_t>(p);
  return v > 0xFFFFFFFFu ? 0xFFFFFFFFu : TQ3Uns32(v);
}

OpaqueTQ3Object* MakeGroup(ClassInfo* cls) {
  auto* g = new Group(cls);
  if (cls->IsA(kQ3GroupTypeDisplay)) g->state = kDefaultState;
  return g;
}

Ref ReadGroup(ReadContext& ctx, ClassInfo* cls, const Entry& entry) {
  Ref group = NewInstance(cls);
  if (group) ctx.ReadSubObjects(group.get(), entry);
  return group;
}

Group* GroupOf(TQ3Object group) { return As<Group>(group, kQ3ShapeTypeGroup); }

}  // namespace

bool IsGroup(const OpaqueTQ3Object* object) { return object->IsType(kQ3ShapeTypeGroup); }
bool IsDisplayGroup(const OpaqueTQ3Object* object) { return object->IsType(kQ3GroupTypeDisplay); }

bool Drawable(const OpaqueTQ3Object* object) {
  for (const ClassInfo* c = object->cls; c; c = c->parent) {
    if (c->custom) {
      if (c->Method(kQ3XMethodTypeObjectSubmitRender)) return true;
      continue;
    }
    return !object->cls->custom && c->drawable;
  }
  return false;
}

bool Group::Accepts(TQ3Object object) const {
  if (!object->IsShared()) return false;
  if (IsType(kQ3GroupTypeLight)) return object->IsType(kQ3ShapeTypeLight);
  if (IsType(kQ3GroupTypeDisplay)) return Drawable(object);
  return true;
}

Group::Node* Group::At(TQ3Uns32 p) {
  if (p == 0 || p > nodes.size() || !nodes[p - 1].live) {
    PostError(kQ3ErrorInvalidPositionForGroup);
    return nullptr;
  }
  return &nodes[p - 1];
}

TQ3Uns32 Group::Add(TQ3Object object, TQ3Uns32 before, TQ3Uns32 after) {
  if (!Check(object)) return 0;
  if (!Accepts(object) || Holds(object, this)) {
    PostError(kQ3ErrorInvalidObjectForGroup);
    return 0;
  }
  if ((before && !At(before)) || (after && !At(after))) return 0;
  if (IsType(kQ3DisplayGroupTypeOrdered)) {
    // The kind decides; a given place is kept only where it agrees with the order.
    int r = Rank(object);
    auto rankAt = [&](TQ3Uns32 p) { return Rank(nodes[p - 1].object.get()); };
    if (before) {
      TQ3Uns32 prev = nodes[before - 1].prev;
      if (!(rankAt(before) >= r && (!prev || rankAt(prev) <= r))) before = 0;
    }
    if (after) {
      TQ3Uns32 next = nodes[after - 1].next;
      if (!(rankAt(after) <= r && (!next || rankAt(next) >= r))) after = 0;
    }
    if (!before && !after) {
      TQ3Uns32 p = last;
      while (p && rankAt(p) > r) p = nodes[p - 1].prev;
      if (p)
        after = p;
      else
        before = first;
    }
  }
  Node node;
  node.object = Ref::Share(object);
  node.live = true;
  nodes.push_back(std::move(node));
  TQ3Uns32 id = TQ3Uns32(nodes.size());
  Node& n = nodes.back();
  if (before) {
    n.next = before;
    n.prev = nodes[before - 1].prev;
  } else if (after) {
    n.prev = after;
    n.next = nodes[after - 1].next;
  } else {
    n.prev = last;
  }
  if (n.prev)
    nodes[n.prev - 1].next = id;
  else
    first = id;
  if (n.next)
    nodes[n.next - 1].prev = id;
  else
    last = id;
  ++count;
  return id;
}

Ref Group::Remove(TQ3Uns32 p) {
  Node* n = At(p);
  if (!n) return Ref();
  if (n->prev)
    nodes[n->prev - 1].next = n->next;
  else
    first = n->next;
  if (n->next)
    nodes[n->next - 1].prev = n->prev;
  else
    last = n->prev;
  n->live = false;
  n->prev = n->next = 0;
  --count;
  return std::move(n->object);
}

void Group::Empty() {
  std::vector<Node> gone;
  gone.swap(nodes);
  first = last = count = 0;
}

Ref Group::Clone() const {
  Ref copy(MakeGroup(cls));
  auto* g = static_cast<Group*>(copy.get());
  g->CopyShape(*this);
  g->state = state;
  bool ok = true;
  ForEach([&](TQ3Object member) {
    Ref dup = Duplicate(member);
    if (dup)
      g->Add(dup.get(), 0, 0);
    else
      ok = false;
  });
  if (!ok) PostWarning(kQ3WarningNoObjectSupportForDuplicateMethod);
  return copy;
}

void Group::ForEachHeld(const std::function<void(TQ3Object)>& visit) const { ForEach(visit); }

void Group::PlanSubObjects(WriteContext& ctx, WritePlan& plan) const {
  if (IsType(kQ3GroupTypeDisplay) && StateToFile(state) != StateToFile(kDefaultState)) {
    TQ3Uns32 flags = StateToFile(state);
    plan.Add([flags](WriteContext& c) {
      c.WritePart(kDisplayGroupStatePart, [flags](Writer& w) { w.Flags(flags, kStateNames); });
    });
  }
  Shape::PlanSubObjects(ctx, plan);
}

bool Group::ReadPart(ReadContext& ctx, const Entry& entry) {
  if (entry.cls->type != kDisplayGroupStatePart) return false;
  TQ3Uns32 flags = ctx.WithData(entry, [&] { return ctx.r().Flags(kStateNames); });
  if (IsType(kQ3GroupTypeDisplay)) state = StateFromFile(flags);
  return true;
}

void RegisterGroupClasses() {
  AddClass(kQ3SharedTypeShape, kQ3ShapeTypeGroup, "Group", MakeGroup, ReadGroup, true);
  AddClass(kQ3ShapeTypeGroup, kQ3GroupTypeDisplay, "DisplayGroup", MakeGroup, ReadGroup, true);
  AddClass(kQ3GroupTypeDisplay, kQ3DisplayGroupTypeOrdered, "OrderedDisplayGroup", MakeGroup, ReadGroup, true);
  AddClass(kQ3GroupTypeDisplay, kQ3DisplayGroupTypeIOProxy, "IOProxyDisplayGroup", MakeGroup, ReadGroup, true);
  AddClass(kQ3ShapeTypeGroup, kQ3GroupTypeLight, "LightGroup", MakeGroup, ReadGroup, false);
  AddPartClass(kDisplayGroupStatePart, "DisplayGroupState");
}

}  // namespace q3d

using namespace q3d;

static TQ3GroupObject NewGroup(TQ3ObjectType type) { return NewObject(type).release(); }

TQ3GroupObject Q3Group_New() { return NewGroup(kQ3ShapeTypeGroup); }
TQ3GroupObject Q3DisplayGroup_New() { return NewGroup(kQ3GroupTypeDisplay); }
TQ3GroupObject Q3OrderedDisplayGroup_New() { return NewGroup(kQ3DisplayGroupTypeOrdered); }
TQ3GroupObject Q3IOProxyDisplayGroup_New() { return NewGroup(kQ3DisplayGroupTypeIOProxy); }
TQ3GroupObject Q3LightGroup_New() { return NewGroup(kQ3GroupTypeLight); }

TQ3ObjectType Q3Group_GetType(TQ3GroupObject group) {
  if (!GroupOf(group)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = group->cls->Below(kQ3ShapeTypeGroup);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

TQ3ObjectType Q3DisplayGroup_GetType(TQ3GroupObject group) {
  if (!Check(group, kQ3GroupTypeDisplay)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = group->cls->Below(kQ3GroupTypeDisplay);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

TQ3Status Q3DisplayGroup_GetState(TQ3GroupObject group, TQ3DisplayGroupState* state) {
  auto* g = As<Group>(group, kQ3GroupTypeDisplay);
  if (!g || !CheckPointer(state)) return kQ3Failure;
  *state = g->state;
  return kQ3Success;
}

TQ3Status Q3DisplayGroup_SetState(TQ3GroupObject group, TQ3DisplayGroupState state) {
  auto* g = As<Group>(group, kQ3GroupTypeDisplay);
  if (!g) return kQ3Failure;
  g->state = state;
  return kQ3Success;
}

TQ3GroupPosition Q3Group_AddObject(TQ3GroupObject group, TQ3Object object) {
  Group* g = GroupOf(group);
  return g ? ToPosition(g->Add(object, 0, 0)) : nullptr;
}

TQ3GroupPosition Q3Group_AddObjectBefore(TQ3GroupObject group, TQ3GroupPosition position, TQ3Object object) {
  Group* g = GroupOf(group);
  if (!g) return nullptr;
  TQ3Uns32 p = FromPosition(position);
  if (!p) {
    PostError(kQ3ErrorInvalidPositionForGroup);
    return nullptr;
  }
  return ToPosition(g->Add(object, p, 0));
}

TQ3GroupPosition Q3Group_AddObjectAfter(TQ3GroupObject group, TQ3GroupPosition position, TQ3Object object) {
  Group* g = GroupOf(group);
  if (!g) return nullptr;
  TQ3Uns32 p = FromPosition(position);
  if (!p) {
    PostError(kQ3ErrorInvalidPositionForGroup);
    return nullptr;
  }
  return ToPosition(g->Add(object, 0, p));
}

TQ3Status Q3Group_GetPositionObject(TQ3GroupObject group, TQ3GroupPosition position, TQ3Object* object) {
  Group* g = GroupOf(group);
  if (!g || !CheckPointer(object)) return kQ3Failure;
  Group::Node* n = g->At(FromPosition(position));
  if (!n) return kQ3Failure;
  *object = n->object.Copy().release();
  return kQ3Success;
}

TQ3Status Q3Group_SetPositionObject(TQ3GroupObject group, TQ3GroupPosition position, TQ3Object object) {
  Group* g = GroupOf(group);
  if (!g || !Check(object)) return kQ3Failure;
  Group::Node* n = g->At(FromPosition(position));
  if (!n) return kQ3Failure;
  if (n->object.get() == object) return kQ3Success;
  if (!g->Accepts(object) || Holds(object, g)) {
    PostError(kQ3ErrorInvalidObjectForGroup);
    return kQ3Failure;
  }
  n->object = Ref::Share(object);
  return kQ3Success;
}

TQ3Object Q3Group_RemovePosition(TQ3GroupObject group, TQ3GroupPosition position) {
  Group* g = GroupOf(group);
  return g ? g->Remove(FromPosition(position)).release() : nullptr;
}

TQ3Status Q3Group_GetFirstPosition(TQ3GroupObject group, TQ3GroupPosition* position) {
  Group* g = GroupOf(group);
  if (!g || !CheckPointer(position)) return kQ3Failure;
  *position = ToPosition(g->first);
  return kQ3Success;
}

TQ3Status Q3Group_GetLastPosition(TQ3GroupObject group, TQ3GroupPosition* position) {
  Group* g = GroupOf(group);
  if (!g || !CheckPointer(position)) return kQ3Failure;
  *position = ToPosition(g->last);
  return kQ3Success;
}

TQ3Status Q3Group_GetNextPosition(TQ3GroupObject group, TQ3GroupPosition* position) {
  Group* g = GroupOf(group);
  if (!g || !CheckPointer(position)) return kQ3Failure;
  Group::Node* n = g->At(FromPosition(*position));
  *position = ToPosition(n ? n->next : 0);
  return n ? kQ3Success : kQ3Failure;
}

TQ3Status Q3Group_GetPreviousPosition(TQ3GroupObject group, TQ3GroupPosition* position) {
  Group* g = GroupOf(group);
  if (!g || !CheckPointer(position)) return kQ3Failure;
  Group::Node* n = g->At(FromPosition(*position));
  *position = ToPosition(n ? n->prev : 0);
  return n ? kQ3Success : kQ3Failure;
}

TQ3Status Q3Group_CountObjects(TQ3GroupObject group, TQ3Uns32* nObjects) {
  Group* g = GroupOf(group);
  if (!g || !CheckPointer(nObjects)) return kQ3Failure;
  *nObjects = g->count;
  return kQ3Success;
}

TQ3Status Q3Group_EmptyObjects(TQ3GroupObject group) {
  Group* g = GroupOf(group);
  if (!g) return kQ3Failure;
  g->Empty();
  return kQ3Success;
}

// Walks from a position (exclusive) in one direction to the next member of a type.
static TQ3Uns32 FindOfType(Group* g, TQ3Uns32 from, bool forward, TQ3ObjectType type) {
  for (TQ3Uns32 p = from; p; p = forward ? g->nodes[p - 1].next : g->nodes[p - 1].prev)
    if (g->nodes[p - 1].object->IsType(type)) return p;
  return 0;
}

TQ3Status Q3Group_GetFirstPositionOfType(TQ3GroupObject group, TQ3ObjectType isType, TQ3GroupPosition* position) {
  Group* g = GroupOf(group);
  if (!g || !CheckPointer(position)) return kQ3Failure;
  *position = ToPosition(FindOfType(g, g->first, true, isType));
  return kQ3Success;
}

TQ3Status Q3Group_GetLastPositionOfType(TQ3GroupObject group, TQ3ObjectType isType, TQ3GroupPosition* position) {
  Group* g = GroupOf(group);
  if (!g || !CheckPointer(position)) return kQ3Failure;
  *position = ToPosition(FindOfType(g, g->last, false, isType));
  return kQ3Success;
}

TQ3Status Q3Group_GetNextPositionOfType(TQ3GroupObject group, TQ3ObjectType isType, TQ3GroupPosition* position) {
  Group* g = GroupOf(group);
  if (!g || !CheckPointer(position)) return kQ3Failure;
  Group::Node* n = g->At(FromPosition(*position));
  *position = ToPosition(n ? FindOfType(g, n->next, true, isType) : 0);
  return n ? kQ3Success : kQ3Failure;
}

TQ3Status Q3Group_GetPreviousPositionOfType(TQ3GroupObject group, TQ3ObjectType isType,
                                            TQ3GroupPosition* position) {
  Group* g = GroupOf(group);
  if (!g || !CheckPointer(position)) return kQ3Failure;
  Group::Node* n = g->At(FromPosition(*position));
  *position = ToPosition(n ? FindOfType(g, n->prev, false, isType) : 0);
  return n ? kQ3Success : kQ3Failure;
}

TQ3Status Q3Group_CountObjectsOfType(TQ3GroupObject group, TQ3ObjectType isType, TQ3Uns32* nObjects) {
  Group* g = GroupOf(group);
  if (!g || !CheckPointer(nObjects)) return kQ3Failure;
  TQ3Uns32 n = 0;
  g->ForEach([&](TQ3Object o) { n += o->IsType(isType) ? 1 : 0; });
  *nObjects = n;
  return kQ3Success;
}

TQ3Status Q3Group_EmptyObjectsOfType(TQ3GroupObject group, TQ3ObjectType isType) {
  Group* g = GroupOf(group);
  if (!g) return kQ3Failure;
  std::vector<Ref> gone;  // released after the walk
  for (TQ3Uns32 p = g->first; p;) {
    TQ3Uns32 next = g->nodes[p - 1].next;
    if (g->nodes[p - 1].object->IsType(isType)) gone.push_back(g->Remove(p));
    p = next;
  }
  return kQ3Success;
}

TQ3Status Q3Group_GetFirstObjectPosition(TQ3GroupObject group, TQ3Object object, TQ3GroupPosition* position) {
  Group* g = GroupOf(group);
  if (!g || !CheckPointer(position)) return kQ3Failure;
  *position = nullptr;
  for (TQ3Uns32 p = g->first; p; p = g->nodes[p - 1].next) {
    if (g->nodes[p - 1].object.get() == object) {
      *position = ToPosition(p);
      break;
    }
  }
  return kQ3Success;
}
