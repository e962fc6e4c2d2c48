#include "NameToUnitTable.h"

constinit const NameToUnitTable gLengthNameTable{{"miles", gMiles},
                                                 {"feet", gFeet},
                                                 {"inches", gInches},
                                                 {"kilometers", gKilometers},
                                                 {"meters", gMeters},
                                                 {"centimeters", gCentimeters},
                                                 {"millimeters", gMillimeters},
                                                 {"mi", gMiles},
                                                 {"ft", gFeet},
                                                 {"'", gFeet},
                                                 {"in", gInches},
                                                 {"\"", gInches},
                                                 {"km", gKilometers},
                                                 {"m", gMeters},
                                                 {"cm", gCentimeters},
                                                 {"mm", gMillimeters}};

constinit const NameToUnitTable gShortLengthNameTable{
    {"mi", gMiles},      {"'", gFeet},   {"ft", gFeet},        {"\"", gInches},     {"in", gInches},
    {"km", gKilometers}, {"m", gMeters}, {"cm", gCentimeters}, {"mm", gMillimeters}};

constinit const NameToUnitTable gAngleNameTable{
    {"radians", gRadians}, {"degrees", gDegrees}, {"minutes", gMinutes}, {"seconds", gSeconds},
    {"rad", gRadians},     {"deg", gDegrees},     {"\xA1", gDegrees},    {"min", gMinutes},
    {"'", gMinutes},       {"sec", gSeconds},     {"\"", gSeconds}};

constinit const NameToUnitTable gShortAngleNameTable{{"rad", gRadians}, {"deg", gDegrees}, {"\xA1", gDegrees},
                                                     {"min", gMinutes}, {"'", gMinutes},   {"sec", gSeconds},
                                                     {"\"", gSeconds}};

constinit const NameToUnitTable* gCurrentNameToUnitTable = nullptr;
