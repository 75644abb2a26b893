#include "imageio/DicomHeader.h"

#include "dcmtk/config/osconfig.h" // first of DCMTK's headers
#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcitem.h"
#include "imageio/ScaleSource.h"

#include <cctype>
#include <cstdio>
#include <optional>

namespace DicomHeader {

namespace {

std::string text(DcmItem& ds, const DcmTagKey& key)
{
    OFString v;
    if (ds.findAndGetOFString(key, v).bad())
        return {};
    return v.c_str();
}

std::optional<double> real(DcmItem& ds, const DcmTagKey& key, unsigned long pos = 0)
{
    Float64 v = 0.0;
    if (ds.findAndGetFloat64(key, v, pos).bad())
        return std::nullopt;
    return v;
}

std::optional<ScaleSource::Spacing> spacing(DcmItem& ds, const DcmTagKey& key)
{
    std::optional<double> row = real(ds, key, 0);
    std::optional<double> column = real(ds, key, 1);
    if (!row || !column)
        return std::nullopt;
    return ScaleSource::Spacing{*row, *column};
}

// "yyyymmdd" from a DA value (also the old "yyyy.mm.dd"); empty otherwise.
std::string date(const std::string& value)
{
    std::string digits;
    for (char c : value)
        if (c != '.')
            digits += c;
    if (digits.size() != 8)
        return {};
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return {};
    return digits;
}

std::string trimmed(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    while (!s.empty() && s.front() == ' ')
        s.erase(s.begin());
    return s;
}

} // namespace

std::string number(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

void describe(DcmItem& ds, RadiographInfo& info)
{
    ScaleSource::HeaderScale header;
    header.pixelSpacing = spacing(ds, DCM_PixelSpacing);
    header.calibrationType = !text(ds, DCM_PixelSpacingCalibrationType).empty();
    header.imagerPixelSpacing = spacing(ds, DCM_ImagerPixelSpacing);
    header.magnification = real(ds, DCM_EstimatedRadiographicMagnificationFactor);
    const ScaleSource::Decision scale = ScaleSource::decide(header);
    info.mmPerPixel = scale.mmPerPixel;
    info.scaleSource = scale.source;
    info.scaleNote = scale.note;

    // A character set the converter does not know leaves the bytes as they are.
    if (auto* dataset = dynamic_cast<DcmDataset*>(&ds))
        dataset->convertToUTF8();
    // Only the first (alphabetic) group of the name: family^given^middle^prefix^suffix.
    std::string name = text(ds, DCM_PatientName);
    name = name.substr(0, name.find('='));
    const size_t caret = name.find('^');
    info.famname = trimmed(name.substr(0, caret));
    if (caret != std::string::npos) {
        std::string given = name.substr(caret + 1);
        info.vorname = trimmed(given.substr(0, given.find('^')));
    }
    info.patientId = trimmed(text(ds, DCM_PatientID));
    for (const DcmTagKey& key : {DCM_AcquisitionDate, DCM_ContentDate, DCM_StudyDate}) {
        info.date = date(trimmed(text(ds, key)));
        if (!info.date.empty())
            break;
    }
    for (const DcmTagKey& key : {DCM_ImageLaterality, DCM_Laterality}) {
        info.laterality = trimmed(text(ds, key));
        if (!info.laterality.empty())
            break;
    }

    std::optional<double> center = real(ds, DCM_WindowCenter);
    std::optional<double> width = real(ds, DCM_WindowWidth);
    if (center && width)
        info.window = "window " + number(*center) + "/" + number(*width);
    else if (ds.tagExists(DCM_VOILUTSequence))
        info.window = "VOI LUT";
    else
        info.window = "min-max";
}

} // namespace DicomHeader
