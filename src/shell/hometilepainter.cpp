#include "hometilepainter.h"

#include "pictures.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <QWidget>
#include <qtmaterialstyle.h>

void paintHomeTile(QWidget *tile, const QString &picture, const QString &text)
{
    const int w = tile->width();
    const int h = tile->height();
    QPainter painter(tile);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    Pictures::draw(painter, QRect((w - 96) / 2, (h - 116) / 2, 96, 96), picture, tile);

    painter.setBrush(Qt::NoBrush);
    painter.setFont(QtMaterialStyle::instance().themeFont(Material::Body1));
    painter.setPen(Qt::white);
    const QString caption = painter.fontMetrics().elidedText(text, Qt::ElideRight, w);
    painter.drawText(QRect(0, h - 21, w, 20), Qt::AlignHCenter | Qt::AlignVCenter | Qt::AlignBottom,
                     caption);
}
