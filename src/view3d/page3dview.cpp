#include "page3dview.h"

#include "bus/broadcastsocket.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/roomnames.h"

#include <QSqlQuery>
#include <QVariant>

Page3DView::Page3DView(const QString &id, const QString &name, QWidget *parent)
    : View3DListPage(id, name, parent)
{
    setObjectName(QStringLiteral("Page3DView"));
}

void Page3DView::openRoom(int id)
{
    QSqlQuery room =
        gl_sqlite3db.execQuery(QString::asprintf("select * from tbl_room where room_id=%d", id));
    if (!room.next())
        return;
    const QString roomName = room.value(QStringLiteral("room_name")).toString();
    const int regionId = room.value(QStringLiteral("region_id")).toInt();
    const int floorId = room.value(QStringLiteral("floor_id")).toInt();
    room.finish();
    emit gl_socket.signalsPageIdChanged(tr("Operate Room 3D View"), roomTitle(regionId, floorId, roomName),
                                        QString::asprintf("%d", id), QString());
}
