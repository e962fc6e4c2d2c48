// Scene objects: transforms, styles, shaders and textures, cameras, lights
// and view hints, each an object with its data.
#pragma once

#include "Q3Types.h"

// ---------------------------------------------------------------------------
// Transforms. Points are row vectors: p' = p x M.
TQ3ObjectType Q3Transform_GetType(TQ3TransformObject transform);
TQ3Status Q3Transform_GetMatrix(TQ3TransformObject transform, TQ3Matrix4x4* matrix);

TQ3TransformObject Q3MatrixTransform_New(const TQ3Matrix4x4* matrix);
TQ3Status Q3MatrixTransform_Get(TQ3TransformObject transform, TQ3Matrix4x4* matrix);
TQ3Status Q3MatrixTransform_Set(TQ3TransformObject transform, const TQ3Matrix4x4* matrix);
TQ3TransformObject Q3TranslateTransform_New(const TQ3Vector3D* translate);
TQ3Status Q3TranslateTransform_Get(TQ3TransformObject translate, TQ3Vector3D* vector3D);
TQ3Status Q3TranslateTransform_Set(TQ3TransformObject translate, const TQ3Vector3D* translate3D);
TQ3TransformObject Q3ScaleTransform_New(const TQ3Vector3D* scale);
TQ3Status Q3ScaleTransform_Get(TQ3TransformObject transform, TQ3Vector3D* scale);
TQ3Status Q3ScaleTransform_Set(TQ3TransformObject transform, const TQ3Vector3D* scale);
struct TQ3RotateTransformData { TQ3Axis axis; float radians; };
TQ3TransformObject Q3RotateTransform_New(const TQ3RotateTransformData* data);
TQ3Status Q3RotateTransform_GetData(TQ3TransformObject transform, TQ3RotateTransformData* data);
TQ3Status Q3RotateTransform_SetData(TQ3TransformObject transform, const TQ3RotateTransformData* data);

// ---------------------------------------------------------------------------
// Styles.
enum TQ3BackfacingStyle : TQ3Uns32 {
  kQ3BackfacingStyleBoth = 0,
  kQ3BackfacingStyleRemove = 1,
  kQ3BackfacingStyleFlip = 2
};
enum TQ3InterpolationStyle : TQ3Uns32 {
  kQ3InterpolationStyleNone = 0,
  kQ3InterpolationStyleVertex = 1,
  kQ3InterpolationStylePixel = 2
};
enum TQ3FillStyle : TQ3Uns32 { kQ3FillStyleFilled = 0, kQ3FillStyleEdges = 1, kQ3FillStylePoints = 2 };
enum TQ3SubdivisionMethod : TQ3Uns32 {
  kQ3SubdivisionMethodConstant = 0,
  kQ3SubdivisionMethodWorldSpace = 1,
  kQ3SubdivisionMethodScreenSpace = 2
};
struct TQ3SubdivisionStyleData { TQ3SubdivisionMethod method; float c1, c2; };

TQ3ObjectType Q3Style_GetType(TQ3StyleObject style);
TQ3StyleObject Q3BackfacingStyle_New(TQ3BackfacingStyle backfacingStyle);
TQ3Status Q3BackfacingStyle_Get(TQ3StyleObject backfacingObject, TQ3BackfacingStyle* backfacingStyle);
TQ3Status Q3BackfacingStyle_Set(TQ3StyleObject backfacingObject, TQ3BackfacingStyle backfacingStyle);
TQ3StyleObject Q3InterpolationStyle_New(TQ3InterpolationStyle interpolationStyle);
TQ3Status Q3InterpolationStyle_Get(TQ3StyleObject interpolationObject, TQ3InterpolationStyle* interpolationStyle);
TQ3Status Q3InterpolationStyle_Set(TQ3StyleObject interpolationObject, TQ3InterpolationStyle interpolationStyle);
TQ3StyleObject Q3FillStyle_New(TQ3FillStyle fillStyle);
TQ3Status Q3FillStyle_Get(TQ3StyleObject styleObject, TQ3FillStyle* fillStyle);
TQ3Status Q3FillStyle_Set(TQ3StyleObject styleObject, TQ3FillStyle fillStyle);
TQ3StyleObject Q3SubdivisionStyle_New(const TQ3SubdivisionStyleData* data);
TQ3Status Q3SubdivisionStyle_GetData(TQ3StyleObject subdiv, TQ3SubdivisionStyleData* data);
TQ3Status Q3SubdivisionStyle_SetData(TQ3StyleObject subdiv, const TQ3SubdivisionStyleData* data);

