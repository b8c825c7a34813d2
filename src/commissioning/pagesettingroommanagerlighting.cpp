#include "pagesettingroommanagerlighting.h"

#include "bus/broadcastsocket.h"
#include "shell/manageritem.h"
#include "store/globals.h"
#include "store/idallocators.h"

PageSettingRoomManagerLighting::PageSettingRoomManagerLighting(QWidget *parent)
    // A colour light is listed once, by its first channel row.
    : PageSettingRoomManagerLighting({ManagerItemLight,
                                      "select * from tbl_light where room_id=%d and (rgb=0 or rgb=1) "
                                      "order by light_id asc",
                                      QStringLiteral("light_id"), QStringLiteral("light_remark"),
                                      QStringLiteral("icon_name_of_light_on"),
                                      QStringLiteral("Light Information"), tr("Light Information")},
                                     parent)
{}

PageSettingRoomManagerLighting::PageSettingRoomManagerLighting(const Source &source, QWidget *parent)
    : DeviceTileTab(source, parent)
{
    if (objectName().isEmpty())
        setObjectName(QString::fromLatin1(metaObject()->className()));
}

int PageSettingRoomManagerLighting::newId()
{
    // No id when the taken ones cannot be read: one read as free might be taken.
    const int id = getLightId();
    if (id < 0)
        emit gl_socket.signalsInformation(tr("Failed to add the light!"));
    return id;
}

// Every channel row and the icon position go together; mood snapshots stay.
QStringList PageSettingRoomManagerLighting::removal(int id) const
{
    return {
        QString::asprintf("delete from tbl_light where light_id=%d and room_id=%d", id, owner_id),
        QString::asprintf("delete from tbl_3d_view_light where light_id=%d and room_id=%d", id, owner_id)};
}

QString PageSettingRoomManagerLighting::removeFailure() const
{
    return tr("Failed to delete the light!");
}
