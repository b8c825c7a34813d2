#include "pagesettingroomtemplatelighting.h"

#include "bus/broadcastsocket.h"
#include "shell/manageritem.h"
#include "store/globals.h"
#include "store/idallocators.h"

PageSettingRoomTemplateLighting::PageSettingRoomTemplateLighting(QWidget *parent)
    : PageSettingRoomManagerLighting(
          {ManagerItemLight,
           "select * from tbl_template_light where room_template_id=%d order by template_light_id asc",
           QStringLiteral("template_light_id"), QStringLiteral("light_remark"), QStringLiteral("icon_name"),
           QStringLiteral("Template Light Information"), tr("Light Information")},
          parent)
{}

int PageSettingRoomTemplateLighting::newId()
{
    // No id when the taken ones cannot be read: one read as free might be taken.
    const int id = getTemplateLightId();
    if (id < 0)
        emit gl_socket.signalsInformation(tr("Failed to add the light!"));
    return id;
}

QStringList PageSettingRoomTemplateLighting::removal(int id) const
{
    return {QString::asprintf(
        "delete from tbl_template_light where template_light_id=%d and room_template_id=%d", id, owner_id)};
}
