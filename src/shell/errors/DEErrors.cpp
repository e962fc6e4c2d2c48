#include "DEErrors.h"

const DEErrorTableEntry gDEErrorTable[kDEErrorTableRows] = {
    {kDEErrorNone, "kDEErrorNone", "of an unspecified error"},
    {kDEErrorUnspecified, "kDEErrorUnspecified", "of an unspecified error"},
    {kDEErrorSilent, "kDEErrorSilent", "of an unspecified error"},
    {kDEErrorQD3DInternal, "kDEErrorQD3DInternal", "of an internal QuickDraw 3D error"},
    {kDEErrorInitializationFailed, "kDEErrorInitializationFailed", "the application could not be initialized"},
    {kDEErrorQD3DInitializationFailed, "kDEErrorQD3DInitializationFailed", "QuickDraw 3D could not be initialized"},
    {kDEErrorReadingApplicationResource, "kDEErrorReadingApplicationResource",
     "an application resource could not be read"},
    {kDEErrorNotEnoughMemory, "kDEErrorNotEnoughMemory", "there is not enough memory"},
    {kDEErrorNilPointer, "kDEErrorNilPointer", "of an internal programming error"},
    {kDEErrorAssertionViolated, "kDEErrorAssertionViolated", "of an internal programming error"},
    {kDEErrorFileSystemError, "kDEErrorFileSystemError", "because of a file system error"},
    {kDEErrorErrorReadingFile, "kDEErrorErrorReadingFile", "Velmora was unable to read the file"},
    {kDEErrorErrorWritingFile, "kDEErrorErrorWritingFile", "Velmora was unable to write the file"},
    {kDEErrorErrorReadingModelFile, "kDEErrorErrorReadingModelFile", "Velmora was unable to read the file"},
    {kDEErrorErrorWritingModelFile, "kDEErrorErrorWritingModelFile", "Velmora was unable to write the file"},
    {kDEErrorErrorReadingClarisFile, "kDEErrorErrorReadingClarisFile",
     "Velmora was unable to read the Claris CAD file"},
    {kDEErrorErrorWritingClarisFile, "kDEErrorErrorWritingClarisFile",
     "Velmora was unable to write the Claris CAD file"},
    {kDEErrorErrorReadingSectionFile, "kDEErrorErrorReadingSectionFile",
     "Velmora was unable to read the section CAD file"},
    {kDEErrorErrorWritingSectionFile, "kDEErrorErrorWritingSectionFile",
     "Velmora was unable to write the section CAD file"},
    {kDEErrorErrorWritingQTMovie, "kDEErrorErrorWritingQTMovie", "Velmora was unable to write the QuickTime Movie"},
    {kDEErrorTextureFolderNotFound, "kDEErrorTextureFolderNotFound",
     "Velmora was unable to find the \"Textures\" folder."},
    {kDEErrorErrorReadingTextureFile, "kDEErrorErrorReadingTextureFile",
     "there was an error while reading a texture file"},
    {kDEErrorErrorWritingTextureFile, "kDEErrorErrorWritingTextureFile",
     "there was an error while writing a texture file"},
    {kDEErrorErrorReadingMaterialPrefFile, "kDEErrorErrorReadingMaterialPrefFile",
     "Velmora could not read the \"VL Material Prefs\" file"},
    {kDEErrorErrorWritingMaterialPrefFile, "kDEErrorErrorWritingMaterialPrefFile",
     "Velmora could not write the \"VL Material Prefs\" file"},
    {kDEErrorErrorReadingMaterialResource, "kDEErrorErrorReadingMaterialResource",
     "Velmora could not read the Material Resource"},
    {kDEErrorErrorWritingMaterialResource, "kDEErrorErrorWritingMaterialResource",
     "Velmora could not write the Material Resource"},
    {kDEErrorNotAValidVelmoraFile, "kDEErrorNotAValidVelmoraFile", "the file is not a valid Velmora file"},
    {kDEErrorLastError, "kDEErrorLastError", "of an unspecified error"},
};

const DEErrorTableEntry* FindDEError(std::int32_t code) {
  for (const auto& row : gDEErrorTable)
    if (row.code == code) return &row;
  return nullptr;
}

ConstStringPtr DEErrorMessage(std::int32_t code) {
  const DEErrorTableEntry* row = FindDEError(code);
  return row ? row->message : gDEErrorTable[1].message;
}
