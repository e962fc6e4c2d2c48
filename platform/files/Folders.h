// The folders the program works with on Linux, and names for temporary files.
//
// "The program's folder" of the original, where it looks for its read-only data (the drawing
// toolkit's init file, the plug-in folder, textures, help), is the installed data folder:
// $VELMORA_DATA_DIR when set, else share/velmora beside the binary's prefix, or the build tree's
// share/velmora when the binary runs from the build tree. Files the program writes for the user
// go to the configuration folder $XDG_CONFIG_HOME/velmora (default ~/.config/velmora).
#pragma once

#include <string>
#include <string_view>

#include "MacTypes.h"

namespace vlfiles {

// The running binary (/proc/self/exe).
std::string ExecutablePath();
// The program's read-only data folder (see above); not created.
std::string DataDir();
// The program's path as the original's callers expect it: the binary's name in the data folder,
// so that files looked for "beside the program" are found in the data folder.
std::string ProgramPath();
// The user's configuration folder; created (with its parents) when create is set.
std::string ConfigDir(bool create = false);
// Creates a folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& folder);

// A name for a temporary file beside target (same folder, hidden, not existing at the time of
// the call).
std::string TemporaryPathBeside(const std::string& target);
// A number whose decimal digits, after prefix, name no file in the folder (volume or folder
// reference and folder id).
UInt32 TemporaryNumber(SInt16 vRefNum, SInt32 dirID, std::string_view prefix = {});

}  // namespace vlfiles

// Folder kinds of PortFindSystemFolder.
constexpr OSType kExtensionFolderType = FourCC("extn");
constexpr OSType kPreferencesFolderType = FourCC("pref");
constexpr OSType kTemporaryFolderType = FourCC("temp");
constexpr Boolean kCreateFolder = true;
constexpr Boolean kDontCreateFolder = false;

// The volume and folder id of a system folder: 'extn' is the Extensions folder in the
// configuration folder, 'pref' the configuration folder, 'temp' the temporary folder. fnfErr
// when the folder does not exist and create is not set, or for another kind.
OSErr PortFindSystemFolder(SInt16 vRefNum, OSType folderType, Boolean create, SInt16* foundVRefNum,
                           SInt32* foundDirID);
