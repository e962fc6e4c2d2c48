#include "FormatToken.h"

#include "UnitTextScanner.h"

UnitTextScanner& operator>>(UnitTextScanner& scanner, FormatToken& token) {
  return ReadUnitTextToken(scanner, token, "./", false);
}
