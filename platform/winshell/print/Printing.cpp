#include "Printing.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include "Memory.h"

namespace {

// Paper in points (1/72 inch), portrait; the printable area keeps a quarter inch clear.
struct PaperSize {
  double width;
  double height;
};
constexpr PaperSize kPapers[] = {{612.0, 792.0}, {595.0, 842.0}};
constexpr double kMarginPoints = 18.0;
constexpr double kPointsPerInch = 72.0;

// The resolutions the driver prints at.
constexpr SInt16 kResolutions[] = {72, 144};
constexpr SInt16 kMinResolution = 72;
constexpr SInt16 kMaxResolution = 288;

OSErr gPrintError = noErr;
std::string gOutputPath;

// The one job running (the print loop is modal).
struct Job {
  cairo_surface_t* surface = nullptr;
  cairo_t* context = nullptr;
  GWorldPtr world = nullptr;
  GrafPtr savedPort = nullptr;
  double margin = 0.0;  // points
  double hScale = 1.0;  // points per dot
  double vScale = 1.0;
  bool pageOpen = false;
};
Job gJob;

bool KnownResolution(SInt16 resolution) {
  for (SInt16 r : kResolutions)
    if (r == resolution) return true;
  return false;
}

PaperSize PaperOf(const TPrint& record) {
  PaperSize size = kPapers[record.paper == kPaperA4 ? 1 : 0];
  if (record.orientation == kLandscape) std::swap(size.width, size.height);
  return size;
}

SInt16 Dots(double points, SInt16 resolution) { return SInt16(points * resolution / kPointsPerInch + 0.5); }

void EndJob() {
  if (gJob.context) cairo_destroy(gJob.context);
  if (gJob.surface) {
    cairo_surface_finish(gJob.surface);
    if (cairo_surface_status(gJob.surface) != CAIRO_STATUS_SUCCESS && gPrintError == noErr) gPrintError = ioErr;
    cairo_surface_destroy(gJob.surface);
  }
  if (gJob.world) PortFreeOffscreen(gJob.world);
  gJob = Job{};
}

}  // namespace

void PortPrOpen() { gPrintError = noErr; }

void PortPrClose() {}

OSErr PortPrError() { return gPrintError; }

void PortPrSetError(OSErr err) { gPrintError = err; }

std::string PortPrOutputPath() { return gOutputPath; }

void PortPrSetOutputPath(const std::string& path) { gOutputPath = path; }

void PortPrintDefault(THPrint record) {
  if (!record || !*record) return;
  TPrint& print = **record;
  print = TPrint{};
  print.version = 1;
  print.paper = kPaperLetter;
  print.orientation = kPortrait;
  print.hRes = print.vRes = kMinResolution;
  print.copies = 1;
  PortPrValidate(record);
}

Boolean PortPrValidate(THPrint record) {
  if (!record || !*record) return false;
  const TPrint before = **record;
  TPrint& print = **record;
  if (print.paper != kPaperLetter && print.paper != kPaperA4) print.paper = kPaperLetter;
  if (print.orientation != kPortrait && print.orientation != kLandscape) print.orientation = kPortrait;
  if (!KnownResolution(print.hRes) || !KnownResolution(print.vRes)) print.hRes = print.vRes = kMinResolution;
  if (print.copies < 1) print.copies = 1;
  const PaperSize paper = PaperOf(print);
  print.pageRect = Rect{0, 0, Dots(paper.height - 2 * kMarginPoints, print.vRes),
                        Dots(paper.width - 2 * kMarginPoints, print.hRes)};
  print.paperRect = Rect{SInt16(-Dots(kMarginPoints, print.vRes)), SInt16(-Dots(kMarginPoints, print.hRes)),
                         Dots(paper.height - kMarginPoints, print.vRes), Dots(paper.width - kMarginPoints, print.hRes)};
  const TPrint& now = print;
  return before.paper != now.paper || before.orientation != now.orientation || before.hRes != now.hRes ||
         before.vRes != now.vRes || before.copies != now.copies || before.version != now.version ||
         !(before.pageRect == now.pageRect) || !(before.paperRect == now.paperRect);
}

