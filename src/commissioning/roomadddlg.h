#pragma once

// The add-room dialog: one room, or a numbered series of up to 99, made from a
// room template in a region and a floor given by name.

#include "shell/mydialog.h"

class QtMaterialCheckBox;
class QtMaterialComboBox;
class QtMaterialFlatButton;
class QtMaterialLineEdit;

class RoomAddDlg : public MyDialog
{
    Q_OBJECT
public:
    explicit RoomAddDlg(QWidget *parent = nullptr);

    QtMaterialComboBox *comboBoxRegion = nullptr;
    QtMaterialComboBox *comboBoxFloor = nullptr;
    QtMaterialLineEdit *lineEditRoomName = nullptr;
    QtMaterialComboBox *comboBoxTemplate = nullptr;
    QtMaterialCheckBox *checkBoxAddInBulk = nullptr;
    QtMaterialLineEdit *lineEditNumber = nullptr;
    QtMaterialFlatButton *pushButtonCancel = nullptr;
    QtMaterialFlatButton *pushButtonAdd = nullptr;

public slots:
    void comboBoxChange(int index);
    void checkBoxAddInBulk_toggled(bool checked);
    void textChanged(const QString &text);
    void editingFinished();
    void pushButtonAdd_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
};
