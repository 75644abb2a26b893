#include "app/cli/Cli.h"
#include "imageio/RadiographFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cstdio>

namespace Cli {

namespace {

void infoUsage(std::ostream& s)
{
    s << "usage: zor-cli info [--json] FILE...\n"
         "\n"
         "Prints what the image loader finds in each file: kind, size, bits, window,\n"
         "scale and its source, patient name, ID, date of the film and laterality.\n"
         "\n"
         "  --json   one JSON array for scripts, an object per file (\"error\" for a\n"
         "           file that cannot be opened)\n"
         "\n"
         "Exit status: 0 when every file could be read, 1 otherwise, 2 for a usage error.\n";
}

std::string scale(const RadiographInfo& i)
{
    if (i.mmPerPixel <= 0.0)
        return i.scaleSource + " (the 430 mm film default applies)";
    char text[32];
    std::snprintf(text, sizeof text, "%.4g mm/px, ", i.mmPerPixel);
    return text + i.scaleSource;
}

void printText(std::ostream& out, const std::string& file, const RadiographInfo& i)
{
    auto line = [&](const char* label, const std::string& value) {
        if (!value.empty())
            out << "  " << label << ": " << value << '\n';
    };
    out << file << '\n';
    line("kind", i.encoding.empty() ? i.kind : i.kind + ", " + i.encoding);
    line("size", std::to_string(i.width) + " x " + std::to_string(i.height) + " pixels, " +
                     std::to_string(i.bits) + " bits");
    line("window", i.window);
    line("scale", scale(i));
    line("note", i.scaleNote);
    std::string name = i.famname;
    if (!i.vorname.empty())
        name += (name.empty() ? "" : ", ") + i.vorname;
    line("patient", name);
    line("patient ID", i.patientId);
    line("date", i.date);
    line("laterality", i.laterality);
}

QJsonObject json(const std::string& file, const RadiographInfo& i)
{
    auto q = [](const std::string& s) { return QString::fromStdString(s); };
    QJsonObject o;
    o["file"] = q(file);
    o["kind"] = q(i.kind);
    o["encoding"] = q(i.encoding);
    o["width"] = i.width;
    o["height"] = i.height;
    o["bits"] = i.bits;
    o["window"] = q(i.window);
    o["mm_per_pixel"] = i.mmPerPixel > 0.0 ? QJsonValue(i.mmPerPixel) : QJsonValue();
    o["scale_source"] = q(i.scaleSource);
    o["scale_note"] = q(i.scaleNote);
    o["family_name"] = q(i.famname);
    o["given_name"] = q(i.vorname);
    o["patient_id"] = q(i.patientId);
    o["date"] = q(i.date);
    o["laterality"] = q(i.laterality);
    return o;
}

} // namespace

int info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool asJson = false;
    std::vector<std::string> files;
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            infoUsage(out);
            return 0;
        }
        if (a == "--json") {
            asJson = true;
        } else if (a.size() > 1 && a.front() == '-') {
            err << "zor-cli info: unknown option '" << a << "'\n";
            infoUsage(err);
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) {
        err << "zor-cli info: no file given\n";
        infoUsage(err);
        return 2;
    }
    int failed = 0;
    QJsonArray all;
    for (const std::string& file : files) {
        RadiographInfo found;
        std::string error;
        if (!RadiographFile::readHeader(file, found, error)) {
            ++failed;
            err << "zor-cli info: " << error << '\n';
            if (asJson)
                all.append(QJsonObject{{"file", QString::fromStdString(file)},
                                       {"error", QString::fromStdString(error)}});
            continue;
        }
        if (asJson)
            all.append(json(file, found));
        else
            printText(out, file, found);
    }
    if (asJson)
        out << QJsonDocument(all).toJson(QJsonDocument::Indented).toStdString();
    return failed == 0 ? 0 : 1;
}

} // namespace Cli
