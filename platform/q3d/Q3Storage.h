// Storage, 3D metafiles and writing through a view.
//
// A file object reads and writes 3DMF in binary (big-endian, padded to four
// bytes) or text form through a storage: memory, a path, or an open file
// descriptor. Reading loads the storage once and checks every count, size and
// offset against what remains; a bad file gives an error, never a crash.
// Writing collects the file in memory and puts it on the storage at Q3File_Close.
#pragma once

#include "Q3Core.h"

// ---------------------------------------------------------------------------
// Storage.
TQ3ObjectType Q3Storage_GetType(TQ3StorageObject storage);
TQ3Status Q3Storage_GetSize(TQ3StorageObject storage, TQ3Uns32* size);
TQ3Status Q3Storage_GetData(TQ3StorageObject storage, TQ3Uns32 offset, TQ3Uns32 dataSize, unsigned char* data,
                            TQ3Uns32* sizeRead);
TQ3Status Q3Storage_SetData(TQ3StorageObject storage, TQ3Uns32 offset, TQ3Uns32 dataSize,
                            const unsigned char* data, TQ3Uns32* sizeWritten);

// A storage holding a copy of the buffer (null for an empty one).
TQ3StorageObject Q3MemoryStorage_New(const unsigned char* buffer, TQ3Uns32 validSize);
TQ3Status Q3MemoryStorage_Set(TQ3StorageObject storage, const unsigned char* buffer, TQ3Uns32 validSize);
// *buffer points into the storage until it next changes.
TQ3Status Q3MemoryStorage_GetBuffer(TQ3StorageObject storage, unsigned char** buffer, TQ3Uns32* validSize,
                                    TQ3Uns32* bufferSize);

// A file by its path; writing replaces it only once the whole file is written.
TQ3StorageObject Q3PathStorage_New(const char* path);

// An open file of the porting layer. On this platform the handle is a POSIX
// file descriptor; the storage neither opens nor closes it.
typedef int TQ3Win32Handle;
TQ3StorageObject Q3Win32Storage_New(TQ3Win32Handle handle);

// ---------------------------------------------------------------------------
// Files.
enum : TQ3Uns32 {
  kQ3FileModeNormal = 0,
  kQ3FileModeStream = 1u << 0,
  kQ3FileModeDatabase = 1u << 1,
  kQ3FileModeText = 1u << 2
};
typedef TQ3Uns32 TQ3FileMode;
typedef TQ3Uns32 TQ3FileVersion;  // major << 16 | minor
typedef TQ3Status (*TQ3FileIdleMethod)(TQ3FileObject file, const void* idlerData);

TQ3FileObject Q3File_New();
TQ3Status Q3File_GetStorage(TQ3FileObject file, TQ3StorageObject* storage);
TQ3Status Q3File_SetStorage(TQ3FileObject file, TQ3StorageObject storage);
// Reads the header; *mode receives kQ3FileModeText for a text file.
TQ3Status Q3File_OpenRead(TQ3FileObject file, TQ3FileMode* mode);
TQ3Status Q3File_OpenWrite(TQ3FileObject file, TQ3FileMode mode);
TQ3Status Q3File_IsOpen(TQ3FileObject file, TQ3Boolean* isOpen);
TQ3Status Q3File_GetMode(TQ3FileObject file, TQ3FileMode* mode);
TQ3Status Q3File_GetVersion(TQ3FileObject file, TQ3FileVersion* version);
// Writing: puts the table of contents and the collected bytes on the storage.
TQ3Status Q3File_Close(TQ3FileObject file);
// Closes without writing anything to the storage.
TQ3Status Q3File_Cancel(TQ3FileObject file);

// At the top level: the next object of the file (groups with their members,
// references resolved); objects of unknown classes come back as unknown
// objects. Inside a read method: the next sub-object of the container.
TQ3Object Q3File_ReadObject(TQ3FileObject file);
TQ3Status Q3File_SkipObject(TQ3FileObject file);
TQ3Boolean Q3File_IsEndOfData(TQ3FileObject file);
TQ3Boolean Q3File_IsEndOfContainer(TQ3FileObject file, TQ3Object rootObject);
TQ3Boolean Q3File_IsEndOfFile(TQ3FileObject file);
// The idle method is called as reading and writing go on; kQ3Failure stops them.
TQ3Status Q3File_SetIdleMethod(TQ3FileObject file, TQ3FileIdleMethod idle, const void* idleData);
// How far reading has come: the byte position in a file of length bytes.
TQ3Status Q3File_GetPosition(TQ3FileObject file, TQ3Uns32* position, TQ3Uns32* length);