// ---------------------------------------------------------------------------
// Shaders and textures.
enum TQ3ShaderUVBoundary : TQ3Uns32 { kQ3ShaderUVBoundaryWrap = 0, kQ3ShaderUVBoundaryClamp = 1 };

TQ3ObjectType Q3Shader_GetType(TQ3ShaderObject shader);
TQ3Status Q3Shader_GetUVTransform(TQ3ShaderObject shader, TQ3Matrix3x3* uvTransform);
TQ3Status Q3Shader_SetUVTransform(TQ3ShaderObject shader, const TQ3Matrix3x3* uvTransform);
TQ3Status Q3Shader_GetUBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary* uBoundary);
TQ3Status Q3Shader_SetUBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary uBoundary);
TQ3Status Q3Shader_GetVBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary* vBoundary);
TQ3Status Q3Shader_SetVBoundary(TQ3ShaderObject shader, TQ3ShaderUVBoundary vBoundary);

TQ3ObjectType Q3IlluminationShader_GetType(TQ3ShaderObject shader);
TQ3ShaderObject Q3PhongIllumination_New();
TQ3ShaderObject Q3LambertIllumination_New();
TQ3ShaderObject Q3NULLIllumination_New();

TQ3ObjectType Q3SurfaceShader_GetType(TQ3SurfaceShaderObject shader);
// The shader takes its own reference of the texture (null allowed).
TQ3ShaderObject Q3TextureShader_New(TQ3TextureObject texture);
TQ3Status Q3TextureShader_GetTexture(TQ3ShaderObject shader, TQ3TextureObject* texture);
TQ3Status Q3TextureShader_SetTexture(TQ3ShaderObject shader, TQ3TextureObject texture);

TQ3ObjectType Q3Texture_GetType(TQ3TextureObject texture);
TQ3Status Q3Texture_GetWidth(TQ3TextureObject texture, TQ3Uns32* width);
TQ3Status Q3Texture_GetHeight(TQ3TextureObject texture, TQ3Uns32* height);
// The texture takes its own reference of the pixmap's image storage, which must
// hold at least rowBytes * height bytes.
TQ3TextureObject Q3PixmapTexture_New(const TQ3StoragePixmap* pixmap);
// The pixmap with a new reference to its storage in pixmap->image.
TQ3Status Q3PixmapTexture_GetPixmap(TQ3TextureObject texture, TQ3StoragePixmap* pixmap);
TQ3Status Q3PixmapTexture_SetPixmap(TQ3TextureObject texture, const TQ3StoragePixmap* pixmap);

// ---------------------------------------------------------------------------
// Cameras. View space looks down -z with y up; frustum space spans x and y in
// [-1, 1] and z from 0 (hither) to -1 (yon).
struct TQ3CameraPlacement { TQ3Point3D cameraLocation, pointOfInterest; TQ3Vector3D upVector; };
struct TQ3CameraRange { float hither, yon; };
struct TQ3CameraViewPort { TQ3Point2D origin; float width, height; };
struct TQ3CameraData { TQ3CameraPlacement placement; TQ3CameraRange range; TQ3CameraViewPort viewPort; };
struct TQ3ViewPlaneCameraData {
  TQ3CameraData cameraData;
  float viewPlane;
  float halfWidthAtViewPlane, halfHeightAtViewPlane;
  float centerXOnViewPlane, centerYOnViewPlane;
};
struct TQ3OrthographicCameraData { TQ3CameraData cameraData; float left, top, right, bottom; };
struct TQ3ViewAngleAspectCameraData { TQ3CameraData cameraData; float fov; float aspectRatioXToY; };

