#include "pagesettingchangedeviceaddress.h"

#include "bus/broadcastsocket.h"
#include "settings/numberfield.h"
#include "settings/settingslock.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/queryhelpers.h"
#include "store/settings.h"

#include <QGridLayout>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialtheme.h>

PageSettingChangeDeviceAddress::PageSettingChangeDeviceAddress(const QString &id, const QString &name,
                                                               QWidget *parent)
    : MyDialog(id, name, parent)
    , m_now([] { return QDateTime::currentDateTime(); })
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("PageSettingChangeDeviceAddress"));

    lineEditSubnetId = new QtMaterialLineEdit(this);
    lineEditSubnetId->setObjectName(QStringLiteral("lineEditSubnetId"));
    makeNumberField(lineEditSubnetId);
    connect(lineEditSubnetId, &QLineEdit::textChanged, this, &PageSettingChangeDeviceAddress::textChanged);

    lineEditDeviceId = new QtMaterialLineEdit(this);
    lineEditDeviceId->setObjectName(QStringLiteral("lineEditDeviceId"));
    makeNumberField(lineEditDeviceId);
    connect(lineEditDeviceId, &QLineEdit::textChanged, this, &PageSettingChangeDeviceAddress::textChanged);

    lineEditLockPassword = new QtMaterialLineEdit(this);
    lineEditLockPassword->setObjectName(QStringLiteral("lineEditLockPassword"));
    lineEditLockPassword->setEchoMode(QLineEdit::Password);

    lineEditRetainDays = new QtMaterialLineEdit(this);
    lineEditRetainDays->setObjectName(QStringLiteral("lineEditRetainDays"));
    makeNumberField(lineEditRetainDays);
    connect(lineEditRetainDays, &QLineEdit::textChanged, this, &PageSettingChangeDeviceAddress::textChanged);

    pushButtonSave =
        new QtMaterialFlatButton(QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("save")),
                                 tr("Save"), Material::RaisedPrimary, this);
    pushButtonSave->setObjectName(QStringLiteral("pushButtonSave"));
    connect(pushButtonSave, &QAbstractButton::clicked, this,
            &PageSettingChangeDeviceAddress::pushButtonSave_clicked);

    m_lock = new SettingsLock(this);
    for (QWidget *field :
         {static_cast<QWidget *>(lineEditSubnetId), static_cast<QWidget *>(lineEditDeviceId),
          static_cast<QWidget *>(lineEditLockPassword), static_cast<QWidget *>(lineEditRetainDays)})
        m_lock->addControl(field);

    auto *grid = new QGridLayout(this);
    grid->setSpacing(20);
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->addWidget(pushButtonSave, 0, 4, Qt::AlignRight);
    grid->addWidget(new QtMaterialLabel(tr("Subnet ID:"), this), 1, 0);
    grid->addWidget(lineEditSubnetId, 1, 1);
    grid->addWidget(new QtMaterialLabel(tr("Device ID:"), this), 1, 2);
    grid->addWidget(lineEditDeviceId, 1, 3);
    grid->addWidget(new QtMaterialLabel(tr("Lock Password:"), this), 2, 0);
    grid->addWidget(lineEditLockPassword, 2, 1, 1, 3);
    grid->addWidget(new QtMaterialLabel(tr("Record Retain Days:"), this), 3, 0);
    grid->addWidget(lineEditRetainDays, 3, 1, 1, 3);
    grid->setRowStretch(4, 1);

    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this,
            &PageSettingChangeDeviceAddress::slotsPageEnter);
}

void PageSettingChangeDeviceAddress::slotsPageEnter()
{
    if (!isVisible())
        return;
    lineEditSubnetId->setText(gl_subId);
    lineEditDeviceId->setText(gl_devId);
    lineEditLockPassword->setText(gl_lockPassword);
    lineEditRetainDays->setText(gl_retainDays);
    m_lock->lock();
}

void PageSettingChangeDeviceAddress::textChanged(const QString &text)
{
    auto *field = qobject_cast<QLineEdit *>(sender());
    if (!field)
        return;
    const int cap = field == lineEditRetainDays ? 365 : 255;
    const QString capped = capNumberText(text, cap);
    if (capped != text)
        field->setText(capped);
}

QString PageSettingChangeDeviceAddress::cutOff(int days) const
{
    return m_now().addDays(-days).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void PageSettingChangeDeviceAddress::pushButtonSave_clicked()
{
    if (lineEditSubnetId->text().isEmpty() || lineEditDeviceId->text().isEmpty() ||
        lineEditLockPassword->text().isEmpty() || lineEditRetainDays->text().isEmpty()) {
        emit gl_socket.signalsInformation(tr("Please input the complete content"));
        return;
    }
    if (lineEditRetainDays->text().toInt() <= 0)
        lineEditRetainDays->setText(QStringLiteral("7"));

    const QString group = QStringLiteral("address");
    const QList<QPair<QString, QString>> values{
        {QStringLiteral("subId"), lineEditSubnetId->text()},
        {QStringLiteral("devId"), lineEditDeviceId->text()},
        {QStringLiteral("lock_password"), lineEditLockPassword->text()},
        {QStringLiteral("retain_days"), lineEditRetainDays->text()}};
    // The pruning and the four settings go together: the deletes are committed
    // only once the settings file has taken the new values, and the old values
    // go back to the file when that commit fails.
    const int days = lineEditRetainDays->text().toInt();
    const QString logs =
        QStringLiteral("delete from tbl_log where log_time <='%1'").arg(sqlText(cutOff(days)));
    const QString messages =
        QStringLiteral("delete from tbl_message_log where recv_time <='%1'").arg(sqlText(cutOff(days)));
    bool stored = gl_sqlite3db.beginTransaction();
    if (stored) {
        stored = gl_sqlite3db.execDML(logs) && gl_sqlite3db.execDML(messages) && setConfig(group, values);
        if (!stored)
            gl_sqlite3db.rollbackTransaction();
        else if (!gl_sqlite3db.commitTransaction()) {
            setConfig(group, {{values[0].first, gl_subId},
                              {values[1].first, gl_devId},
                              {values[2].first, gl_lockPassword},
                              {values[3].first, gl_retainDays}});
            stored = false;
        }
    }
    if (!stored) {
        emit gl_socket.signalsInformation(tr("Failed to save the settings!"));
        return;
    }
    gl_subId = values[0].second;
    gl_devId = values[1].second;
    gl_socket.setId(static_cast<unsigned char>(gl_subId.toInt() & 0xFF),
                    static_cast<unsigned char>(gl_devId.toInt() & 0xFF));
    gl_lockPassword = values[2].second;
    gl_retainDays = values[3].second;

    emit gl_socket.signalsInformation(tr("Change successfully"));
    emit gl_socket.signalsNetworkStateChanged(false);
    emit gl_socket.signalsNetworkOpen();
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Setting"), QStringLiteral("Setting"), QString(),
                                        QString());
}
