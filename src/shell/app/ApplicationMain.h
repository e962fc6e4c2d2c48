// The program's main routine: makes the application, initialises it, allocates the two work
// blocks, runs it and deletes it.
#pragma once

#include <functional>

#include "MacTypes.h"
#include "PointLoop.h"

class VLApplication;

// The text tool's text block (2048 bytes) and the length of its text.
extern Ptr gTextToolText;
extern SInt16 gTextToolTextLength;
constexpr Size kTextToolTextSize = 2048;

// Makes the most-derived application class there is (null when memory runs out).
VLApplication* MakeApplication();

// Makes and initialises the application, allocates the work blocks (alert 501 and no run when
// one is missing), notes whether the movie services are there, runs the application and deletes
// it. A failure while the application is made or initialised is reported and the program ends.
void ApplicationMain();

// The same, with the run itself left to the caller (the headless backend runs the application
// on its script): the application ready to run, or null when it is not (the failure was
// reported). FinishApplication deletes it and frees the work blocks.
VLApplication* StartApplication();
void FinishApplication(VLApplication* app);
// Frees the two work blocks (after the application is gone).
void FreeWorkBlocks();
