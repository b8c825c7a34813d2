#include "devicetiletab.h"

#include "bus/broadcastsocket.h"
#include "shell/framedialog.h"
#include "shell/manageritem.h"
#include "shell/tilegridfill.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"

#include <QSqlQuery>
#include <QVBoxLayout>
#include <QVariant>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

DeviceTileTab::DeviceTileTab(const Source &source, QWidget *parent)
    : MyDialog(parent)
    , m_source(source)
{
    QtMaterialCanvas *canvas = nullptr;
    groupBox = makeCanvasBox(this, canvas);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(canvas);
}

void DeviceTileTab::updatelist(int ownerId)
{
    owner_id = ownerId;
    QList<QWidget *> tiles;
    QSqlQuery query = gl_sqlite3db.execQuery(QString::asprintf(m_source.list, owner_id));
    while (query.next()) {
        const QString icon =
            m_source.iconColumn.isEmpty() ? QString() : query.value(m_source.iconColumn).toString();
        auto *tile = new ManagerItem(m_source.kind, query.value(m_source.idColumn).toInt(),
                                     query.value(m_source.nameColumn).toString(), icon, true,
                                     QColor(0x1F, 0x29, 0x33), TileSize, TileSize, nullptr);
        connect(tile, &ManagerItem::signalsEdit, this, &DeviceTileTab::slotsEdit);
        connect(tile, &ManagerItem::signalsDelete, this, &DeviceTileTab::slotsDelete);
        tiles.append(tile);
    }
    query.finish();
    auto *add = ManagerItem::addTile(TileSize, TileSize);
    connect(add, &ManagerItem::signalsEdit, this, &DeviceTileTab::slotsEdit);
    tiles.append(add);
    fillTileGrid(groupBox, tiles, TileSize);
}

void DeviceTileTab::slotsEdit(int type, int id)
{
    int deviceId = 0;
    if (type == m_source.kind)
        deviceId = id;
    else if (type == ManagerItemAdd)
        deviceId = newId();
    else
        return;
    if (deviceId < 0)
        return;
    // Pages are requested by their untranslated ids.
    emit gl_socket.signalsPageIdChanged(m_source.pageId, m_source.pageTitle, QString::number(deviceId),
                                        QString::number(owner_id));
}

void DeviceTileTab::slotsDelete(int type, int id)
{
    if (type != m_source.kind)
        return;
    bool found = false;
    for (ManagerItem *tile : groupBox->findChildren<ManagerItem *>()) {
        if (tile->getType() == m_source.kind && tile->getId() == id)
            found = true;
    }
    if (!found)
        return;
    const bool ok = gl_sqlite3db.execTransaction(removal(id));
    updatelist(owner_id);
    if (ok)
        removed(id);
    else
        emit gl_socket.signalsInformation(removeFailure());
}
