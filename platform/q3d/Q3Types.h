// Basic types of the 3D scene library: scalars, statuses, object references,
// type codes, error codes and the plain data records the calls exchange.
#pragma once

#include <cstddef>
#include <cstdint>

typedef std::int8_t TQ3Int8;
typedef std::uint8_t TQ3Uns8;
typedef std::int16_t TQ3Int16;
typedef std::uint16_t TQ3Uns16;
typedef std::int32_t TQ3Int32;
typedef std::uint32_t TQ3Uns32;
typedef float TQ3Float32;
typedef double TQ3Float64;
typedef TQ3Uns32 TQ3Size;

// Object types are four-character codes; classes registered at run time get negative codes.
typedef TQ3Int32 TQ3ObjectType;
typedef TQ3ObjectType TQ3ElementType;
typedef TQ3ElementType TQ3AttributeType;
typedef TQ3Uns32 TQ3XMethodType;

constexpr TQ3ObjectType Q3FourCC(const char (&s)[5]) {
  return TQ3ObjectType((TQ3Uns32(TQ3Uns8(s[0])) << 24) | (TQ3Uns32(TQ3Uns8(s[1])) << 16) |
                       (TQ3Uns32(TQ3Uns8(s[2])) << 8) | TQ3Uns32(TQ3Uns8(s[3])));
}

enum TQ3Status : TQ3Int32 { kQ3Failure = 0, kQ3Success = 1 };
enum TQ3Boolean : TQ3Int32 { kQ3False = 0, kQ3True = 1 };
enum TQ3Switch : TQ3Int32 { kQ3Off = 0, kQ3On = 1 };
enum TQ3Axis : TQ3Uns32 { kQ3AxisX = 0, kQ3AxisY = 1, kQ3AxisZ = 2 };
enum TQ3Endian : TQ3Uns32 { kQ3EndianBig = 0, kQ3EndianLittle = 1 };

// ---------------------------------------------------------------------------
// Object references. Every object is reached through an opaque pointer.
typedef struct OpaqueTQ3Object* TQ3Object;
typedef TQ3Object TQ3SharedObject;
typedef TQ3Object TQ3ShapeObject;
typedef TQ3Object TQ3GeometryObject;
typedef TQ3Object TQ3GroupObject;
typedef TQ3Object TQ3SetObject;
typedef TQ3Object TQ3AttributeSet;
typedef TQ3Object TQ3StringObject;
typedef TQ3Object TQ3StorageObject;
typedef TQ3Object TQ3FileObject;
typedef TQ3Object TQ3ViewObject;
typedef TQ3Object TQ3CameraObject;
typedef TQ3Object TQ3LightObject;
typedef TQ3Object TQ3ShaderObject;
typedef TQ3Object TQ3IlluminationShaderObject;
typedef TQ3Object TQ3SurfaceShaderObject;
typedef TQ3Object TQ3TextureObject;
typedef TQ3Object TQ3StyleObject;
typedef TQ3Object TQ3TransformObject;
typedef TQ3Object TQ3RendererObject;
typedef TQ3Object TQ3DrawContextObject;
typedef TQ3Object TQ3ViewHintsObject;
typedef TQ3Object TQ3UnknownObject;
typedef TQ3Object TQ3ElementObject;

typedef struct OpaqueTQ3GroupPosition* TQ3GroupPosition;
typedef struct OpaqueTQ3XObjectClass* TQ3XObjectClass;

// ---------------------------------------------------------------------------
// Type codes of the built-in classes.
constexpr TQ3ObjectType kQ3ObjectTypeInvalid = 0;
constexpr TQ3ObjectType kQ3ObjectTypeRoot = Q3FourCC("obj ");
constexpr TQ3ObjectType kQ3ObjectTypeView = Q3FourCC("view");
constexpr TQ3ObjectType kQ3ObjectTypeElement = Q3FourCC("elmn");
constexpr TQ3ObjectType kQ3ElementTypeAttribute = Q3FourCC("eatt");
constexpr TQ3ObjectType kQ3ObjectTypeShared = Q3FourCC("shrd");

