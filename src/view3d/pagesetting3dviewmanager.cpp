#include "pagesetting3dviewmanager.h"

#include "bus/broadcastsocket.h"
#include "store/globals.h"

PageSetting3DViewManager::PageSetting3DViewManager(const QString &id, const QString &name, QWidget *parent)
    : View3DListPage(id, name, parent)
{
    setObjectName(QStringLiteral("PageSetting3DViewManager"));
}

void PageSetting3DViewManager::openRoom(int id)
{
    emit gl_socket.signalsPageIdChanged(QStringLiteral("3D View Setting"), QStringLiteral("3D View Setting"),
                                        QString::asprintf("%d", id), QString());
}