TQ3ObjectType Q3Camera_GetType(TQ3CameraObject camera);
TQ3Status Q3Camera_GetData(TQ3CameraObject camera, TQ3CameraData* cameraData);
TQ3Status Q3Camera_SetData(TQ3CameraObject camera, const TQ3CameraData* cameraData);
TQ3Status Q3Camera_GetPlacement(TQ3CameraObject camera, TQ3CameraPlacement* placement);
TQ3Status Q3Camera_SetPlacement(TQ3CameraObject camera, const TQ3CameraPlacement* placement);
TQ3Status Q3Camera_GetRange(TQ3CameraObject camera, TQ3CameraRange* range);
TQ3Status Q3Camera_SetRange(TQ3CameraObject camera, const TQ3CameraRange* range);
TQ3Status Q3Camera_GetViewPort(TQ3CameraObject camera, TQ3CameraViewPort* viewPort);
TQ3Status Q3Camera_SetViewPort(TQ3CameraObject camera, const TQ3CameraViewPort* viewPort);
TQ3Status Q3Camera_GetWorldToView(TQ3CameraObject camera, TQ3Matrix4x4* worldToView);
TQ3Status Q3Camera_GetViewToFrustum(TQ3CameraObject camera, TQ3Matrix4x4* viewToFrustum);
TQ3Status Q3Camera_GetWorldToFrustum(TQ3CameraObject camera, TQ3Matrix4x4* worldToFrustum);

TQ3CameraObject Q3ViewPlaneCamera_New(const TQ3ViewPlaneCameraData* cameraData);
TQ3Status Q3ViewPlaneCamera_GetData(TQ3CameraObject camera, TQ3ViewPlaneCameraData* cameraData);
TQ3Status Q3ViewPlaneCamera_SetData(TQ3CameraObject camera, const TQ3ViewPlaneCameraData* cameraData);
TQ3CameraObject Q3OrthographicCamera_New(const TQ3OrthographicCameraData* orthographicData);
TQ3Status Q3OrthographicCamera_GetData(TQ3CameraObject camera, TQ3OrthographicCameraData* cameraData);
TQ3Status Q3OrthographicCamera_SetData(TQ3CameraObject camera, const TQ3OrthographicCameraData* cameraData);
TQ3CameraObject Q3ViewAngleAspectCamera_New(const TQ3ViewAngleAspectCameraData* cameraData);
TQ3Status Q3ViewAngleAspectCamera_GetData(TQ3CameraObject camera, TQ3ViewAngleAspectCameraData* cameraData);
TQ3Status Q3ViewAngleAspectCamera_SetData(TQ3CameraObject camera, const TQ3ViewAngleAspectCameraData* cameraData);

// ---------------------------------------------------------------------------
// Lights.
enum TQ3AttenuationType : TQ3Uns32 {
  kQ3AttenuationTypeNone = 0,
  kQ3AttenuationTypeInverseDistance = 1,
  kQ3AttenuationTypeInverseDistanceSquared = 2
};
enum TQ3FallOffType : TQ3Uns32 {
  kQ3FallOffTypeNone = 0,
  kQ3FallOffTypeLinear = 1,
  kQ3FallOffTypeExponential = 2,
  kQ3FallOffTypeCosine = 3
};
struct TQ3LightData { TQ3Boolean isOn; float brightness; TQ3ColorRGB color; };
struct TQ3DirectionalLightData { TQ3LightData lightData; TQ3Boolean castsShadows; TQ3Vector3D direction; };
struct TQ3PointLightData {
  TQ3LightData lightData;
  TQ3Boolean castsShadows;
  TQ3AttenuationType attenuation;
  TQ3Point3D location;
};
struct TQ3SpotLightData {
  TQ3LightData lightData;
  TQ3Boolean castsShadows;
  TQ3AttenuationType attenuation;
  TQ3Point3D location;
  TQ3Vector3D direction;
  float hotAngle, outerAngle;
  TQ3FallOffType fallOff;
};

TQ3ObjectType Q3Light_GetType(TQ3LightObject light);
TQ3Status Q3Light_GetData(TQ3LightObject light, TQ3LightData* lightData);
TQ3Status Q3Light_SetData(TQ3LightObject light, const TQ3LightData* lightData);
TQ3Status Q3Light_GetState(TQ3LightObject light, TQ3Boolean* isOn);
TQ3Status Q3Light_SetState(TQ3LightObject light, TQ3Boolean isOn);
TQ3Status Q3Light_GetBrightness(TQ3LightObject light, float* brightness);
TQ3Status Q3Light_SetBrightness(TQ3LightObject light, float brightness);
TQ3Status Q3Light_GetColor(TQ3LightObject light, TQ3ColorRGB* color);
TQ3Status Q3Light_SetColor(TQ3LightObject light, const TQ3ColorRGB* color);

