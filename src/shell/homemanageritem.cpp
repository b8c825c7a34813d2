#include "homemanageritem.h"

#include "store/roomnames.h"

#include "bus/broadcastsocket.h"
#include "shell/homemanager3dviewiconitem.h"
#include "shell/homemanagerroomsiconitem.h"
#include "shell/manageritem.h"
#include "shell/roundedpanel.h"
#include "shell/tilegrid.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"

#include <QGridLayout>
#include <QSqlQuery>
#include <QVariant>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

HomeManagerItem::HomeManagerItem(QWidget *parent)
    : QWidget(parent)
{
    groupBoxRooms = new QtMaterialGroupBox(QString(), nullptr);
    groupBoxRooms->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));

    auto *canvas = new QtMaterialCanvas(Qt::Horizontal, this);
    canvas->setWidget(groupBoxRooms);
    canvas->setWidgetResizable(true);
    // The canvas paints the background; the box only holds the grid.
    groupBoxRooms->setAutoFillBackground(false);

    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->addWidget(new HomeManager3DViewIconItem(this), 0, 0);
    grid->addWidget(new HomeManagerRoomsIconItem(this), 1, 0);
    grid->addWidget(canvas, 0, 1, 2, 1);
    grid->setColumnStretch(1, 1);

    setFixedHeight(300);

    connect(&gl_socket, &BroadcastSocket::signalsProjectStateChanged, this,
            &HomeManagerItem::slotsProjectStateChanged);
}

QGridLayout *HomeManagerItem::roomsGrid() const
{
    return qobject_cast<QGridLayout *>(groupBoxRooms->layout());
}

QString HomeManagerItem::roomDisplayName(int regionId, int floorId, const QString &roomName)
{
    return roomTitle(regionId, floorId, roomName);
}

void HomeManagerItem::slotsProjectStateChanged()
{
    updatelist();
}

void HomeManagerItem::updatelist()
{
    const int columns = tileGridColumns(screen_cx, ReservedWidth, RoomTileWidth);

    QGridLayout *grid = roomsGrid();
    const bool fresh = grid == nullptr;
    if (fresh) {
        grid = new QGridLayout;
        grid->setSizeConstraint(QLayout::SetNoConstraint);
        grid->setHorizontalSpacing(tileGridSpacing(screen_cx, ReservedWidth, RoomTileWidth, columns));
        grid->setVerticalSpacing(20);
    } else {
        const QList<ManagerItem *> old = groupBoxRooms->findChildren<ManagerItem *>();
        for (ManagerItem *item : old) {
            grid->removeWidget(item);
            item->hide();
            item->deleteLater();
        }
    }

    int tiles = 0;
    QSqlQuery query = gl_sqlite3db.execQuery(
        QStringLiteral("select * from tbl_room order by region_id asc,floor_id asc,room_id asc"));
    while (query.next()) {
        const QString roomName = query.value(QStringLiteral("room_name")).toString();
        const QString iconName = query.value(QStringLiteral("icon_name")).toString();
        const int roomId = query.value(QStringLiteral("room_id")).toInt();
        const int floorId = query.value(QStringLiteral("floor_id")).toInt();
        const int regionId = query.value(QStringLiteral("region_id")).toInt();

        auto *item =
            new ManagerItem(ManagerItemRoom, roomId, roomDisplayName(regionId, floorId, roomName), iconName,
                            false, QColor(0x1F, 0x29, 0x33), RoomTileWidth, RoomTileHeight, nullptr);
        connect(item, &ManagerItem::signalsEdit, this, &HomeManagerItem::slotsEdit);
        grid->addWidget(item, tileGridRow(tiles, columns), tileGridColumn(tiles, columns));
        ++tiles;
    }
    query.finish();

    setTileGridStretch(grid, tiles, columns);

    if (fresh)
        groupBoxRooms->setLayout(grid);
}

void HomeManagerItem::slotsEdit(int type, int id)
{
    if (type != ManagerItemRoom)
        return;
    QSqlQuery room = gl_sqlite3db.execQuery(
        QStringLiteral("select * from tbl_room where room_id=%1").arg(id));
    if (!room.next())
        return;
    const QString roomName = room.value(QStringLiteral("room_name")).toString();
    const int regionId = room.value(QStringLiteral("region_id")).toInt();
    const int floorId = room.value(QStringLiteral("floor_id")).toInt();
    room.finish();
    emit gl_socket.signalsPageIdChanged(tr("Operate Room"), roomDisplayName(regionId, floorId, roomName),
                                        QString::number(id), QStringLiteral("1"));
}

void HomeManagerItem::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this, QColor(0x3D, 0x53, 0x66));
    QWidget::paintEvent(event);
}