constexpr TQ3ObjectType kQ3SharedTypeShape = Q3FourCC("shap");
constexpr TQ3ObjectType kQ3SharedTypeSet = Q3FourCC("set ");
constexpr TQ3ObjectType kQ3SharedTypeString = Q3FourCC("strn");
constexpr TQ3ObjectType kQ3SharedTypeStorage = Q3FourCC("strg");
constexpr TQ3ObjectType kQ3SharedTypeFile = Q3FourCC("file");
constexpr TQ3ObjectType kQ3SharedTypeTexture = Q3FourCC("txtr");
constexpr TQ3ObjectType kQ3SharedTypeViewHints = Q3FourCC("vwhn");
constexpr TQ3ObjectType kQ3SharedTypeRenderer = Q3FourCC("rddr");
constexpr TQ3ObjectType kQ3SharedTypeDrawContext = Q3FourCC("dctx");

constexpr TQ3ObjectType kQ3SetTypeAttribute = Q3FourCC("attr");
constexpr TQ3ObjectType kQ3StringTypeCString = Q3FourCC("strc");
constexpr TQ3ObjectType kQ3StorageTypeMemory = Q3FourCC("mems");
constexpr TQ3ObjectType kQ3StorageTypePath = Q3FourCC("path");
constexpr TQ3ObjectType kQ3StorageTypeWin32 = Q3FourCC("wist");
constexpr TQ3ObjectType kQ3TextureTypePixmap = Q3FourCC("txpm");
constexpr TQ3ObjectType kQ3RendererTypeGeneric = Q3FourCC("gnrr");
constexpr TQ3ObjectType kQ3RendererTypeWireFrame = Q3FourCC("wrfr");
constexpr TQ3ObjectType kQ3RendererTypeInteractive = Q3FourCC("ctwn");

constexpr TQ3ObjectType kQ3ShapeTypeGeometry = Q3FourCC("gmtr");
constexpr TQ3ObjectType kQ3ShapeTypeGroup = Q3FourCC("grup");
constexpr TQ3ObjectType kQ3ShapeTypeShader = Q3FourCC("shdr");
constexpr TQ3ObjectType kQ3ShapeTypeStyle = Q3FourCC("styl");
constexpr TQ3ObjectType kQ3ShapeTypeTransform = Q3FourCC("xfrm");
constexpr TQ3ObjectType kQ3ShapeTypeLight = Q3FourCC("lght");
constexpr TQ3ObjectType kQ3ShapeTypeCamera = Q3FourCC("cmra");
constexpr TQ3ObjectType kQ3ShapeTypeUnknown = Q3FourCC("unkn");

constexpr TQ3ObjectType kQ3GeometryTypeBox = Q3FourCC("box ");
constexpr TQ3ObjectType kQ3GeometryTypeGeneralPolygon = Q3FourCC("gpgn");
constexpr TQ3ObjectType kQ3GeometryTypeLine = Q3FourCC("line");
constexpr TQ3ObjectType kQ3GeometryTypeMarker = Q3FourCC("mrkr");
constexpr TQ3ObjectType kQ3GeometryTypePixmapMarker = Q3FourCC("mrkp");
constexpr TQ3ObjectType kQ3GeometryTypeMesh = Q3FourCC("mesh");
constexpr TQ3ObjectType kQ3GeometryTypePoint = Q3FourCC("pnt ");
constexpr TQ3ObjectType kQ3GeometryTypePolygon = Q3FourCC("plyg");
constexpr TQ3ObjectType kQ3GeometryTypePolyLine = Q3FourCC("plyl");
constexpr TQ3ObjectType kQ3GeometryTypeTriangle = Q3FourCC("trng");
constexpr TQ3ObjectType kQ3GeometryTypeEllipse = Q3FourCC("elps");
constexpr TQ3ObjectType kQ3GeometryTypePolyhedron = Q3FourCC("plhd");
constexpr TQ3ObjectType kQ3GeometryTypeTriMesh = Q3FourCC("tmsh");

constexpr TQ3ObjectType kQ3GroupTypeDisplay = Q3FourCC("dspg");
constexpr TQ3ObjectType kQ3DisplayGroupTypeOrdered = Q3FourCC("ordg");
constexpr TQ3ObjectType kQ3DisplayGroupTypeIOProxy = Q3FourCC("iopx");
constexpr TQ3ObjectType kQ3GroupTypeLight = Q3FourCC("lghg");

constexpr TQ3ObjectType kQ3TransformTypeMatrix = Q3FourCC("mtrx");
constexpr TQ3ObjectType kQ3TransformTypeScale = Q3FourCC("scal");
constexpr TQ3ObjectType kQ3TransformTypeTranslate = Q3FourCC("trns");
constexpr TQ3ObjectType kQ3TransformTypeRotate = Q3FourCC("rott");

