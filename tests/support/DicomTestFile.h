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
#include "dcmtk/dcmdata/dcxfer.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

struct DicomTestFilm {
    int width = 48;
    int height = 40;
    std::string photometric = "MONOCHROME2";
    // The stored 12-bit value of each pixel; a diagonal ramp over the whole range by default.
    std::function<uint16_t(int, int)> value = [](int x, int y) {
        return uint16_t(((x * 40 + y * 37) * 13) % 4096);
    };
    // Further elements as text, e.g. {DCM_PixelSpacing, "0.1\\0.1"}.
    std::vector<std::pair<DcmTagKey, std::string>> tags;
    bool pixelData = true;
    // In a compressed syntax the pixel data are one fragment of meaningless bytes.
    E_TransferSyntax xfer = EXS_LittleEndianExplicit;
    bool preamble = true;      // false: the bare data set, without preamble and meta header
    int frames = 1;            // frames after the first hold the values inverted
    bool rgb = false;          // 8-bit RGB, each pixel grey: the top 8 bits of its value thrice
    bool invertingLut = false; // a VOI LUT of 12 bits that maps v to 4095 - v
};

// Returns `path`.
inline std::string writeDicomTestFilm(const std::string& path, const DicomTestFilm& f)
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
    ds.putAndInsertUint16(DCM_SamplesPerPixel, f.rgb ? 3 : 1);
    ds.putAndInsertString(DCM_PhotometricInterpretation, f.rgb ? "RGB" : f.photometric.c_str());
    ds.putAndInsertUint16(DCM_BitsAllocated, f.rgb ? 8 : 16);
    ds.putAndInsertUint16(DCM_BitsStored, f.rgb ? 8 : 12);
    ds.putAndInsertUint16(DCM_HighBit, f.rgb ? 7 : 11);
    ds.putAndInsertUint16(DCM_PixelRepresentation, 0);
    for (const auto& [key, text] : f.tags) {
        if (ds.putAndInsertString(key, text.c_str()).bad()) // a byte value, such as a document
            ds.putAndInsertUint8Array(key, reinterpret_cast<const Uint8*>(text.data()),
                                      static_cast<unsigned long>(text.size()));
    }
    if (f.invertingLut) {
        DcmItem* lut = nullptr;
        ds.findOrCreateSequenceItem(DCM_VOILUTSequence, lut);
        const Uint16 descriptor[] = {4096, 0, 12};
        std::vector<Uint16> data(4096);
        for (Uint16 v = 0; v < 4096; ++v)
            data[v] = Uint16(4095 - v);
        lut->putAndInsertUint16Array(DCM_LUTDescriptor, descriptor, 3);
        lut->putAndInsertUint16Array(DCM_LUTData, data.data(), 4096);
    }
    if (f.pixelData && DcmXfer(f.xfer).isEncapsulated()) {
        auto* sequence = new DcmPixelSequence(DcmTag(DCM_PixelData, EVR_OB));
        sequence->insert(new DcmPixelItem(DcmTag(DCM_Item, EVR_OB))); // offset table
        auto* fragment = new DcmPixelItem(DcmTag(DCM_Item, EVR_OB));
        const std::vector<Uint8> bytes(64, 0x5a);
        fragment->putUint8Array(bytes.data(), static_cast<unsigned long>(bytes.size()));
        sequence->insert(fragment);
        auto* pixels = new DcmPixelData(DCM_PixelData);
        pixels->putOriginalRepresentation(f.xfer, nullptr, sequence);
        ds.insert(pixels, true);
    } else if (f.pixelData && f.rgb) {
        ds.putAndInsertUint16(DCM_PlanarConfiguration, 0);
        std::vector<Uint8> v;
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x)
                v.insert(v.end(), 3, Uint8(f.value(x, y) >> 4));
        ds.putAndInsertUint8Array(DCM_PixelData, v.data(), static_cast<unsigned long>(v.size()));
    } else if (f.pixelData) {
        std::vector<Uint16> v;
        for (int frame = 0; frame < f.frames; ++frame)
            for (int y = 0; y < f.height; ++y)
                for (int x = 0; x < f.width; ++x)
                    v.push_back(frame == 0 ? f.value(x, y) : Uint16(4095 - f.value(x, y)));
        if (f.frames > 1)
            ds.putAndInsertString(DCM_NumberOfFrames, std::to_string(f.frames).c_str());
        ds.putAndInsertUint16Array(DCM_PixelData, v.data(), static_cast<unsigned long>(v.size()));
    }
    const OFCondition saved =
        f.preamble ? file.saveFile(path.c_str(), f.xfer) : ds.saveFile(path.c_str(), f.xfer);
    if (saved.bad())
        throw std::runtime_error("cannot write " + path + ": " + saved.text());
    return path;
}
