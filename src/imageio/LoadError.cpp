#include "imageio/LoadError.h"

#include "image/CBitmap.h"

namespace LoadError {

namespace {

std::string size(long long width, long long height)
{
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

} // namespace

std::string unreadable(const std::string& path, const std::string& why)
{
    return "cannot read the file " + path + ": " + why;
}

std::string folder(const std::string& path)
{
    return path + " is a folder, not an image file";
}

std::string damaged(const std::string& path, const std::string& why)
{
    return "the image file " + path + " is damaged: " + why;
}

std::string tooLarge(const std::string& path, long long width, long long height)
{
    return "the image " + path + " is " + size(width, height) + "; images wider or higher than " +
           std::to_string(CBitmap::MaxSide) + " pixels cannot be opened";
}

std::string tooLargeForMemory(const std::string& path, long long width, long long height)
{
    const std::string known = width > 0 ? " (" + size(width, height) + ")" : std::string();
    return "the image " + path + known + " is too large for the memory of this computer";
}

std::string unsupportedDicom(const std::string& path, const std::string& why)
{
    return "the DICOM file " + path + " holds no image this program can show: " + why;
}

} // namespace LoadError