constexpr TQ3ObjectType kQ3StyleTypeBackfacing = Q3FourCC("bckf");
constexpr TQ3ObjectType kQ3StyleTypeInterpolation = Q3FourCC("intp");
constexpr TQ3ObjectType kQ3StyleTypeFill = Q3FourCC("fist");
constexpr TQ3ObjectType kQ3StyleTypeSubdivision = Q3FourCC("sbdv");

constexpr TQ3ObjectType kQ3ShaderTypeIllumination = Q3FourCC("illu");
constexpr TQ3ObjectType kQ3ShaderTypeSurface = Q3FourCC("surf");
constexpr TQ3ObjectType kQ3IlluminationTypePhong = Q3FourCC("phil");
constexpr TQ3ObjectType kQ3IlluminationTypeLambert = Q3FourCC("lmil");
constexpr TQ3ObjectType kQ3IlluminationTypeNULL = Q3FourCC("nuil");
constexpr TQ3ObjectType kQ3SurfaceShaderTypeTexture = Q3FourCC("txsu");

constexpr TQ3ObjectType kQ3CameraTypeOrthographic = Q3FourCC("orth");
constexpr TQ3ObjectType kQ3CameraTypeViewPlane = Q3FourCC("vwpl");
constexpr TQ3ObjectType kQ3CameraTypeViewAngleAspect = Q3FourCC("vana");

constexpr TQ3ObjectType kQ3LightTypeAmbient = Q3FourCC("ambn");
constexpr TQ3ObjectType kQ3LightTypeDirectional = Q3FourCC("drct");
constexpr TQ3ObjectType kQ3LightTypePoint = Q3FourCC("pntl");
constexpr TQ3ObjectType kQ3LightTypeSpot = Q3FourCC("spot");

constexpr TQ3ObjectType kQ3UnknownTypeText = Q3FourCC("uktx");
constexpr TQ3ObjectType kQ3UnknownTypeBinary = Q3FourCC("ukbn");

// Attribute types: the element types of the built-in attributes.
enum : TQ3AttributeType {
  kQ3AttributeTypeNone = 0,
  kQ3AttributeTypeSurfaceUV = 1,          // TQ3Param2D
  kQ3AttributeTypeShadingUV = 2,          // TQ3Param2D
  kQ3AttributeTypeNormal = 3,             // TQ3Vector3D
  kQ3AttributeTypeAmbientCoefficient = 4, // float
  kQ3AttributeTypeDiffuseColor = 5,       // TQ3ColorRGB
  kQ3AttributeTypeSpecularColor = 6,      // TQ3ColorRGB
  kQ3AttributeTypeSpecularControl = 7,    // float
  kQ3AttributeTypeTransparencyColor = 8,  // TQ3ColorRGB
  kQ3AttributeTypeSurfaceTangent = 9,     // TQ3Tangent2D
  kQ3AttributeTypeHighlightState = 10,    // TQ3Switch
  kQ3AttributeTypeSurfaceShader = 11,     // TQ3SurfaceShaderObject (a counted reference)
  kQ3AttributeTypeEmissiveColor = 12,     // TQ3ColorRGB
  kQ3AttributeTypeNumTypes = 13
};
constexpr TQ3ElementType kQ3ElementTypeNone = 0;

