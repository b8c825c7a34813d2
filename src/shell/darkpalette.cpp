#include "darkpalette.h"

#include <QPalette>
#include <QWidget>

void fillBackground(QWidget *widget, const QColor &color)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(color, Qt::SolidPattern));
    widget->setPalette(palette);
}
