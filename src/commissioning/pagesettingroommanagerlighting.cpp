#include "pagesettingroommanagerlighting.h"

#include "bus/broadcastsocket.h"
#include "shell/framedialog.h"
#include "shell/manageritem.h"
#include "shell/tilegridfill.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/idallocators.h"

#include <QSqlQuery>
#include <QVBoxLayout>
#include <QVariant>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

PageSettingRoomManagerLighting::PageSettingRoomManagerLighting(QWidget *parent)
    : MyDialog(parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageSettingRoomManagerLighting"));
    QtMaterialCanvas *canvas = nullptr;
    groupBox = makeCanvasBox(this, canvas);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(canvas);
}

void PageSettingRoomManagerLighting::updatelist(int roomId)
{
    room_id = roomId;
    QList<QWidget *> tiles;
    // A colour light is listed once, by its first channel row.
    QSqlQuery query = gl_sqlite3db.execQuery(QString::asprintf(
        "select * from tbl_light where room_id=%d and (rgb=0 or rgb=1) order by light_id asc", room_id));
    while (query.next()) {
        auto *tile = new ManagerItem(ManagerItemLight, query.value(QStringLiteral("light_id")).toInt(),
                                     query.value(QStringLiteral("light_remark")).toString(),
                                     query.value(QStringLiteral("icon_name_of_light_on")).toString(), true,
                                     QColor(0x1F, 0x29, 0x33), TileSize, TileSize, nullptr);
        connect(tile, &ManagerItem::signalsEdit, this, &PageSettingRoomManagerLighting::slotsEdit);
        connect(tile, &ManagerItem::signalsDelete, this, &PageSettingRoomManagerLighting::slotsDelete);
        tiles.append(tile);
    }
    query.finish();
    auto *add = new ManagerItem(ManagerItemAdd, 0, QString(), QString(), false, QColor(0x3D, 0x53, 0x66),
                                TileSize, TileSize, nullptr);
    connect(add, &ManagerItem::signalsEdit, this, &PageSettingRoomManagerLighting::slotsEdit);
    tiles.append(add);
    fillTileGrid(groupBox, tiles, TileSize);
}

void PageSettingRoomManagerLighting::slotsEdit(int type, int id)
{
    int lightId = 0;
    if (type == ManagerItemLight)
        lightId = id;
    else if (type == ManagerItemAdd)
        lightId = getLightId(); // taken only once the information page saves it
    else
        return;
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Light Information"), tr("Light Information"),
                                        QString::number(lightId), QString::number(room_id));
}

void PageSettingRoomManagerLighting::slotsDelete(int type, int id)
{
    if (type != ManagerItemLight)
        return;
    bool found = false;
    for (ManagerItem *tile : groupBox->findChildren<ManagerItem *>()) {
        if (tile->getType() == ManagerItemLight && tile->getId() == id)
            found = true;
    }
    if (!found)
        return;
    // Every channel row and the icon position go together; mood snapshots stay.
    gl_sqlite3db.execTransaction(
        {QString::asprintf("delete from tbl_light where light_id=%d and room_id=%d", id, room_id),
         QString::asprintf("delete from tbl_3d_view_light where light_id=%d and room_id=%d", id, room_id)});
    updatelist(room_id);
}