// Method types asked of a class's metahandler.
constexpr TQ3XMethodType kQ3XMethodTypeObjectNew = TQ3XMethodType(Q3FourCC("newo"));
constexpr TQ3XMethodType kQ3XMethodTypeObjectDelete = TQ3XMethodType(Q3FourCC("dele"));
constexpr TQ3XMethodType kQ3XMethodTypeObjectDuplicate = TQ3XMethodType(Q3FourCC("dupl"));
constexpr TQ3XMethodType kQ3XMethodTypeObjectRead = TQ3XMethodType(Q3FourCC("read"));
constexpr TQ3XMethodType kQ3XMethodTypeObjectReadData = TQ3XMethodType(Q3FourCC("rddt"));
constexpr TQ3XMethodType kQ3XMethodTypeObjectTraverse = TQ3XMethodType(Q3FourCC("trvs"));
constexpr TQ3XMethodType kQ3XMethodTypeObjectTraverseData = TQ3XMethodType(Q3FourCC("trvd"));
constexpr TQ3XMethodType kQ3XMethodTypeObjectWrite = TQ3XMethodType(Q3FourCC("writ"));
constexpr TQ3XMethodType kQ3XMethodTypeObjectSubmitRender = TQ3XMethodType(Q3FourCC("rndr"));
constexpr TQ3XMethodType kQ3XMethodTypeElementCopyAdd = TQ3XMethodType(Q3FourCC("ecpa"));
constexpr TQ3XMethodType kQ3XMethodTypeElementCopyReplace = TQ3XMethodType(Q3FourCC("ecpr"));
constexpr TQ3XMethodType kQ3XMethodTypeElementCopyGet = TQ3XMethodType(Q3FourCC("ecpg"));
constexpr TQ3XMethodType kQ3XMethodTypeElementCopyDuplicate = TQ3XMethodType(Q3FourCC("ecpd"));
constexpr TQ3XMethodType kQ3XMethodTypeElementDelete = TQ3XMethodType(Q3FourCC("edel"));
constexpr TQ3XMethodType kQ3XMethodTypeAttributeInherit = TQ3XMethodType(Q3FourCC("inht"));
constexpr TQ3XMethodType kQ3XMethodTypeAttributeCopyInherit = TQ3XMethodType(Q3FourCC("acpi"));

// ---------------------------------------------------------------------------
// Errors, warnings and notices reported to the registered handlers.
enum TQ3Error : TQ3Int32 {
  kQ3ErrorNone = 0,
  kQ3ErrorInternalError = -28500,
  kQ3ErrorNoRecovery,
  kQ3ErrorLastFatalError,
  kQ3ErrorNotInitialized,
  kQ3ErrorAlreadyInitialized,
  kQ3ErrorUnimplemented,
  kQ3ErrorRegistrationFailed,
  kQ3ErrorUnixError,
  kQ3ErrorMemoryLeak,
  kQ3ErrorOutOfMemory,
  kQ3ErrorNULLParameter,
  kQ3ErrorParameterOutOfRange,
  kQ3ErrorInvalidParameter,
  kQ3ErrorInvalidData,
  kQ3ErrorVector3DZeroLength,
  kQ3ErrorInvalidObject,
  kQ3ErrorInvalidObjectClass,
  kQ3ErrorInvalidObjectType,
  kQ3ErrorInvalidObjectName,
  kQ3ErrorObjectClassInUse,
  kQ3ErrorMetaHandlerRequired,
  kQ3ErrorNoSubClassType,
  kQ3ErrorUnknownElementType,
  kQ3ErrorNotSupported,
  kQ3ErrorDegenerateGeometry,
  kQ3ErrorGeometryInsufficientNumberOfPoints,
  kQ3ErrorNoStorageSetForFile,
  kQ3ErrorEndOfFile,
  kQ3ErrorFileCancelled,
  kQ3ErrorInvalidMetafile,
  kQ3ErrorInvalidMetafilePrimitive,
  kQ3ErrorInvalidMetafileLabel,
  kQ3ErrorInvalidMetafileObject,
  kQ3ErrorInvalidMetafileSubObject,
  kQ3ErrorInvalidSubObjectForObject,
  kQ3ErrorUnresolvableReference,
  kQ3ErrorUnknownObject,
  kQ3ErrorStorageInUse,
  kQ3ErrorStorageAlreadyOpen,
  kQ3ErrorStorageNotOpen,
  kQ3ErrorFileAlreadyOpen,
  kQ3ErrorFileNotOpen,
  kQ3ErrorFileIsOpen,
  kQ3ErrorBeginWriteAlreadyCalled,
  kQ3ErrorBeginWriteNotCalled,
  kQ3ErrorReadStateInactive,
  kQ3ErrorWriteStateInactive,
  kQ3ErrorFileModeRestriction,
  kQ3ErrorInvalidHexString,
  kQ3ErrorWroteMoreThanSize,
  kQ3ErrorWroteLessThanSize,
  kQ3ErrorReadLessThanSize,
  kQ3ErrorReadMoreThanSize,
  kQ3ErrorNoBeginGroup,
  kQ3ErrorSizeMismatch,
  kQ3ErrorStringExceedsMaximumLength,
  kQ3ErrorValueExceedsMaximumSize,
  kQ3ErrorNonUniqueLabel,
  kQ3ErrorEndOfContainer,
  kQ3ErrorUnmatchedEndGroup,
  kQ3ErrorNestingTooDeep,
  kQ3ErrorViewNotStarted,
  kQ3ErrorViewIsStarted,
  kQ3ErrorNonInvertibleMatrix,
  kQ3ErrorInvalidPositionForGroup,
  kQ3ErrorInvalidObjectForGroup,
  kQ3ErrorInvalidObjectForPosition,
  kQ3ErrorScaleOfZero,
  kQ3ErrorOutOfRange,
  kQ3ErrorInvalidMeshPart,
  kQ3ErrorLast
};

