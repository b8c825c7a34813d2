#pragma once

// "About": who made the application, the vendor or agent who looks after the
// site (stored in the settings group "about"), and the software and database
// versions. Everything shown is read once, when the page is made.

#include "shell/mydialog.h"

class QtMaterialLabel;
class QtMaterialLineEdit;

class PageSettingAbout : public MyDialog
{
    Q_OBJECT
public:
    PageSettingAbout(const QString &id, const QString &name, QWidget *parent = nullptr);

    // Read access for tests.
    QtMaterialLineEdit *nameField() const { return lineEditName; }
    QtMaterialLineEdit *phoneField() const { return lineEditPhone; }
    QString softwareVersionText() const;
    QString databaseVersionText() const;

private slots:
    void editingFinished();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QtMaterialLineEdit *lineEditName = nullptr;
    QtMaterialLineEdit *lineEditPhone = nullptr;
    QtMaterialLabel *labelSoftwareVersion = nullptr;
    QtMaterialLabel *labelDatabaseVersion = nullptr;
};
