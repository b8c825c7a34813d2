#include "pagesettingroommanager.h"

#include "bus/broadcastsocket.h"
#include "commissioning/roomadddlg.h"
#include "shell/framedialog.h"
#include "shell/kestmessagebox.h"
#include "shell/manageritem.h"
#include "shell/tilegridfill.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/roomnames.h"
#include "store/roomremoval.h"

#include <QGridLayout>
#include <QSqlQuery>
#include <QVBoxLayout>
#include <QVariant>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

PageSettingRoomManager::PageSettingRoomManager(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageSettingRoomManager"));
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));

    QtMaterialCanvas *canvas = nullptr;
    groupBox = makeCanvasBox(this, canvas);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(canvas);

    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this, &PageSettingRoomManager::slotsPageEnter);
}

QGridLayout *PageSettingRoomManager::tileGrid() const
{
    return qobject_cast<QGridLayout *>(groupBox->layout());
}

void PageSettingRoomManager::slotsPageEnter()
{
    if (isVisible())
        updatelist();
}

void PageSettingRoomManager::updatelist()
{
    const QColor itemColour(0x1F, 0x29, 0x33);
    QList<QWidget *> tiles;
    QSqlQuery query = gl_sqlite3db.execQuery(
        QStringLiteral("select * from tbl_room order by region_id asc,floor_id asc,room_id asc"));
    while (query.next()) {
        const QString roomName = query.value(QStringLiteral("room_name")).toString();
        const QString iconName = query.value(QStringLiteral("icon_name")).toString();
        const int roomId = query.value(QStringLiteral("room_id")).toInt();
        const int floorId = query.value(QStringLiteral("floor_id")).toInt();
        const int regionId = query.value(QStringLiteral("region_id")).toInt();
        auto *tile = new ManagerItem(ManagerItemRoom, roomId, roomTitle(regionId, floorId, roomName),
                                     iconName, true, itemColour, TileWidth, TileHeight, nullptr);
        connect(tile, &ManagerItem::signalsEdit, this, &PageSettingRoomManager::slotsEdit);
        connect(tile, &ManagerItem::signalsDelete, this, &PageSettingRoomManager::slotsDelete);
        tiles.append(tile);
    }
    query.finish();

    auto *add = ManagerItem::addTile(TileWidth, TileHeight);
    connect(add, &ManagerItem::signalsEdit, this, &PageSettingRoomManager::slotsEdit);
    tiles.append(add);
    fillTileGrid(groupBox, tiles, TileWidth);
}

void PageSettingRoomManager::slotsEdit(int type, int id)
{
    if (type == ManagerItemRoom) {
        emit gl_socket.signalsPageIdChanged(QStringLiteral("Edit Room"), tr("Edit Room"),
                                            QString::number(id), QStringLiteral("1"));
    } else if (type == ManagerItemAdd) {
        bool read = false;
        const bool templates = isRecordExist(QStringLiteral("select id from tbl_room_template"), &read);
        if (!read) {
            emit gl_socket.signalsInformation(tr("Failed to add the rooms!"));
            return;
        }
        if (!templates) {
            emit gl_socket.signalsInformation(tr("Please add room template!"));
            return;
        }
        RoomAddDlg dialog(nullptr);
        if (dialog.exec() == QDialog::Accepted)
            updatelist();
    }
}

void PageSettingRoomManager::slotsDelete(int type, int id)
{
    if (type != ManagerItemRoom)
        return;
    QString roomName;
    bool read = false;
    const bool found =
        getTextFromDb(QString::asprintf("select room_name from tbl_room where room_id=%d", id),
                      QStringLiteral("room_name"), roomName, &read);
    if (!read) {
        emit gl_socket.signalsInformation(tr("Failed to delete the room!"));
        return;
    }
    if (!found)
        return;
    KestMessageBox box(
        tr("Are you sure to delete room %1 and all the information associated with it?").arg(roomName), 500,
        160, KestMessageBoxCancelOk, nullptr);
    if (box.exec() != QDialog::Accepted)
        return;
    if (!removeRoom(id))
        emit gl_socket.signalsInformation(tr("Failed to delete the room!"));
    updatelist();
}
