// The colour picker: a dialog with the start colour and the new one side by side, red, green
// and blue sliders with number fields (0 to 255), and a row of standard colours. Answered like
// the file dialogs (StandardFile.h): the standard-dialog answerer (kind "color"), else the user
// while the screen is interactive, else cancelled.
#pragma once

#include "MacTypes.h"

// where: the dialog's top-left corner ((0, 0) centres it). True with *outColor set when the
// user chose a colour; false, with *outColor left as it was, when cancelled.
Boolean PortGetColor(Point where, ConstStringPtr prompt, const RGBColor* inColor, RGBColor* outColor);
