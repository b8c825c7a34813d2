#include "pagedeviceoperate.h"

#include "bus/broadcastsocket.h"
#include "operation/borderlessboxstyle.h"
#include "operation/deviceitem.h"
#include "operation/roomitem.h"
#include "shell/refreshingctrl.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QEvent>
#include <QGridLayout>
#include <QPixmap>
#include <QStringList>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallabel.h>

namespace {

const QString SwitchOff = QStringLiteral(":/myImages/png/icon_checkbox_off.png");
const QString SwitchOn = QStringLiteral(":/myImages/png/icon_checkbox_on.png");

} // namespace

PageDeviceOperate::PageDeviceOperate(const QString &id, const QString &name, int kind,
                                     const char *deviceQuery, const QString &refreshKey,
                                     const QString &refreshTooltip, int onValue, QWidget *parent)
    : MyDialog(id, name, parent)
    , kind(kind)
    , deviceQuery(deviceQuery)
    , key(refreshKey)
    , onValue(onValue)
{
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));

    labelCheckBox = new QtMaterialLabel(this);
    labelCheckBox->setFixedSize(64, 36);
    labelCheckBox->setScaledContents(true);
    showSwitch(false);
    labelCheckBox->installEventFilter(this);

    labelRefresh = new QtMaterialLabel(this);
    labelRefresh->setFixedSize(36, 36);
    labelRefresh->setScaledContents(true);
    labelRefresh->setPixmap(QPixmap(QStringLiteral(":/myImages/png/shuaxin.png")));
    labelRefresh->setToolTip(refreshTooltip);

    refreshingCtrl = new RefreshingCtrl(this);
    refreshingCtrl->hide();

    auto *canvas = new QtMaterialCanvas(this);
    groupBox = BorderlessBoxStyle::makeBox(canvas);

    auto *switchGrid = new QGridLayout;
    switchGrid->setSizeConstraint(QLayout::SetNoConstraint);
    switchGrid->setSpacing(20);
    switchGrid->addWidget(new QtMaterialLabel(tr("All Off"), this), 0, 0);
    switchGrid->addWidget(labelCheckBox, 0, 1);
    switchGrid->addWidget(new QtMaterialLabel(tr("All On"), this), 0, 2);
    switchGrid->setColumnStretch(3, 1);
    switchGrid->setRowStretch(1, 1);

    auto *header = new QGridLayout;
    header->setSizeConstraint(QLayout::SetNoConstraint);
    header->setSpacing(20);
    header->addLayout(switchGrid, 0, 0);
    header->addWidget(labelRefresh, 0, 1, Qt::AlignRight);
    header->setRowStretch(1, 1);

    auto *layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(refreshingCtrl, 0, 0);
    layout->addLayout(header, 1, 0);
    layout->addWidget(canvas, 2, 0);
    layout->setRowStretch(2, 1);

    connect(labelRefresh, &QtMaterialLabel::signalsPressed, this, &PageDeviceOperate::labelRefresh_pressed);
    connect(&finishTimer, &QTimer::timeout, this, &PageDeviceOperate::finishRefresh);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this, &PageDeviceOperate::slotsPageEnter);
}

PageDeviceOperate::~PageDeviceOperate()
{
    finishTimer.stop();
}

void PageDeviceOperate::showSwitch(bool on)
{
    labelCheckBox->setPixmap(QPixmap(on ? SwitchOn : SwitchOff));
}

bool PageDeviceOperate::updatelist()
{
    if (!grid) {
        grid = new QGridLayout;
        grid->setSizeConstraint(QLayout::SetNoConstraint);
        grid->setSpacing(20);
    }
    // The blocks of the previous fill go at once, and every card's timer with them.
    const QList<RoomItem *> previous = rooms;
    rooms.clear();
    for (RoomItem *room : previous) {
        grid->removeWidget(room);
        delete room;
    }
    for (int row = 0; row < grid->rowCount(); ++row)
        grid->setRowStretch(row, 0);

    QStringList roomIds;
    bool read = getValuesFromDb(
                    QStringLiteral("select * from tbl_room order by region_id asc,floor_id asc,room_id asc"),
                    QStringLiteral("room_id"), roomIds) >= 0;
    for (const QString &roomId : qAsConst(roomIds)) {
        const int id = roomId.toInt();
        if (!read || !isRecordExist(QString::asprintf(deviceQuery, id), &read))
            continue;
        // Made in its box: the block takes its style once, not again after a move.
        auto *room = new RoomItem(id, kind, groupBox);
        grid->addWidget(room, rooms.size(), 0);
        rooms.append(room);
        read = room->isLoaded();
    }
    if (!read) {
        // No block of a list read in part: nothing is polled or switched.
        for (RoomItem *room : qAsConst(rooms)) {
            grid->removeWidget(room);
            delete room;
        }
        rooms.clear();
    }
    grid->setRowStretch(rooms.size(), 1);
    if (groupBox->layout() != grid)
        groupBox->setLayout(grid);
    return read;
}

void PageDeviceOperate::slotsPageEnter()
{
    if (!isVisible())
        return;
    allStatus = 0;
    showSwitch(false);
    if (!updatelist()) {
        emit gl_socket.signalsInformation(tr("Failed to read the devices!"));
        return;
    }
    startRefresh();
}

void PageDeviceOperate::startRefresh()
{
    finishTimer.stop();
    refreshingCtrl->startRefresh(key);
    for (int k = 0; k < rooms.size(); ++k)
        rooms.at(k)->getStatus(k * StaggerMs);
    finishTimer.start(DeviceItem::scaledInterval(CheckMs));
}

void PageDeviceOperate::finishRefresh()
{
    if (!isVisible()) {
        finishTimer.stop();
        return;
    }
    for (const RoomItem *room : qAsConst(rooms)) {
        if (!room->status())
            return;
    }
    finishTimer.stop();
    refreshingCtrl->stopRefresh(true);
}

void PageDeviceOperate::labelRefresh_pressed()
{
    startRefresh();
}

void PageDeviceOperate::emitSwitch(int value)
{
    if (kind == RoomItem::KindLights)
        emit gl_socket.signalsLightStatus(value);
    else
        emit gl_socket.signalsACStatus(value);
}

bool PageDeviceOperate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == labelCheckBox && event->type() == QEvent::MouseButtonPress) {
        allStatus = allStatus > 0 ? 0 : onValue;
        showSwitch(allStatus > 0);
        emitSwitch(allStatus);
    }
    return MyDialog::eventFilter(watched, event);
}
