#include "colorlabel.h"

#include <QPainter>
#include <qtmaterialstyle.h>

ColorLabel::ColorLabel(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(40, 40);
}

void ColorLabel::setBackgroundColor(QColor color)
{
    background = color;
    update();
}

void ColorLabel::setTextColor(QColor color)
{
    foreground = color;
    update();
}

void ColorLabel::setText(QString text)
{
    label = text;
    update();
}

void ColorLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawEllipse(rect());
    if (label.isEmpty())
        return;
    const QFont font = QtMaterialStyle::instance().themeFont(Material::Body1);
    painter.setFont(font);
    painter.setPen(foreground);
    const QString shown = QFontMetrics(font).elidedText(label, Qt::ElideRight, width());
    painter.drawText(rect(), Qt::AlignCenter, shown);
}
