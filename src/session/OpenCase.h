#pragma once

#include "analysis/WriteDataCommand.h"
#include "image/CBitmap.h"
#include "interaction/ToolController.h"
#include "model/CZor.h"
#include "platform/Clock.h"
#include "platform/PatientDialogOpener.h"
#include "platform/UserMessages.h"

#include <memory>
#include <string>

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
    // Replaces the case by the decoded `image`: a fresh model, new tools
    // (the usable tools carried over). The window shows the new buffer
    // before anything is drawn, then calls readOrStartNew().
    void replace(const std::string& imagePath, const std::string& landmarkPath, CBitmap image);
    // Reads the landmark file into the model; the patient becomes the
    // DefaultPatient. Without a file that reads to its end the case is a new
    // one: landmarks reset, the film taken as 430 mm wide, no head. True
    // when the file was read.
    bool readOrStartNew();
    // "&Reload Landmarks": reads the landmark file into a copy of the case
    // and takes it only when the file was read to its end; a damaged file
    // (reported by the reader) leaves the case as it was.
    bool reloadLandmarks();
    // "&Write Data" on this case.
    WriteDataCommand::Outcome writeData(const Clock& clock, PatientDialogOpener& dialog);

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

    ToolHost& host_;
    Surface& surface_;
    UserMessages& messages_;
    CBitmap bitmap_;
    std::unique_ptr<CZor> zor_;
    std::unique_ptr<ToolController> tools_;
    std::string imagePath_;
    std::string landmarkPath_;
};
