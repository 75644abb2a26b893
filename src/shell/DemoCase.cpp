#include "shell/DemoCase.h"

#include "casefile/BinFile.h"
#include "model/CZor.h"

#include <QDir>
#include <QFileInfo>

namespace {

void setLine(CLine& line, const QLineF& l, bool valid)
{
    line.init(l.x1(), l.y1(), l.x2(), l.y2());
    line.Valid = valid;
}

} // namespace

namespace DemoCase {

void fillCase(CZor& zor)
{
    const Landmarks& l = landmarks();
    zor.initScale(width, height, worldWidthMm);
    zor.CalibSource = "drawn to scale (demo case)";

    setLine(zor.AxisLine, l.axis, true);
    setLine(zor.AxisLine1, l.contour1, true);
    setLine(zor.AxisLine2, l.contour2, true);
    zor.Shoulder.change(l.shoulder.x(), l.shoulder.y());
    zor.ShoulderValid = true;
    // Accepted by the user, so valid: drawn in the second colour.
    setLine(zor.GTLine, l.gtLine, true);
    setLine(zor.LTLine1, l.ltLine1, true);
    setLine(zor.LTLine2, l.ltLine2, true);
    setLine(zor.TipLine, l.tipLine, true);
    zor.LinesVisible = true;
    // The tip construction lines get the length they have at zoom 1, in a
    // view that shows the whole radiograph.
    zor.CreateTipLines(float(width));

    for (int16_t i = 0; i < 8; ++i)
        zor.points(i).change(l.femurPoints[i].x(), l.femurPoints[i].y());
    zor.PointsValid = true;
    zor.CMarker.change(l.cementMarker.x(), l.cementMarker.y());
    zor.CMarkerValid = true;

    zor.head.removeAll();
    for (const QPointF& p : l.headPoints)
        zor.head.addPoint(p.x(), p.y());
    zor.head.Valid = zor.head.fit();

    // Invented, and plainly so.
    zor.Datum = "20031105";
    zor.Patient.Famname = "Demo";
    zor.Patient.Vorname = "Hilde";
    zor.Patient.Code = "DEMO-001";
    zor.Patient.HeadTR = 14.0; // a 28 mm head
    zor.Patient.DatFile = "demo-study";
}

QString ensure(const QString& dir, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return QString();
    };
    if (!QDir().mkpath(dir))
        return fail(QString("cannot create the folder %1").arg(dir));
    const QDir folder(dir);
    const QString image = QFileInfo(folder.filePath(imageName)).absoluteFilePath();
    const QString landmarkFile = QFileInfo(folder.filePath(landmarkName)).absoluteFilePath();
    if (!QFileInfo::exists(image) && !drawRadiograph().save(image, "BMP"))
        return fail(QString("cannot write %1").arg(image));
    if (!QFileInfo::exists(landmarkFile)) {
        CZor zor;
        fillCase(zor);
        std::string why;
        if (!BinFile::WriteLandmarkFile(landmarkFile.toStdString(), zor, &why))
            return fail(
                QString("cannot write %1: %2").arg(landmarkFile, QString::fromStdString(why)));
    }
    QString why;
    if (!ensureSeries(dir, &why))
        return fail(why);
    return image;
}

} // namespace DemoCase
