#pragma once

// Writes small DICOM films for the tests with DCMTK itself. Targets that
// include it link DCMTK::dcmdata.

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcpixel.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcpxitem.h"
#include "dcmtk/dcmdata/dcuid.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

struct DicomTestFilm {
    int width = 48;
    int height = 40;
    int bitsStored = 12;
    std::string photometric = "MONOCHROME2";
    // The stored value of each pixel; a diagonal ramp over the whole 12-bit range by default.
    std::function<uint16_t(int, int)> value = [](int x, int y) {
        return uint16_t(((x * 40 + y * 37) * 13) % 4096);
    };
    // Further elements as text, e.g. {DCM_PixelSpacing, "0.1\\0.1"}.
    std::vector<std::pair<DcmTagKey, std::string>> tags;
    bool pixelData = true;
    E_TransferSyntax xfer = EXS_LittleEndianExplicit;
    bool preamble = true; // false: the bare data set, without preamble and meta header
    int frames = 1;       // frames after the first hold the values inverted
};

// The film's stored values, row by row.
inline std::vector<Uint16> dicomTestValues(const DicomTestFilm& f)
{
    std::vector<Uint16> v(size_t(f.width) * size_t(f.height));
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x)
            v[size_t(y) * size_t(f.width) + size_t(x)] = f.value(x, y);
    return v;
}

inline void writeDicomTestFilm(const std::string& path, const DicomTestFilm& f)
{
    DcmFileFormat file;
    DcmDataset& ds = *file.getDataset();
    char uid[100];
    ds.putAndInsertString(DCM_SOPClassUID, UID_DigitalXRayImageStorageForPresentation);
    ds.putAndInsertString(DCM_SOPInstanceUID,
                          dcmGenerateUniqueIdentifier(uid, SITE_INSTANCE_UID_ROOT));
    ds.putAndInsertString(DCM_Modality, "DX");
    ds.putAndInsertUint16(DCM_Rows, Uint16(f.height));
    ds.putAndInsertUint16(DCM_Columns, Uint16(f.width));
    ds.putAndInsertUint16(DCM_SamplesPerPixel, 1);
    ds.putAndInsertString(DCM_PhotometricInterpretation, f.photometric.c_str());
    ds.putAndInsertUint16(DCM_BitsAllocated, 16);
    ds.putAndInsertUint16(DCM_BitsStored, Uint16(f.bitsStored));
    ds.putAndInsertUint16(DCM_HighBit, Uint16(f.bitsStored - 1));
    ds.putAndInsertUint16(DCM_PixelRepresentation, 0);
    for (const auto& [key, text] : f.tags) {
        if (ds.putAndInsertString(key, text.c_str()).bad()) // a byte value, such as a document
            ds.putAndInsertUint8Array(key, reinterpret_cast<const Uint8*>(text.data()),
                                      static_cast<unsigned long>(text.size()));
    }
    if (f.pixelData) {
        std::vector<Uint16> v = dicomTestValues(f);
        const size_t frame = v.size();
        for (int i = 1; i < f.frames; ++i)
            for (size_t k = 0; k < frame; ++k)
                v.push_back(Uint16(4095 - v[k]));
        if (f.frames > 1)
            ds.putAndInsertString(DCM_NumberOfFrames, std::to_string(f.frames).c_str());
        ds.putAndInsertUint16Array(DCM_PixelData, v.data(), static_cast<unsigned long>(v.size()));
    }
    const OFCondition saved =
        f.preamble ? file.saveFile(path.c_str(), f.xfer) : ds.saveFile(path.c_str(), f.xfer);
    if (saved.bad())
        throw std::runtime_error("cannot write " + path + ": " + saved.text());
}

// A film whose pixel data are one fragment encoded in `xfer` (contents
// meaningless), for transfer syntaxes that cannot be decoded.
inline void writeEncapsulatedTestFilm(const std::string& path, E_TransferSyntax xfer)
{
    DicomTestFilm f;
    f.pixelData = false;
    f.xfer = EXS_LittleEndianExplicit;
    writeDicomTestFilm(path, f);
    DcmFileFormat file;
    file.loadFile(path.c_str());
    auto* sequence = new DcmPixelSequence(DcmTag(DCM_PixelData, EVR_OB));
    sequence->insert(new DcmPixelItem(DcmTag(DCM_Item, EVR_OB))); // offset table
    auto* fragment = new DcmPixelItem(DcmTag(DCM_Item, EVR_OB));
    const std::vector<Uint8> bytes(64, 0x5a);
    fragment->putUint8Array(bytes.data(), static_cast<unsigned long>(bytes.size()));
    sequence->insert(fragment);
    auto* pixels = new DcmPixelData(DCM_PixelData);
    pixels->putOriginalRepresentation(xfer, nullptr, sequence);
    file.getDataset()->insert(pixels, true);
    const OFCondition saved = file.saveFile(path.c_str(), xfer);
    if (saved.bad())
        throw std::runtime_error("cannot write " + path + ": " + saved.text());
}
