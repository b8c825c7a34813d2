#pragma once

// "Light Information": one light of a room — its name, type, picture and bus
// addresses (one set, four for a colour light, or area and scene for a scene
// light). Save replaces the light's rows and returns to the room editor. The
// template's light page is this page without the addresses.

#include "shell/mydialog.h"

class ManagerItem;
class QtMaterialComboBox;
class QtMaterialFlatButton;
class QtMaterialLabel;
class QtMaterialLineEdit;

class PageSettingRoomManagerLightingInformation : public MyDialog
{
    Q_OBJECT
public:
    PageSettingRoomManagerLightingInformation(const QString &id, const QString &name,
                                              QWidget *parent = nullptr);

    // The fields of address set k (0 to 3): subnet, device, channel.
    QtMaterialLineEdit *addressField(int set, int field) const { return lineEditAddress[set][field]; }
    QtMaterialLineEdit *areaField() const { return lineEditArea; }
    QtMaterialLineEdit *sceneField() const { return lineEditScene; }
    QtMaterialLineEdit *nameField() const { return lineEditName; }
    QtMaterialComboBox *typeChooser() const { return comboBoxType; }
    ManagerItem *pictureTile() const { return iconItem; }
    QtMaterialFlatButton *saveButton() const { return pushButtonSave; }
    int lightId() const { return light_id; }
    int roomId() const { return room_id; }

protected:
    PageSettingRoomManagerLightingInformation(const QString &id, const QString &name, bool withAddress,
                                              QWidget *parent);

protected slots:
    virtual void slotsPageEnter(QString lightId, QString roomId);
    virtual void pushButtonSave_clicked();

private slots:
    void comboBoxChange(int index);
    void slotsIconEdit(QString iconName);
    void textChanged(const QString &text);

protected:
    enum class SaveResult { Saved, Incomplete, Failed };
    SaveResult saveLight();
    // Takes whether the entry read the light's rows whole; a failed read is said
    // and refuses Save (saveRefused() then says so and answers true).
    void rowsEntered(bool read);
    bool saveRefused();

    int room_id = 0; // the template's id on the template page
    int light_id = 0;
    QtMaterialLineEdit *lineEditName = nullptr;
    QtMaterialComboBox *comboBoxType = nullptr;
    ManagerItem *iconItem = nullptr;
    QtMaterialFlatButton *pushButtonSave = nullptr;

private:
    void loadLight();

    // Whether the light's rows were read whole when the page was entered.
    bool m_rowsRead = true;
    QtMaterialLineEdit *lineEditAddress[4][3] = {};
    QtMaterialLabel *labelAddress[4][3] = {};
    QtMaterialLineEdit *lineEditArea = nullptr;
    QtMaterialLineEdit *lineEditScene = nullptr;
    QtMaterialLabel *labelArea = nullptr;
    QtMaterialLabel *labelScene = nullptr;
};
