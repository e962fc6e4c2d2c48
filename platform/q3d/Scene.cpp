// Scene objects: transforms, styles, shaders, textures, cameras, lights and
// view hints.
#include <cmath>

#include "internal/Classes.h"
#include "internal/Metafile.h"

namespace q3d {
namespace {

// ---------------------------------------------------------------------------
// Transforms.
const EnumName kAxisNames[] = {{"X", 0}, {"Y", 1}, {"Z", 2}, {nullptr, 0}};

struct TransformObj : Shape {
  using Shape::Shape;
  TQ3Matrix4x4 matrix{};
  TQ3Vector3D vector{0, 0, 0};
  TQ3RotateTransformData rotate{kQ3AxisX, 0};

  Ref Clone() const override {
    Ref copy(new TransformObj(cls));
    auto* t = static_cast<TransformObj*>(copy.get());
    t->CopyShape(*this);
    t->matrix = matrix;
    t->vector = vector;
    t->rotate = rotate;
    return copy;
  }
  void WriteData(WriteContext& ctx) const override {
    Writer& w = ctx.w();
    switch (cls->type) {
      case kQ3TransformTypeMatrix:
        w.Matrix4x4(matrix);
        break;
      case kQ3TransformTypeRotate:
        w.Enum(rotate.axis, kAxisNames);
        w.F32(rotate.radians);
        break;
      default:
        w.Vector3D(vector);
    }
  }
  TQ3Matrix4x4 Matrix() const {
    TQ3Matrix4x4 m;
    switch (cls->type) {
      case kQ3TransformTypeMatrix:
        return matrix;
      case kQ3TransformTypeTranslate:
        return *Q3Matrix4x4_SetTranslate(&m, vector.x, vector.y, vector.z);
      case kQ3TransformTypeScale:
        return *Q3Matrix4x4_SetScale(&m, vector.x, vector.y, vector.z);
      default:
        if (rotate.axis == kQ3AxisX) return *Q3Matrix4x4_SetRotate_X(&m, rotate.radians);
        if (rotate.axis == kQ3AxisY) return *Q3Matrix4x4_SetRotate_Y(&m, rotate.radians);
        return *Q3Matrix4x4_SetRotate_Z(&m, rotate.radians);
    }
  }
};

OpaqueTQ3Object* MakeTransform(ClassInfo* c) {
  auto* t = new TransformObj(c);
  Q3Matrix4x4_SetIdentity(&t->matrix);
  if (c->type == kQ3TransformTypeScale) t->vector = {1, 1, 1};
  return t;
}

Ref ReadTransform(ReadContext& ctx, ClassInfo* cls, const Entry& entry) {
  Ref object = NewInstance(cls);
  if (!object) FailRead(kQ3ErrorOutOfMemory, "no memory for a transform");
  auto* t = static_cast<TransformObj*>(object.get());
  ctx.WithData(entry, [&] {
    Reader& r = ctx.r();
    switch (cls->type) {
      case kQ3TransformTypeMatrix:
        t->matrix = r.Matrix4x4();
        break;
      case kQ3TransformTypeRotate: {
        TQ3Uns32 axis = r.Enum(kAxisNames);
        if (axis > 2) FailRead(kQ3ErrorInvalidData, "a rotation names an unknown axis");
        t->rotate.axis = TQ3Axis(axis);
        t->rotate.radians = r.F32();
        break;
      }
      default:
        t->vector = r.Vector3D();
    }
  });
  ctx.ReadSubObjects(t, entry);
  return object;
}

// ---------------------------------------------------------------------------
// Styles.
const EnumName kBackfacingNames[] = {{"Both", 0}, {"Remove", 1}, {"Flip", 2}, {nullptr, 0}};
const EnumName kInterpolationNames[] = {{"None", 0}, {"Vertex", 1}, {"Pixel", 2}, {nullptr, 0}};
const EnumName kFillNames[] = {{"Filled", 0}, {"Edges", 1}, {"Points", 2}, {nullptr, 0}};
const EnumName kSubdivisionNames[] = {{"Constant", 0}, {"WorldSpace", 1}, {"ScreenSpace", 2}, {nullptr, 0}};

const EnumName* StyleNames(TQ3ObjectType type) {
  switch (type) {
    case kQ3StyleTypeBackfacing:
      return kBackfacingNames;
    case kQ3StyleTypeInterpolation:
      return kInterpolationNames;
    case kQ3StyleTypeFill:
      return kFillNames;
    default:
      return kSubdivisionNames;
  }
}

struct StyleObj : Shape {
  using Shape::Shape;
  TQ3Uns32 value = 0;
  TQ3SubdivisionStyleData subdivision{kQ3SubdivisionMethodConstant, 10, 10};

  Ref Clone() const override {
    Ref copy(new StyleObj(cls));
    auto* s = static_cast<StyleObj*>(copy.get());
    s->CopyShape(*this);
    s->value = value;
    s->subdivision = subdivision;
    return copy;
  }
  void WriteData(WriteContext& ctx) const override {
    Writer& w = ctx.w();
    if (cls->type != kQ3StyleTypeSubdivision) {
      w.Enum(value, StyleNames(cls->type));
      return;
    }
    w.Enum(subdivision.method, kSubdivisionNames);
    w.F32(subdivision.c1);
    if (subdivision.method == kQ3SubdivisionMethodConstant) w.F32(subdivision.c2);
  }
};

OpaqueTQ3Object* MakeStyle(ClassInfo* c) {
  auto* s = new StyleObj(c);
  if (c->type == kQ3StyleTypeBackfacing) s->value = kQ3BackfacingStyleBoth;
  if (c->type == kQ3StyleTypeInterpolation) s->value = kQ3InterpolationStyleVertex;
  return s;
}

Ref ReadStyle(ReadContext& ctx, ClassInfo* cls, const Entry& entry) {
  Ref object = NewInstance(cls);
  if (!object) FailRead(kQ3ErrorOutOfMemory, "no memory for a style");
  auto* s = static_cast<StyleObj*>(object.get());
  ctx.WithData(entry, [&] {
    Reader& r = ctx.r();
    TQ3Uns32 v = r.Enum(StyleNames(cls->type));
    if (v > 2) FailRead(kQ3ErrorInvalidData, "a style has an unknown value");
    if (cls->type != kQ3StyleTypeSubdivision) {
      s->value = v;
      return;
    }
    s->subdivision.method = TQ3SubdivisionMethod(v);
    s->subdivision.c1 = r.F32();
    if (!r.AtEndOfData()) s->subdivision.c2 = r.F32();
  });
  ctx.ReadSubObjects(s, entry);
  return object;
}

// ---------------------------------------------------------------------------
// Shaders and textures.
constexpr TQ3ObjectType kShaderDataPart = Q3FourCC("shdt");
constexpr TQ3ObjectType kShaderUVTransformPart = Q3FourCC("sduv");
const EnumName kBoundaryNames[] = {{"Wrap", 0}, {"Clamp", 1}, {nullptr, 0}};

bool IsIdentity(const TQ3Matrix3x3& m) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (m.value[i][j] != (i == j ? 1.0f : 0.0f)) return false;
  return true;
}

struct ShaderObj : Shape {
  using Shape::Shape;
  TQ3Matrix3x3 uvTransform{};
  TQ3ShaderUVBoundary uBoundary = kQ3ShaderUVBoundaryWrap, vBoundary = kQ3ShaderUVBoundaryWrap;
  Ref texture;

