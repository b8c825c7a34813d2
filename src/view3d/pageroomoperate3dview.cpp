#include "pageroomoperate3dview.h"

#include "bus/broadcastsocket.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "view3d/pageroomoperate3dviewlighting.h"

#include <QGridLayout>
#include <qtmaterialtabs.h>

PageRoomOperate3DView::PageRoomOperate3DView(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    setObjectName(QStringLiteral("PageRoomOperate3DView"));
    tabs = new QtMaterialTabs(this);
    pageLighting = new PageRoomOperate3DViewLighting(this);
    pageLighting->hide();

    auto *layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setSpacing(20);
    layout->addWidget(pageLighting, 0, 0);
    layout->addWidget(tabs, 1, 0);
    layout->setRowStretch(0, 1);

    connect(tabs, &QtMaterialTabs::currentChanged, this, &PageRoomOperate3DView::currentChanged);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this,
            [this](const QString &room, const QString &) { slotsPageEnter(room); });
}

void PageRoomOperate3DView::slotsPageEnter(QString room)
{
    if (!isVisible())
        return;
    roomId = room.toInt();
    tabs->clear();
    bool read = false;
    if (isRecordExist(QString::asprintf("select id from tbl_light where room_id=%d and (rgb=0 or rgb=1) and "
                                        "subnet_id >0 and device_id >0",
                                        roomId),
                      &read) &&
        pageLighting->updatelist(roomId)) {
        tabs->addTab(QStringLiteral(":/myImages/png/edit_room/icon-room-lighting.png"), tr("Lighting"));
    } else {
        pageLighting->hide();
        if (!read)
            emit gl_socket.signalsInformation(tr("Failed to read the devices!"));
    }
    if (tabs->count() > 0)
        tabs->setCurrentIndex(0);
    tabs->setVisible(tabs->count() > 0);
}

void PageRoomOperate3DView::currentChanged(int index)
{
    emit gl_socket.signalsStopRefresh(false);
    const bool shown = tabs->tabText(index) == tr("Lighting");
    pageLighting->setVisible(shown);
    if (shown)
        pageLighting->startRefresh();
}
