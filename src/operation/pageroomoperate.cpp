#include "pageroomoperate.h"

#include "bus/broadcastsocket.h"
#include "operation/pageroomoperateac.h"
#include "operation/pageroomoperatefloorheat.h"
#include "operation/pageroomoperatelighting.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QGridLayout>
#include <qtmaterialtabs.h>

PageRoomOperate::PageRoomOperate(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageRoomOperate"));
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));

    tabs = new QtMaterialTabs(this);
    pageLighting = new PageRoomOperateLighting(this);
    pageLighting->hide();
    pageAC = new PageRoomOperateAC(this);
    pageAC->hide();
    pageFloorHeat = new PageRoomOperateFloorHeat(this);
    pageFloorHeat->hide();

    auto *layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setSpacing(20);
    layout->addWidget(pageLighting, 0, 0);
    layout->addWidget(pageAC, 0, 0);
    layout->addWidget(pageFloorHeat, 0, 0);
    layout->addWidget(tabs, 1, 0);
    layout->setRowStretch(0, 1);

    connect(tabs, &QtMaterialTabs::currentChanged, this, &PageRoomOperate::currentChanged);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this, &PageRoomOperate::slotsPageEnter);
}

void PageRoomOperate::setMoodsTab(MyWidget *tab, std::function<void(int)> updatelist)
{
    pageMoods = tab;
    moodsUpdatelist = std::move(updatelist);
    pageMoods->setParent(this);
    pageMoods->hide();
    if (auto *grid = qobject_cast<QGridLayout *>(layout()))
        grid->addWidget(pageMoods, 0, 0);
}

QList<PageRoomOperate::TabKind> PageRoomOperate::tabKinds() const
{
    auto fill = [](PageRoomOperateDevices *tab) {
        return [tab](int room) { return tab->updatelist(room); };
    };
    QList<TabKind> kinds = {
        {tr("Lighting"), tr(":/myImages/png/edit_room/icon-room-lighting.png"), pageLighting,
         fill(pageLighting),
         "select id from tbl_light where room_id=%d and (rgb=0 or rgb=1) and subnet_id >0 and device_id >0"},
        {tr("AC"), tr(":/myImages/png/edit_room/icon-room-ac.png"), pageAC, fill(pageAC),
         "select id from tbl_air_conditioner where room_id=%d and air_conditioner_no<=1 "
         "order by air_conditioner_no asc"},
        {tr("Floor Heat"), tr(":/myImages/png/edit_room/icon-room-floorheat.png"), pageFloorHeat,
         fill(pageFloorHeat),
         "select id from tbl_air_conditioner where room_id=%d and air_conditioner_no>1 "
         "order by air_conditioner_no asc"},
    };
    if (pageMoods)
        kinds.append({tr("Moods"), tr(":/myImages/png/edit_room/icon-room-moods.png"), pageMoods,
                      [fill = moodsUpdatelist](int room) {
                          fill(room);
                          return true;
                      },
                      "select id from tbl_mood where room_id=%d order by mood_id asc"});
    return kinds;
}

void PageRoomOperate::slotsPageEnter(QString room, QString resetTabs)
{
    if (!isVisible())
        return;
    roomId = room.toInt();
    if (resetTabs.toInt() > 0) {
        tabs->clear();
        bool read = true;
        for (const TabKind &kind : tabKinds()) {
            bool found = false;
            if (read)
                found = isRecordExist(QString::asprintf(kind.query, roomId), &read);
            if (read && found) {
                tabs->addTab(kind.icon, kind.title);
                read = kind.updatelist(roomId);
            } else {
                kind.widget->hide();
            }
        }
        if (!read) {
            // No tab of a room read in part: nothing is polled or switched.
            tabs->clear();
            for (const TabKind &kind : tabKinds())
                kind.widget->hide();
            emit gl_socket.signalsInformation(tr("Failed to read the devices!"));
        }
        if (tabs->count() > 0)
            tabs->setCurrentIndex(0);
    }
    tabs->setVisible(tabs->count() > 0);
}

void PageRoomOperate::currentChanged(int index)
{
    emit gl_socket.signalsStopRefresh(false);
    const QString text = tabs->tabText(index);
    for (const TabKind &kind : tabKinds()) {
        const bool shown = text == kind.title;
        kind.widget->setVisible(shown);
        if (shown)
            kind.widget->startRefresh();
    }
}
