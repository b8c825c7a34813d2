#pragma once

// The add-project dialog: a name field, "Cancel" and "Add". An accepted name is
// listed with its defaults and gets its own folder and a fresh database, while
// the current project stays current and its database open.

#include "shell/mydialog.h"

class QtMaterialLineEdit;

class ProjectAddDlg : public MyDialog
{
    Q_OBJECT
public:
    explicit ProjectAddDlg(QWidget *parent = nullptr);

    QtMaterialLineEdit *nameEdit() const { return lineEditName; }

public slots:
    void pushButtonAdd_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QtMaterialLineEdit *lineEditName = nullptr;
};
