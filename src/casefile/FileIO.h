#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

// Whole-file operations that never leave a damaged file behind. Failures are
// described in *error (when given) in words fit for a message box.
namespace FileIO {

enum class ReadStatus { Ok, Missing, Failed };

// Far above any case file, far below what would hurt to hold in memory.
constexpr size_t kMaxReadBytes = size_t{1} << 20;

// Reads the whole file into bytes. Missing means the file does not exist.
// Only a regular file of at most maxBytes is read: a folder, a device or a
// pipe (opened without waiting for a writer) and a larger file are Failed.
ReadStatus readWhole(const std::string& path, std::string& bytes, std::string* error = nullptr,
                     size_t maxBytes = kMaxReadBytes);

// Replaces the file's content by bytes through a temporary file in the same
// folder and a rename, so a crash or a full disk never leaves a half-written
// file: on failure the previous file is untouched and false is returned.
// A file the user may not write is not replaced either.
bool replaceWhole(const std::string& path, const std::string& bytes, std::string* error = nullptr);

// The system's write(2); tests substitute a failing one.
using WriteFunction = ssize_t (*)(int fd, const void* data, size_t size);

// Appends bytes to the file (created when missing) under an advisory lock
// on the file, held from measuring its length to the end of the append or
// of the cut-back, so that a record another process appends meanwhile is
// neither interleaved nor cut away. When the append fails part-way, the
// file is cut back to the length it had under the lock (removed again when
// this call created it and nothing else was written) and false is returned.
bool appendWhole(const std::string& path, const std::string& bytes, std::string* error = nullptr,
                 WriteFunction write = nullptr);

} // namespace FileIO
