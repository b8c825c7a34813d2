#include "pagerooms.h"

#include "bus/broadcastsocket.h"
#include "shell/framedialog.h"
#include "shell/manageritem.h"
#include "shell/tilegrid.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/roomnames.h"

#include <QGridLayout>
#include <QSqlQuery>
#include <QVBoxLayout>
#include <QVariant>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

PageRooms::PageRooms(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageRooms"));
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));

    groupBox = fillWithCanvasBox(this);

    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this, &PageRooms::slotsPageEnter);
}

void PageRooms::updatelist()
{
    const int columns = tileGridColumns(screen_cx, 0, TileWidth);
    const int spacing = tileGridSpacing(screen_cx, 0, TileWidth, columns);
    if (!grid) {
        grid = new QGridLayout;
        grid->setSizeConstraint(QLayout::SetNoConstraint);
        grid->setHorizontalSpacing(spacing);
        grid->setVerticalSpacing(20);
    } else {
        for (ManagerItem *tile : groupBox->findChildren<ManagerItem *>()) {
            grid->removeWidget(tile);
            delete tile;
        }
    }

    QSqlQuery query = gl_sqlite3db.execQuery(
        QStringLiteral("select * from tbl_room order by region_id asc,floor_id asc,room_id asc"));
    int placed = 0;
    while (query.next()) {
        const QString roomName = query.value(QStringLiteral("room_name")).toString();
        const QString iconName = query.value(QStringLiteral("icon_name")).toString();
        const int roomId = query.value(QStringLiteral("room_id")).toInt();
        const int floorId = query.value(QStringLiteral("floor_id")).toInt();
        const int regionId = query.value(QStringLiteral("region_id")).toInt();
        auto *tile = new ManagerItem(2, roomId, roomTitle(regionId, floorId, roomName), iconName, false,
                                     QColor(0x1F, 0x29, 0x33), TileWidth, TileHeight, nullptr);
        connect(tile, &ManagerItem::signalsEdit, this, &PageRooms::slotsEdit);
        grid->addWidget(tile, tileGridRow(placed, columns), tileGridColumn(placed, columns));
        ++placed;
    }
    query.finish();
    setTileGridStretch(grid, placed, columns);
    if (groupBox->layout() != grid)
        groupBox->setLayout(grid);
}

void PageRooms::slotsPageEnter()
{
    if (isVisible())
        updatelist();
}

void PageRooms::slotsEdit(int type, int id)
{
    if (type != 2)
        return;
    // One query for the three columns of the room's row.
    QSqlQuery room = gl_sqlite3db.execQuery(QString::asprintf("select * from tbl_room where room_id=%d", id));
    if (!room.next())
        return;
    const QString roomName = room.value(QStringLiteral("room_name")).toString();
    const int regionId = room.value(QStringLiteral("region_id")).toInt();
    const int floorId = room.value(QStringLiteral("floor_id")).toInt();
    room.finish();
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Operate Room"),
                                        roomTitle(regionId, floorId, roomName), QString::number(id),
                                        QStringLiteral("1"));
}