  Ref Clone() const override {
    Ref copy(new ShaderObj(cls));
    auto* s = static_cast<ShaderObj*>(copy.get());
    s->CopyShape(*this);
    s->uvTransform = uvTransform;
    s->uBoundary = uBoundary;
    s->vBoundary = vBoundary;
    if (texture) s->texture = Duplicate(texture.get());
    return copy;
  }
  void ForEachHeld(const std::function<void(TQ3Object)>& visit) const override {
    if (texture) visit(texture.get());
  }
  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override {
    if (uBoundary != kQ3ShaderUVBoundaryWrap || vBoundary != kQ3ShaderUVBoundaryWrap) {
      TQ3Uns32 u = uBoundary, v = vBoundary;
      plan.Add([u, v](WriteContext& c) {
        c.WritePart(kShaderDataPart, [u, v](Writer& w) {
          w.Enum(u, kBoundaryNames);
          w.Enum(v, kBoundaryNames);
        });
      });
    }
    if (!IsIdentity(uvTransform)) {
      TQ3Matrix3x3 m = uvTransform;
      plan.Add([m](WriteContext& c) { c.WritePart(kShaderUVTransformPart, [m](Writer& w) { w.Matrix3x3(m); }); });
    }
    plan.AddObject(texture.get());
    Shape::PlanSubObjects(ctx, plan);
  }
  bool ReadPart(ReadContext& ctx, const Entry& e) override {
    if (e.cls->type == kShaderDataPart) {
      ctx.WithData(e, [&] {
        uBoundary = ctx.r().Enum(kBoundaryNames) ? kQ3ShaderUVBoundaryClamp : kQ3ShaderUVBoundaryWrap;
        vBoundary = ctx.r().Enum(kBoundaryNames) ? kQ3ShaderUVBoundaryClamp : kQ3ShaderUVBoundaryWrap;
      });
      return true;
    }
    if (e.cls->type == kShaderUVTransformPart) {
      uvTransform = ctx.WithData(e, [&] { return ctx.r().Matrix3x3(); });
      return true;
    }
    return false;
  }
  bool Attach(ReadContext& ctx, Ref child) override {
    if (cls->type == kQ3SurfaceShaderTypeTexture && child->IsType(kQ3SharedTypeTexture)) {
      texture = std::move(child);
      return true;
    }
    return Shape::Attach(ctx, std::move(child));
  }
};

OpaqueTQ3Object* MakeShader(ClassInfo* c) {
  auto* s = new ShaderObj(c);
  Q3Matrix3x3_SetIdentity(&s->uvTransform);
  return s;
}

Ref ReadShader(ReadContext& ctx, ClassInfo* cls, const Entry& entry) {
  Ref object = NewInstance(cls);
  if (!object) FailRead(kQ3ErrorOutOfMemory, "no memory for a shader");
  ctx.ReadSubObjects(object.get(), entry);
  return object;
}

struct TextureObj : OpaqueTQ3Object {
  using OpaqueTQ3Object::OpaqueTQ3Object;
  Pixmap pixmap;
  Ref Clone() const override {
    Ref copy(new TextureObj(cls));
    auto* t = static_cast<TextureObj*>(copy.get());
    t->CopyBase(*this);
    t->pixmap = pixmap.Copy();
    return copy;
  }
  void WriteData(WriteContext& ctx) const override { pixmap.Write(ctx.w()); }
};

OpaqueTQ3Object* MakeTexture(ClassInfo* c) { return new TextureObj(c); }

Ref ReadTexture(ReadContext& ctx, ClassInfo* cls, const Entry& entry) {
  Ref object = NewInstance(cls);
  if (!object) FailRead(kQ3ErrorOutOfMemory, "no memory for a shader");
  auto* t = static_cast<TextureObj*>(object.get());
  ctx.WithData(entry, [&] { t->pixmap.Read(ctx.r()); });
  ctx.ReadSubObjects(t, entry);
  return object;
}

// ---------------------------------------------------------------------------
// Cameras.
constexpr TQ3ObjectType kPlacementPart = Q3FourCC("cmpl");
constexpr TQ3ObjectType kRangePart = Q3FourCC("cmrg");
constexpr TQ3ObjectType kViewPortPart = Q3FourCC("cmvp");

struct CameraObj : Shape {
  using Shape::Shape;
  TQ3CameraData data{{{0, 0, 1}, {0, 0, 0}, {0, 1, 0}}, {0.1f, 100.0f}, {{-1, 1}, 2, 2}};
  float params[5] = {1, 1, 1, 0, 0};  // view plane: plane, half width, half height, centre x, y;
                                      // orthographic: left, top, right, bottom; view angle: fov, aspect

  int ParamCount() const {
    return cls->type == kQ3CameraTypeViewPlane ? 5 : cls->type == kQ3CameraTypeOrthographic ? 4 : 2;
  }
  Ref Clone() const override {
    Ref copy(new CameraObj(cls));
    auto* c = static_cast<CameraObj*>(copy.get());
    c->CopyShape(*this);
    c->data = data;
    std::memcpy(c->params, params, sizeof params);
    return copy;
  }
  void WriteData(WriteContext& ctx) const override { ctx.w().Floats(params, size_t(ParamCount())); }
  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override {
    TQ3CameraData d = data;
    plan.Add([d](WriteContext& c) {
      c.WritePart(kPlacementPart, [d](Writer& w) {
        w.Point3D(d.placement.cameraLocation);
        w.Point3D(d.placement.pointOfInterest);
        w.Vector3D(d.placement.upVector);
      });
    });
    plan.Add([d](WriteContext& c) {
      c.WritePart(kRangePart, [d](Writer& w) {
        w.F32(d.range.hither);
        w.F32(d.range.yon);
      });
    });
    plan.Add([d](WriteContext& c) {
      c.WritePart(kViewPortPart, [d](Writer& w) {
        w.Point2D(d.viewPort.origin);
        w.F32(d.viewPort.width);
        w.F32(d.viewPort.height);
      });
    });
    Shape::PlanSubObjects(ctx, plan);
  }
  bool ReadPart(ReadContext& ctx, const Entry& e) override {
    Reader& r = ctx.r();
    switch (e.cls->type) {
      case kPlacementPart:
        ctx.WithData(e, [&] {
          data.placement.cameraLocation = r.Point3D();
          data.placement.pointOfInterest = r.Point3D();
          data.placement.upVector = r.Vector3D();
        });
        return true;
      case kRangePart:
        ctx.WithData(e, [&] {
          data.range.hither = r.F32();
          data.range.yon = r.F32();
        });
        return true;
      case kViewPortPart:
        ctx.WithData(e, [&] {
          data.viewPort.origin = r.Point2D();
          data.viewPort.width = r.F32();
          data.viewPort.height = r.F32();
        });
        return true;
      default:
        return false;
    }
  }
};

OpaqueTQ3Object* MakeCamera(ClassInfo* c) {
  auto* cam = new CameraObj(c);
  if (c->type == kQ3CameraTypeOrthographic) {
    float p[4] = {-1, 1, 1, -1};
    std::memcpy(cam->params, p, sizeof p);
  } else if (c->type == kQ3CameraTypeViewAngleAspect) {
    cam->params[0] = 1.0f;
    cam->params[1] = 1.0f;
  }
  return cam;
}

Ref ReadCamera(ReadContext& ctx, ClassInfo* cls, const Entry& entry) {
  Ref object = NewInstance(cls);
  if (!object) FailRead(kQ3ErrorOutOfMemory, "no memory for a camera");
  auto* c = static_cast<CameraObj*>(object.get());
  ctx.WithData(entry, [&] { ctx.r().Floats(c->params, size_t(c->ParamCount())); });
  ctx.ReadSubObjects(c, entry);
  return object;
}

// ---------------------------------------------------------------------------
// Lights.
constexpr TQ3ObjectType kLightDataPart = Q3FourCC("lgdt");
const EnumName kAttenuationNames[] = {
    {"None", 0}, {"InverseDistance", 1}, {"InverseDistanceSquared", 2}, {nullptr, 0}};
const EnumName kFallOffNames[] = {{"None", 0}, {"Linear", 1}, {"Exponential", 2}, {"Cosine", 3}, {nullptr, 0}};

struct LightObj : Shape {
  using Shape::Shape;
  TQ3LightData light{kQ3True, 1.0f, {1, 1, 1}};
  TQ3Boolean castsShadows = kQ3False;
  TQ3AttenuationType attenuation = kQ3AttenuationTypeNone;
  TQ3Point3D location{0, 0, 0};
  TQ3Vector3D direction{0, 0, -1};
  float hotAngle = 0, outerAngle = 0;
  TQ3FallOffType fallOff = kQ3FallOffTypeNone;

