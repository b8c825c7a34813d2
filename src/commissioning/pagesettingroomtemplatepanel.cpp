#include "pagesettingroomtemplatepanel.h"

#include "bus/broadcastsocket.h"
#include "shell/manageritem.h"
#include "store/globals.h"
#include "store/idallocators.h"

PageSettingRoomTemplatePanel::PageSettingRoomTemplatePanel(QWidget *parent)
    : DeviceTileTab(
          {ManagerItemPanel,
           "select * from tbl_template_panel where room_template_id=%d order by template_panel_id asc",
           QStringLiteral("template_panel_id"), QStringLiteral("panel_remark"), QString(),
           QStringLiteral("Template Panel Information"), tr("Panel Information")},
          parent)
{
    setObjectName(QStringLiteral("PageSettingRoomTemplatePanel"));
}

int PageSettingRoomTemplatePanel::newId()
{
    // No id when the taken ones cannot be read: one read as free might be taken.
    const int id = getTemplatePanelId();
    if (id < 0)
        emit gl_socket.signalsInformation(tr("Failed to add the panel!"));
    return id;
}

QStringList PageSettingRoomTemplatePanel::removal(int id) const
{
    return {QString::asprintf(
        "delete from tbl_template_panel where template_panel_id=%d and room_template_id=%d", id, owner_id)};
}

QString PageSettingRoomTemplatePanel::removeFailure() const
{
    return tr("Failed to delete the panel!");
}
