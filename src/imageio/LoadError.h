#pragma once

#include <string>

// The refusal texts of the image loader, the same for the window and the
// command line. Each names the file.
namespace LoadError {

std::string unreadable(const std::string& path, const std::string& why);
std::string folder(const std::string& path);
std::string damaged(const std::string& path, const std::string& why);
std::string tooLarge(const std::string& path, long long width, long long height);
std::string tooLargeForMemory(const std::string& path, long long width, long long height);
std::string unsupportedDicom(const std::string& path, const std::string& why);

} // namespace LoadError
