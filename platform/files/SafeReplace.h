// Replacing a file without ever leaving it half written: the new contents go to a temporary file
// beside the target, which is flushed to the disk and checked, and only then renamed over the
// target. On any failure the temporary file is removed, the target is left exactly as it was and
// the error is returned. The replaced file keeps the target's permissions, type and creator; a
// target that is a symbolic link has the file it points to replaced.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "MacTypes.h"

namespace vlfiles {

// Calls writer with a stream on the temporary file. The writer must not close the stream; a
// writer error (non-zero), a stream error or a failed flush abandons the replacement. An
// exception from the writer removes the temporary file and passes on.
OSErr ReplaceFile(const std::string& target, const std::function<OSErr(std::FILE*)>& writer);
OSErr ReplaceFileBytes(const std::string& target, std::string_view bytes);

// The last step of the same road for a file the caller wrote and closed itself (a temporary file
// beside the target): flushes it to the disk and renames it over the target in one step, so that
// there is never a moment without the target. It takes the target's permissions. The target's
// resources (its sidecar) stay unless the finished file brings its own. On failure the target is
// untouched and the finished file stays where it was.
OSErr ReplaceWith(const std::string& target, const std::string& finished);

// Test hook: the stream of the next ReplaceFile fails with errnoValue once afterBytes bytes have
// reached the file, as a full disk would.
void FailNextReplaceAfter(std::size_t afterBytes, int errnoValue = ENOSPC);

}  // namespace vlfiles
