#include "roundedpanel.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

void paintRoundedPanel(QWidget *widget)
{
    paintRoundedPanel(widget, QColor(0x1F, 0x29, 0x33));
}

void paintRoundedPanel(QWidget *widget, const QColor &fill)
{
    QPainter painter(widget);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, widget->width(), widget->height()), 10, 10, Qt::AbsoluteSize);
    painter.setClipPath(path);
    painter.setPen(fill);
    painter.setBrush(fill);
    painter.drawRect(widget->rect());
}
