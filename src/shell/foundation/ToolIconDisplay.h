// Where the view pane shows the tools it chose: the tool palette keeps no tool state of its own,
// the pane keeps the tools in its document and calls back through this interface. The palette
// installs itself as gToolIconDisplay when it is made; while there is none, the choices are only
// kept in the document.
#pragma once

#include "MacTypes.h"

class ToolIconDisplay {
 public:
  virtual ~ToolIconDisplay() = default;
  // Clears every main tool icon.
  virtual void DeselectToolIcons() = 0;
  // Shows main tool icon `index` selected (the palette also posts its palette event).
  virtual void SelectToolIcon(SInt16 index) = 0;
  // Clears every drawing-plane icon.
  virtual void DeselectPlaneIcons() = 0;
  // Shows drawing-plane icon `index` selected.
  virtual void SelectPlaneIcon(SInt16 index) = 0;
  // Enables and disables the icons by what the current view pane and its document allow now
  // (the document's switch of tool group asks for it at once). Nothing by default.
  virtual void UpdateIcons() {}
};

// The palette's display; null while there is no palette.
extern ToolIconDisplay* gToolIconDisplay;
