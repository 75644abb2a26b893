#pragma once

#include "casefile/ByteReader.h"
#include "casefile/ByteWriter.h"
#include "platform/UserMessages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CLine;
class CPoint;
class CZor;

// The landmark file of a case: keyed records (a text key "Name (TYPE)" and
// its value), world millimetres, texts in Windows-1252, flags stored as 0
// for true and -1 for false, ended by an empty key.
namespace BinFile {

// The landmark file beside an image: the image path up to the last "." of
// its file name, plus ".bit"; a file name without "." (as DICOM films often
// come) gets ".bit" added. None only for an empty path.
std::optional<std::string> LandmarkPath(const std::string& imagePath);

// --- Writing ---

// The whole file as bytes. None when a text cannot be stored (a character
// outside Windows-1252, or longer than a record can hold); *error then
// names the field.
std::optional<std::string> LandmarkBytes(const CZor& zor, std::string* error = nullptr);

// Replaces the file at path through a temporary file and a rename: on any
// failure the previous file stays as it was, false is returned and *error
// says why. Shows no message.
bool WriteLandmarkFile(const std::string& path, const CZor& zor, std::string* error = nullptr);

// --- Reading ---

// Reads a landmark file into zor for an image of WPix x HPix pixels. False
// without a message when the file does not exist. A damaged or unreadable
// file shows "Error in File: <path> after Key:<last good key>" (caption
// "Zor") and gives false; what was read before the fault stays in zor.
bool ReadLandmarkFile(const std::string& path, int16_t WPix, int16_t HPix, CZor& zor,
                      UserMessages& messages);

// The same on bytes in memory; path only names the file in the message.
bool ReadLandmarkData(std::string_view bytes, const std::string& path, int16_t WPix, int16_t HPix,
                      CZor& zor, UserMessages& messages);

// --- Items ---

// A text item from UTF-8; false (nothing written) when it cannot be held.
bool WriteText(ByteWriter& out, const std::string& utf8);
// A text item as UTF-8; none for a negative or overlong length.
std::optional<std::string> ReadText(ByteReader& in);
void WriteFlag(ByteWriter& out, bool b);
void WritePoint(ByteWriter& out, const CPoint& p, const CZor& zor);
void WriteLine(ByteWriter& out, const CLine& l, const CZor& zor);
// A counted-reals value converted from world mm to image pixels (as x, y
// pairs); the count, or -1 for a negative count or one the data cannot hold.
int ReadReals(ByteReader& in, std::vector<double>& v, const CZor& zor);

} // namespace BinFile
