#pragma once

#include "analysis/WriteDataCommand.h"
#include "image/CBitmap.h"
#include "image/RadiographInfo.h"
#include "interaction/ToolController.h"
#include "model/CZor.h"
#include "platform/Clock.h"
#include "platform/PatientDialogOpener.h"
#include "platform/UserMessages.h"

#include <memory>
#include <string>
#include <vector>

class Surface;
class ToolHost;

// The case one window has open, without the window: the image buffer, the
// measurement model, the tool controller working on them, and the paths of
// the image and its landmark file. The window owns one, shows what it holds
// and forwards its commands.
class OpenCase {
public:
    // The tools of every case opened here ask `host`, draw on `surface` and
    // tell the user through `messages`, as do the case's own commands; all
    // three must outlive this object.
    OpenCase(ToolHost& host, Surface& surface, UserMessages& messages)
        : host_(host), surface_(surface), messages_(messages)
    {
    }

    bool isOpen() const { return bool(zor_); }
    // Replaces the case by the decoded `image` and what its file said
    // (`film`): a fresh model, new tools (the usable tools carried over).
    // The window shows the new buffer before anything is drawn, then calls
    // readOrStartNew().
    void replace(const std::string& imagePath, const std::string& landmarkPath, CBitmap image,
                 RadiographInfo film = {});
    // Reads the landmark file into the model; the patient becomes the
    // DefaultPatient. Without a file that reads to its end the case is a new
    // one: landmarks reset, no head, the scale from the film's header when it
    // gives a usable one, else the film taken as 430 mm wide ("not
    // calibrated"); a DICOM film's header also gives the name, first name,
    // study ID and date (the data file carries over from the DefaultPatient,
    // the head diameter only to the same patient). A landmark file that is
    // there but cannot be read is copied aside ("NAME.bit.damaged", then
    // "-2", "-3", ...) before this case first writes over it, since what it
    // still holds may be worth recovering. True when the file was read.
    bool readOrStartNew();
    // "&Reload Landmarks": reads the landmark file into a copy of the case
    // and takes it only when the file was read to its end; a damaged file
    // (reported by the reader) leaves the case as it was.
    bool reloadLandmarks();
    // "&Save Landmarks": writes only the landmark file, atomically; false
    // with *error saying why, the previous file intact.
    bool saveLandmarks(std::string* error);
    // Puts `zor` back as the case (an undo or redo) with tools that start
    // idle and take `usable` as their usable tools.
    void restore(const CZor& zor, ToolSet usable);
    // "&Write Data" on this case. When the record would be written with a
    // scale never calibrated, a head factor outside 1.0 to 1.35 or a side
    // other than the film's laterality, the user is asked once, with the
    // reasons; No writes nothing (Declined).
    WriteDataCommand::Outcome writeData(const Clock& clock, PatientDialogOpener& dialog);
    // The reasons writeData() asks about; none while the patient data are
    // incomplete or the analysis refuses the case (it says so itself).
    std::vector<std::string> writeWarnings() const;
    // What the image's file said about itself.
    const RadiographInfo& film() const { return film_; }

    // Only while isOpen().
    CZor& zor() { return *zor_; }
    ToolController& tools() { return *tools_; }
    CZor* zorIfOpen() const { return zor_.get(); }
    ToolController* toolsIfOpen() const { return tools_.get(); }
    CBitmap& bitmap() { return bitmap_; }
    const CBitmap& bitmap() const { return bitmap_; }
    const std::string& imagePath() const { return imagePath_; }
    const std::string& landmarkPath() const { return landmarkPath_; }

private:
    bool read(CZor& into) const;
    void keepDamagedFile();

    ToolHost& host_;
    Surface& surface_;
    UserMessages& messages_;
    CBitmap bitmap_;
    std::unique_ptr<CZor> zor_;
    std::unique_ptr<ToolController> tools_;
    std::string imagePath_;
    std::string landmarkPath_;
    RadiographInfo film_;
    bool damagedFile_ = false; // the landmark file failed to read and is not yet kept aside
};
