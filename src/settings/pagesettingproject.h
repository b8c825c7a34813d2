#pragma once

// "Project Setting": every project of the project list as a row, with adding,
// deleting (any project but the current one), opening a project's information,
// and the upload and download of projects.

#include "shell/mydialog.h"

class QtMaterialGroupBox;

class PageSettingProject : public MyDialog
{
    Q_OBJECT
public:
    PageSettingProject(const QString &id, const QString &name, QWidget *parent = nullptr);

    QtMaterialGroupBox *listBox() const { return groupBox; }
    void updatelist();

public slots:
    void slotsPageEnter();
    void slotsProjectEdit(QString projectName);
    void slotsProjectDelete(QString projectName);
    void pushButtonAddProject_clicked();
    void pushButtonUpload_clicked();
    void pushButtonDownload_clicked();

private:
    QtMaterialGroupBox *groupBox = nullptr;
};
