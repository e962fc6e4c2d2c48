#include "UnitToNameTable.h"

constinit const UnitToNameTable gDisplayNameTable{{gMiles, "Miles"},
                                                  {gFeet, "Feet"},
                                                  {gInches, "Inches"},
                                                  {gKilometers, "Kilometers"},
                                                  {gMeters, "Meters"},
                                                  {gCentimeters, "Centimeters"},
                                                  {gMillimeters, "Millimeters"},
                                                  {gRadians, "Radians"},
                                                  {gDegrees, "Degrees"},
                                                  {gMinutes, "Minutes"},
                                                  {gSeconds, "Seconds"}};

constinit const UnitToNameTable gShortNameTable{{gMiles, "mi"},       {gFeet, "'"},      {gInches, "\""},
                                                {gKilometers, "km"},  {gMeters, "m"},    {gCentimeters, "cm"},
                                                {gMillimeters, "mm"}, {gRadians, "rad"}, {gDegrees, "\xA1"},
                                                {gMinutes, "'"},      {gSeconds, "\""}};

constinit const UnitToNameTable* gCurrentUnitToNameTable = &gDisplayNameTable;
