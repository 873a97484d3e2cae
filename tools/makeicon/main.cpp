// Draws Parkbook's window icon: a pine tree in a park-green disc with radio
// waves rising from its tip. Run by the build; writes the PNG named on the
// command line.
#include <QImage>
#include <QPainter>
#include <QPainterPath>

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    QImage image(128, 128, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    painter.setPen(QPen(QColor(20, 70, 30), 4));
    painter.setBrush(QColor(46, 125, 50));
    painter.drawEllipse(QRectF(4, 4, 120, 120));

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(121, 85, 72));
    painter.drawRect(QRectF(58, 92, 12, 18));
    painter.setBrush(QColor(200, 230, 201));
    for (int tier = 0; tier < 3; ++tier) {
        const double top = 40 + tier * 16;
        const double half = 18 + tier * 8;
        QPainterPath path;
        path.moveTo(64, top);
        path.lineTo(64 - half, top + 26);
        path.lineTo(64 + half, top + 26);
        path.closeSubpath();
        painter.drawPath(path);
    }

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 213, 79), 5, Qt::SolidLine, Qt::RoundCap));
    for (int wave = 1; wave <= 2; ++wave) {
        const double r = 10.0 * wave;
        painter.drawArc(QRectF(64 - r, 36 - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
    }
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
