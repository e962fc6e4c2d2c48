#include "VLPrinter.h"

#include "DETException.h"
#include "Memory.h"

Boolean VLPrinter::IPrinter(CDocument* document, THPrint record) {
  if (!record) {
    Handle block = PortAllocHandle(kPrintRecordSize);
    ThrowIfMemError(kDEErrorNotEnoughMemory);
    if (!block) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
    record = reinterpret_cast<THPrint>(block);
    PortPrintDefault(record);
  }
  CPrinter::IPrinter(document, record);
  PortPrOpen();
  PortPrValidate(record);

  TGetRslBlk resolutions;
  resolutions.iRgType = kRslRecordType;
  PortPrGeneral(&resolutions);
  if (resolutions.iError == noErr) {
    TSetRslBlk chosen;
    chosen.hPrint = record;
    if (resolutions.iRslRecCnt > 0) {
      SInt16 best = 0;
      for (SInt16 i = 1; i < resolutions.iRslRecCnt && i < 19; ++i)
        if (resolutions.rgRslRec[i].iXRsl > resolutions.rgRslRec[best].iXRsl) best = i;
      chosen.iXRsl = resolutions.rgRslRec[best].iXRsl;
      chosen.iYRsl = resolutions.rgRslRec[best].iYRsl;
    } else {
      chosen.iXRsl = resolutions.xRslRg.max;
      chosen.iYRsl = resolutions.yRslRg.max;
    }
    PortPrGeneral(&chosen);
  }
  PortPrClose();
  return PortPrError() == noErr;
}
