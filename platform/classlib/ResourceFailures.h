// The class library's failure helpers that read the resource layer's error; apart from the
// others (CException.h) because the class library's base links no resources.
#pragma once

// Fails with the last resource error (PortResError) when there is one.
void FailResError();
// Fails when a resource handle is null: with the resource error, or resNotFound when none is set.
void FailNILRes(const void* resource);
