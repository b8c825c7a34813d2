#include "homemanager3dviewiconitem.h"

#include "bus/broadcastsocket.h"
#include "shell/hometilepainter.h"
#include "store/globals.h"

HomeManager3DViewIconItem::HomeManager3DViewIconItem(QWidget *parent)
    : DynamicWidget(QColor(0x3D, 0x53, 0x66), parent)
{
    setFixedSize(128, 128);
    connect(this, &DynamicWidget::signalsPressed, this, &HomeManager3DViewIconItem::slotsPressed);
}

QString HomeManager3DViewIconItem::text()
{
    return tr("3D View");
}

QString HomeManager3DViewIconItem::picture()
{
    return tr(":/myImages/png/settings/icon-settings-3dview.png");
}

void HomeManager3DViewIconItem::slotsPressed()
{
    emit gl_socket.signalsPageIdChanged(text(), text(), QString(), QString());
}

void HomeManager3DViewIconItem::paintEvent(QPaintEvent *event)
{
    DynamicWidget::paintEvent(event);
    paintHomeTile(this, picture(), text());
}
