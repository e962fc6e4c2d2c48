#include "DxfText.h"

#include "DETException.h"

namespace dxftext {

void WriteVertex(std::FILE* file, const Vector3d& p, bool flat) {
  std::fprintf(file, "0\nVERTEX\n8\n0\n");
  std::fprintf(file, "10\n%5.3Lf\n", (long double)(p.x * kInches));
  std::fprintf(file, "20\n%5.3Lf\n", (long double)(p.y * -kInches));
  if (flat)
    std::fprintf(file, "30\n0.000\n");
  else
    std::fprintf(file, "30\n%5.3Lf\n", (long double)(p.z * kInches));
  std::fprintf(file, "70\n32\n");
}

void CheckWrite(int written, std::FILE* file, std::int32_t context) {
  if (written < 0) ThrowIfOSErr(ioErr, context);
  ThrowIfFileError(file, context);
}

}  // namespace dxftext
