#include "pagesettingroomtemplate.h"

#include "bus/broadcastsocket.h"
#include "commissioning/roomtemplateadddlg.h"
#include "shell/framedialog.h"
#include "shell/kestmessagebox.h"
#include "shell/manageritem.h"
#include "shell/tilegridfill.h"
#include "store/cppsqlite3db.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/roomremoval.h"

#include <QSqlQuery>
#include <QVBoxLayout>
#include <QVariant>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>

PageSettingRoomTemplate::PageSettingRoomTemplate(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageSettingRoomTemplate"));
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));

    QtMaterialCanvas *canvas = nullptr;
    groupBox = makeCanvasBox(this, canvas);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(canvas);

    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this, &PageSettingRoomTemplate::slotsPageEnter);
}

void PageSettingRoomTemplate::slotsPageEnter()
{
    if (isVisible())
        updatelist();
}

void PageSettingRoomTemplate::updatelist()
{
    QList<QWidget *> tiles;
    QSqlQuery query = gl_sqlite3db.execQuery(
        QStringLiteral("select * from tbl_room_template order by room_template_id asc"));
    while (query.next()) {
        auto *tile =
            new ManagerItem(ManagerItemRoomTemplate, query.value(QStringLiteral("room_template_id")).toInt(),
                            query.value(QStringLiteral("room_template_name")).toString(),
                            query.value(QStringLiteral("room_template_icon_name")).toString(), true,
                            QColor(0x1F, 0x29, 0x33), TileWidth, TileHeight, nullptr);
        connect(tile, &ManagerItem::signalsEdit, this, &PageSettingRoomTemplate::slotsEdit);
        connect(tile, &ManagerItem::signalsDelete, this, &PageSettingRoomTemplate::slotsDelete);
        tiles.append(tile);
    }
    query.finish();
    auto *add = ManagerItem::addTile(TileWidth, TileHeight);
    connect(add, &ManagerItem::signalsEdit, this, &PageSettingRoomTemplate::slotsEdit);
    tiles.append(add);
    fillTileGrid(groupBox, tiles, TileWidth);
}

void PageSettingRoomTemplate::slotsEdit(int type, int id)
{
    if (type == ManagerItemAdd) {
        RoomTemplateAddDlg dialog(nullptr);
        if (dialog.exec() == QDialog::Accepted)
            updatelist();
    } else if (type == ManagerItemRoomTemplate) {
        emit gl_socket.signalsPageIdChanged(QStringLiteral("Edit Template"), tr("Edit Template"),
                                            QString::number(id), QStringLiteral("1"));
    }
}

void PageSettingRoomTemplate::slotsDelete(int type, int id)
{
    if (type != ManagerItemRoomTemplate)
        return;
    QString name;
    bool read = false;
    const bool found =
        getTextFromDb(QString::asprintf("select *from tbl_room_template where room_template_id=%d", id),
                      QStringLiteral("room_template_name"), name, &read);
    if (!read) {
        emit gl_socket.signalsInformation(tr("Failed to delete the template!"));
        return;
    }
    if (!found)
        return;
    KestMessageBox box(
        tr("Are you sure to delete template %1 and all the information associated with it?").arg(name), 500,
        160, KestMessageBoxCancelOk, nullptr);
    if (box.exec() != QDialog::Accepted)
        return;
    if (!removeTemplate(id))
        emit gl_socket.signalsInformation(tr("Failed to delete the template!"));
    updatelist();
}

bool PageSettingRoomTemplate::removeTemplate(int templateId)
{
    QStringList rooms;
    // Rooms left unread would outlive their template.
    if (getValuesFromDb(
            QString::asprintf("select room_id from tbl_room where room_template_id=%d", templateId),
            QStringLiteral("room_id"), rooms) < 0 ||
        !gl_sqlite3db.beginTransaction())
        return false;
    // Each room's removal joins this transaction; its pictures go once it commits.
    bool ok = true;
    for (const QString &room : qAsConst(rooms))
        ok = ok && removeRoom(room.toInt());
    ok = ok &&
         gl_sqlite3db.execDML(
             QString::asprintf("delete from tbl_template_light where room_template_id=%d", templateId)) &&
         gl_sqlite3db.execDML(
             QString::asprintf("delete from tbl_template_panel where room_template_id=%d", templateId)) &&
         gl_sqlite3db.execDML(
             QString::asprintf("delete from tbl_room_template where room_template_id=%d", templateId));
    if (!ok) {
        gl_sqlite3db.rollbackTransaction();
        return false;
    }
    gl_sqlite3db.afterCommit(
        [templateId]() { remove_external_photo(QString::asprintf("photo_Template_%d", templateId)); });
    return gl_sqlite3db.commitTransaction();
}
