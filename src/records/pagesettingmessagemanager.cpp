#include "pagesettingmessagemanager.h"

#include "bus/broadcastsocket.h"
#include "shell/framedialog.h"
#include "shell/manageritem.h"
#include "shell/tilegridfill.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/idallocators.h"
#include "store/queryhelpers.h"

#include <QVBoxLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

PageSettingMessageManager::PageSettingMessageManager(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageSettingMessageManager"));
    groupBox = fillWithCanvasBox(this);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this,
            &PageSettingMessageManager::slotsPageEnter);
}

void PageSettingMessageManager::slotsPageEnter()
{
    if (isVisible())
        updatelist();
}

void PageSettingMessageManager::updatelist()
{
    QList<QWidget *> tiles;
    const QString sql = QStringLiteral("select * from tbl_message order by message_id asc");
    if (isRecordExist(sql)) {
        QStringList ids;
        QStringList names;
        QStringList icons;
        getValuesFromDb(sql, QStringLiteral("message_id"), ids);
        getTextsFromDb(sql, QStringLiteral("message_remark"), names);
        getTextsFromDb(sql, QStringLiteral("icon_name"), icons);
        for (int i = 0; i < ids.size() && i < names.size() && i < icons.size(); ++i) {
            auto *tile = new ManagerItem(ManagerItemMessage, ids.at(i).toInt(), names.at(i), icons.at(i),
                                         true, QColor(0x1F, 0x29, 0x33), TileSize, TileSize, nullptr);
            connect(tile, &ManagerItem::signalsEdit, this, &PageSettingMessageManager::slotsEdit);
            connect(tile, &ManagerItem::signalsDelete, this, &PageSettingMessageManager::slotsDelete);
            tiles.append(tile);
        }
    }
    auto *add = ManagerItem::addTile(TileSize, TileSize);
    connect(add, &ManagerItem::signalsEdit, this, &PageSettingMessageManager::slotsEdit);
    tiles.append(add);
    fillTileGrid(groupBox, tiles, TileSize);
}

void PageSettingMessageManager::slotsEdit(int type, int id)
{
    int messageId = 0;
    if (type == ManagerItemMessage)
        messageId = id;
    else if (type == ManagerItemAdd)
        messageId = getMessageId();
    else
        return;
    // No id when the taken ones cannot be read: one read as free might be taken.
    if (messageId < 0) {
        emit gl_socket.signalsInformation(tr("Failed to add the message!"));
        return;
    }
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Message Information"),
                                        QStringLiteral("Message Information"), QString::number(messageId),
                                        QString());
}

void PageSettingMessageManager::slotsDelete(int type, int id)
{
    if (type != ManagerItemMessage)
        return;
    bool found = false;
    for (ManagerItem *tile : groupBox->findChildren<ManagerItem *>()) {
        if (tile->getType() == ManagerItemMessage && tile->getId() == id) {
            found = true;
            break;
        }
    }
    if (!found)
        return;
    // The definition and its received messages go together, or neither does.
    if (!gl_sqlite3db.execTransaction(
            {QString::asprintf("delete from tbl_message where message_id=%d", id),
             QString::asprintf("delete from tbl_message_log where message_id=%d", id)})) {
        emit gl_socket.signalsInformation(tr("Failed to delete the message!"));
        return;
    }
    updatelist();
    emit gl_socket.signalsRemoveMessage(id, 3);
}
