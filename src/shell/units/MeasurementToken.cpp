#include "MeasurementToken.h"

#include "UnitTextScanner.h"

UnitTextScanner& operator>>(UnitTextScanner& scanner, MeasurementToken& token) {
  return ReadUnitTextToken(scanner, token, "+-/", true);
}
