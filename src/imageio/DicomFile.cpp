#include "dcmtk/config/osconfig.h" // first of DCMTK's headers
#include "dcmtk/dcmdata/dccodec.h"
#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcdict.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcmetinf.h"
#include "dcmtk/dcmdata/dcrledrg.h"
#include "dcmtk/dcmdata/dcxfer.h"
#include "dcmtk/dcmimage/diregist.h" // colour images
#include "dcmtk/dcmimgle/dcmimage.h"
#include "dcmtk/dcmjpeg/djdecode.h"
#include "dcmtk/dcmjpls/djdecode.h"
#include "dcmtk/oflog/oflog.h"
#include "image/CBitmap.h"
#include "imageio/Decoders.h"
#include "imageio/DicomHeader.h"
#include "imageio/LoadError.h"

#include <gdcmImageChangeTransferSyntax.h>
#include <gdcmImageReader.h>
#include <gdcmPhotometricInterpretation.h>
#include <gdcmTrace.h>
#include <memory>
#include <mutex>
#include <new>

namespace Decoders {

namespace {

// The libraries report to the user through our refusal texts only; their
// console logging stays off. The decoders are registered once per process.
void setUpLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
        OFLog::configure(OFLogger::OFF_LOG_LEVEL);
        gdcm::Trace::SetDebug(false);
        gdcm::Trace::SetWarning(false);
        gdcm::Trace::SetError(false);
        DJDecoderRegistration::registerCodecs();
        DJLSDecoderRegistration::registerCodecs();
        DcmRLEDecoderRegistration::registerCodecs();
    });
}

bool isJpeg2000(E_TransferSyntax x)
{
    return x == EXS_JPEG2000LosslessOnly || x == EXS_JPEG2000 ||
           x == EXS_JPEG2000MulticomponentLosslessOnly || x == EXS_JPEG2000Multicomponent;
}

uint16_t value(DcmItem& ds, const DcmTagKey& key)
{
    Uint16 v = 0;
    ds.findAndGetUint16(key, v);
    return v;
}

// Reads the file and refuses what no decoder can show.
bool openFile(const std::string& path, DcmFileFormat& file, RadiographInfo& info,
              std::string& error)
{
    if (!dcmDataDict.isDictionaryLoaded()) {
        error = LoadError::unreadable(path, "the DICOM data dictionary (" DCM_DICT_DEFAULT_PATH
                                            ") is missing; install the package libdcmtk17");
        return false;
    }
    const OFCondition read = file.loadFile(OFFilename(path.c_str()), EXS_Unknown, EGL_noChange,
                                           DCM_MaxReadLength, ERM_autoDetect);
    OFString uid;
    if (file.getMetaInfo()->findAndGetOFString(DCM_TransferSyntaxUID, uid).good() &&
        DcmXfer(uid.c_str()).getXfer() == EXS_Unknown) {
        error = LoadError::unsupportedDicom(path, "its transfer syntax " +
                                                      std::string(uid.c_str()) + " is unknown");
        return false;
    }
    if (read.bad()) {
        error = LoadError::damaged(path, std::string("the data set cannot be read (") +
                                             read.text() + ")");
        return false;
    }
    DcmDataset& ds = *file.getDataset();
    DcmElement* pixels = nullptr;
    if (ds.findAndGetElement(DCM_PixelData, pixels).bad()) {
        OFString mime;
        if (ds.tagExists(DCM_EncapsulatedDocument)) {
            ds.findAndGetOFString(DCM_MIMETypeOfEncapsulatedDocument, mime);
            error = LoadError::unsupportedDicom(
                path, "it holds an encapsulated document" +
                          (mime.empty() ? std::string() : " (" + std::string(mime.c_str()) + ")"));
        } else {
            error = LoadError::unsupportedDicom(path, "it holds no pixel data");
        }
        return false;
    }
    const int rows = value(ds, DCM_Rows);
    const int columns = value(ds, DCM_Columns);
    if (rows == 0 || columns == 0) {
        error = LoadError::damaged(path, "its header gives the image " + std::to_string(columns) +
                                             " x " + std::to_string(rows) + " pixels");
        return false;
    }
    if (rows > CBitmap::MaxSide || columns > CBitmap::MaxSide) {
        error = LoadError::tooLarge(path, columns, rows);
        return false;
    }

    const E_TransferSyntax xfer = ds.getOriginalXfer();
    const DcmXfer syntax(xfer);
    info.encoding = syntax.getXferName();
    if (syntax.isEncapsulated()) {
        if (!isJpeg2000(xfer) && !DcmCodecList::canChangeCoding(xfer, EXS_LittleEndianExplicit)) {
            error = LoadError::unsupportedDicom(path, "its transfer syntax (" + info.encoding +
                                                          ") cannot be decoded");
            return false;
        }
    } else {
        // The first frame must be there whole.
        const uint64_t bitsAllocated = value(ds, DCM_BitsAllocated);
        const uint64_t samples = std::max<uint16_t>(1, value(ds, DCM_SamplesPerPixel));
        const uint64_t frameBits = uint64_t(rows) * uint64_t(columns) * samples * bitsAllocated;
        if (bitsAllocated == 0 || pixels->getLength() < (frameBits + 7) / 8) {
            error = LoadError::damaged(path, "the pixel data are shorter than the header says");
            return false;
        }
    }
    info.kind = "DICOM";
    info.width = columns;
    info.height = rows;
    info.bits = value(ds, DCM_BitsStored);
    DicomHeader::describe(ds, info);
    return true;
}

