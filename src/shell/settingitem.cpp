#include "settingitem.h"

#include "pictures.h"

#include "bus/broadcastsocket.h"
#include "store/globals.h"

#include <QImage>
#include <QPainter>
#include <qtmaterialstyle.h>

SettingItem::SettingItem(const QString &itemTitle, const QString &itemImagePath, int itemImageWidth,
                         int itemImageHeight, int width, int height, QWidget *parent)
    : DynamicWidget(QColor(0x3D, 0x53, 0x66), parent)
    , title(itemTitle)
    , imagePath(itemImagePath)
    , imageWidth(itemImageWidth)
    , imageHeight(itemImageHeight)
{
    setFixedSize(width, height);
    connect(this, &DynamicWidget::signalsPressed, this, &SettingItem::slotsPressed);
}

void SettingItem::slotsPressed()
{
    emit gl_socket.signalsPageIdChanged(getPageId(), title, QString(), QString());
}

void SettingItem::paintEvent(QPaintEvent *event)
{
    DynamicWidget::paintEvent(event);

    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    Pictures::draw(painter, QRect((w - imageWidth) / 2, (h - imageHeight - 30) / 2, imageWidth, imageHeight),
                   imagePath);

    painter.setBrush(Qt::NoBrush);
    painter.setFont(QtMaterialStyle::instance().themeFont(Material::Body1));
    painter.setPen(Qt::white);
    const QString text = painter.fontMetrics().elidedText(title, Qt::ElideRight, w);
    painter.drawText(QRect(0, h - 31, w, 20), Qt::AlignHCenter | Qt::AlignVCenter | Qt::AlignBottom, text);
}
