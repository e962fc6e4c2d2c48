// The scene library's core calls: start and end, errors, objects and their
// references, sets and attribute sets, strings, the class hierarchy and classes
// registered at run time.
#pragma once

#include "Q3Types.h"

// ---------------------------------------------------------------------------
// Start and end. Initialising is counted; the library closes on the last Q3Exit.
TQ3Status Q3Initialize();
TQ3Status Q3Exit();
TQ3Boolean Q3IsInitialized();
TQ3Status Q3GetVersion(TQ3Uns32* majorRevision, TQ3Uns32* minorRevision);
// Release as 0xMMmmSS80 in binary-coded decimal: 0x01608000 is release 1.6.
TQ3Status Q3GetReleaseVersion(TQ3Uns32* releaseRevision);

// ---------------------------------------------------------------------------
// Errors, warnings and notices. A handler is called synchronously for each one
// posted; it may throw, the library stays consistent.
TQ3Status Q3Error_Register(TQ3ErrorMethod errorPost, TQ3Int32 reference);
TQ3Status Q3Warning_Register(TQ3WarningMethod warningPost, TQ3Int32 reference);
TQ3Status Q3Notice_Register(TQ3NoticeMethod noticePost, TQ3Int32 reference);
// The last error since the previous call (and the first in *firstError); clears both.
TQ3Error Q3Error_Get(TQ3Error* firstError);
TQ3Boolean Q3Error_IsFatalError(TQ3Error error);
TQ3Warning Q3Warning_Get(TQ3Warning* firstWarning);
TQ3Notice Q3Notice_Get(TQ3Notice* firstNotice);

// ---------------------------------------------------------------------------
// Objects.
TQ3Status Q3Object_Dispose(TQ3Object object);
TQ3Object Q3Object_Duplicate(TQ3Object object);
TQ3Status Q3Object_Submit(TQ3Object object, TQ3ViewObject view);
TQ3Boolean Q3Object_IsType(TQ3Object object, TQ3ObjectType type);
TQ3Boolean Q3Object_IsDrawable(TQ3Object object);
TQ3ObjectType Q3Object_GetType(TQ3Object object);
TQ3ObjectType Q3Object_GetLeafType(TQ3Object object);
TQ3Status Q3Object_AddElement(TQ3Object object, TQ3ElementType type, const void* data);
TQ3Status Q3Object_GetElement(TQ3Object object, TQ3ElementType type, void* data);
TQ3Boolean Q3Object_ContainsElement(TQ3Object object, TQ3ElementType type);
TQ3Status Q3Object_GetNextElementType(TQ3Object object, TQ3ElementType* type);
TQ3Status Q3Object_EmptyElements(TQ3Object object);
TQ3Status Q3Object_ClearElement(TQ3Object object, TQ3ElementType type);

TQ3ObjectType Q3Shared_GetType(TQ3SharedObject sharedObject);
// A new reference to the same object; each reference is released with Q3Object_Dispose.
TQ3SharedObject Q3Shared_GetReference(TQ3SharedObject sharedObject);
TQ3Boolean Q3Shared_IsReferenced(TQ3SharedObject sharedObject);
// The number of references held on a shared object (0 for anything else).
TQ3Uns32 Q3Shared_GetReferenceCount(TQ3SharedObject sharedObject);

TQ3ObjectType Q3Shape_GetType(TQ3ShapeObject shape);
TQ3Status Q3Shape_GetSet(TQ3ShapeObject shape, TQ3SetObject* set);
TQ3Status Q3Shape_SetSet(TQ3ShapeObject shape, TQ3SetObject set);
TQ3Status Q3Shape_AddElement(TQ3ShapeObject shape, TQ3ElementType type, const void* data);
TQ3Status Q3Shape_GetElement(TQ3ShapeObject shape, TQ3ElementType type, void* data);
TQ3Boolean Q3Shape_ContainsElement(TQ3ShapeObject shape, TQ3ElementType type);
TQ3Status Q3Shape_GetNextElementType(TQ3ShapeObject shape, TQ3ElementType* type);
TQ3Status Q3Shape_EmptyElements(TQ3ShapeObject shape);
TQ3Status Q3Shape_ClearElement(TQ3ShapeObject shape, TQ3ElementType type);

// ---------------------------------------------------------------------------
// Sets: elements keyed by element type, each holding data of its class's size.
TQ3SetObject Q3Set_New();
TQ3ObjectType Q3Set_GetType(TQ3SetObject set);
TQ3Status Q3Set_Add(TQ3SetObject set, TQ3ElementType type, const void* data);
TQ3Status Q3Set_Get(TQ3SetObject set, TQ3ElementType type, void* data);
TQ3Boolean Q3Set_Contains(TQ3SetObject set, TQ3ElementType type);
TQ3Status Q3Set_Clear(TQ3SetObject set, TQ3ElementType type);
TQ3Status Q3Set_Empty(TQ3SetObject set);
// Starting from kQ3ElementTypeNone, the types in the order they were added; None at the end.
TQ3Status Q3Set_GetNextElementType(TQ3SetObject set, TQ3ElementType* type);

TQ3AttributeSet Q3AttributeSet_New();
TQ3Status Q3AttributeSet_Add(TQ3AttributeSet attributeSet, TQ3AttributeType type, const void* data);
TQ3Boolean Q3AttributeSet_Contains(TQ3AttributeSet attributeSet, TQ3AttributeType attributeType);
TQ3Status Q3AttributeSet_Get(TQ3AttributeSet attributeSet, TQ3AttributeType type, void* data);
TQ3Status Q3AttributeSet_Clear(TQ3AttributeSet attributeSet, TQ3AttributeType type);
TQ3Status Q3AttributeSet_Empty(TQ3AttributeSet target);
TQ3Status Q3AttributeSet_GetNextAttributeType(TQ3AttributeSet source, TQ3AttributeType* type);
// result = child's attributes over those of parent that inherit.
TQ3Status Q3AttributeSet_Inherit(TQ3AttributeSet parent, TQ3AttributeSet child, TQ3AttributeSet result);

