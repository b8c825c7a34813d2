#pragma once

// "AC Information": one air conditioner of a room — its name, whether a panel or
// infrared drives it, the bus address of that device, its number on the panel or
// its infrared patch, and whether its card hides the room temperature. Save
// writes the row (state columns reset) and returns to the room editor. The
// floor-heating page is the same page without the choice of drive.

#include "shell/mydialog.h"

class QtMaterialCheckBox;
class QtMaterialComboBox;
class QtMaterialFlatButton;
class QtMaterialLineEdit;
class QtMaterialRadioButton;

class PageSettingRoomManagerACInformation : public MyDialog
{
    Q_OBJECT
public:
    PageSettingRoomManagerACInformation(const QString &id, const QString &name, QWidget *parent = nullptr);

    QtMaterialLineEdit *nameField() const { return lineEditName; }
    // 0 subnet, 1 device, 2 the number on the panel (or the circuit's number).
    QtMaterialLineEdit *numberField(int index) const { return lineEditNumber[index]; }
    QtMaterialRadioButton *panelButton() const { return radioButtonPanel; }
    QtMaterialRadioButton *irButton() const { return radioButtonIR; }
    QtMaterialComboBox *patchList() const { return comboBoxPatch; }
    QtMaterialCheckBox *hideRoomTemperature() const { return checkBoxHide; }
    QtMaterialFlatButton *saveButton() const { return pushButtonSave; }
    bool rowExists() const { return exists; }

protected:
    PageSettingRoomManagerACInformation(const QString &id, const QString &name, bool floorHeat,
                                        QWidget *parent);

private slots:
    void slotsPageEnter(QString number, QString roomId);
    void radioButtonACType_clicked();
    void textChanged(const QString &text);
    void pushButtonSave_clicked();

private:
    const bool floor_heat;
    int room_id = 0;
    int number = 0;
    bool exists = false;
    // Whether the row was read when the page was entered; when not, Save stores nothing.
    bool m_rowRead = false;
    QtMaterialLineEdit *lineEditName = nullptr;
    QtMaterialLineEdit *lineEditNumber[3] = {};
    QtMaterialRadioButton *radioButtonPanel = nullptr;
    QtMaterialRadioButton *radioButtonIR = nullptr;
    QtMaterialComboBox *comboBoxPatch = nullptr;
    QtMaterialCheckBox *checkBoxHide = nullptr;
    QtMaterialFlatButton *pushButtonSave = nullptr;
};