TQ3LightObject Q3AmbientLight_New(const TQ3LightData* lightData);
TQ3Status Q3AmbientLight_GetData(TQ3LightObject light, TQ3LightData* lightData);
TQ3Status Q3AmbientLight_SetData(TQ3LightObject light, const TQ3LightData* lightData);

TQ3LightObject Q3DirectionalLight_New(const TQ3DirectionalLightData* directionalLightData);
TQ3Status Q3DirectionalLight_GetData(TQ3LightObject light, TQ3DirectionalLightData* directionalLightData);
TQ3Status Q3DirectionalLight_SetData(TQ3LightObject light, const TQ3DirectionalLightData* directionalLightData);
TQ3Status Q3DirectionalLight_GetDirection(TQ3LightObject light, TQ3Vector3D* direction);
TQ3Status Q3DirectionalLight_SetDirection(TQ3LightObject light, const TQ3Vector3D* direction);

TQ3LightObject Q3PointLight_New(const TQ3PointLightData* pointLightData);
TQ3Status Q3PointLight_GetData(TQ3LightObject light, TQ3PointLightData* pointLightData);
TQ3Status Q3PointLight_SetData(TQ3LightObject light, const TQ3PointLightData* pointLightData);
TQ3Status Q3PointLight_GetLocation(TQ3LightObject light, TQ3Point3D* location);
TQ3Status Q3PointLight_SetLocation(TQ3LightObject light, const TQ3Point3D* location);

TQ3LightObject Q3SpotLight_New(const TQ3SpotLightData* spotLightData);
TQ3Status Q3SpotLight_GetData(TQ3LightObject light, TQ3SpotLightData* spotLightData);
TQ3Status Q3SpotLight_SetData(TQ3LightObject light, const TQ3SpotLightData* spotLightData);
TQ3Status Q3SpotLight_GetLocation(TQ3LightObject light, TQ3Point3D* location);
TQ3Status Q3SpotLight_SetLocation(TQ3LightObject light, const TQ3Point3D* location);
TQ3Status Q3SpotLight_GetDirection(TQ3LightObject light, TQ3Vector3D* direction);
TQ3Status Q3SpotLight_SetDirection(TQ3LightObject light, const TQ3Vector3D* direction);

// ---------------------------------------------------------------------------
// View hints: a renderer, camera, light group, attribute set and image size
// kept together as a saved view. Getters answer new references (or null).
TQ3ViewHintsObject Q3ViewHints_New(TQ3ViewObject view);
TQ3Status Q3ViewHints_SetRenderer(TQ3ViewHintsObject viewHints, TQ3RendererObject renderer);
TQ3Status Q3ViewHints_GetRenderer(TQ3ViewHintsObject viewHints, TQ3RendererObject* renderer);
TQ3Status Q3ViewHints_SetCamera(TQ3ViewHintsObject viewHints, TQ3CameraObject camera);
TQ3Status Q3ViewHints_GetCamera(TQ3ViewHintsObject viewHints, TQ3CameraObject* camera);
TQ3Status Q3ViewHints_SetLightGroup(TQ3ViewHintsObject viewHints, TQ3GroupObject lightGroup);
TQ3Status Q3ViewHints_GetLightGroup(TQ3ViewHintsObject viewHints, TQ3GroupObject* lightGroup);
TQ3Status Q3ViewHints_SetAttributeSet(TQ3ViewHintsObject viewHints, TQ3AttributeSet attributeSet);
TQ3Status Q3ViewHints_GetAttributeSet(TQ3ViewHintsObject viewHints, TQ3AttributeSet* attributeSet);
TQ3Status Q3ViewHints_SetDimensionsState(TQ3ViewHintsObject viewHints, TQ3Boolean isValid);
TQ3Status Q3ViewHints_GetDimensionsState(TQ3ViewHintsObject viewHints, TQ3Boolean* isValid);
TQ3Status Q3ViewHints_SetDimensions(TQ3ViewHintsObject viewHints, TQ3Uns32 width, TQ3Uns32 height);
TQ3Status Q3ViewHints_GetDimensions(TQ3ViewHintsObject viewHints, TQ3Uns32* width, TQ3Uns32* height);