// ---------------------------------------------------------------------------
// C string objects.
TQ3ObjectType Q3String_GetType(TQ3StringObject stringObj);
TQ3StringObject Q3CString_New(const char* str);
TQ3Status Q3CString_GetLength(TQ3StringObject stringObj, TQ3Uns32* length);
TQ3Status Q3CString_SetString(TQ3StringObject stringObj, const char* str);
// A copy of the text in *str, released with Q3CString_EmptyData.
TQ3Status Q3CString_GetString(TQ3StringObject stringObj, char** str);
TQ3Status Q3CString_EmptyData(char** str);

// ---------------------------------------------------------------------------
// The class hierarchy.
TQ3Status Q3ObjectHierarchy_GetTypeFromString(const char* objectClassString, TQ3ObjectType* objectClassType);
TQ3Status Q3ObjectHierarchy_GetStringFromType(TQ3ObjectType objectClassType, TQ3ObjectClassNameString objectClassString);
TQ3Boolean Q3ObjectHierarchy_IsTypeRegistered(TQ3ObjectType objectClassType);
TQ3Boolean Q3ObjectHierarchy_IsNameRegistered(const char* objectClassName);
// The direct subclasses of a class; release with Q3ObjectHierarchy_EmptySubClassData.
TQ3Status Q3ObjectHierarchy_GetSubClassData(TQ3ObjectType objectClassType, TQ3SubClassData* subClassData);
TQ3Status Q3ObjectHierarchy_EmptySubClassData(TQ3SubClassData* subClassData);

// ---------------------------------------------------------------------------
// Classes registered at run time. The metahandler is asked for every method
// while the class is being registered; the answers are kept and it is not
// asked again.
typedef void (*TQ3XFunctionPointer)();
typedef TQ3XFunctionPointer (*TQ3XMetaHandler)(TQ3XMethodType methodType);

typedef TQ3Status (*TQ3XObjectNewMethod)(TQ3Object object, void* privateData, const void* parameters);
typedef void (*TQ3XObjectDeleteMethod)(TQ3Object object, void* privateData);
typedef TQ3Status (*TQ3XObjectDuplicateMethod)(TQ3Object fromObject, const void* fromPrivateData,
                                               TQ3Object toObject, void* toPrivateData);
typedef TQ3Object (*TQ3XObjectReadMethod)(TQ3FileObject file);
typedef TQ3Status (*TQ3XObjectReadDataMethod)(TQ3Object parentObject, TQ3FileObject file);
typedef TQ3Status (*TQ3XObjectTraverseMethod)(TQ3Object object, void* data, TQ3ViewObject view);
typedef TQ3Status (*TQ3XObjectWriteMethod)(const void* object, TQ3FileObject file);
typedef void (*TQ3XDataDeleteMethod)(void* data);
typedef TQ3Status (*TQ3XElementCopyAddMethod)(const void* fromAPIElement, void* toInternalElement);
typedef TQ3Status (*TQ3XElementCopyReplaceMethod)(const void* fromAPIElement, void* ontoInternalElement);
typedef TQ3Status (*TQ3XElementCopyGetMethod)(const void* fromInternalElement, void* toAPIElement);
typedef TQ3Status (*TQ3XElementCopyDuplicateMethod)(const void* fromInternalElement, void* toInternalElement);
typedef TQ3Status (*TQ3XElementDeleteMethod)(void* internalElement);
typedef TQ3Boolean (*TQ3XAttributeInheritMethod)();
typedef TQ3Status (*TQ3XAttributeCopyInheritMethod)(const void* fromInternalAttribute, void* toInternalAttribute);

TQ3XObjectClass Q3XObjectHierarchy_RegisterClass(TQ3ObjectType parentType, TQ3ObjectType* objectType,
                                                 const char* objectName, TQ3XMetaHandler metaHandler,
                                                 TQ3XMetaHandler virtualMetaHandler, TQ3Uns32 methodsSize,
                                                 TQ3Uns32 instanceSize);
// Fails while objects of the class or subclasses exist.
TQ3Status Q3XObjectHierarchy_UnregisterClass(TQ3XObjectClass objectClass);
TQ3Object Q3XObjectHierarchy_NewObject(TQ3XObjectClass objectClass, void* parameters);
TQ3XObjectClass Q3XObjectHierarchy_FindClassByType(TQ3ObjectType type);
TQ3XFunctionPointer Q3XObjectClass_GetMethod(TQ3XObjectClass objectClass, TQ3XMethodType methodType);
TQ3Status Q3XObjectClass_GetType(TQ3XObjectClass objectClass, TQ3ObjectType* theType);
TQ3XObjectClass Q3XObject_GetClass(TQ3Object object);
// The private data of an object of a registered class (instance size bytes), or null.
void* Q3XObjectClass_GetPrivate(TQ3XObjectClass objectClass, TQ3Object targetObject);

TQ3XObjectClass Q3XElementClass_Register(TQ3ElementType* elementType, const char* name,
                                         TQ3Uns32 sizeOfElement, TQ3XMetaHandler metaHandler);
TQ3XObjectClass Q3XAttributeClass_Register(TQ3AttributeType* attributeType, const char* creatorName,
                                           TQ3Uns32 sizeOfElement, TQ3XMetaHandler metaHandler);
TQ3Status Q3XElementType_GetElementSize(TQ3ElementType elementType, TQ3Uns32* sizeOfElement);
