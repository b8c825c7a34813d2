#include "homemanagerroomsiconitem.h"

#include "bus/broadcastsocket.h"
#include "shell/hometilepainter.h"
#include "store/globals.h"

HomeManagerRoomsIconItem::HomeManagerRoomsIconItem(QWidget *parent)
    : DynamicWidget(QColor(0x3D, 0x53, 0x66), parent)
{
    setFixedSize(128, 128);
    connect(this, &DynamicWidget::signalsPressed, this, &HomeManagerRoomsIconItem::slotsPressed);
}

QString HomeManagerRoomsIconItem::text()
{
    return tr("Rooms");
}

QString HomeManagerRoomsIconItem::picture()
{
    return tr(":/myImages/png/settings/icon-settings-roomsmanager.png");
}

void HomeManagerRoomsIconItem::slotsPressed()
{
    emit gl_socket.signalsPageIdChanged(text(), text(), QString(), QString());
}

void HomeManagerRoomsIconItem::paintEvent(QPaintEvent *event)
{
    DynamicWidget::paintEvent(event);
    paintHomeTile(this, picture(), text());
}
