#include "view3dpainting.h"

#include "shell/pictures.h"

#include "shell/manageritem.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <qtmaterialstyle.h>

namespace view3d {

const QColor &iconOnColor()
{
    static const QColor c(0x1F, 0x29, 0x33);
    return c;
}

const QColor &iconOffColor()
{
    static const QColor c(0x3D, 0x53, 0x66);
    return c;
}

const QColor &stateLineColor()
{
    static const QColor c(0xAB, 0xD2, 0x65);
    return c;
}

QString roomPicturePath(const QString &pictureName)
{
    return ManagerItem::picturePath(ManagerItem3DView, pictureName);
}

void drawRoomPicture(QPainter &painter, const QSize &widgetSize, const QString &pictureName)
{
    const QRect target(10, 10, widgetSize.width() - 20, widgetSize.height() - 20);
    if (target.width() <= 0 || target.height() <= 0)
        return;
    drawPicture(painter, target, roomPicturePath(pictureName));
}

QRect iconBox(const QPoint &topLeft)
{
    return QRect(topLeft, QSize(IconSize, IconSize));
}

bool iconBoxContains(const QPoint &topLeft, const QPoint &point)
{
    return point.x() >= topLeft.x() && point.x() <= topLeft.x() + IconSize - 1 && point.y() >= topLeft.y() &&
           point.y() <= topLeft.y() + IconSize - 1;
}

void drawIconCircle(QPainter &painter, const QRect &box, const QColor &color)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(box);
    painter.restore();
}

void drawPicture(QPainter &painter, const QRect &target, const QString &path)
{
    Pictures::draw(painter, target, path);
}

void drawIconText(QPainter &painter, const QRect &band, const QString &text, const QColor &color)
{
    painter.save();
    const QFont &font = QtMaterialStyle::instance().themeFont(Material::Overline);
    painter.setFont(font);
    painter.setPen(color);
    const QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, band.width());
    painter.drawText(band, Qt::AlignHCenter | Qt::AlignBottom | Qt::AlignVCenter, shown);
    painter.restore();
}

QString withPng(const QString &name)
{
    return name.contains(QLatin1String(".png")) ? name : name + QStringLiteral(".png");
}

} // namespace view3d
