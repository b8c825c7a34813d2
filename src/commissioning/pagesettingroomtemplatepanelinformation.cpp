#include "pagesettingroomtemplatepanelinformation.h"

#include "bus/broadcastsocket.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QSqlQuery>
#include <QVariant>
#include <qtmateriallineedit.h>

PageSettingRoomTemplatePanelInformation::PageSettingRoomTemplatePanelInformation(const QString &id,
                                                                                 const QString &name,
                                                                                 QWidget *parent)
    : PageSettingRoomManagerPanelInformation(id, name, false, parent)
{
    setObjectName(QStringLiteral("PageSettingRoomTemplatePanelInformation"));
}

void PageSettingRoomTemplatePanelInformation::slotsPageEnter(QString templatePanelId, QString templateId)
{
    if (!isVisible())
        return;
    exists = false;
    panel_id = templatePanelId.toInt();
    owner_id = templateId.toInt();
    lineEditName->clear();
    QSqlQuery row = gl_sqlite3db.execQuery(QString::asprintf(
        "select * from tbl_template_panel where room_template_id=%d and template_panel_id=%d", owner_id,
        panel_id));
    if (row.next()) {
        lineEditName->setText(row.value(QStringLiteral("panel_remark")).toString());
        exists = true;
    }
    rowEntered(row);
}

void PageSettingRoomTemplatePanelInformation::pushButtonSave_clicked()
{
    if (saveRefused())
        return;
    const QString name = lineEditName->text();
    if (name.isEmpty()) {
        emit gl_socket.signalsInformation(tr("Please input the complete content!"));
        return;
    }
    // Insert or update as the row is there now; an unread answer would add a second row.
    bool read = false;
    exists = isRecordExist(QString::asprintf("select id from tbl_template_panel where "
                                             "room_template_id=%d and template_panel_id=%d",
                                             owner_id, panel_id),
                           &read);
    if (!read) {
        emit gl_socket.signalsInformation(tr("Failed to save the panel!"));
        return;
    }
    const QString sql = exists
                            ? QStringLiteral("update tbl_template_panel set panel_remark='%3' where "
                                             "room_template_id=%1 and template_panel_id=%2")
                                  .arg(owner_id)
                                  .arg(panel_id)
                                  .arg(sqlText(name))
                            : QStringLiteral("insert into tbl_template_panel(template_panel_id,panel_remark,"
                                             "room_template_id) values(%1,'%3',%2)")
                                  .arg(panel_id)
                                  .arg(owner_id)
                                  .arg(sqlText(name));
    if (!gl_sqlite3db.execDML(sql)) {
        emit gl_socket.signalsInformation(tr("Failed to save the panel!"));
        return;
    }
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Edit Template"), tr("Edit Template"),
                                        QString::number(owner_id), QStringLiteral("0"));
}
