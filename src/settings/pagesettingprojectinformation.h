#pragma once

// "Project Information": one project's name and its valid indoor temperature
// range, kept in the project list file.

#include "shell/mydialog.h"

class QtMaterialLineEdit;

class PageSettingProjectInformation : public MyDialog
{
    Q_OBJECT
public:
    PageSettingProjectInformation(const QString &id, const QString &name, QWidget *parent = nullptr);

public slots:
    void slotsPageEnter(QString projectName);
    void pushButtonSave_clicked();

private:
    QtMaterialLineEdit *lineEditName = nullptr;
    QtMaterialLineEdit *lineEditLow = nullptr;
    QtMaterialLineEdit *lineEditHigh = nullptr;
};
