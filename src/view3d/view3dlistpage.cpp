#include "view3dlistpage.h"

#include "bus/broadcastsocket.h"
#include "shell/framedialog.h"
#include "shell/manageritem.h"
#include "shell/tilegridfill.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/roomnames.h"

#include <QSqlQuery>
#include <QVBoxLayout>
#include <QVariant>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

namespace {

const QString DefaultPicture = QStringLiteral("3d_view_01");

// The room's picture name into name; a room without a row gets the default one.
// False when the row could not be read or the new one not stored.
bool pictureOfRoom(int roomId, QString &name)
{
    const QString sql =
        QString::asprintf("select icon_name from tbl_3d_view_manager where room_id=%d", roomId);
    name = DefaultPicture;
    bool read = false;
    if (isRecordExist(sql, &read)) {
        getTextFromDb(sql, QStringLiteral("icon_name"), name);
        return true;
    }
    // A row that could not be read may be there: no second one.
    if (!read)
        return false;
    return gl_sqlite3db.execDML(
        QStringLiteral("insert into tbl_3d_view_manager(icon_name,room_id) values('%1',%2)")
            .arg(sqlText(DefaultPicture))
            .arg(roomId));
}

} // namespace

View3DListPage::View3DListPage(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    groupBox = fillWithCanvasBox(this);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this, &View3DListPage::slotsPageEnter);
}

void View3DListPage::updatelist()
{
    QList<QWidget *> tiles;
    // The picture rows of a listing are stored whole or not at all.
    const bool read = runInTransaction([&] {
        QSqlQuery rooms = gl_sqlite3db.execQuery(
            QStringLiteral("select * from tbl_room order by region_id asc,floor_id asc,room_id asc"));
        bool whole = true;
        while (whole && rooms.next()) {
            const QString roomName = rooms.value(QStringLiteral("room_name")).toString();
            const int roomId = rooms.value(QStringLiteral("room_id")).toInt();
            const int floorId = rooms.value(QStringLiteral("floor_id")).toInt();
            const int regionId = rooms.value(QStringLiteral("region_id")).toInt();
            QString picture;
            whole = pictureOfRoom(roomId, picture);
            auto *tile =
                new ManagerItem(ManagerItem3DView, roomId, roomTitle(regionId, floorId, roomName), picture,
                                false, QColor(0x1F, 0x29, 0x33), TileWidth, TileHeight, nullptr);
            connect(tile, &ManagerItem::signalsEdit, this, &View3DListPage::slotsEdit);
            tiles.append(tile);
        }
        whole = whole && rowsReadToEnd(rooms);
        rooms.finish();
        return whole;
    });
    if (!read) {
        qDeleteAll(tiles);
        tiles.clear();
        emit gl_socket.signalsInformation(tr("Failed to read the rooms!"));
    }
    fillTileGrid(groupBox, tiles, TileWidth);
}

void View3DListPage::slotsPageEnter()
{
    if (isVisible())
        updatelist();
}

void View3DListPage::slotsEdit(int type, int id)
{
    if (type == ManagerItem3DView)
        openRoom(id);
}
