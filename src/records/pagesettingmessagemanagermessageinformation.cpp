#include "pagesettingmessagemanagermessageinformation.h"

#include "bus/broadcastsocket.h"
#include "shell/iconselectdlg.h"
#include "shell/kestmessagebox.h"
#include "shell/manageritem.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"

#include <QGridLayout>
#include <QIntValidator>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialtheme.h>

namespace {

const QString DefaultIcon = QStringLiteral("message_01");
const QString UsedText = QStringLiteral("The universal switch no has been used,please input new value!");

} // namespace

PageSettingMessageManagerMessageInformation::PageSettingMessageManagerMessageInformation(const QString &id,
                                                                                         const QString &name,
                                                                                         QWidget *parent)
    : MyDialog(id, name, parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageSettingMessageManagerMessageInformation"));

    pushButtonSave =
        new QtMaterialFlatButton(QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("save")),
                                 tr("Save"), Material::RaisedPrimary, this);
    pushButtonSave->setObjectName(QStringLiteral("pushButtonSave"));
    lineEditName = new QtMaterialLineEdit(this);
    lineEditName->setObjectName(QStringLiteral("lineEditName"));
    comboBoxType = new QtMaterialComboBox(this);
    comboBoxType->setObjectName(QStringLiteral("comboBoxType"));
    comboBoxType->setEditable(false);
    fillTypes();
    lineEditSwitchNo = new QtMaterialLineEdit(this);
    lineEditSwitchNo->setObjectName(QStringLiteral("lineEditSwitchNo"));
    lineEditSwitchNo->setValidator(new QIntValidator(lineEditSwitchNo));
    iconItem = new ManagerItem(ManagerItemMessage, 0, QString(), DefaultIcon, false,
                               QColor(0x1F, 0x29, 0x33), 192, 192, this);

    auto *fields = new QGridLayout;
    fields->setSizeConstraint(QLayout::SetNoConstraint);
    fields->setSpacing(20);
    fields->addWidget(new QtMaterialLabel(tr("Name"), this), 0, 0);
    fields->addWidget(lineEditName, 1, 0);
    fields->addWidget(new QtMaterialLabel(tr("Type"), this), 2, 0);
    fields->addWidget(comboBoxType, 3, 0);
    fields->addWidget(new QtMaterialLabel(tr("Universal Switch NO"), this), 4, 0);
    fields->addWidget(lineEditSwitchNo, 5, 0);
    fields->setRowStretch(6, 1);

    auto *icon = new QGridLayout;
    icon->setSizeConstraint(QLayout::SetNoConstraint);
    icon->setSpacing(20);
    icon->addWidget(new QtMaterialLabel(tr("Icon"), this), 0, 0);
    icon->addWidget(iconItem, 1, 0);
    icon->setRowStretch(2, 1);

    auto *page = new QGridLayout(this);
    page->setSizeConstraint(QLayout::SetNoConstraint);
    page->setSpacing(20);
    page->addWidget(pushButtonSave, 0, 0, 1, 3, Qt::AlignRight | Qt::AlignTop);
    page->addLayout(fields, 1, 0);
    page->addLayout(icon, 1, 1);
    page->setColumnStretch(0, 1);
    page->setColumnStretch(2, 2);
    page->setRowStretch(2, 1);

    connect(pushButtonSave, &QAbstractButton::clicked, this,
            &PageSettingMessageManagerMessageInformation::pushButtonSave_clicked);
    connect(iconItem, &ManagerItem::signalsIconEdit, this,
            &PageSettingMessageManagerMessageInformation::slotsIconEdit);
    connect(lineEditSwitchNo, &QLineEdit::textChanged, this,
            &PageSettingMessageManagerMessageInformation::textChanged);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this,
            [this](QString prm1, QString) { slotsPageEnter(prm1); });
}

PageSettingMessageManagerMessageInformation::~PageSettingMessageManagerMessageInformation() = default;

void PageSettingMessageManagerMessageInformation::slotsPageEnter(QString messageId)
{
    if (!isVisible())
        return;
    existing = false;
    entryRead = false;
    // The type's index is what is stored: without the names there is no type to save.
    if (!typesRead)
        fillTypes();
    message_id = messageId.toInt();
    lineEditName->clear();
    iconItem->setIconName(DefaultIcon);
    comboBoxType->setCurrentIndex(0);
    lineEditSwitchNo->clear();

    const QString sql = QString::asprintf("select * from tbl_message where message_id=%d", message_id);
    // A definition that failed to read is neither taken as new nor saved over.
    bool read = false;
    const bool found = isRecordExist(sql, &read);
    if (read && found) {
        bool each[4] = {false, false, false, false};
        QString text;
        getTextFromDb(sql, QStringLiteral("message_remark"), text, &each[0]);
        lineEditName->setText(text);
        QString icon = DefaultIcon;
        getTextFromDb(sql, QStringLiteral("icon_name"), icon, &each[1]);
        iconItem->setIconName(icon);
        comboBoxType->setCurrentIndex(
            getValueFromDb(sql, QStringLiteral("message_type"), &each[2]) == 1 ? 1 : 0);
        lineEditSwitchNo->setText(
            QString::asprintf("%d", getValueFromDb(sql, QStringLiteral("universal_switch_no"), &each[3])));
        read = each[0] && each[1] && each[2] && each[3];
        existing = true;
    }
    entryRead = read && typesRead;
    if (!entryRead)
        emit gl_socket.signalsInformation(tr("Failed to read the message!"));
}

