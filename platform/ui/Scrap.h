// The scrap: the program's clipboard of typed data ('TEXT', 'PICT', ...). Text moves between
// the scrap and the system's text clipboard through the backend's clipboard host: 'TEXT' is
// Mac Roman with carriage-return line ends here and UTF-8 with line feeds there.
#pragma once

#include <string>

#include "MacTypes.h"

// Scrap errors.
enum : OSErr { noScrapErr = -100, noTypeErr = -102 };

// Empties the scrap (a new change count).
OSErr PortZeroScrap();
// Adds data of a type (replacing what that type held). 'TEXT' also goes to the system clipboard.
OSErr PortPutScrap(SInt32 length, ResType type, const void* source);
// Copies the type's data into the handle (resized to fit; null: only the length is answered)
// and answers its length, or noTypeErr when the scrap holds none. 'TEXT' comes from the system
// clipboard when it changed there since.
SInt32 PortGetScrap(Handle destination, ResType type, SInt32* offset);
// Changes whenever the scrap's contents change (also through the system clipboard).
SInt16 PortScrapCount();
// The system's clipboard changed (the frame's clipboard-viewer notice).
void PortClipboardChanged();

namespace vlui {

// The system clipboard as a backend offers it (UTF-8 text).
class ClipboardHost {
 public:
  virtual ~ClipboardHost() = default;
  // The system clipboard's text; false when it holds none.
  virtual bool GetText(std::string* utf8) = 0;
  virtual void SetText(const std::string& utf8) = 0;
  // Counts changes made outside the program; the scrap reads the text again when it changes.
  virtual UInt32 ChangeCount() { return 0; }
};
// Installs the host (null: the scrap stays within the program) and returns the previous one.
ClipboardHost* SetClipboardHost(ClipboardHost* host);

// The scrap's text (UTF-8, line feeds) and setting it, as the program's copy and paste see it.
std::string ScrapTextUtf8();
void SetScrapTextUtf8(const std::string& utf8);

}  // namespace vlui
