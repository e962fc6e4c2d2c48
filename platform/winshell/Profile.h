// The INI profile functions with their Windows behaviour: sections and keys are found ignoring
// ASCII case; values are read with surrounding blanks (and one pair of matching quotes) taken
// off; writes change only the line concerned and keep every other section, key, comment and the
// order of the lines; a null key deletes a whole section and a null value deletes a key; the file
// is created when missing. Lines before the first section and lines that are neither a section,
// a "key=value" entry, a comment (';') nor blank are kept and otherwise ignored.
//
// The program names its INI file by a path in "the program's folder" (vl.ini beside the module
// path). Such a file, and a bare file name, live in the user's configuration folder under the
// lower-case name ($XDG_CONFIG_HOME/velmora/vl.ini); any other path is used as it stands.
// Every write replaces the file safely: a failed write leaves it as it was and answers FALSE.
#pragma once

#include <string>

#include "WinTypes.h"

// The integer at the start of the key's value (an optional sign and decimal digits; 0 when the
// value does not start with a number); the default when the key is missing or its value empty.
// A negative value comes back as its unsigned form, as it does on Windows.
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName);
// The key's value, or the default (without trailing blanks; "" when null), copied into the buffer
// and cut to size - 1 characters; the result is the number of characters copied. With a null
// key: the section's key names; with a null section: the section names; each zero-terminated,
// the list ending in a second zero (cut lists answer size - 2).
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR fileName);
// The section's entries as "key=value" strings, each zero-terminated, ending in a second zero;
// 0 when the section is missing or empty.
DWORD GetPrivateProfileSectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR fileName);
// Sets, or with a null value deletes, a key; with a null key deletes the section. FALSE when
// the file cannot be written, or for a section, key or value that would break the file's lines
// (a line break, a ']' in a section name, a '=' in a key).
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

namespace vlwinshell {
// The file a profile file name stands for (see above); empty for a null or empty name.
std::string ProfilePath(LPCSTR fileName);
}  // namespace vlwinshell