void PageSettingMessageManagerMessageInformation::fillTypes()
{
    QStringList types;
    const QString sql =
        QStringLiteral("select message_type_name from tbl_message_type order by message_type asc");
    typesRead = getTextsFromDb(sql, QStringLiteral("message_type_name"), types) >= 0;
    comboBoxType->clear();
    comboBoxType->addItems(types);
}

void PageSettingMessageManagerMessageInformation::slotsIconEdit(QString iconName)
{
    IconSelectDlg dialog(this);
    dialog.family = 3;
    dialog.initDlgCtrl();
    if (dialog.exec() && dialog.iconName != iconName)
        iconItem->setIconName(dialog.iconName);
}

void PageSettingMessageManagerMessageInformation::textChanged(const QString &text)
{
    if (text.toInt() > 255)
        lineEditSwitchNo->setText(QStringLiteral("255"));
}

bool PageSettingMessageManagerMessageInformation::switchNumberTaken(int number, bool *ok) const
{
    return isRecordExist(
        QString::asprintf("select id from tbl_message where universal_switch_no=%d", number), ok);
}

void PageSettingMessageManagerMessageInformation::pushButtonSave_clicked()
{
    const QString name = lineEditName->text();
    const int number = lineEditSwitchNo->text().toInt();
    // Panels report switch numbers from 1 up; an empty field reads as 0.
    if (name.isEmpty() || number < 1) {
        emit gl_socket.signalsInformation(QStringLiteral("Please input the complete content!"));
        return;
    }
    // Nothing is saved on what failed to read: not over a definition read only in
    // part, nor on a switch number or stored number that could not be looked up.
    const QString failed = tr("Failed to save the message!");
    if (!entryRead) {
        emit gl_socket.signalsInformation(failed);
        return;
    }
    const int type = comboBoxType->currentIndex();
    const QString icon = iconItem->getIconName();
    bool read = false;

    if (!existing) {
        const bool taken = switchNumberTaken(number, &read);
        if (!read) {
            emit gl_socket.signalsInformation(failed);
            return;
        }
        if (taken) {
            emit gl_socket.signalsInformation(UsedText);
            return;
        }
        if (!gl_sqlite3db.execDML(QString::asprintf(
                "insert into tbl_message(message_id,message_type,message_remark,icon_name,"
                "universal_switch_no) values(%d,%d,'%s','%s',%d)",
                message_id, type, sqlText(name).toUtf8().constData(), sqlText(icon).toUtf8().constData(),
                number))) {
            emit gl_socket.signalsInformation(failed);
            return;
        }
    } else {
        const int stored = getValueFromDb(
            QString::asprintf("select universal_switch_no from tbl_message where message_id=%d", message_id),
            QStringLiteral("universal_switch_no"), &read);
        bool takenRead = true;
        const bool taken = read && number != stored && switchNumberTaken(number, &takenRead);
        if (!read || !takenRead) {
            emit gl_socket.signalsInformation(failed);
            return;
        }
        if (taken) {
            emit gl_socket.signalsInformation(UsedText);
            return;
        }
        QStringList statements;
        if (number != stored) {
            KestMessageBox box(
                QStringLiteral("The universal switch no will be changed,the associated message "
                               "records will be deleted,are you sure?"),
                500, 160, KestMessageBoxCancelOk, this);
            if (!box.exec())
                return;
            statements.append(
                QString::asprintf("delete from tbl_message_log where message_id=%d", message_id));
        }
        statements.append(
            QString::asprintf("update tbl_message set "
                              "message_type=%d,message_remark='%s',icon_name='%s',universal_switch_no=%d "
                              "where message_id=%d",
                              type, sqlText(name).toUtf8().constData(), sqlText(icon).toUtf8().constData(),
                              number, message_id));
        // The received messages go only with the new number: both or neither.
        if (!gl_sqlite3db.execTransaction(statements)) {
            emit gl_socket.signalsInformation(failed);
            return;
        }
        if (number != stored)
            emit gl_socket.signalsRemoveMessage(message_id, 3);
    }
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Message Manager"), QStringLiteral("Message Manager"),
                                        QString(), QString());
}
