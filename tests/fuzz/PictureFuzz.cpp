// Pictures, as a PICT file or the clipboard gives them.
#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "Memory.h"
#include "QuickDraw.h"

namespace vlfuzz {

Outcome ReadPicture(const std::uint8_t* data, std::size_t size) {
  PicHandle picture = PortPictureFromBytes(data, Size(size));
  if (!picture) return Refused();
  Outcome outcome = Accepted();
  if (PortCheckPicture(picture) != noErr) {
    outcome = Refused();
  } else {
    // Drawn scaled into a small world, so that every shape, region and image is mapped too.
    GrafPtr saved = nullptr;
    PortGetPort(&saved);
    GWorldPtr world = nullptr;
    const Rect bounds{0, 0, 48, 64};
    if (PortNewOffscreen(&world, 32, &bounds, nullptr, nullptr, 0) == noErr) {
      PortSetPort(world);
      const Rect into{4, 2, 40, 61};
      PortDrawPicture(picture, &into);
      PortSetPort(saved);
      PortFreeOffscreen(world);
    }
  }
  PortKillPicture(picture);
  return outcome;
}

}  // namespace vlfuzz
