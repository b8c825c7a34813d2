#pragma once

// The add-template dialog: a name; the new template gets the first free id and
// the picture "room_1".

#include "shell/mydialog.h"

class QtMaterialFlatButton;
class QtMaterialLineEdit;

class RoomTemplateAddDlg : public MyDialog
{
    Q_OBJECT
public:
    explicit RoomTemplateAddDlg(QWidget *parent = nullptr);

    QtMaterialLineEdit *lineEditName = nullptr;
    QtMaterialFlatButton *pushButtonCancel = nullptr;
    QtMaterialFlatButton *pushButtonAdd = nullptr;

private slots:
    void pushButtonAdd_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
};
