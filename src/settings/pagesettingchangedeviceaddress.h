#pragma once

// "Change Device Address": the application's own bus address, the lock password
// and the days that log and message rows are kept (settings group "address").
// The fields are locked on every entry; saving applies the values at once and
// reopens the network.

#include "shell/mydialog.h"

#include <QDateTime>

#include <functional>

class QtMaterialFlatButton;
class QtMaterialLineEdit;
class SettingsLock;

class PageSettingChangeDeviceAddress : public MyDialog
{
    Q_OBJECT
public:
    PageSettingChangeDeviceAddress(const QString &id, const QString &name, QWidget *parent = nullptr);

    // Read access for tests.
    QtMaterialLineEdit *subnetField() const { return lineEditSubnetId; }
    QtMaterialLineEdit *deviceField() const { return lineEditDeviceId; }
    QtMaterialLineEdit *lockPasswordField() const { return lineEditLockPassword; }
    QtMaterialLineEdit *retainDaysField() const { return lineEditRetainDays; }
    QtMaterialFlatButton *saveButton() const { return pushButtonSave; }
    SettingsLock *settingsLock() const { return m_lock; }
    // Test hook (clock seam): the local time the retention cut-off is taken from.
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }

private slots:
    void slotsPageEnter();
    void textChanged(const QString &text);
    void pushButtonSave_clicked();

private:
    QString cutOff(int days) const;

    QtMaterialLineEdit *lineEditSubnetId = nullptr;
    QtMaterialLineEdit *lineEditDeviceId = nullptr;
    QtMaterialLineEdit *lineEditLockPassword = nullptr;
    QtMaterialLineEdit *lineEditRetainDays = nullptr;
    QtMaterialFlatButton *pushButtonSave = nullptr;
    SettingsLock *m_lock = nullptr;
    std::function<QDateTime()> m_now;
};
