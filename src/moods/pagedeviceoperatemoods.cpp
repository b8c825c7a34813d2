#include "pagedeviceoperatemoods.h"

#include "bus/broadcastsocket.h"
#include "moods/mood.h"
#include "moods/mooditem.h"
#include "operation/borderlessboxstyle.h"
#include "operation/roomitem.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QGridLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

void PageDeviceOperateMoods::installMoodTiles()
{
    RoomItem::setMoodTileMaker([](int roomId, QWidget *parent) {
        QList<QWidget *> tiles;
        for (const mood &m : loadRoomMoods(roomId))
            tiles.append(new MoodItem(m, parent));
        return tiles;
    });
}

PageDeviceOperateMoods::PageDeviceOperateMoods(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    installMoodTiles();
    auto *canvas = new QtMaterialCanvas(this);
    groupBox = BorderlessBoxStyle::makeBox(canvas);
    auto *layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(canvas, 0, 0);
    layout->setRowStretch(0, 1);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this, &PageDeviceOperateMoods::slotsPageEnter);
}

void PageDeviceOperateMoods::slotsPageEnter()
{
    if (isVisible())
        updatelist();
}

void PageDeviceOperateMoods::updatelist()
{
    if (!grid) {
        grid = new QGridLayout;
        grid->setSizeConstraint(QLayout::SetNoConstraint);
        grid->setSpacing(20);
        groupBox->setLayout(grid);
    } else {
        for (RoomItem *block : qAsConst(blocks)) {
            grid->removeWidget(block);
            block->hide();
            block->deleteLater();
        }
        blocks.clear();
        for (int row = 0; row < grid->rowCount(); ++row)
            grid->setRowStretch(row, 0);
    }

    const QString rooms =
        QStringLiteral("select * from tbl_room order by region_id asc,floor_id asc,room_id asc");
    QStringList ids;
    if (isRecordExist(rooms))
        getValuesFromDb(rooms, QStringLiteral("room_id"), ids);
    int k = 0;
    for (const QString &id : qAsConst(ids)) {
        const int roomId = id.toInt();
        if (!isRecordExist(
                QString::asprintf("select * from tbl_mood where room_id=%d order by mood_id asc", roomId)))
            continue;
        auto *block = new RoomItem(roomId, RoomItem::KindMoods, nullptr);
        blocks.append(block);
        grid->addWidget(block, k++, 0);
    }
    grid->setRowStretch(k, 1);
}