  Ref Clone() const override {
    Ref copy(new LightObj(cls));
    auto* l = static_cast<LightObj*>(copy.get());
    l->CopyShape(*this);
    l->light = light;
    l->castsShadows = castsShadows;
    l->attenuation = attenuation;
    l->location = location;
    l->direction = direction;
    l->hotAngle = hotAngle;
    l->outerAngle = outerAngle;
    l->fallOff = fallOff;
    return copy;
  }
  void WriteData(WriteContext& ctx) const override {
    Writer& w = ctx.w();
    switch (cls->type) {
      case kQ3LightTypeDirectional:
        w.Vector3D(direction);
        w.Boolean(castsShadows == kQ3True);
        break;
      case kQ3LightTypePoint:
        w.Point3D(location);
        w.Enum(attenuation, kAttenuationNames);
        w.Boolean(castsShadows == kQ3True);
        break;
      case kQ3LightTypeSpot:
        w.Point3D(location);
        w.Vector3D(direction);
        w.Boolean(castsShadows == kQ3True);
        w.Enum(attenuation, kAttenuationNames);
        w.F32(hotAngle);
        w.F32(outerAngle);
        w.Enum(fallOff, kFallOffNames);
        break;
      default:
        break;
    }
  }
  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override {
    TQ3LightData d = light;
    plan.Add([d](WriteContext& c) {
      c.WritePart(kLightDataPart, [d](Writer& w) {
        w.Boolean(d.isOn == kQ3True);
        w.F32(d.brightness);
        w.ColorRGB(d.color);
      });
    });
    Shape::PlanSubObjects(ctx, plan);
  }
  bool ReadPart(ReadContext& ctx, const Entry& e) override {
    if (e.cls->type != kLightDataPart) return false;
    ctx.WithData(e, [&] {
      Reader& r = ctx.r();
      light.isOn = r.Boolean();
      light.brightness = r.F32();
      light.color = r.ColorRGB();
    });
    return true;
  }
};

OpaqueTQ3Object* MakeLight(ClassInfo* c) { return new LightObj(c); }

Ref ReadLight(ReadContext& ctx, ClassInfo* cls, const Entry& entry) {
  Ref object = NewInstance(cls);
  if (!object) FailRead(kQ3ErrorOutOfMemory, "no memory for a light");
  auto* l = static_cast<LightObj*>(object.get());
  ctx.WithData(entry, [&] {
    Reader& r = ctx.r();
    auto attenuation = [&] {
      TQ3Uns32 a = r.Enum(kAttenuationNames);
      if (a > 2) FailRead(kQ3ErrorInvalidData, "a light has an unknown attenuation");
      return TQ3AttenuationType(a);
    };
    switch (cls->type) {
      case kQ3LightTypeDirectional:
        l->direction = r.Vector3D();
        l->castsShadows = r.Boolean();
        break;
      case kQ3LightTypePoint:
        l->location = r.Point3D();
        l->attenuation = attenuation();
        l->castsShadows = r.Boolean();
        break;
      case kQ3LightTypeSpot: {
        l->location = r.Point3D();
        l->direction = r.Vector3D();
        l->castsShadows = r.Boolean();
        l->attenuation = attenuation();
        l->hotAngle = r.F32();
        l->outerAngle = r.F32();
        TQ3Uns32 f = r.Enum(kFallOffNames);
        if (f > 3) FailRead(kQ3ErrorInvalidData, "a spot light has an unknown fall-off");
        l->fallOff = TQ3FallOffType(f);
        break;
      }
      default:
        break;
    }
  });
  ctx.ReadSubObjects(l, entry);
  return object;
}

// ---------------------------------------------------------------------------
// View hints.
constexpr TQ3ObjectType kDimensionsPart = Q3FourCC("imdm");

struct ViewHintsObj : OpaqueTQ3Object {
  using OpaqueTQ3Object::OpaqueTQ3Object;
  Ref renderer, camera, lightGroup, attributeSet;
  TQ3Boolean dimensionsState = kQ3False;
  TQ3Uns32 width = 0, height = 0;

  Ref Clone() const override {
    Ref copy(new ViewHintsObj(cls));
    auto* v = static_cast<ViewHintsObj*>(copy.get());
    v->CopyBase(*this);
    auto dup = [](const Ref& r) { return r ? Duplicate(r.get()) : Ref(); };
    v->renderer = dup(renderer);
    v->camera = dup(camera);
    v->lightGroup = dup(lightGroup);
    v->attributeSet = dup(attributeSet);
    v->dimensionsState = dimensionsState;
    v->width = width;
    v->height = height;
    return copy;
  }
  void ForEachHeld(const std::function<void(TQ3Object)>& visit) const override {
    for (const Ref* r : {&renderer, &camera, &lightGroup, &attributeSet})
      if (*r) visit(r->get());
  }
  void PlanSubObjects(WriteContext& ctx, WritePlan& plan) const override {
    plan.AddObject(renderer.get());
    plan.AddObject(camera.get());
    plan.AddObject(lightGroup.get());
    plan.AddObject(attributeSet.get());
    if (dimensionsState == kQ3True) {
      TQ3Uns32 w = width, h = height;
      plan.Add([w, h](WriteContext& c) {
        c.WritePart(kDimensionsPart, [w, h](Writer& out) {
          out.U32(w);
          out.U32(h);
        });
      });
    }
    OpaqueTQ3Object::PlanSubObjects(ctx, plan);
  }
  bool ReadPart(ReadContext& ctx, const Entry& e) override {
    if (e.cls->type != kDimensionsPart) return false;
    ctx.WithData(e, [&] {
      width = ctx.r().U32();
      height = ctx.r().U32();
    });
    dimensionsState = kQ3True;
    return true;
  }
  bool Attach(ReadContext&, Ref child) override {
    if (child->IsType(kQ3ShapeTypeCamera))
      camera = std::move(child);
    else if (child->IsType(kQ3GroupTypeLight))
      lightGroup = std::move(child);
    else if (child->IsType(kQ3SetTypeAttribute))
      attributeSet = std::move(child);
    else if (child->IsType(kQ3SharedTypeRenderer))
      renderer = std::move(child);
    else
      return false;
    return true;
  }
};

OpaqueTQ3Object* MakeViewHints(ClassInfo* c) { return new ViewHintsObj(c); }

Ref ReadViewHints(ReadContext& ctx, ClassInfo* cls, const Entry& entry) {
  Ref object = NewInstance(cls);
  if (!object) FailRead(kQ3ErrorOutOfMemory, "no memory for a group");
  ctx.ReadSubObjects(object.get(), entry);
  return object;
}

OpaqueTQ3Object* MakeBase(ClassInfo* c) { return new OpaqueTQ3Object(c); }

}  // namespace

void RegisterSceneClasses() {
  AddClass(kQ3SharedTypeShape, kQ3ShapeTypeTransform, "Transform", MakeTransform, nullptr, true);
  AddClass(kQ3ShapeTypeTransform, kQ3TransformTypeMatrix, "Matrix", MakeTransform, ReadTransform, true);
  AddClass(kQ3ShapeTypeTransform, kQ3TransformTypeTranslate, "Translate", MakeTransform, ReadTransform, true);
  AddClass(kQ3ShapeTypeTransform, kQ3TransformTypeScale, "Scale", MakeTransform, ReadTransform, true);
  AddClass(kQ3ShapeTypeTransform, kQ3TransformTypeRotate, "Rotate", MakeTransform, ReadTransform, true);

  AddClass(kQ3SharedTypeShape, kQ3ShapeTypeStyle, "Style", MakeStyle, nullptr, true);
  AddClass(kQ3ShapeTypeStyle, kQ3StyleTypeBackfacing, "Backfacing", MakeStyle, ReadStyle, true);
  AddClass(kQ3ShapeTypeStyle, kQ3StyleTypeInterpolation, "Interpolation", MakeStyle, ReadStyle, true);
  AddClass(kQ3ShapeTypeStyle, kQ3StyleTypeFill, "Fill", MakeStyle, ReadStyle, true);
  AddClass(kQ3ShapeTypeStyle, kQ3StyleTypeSubdivision, "Subdivision", MakeStyle, ReadStyle, true);

  AddClass(kQ3SharedTypeShape, kQ3ShapeTypeShader, "Shader", MakeShader, nullptr, true);
  AddClass(kQ3ShapeTypeShader, kQ3ShaderTypeIllumination, "IlluminationShader", MakeShader, nullptr, true);
  AddClass(kQ3ShaderTypeIllumination, kQ3IlluminationTypePhong, "PhongIllumination", MakeShader, ReadShader, true);
  AddClass(kQ3ShaderTypeIllumination, kQ3IlluminationTypeLambert, "LambertIllumination", MakeShader, ReadShader,
           true);
  AddClass(kQ3ShaderTypeIllumination, kQ3IlluminationTypeNULL, "NULLIllumination", MakeShader, ReadShader, true);
  AddClass(kQ3ShapeTypeShader, kQ3ShaderTypeSurface, "Surface", MakeShader, nullptr, true);
  AddClass(kQ3ShaderTypeSurface, kQ3SurfaceShaderTypeTexture, "TextureShader", MakeShader, ReadShader, true);
  AddPartClass(kShaderDataPart, "ShaderData");
  AddPartClass(kShaderUVTransformPart, "ShaderUVTransform");

  AddClass(kQ3ObjectTypeShared, kQ3SharedTypeTexture, "Texture", MakeTexture, nullptr, false);
  AddClass(kQ3SharedTypeTexture, kQ3TextureTypePixmap, "PixmapTexture", MakeTexture, ReadTexture, false);

  AddClass(kQ3SharedTypeShape, kQ3ShapeTypeCamera, "Camera", MakeCamera, nullptr, false);
  AddClass(kQ3ShapeTypeCamera, kQ3CameraTypeViewPlane, "ViewPlaneCamera", MakeCamera, ReadCamera, false);
  AddClass(kQ3ShapeTypeCamera, kQ3CameraTypeOrthographic, "OrthographicCamera", MakeCamera, ReadCamera, false);
  AddClass(kQ3ShapeTypeCamera, kQ3CameraTypeViewAngleAspect, "ViewAngleAspectCamera", MakeCamera, ReadCamera,
           false);
  AddPartClass(kPlacementPart, "CameraPlacement");
  AddPartClass(kRangePart, "CameraRange");
  AddPartClass(kViewPortPart, "CameraViewPort");

  AddClass(kQ3SharedTypeShape, kQ3ShapeTypeLight, "Light", MakeLight, nullptr, false);
  AddClass(kQ3ShapeTypeLight, kQ3LightTypeAmbient, "AmbientLight", MakeLight, ReadLight, false);
  AddClass(kQ3ShapeTypeLight, kQ3LightTypeDirectional, "DirectionalLight", MakeLight, ReadLight, false);
  AddClass(kQ3ShapeTypeLight, kQ3LightTypePoint, "PointLight", MakeLight, ReadLight, false);
  AddClass(kQ3ShapeTypeLight, kQ3LightTypeSpot, "SpotLight", MakeLight, ReadLight, false);
  AddPartClass(kLightDataPart, "LightData");

  AddClass(kQ3ObjectTypeShared, kQ3SharedTypeViewHints, "ViewHints", MakeViewHints, ReadViewHints, false);
  AddPartClass(kDimensionsPart, "ImageDimensions");

  // Renderers and draw contexts come with views; their classes root here.
  AddClass(kQ3ObjectTypeShared, kQ3SharedTypeRenderer, "Renderer", MakeBase, nullptr, false);
  AddClass(kQ3ObjectTypeShared, kQ3SharedTypeDrawContext, "DrawContext", MakeBase, nullptr, false);
}

}  // namespace q3d

