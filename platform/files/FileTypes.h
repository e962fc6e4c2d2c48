// Mac file types and creators on a file system that has none: the type follows the file's
// extension through the file-type table the program installs, and a type and creator given to a
// file are kept in extended attributes (user.velmora.type, user.velmora.creator) where the file
// system allows them; where it does not they are silently not kept.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "MacTypes.h"

// One row of the program's file-type table: a record with type 0 ends the table.
struct FileTypeRecord {
  OSType type;           // four characters; three-character codes have a zero high byte
  char extension[10];    // zero-terminated, without the dot
  char description[34];  // shown in the file dialogs, zero-terminated
};
static_assert(sizeof(FileTypeRecord) == 48);

// One row of the menu-key table: a first word of 0x8000 ends the table.
struct MenuKeyRecord {
  UInt16 words[3];
  char key;
  char zero;
  char text[64];  // zero-terminated
};
static_assert(sizeof(MenuKeyRecord) == 72);

// Installs copies of the file-type table and the menu-key table (either may be null to keep the
// one installed). Reading stops at the end record, or after 256 rows when a table has none.
void PortSetFileTypes(const FileTypeRecord* types, const MenuKeyRecord* menuKeys);
// Restricts the next file dialog to the given types; the dialog takes the list when it opens.
void PortOpenFileSpec(SInt16 count, const OSType* types);

namespace vlfiles {

constexpr OSType kUnknownType = FourCC("????");

struct FileTypeEntry {
  OSType type = 0;
  std::string extension;    // without the dot
  std::string description;
};
struct MenuKeyEntry {
  UInt16 words[3] = {};
  char key = 0;
  std::string text;
};

const std::vector<FileTypeEntry>& FileTypes();
const std::vector<MenuKeyEntry>& MenuKeys();
// The first row with this extension (ignoring ASCII case); 0 when none.
OSType TypeForExtension(std::string_view extension);
// The extension of the first row with this type; empty when none.
std::string ExtensionForType(OSType type);
// The types the next file dialog is restricted to (empty: no restriction); taking them clears
// the restriction.
std::vector<OSType> TakeDialogTypeFilter();

// The type and creator of a file: those kept with the file, else the type its extension gives
// (kUnknownType when none) and kUnknownType as creator.
void GetTypeAndCreator(const std::string& path, OSType* type, OSType* creator);
// Keeps a type and creator with the file (a zero code leaves that one as it was). False only
// when the file cannot be reached; a file system without extended attributes is no failure.
bool SetTypeAndCreator(const std::string& path, OSType type, OSType creator);
// Copies the kept type and creator from one file to another, where there are any.
void CopyTypeAndCreator(const std::string& from, const std::string& to);

// Four-character code as text, zero bytes shown as blanks ("TEXT", " DXF").
std::string TypeToText(OSType type);

}  // namespace vlfiles