// DCMTK here cannot decode JPEG 2000: the first frame is decoded by GDCM and
// handed to DCMTK's display pipeline as uncompressed pixel data.
bool decodeJpeg2000(const std::string& path, DcmDataset& ds, std::string& error)
{
    gdcm::ImageReader reader;
    reader.SetFileName(path.c_str());
    if (!reader.Read()) {
        error = LoadError::damaged(path, "the JPEG 2000 data set cannot be read");
        return false;
    }
    gdcm::ImageChangeTransferSyntax change;
    change.SetTransferSyntax(gdcm::TransferSyntax::ExplicitVRLittleEndian);
    change.SetInput(reader.GetImage());
    if (!change.Change()) {
        error = LoadError::damaged(path, "the JPEG 2000 data cannot be decoded");
        return false;
    }
    const gdcm::Image& image = change.GetOutput();
    const gdcm::ByteValue* bytes = image.GetDataElement().GetByteValue();
    const gdcm::PixelFormat& format = image.GetPixelFormat();
    const uint64_t frame =
        uint64_t(image.GetDimension(0)) * image.GetDimension(1) * format.GetPixelSize();
    if (!bytes || bytes->GetLength() < frame) {
        error = LoadError::damaged(path, "the JPEG 2000 data end before the image is complete");
        return false;
    }
    const char* first = bytes->GetPointer();
    OFCondition put;
    if (format.GetBitsAllocated() == 16)
        put = ds.putAndInsertUint16Array(DCM_PixelData, reinterpret_cast<const Uint16*>(first),
                                         static_cast<unsigned long>(frame / 2));
    else
        put = ds.putAndInsertUint8Array(DCM_PixelData, reinterpret_cast<const Uint8*>(first),
                                        static_cast<unsigned long>(frame));
    const char* photometric =
        gdcm::PhotometricInterpretation::GetPIString(image.GetPhotometricInterpretation());
    if (put.bad() || ds.putAndInsertString(DCM_PhotometricInterpretation, photometric).bad() ||
        ds.putAndInsertString(DCM_NumberOfFrames, "1").bad()) {
        error = LoadError::tooLargeForMemory(path, image.GetDimension(0), image.GetDimension(1));
        return false;
    }
    if (format.GetSamplesPerPixel() > 1)
        ds.putAndInsertUint16(DCM_PlanarConfiguration, Uint16(image.GetPlanarConfiguration()));
    return true;
}

bool decode(const std::string& path, DcmDataset& ds, CBitmap& into, RadiographInfo& info,
            std::string& error)
{
    E_TransferSyntax xfer = ds.getOriginalXfer();
    // Stored values, their 16-bit display copy and the grey result.
    if (!enoughMemory(uint64_t(info.width) * uint64_t(info.height) * 12)) {
        error = LoadError::tooLargeForMemory(path, info.width, info.height);
        return false;
    }
    if (isJpeg2000(xfer)) {
        if (!decodeJpeg2000(path, ds, error))
            return false;
        xfer = EXS_LittleEndianExplicit;
    }
    DicomImage image(&ds, xfer, 0UL, 0UL, 1UL);
    const EI_Status status = image.getStatus();
    if (status != EIS_Normal) {
        const std::string why = DicomImage::getString(status);
        if (status == EIS_MemoryFailure)
            error = LoadError::tooLargeForMemory(path, info.width, info.height);
        else if (status == EIS_NotSupportedValue)
            error = LoadError::unsupportedDicom(path, why);
        else
            error = LoadError::damaged(path, why);
        return false;
    }
    std::unique_ptr<DicomImage> grey;
    DicomImage* shown = &image;
    double center = 0.0;
    double width = 0.0;
    if (!image.isMonochrome()) {
        grey.reset(image.createMonochromeImage());
        if (!grey || grey->getStatus() != EIS_Normal) {
            error = LoadError::tooLargeForMemory(path, info.width, info.height);
            return false;
        }
        shown = grey.get();
        shown->setNoVoiTransformation();
        info.window = "colour to grey";
    } else if (image.getWindowCount() > 0) {
        image.setWindow(0);
        image.getWindow(center, width);
        info.window = "window " + DicomHeader::number(center) + "/" + DicomHeader::number(width);
    } else if (image.getVoiLutCount() > 0) {
        image.setVoiLut(0);
        info.window = "VOI LUT";
    } else {
        image.setMinMaxWindow(0);
        image.getWindow(center, width);
        info.window = "min-max " + DicomHeader::number(center) + "/" + DicomHeader::number(width);
    }
    const void* pixels = shown->getOutputData(8, 0);
    if (!pixels) {
        error = LoadError::damaged(path, "the pixel data cannot be decoded");
        return false;
    }
    if (!into.init(static_cast<const uint8_t*>(pixels), info.width, info.height,
                   size_t(info.width))) {
        error = LoadError::damaged(path, "it holds no pixels");
        return false;
    }
    return true;
}

} // namespace

bool dicom(const std::string& path, CBitmap* into, RadiographInfo& info, std::string& error)
{
    setUpLibraries();
    try {
        DcmFileFormat file;
        if (!openFile(path, file, info, error))
            return false;
        return !into || decode(path, *file.getDataset(), *into, info, error);
    } catch (const std::bad_alloc&) {
        error = LoadError::tooLargeForMemory(path, info.width, info.height);
        return false;
    }
}

} // namespace Decoders
