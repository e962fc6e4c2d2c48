// Resources: typed, numbered blocks of data found through a chain of resource files.
//
// The chain holds the application's own resources at the bottom (compiled into the binary and
// installed with vlres::InstallResourceTable) and every resource file opened later above them;
// a search starts at the current file and goes down to the application's. Opening a file makes
// it current. Every call sets the last resource error, read with PortResError.
//
// Resource files on disk use the classic resource-fork layout. A file's resources are read from
// its AppleDouble sidecar "._name" when there is one, otherwise from the file itself when the
// whole file is a resource fork. Counts, offsets and lengths read from a file are checked
// against its size: a damaged file is refused with mapReadErr.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "MacTypes.h"
#include "ResourceLayouts.h"

// Resource errors beyond those of MacTypes.h.
enum : OSErr {
  addResFailed = -194,  // the handle is null or already a resource, or the file cannot take it
  rmvResFailed = -196,  // the handle is not a resource of a file that can lose it
  resAttrErr = -198,    // the file is open read-only
  mapReadErr = -199,    // the file's resource map is damaged
};

// Resource attribute bits as stored in a file's map.
enum : UInt8 {
  resSysHeap = 64,
  resPurgeable = 32,
  resLocked = 16,
  resProtected = 8,
  resPreload = 4,
  resChanged = 2,
};

// --- Loading ------------------------------------------------------------------------------

// The resource of that type and id, searched from the current file down the chain; null with
// resNotFound when there is none. While a resource is loaded the same handle is returned.
Handle PortLoadResource(ResType type, SInt16 id);
// The same, in the current file only.
Handle PortGetResourceHere(ResType type, SInt16 id);
// Found by name (ignoring ASCII case), searched down the chain.
Handle PortGetNamedResource(ResType type, ConstStringPtr name);
// Frees a loaded resource's block; the next load reads it again. Changes marked with
// PortChangedResource are kept for the file's next update.
void PortReleaseResource(Handle resource);
// The block stops being a resource and becomes the caller's to free.
void PortDetachResource(Handle resource);

// Number of resources of a type in the whole chain / in the current file only.
SInt16 PortCountResources(ResType type);
SInt16 PortCountResourcesHere(ResType type);
// The index-th (1-based) resource of a type in the chain / in the current file only.
Handle PortGetIndResource(ResType type, SInt16 index);
Handle PortGetIndResourceHere(ResType type, SInt16 index);
// Id, type and name (may be null) of a resource handle; resNotFound when it is not one.
void PortGetResInfo(Handle resource, SInt16* id, ResType* type, StringPtr name);
// Reference number of the file a resource handle belongs to; -1 when it is not a resource.
SInt16 PortHomeResFile(Handle resource);

// --- Changing -----------------------------------------------------------------------------

// Makes the block a resource of the current file; it is written when the file is updated or
// closed. A resource already there with the same type and id is replaced (its loaded block,
// if any, is freed). addResFailed for a null handle or one that already is a resource.
void PortAddResource(Handle data, ResType type, SInt16 id, ConstStringPtr name);
// Takes the resource out of its file; the block becomes the caller's to free.
void PortRemoveResource(Handle resource);
// Marks a loaded resource changed so that its block is written with the file.
void PortChangedResource(Handle resource);
// Writes a changed resource's block into its file's resources now (in memory; the file on disk
// is rewritten by PortUpdateResFile or PortCloseResFile).
void PortWriteResource(Handle resource);

OSErr PortResError();

// Item `item` (1-based) of string list 'STR#' listId into buffer. When the list is missing or
// the item is outside it, buffer is the empty string and the resource error is set.
void PortGetListString(StringPtr buffer, SInt16 listId, SInt16 item);

// --- Files --------------------------------------------------------------------------------

// File permissions for opening.
enum : SInt8 { kResPermCurrent = 0, kResPermRead = 1, kResPermWrite = 2, kResPermReadWrite = 3 };

SInt16 PortCurResFile();
// Makes an open file current; an unknown reference number leaves the current file and sets
// resFNotFound.
void PortUseResFile(SInt16 refNum);
// Opens a file's resources and makes it current. -1 with resFNotFound when the file is missing,
// eofErr when it has no resources, mapReadErr when they are damaged. Opening a file that is
// already open gives its reference number again.
SInt16 PortOpenResFilePath(const char* path, SInt8 permission);
SInt16 PortOpenResFileSpec(const FSSpec* spec, SInt8 permission);
SInt16 PortOpenResFileIn(SInt16 vRefNum, SInt32 dirID, ConstStringPtr name, SInt8 permission);
// Writes the file's changes (when it is writable) and takes it out of the chain. The
// application's resources are never closed.
void PortCloseResFile(SInt16 refNum);
// Writes the file's changes; the file on disk is replaced only by a complete write.
void PortUpdateResFile(SInt16 refNum);
// Gives a file empty resources: a data file that exists keeps its data and gets a sidecar;
// a file that does not exist is created empty with the sidecar. A file that already has
// resources is left as it is (dupFNErr).
void PortCreateResFilePath(const char* path);
void PortCreateResFileSpec(const FSSpec* spec, OSType creator, OSType fileType);

// --- The application's resources and parsers ----------------------------------------------

