// Printing: the print record, the page set-up and print dialogs, and print jobs that write
// their pages into a PDF file through cairo. A page is drawn with the 2D layer into a 32-bit
// offscreen world at the record's resolution (the job's port); closing the page puts that
// picture on a PDF page of the record's paper size, the printable area at the paper's margins.
//
// As the print manager it stands in for, every call leaves its result for PortPrError: noErr,
// iPrAbort when the user stopped or cancelled the job, or an OS error (an output file that
// cannot be written). The calls of a job after a failure do nothing (a page the user stopped is
// still closed onto the file), so a print loop runs to its end and asks once.
#pragma once

#include <string>

#include "MacTypes.h"
#include "QuickDraw.h"

enum : OSErr { iPrAbort = 128 };

enum : SInt16 { kPaperLetter = 0, kPaperA4 = 1 };
enum : SInt16 { kPortrait = 0, kLandscape = 1 };

// The print record, in a relocatable block of kPrintRecordSize bytes.
struct TPrint {
  SInt16 version;
  SInt16 paper;        // kPaperLetter or kPaperA4
  SInt16 orientation;  // kPortrait or kLandscape
  SInt16 hRes;         // dots per inch
  SInt16 vRes;
  SInt16 copies;
  Rect paperRect;  // the sheet in dots, in the page's coordinates (its margins negative)
  Rect pageRect;   // the printable area in dots, from (0, 0)
};
using TPPrint = TPrint*;
using THPrint = TPrint**;
constexpr Size kPrintRecordSize = 120;
static_assert(sizeof(TPrint) <= kPrintRecordSize);

// Requests of PortPrGeneral: the driver's resolutions (4) and the one a record prints at (5).
enum : SInt16 { kGetRslDataOp = 4, kSetRslOp = 5 };
enum : SInt16 { kRslRecordType = 1 };
struct TResolutionRange {
  SInt16 min;
  SInt16 max;
};
struct TGetRslBlk {
  SInt16 iOpCode = kGetRslDataOp;
  OSErr iError = noErr;
  SInt32 lReserved = 0;
  SInt16 iRgType = 0;  // answered: kRslRecordType
  TResolutionRange xRslRg{};
  TResolutionRange yRslRg{};
  SInt16 iRslRecCnt = 0;  // the records listed, at most 19
  struct {
    SInt16 iXRsl;
    SInt16 iYRsl;
  } rgRslRec[19]{};
};
struct TSetRslBlk {
  SInt16 iOpCode = kSetRslOp;
  OSErr iError = noErr;
  SInt32 lReserved = 0;
  THPrint hPrint = nullptr;
  SInt16 iXRsl = 0;
  SInt16 iYRsl = 0;
};

// Opening and closing the driver; the last result.
void PortPrOpen();
void PortPrClose();
OSErr PortPrError();
void PortPrSetError(OSErr err);

// A record for Letter paper, portrait, 72 dots per inch, one copy, margins of a quarter inch.
void PortPrintDefault(THPrint record);
// Puts the record's rectangles in line with its paper, orientation and resolution (and an
// unknown paper or resolution back to the defaults); true when anything changed.
Boolean PortPrValidate(THPrint record);
// The page set-up dialog (resource kPageSetupDialog): paper and orientation. True when the user
// confirmed it, with the record changed and validated; false (iPrAbort) when cancelled.
Boolean PortPrStlDialog(THPrint record);
// The print dialog (resource kPrintJobDialog): the number of copies; then the save dialog
// ("Print File", string 1026) chooses the PDF file the job writes. False (iPrAbort) when either
// is cancelled.
Boolean PortPrJobDialog(THPrint record);
// Requests 4 and 5 above; an unknown request answers iError -1 (and sets no error).
void PortPrGeneral(void* block);

// The file the next job writes, as the print dialog chose it; empty before.
std::string PortPrOutputPath();
void PortPrSetOutputPath(const std::string& path);

// A job: the port a page is drawn into (null when the job could not start: no output file,
// no memory), each page opened and closed in turn, then the document closed, which finishes the
// file. The port is current between the opening and the closing of a page.
GrafPtr PortPrOpenDoc(THPrint record);
void PortPrOpenPage(GrafPtr port);
void PortPrClosePage(GrafPtr port);
void PortPrCloseDoc(GrafPtr port);

// The dialogs' resources.
enum : SInt16 { kPageSetupDialog = 8200, kPrintJobDialog = 8201 };
