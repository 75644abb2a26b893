#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

// Whole-file operations that never leave a damaged file behind. Failures are
// described in *error (when given) in words fit for a message box.
namespace FileIO {

enum class ReadStatus { Ok, Missing, Failed };

// Reads the whole file into bytes. Missing means the file does not exist.
ReadStatus readWhole(const std::string& path, std::string& bytes, std::string* error = nullptr);

// Replaces the file's content by bytes through a temporary file in the same
// folder and a rename, so a crash or a full disk never leaves a half-written
// file: on failure the previous file is untouched and false is returned.
// A file the user may not write is not replaced either.
bool replaceWhole(const std::string& path, const std::string& bytes, std::string* error = nullptr);

// The system's write(2); tests substitute a failing one.
using WriteFunction = ssize_t (*)(int fd, const void* data, size_t size);

// Appends bytes to the file (created when missing). When the append fails
// part-way, the file is cut back to its previous length (removed again when
// this call created it) and false is returned.
bool appendWhole(const std::string& path, const std::string& bytes, std::string* error = nullptr,
                 WriteFunction write = nullptr);

} // namespace FileIO