namespace vlres {

// One resource compiled into the program.
struct CompiledResource {
  ResType type;
  SInt16 id;
  const unsigned char* name;  // length-prefixed Mac Roman, or null
  const unsigned char* data;
  UInt32 size;
};

// Installs a table as the application's resources at the bottom of the chain (replacing any
// installed before) and returns its reference number. The table must outlive the chain.
SInt16 InstallResourceTable(const CompiledResource* table, std::size_t count);
// Reference number of the application's resources; -1 before they are installed.
SInt16 ApplicationResFile();
// Closes every file (without writing), frees every loaded resource and forgets the
// application's resources. For tests and shutdown.
void ResetResourceChain();

// One resource in memory: what a resource fork holds for it.
struct ResourceData {
  ResType type = 0;
  SInt16 id = 0;
  std::string name;  // Mac Roman bytes
  UInt8 attributes = 0;
  std::vector<unsigned char> bytes;
};
// The classic resource-fork layout, both ways. ReadResourceFork returns noErr or mapReadErr
// (with *out cleared) for damaged input; WriteResourceFork returns paramErr when the resources
// do not fit the layout (more than 16 MB of data, a map over 64 KB, a name over 255 bytes).
OSErr WriteResourceFork(const std::vector<ResourceData>& resources, std::vector<unsigned char>* out);
OSErr ReadResourceFork(const unsigned char* data, std::size_t size, std::vector<ResourceData>* out);

// Parsers of the classic resource layouts (their numbers are in ResourceLayouts.h). Each returns
// false for data too short or inconsistent, never reading outside it, with the reason noted
// (vlcore::LastRefusal).
bool ReadStringList(const unsigned char* data, std::size_t size, std::vector<std::string>* out);
bool ReadStringList(Handle h, std::vector<std::string>* out);

struct AlertTemplate {
  Rect bounds;
  SInt16 itemListId = 0;
  UInt16 stages = 0;  // four nibbles, stage 1 lowest: bit 3 default item 2, bit 2 drawn, bits 0-1 sound
};
bool ParseAlert(Handle h, AlertTemplate* out);
// The default item (1 or 2) of alert stage 1..4.
int AlertStageDefaultItem(UInt16 stages, int stage);

// Dialog item kinds (the low seven bits of an item's type byte; the top bit disables it).
enum : UInt8 {
  kUserItem = 0,
  kHelpItem = 1,
  kButtonItem = 4,
  kCheckBoxItem = 5,
  kRadioButtonItem = 6,
  kControlItem = 7,
  kStaticTextItem = 8,
  kEditTextItem = 16,
  kIconItem = 32,
  kPictureItem = 64,
  kItemDisableBit = 128,
};
struct DialogItem {
  Rect bounds;
  UInt8 kind = 0;
  bool enabled = true;
  std::string text;       // buttons, check boxes, radio buttons, static and edit text (Mac Roman)
  SInt16 resourceId = 0;  // control, icon and picture items
};
bool ParseItemList(Handle h, std::vector<DialogItem>* out);

struct DialogTemplate {
  Rect bounds;
  SInt16 procId = 0;
  bool visible = true;
  bool goAway = false;
  SInt32 refCon = 0;
  SInt16 itemListId = 0;
  std::string title;  // Mac Roman
};
bool ParseDialog(Handle h, DialogTemplate* out);

struct MenuItemData {
  std::string text;  // Mac Roman; "-" is a separator
  UInt8 icon = 0;
  UInt8 keyEquivalent = 0;
  UInt8 mark = 0;
  UInt8 style = 0;  // bold 1, italic 2, underline 4, outline 8, shadow 16, condensed 32, extended 64
  bool enabled = true;
};
struct MenuTemplate {
  SInt16 menuId = 0;
  SInt16 procId = 0;
  bool enabled = true;
  std::string title;
  std::vector<MenuItemData> items;
};
bool ParseMenu(Handle h, MenuTemplate* out);

struct WindowTemplate {
  Rect bounds;
  SInt16 procId = 0;
  bool visible = true;
  bool goAway = false;
  SInt32 refCon = 0;
  std::string title;
};
bool ParseWindow(Handle h, WindowTemplate* out);

struct VersionRecord {
  UInt8 major = 0;  // binary, from the stored BCD
  UInt8 minor = 0;
  UInt8 bugFix = 0;
  UInt8 stage = 0;  // development 0x20, alpha 0x40, beta 0x60, release 0x80
  UInt8 prerelease = 0;
  UInt16 region = 0;
  std::string shortVersion;  // Mac Roman
  std::string longVersion;
};
bool ParseVersion(Handle h, VersionRecord* out);

struct CursorTemplate {
  UInt16 data[layout::kCursorRows] = {};  // rows, the leftmost pixel in the top bit
  UInt16 mask[layout::kCursorRows] = {};
  Point hotSpot;  // as stored; the cursor keeps it within its 16 by 16 pixels
};
bool ParseCursor(Handle h, CursorTemplate* out);

struct ControlTemplate {
  Rect bounds;
  SInt16 value = 0;
  bool visible = true;
  SInt16 maximum = 0;
  SInt16 minimum = 0;
  SInt16 procId = 0;
  SInt32 refCon = 0;
  std::string title;  // Mac Roman
};
bool ParseControl(Handle h, ControlTemplate* out);

// The text of a 'STR ' resource; a length beyond the data gives the characters there are.
std::string ReadShortString(Handle h);

}  // namespace vlres