// ---------------------------------------------------------------------------
// Primitive data, for the read and write methods of registered classes.
TQ3Status Q3Uns8_Read(TQ3Uns8* data, TQ3FileObject file);
TQ3Status Q3Uns8_Write(TQ3Uns8 data, TQ3FileObject file);
TQ3Status Q3Int8_Read(TQ3Int8* data, TQ3FileObject file);
TQ3Status Q3Int8_Write(TQ3Int8 data, TQ3FileObject file);
TQ3Status Q3Uns16_Read(TQ3Uns16* data, TQ3FileObject file);
TQ3Status Q3Uns16_Write(TQ3Uns16 data, TQ3FileObject file);
TQ3Status Q3Int16_Read(TQ3Int16* data, TQ3FileObject file);
TQ3Status Q3Int16_Write(TQ3Int16 data, TQ3FileObject file);
TQ3Status Q3Uns32_Read(TQ3Uns32* data, TQ3FileObject file);
TQ3Status Q3Uns32_Write(TQ3Uns32 data, TQ3FileObject file);
TQ3Status Q3Int32_Read(TQ3Int32* data, TQ3FileObject file);
TQ3Status Q3Int32_Write(TQ3Int32 data, TQ3FileObject file);
TQ3Status Q3Float32_Read(TQ3Float32* data, TQ3FileObject file);
TQ3Status Q3Float32_Write(TQ3Float32 data, TQ3FileObject file);
TQ3Status Q3Float64_Read(TQ3Float64* data, TQ3FileObject file);
TQ3Status Q3Float64_Write(TQ3Float64 data, TQ3FileObject file);
TQ3Status Q3Point2D_Read(TQ3Point2D* point2D, TQ3FileObject file);
TQ3Status Q3Point2D_Write(const TQ3Point2D* point2D, TQ3FileObject file);
TQ3Status Q3Point3D_Read(TQ3Point3D* point3D, TQ3FileObject file);
TQ3Status Q3Point3D_Write(const TQ3Point3D* point3D, TQ3FileObject file);
TQ3Status Q3Vector2D_Read(TQ3Vector2D* vector2D, TQ3FileObject file);
TQ3Status Q3Vector2D_Write(const TQ3Vector2D* vector2D, TQ3FileObject file);
TQ3Status Q3Vector3D_Read(TQ3Vector3D* vector3D, TQ3FileObject file);
TQ3Status Q3Vector3D_Write(const TQ3Vector3D* vector3D, TQ3FileObject file);
TQ3Status Q3Param2D_Read(TQ3Param2D* param2D, TQ3FileObject file);
TQ3Status Q3Param2D_Write(const TQ3Param2D* param2D, TQ3FileObject file);
TQ3Status Q3Matrix4x4_Read(TQ3Matrix4x4* matrix4x4, TQ3FileObject file);
TQ3Status Q3Matrix4x4_Write(const TQ3Matrix4x4* matrix4x4, TQ3FileObject file);
// Reads at most kQ3StringMaximumLength - 1 characters into data (which holds
// kQ3StringMaximumLength bytes) and their count into *length; a longer string is
// cut with a warning. With data null only the length is answered, nothing is read.
TQ3Status Q3String_Read(char* data, TQ3Uns32* length, TQ3FileObject file);
TQ3Status Q3String_Write(const char* data, TQ3FileObject file);
TQ3Status Q3RawData_Read(unsigned char* data, TQ3Uns32 size, TQ3FileObject file);
TQ3Status Q3RawData_Write(const unsigned char* data, TQ3Uns32 size, TQ3FileObject file);
// Text files only; nothing is written to binary files.
TQ3Status Q3Comment_Write(const char* comment, TQ3FileObject file);
TQ3Status Q3NewLine_Write(TQ3FileObject file);
// The size rounded up to a multiple of four.
TQ3Size Q3Size_Pad(TQ3Size size);

// ---------------------------------------------------------------------------
// Unknown objects: what the reader met but has no class for, kept as read.
struct TQ3UnknownTextData { char* objectName; char* contents; };
struct TQ3UnknownBinaryData { TQ3ObjectType objectType; TQ3Size size; TQ3Endian byteOrder; char* contents; };
TQ3ObjectType Q3Unknown_GetType(TQ3UnknownObject unknownObject);
TQ3Status Q3UnknownText_GetData(TQ3UnknownObject unknownObject, TQ3UnknownTextData* unknownTextData);
TQ3Status Q3UnknownText_EmptyData(TQ3UnknownTextData* unknownTextData);
TQ3Status Q3UnknownBinary_GetData(TQ3UnknownObject unknownObject, TQ3UnknownBinaryData* unknownBinaryData);
TQ3Status Q3UnknownBinary_EmptyData(TQ3UnknownBinaryData* unknownBinaryData);
TQ3Status Q3UnknownBinary_GetTypeString(TQ3UnknownObject unknownObject, char** typeString);
TQ3Status Q3UnknownBinary_EmptyTypeString(char** typeString);

// ---------------------------------------------------------------------------
// Writing through a view: Q3View_StartWriting, then Q3Object_Submit of each
// top-level object, until Q3View_EndWriting answers kQ3ViewStatusDone. Inside
// a traverse method, Q3Object_Submit adds a sub-object and
// Q3XView_SubmitWriteData gives the size and data that the write method writes.
// Views do nothing else yet.
enum TQ3ViewStatus : TQ3Uns32 {
  kQ3ViewStatusDone = 0,
  kQ3ViewStatusRetraverse = 1,
  kQ3ViewStatusError = 2,
  kQ3ViewStatusCancelled = 3
};
TQ3ViewObject Q3View_New();
TQ3Status Q3View_StartWriting(TQ3ViewObject view, TQ3FileObject file);
TQ3ViewStatus Q3View_EndWriting(TQ3ViewObject view);
TQ3Status Q3XView_SubmitWriteData(TQ3ViewObject view, TQ3Size size, void* data, TQ3XDataDeleteMethod deleteData);
