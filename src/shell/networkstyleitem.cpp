#include "networkstyleitem.h"

#include "pictures.h"

#include <QImage>
#include <QPainter>
#include <qtmaterialstyle.h>

NetworkStyleItem::NetworkStyleItem(NetStyle itemStyle, bool itemSelected, QWidget *parent)
    : DynamicWidget(QColor(0x1F, 0x29, 0x33), parent)
    , style(itemStyle)
    , selected(itemSelected)
{
    setFixedHeight(40);
    connect(this, &DynamicWidget::signalsPressed, this, &NetworkStyleItem::slotsPressed);
}

QString NetworkStyleItem::iconPath(int style)
{
    switch (style) {
    case NetStyleCloudServer:
        return QStringLiteral(":/myImages/png/network/icon-connection-cloudserver.png");
    case NetStyleDnsServer:
        return QStringLiteral(":/myImages/png/network/icon-connection-dnsserver.png");
    default:
        return QStringLiteral(":/myImages/png/network/icon-connection-localnetwork.png");
    }
}

QString NetworkStyleItem::text(int style)
{
    switch (style) {
    case NetStyleCloudServer:
        return tr("Cloud Server");
    case NetStyleDnsServer:
        return tr("DNS Server");
    default:
        return tr("Local Network");
    }
}

void NetworkStyleItem::slotsPressed()
{
    emit signalsNetworkChanged(style);
}

void NetworkStyleItem::paintEvent(QPaintEvent *event)
{
    DynamicWidget::paintEvent(event);

    const int w = width();
    const int h = height();
    const int y = (h - 24) / 2;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    Pictures::draw(painter, QRect(20, y, 24, 24), iconPath(style));
    if (selected)
        Pictures::draw(painter, QRect(w - 41, y, 24, 24), QStringLiteral(":/myImages/png/selected.png"));

    painter.setBrush(Qt::NoBrush);
    painter.setFont(QtMaterialStyle::instance().themeFont(Material::Body1));
    painter.setPen(Qt::white);
    const QString caption = painter.fontMetrics().elidedText(text(style), Qt::ElideRight, w);
    painter.drawText(QRect(60, 0, w, h), Qt::AlignLeft | Qt::AlignVCenter, caption);

    // The separator stays one crisp pixel row.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::lightGray);
    painter.drawLine(0, h - 1, w - 1, h - 1);
}
