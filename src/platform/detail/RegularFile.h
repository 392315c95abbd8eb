// Reading a configuration from disk: only a regular file is read, never a FIFO, a device or
// a directory, so a mistaken path fails at once instead of blocking or reading forever.
// Thread-safe.
#pragma once

#include <cstddef>
#include <string>

// Replaces `content` with the first `limit` bytes of the regular file at `path` (all of it
// when it is shorter). False, with `content` unspecified, when `path` is null, names no
// regular file, or cannot be opened or read. A caller that must refuse longer files asks for
// one byte more than it accepts and checks the size.
bool ReadRegularFile(const char* path, size_t limit, std::string& content);
