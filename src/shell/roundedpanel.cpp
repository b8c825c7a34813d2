#include "roundedpanel.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

void paintRoundedPanel(QWidget *widget)
{
    QPainter painter(widget);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, widget->width(), widget->height()), 10, 10, Qt::AbsoluteSize);
    painter.setClipPath(path);
    const QColor panel(0x1F, 0x29, 0x33);
    painter.setPen(panel);
    painter.setBrush(panel);
    painter.drawRect(widget->rect());
}
