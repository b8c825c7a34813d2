#include "iconstyleitem.h"

#include <QGridLayout>
#include <QPainter>
#include <QPixmap>
#include <qtmateriallabel.h>

IconStyleItem::IconStyleItem(int itemStyle, QWidget *parent)
    : DynamicWidget(QColor(0x1F, 0x29, 0x33), parent)
    , style(itemStyle)
{
    auto *icon = new QtMaterialLabel(this);
    icon->setFixedSize(24, 24);
    icon->setScaledContents(true);
    icon->setPixmap(QPixmap(iconPath(style)));

    auto *label = new QtMaterialLabel(text(style), this);
    label->setFontType(Material::Body1);

    auto *grid = new QGridLayout(this);
    grid->setSpacing(20);
    // The 40-pixel row leaves no room for the default margins above and below the
    // text: the icon and the text take its middle 28 pixels.
    grid->setContentsMargins(20, 6, 11, 6);
    grid->setVerticalSpacing(0);
    grid->addWidget(icon, 0, 0);
    grid->addWidget(label, 0, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(1, 1);

    setFixedHeight(40);
    connect(this, &DynamicWidget::signalsPressed, this, &IconStyleItem::slotsPressed);
}

QString IconStyleItem::iconPath(int style)
{
    return style == 1 ? QStringLiteral(":/myImages/png/icon_image_add.png")
                      : QStringLiteral(":/myImages/png/icon_image_default.png");
}

QString IconStyleItem::text(int style)
{
    return style == 1 ? tr("Add From Gallery") : tr("Select Image");
}

void IconStyleItem::slotsPressed()
{
    emit signalsIconStyleChanged(style);
}

void IconStyleItem::paintEvent(QPaintEvent *event)
{
    DynamicWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(Qt::lightGray);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
}
