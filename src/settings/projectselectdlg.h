#pragma once

// The modal project choice: one row per project of the project list, the current
// one marked; pressing a row accepts with that row's name.

#include "shell/mydialog.h"

class QtMaterialGroupBox;

class ProjectSelectDlg : public MyDialog
{
    Q_OBJECT
public:
    explicit ProjectSelectDlg(QWidget *parent = nullptr);

    void initDlgCtrl();

    // The chosen project; the caller sets it to the current project first.
    QString projectName;

    QtMaterialGroupBox *listBox() const { return m_list; }

private slots:
    void slotsProjectChanged(QString projectName);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QtMaterialGroupBox *m_list = nullptr;
};
