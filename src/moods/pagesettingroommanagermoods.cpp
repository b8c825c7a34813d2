#include "pagesettingroommanagermoods.h"

#include "bus/broadcastsocket.h"
#include "moods/mood.h"
#include "shell/framedialog.h"
#include "shell/manageritem.h"
#include "shell/tilegridfill.h"
#include "store/cppsqlite3db.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/idallocators.h"

#include <QVBoxLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

PageSettingRoomManagerMoods::PageSettingRoomManagerMoods(QWidget *parent)
    : MyDialog(parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageSettingRoomManagerMoods"));
    QtMaterialCanvas *canvas = nullptr;
    groupBox = makeCanvasBox(this, canvas);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(canvas);
}

void PageSettingRoomManagerMoods::updatelist(int roomId)
{
    room_id = roomId;
    QList<QWidget *> tiles;
    for (const mood &m : loadRoomMoods(room_id)) {
        auto *tile = new ManagerItem(ManagerItemMood, m.mood_id, m.name(), m.iconName(), true,
                                     QColor(0x1F, 0x29, 0x33), TileWidth, TileHeight, nullptr);
        connect(tile, &ManagerItem::signalsEdit, this, &PageSettingRoomManagerMoods::slotsEdit);
        connect(tile, &ManagerItem::signalsDelete, this, &PageSettingRoomManagerMoods::slotsDelete);
        tiles.append(tile);
    }
    auto *add = ManagerItem::addTile(TileWidth, TileHeight);
    connect(add, &ManagerItem::signalsEdit, this, &PageSettingRoomManagerMoods::slotsEdit);
    tiles.append(add);
    fillTileGrid(groupBox, tiles, TileWidth);
}

void PageSettingRoomManagerMoods::slotsEdit(int type, int id)
{
    int moodId = 0;
    if (type == ManagerItemMood)
        moodId = id;
    else if (type == ManagerItemAdd)
        moodId = getMoodId(); // taken only once the mood editor saves it
    else
        return;
    // The ids in use could not be read: any number might be another mood's.
    if (moodId < 0) {
        emit gl_socket.signalsInformation(tr("Failed to add the mood!"));
        return;
    }
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Moods Information"), tr("Moods Information"),
                                        QString::asprintf("%d-%d", moodId, room_id), QStringLiteral("1"));
}

void PageSettingRoomManagerMoods::slotsDelete(int type, int id)
{
    if (type != ManagerItemMood)
        return;
    bool found = false;
    for (ManagerItem *tile : groupBox->findChildren<ManagerItem *>()) {
        if (tile->getType() == ManagerItemMood && tile->getId() == id && !tile->isHidden())
            found = true;
    }
    if (!found)
        return;
    const bool removed = gl_sqlite3db.execTransaction(
        {QString::asprintf("delete from tbl_mood where mood_id=%d and room_id=%d", id, room_id),
         QString::asprintf("delete from tbl_mood_light_status where mood_id=%d and room_id=%d", id, room_id),
         QString::asprintf("delete from tbl_mood_air_conditioner_status where mood_id=%d and room_id=%d", id,
                           room_id),
         QString::asprintf("delete from tbl_mood_command where mood_id=%d and room_id=%d", id, room_id)});
    // The picture file goes with the rows, whichever picture the mood showed.
    if (removed)
        remove_external_photo(QString::asprintf("photo_Mood_%d", id));
    else
        emit gl_socket.signalsInformation(tr("Failed to delete the mood!"));
    updatelist(room_id);
}