enum TQ3Warning : TQ3Int32 {
  kQ3WarningNone = 0,
  kQ3WarningInternalException = -28300,
  kQ3WarningNoObjectSupportForDuplicateMethod,
  kQ3WarningNoObjectSupportForWriteMethod,
  kQ3WarningNoObjectSupportForReadMethod,
  kQ3WarningUnknownElementType,
  kQ3WarningTypeAlreadyRegistered,
  kQ3WarningTypeHasNotBeenRegistered,
  kQ3WarningInvalidSubObjectForObject,
  kQ3WarningUnknownObject,
  kQ3WarningUnmatchedBeginGroup,
  kQ3WarningUnmatchedEndGroup,
  kQ3WarningInvalidTableOfContents,
  kQ3WarningUnresolvableReference,
  kQ3WarningInconsistentData,
  kQ3WarningStringExceedsMaximumLength,
  kQ3WarningPossibleMemoryLeak,
  kQ3WarningNonInvertibleMatrix,
  kQ3WarningDegenerateGeometry,
  kQ3WarningObjectNotWritten,
  kQ3WarningLast
};

enum TQ3Notice : TQ3Int32 {
  kQ3NoticeNone = 0,
  kQ3NoticeDataAlreadyEmpty = -28100,
  kQ3NoticeMethodNotSupported,
  kQ3NoticeSystemAlreadyInitialized,
  kQ3NoticeFileCancelled,
  kQ3NoticeLast
};

typedef void (*TQ3ErrorMethod)(TQ3Error firstError, TQ3Error lastError, TQ3Int32 reference);
typedef void (*TQ3WarningMethod)(TQ3Warning firstWarning, TQ3Warning lastWarning, TQ3Int32 reference);
typedef void (*TQ3NoticeMethod)(TQ3Notice firstNotice, TQ3Notice lastNotice, TQ3Int32 reference);

// ---------------------------------------------------------------------------
// Plain data records.
struct TQ3Point2D { float x, y; };
struct TQ3Point3D { float x, y, z; };
struct TQ3RationalPoint4D { float x, y, z, w; };
struct TQ3Param2D { float u, v; };
struct TQ3Vector2D { float x, y; };
struct TQ3Vector3D { float x, y, z; };
struct TQ3Tangent2D { TQ3Vector3D uTangent, vTangent; };
struct TQ3SphericalPoint { float rho, theta, phi; };
struct TQ3Matrix3x3 { float value[3][3]; };
struct TQ3Matrix4x4 { float value[4][4]; };
struct TQ3ColorRGB { float r, g, b; };
struct TQ3ColorARGB { float a, r, g, b; };
struct TQ3Vertex3D { TQ3Point3D point; TQ3AttributeSet attributeSet; };
struct TQ3BoundingBox { TQ3Point3D min, max; TQ3Boolean isEmpty; };
struct TQ3Area { TQ3Point2D min, max; };
struct TQ3PlaneEquation { TQ3Vector3D normal; float constant; };

struct TQ3Bitmap {
  TQ3Uns8* image;
  TQ3Uns32 width, height, rowBytes;
  TQ3Endian bitOrder;
};

enum TQ3PixelType : TQ3Uns32 {
  kQ3PixelTypeRGB32 = 0,
  kQ3PixelTypeARGB32 = 1,
  kQ3PixelTypeRGB16 = 2,
  kQ3PixelTypeARGB16 = 3,
  kQ3PixelTypeRGB16_565 = 4,
  kQ3PixelTypeRGB24 = 5
};

struct TQ3StoragePixmap {
  TQ3StorageObject image;
  TQ3Uns32 width, height, rowBytes, pixelSize;
  TQ3PixelType pixelType;
  TQ3Endian bitOrder, byteOrder;
};

struct TQ3SubClassData {
  TQ3Uns32 numClasses;
  TQ3ObjectType* classTypes;
};

constexpr TQ3Uns32 kQ3StringMaximumLength = 1024;
typedef char TQ3ObjectClassNameString[kQ3StringMaximumLength];
