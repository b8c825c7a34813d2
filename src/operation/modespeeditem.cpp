#include "modespeeditem.h"

#include "shell/pictures.h"

#include <QImage>
#include <QPainter>
#include <qtmaterialstyle.h>

ModeSpeedItem::ModeSpeedItem(int itemKind, int itemValue, QString itemCaption, QWidget *parent)
    : DynamicWidget(QColor(0x1F, 0x29, 0x33), parent)
    , kind(itemKind)
    , value(itemValue)
    , caption(std::move(itemCaption))
{
    drawEllipse(true);
    setFixedSize(Size, Size);
    connect(this, &DynamicWidget::signalsPressed, this, &ModeSpeedItem::slotsPressed);
}

void ModeSpeedItem::setValue(int newValue)
{
    value = newValue;
    update();
}

void ModeSpeedItem::slotsPressed()
{
    emit signalsEdit(value);
}

QString ModeSpeedItem::picturePath(int kind, int value)
{
    static const char *const speeds[] = {"icon-fan-auto.png", "icon-fan-high.png", "icon-fan-medium.png",
                                         "icon-fan-low.png"};
    static const char *const modes[] = {"icon-acmode-cool.png", "icon-acmode-heat.png",
                                        "icon-acmode-fan.png", "icon-acmode-auto.png"};
    const int index = value >= 0 && value <= 3 ? value : 0;
    const char *name = kind == 1 ? speeds[index] : modes[index];
    return tr(":/myImages/png/airConditioner/%1").arg(QLatin1String(name));
}

QRect ModeSpeedItem::pictureRect(int w, int h, bool withCaption)
{
    const int side = withCaption ? 36 : 48;
    return QRect((w - side) / 2, (h - side) / 2, side, side);
}

void ModeSpeedItem::paintEvent(QPaintEvent *event)
{
    DynamicWidget::paintEvent(event);

    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    Pictures::draw(painter, pictureRect(w, h, !caption.isEmpty()), picturePath(kind, value));

    if (caption.isEmpty())
        return;
    painter.setBrush(Qt::NoBrush);
    painter.setFont(QtMaterialStyle::instance().themeFont(Material::Body1));
    painter.setPen(Qt::white);
    const QString text = painter.fontMetrics().elidedText(caption, Qt::ElideRight, w);
    painter.drawText(QRect(0, h - 21, w, 20), Qt::AlignHCenter | Qt::AlignBottom | Qt::AlignVCenter, text);
}
