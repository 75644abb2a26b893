// The follow-up films of the demo patient: the demo radiograph with the stem
// sunk along its axis and turned a little into varus about its tip, each
// film at its own magnification and turned in the film plane.
#include "casefile/BinFile.h"
#include "model/CZor.h"
#include "model/Math.h"
#include "shell/DemoCase.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace {

struct FollowUp {
    const char* date; // yyyymmdd
    double sinkingMm;
    double varusDeg;
    double magnification;
    double rotationDeg;
};

// An early sinking that settles after a year.
constexpr FollowUp kFollowUps[] = {
    {"20040205", 0.9, 0.15, 1.02, 0.8}, {"20040506", 1.8, 0.3, 0.98, -1.2},
    {"20041104", 2.6, 0.45, 1.03, 1.5}, {"20051107", 2.7, 0.5, 0.97, -0.6},
    {"20061106", 2.7, 0.5, 1.01, 2.0},
};

QTransform stemMove(const FollowUp& f)
{
    const DemoCase::Landmarks& l = DemoCase::landmarks();
    const QPointF tip = l.tipLine.center();
    const QPointF down = (l.axis.p1() - l.axis.p2()) / l.axis.length();
    // Image pixels per true millimetre, from the head.
    const double perMm = l.headRadius / 14.0;
    // Clockwise on the screen turns the proximal stem medially (+x) on this
    // right hip: varus.
    return QTransform::fromTranslate(-tip.x(), -tip.y()) * QTransform().rotate(f.varusDeg) *
           QTransform::fromTranslate(tip.x() + f.sinkingMm * perMm * down.x(),
                                     tip.y() + f.sinkingMm * perMm * down.y());
}

QTransform filmMove(const FollowUp& f)
{
    const QPointF c(DemoCase::width / 2.0, DemoCase::height / 2.0);
    return QTransform::fromTranslate(-c.x(), -c.y()) * QTransform().rotate(f.rotationDeg) *
           QTransform().scale(f.magnification, f.magnification) *
           QTransform::fromTranslate(c.x(), c.y());
}

void moveLine(CLine& line, const QTransform& t)
{
    QLineF l = t.map(QLineF(line.P0.x, line.P0.y, line.P1.x, line.P1.y));
    line.P0.change(l.x1(), l.y1());
    line.P1.change(l.x2(), l.y2());
}

void movePoint(CPoint& p, const QTransform& t)
{
    QPointF q = t.map(QPointF(p.x, p.y));
    p.change(q.x(), q.y());
}

// The demo case as measured on a follow-up film: the same clicks, moved
// with the stem or with the femur; the axis rebuilt from the contour lines.
bool fillFollowUp(CZor& zor, const FollowUp& f)
{
    DemoCase::fillCase(zor);
    const QTransform film = filmMove(f);
    const QTransform stem = stemMove(f) * film;
    for (CPoint& p : zor.head.points)
        movePoint(p, stem);
    zor.head.Valid = zor.head.fit();
    moveLine(zor.AxisLine1, stem);
    moveLine(zor.AxisLine2, stem);
    movePoint(zor.Shoulder, stem);
    moveLine(zor.TipLine, stem);
    for (CLine* l : {&zor.GTLine, &zor.LTLine1, &zor.LTLine2})
        moveLine(*l, film);
    for (int16_t i = 0; i < 8; ++i)
        movePoint(zor.points(i), film);
    movePoint(zor.CMarker, film);
    std::optional<CLine> axis =
        Math::CenterLine(zor.AxisLine1, zor.AxisLine2, double(DemoCase::height));
    if (!axis || !zor.head.Valid)
        return false;
    zor.AxisLine.copy(*axis);
    zor.CreateTipLines(float(DemoCase::width));
    zor.Datum = f.date;
    return true;
}

} // namespace

namespace DemoCase {

bool ensureSeries(const QString& dir, QString* error)
{
    const QDir folder(dir);
    const QString stem = QFileInfo(imageName).completeBaseName();
    for (const FollowUp& f : kFollowUps) {
        const QString d = QString::fromLatin1(f.date);
        const QString base = stem + "-" + d.left(4) + "-" + d.mid(4, 2) + "-" + d.mid(6, 2);
        const QString image = folder.filePath(base + ".bmp");
        const QString landmarks = folder.filePath(base + ".bit");
        if (!QFileInfo::exists(image) &&
            !drawRadiograph(filmMove(f), stemMove(f)).save(image, "BMP")) {
            if (error)
                *error = QString("cannot write %1").arg(image);
            return false;
        }
        if (QFileInfo::exists(landmarks))
            continue;
        CZor zor;
        std::string why = "no stem axis";
        if (!fillFollowUp(zor, f) ||
            !BinFile::WriteLandmarkFile(landmarks.toStdString(), zor, &why)) {
            if (error)
                *error = QString("cannot write %1: %2").arg(landmarks, QString::fromStdString(why));
            return false;
        }
    }
    return true;
}

} // namespace DemoCase
