#include "pagesettingroommanagerpanelinformation.h"

#include "bus/broadcastsocket.h"
#include "commissioning/commissioningrules.h"
#include "shell/kestmessagebox.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QSqlQuery>
#include <QVariant>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialtheme.h>

PageSettingRoomManagerPanelInformation::PageSettingRoomManagerPanelInformation(const QString &id,
                                                                               const QString &name,
                                                                               QWidget *parent)
    : PageSettingRoomManagerPanelInformation(id, name, true, parent)
{
    setObjectName(QStringLiteral("PageSettingRoomManagerPanelInformation"));
}

PageSettingRoomManagerPanelInformation::PageSettingRoomManagerPanelInformation(const QString &id,
                                                                               const QString &name,
                                                                               bool withAddress,
                                                                               QWidget *parent)
    : MyDialog(id, name, parent)
{
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));
    pushButtonSave = new QtMaterialFlatButton(tr("Save"), Material::RaisedPrimary, this);
    pushButtonSave->setIcon(QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("save")));
    lineEditName = new QtMaterialLineEdit(this);

    auto *layout = new QGridLayout(this);
    layout->setSpacing(20);
    layout->addWidget(pushButtonSave, 0, 1, Qt::AlignRight);
    layout->addWidget(new QtMaterialLabel(tr("Name"), this), 1, 0);
    layout->addWidget(lineEditName, 2, 0, 1, 2);
    if (withAddress) {
        lineEditSubnet = new QtMaterialLineEdit(this);
        lineEditDevice = new QtMaterialLineEdit(this);
        layout->addWidget(new QtMaterialLabel(tr("Subnet ID"), this), 3, 0);
        layout->addWidget(new QtMaterialLabel(tr("Device ID"), this), 3, 1);
        layout->addWidget(lineEditSubnet, 4, 0);
        layout->addWidget(lineEditDevice, 4, 1);
        for (QtMaterialLineEdit *field : {lineEditSubnet, lineEditDevice}) {
            field->setValidator(new QIntValidator(field));
            connect(field, &QLineEdit::textChanged, this,
                    &PageSettingRoomManagerPanelInformation::textChanged);
        }
    }
    layout->setRowStretch(5, 1);

    connect(pushButtonSave, &QAbstractButton::clicked, this,
            &PageSettingRoomManagerPanelInformation::pushButtonSave_clicked);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this,
            &PageSettingRoomManagerPanelInformation::slotsPageEnter);
}

void PageSettingRoomManagerPanelInformation::textChanged(const QString &text)
{
    auto *field = qobject_cast<QtMaterialLineEdit *>(sender());
    const QString kept = addressFieldText(text);
    if (field && kept != text)
        field->setText(kept);
}

void PageSettingRoomManagerPanelInformation::slotsPageEnter(QString panelId, QString roomId)
{
    if (!isVisible())
        return;
    exists = false;
    panel_id = panelId.toInt();
    owner_id = roomId.toInt();
    lineEditName->clear();
    lineEditSubnet->clear();
    lineEditDevice->clear();
    QSqlQuery row = gl_sqlite3db.execQuery(
        QString::asprintf("select * from tbl_panel where room_id=%d and panel_id=%d", owner_id, panel_id));
    if (row.next()) {
        lineEditName->setText(row.value(QStringLiteral("panel_remark")).toString());
        lineEditSubnet->setText(QString::number(row.value(QStringLiteral("subnet_id")).toInt()));
        lineEditDevice->setText(QString::number(row.value(QStringLiteral("device_id")).toInt()));
        exists = true;
    }
    rowEntered(row);
}

void PageSettingRoomManagerPanelInformation::rowEntered(QSqlQuery &row)
{
    m_rowRead = rowsReadToEnd(row);
    row.finish();
    if (!m_rowRead)
        emit gl_socket.signalsInformation(tr("Failed to read the panel!"));
}

bool PageSettingRoomManagerPanelInformation::saveRefused()
{
    // A form the stored row never reached is no edit of it.
    if (m_rowRead)
        return false;
    emit gl_socket.signalsInformation(tr("Failed to save the panel!"));
    return true;
}

void PageSettingRoomManagerPanelInformation::pushButtonSave_clicked()
{
    if (savePanel())
        emit gl_socket.signalsPageIdChanged(QStringLiteral("Edit Room"), tr("Edit Room"),
                                            QString::number(owner_id), QStringLiteral("0"));
}

bool PageSettingRoomManagerPanelInformation::savePanel()
{
    if (saveRefused())
        return false;
    const QString name = lineEditName->text();
    const int subnet = addressFieldValue(lineEditSubnet->text());
    const int device = addressFieldValue(lineEditDevice->text());
    if (name.isEmpty() || subnet == 0 || device == 0) {
        emit gl_socket.signalsInformation(tr("Please input the complete content!"));
        return false;
    }
    // Whether the panel is there and at which address decide what is written: an
    // unread answer decides nothing (a second row, an address used twice).
    int oldSubnet = 0;
    int oldDevice = 0;
    QSqlQuery old = gl_sqlite3db.execQuery(QString::asprintf(
        "select subnet_id,device_id from tbl_panel where room_id=%d and panel_id=%d", owner_id, panel_id));
    exists = old.next();
    if (exists) {
        oldSubnet = old.value(0).toInt();
        oldDevice = old.value(1).toInt();
    }
    bool read = rowsReadToEnd(old);
    old.finish();
    const bool moved = !exists || subnet != oldSubnet || device != oldDevice;
    const bool used =
        read && moved &&
        isRecordExist(QString::asprintf("select id from tbl_panel where subnet_id=%d and device_id=%d",
                                        subnet, device),
                      &read);
    if (!read) {
        emit gl_socket.signalsInformation(tr("Failed to save the panel!"));
        return false;
    }
    if (used) {
        emit gl_socket.signalsInformation(
            tr("The subnet id and device id has been used,please input new value!"));
        return false;
    }
    if (!exists) {
        if (gl_sqlite3db.execDML(
                QStringLiteral("insert into tbl_panel(panel_id,panel_remark,subnet_id,device_id,room_id) "
                               "values(%1,'%5',%2,%3,%4)")
                    .arg(panel_id)
                    .arg(subnet)
                    .arg(device)
                    .arg(owner_id)
                    .arg(sqlText(name))))
            return true;
        emit gl_socket.signalsInformation(tr("Failed to save the panel!"));
        return false;
    }
    QStringList statements;
    if (moved) {
        KestMessageBox box(tr("The subnet id and device id will be changed,the associated message records "
                              "will be deleted,are you sure?"),
                           500, 160, KestMessageBoxCancelOk, nullptr);
        if (box.exec() != QDialog::Accepted)
            return false;
        statements.append(QString::asprintf("delete from tbl_message_log where panel_id=%d", panel_id));
    }
    statements.append(
        QStringLiteral(
            "update tbl_panel set panel_remark='%5',subnet_id=%1,device_id=%2 where room_id=%3 and "
            "panel_id=%4")
            .arg(subnet)
            .arg(device)
            .arg(owner_id)
            .arg(panel_id)
            .arg(sqlText(name)));
    // The messages go only with the new address: both or neither.
    if (!gl_sqlite3db.execTransaction(statements)) {
        emit gl_socket.signalsInformation(tr("Failed to save the panel!"));
        return false;
    }
    if (moved)
        emit gl_socket.signalsRemoveMessage(panel_id, 2);
    return true;
}
