// Showing the program's exceptions to the user: ReportException, the catch-all of event steps
// and catch sites, and the shell's reporter for the error types (DEExceptionReporter in
// DETException.h): the alerts of TellUser, the message boxes of Report and the OS error texts
// of string list 135. The reporter is installed as the program starts, in every program that
// links the foundation.
#pragma once

#include "CException.h"

// An exception that is exactly a DETException or a DETQ3Exception tells the user itself
// (TellUser); any other class-library exception goes to the application's error alert (error 1
// is silent), and the menu highlight is taken off.
void ReportException(CException& exception);
