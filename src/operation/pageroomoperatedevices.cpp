#include "pageroomoperatedevices.h"

#include "operation/borderlessboxstyle.h"
#include "operation/deviceitem.h"
#include "operation/occupationmaster.h"
#include "operation/occupationmasteritem.h"
#include "shell/refreshingctrl.h"
#include "shell/tilegrid.h"
#include "store/globals.h"

#include <QEvent>
#include <QGridLayout>
#include <QPixmap>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallabel.h>

namespace {

const QString SwitchOff = QStringLiteral(":/myImages/png/icon_checkbox_off.png");
const QString SwitchOn = QStringLiteral(":/myImages/png/icon_checkbox_on.png");

} // namespace

PageRoomOperateDevices::PageRoomOperateDevices(const QString &refreshTooltip, QWidget *parent)
    : MyWidget(parent)
{
    refreshingCtrl = new RefreshingCtrl(this);
    refreshingCtrl->hide();

    labelCheckBox = new QtMaterialLabel(this);
    labelCheckBox->setFixedSize(64, 36);
    labelCheckBox->setScaledContents(true);
    showSwitch(false);
    labelCheckBox->installEventFilter(this);

    occupationMasterItem = new OccupationMasterItem(36, 36, this);

    labelRefresh = new QtMaterialLabel(this);
    labelRefresh->setFixedSize(36, 36);
    labelRefresh->setScaledContents(true);
    labelRefresh->setPixmap(QPixmap(QStringLiteral(":/myImages/png/shuaxin.png")));
    labelRefresh->setToolTip(refreshTooltip);

    auto *canvas = new QtMaterialCanvas(this);
    groupBox = BorderlessBoxStyle::makeBox(canvas);

    auto *bar = new QGridLayout;
    bar->setSizeConstraint(QLayout::SetNoConstraint);
    bar->setSpacing(20);
    bar->addWidget(new QtMaterialLabel(tr("All Off"), this), 0, 0);
    bar->addWidget(labelCheckBox, 0, 1);
    bar->addWidget(new QtMaterialLabel(tr("All On"), this), 0, 2);
    bar->addWidget(occupationMasterItem, 0, 3);
    bar->setColumnStretch(4, 1);
    bar->setRowStretch(1, 1);

    auto *header = new QGridLayout;
    header->setSizeConstraint(QLayout::SetNoConstraint);
    header->setSpacing(20);
    header->addLayout(bar, 0, 0);
    header->addWidget(labelRefresh, 0, 1, Qt::AlignRight);
    header->setRowStretch(1, 1);

    auto *layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(refreshingCtrl, 0, 0);
    layout->addLayout(header, 1, 0);
    layout->addWidget(canvas, 2, 0);
    layout->setRowStretch(2, 1);

    connect(&finishTimer, &QTimer::timeout, this, &PageRoomOperateDevices::finishRefresh);
    connect(labelRefresh, &QtMaterialLabel::signalsPressed, this,
            &PageRoomOperateDevices::labelRefresh_pressed);
}

PageRoomOperateDevices::~PageRoomOperateDevices()
{
    finishTimer.stop();
}

void PageRoomOperateDevices::showSwitch(bool on)
{
    labelCheckBox->setPixmap(QPixmap(on ? SwitchOn : SwitchOff));
}

bool PageRoomOperateDevices::updatelist(int room_id)
{
    allStatus = 0;
    showSwitch(false);
    roomId = room_id;

    bool read = false;
    occupationMasterItem->setOccupationMaster(loadOccupationMaster(roomId, &read));

    const int columns = tileGridColumns(screen_cx, 0, CardWidth);
    if (!grid) {
        grid = new QGridLayout;
        grid->setSizeConstraint(QLayout::SetNoConstraint);
        grid->setHorizontalSpacing(tileGridSpacing(screen_cx, 0, CardWidth, columns));
        grid->setVerticalSpacing(CardSpacing);
    }
    // The cards of the previous fill go at once, and their timers with them.
    const QList<DeviceItem *> previous = cardList;
    cardList.clear();
    for (DeviceItem *card : previous) {
        grid->removeWidget(card);
        delete card;
    }

    if (read)
        cardList = makeCards(roomId, groupBox, read);
    if (!read) {
        // Nothing of a room read in part is shown, polled or switched.
        ::occupationMaster none;
        none.room_id = roomId;
        occupationMasterItem->setOccupationMaster(none);
    }
    for (int i = 0; i < cardList.size(); ++i)
        grid->addWidget(cardList.at(i), tileGridRow(i, columns), tileGridColumn(i, columns));
    setTileGridStretch(grid, cardList.size(), columns);
    if (groupBox->layout() != grid)
        groupBox->setLayout(grid);
    return read;
}

void PageRoomOperateDevices::startRefresh()
{
    finishTimer.stop();
    refreshingCtrl->startRefresh(refreshKey(roomId));
    occupationMasterItem->getStatus();
    for (int i = 0; i < cardList.size(); ++i)
        cardList.at(i)->getStatus(i * StaggerMs);
    finishTimer.start(DeviceItem::scaledInterval(CheckMs));
}

void PageRoomOperateDevices::finishRefresh()
{
    if (!isVisible()) {
        finishTimer.stop();
        return;
    }
    for (const DeviceItem *card : qAsConst(cardList)) {
        if (!card->status())
            return;
    }
    if (!occupationMasterItem->status())
        return;
    finishTimer.stop();
    refreshingCtrl->stopRefresh(true);
}

void PageRoomOperateDevices::labelRefresh_pressed()
{
    startRefresh();
}

bool PageRoomOperateDevices::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == labelCheckBox && event->type() == QEvent::MouseButtonPress) {
        allStatus = nextSwitchValue(allStatus);
        showSwitch(allStatus > 0);
        emitSwitch(allStatus);
    }
    return MyWidget::eventFilter(watched, event);
}
