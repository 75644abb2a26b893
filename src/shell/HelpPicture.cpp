#include "shell/HelpPicture.h"

#include "shell/DemoCase.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace {

const QColor landmarkRed(255, 0, 0);

// The picture's frame: where the radiograph lands and how much it shrinks.
constexpr int canvasWidth = 1000;
constexpr int canvasHeight = 820;
constexpr double shrink = 0.62;
const QPointF origin((canvasWidth - DemoCase::width * shrink) / 2.0, 60.0);

QPointF place(const QPointF& p)
{
    return HelpPicture::toPicture(p);
}

QLineF place(const QLineF& l)
{
    return QLineF(place(l.p1()), place(l.p2()));
}

void drawCross(QPainter& painter, const QPointF& p)
{
    painter.drawLine(p - QPointF(6, 0), p + QPointF(6, 0));
    painter.drawLine(p - QPointF(0, 6), p + QPointF(0, 6));
}

// A label in the margin with a leader line to the landmark it names.
void drawLabel(QPainter& painter, const QString& text, const QPointF& at, const QPointF& target,
               bool leftMargin)
{
    const QFontMetricsF metrics(painter.font());
    const double w = metrics.horizontalAdvance(text);
    const QPointF anchor = leftMargin ? at + QPointF(w + 6, -metrics.ascent() / 3)
                                      : at - QPointF(6, metrics.ascent() / 3);
    painter.setPen(QPen(landmarkRed, 1));
    painter.drawLine(anchor, target);
    painter.setPen(Qt::black);
    painter.drawText(at, text);
}

} // namespace

namespace HelpPicture {

QPointF toPicture(const QPointF& imagePoint)
{
    return origin + imagePoint * shrink;
}

QImage drawLogo(int side)
{
    QImage logo(side, side, QImage::Format_RGB32);
    logo.fill(QColor(24, 28, 40));
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 100.0, side / 100.0);
    // Femur, stem and head as on a film: dense parts light.
    QPainterPath femur;
    femur.moveTo(30, 100);
    femur.cubicTo(30, 60, 22, 40, 28, 22);
    femur.lineTo(44, 20);
    femur.cubicTo(52, 40, 62, 48, 70, 52);
    femur.cubicTo(62, 62, 60, 80, 60, 100);
    femur.closeSubpath();
    painter.fillPath(femur, QColor(150, 156, 170));
    QPainterPath stem;
    stem.moveTo(40, 86);
    stem.lineTo(36, 32);
    stem.lineTo(60, 20);
    stem.lineTo(64, 26);
    stem.lineTo(48, 44);
    stem.lineTo(46, 86);
    stem.closeSubpath();
    painter.fillPath(stem, QColor(236, 238, 242));
    painter.setBrush(QColor(246, 246, 246));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(66, 18), 12, 12);
    // The measurement in red: head circle and stem axis.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(landmarkRed, 2));
    painter.drawEllipse(QPointF(66, 18), 14, 14);
    painter.drawLine(QPointF(45, 98), QPointF(36, 6));
    return logo;
}

QImage drawHelpPicture()
{
    const DemoCase::Landmarks& l = DemoCase::landmarks();
    QImage picture(canvasWidth, canvasHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QImage film = DemoCase::drawRadiograph().scaled(
        int(DemoCase::width * shrink), int(DemoCase::height * shrink), Qt::IgnoreAspectRatio,
        Qt::SmoothTransformation);
    painter.drawImage(origin, film);

    QFont title;
    title.setPixelSize(24);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, 8, canvasWidth, 40), Qt::AlignCenter,
                     "Example for Setting of ZOR Reference Lines");

    // The landmarks, red as the program draws them.
    painter.setPen(QPen(landmarkRed, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(place(l.headCenter), l.headRadius * shrink, l.headRadius * shrink);
    for (const QPointF& p : l.headPoints)
        drawCross(painter, place(p));
    for (const QLineF& line : {l.gtLine, l.ltLine1, l.ltLine2, l.tipLine})
        painter.drawLine(place(line));
    for (const QPointF& p : l.femurPoints)
        drawCross(painter, place(p));

    QFont font;
    font.setPixelSize(17);
    painter.setFont(font);
    const double leftX = 16;
    const double rightX = origin.x() + DemoCase::width * shrink + 14;
    drawLabel(painter, labels[0], QPointF(rightX, place(l.headPoints[4]).y() - 40),
              place(l.headPoints[4]), false);
    drawLabel(painter, labels[1], QPointF(leftX, place(l.gtLine.p2()).y()), place(l.gtLine.p2()),
              true);
    drawLabel(painter, labels[2], QPointF(rightX, place(l.ltLine1.p2()).y() + 30),
              place(l.ltLine1.p2()), false);
    drawLabel(painter, labels[3], QPointF(rightX, place(l.ltLine2.p2()).y() - 30),
              place(l.ltLine2.p2()), false);
    const double pointsY = place(l.femurPoints[3]).y();
    drawLabel(painter, labels[4], QPointF(leftX, pointsY), place(l.femurPoints[1]), true);
    for (int i = 3; i < 8; i += 2)
        drawLabel(painter, "",
                  QPointF(leftX + painter.fontMetrics().horizontalAdvance(labels[4]), pointsY),
                  place(l.femurPoints[i]), true);
    drawLabel(painter, labels[5], QPointF(leftX, place(l.tipLine.p2()).y() + 20),
              place(l.tipLine.p2()), true);
    return picture;
}

} // namespace HelpPicture
