#include "pageroomoperate3dviewlighting.h"

#include "bus/broadcastsocket.h"
#include "operation/occupationmaster.h"
#include "operation/occupationmasteritem.h"
#include "shell/refreshingctrl.h"
#include "store/globals.h"
#include "view3d/light3dviewitem.h"

#include <QGridLayout>
#include <QPixmap>
#include <qtmateriallabel.h>

PageRoomOperate3DViewLighting::PageRoomOperate3DViewLighting(QWidget *parent)
    : MyWidget(parent)
{
    refreshingCtrl = new RefreshingCtrl(this);
    refreshingCtrl->hide();
    occupationMasterItem = new OccupationMasterItem(36, 36, this);
    labelRefresh = new QtMaterialLabel(this);
    labelRefresh->setFixedSize(36, 36);
    labelRefresh->setScaledContents(true);
    labelRefresh->setPixmap(QPixmap(QStringLiteral(":/myImages/png/shuaxin.png")));
    labelRefresh->setToolTip(tr("Refresh All Ligths Information"));
    light3DView = new Light3DViewItem(this);

    auto *header = new QGridLayout;
    header->setSizeConstraint(QLayout::SetNoConstraint);
    header->setSpacing(20);
    header->addWidget(occupationMasterItem, 0, 0);
    header->addWidget(labelRefresh, 0, 1, Qt::AlignRight);
    header->setRowStretch(1, 1);

    auto *layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(refreshingCtrl, 0, 0);
    layout->addLayout(header, 1, 0);
    layout->addWidget(light3DView, 2, 0);
    layout->setRowStretch(2, 1);

    connect(labelRefresh, &QtMaterialLabel::signalsPressed, this,
            &PageRoomOperate3DViewLighting::labelRefresh_pressed);
    connect(&finishTimer, &QTimer::timeout, this, &PageRoomOperate3DViewLighting::finishRefresh);
}

PageRoomOperate3DViewLighting::~PageRoomOperate3DViewLighting()
{
    finishTimer.stop();
}

QString PageRoomOperate3DViewLighting::refreshKey(int roomId)
{
    return QString::asprintf("%d_lighting", roomId);
}

bool PageRoomOperate3DViewLighting::updatelist(int room)
{
    roomId = room;
    bool read = false;
    occupationMasterItem->setOccupationMaster(loadOccupationMaster(roomId, &read));
    if (!read) {
        // Nothing of a room read in part is shown, polled or switched.
        light3DView->clear();
        emit gl_socket.signalsInformation(tr("Failed to read the devices!"));
        return false;
    }
    if (light3DView->updatelist(roomId))
        return true;
    ::occupationMaster none;
    none.room_id = roomId;
    occupationMasterItem->setOccupationMaster(none);
    return false;
}

void PageRoomOperate3DViewLighting::startRefresh()
{
    finishTimer.stop();
    refreshingCtrl->startRefresh(refreshKey(roomId));
    occupationMasterItem->getStatus();
    light3DView->startRefresh();
    finishTimer.start(CheckMs);
}

void PageRoomOperate3DViewLighting::labelRefresh_pressed()
{
    startRefresh();
}

void PageRoomOperate3DViewLighting::finishRefresh()
{
    if (!isVisible()) {
        finishTimer.stop();
        return;
    }
    if (light3DView->status() && occupationMasterItem->status()) {
        finishTimer.stop();
        refreshingCtrl->stopRefresh(true);
    }
}
