#include "pagesettingroomtemplatelightinginformation.h"

#include "bus/broadcastsocket.h"
#include "shell/manageritem.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QSqlQuery>
#include <QVariant>
#include <qtmaterialcombobox.h>
#include <qtmateriallineedit.h>

PageSettingRoomTemplateLightingInformation::PageSettingRoomTemplateLightingInformation(const QString &id,
                                                                                       const QString &name,
                                                                                       QWidget *parent)
    : PageSettingRoomManagerLightingInformation(id, name, false, parent)
{
    setObjectName(QStringLiteral("PageSettingRoomTemplateLightingInformation"));
}

void PageSettingRoomTemplateLightingInformation::slotsPageEnter(QString templateLightId, QString templateId)
{
    if (!isVisible())
        return;
    exists = false;
    light_id = templateLightId.toInt();
    room_id = templateId.toInt();
    lineEditName->clear();
    iconItem->setIconName(QStringLiteral("light_01_on"));
    comboBoxType->setCurrentIndex(0);
    QSqlQuery row = gl_sqlite3db.execQuery(QString::asprintf(
        "select * from tbl_template_light where template_light_id=%d and room_template_id=%d", light_id,
        room_id));
    if (row.next()) {
        exists = true;
        lineEditName->setText(row.value(QStringLiteral("light_remark")).toString());
        iconItem->setIconName(row.value(QStringLiteral("icon_name")).toString());
        const int index = comboBoxType->findData(row.value(QStringLiteral("light_type")).toInt());
        comboBoxType->setCurrentIndex(index < 0 ? 0 : index);
    }
    rowsEntered(rowsReadToEnd(row));
}

void PageSettingRoomTemplateLightingInformation::pushButtonSave_clicked()
{
    if (saveRefused())
        return;
    const QString name = lineEditName->text();
    if (name.isEmpty()) {
        emit gl_socket.signalsInformation(tr("Please input the complete content!"));
        return;
    }
    const int type = comboBoxType->currentData().toInt();
    const QString icon = iconItem->getIconName();
    // Updated in place: the template light keeps its ids. Insert or update as the
    // row is there now; an unread answer would add a second row.
    bool saved = false;
    exists = isRecordExist(QString::asprintf("select id from tbl_template_light where "
                                             "template_light_id=%d and room_template_id=%d",
                                             light_id, room_id),
                           &saved);
    if (!saved) {
        emit gl_socket.signalsInformation(tr("Failed to save the light!"));
        return;
    }
    if (exists) {
        saved = gl_sqlite3db.execDML(
            QStringLiteral("update tbl_template_light set light_type=%1,light_remark='%4',"
                           "icon_name='%5' where room_template_id=%2 and template_light_id=%3")
                .arg(type)
                .arg(room_id)
                .arg(light_id)
                .arg(sqlText(name), sqlText(icon)));
    } else {
        saved = gl_sqlite3db.execDML(
            QStringLiteral("insert into tbl_template_light(template_light_id,light_type,"
                           "light_remark,icon_name,room_template_id) values(%1,%2,'%4','%5',%3)")
                .arg(light_id)
                .arg(type)
                .arg(room_id)
                .arg(sqlText(name), sqlText(icon)));
    }
    if (!saved) {
        emit gl_socket.signalsInformation(tr("Failed to save the light!"));
        return;
    }
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Edit Template"), tr("Edit Template"),
                                        QString::number(room_id), QStringLiteral("0"));
}