void PortPrGeneral(void* block) {
  if (!block) return;
  const SInt16 op = *static_cast<SInt16*>(block);
  if (op == kGetRslDataOp) {
    auto* data = static_cast<TGetRslBlk*>(block);
    data->iError = noErr;
    data->iRgType = kRslRecordType;
    data->xRslRg = data->yRslRg = TResolutionRange{kMinResolution, kMaxResolution};
    data->iRslRecCnt = SInt16(std::size(kResolutions));
    for (SInt16 i = 0; i < data->iRslRecCnt; ++i) data->rgRslRec[i] = {kResolutions[i], kResolutions[i]};
  } else if (op == kSetRslOp) {
    auto* data = static_cast<TSetRslBlk*>(block);
    if (!data->hPrint || !*data->hPrint || !KnownResolution(data->iXRsl) || !KnownResolution(data->iYRsl)) {
      data->iError = -1;
      return;
    }
    (*data->hPrint)->hRes = data->iXRsl;
    (*data->hPrint)->vRes = data->iYRsl;
    PortPrValidate(data->hPrint);
    data->iError = noErr;
  } else {
    static_cast<TGetRslBlk*>(block)->iError = -1;
  }
}

GrafPtr PortPrOpenDoc(THPrint record) {
  if (gPrintError != noErr) return nullptr;
  if (!record || !*record || gJob.surface) {
    gPrintError = paramErr;
    return nullptr;
  }
  PortPrValidate(record);
  if (gOutputPath.empty()) {
    gPrintError = fnfErr;
    return nullptr;
  }
  const TPrint print = **record;
  const PaperSize paper = PaperOf(print);
  gJob.surface = cairo_pdf_surface_create(gOutputPath.c_str(), paper.width, paper.height);
  if (cairo_surface_status(gJob.surface) != CAIRO_STATUS_SUCCESS) {
    gPrintError = ioErr;
    EndJob();
    return nullptr;
  }
  gJob.context = cairo_create(gJob.surface);
  gJob.margin = kMarginPoints;
  gJob.hScale = kPointsPerInch / print.hRes;
  gJob.vScale = kPointsPerInch / print.vRes;
  if (PortNewOffscreen(&gJob.world, 32, &print.pageRect, nullptr, nullptr, 0) != noErr || !gJob.world) {
    gPrintError = memFullErr;
    EndJob();
    return nullptr;
  }
  return gJob.world;
}

void PortPrOpenPage(GrafPtr port) {
  if (gPrintError != noErr || !gJob.world || port != gJob.world || gJob.pageOpen) return;
  PortGetPort(&gJob.savedPort);
  PortSetPort(gJob.world);
  PortSetOrigin(0, 0);
  const Rect all = gJob.world->portRect;
  PortClipRect(&all);
  PortBackColor(whiteColor);
  PortForeColor(blackColor);
  PortEraseRect(&all);
  gJob.pageOpen = true;
}

void PortPrClosePage(GrafPtr port) {
  if (!gJob.world || port != gJob.world || !gJob.pageOpen) return;
  gJob.pageOpen = false;
  PortSetPort(gJob.savedPort);
  // A page the user stopped is finished and printed; the job prints no more.
  if (gPrintError != noErr && gPrintError != iPrAbort) return;
  PixMapHandle pixels = PortOffscreenPixMap(gJob.world);
  const PixMap& map = **pixels;
  const int width = map.bounds.right - map.bounds.left, height = map.bounds.bottom - map.bounds.top;
  // The world's 32-bit pixels are 0x00RRGGBB words, cairo's RGB24.
  cairo_surface_t* image = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(map.baseAddr),
                                                               CAIRO_FORMAT_RGB24, width, height, int(map.rowBytes));
  cairo_t* cr = gJob.context;
  cairo_save(cr);
  cairo_translate(cr, gJob.margin, gJob.margin);
  cairo_scale(cr, gJob.hScale, gJob.vScale);
  cairo_set_source_surface(cr, image, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_show_page(cr);
  cairo_surface_destroy(image);
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) gPrintError = ioErr;
}

void PortPrCloseDoc(GrafPtr port) {
  if (!gJob.surface || port != gJob.world) return;
  if (gJob.pageOpen) PortPrClosePage(port);
  EndJob();
}
