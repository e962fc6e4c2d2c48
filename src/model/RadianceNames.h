// The material names of a Radiance export. Every object the export writes names its material
// once in the material file; the export hands each object the list of names written so far and
// their count, and the object adds its own when it writes the definition.
//
// The list is a VLArray of fixed records of kRadianceNameSize bytes, each a zero-terminated
// name; an empty list without an item size is given this one.
#pragma once

#include <string>

#include "MacTypes.h"
#include "VLArray.h"

class D3TMaterialList;
struct RGBColor;

constexpr long kRadianceNameSize = 256;

// An object's material name in a Radiance file: the name of its material in the list with every
// blank turned into "_"; when the list has no material of that id, "none" followed by "_" and
// each colour component in decimal (none_65535_0_0).
std::string RadianceMaterialName(SInt32 materialId, const RGBColor& colour, D3TMaterialList* materials);
// Whether the name is among the first count names of the list (exact comparison).
bool RadianceNameWritten(const VLArray* names, SInt32 count, const std::string& name);
// Appends the name (cut to 255 bytes) and counts it. Raises as the list does when it cannot grow.
void NoteRadianceName(VLArray* names, SInt32* count, const std::string& name);
