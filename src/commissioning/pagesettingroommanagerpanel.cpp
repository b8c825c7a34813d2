#include "pagesettingroommanagerpanel.h"

#include "bus/broadcastsocket.h"
#include "shell/manageritem.h"
#include "store/globals.h"
#include "store/idallocators.h"

PageSettingRoomManagerPanel::PageSettingRoomManagerPanel(QWidget *parent)
    : DeviceTileTab({ManagerItemPanel, "select * from tbl_panel where room_id=%d order by panel_id asc",
                     QStringLiteral("panel_id"), QStringLiteral("panel_remark"), QString(),
                     QStringLiteral("Panel Information"), tr("Panel Information")},
                    parent)
{
    setObjectName(QStringLiteral("PageSettingRoomManagerPanel"));
}

int PageSettingRoomManagerPanel::newId()
{
    // No id when the taken ones cannot be read: one read as free might be taken.
    const int id = getPanelId();
    if (id < 0)
        emit gl_socket.signalsInformation(tr("Failed to add the panel!"));
    return id;
}

QStringList PageSettingRoomManagerPanel::removal(int id) const
{
    return {QString::asprintf("delete from tbl_panel where panel_id=%d and room_id=%d", id, owner_id),
            QString::asprintf("delete from tbl_message_log where panel_id=%d", id)};
}

// The message lists drop the panel's tiles once its rows are gone.
void PageSettingRoomManagerPanel::removed(int id)
{
    emit gl_socket.signalsRemoveMessage(id, 2);
}

QString PageSettingRoomManagerPanel::removeFailure() const
{
    return tr("Failed to delete the panel!");
}