using namespace q3d;

// ---------------------------------------------------------------------------
// Transforms.
template <class T>
static T* Obj(TQ3Object o, TQ3ObjectType type) {
  return As<T>(o, type);
}

static TQ3TransformObject NewTransform(TQ3ObjectType type, const void* value, size_t size) {
  if (!CheckPointer(value)) return nullptr;
  Ref object = NewObject(type);
  if (!object) return nullptr;
  auto* t = static_cast<TransformObj*>(object.get());
  void* dst = type == kQ3TransformTypeMatrix   ? static_cast<void*>(&t->matrix)
              : type == kQ3TransformTypeRotate ? static_cast<void*>(&t->rotate)
                                               : static_cast<void*>(&t->vector);
  std::memcpy(dst, value, size);
  return object.release();
}

TQ3ObjectType Q3Transform_GetType(TQ3TransformObject transform) {
  if (!Check(transform, kQ3ShapeTypeTransform)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = transform->cls->Below(kQ3ShapeTypeTransform);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

TQ3Status Q3Transform_GetMatrix(TQ3TransformObject transform, TQ3Matrix4x4* matrix) {
  auto* t = Obj<TransformObj>(transform, kQ3ShapeTypeTransform);
  if (!t || !CheckPointer(matrix)) return kQ3Failure;
  *matrix = t->Matrix();
  return kQ3Success;
}

TQ3TransformObject Q3MatrixTransform_New(const TQ3Matrix4x4* matrix) {
  return NewTransform(kQ3TransformTypeMatrix, matrix, sizeof *matrix);
}
TQ3Status Q3MatrixTransform_Get(TQ3TransformObject transform, TQ3Matrix4x4* matrix) {
  auto* t = Obj<TransformObj>(transform, kQ3TransformTypeMatrix);
  if (!t || !CheckPointer(matrix)) return kQ3Failure;
  *matrix = t->matrix;
  return kQ3Success;
}
TQ3Status Q3MatrixTransform_Set(TQ3TransformObject transform, const TQ3Matrix4x4* matrix) {
  auto* t = Obj<TransformObj>(transform, kQ3TransformTypeMatrix);
  if (!t || !CheckPointer(matrix)) return kQ3Failure;
  t->matrix = *matrix;
  return kQ3Success;
}

TQ3TransformObject Q3TranslateTransform_New(const TQ3Vector3D* translate) {
  return NewTransform(kQ3TransformTypeTranslate, translate, sizeof *translate);
}
TQ3Status Q3TranslateTransform_Get(TQ3TransformObject translate, TQ3Vector3D* vector3D) {
  auto* t = Obj<TransformObj>(translate, kQ3TransformTypeTranslate);
  if (!t || !CheckPointer(vector3D)) return kQ3Failure;
  *vector3D = t->vector;
  return kQ3Success;
}
TQ3Status Q3TranslateTransform_Set(TQ3TransformObject translate, const TQ3Vector3D* translate3D) {
  auto* t = Obj<TransformObj>(translate, kQ3TransformTypeTranslate);
  if (!t || !CheckPointer(translate3D)) return kQ3Failure;
  t->vector = *translate3D;
  return kQ3Success;
}

TQ3TransformObject Q3ScaleTransform_New(const TQ3Vector3D* scale) {
  return NewTransform(kQ3TransformTypeScale, scale, sizeof *scale);
}
TQ3Status Q3ScaleTransform_Get(TQ3TransformObject transform, TQ3Vector3D* scale) {
  auto* t = Obj<TransformObj>(transform, kQ3TransformTypeScale);
  if (!t || !CheckPointer(scale)) return kQ3Failure;
  *scale = t->vector;
  return kQ3Success;
}
TQ3Status Q3ScaleTransform_Set(TQ3TransformObject transform, const TQ3Vector3D* scale) {
  auto* t = Obj<TransformObj>(transform, kQ3TransformTypeScale);
  if (!t || !CheckPointer(scale)) return kQ3Failure;
  t->vector = *scale;
  return kQ3Success;
}

TQ3TransformObject Q3RotateTransform_New(const TQ3RotateTransformData* data) {
  if (data && data->axis > kQ3AxisZ) {
    PostError(kQ3ErrorParameterOutOfRange);
    return nullptr;
  }
  return NewTransform(kQ3TransformTypeRotate, data, sizeof *data);
}
TQ3Status Q3RotateTransform_GetData(TQ3TransformObject transform, TQ3RotateTransformData* data) {
  auto* t = Obj<TransformObj>(transform, kQ3TransformTypeRotate);
  if (!t || !CheckPointer(data)) return kQ3Failure;
  *data = t->rotate;
  return kQ3Success;
}
TQ3Status Q3RotateTransform_SetData(TQ3TransformObject transform, const TQ3RotateTransformData* data) {
  auto* t = Obj<TransformObj>(transform, kQ3TransformTypeRotate);
  if (!t || !CheckPointer(data)) return kQ3Failure;
  if (data->axis > kQ3AxisZ) {
    PostError(kQ3ErrorParameterOutOfRange);
    return kQ3Failure;
  }
  t->rotate = *data;
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Styles.
static TQ3StyleObject NewStyle(TQ3ObjectType type, TQ3Uns32 value) {
  if (value > 2) {
    PostError(kQ3ErrorParameterOutOfRange);
    return nullptr;
  }
  Ref object = NewObject(type);
  if (!object) return nullptr;
  static_cast<StyleObj*>(object.get())->value = value;
  return object.release();
}

static TQ3Status GetStyle(TQ3StyleObject style, TQ3ObjectType type, TQ3Uns32* value) {
  auto* s = Obj<StyleObj>(style, type);
  if (!s || !CheckPointer(value)) return kQ3Failure;
  *value = s->value;
  return kQ3Success;
}

static TQ3Status SetStyle(TQ3StyleObject style, TQ3ObjectType type, TQ3Uns32 value) {
  auto* s = Obj<StyleObj>(style, type);
  if (!s) return kQ3Failure;
  if (value > 2) {
    PostError(kQ3ErrorParameterOutOfRange);
    return kQ3Failure;
  }
  s->value = value;
  return kQ3Success;
}

TQ3ObjectType Q3Style_GetType(TQ3StyleObject style) {
  if (!Check(style, kQ3ShapeTypeStyle)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = style->cls->Below(kQ3ShapeTypeStyle);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

TQ3StyleObject Q3BackfacingStyle_New(TQ3BackfacingStyle s) { return NewStyle(kQ3StyleTypeBackfacing, s); }
TQ3Status Q3BackfacingStyle_Get(TQ3StyleObject o, TQ3BackfacingStyle* s) {
  return GetStyle(o, kQ3StyleTypeBackfacing, reinterpret_cast<TQ3Uns32*>(s));
}
TQ3Status Q3BackfacingStyle_Set(TQ3StyleObject o, TQ3BackfacingStyle s) {
  return SetStyle(o, kQ3StyleTypeBackfacing, s);
}
TQ3StyleObject Q3InterpolationStyle_New(TQ3InterpolationStyle s) { return NewStyle(kQ3StyleTypeInterpolation, s); }
TQ3Status Q3InterpolationStyle_Get(TQ3StyleObject o, TQ3InterpolationStyle* s) {
  return GetStyle(o, kQ3StyleTypeInterpolation, reinterpret_cast<TQ3Uns32*>(s));
}
TQ3Status Q3InterpolationStyle_Set(TQ3StyleObject o, TQ3InterpolationStyle s) {
  return SetStyle(o, kQ3StyleTypeInterpolation, s);
}
TQ3StyleObject Q3FillStyle_New(TQ3FillStyle s) { return NewStyle(kQ3StyleTypeFill, s); }
TQ3Status Q3FillStyle_Get(TQ3StyleObject o, TQ3FillStyle* s) {
  return GetStyle(o, kQ3StyleTypeFill, reinterpret_cast<TQ3Uns32*>(s));
}
TQ3Status Q3FillStyle_Set(TQ3StyleObject o, TQ3FillStyle s) { return SetStyle(o, kQ3StyleTypeFill, s); }

TQ3StyleObject Q3SubdivisionStyle_New(const TQ3SubdivisionStyleData* data) {
  if (!CheckPointer(data)) return nullptr;
  if (data->method > kQ3SubdivisionMethodScreenSpace) {
    PostError(kQ3ErrorParameterOutOfRange);
    return nullptr;
  }
  Ref object = NewObject(kQ3StyleTypeSubdivision);
  if (!object) return nullptr;
  static_cast<StyleObj*>(object.get())->subdivision = *data;
  return object.release();
}
TQ3Status Q3SubdivisionStyle_GetData(TQ3StyleObject subdiv, TQ3SubdivisionStyleData* data) {
  auto* s = Obj<StyleObj>(subdiv, kQ3StyleTypeSubdivision);
  if (!s || !CheckPointer(data)) return kQ3Failure;
  *data = s->subdivision;
  return kQ3Success;
}
TQ3Status Q3SubdivisionStyle_SetData(TQ3StyleObject subdiv, const TQ3SubdivisionStyleData* data) {
  auto* s = Obj<StyleObj>(subdiv, kQ3StyleTypeSubdivision);
  if (!s || !CheckPointer(data)) return kQ3Failure;
  if (data->method > kQ3SubdivisionMethodScreenSpace) {
    PostError(kQ3ErrorParameterOutOfRange);
    return kQ3Failure;
  }
  s->subdivision = *data;
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Shaders.
TQ3ObjectType Q3Shader_GetType(TQ3ShaderObject shader) {
  if (!Check(shader, kQ3ShapeTypeShader)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = shader->cls->Below(kQ3ShapeTypeShader);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

TQ3Status Q3Shader_GetUVTransform(TQ3ShaderObject shader, TQ3Matrix3x3* uvTransform) {
  auto* s = Obj<ShaderObj>(shader, kQ3ShapeTypeShader);
  if (!s || !CheckPointer(uvTransform)) return kQ3Failure;
  *uvTransform = s->uvTransform;
  return kQ3Success;
}
TQ3Status Q3Shader_SetUVTransform(TQ3ShaderObject shader, const TQ3Matrix3x3* uvTransform) {
  auto* s = Obj<ShaderObj>(shader, kQ3ShapeTypeShader);
  if (!s || !CheckPointer(uvTransform)) return kQ3Failure;
  s->uvTransform = *uvTransform;
  return kQ3Success;
}

static TQ3Status SetBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary b, bool u) {
  auto* s = Obj<ShaderObj>(shader, kQ3ShapeTypeShader);
  if (!s) return kQ3Failure;
  if (b > kQ3ShaderUVBoundaryClamp) {
    PostError(kQ3ErrorParameterOutOfRange);
    return kQ3Failure;
  }
  (u ? s->uBoundary : s->vBoundary) = b;
  return kQ3Success;
}

TQ3Status Q3Shader_GetUBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary* uBoundary) {
  auto* s = Obj<ShaderObj>(shader, kQ3ShapeTypeShader);
  if (!s || !CheckPointer(uBoundary)) return kQ3Failure;
  *uBoundary = s->uBoundary;
  return kQ3Success;
}
TQ3Status Q3Shader_SetUBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary uBoundary) {
  return SetBoundary(shader, uBoundary, true);
}
TQ3Status Q3Shader_GetVBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary* vBoundary) {
  auto* s = Obj<ShaderObj>(shader, kQ3ShapeTypeShader);
  if (!s || !CheckPointer(vBoundary)) return kQ3Failure;
  *vBoundary = s->vBoundary;
  return kQ3Success;
}
TQ3Status Q3Shader_SetVBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary vBoundary) {
  return SetBoundary(shader, vBoundary, false);
}

TQ3ObjectType Q3IlluminationShader_GetType(TQ3ShaderObject shader) {
  if (!Check(shader, kQ3ShaderTypeIllumination)) return kQ3ObjectTypeInvalid;
  return shader->cls->type;
}
TQ3ShaderObject Q3PhongIllumination_New() { return NewObject(kQ3IlluminationTypePhong).release(); }
TQ3ShaderObject Q3LambertIllumination_New() { return NewObject(kQ3IlluminationTypeLambert).release(); }
TQ3ShaderObject Q3NULLIllumination_New() { return NewObject(kQ3IlluminationTypeNULL).release(); }

TQ3ObjectType Q3SurfaceShader_GetType(TQ3SurfaceShaderObject shader) {
  if (!Check(shader, kQ3ShaderTypeSurface)) return kQ3ObjectTypeInvalid;
  return shader->cls->type;
}

TQ3ShaderObject Q3TextureShader_New(TQ3TextureObject texture) {
  if (texture && !Check(texture, kQ3SharedTypeTexture)) return nullptr;
  Ref object = NewObject(kQ3SurfaceShaderTypeTexture);
  if (!object) return nullptr;
  static_cast<ShaderObj*>(object.get())->texture = Ref::Share(texture);
  return object.release();
}
TQ3Status Q3TextureShader_GetTexture(TQ3ShaderObject shader, TQ3TextureObject* texture) {
  auto* s = Obj<ShaderObj>(shader, kQ3SurfaceShaderTypeTexture);
  if (!s || !CheckPointer(texture)) return kQ3Failure;
  *texture = s->texture.Copy().release();
  return kQ3Success;
}
TQ3Status Q3TextureShader_SetTexture(TQ3ShaderObject shader, TQ3TextureObject texture) {
  auto* s = Obj<ShaderObj>(shader, kQ3SurfaceShaderTypeTexture);
  if (!s || (texture && !Check(texture, kQ3SharedTypeTexture))) return kQ3Failure;
  s->texture = Ref::Share(texture);
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Textures.
TQ3ObjectType Q3Texture_GetType(TQ3TextureObject texture) {
  if (!Check(texture, kQ3SharedTypeTexture)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = texture->cls->Below(kQ3SharedTypeTexture);
  return below ? below->type : kQ3ObjectTypeInvalid;
}
TQ3Status Q3Texture_GetWidth(TQ3TextureObject texture, TQ3Uns32* width) {
  auto* t = Obj<TextureObj>(texture, kQ3SharedTypeTexture);
  if (!t || !CheckPointer(width)) return kQ3Failure;
  *width = t->pixmap.width;
  return kQ3Success;
}
TQ3Status Q3Texture_GetHeight(TQ3TextureObject texture, TQ3Uns32* height) {
  auto* t = Obj<TextureObj>(texture, kQ3SharedTypeTexture);
  if (!t || !CheckPointer(height)) return kQ3Failure;
  *height = t->pixmap.height;
  return kQ3Success;
}
TQ3TextureObject Q3PixmapTexture_New(const TQ3StoragePixmap* pixmap) {
  if (!CheckPointer(pixmap)) return nullptr;
  Ref object = NewObject(kQ3TextureTypePixmap);
  if (!object || !static_cast<TextureObj*>(object.get())->pixmap.Import(*pixmap)) return nullptr;
  return object.release();
}
TQ3Status Q3PixmapTexture_GetPixmap(TQ3TextureObject texture, TQ3StoragePixmap* pixmap) {
  auto* t = Obj<TextureObj>(texture, kQ3TextureTypePixmap);
  if (!t || !CheckPointer(pixmap)) return kQ3Failure;
  t->pixmap.Export(*pixmap);
  return kQ3Success;
}
TQ3Status Q3PixmapTexture_SetPixmap(TQ3TextureObject texture, const TQ3StoragePixmap* pixmap) {
  auto* t = Obj<TextureObj>(texture, kQ3TextureTypePixmap);
  if (!t || !CheckPointer(pixmap)) return kQ3Failure;
  Pixmap p;
  if (!p.Import(*pixmap)) return kQ3Failure;
  t->pixmap = std::move(p);
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// Cameras.
static CameraObj* CameraOf(TQ3Object camera, TQ3ObjectType type = kQ3ShapeTypeCamera) {
  return Obj<CameraObj>(camera, type);
}

TQ3ObjectType Q3Camera_GetType(TQ3CameraObject camera) {
  if (!CameraOf(camera)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = camera->cls->Below(kQ3ShapeTypeCamera);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

#define CAMERA_ACCESS(Name, Type, field)                                   \
  TQ3Status Q3Camera_Get##Name(TQ3CameraObject camera, Type* value) {      \
    CameraObj* c = CameraOf(camera);                                       \
    if (!c || !CheckPointer(value)) return kQ3Failure;                     \
    *value = c->field;                                                     \
    return kQ3Success;                                                     \
  }                                                                        \
  TQ3Status Q3Camera_Set##Name(TQ3CameraObject camera, const Type* value) { \
    CameraObj* c = CameraOf(camera);                                       \
    if (!c || !CheckPointer(value)) return kQ3Failure;                     \
    c->field = *value;                                                     \
    return kQ3Success;                                                     \
  }
CAMERA_ACCESS(Data, TQ3CameraData, data)
CAMERA_ACCESS(Placement, TQ3CameraPlacement, data.placement)
CAMERA_ACCESS(Range, TQ3CameraRange, data.range)
CAMERA_ACCESS(ViewPort, TQ3CameraViewPort, data.viewPort)
#undef CAMERA_ACCESS

static TQ3Matrix4x4 WorldToView(const TQ3CameraPlacement& p) {
  TQ3Vector3D z, x, y;
  Q3Point3D_Subtract(&p.cameraLocation, &p.pointOfInterest, &z);
  Q3Vector3D_Normalize(&z, &z);
  Q3Vector3D_Cross(&p.upVector, &z, &x);
  Q3Vector3D_Normalize(&x, &x);
  Q3Vector3D_Cross(&z, &x, &y);
  const TQ3Point3D& e = p.cameraLocation;
  TQ3Vector3D ev{e.x, e.y, e.z};
  TQ3Matrix4x4 m{{{x.x, y.x, z.x, 0},
                  {x.y, y.y, z.y, 0},
                  {x.z, y.z, z.z, 0},
                  {-Q3Vector3D_Dot(&ev, &x), -Q3Vector3D_Dot(&ev, &y), -Q3Vector3D_Dot(&ev, &z), 1}}};
  return m;
}

// View to frustum before the view port: the camera's visible area to [-1, 1].
static TQ3Matrix4x4 ViewToFrustum(const CameraObj& c) {
  float h = c.data.range.hither, y = c.data.range.yon;
  float depth = y - h != 0 ? y - h : 1;
  TQ3Matrix4x4 m;
  Q3Matrix4x4_SetIdentity(&m);
  if (c.cls->type == kQ3CameraTypeOrthographic) {
    float l = c.params[0], t = c.params[1], r = c.params[2], b = c.params[3];
    float w = r - l != 0 ? r - l : 1, hh = t - b != 0 ? t - b : 1;
    m.value[0][0] = 2 / w;
    m.value[1][1] = 2 / hh;
    m.value[2][2] = 1 / depth;
    m.value[3][0] = -(l + r) / w;
    m.value[3][1] = -(t + b) / hh;
    m.value[3][2] = h / depth;
  } else {
    float d = 1, hw = 1, hv = 1, cx = 0, cy = 0;
    if (c.cls->type == kQ3CameraTypeViewPlane) {
      d = c.params[0];
      hw = c.params[1];
      hv = c.params[2];
      cx = c.params[3];
      cy = c.params[4];
    } else {
      float half = std::tan(c.params[0] * 0.5f), aspect = c.params[1] > 0 ? c.params[1] : 1;
      if (aspect >= 1) {
        hv = half;
        hw = half * aspect;
      } else {
        hw = half;
        hv = half / aspect;
      }
    }
    if (hw == 0) hw = 1;
    if (hv == 0) hv = 1;
    float a = y / depth;
    m.value[0][0] = d / hw;
    m.value[1][1] = d / hv;
    m.value[2][0] = cx / hw;
    m.value[2][1] = cy / hv;
    m.value[2][2] = a;
    m.value[2][3] = -1;
    m.value[3][2] = a * h;
    m.value[3][3] = 0;
  }
  // The view port picks a part of that square.
  const TQ3CameraViewPort& vp = c.data.viewPort;
  if (vp.width > 0 && vp.height > 0) {
    float sx = 2 / vp.width, sy = 2 / vp.height;
    float ox = -(vp.origin.x + vp.width / 2) * sx, oy = -(vp.origin.y - vp.height / 2) * sy;
    TQ3Matrix4x4 port;
    Q3Matrix4x4_SetIdentity(&port);
    port.value[0][0] = sx;
    port.value[1][1] = sy;
    port.value[3][0] = ox;
    port.value[3][1] = oy;
    Q3Matrix4x4_Multiply(&m, &port, &m);
  }
  return m;
}

TQ3Status Q3Camera_GetWorldToView(TQ3CameraObject camera, TQ3Matrix4x4* worldToView) {
  CameraObj* c = CameraOf(camera);
  if (!c || !CheckPointer(worldToView)) return kQ3Failure;
  *worldToView = WorldToView(c->data.placement);
  return kQ3Success;
}

TQ3Status Q3Camera_GetViewToFrustum(TQ3CameraObject camera, TQ3Matrix4x4* viewToFrustum) {
  CameraObj* c = CameraOf(camera);
  if (!c || !CheckPointer(viewToFrustum)) return kQ3Failure;
  *viewToFrustum = ViewToFrustum(*c);
  return kQ3Success;
}

TQ3Status Q3Camera_GetWorldToFrustum(TQ3CameraObject camera, TQ3Matrix4x4* worldToFrustum) {
  CameraObj* c = CameraOf(camera);
  if (!c || !CheckPointer(worldToFrustum)) return kQ3Failure;
  TQ3Matrix4x4 a = WorldToView(c->data.placement), b = ViewToFrustum(*c);
  Q3Matrix4x4_Multiply(&a, &b, worldToFrustum);
  return kQ3Success;
}

// The kinds' own data: the camera data then the parameters, in one record.
template <class D>
static TQ3CameraObject NewCamera(TQ3ObjectType type, const D* data) {
  if (!CheckPointer(data)) return nullptr;
  Ref object = NewObject(type);
  if (!object) return nullptr;
  auto* c = static_cast<CameraObj*>(object.get());
  c->data = data->cameraData;
  std::memcpy(c->params, reinterpret_cast<const char*>(data) + sizeof(TQ3CameraData),
              sizeof(D) - sizeof(TQ3CameraData));
  return object.release();
}

template <class D>
static TQ3Status GetCamera(TQ3CameraObject camera, TQ3ObjectType type, D* data) {
  CameraObj* c = CameraOf(camera, type);
  if (!c || !CheckPointer(data)) return kQ3Failure;
  data->cameraData = c->data;
  std::memcpy(reinterpret_cast<char*>(data) + sizeof(TQ3CameraData), c->params, sizeof(D) - sizeof(TQ3CameraData));
  return kQ3Success;
}

template <class D>
static TQ3Status SetCamera(TQ3CameraObject camera, TQ3ObjectType type, const D* data) {
  CameraObj* c = CameraOf(camera, type);
  if (!c || !CheckPointer(data)) return kQ3Failure;
  c->data = data->cameraData;
  std::memcpy(c->params, reinterpret_cast<const char*>(data) + sizeof(TQ3CameraData),
              sizeof(D) - sizeof(TQ3CameraData));
  return kQ3Success;
}

static_assert(sizeof(TQ3ViewPlaneCameraData) == sizeof(TQ3CameraData) + 5 * sizeof(float));
static_assert(sizeof(TQ3OrthographicCameraData) == sizeof(TQ3CameraData) + 4 * sizeof(float));
static_assert(sizeof(TQ3ViewAngleAspectCameraData) == sizeof(TQ3CameraData) + 2 * sizeof(float));

TQ3CameraObject Q3ViewPlaneCamera_New(const TQ3ViewPlaneCameraData* d) {
  return NewCamera(kQ3CameraTypeViewPlane, d);
}
TQ3Status Q3ViewPlaneCamera_GetData(TQ3CameraObject c, TQ3ViewPlaneCameraData* d) {
  return GetCamera(c, kQ3CameraTypeViewPlane, d);
}
TQ3Status Q3ViewPlaneCamera_SetData(TQ3CameraObject c, const TQ3ViewPlaneCameraData* d) {
  return SetCamera(c, kQ3CameraTypeViewPlane, d);
}
TQ3CameraObject Q3OrthographicCamera_New(const TQ3OrthographicCameraData* d) {
  return NewCamera(kQ3CameraTypeOrthographic, d);
}
TQ3Status Q3OrthographicCamera_GetData(TQ3CameraObject c, TQ3OrthographicCameraData* d) {
  return GetCamera(c, kQ3CameraTypeOrthographic, d);
}
TQ3Status Q3OrthographicCamera_SetData(TQ3CameraObject c, const TQ3OrthographicCameraData* d) {
  return SetCamera(c, kQ3CameraTypeOrthographic, d);
}
TQ3CameraObject Q3ViewAngleAspectCamera_New(const TQ3ViewAngleAspectCameraData* d) {
  return NewCamera(kQ3CameraTypeViewAngleAspect, d);
}
TQ3Status Q3ViewAngleAspectCamera_GetData(TQ3CameraObject c, TQ3ViewAngleAspectCameraData* d) {
  return GetCamera(c, kQ3CameraTypeViewAngleAspect, d);
}
TQ3Status Q3ViewAngleAspectCamera_SetData(TQ3CameraObject c, const TQ3ViewAngleAspectCameraData* d) {
  return SetCamera(c, kQ3CameraTypeViewAngleAspect, d);
}

// ---------------------------------------------------------------------------
// Lights.
static LightObj* LightOf(TQ3Object light, TQ3ObjectType type = kQ3ShapeTypeLight) { return Obj<LightObj>(light, type); }

static bool ValidEnums(TQ3Uns32 attenuation, TQ3Uns32 fallOff) {
  if (attenuation <= kQ3AttenuationTypeInverseDistanceSquared && fallOff <= kQ3FallOffTypeCosine) return true;
  PostError(kQ3ErrorParameterOutOfRange);
  return false;
}

TQ3ObjectType Q3Light_GetType(TQ3LightObject light) {
  if (!LightOf(light)) return kQ3ObjectTypeInvalid;
  const ClassInfo* below = light->cls->Below(kQ3ShapeTypeLight);
  return below ? below->type : kQ3ObjectTypeInvalid;
}

TQ3Status Q3Light_GetData(TQ3LightObject light, TQ3LightData* lightData) {
  LightObj* l = LightOf(light);
  if (!l || !CheckPointer(lightData)) return kQ3Failure;
  *lightData = l->light;
  return kQ3Success;
}
TQ3Status Q3Light_SetData(TQ3LightObject light, const TQ3LightData* lightData) {
  LightObj* l = LightOf(light);
  if (!l || !CheckPointer(lightData)) return kQ3Failure;
  l->light = *lightData;
  return kQ3Success;
}
TQ3Status Q3Light_GetState(TQ3LightObject light, TQ3Boolean* isOn) {
  LightObj* l = LightOf(light);
  if (!l || !CheckPointer(isOn)) return kQ3Failure;
  *isOn = l->light.isOn;
  return kQ3Success;
}
TQ3Status Q3Light_SetState(TQ3LightObject light, TQ3Boolean isOn) {
  LightObj* l = LightOf(light);
  if (!l) return kQ3Failure;
  l->light.isOn = isOn ? kQ3True : kQ3False;
  return kQ3Success;
}
TQ3Status Q3Light_GetBrightness(TQ3LightObject light, float* brightness) {
  LightObj* l = LightOf(light);
  if (!l || !CheckPointer(brightness)) return kQ3Failure;
  *brightness = l->light.brightness;
  return kQ3Success;
}
TQ3Status Q3Light_SetBrightness(TQ3LightObject light, float brightness) {
  LightObj* l = LightOf(light);
  if (!l) return kQ3Failure;
  l->light.brightness = brightness;
  return kQ3Success;
}
TQ3Status Q3Light_GetColor(TQ3LightObject light, TQ3ColorRGB* color) {
  LightObj* l = LightOf(light);
  if (!l || !CheckPointer(color)) return kQ3Failure;
  *color = l->light.color;
  return kQ3Success;
}
TQ3Status Q3Light_SetColor(TQ3LightObject light, const TQ3ColorRGB* color) {
  LightObj* l = LightOf(light);
  if (!l || !CheckPointer(color)) return kQ3Failure;
  l->light.color = *color;
  return kQ3Success;
}

TQ3LightObject Q3AmbientLight_New(const TQ3LightData* lightData) {
  if (!CheckPointer(lightData)) return nullptr;
  Ref object = NewObject(kQ3LightTypeAmbient);
  if (!object) return nullptr;
  static_cast<LightObj*>(object.get())->light = *lightData;
  return object.release();
}
TQ3Status Q3AmbientLight_GetData(TQ3LightObject light, TQ3LightData* lightData) {
  LightObj* l = LightOf(light, kQ3LightTypeAmbient);
  if (!l || !CheckPointer(lightData)) return kQ3Failure;
  *lightData = l->light;
  return kQ3Success;
}
TQ3Status Q3AmbientLight_SetData(TQ3LightObject light, const TQ3LightData* lightData) {
  LightObj* l = LightOf(light, kQ3LightTypeAmbient);
  if (!l || !CheckPointer(lightData)) return kQ3Failure;
  l->light = *lightData;
  return kQ3Success;
}

static void PutDirectional(LightObj* l, const TQ3DirectionalLightData* d) {
  l->light = d->lightData;
  l->castsShadows = d->castsShadows;
  l->direction = d->direction;
}
TQ3LightObject Q3DirectionalLight_New(const TQ3DirectionalLightData* d) {
  if (!CheckPointer(d)) return nullptr;
  Ref object = NewObject(kQ3LightTypeDirectional);
  if (!object) return nullptr;
  PutDirectional(static_cast<LightObj*>(object.get()), d);
  return object.release();
}
TQ3Status Q3DirectionalLight_GetData(TQ3LightObject light, TQ3DirectionalLightData* d) {
  LightObj* l = LightOf(light, kQ3LightTypeDirectional);
  if (!l || !CheckPointer(d)) return kQ3Failure;
  *d = {l->light, l->castsShadows, l->direction};
  return kQ3Success;
}
TQ3Status Q3DirectionalLight_SetData(TQ3LightObject light, const TQ3DirectionalLightData* d) {
  LightObj* l = LightOf(light, kQ3LightTypeDirectional);
  if (!l || !CheckPointer(d)) return kQ3Failure;
  PutDirectional(l, d);
  return kQ3Success;
}
TQ3Status Q3DirectionalLight_GetDirection(TQ3LightObject light, TQ3Vector3D* direction) {
  LightObj* l = LightOf(light, kQ3LightTypeDirectional);
  if (!l || !CheckPointer(direction)) return kQ3Failure;
  *direction = l->direction;
  return kQ3Success;
}
TQ3Status Q3DirectionalLight_SetDirection(TQ3LightObject light, const TQ3Vector3D* direction) {
  LightObj* l = LightOf(light, kQ3LightTypeDirectional);
  if (!l || !CheckPointer(direction)) return kQ3Failure;
  l->direction = *direction;
  return kQ3Success;
}

static void PutPoint(LightObj* l, const TQ3PointLightData* d) {
  l->light = d->lightData;
  l->castsShadows = d->castsShadows;
  l->attenuation = d->attenuation;
  l->location = d->location;
}
TQ3LightObject Q3PointLight_New(const TQ3PointLightData* d) {
  if (!CheckPointer(d) || !ValidEnums(d->attenuation, 0)) return nullptr;
  Ref object = NewObject(kQ3LightTypePoint);
  if (!object) return nullptr;
  PutPoint(static_cast<LightObj*>(object.get()), d);
  return object.release();
}
TQ3Status Q3PointLight_GetData(TQ3LightObject light, TQ3PointLightData* d) {
  LightObj* l = LightOf(light, kQ3LightTypePoint);
  if (!l || !CheckPointer(d)) return kQ3Failure;
  *d = {l->light, l->castsShadows, l->attenuation, l->location};
  return kQ3Success;
}
TQ3Status Q3PointLight_SetData(TQ3LightObject light, const TQ3PointLightData* d) {
  LightObj* l = LightOf(light, kQ3LightTypePoint);
  if (!l || !CheckPointer(d) || !ValidEnums(d->attenuation, 0)) return kQ3Failure;
  PutPoint(l, d);
  return kQ3Success;
}
TQ3Status Q3PointLight_GetLocation(TQ3LightObject light, TQ3Point3D* location) {
  LightObj* l = LightOf(light, kQ3LightTypePoint);
  if (!l || !CheckPointer(location)) return kQ3Failure;
  *location = l->location;
  return kQ3Success;
}
TQ3Status Q3PointLight_SetLocation(TQ3LightObject light, const TQ3Point3D* location) {
  LightObj* l = LightOf(light, kQ3LightTypePoint);
  if (!l || !CheckPointer(location)) return kQ3Failure;
  l->location = *location;
  return kQ3Success;
}

static void PutSpot(LightObj* l, const TQ3SpotLightData* d) {
  l->light = d->lightData;
  l->castsShadows = d->castsShadows;
  l->attenuation = d->attenuation;
  l->location = d->location;
  l->direction = d->direction;
  l->hotAngle = d->hotAngle;
  l->outerAngle = d->outerAngle;
  l->fallOff = d->fallOff;
}
TQ3LightObject Q3SpotLight_New(const TQ3SpotLightData* d) {
  if (!CheckPointer(d) || !ValidEnums(d->attenuation, d->fallOff)) return nullptr;
  Ref object = NewObject(kQ3LightTypeSpot);
  if (!object) return nullptr;
  PutSpot(static_cast<LightObj*>(object.get()), d);
  return object.release();
}
TQ3Status Q3SpotLight_GetData(TQ3LightObject light, TQ3SpotLightData* d) {
  LightObj* l = LightOf(light, kQ3LightTypeSpot);
  if (!l || !CheckPointer(d)) return kQ3Failure;
  *d = {l->light, l->castsShadows, l->attenuation, l->location, l->direction, l->hotAngle, l->outerAngle, l->fallOff};
  return kQ3Success;
}
TQ3Status Q3SpotLight_SetData(TQ3LightObject light, const TQ3SpotLightData* d) {
  LightObj* l = LightOf(light, kQ3LightTypeSpot);
  if (!l || !CheckPointer(d) || !ValidEnums(d->attenuation, d->fallOff)) return kQ3Failure;
  PutSpot(l, d);
  return kQ3Success;
}
TQ3Status Q3SpotLight_GetLocation(TQ3LightObject light, TQ3Point3D* location) {
  LightObj* l = LightOf(light, kQ3LightTypeSpot);
  if (!l || !CheckPointer(location)) return kQ3Failure;
  *location = l->location;
  return kQ3Success;
}
TQ3Status Q3SpotLight_SetLocation(TQ3LightObject light, const TQ3Point3D* location) {
  LightObj* l = LightOf(light, kQ3LightTypeSpot);
  if (!l || !CheckPointer(location)) return kQ3Failure;
  l->location = *location;
  return kQ3Success;
}
TQ3Status Q3SpotLight_GetDirection(TQ3LightObject light, TQ3Vector3D* direction) {
  LightObj* l = LightOf(light, kQ3LightTypeSpot);
  if (!l || !CheckPointer(direction)) return kQ3Failure;
  *direction = l->direction;
  return kQ3Success;
}
TQ3Status Q3SpotLight_SetDirection(TQ3LightObject light, const TQ3Vector3D* direction) {
  LightObj* l = LightOf(light, kQ3LightTypeSpot);
  if (!l || !CheckPointer(direction)) return kQ3Failure;
  l->direction = *direction;
  return kQ3Success;
}

// ---------------------------------------------------------------------------
// View hints.
static ViewHintsObj* HintsOf(TQ3Object hints) { return Obj<ViewHintsObj>(hints, kQ3SharedTypeViewHints); }

TQ3ViewHintsObject Q3ViewHints_New(TQ3ViewObject view) {
  if (view && !Check(view, kQ3ObjectTypeView)) return nullptr;
  return NewObject(kQ3SharedTypeViewHints).release();
}

static TQ3Status SetHeld(TQ3ViewHintsObject hints, Ref ViewHintsObj::*member, TQ3Object object, TQ3ObjectType type) {
  ViewHintsObj* h = HintsOf(hints);
  if (!h || (object && !Check(object, type))) return kQ3Failure;
  h->*member = Ref::Share(object);
  return kQ3Success;
}

static TQ3Status GetHeld(TQ3ViewHintsObject hints, Ref ViewHintsObj::*member, TQ3Object* object) {
  ViewHintsObj* h = HintsOf(hints);
  if (!h || !CheckPointer(object)) return kQ3Failure;
  *object = (h->*member).Copy().release();
  return kQ3Success;
}

TQ3Status Q3ViewHints_SetRenderer(TQ3ViewHintsObject v, TQ3RendererObject r) {
  return SetHeld(v, &ViewHintsObj::renderer, r, kQ3SharedTypeRenderer);
}
TQ3Status Q3ViewHints_GetRenderer(TQ3ViewHintsObject v, TQ3RendererObject* r) {
  return GetHeld(v, &ViewHintsObj::renderer, r);
}
TQ3Status Q3ViewHints_SetCamera(TQ3ViewHintsObject v, TQ3CameraObject c) {
  return SetHeld(v, &ViewHintsObj::camera, c, kQ3ShapeTypeCamera);
}
TQ3Status Q3ViewHints_GetCamera(TQ3ViewHintsObject v, TQ3CameraObject* c) {
  return GetHeld(v, &ViewHintsObj::camera, c);
}
TQ3Status Q3ViewHints_SetLightGroup(TQ3ViewHintsObject v, TQ3GroupObject g) {
  return SetHeld(v, &ViewHintsObj::lightGroup, g, kQ3GroupTypeLight);
}
TQ3Status Q3ViewHints_GetLightGroup(TQ3ViewHintsObject v, TQ3GroupObject* g) {
  return GetHeld(v, &ViewHintsObj::lightGroup, g);
}
TQ3Status Q3ViewHints_SetAttributeSet(TQ3ViewHintsObject v, TQ3AttributeSet a) {
  return SetHeld(v, &ViewHintsObj::attributeSet, a, kQ3SetTypeAttribute);
}
TQ3Status Q3ViewHints_GetAttributeSet(TQ3ViewHintsObject v, TQ3AttributeSet* a) {
  return GetHeld(v, &ViewHintsObj::attributeSet, a);
}
TQ3Status Q3ViewHints_SetDimensionsState(TQ3ViewHintsObject v, TQ3Boolean isValid) {
  ViewHintsObj* h = HintsOf(v);
  if (!h) return kQ3Failure;
  h->dimensionsState = isValid ? kQ3True : kQ3False;
  return kQ3Success;
}
TQ3Status Q3ViewHints_GetDimensionsState(TQ3ViewHintsObject v, TQ3Boolean* isValid) {
  ViewHintsObj* h = HintsOf(v);
  if (!h || !CheckPointer(isValid)) return kQ3Failure;
  *isValid = h->dimensionsState;
  return kQ3Success;
}
TQ3Status Q3ViewHints_SetDimensions(TQ3ViewHintsObject v, TQ3Uns32 width, TQ3Uns32 height) {
  ViewHintsObj* h = HintsOf(v);
  if (!h) return kQ3Failure;
  h->width = width;
  h->height = height;
  return kQ3Success;
}
TQ3Status Q3ViewHints_GetDimensions(TQ3ViewHintsObject v, TQ3Uns32* width, TQ3Uns32* height) {
  ViewHintsObj* h = HintsOf(v);
  if (!h || !CheckPointer(width) || !CheckPointer(height)) return kQ3Failure;
  *width = h->width;
  *height = h->height;
  return kQ3Success;
}
