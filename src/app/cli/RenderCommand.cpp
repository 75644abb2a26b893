#include "app/cli/Cli.h"
#include "app/cli/RenderImage.h"
#include "app/cli/RenderOptions.h"
#include "image/CBitmap.h"
#include "image/Global.h"

namespace Cli {

namespace {

void apply(CBitmap& bitmap, const RenderStep& step)
{
    switch (step.kind) {
    case RenderStep::Kind::Sharpen:
        bitmap.Filter(Global::GetSharpenKernel(int16_t(step.value)));
        break;
    case RenderStep::Kind::Undo:
        bitmap.UndoFilter();
        break;
    case RenderStep::Kind::Invert:
        bitmap.Invert();
        break;
    case RenderStep::Kind::Brightness:
        bitmap.ColorOffset = int16_t(step.value);
        bitmap.CreateColors();
        break;
    case RenderStep::Kind::Contrast:
        bitmap.ColorScale = int16_t(step.value);
        bitmap.CreateColors();
        break;
    }
}

} // namespace

int render(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    RenderOptions options;
    std::string error;
    if (!RenderOptions::parse(args, options, error)) {
        err << "zor-cli render: " << error << "\n"
            << "run 'zor-cli render --help' for the options\n";
        return 2;
    }
    if (options.help) {
        out << renderUsage();
        return 0;
    }
    if (!RenderImage::canWrite(options.output)) {
        err << "zor-cli render: cannot tell the format to write from the name '" << options.output
            << "' (use .pgm, .png or .bmp, for instance)\n";
        return 2;
    }
    CBitmap bitmap;
    if (!RenderImage::load(options.image, bitmap, error)) {
        err << "zor-cli render: " << error << '\n';
        return 1;
    }
    for (const RenderStep& step : options.steps)
        apply(bitmap, step);
    if (!RenderImage::writeShown(bitmap, options.output, error)) {
        err << "zor-cli render: " << error << '\n';
        return 1;
    }
    return 0;
}

} // namespace Cli
