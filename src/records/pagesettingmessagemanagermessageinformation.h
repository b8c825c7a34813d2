#pragma once

// The "Message Information" page: one message definition (tbl_message) — its
// name, whether it is a service or an alarm message, the panel's universal switch
// number that raises it (unique, 1 to 255) and its icon. A new switch number for
// an existing definition asks first, and then drops the messages received under
// the old one. Saving returns to "Message Manager". A definition that fails to read
// on entry, or a look-up of "Save" that fails, is said and nothing is saved.

#include "shell/mydialog.h"

class ManagerItem;
class QtMaterialComboBox;
class QtMaterialFlatButton;
class QtMaterialLineEdit;

class PageSettingMessageManagerMessageInformation : public MyDialog
{
    Q_OBJECT
public:
    PageSettingMessageManagerMessageInformation(const QString &id, const QString &name,
                                                QWidget *parent = nullptr);
    ~PageSettingMessageManagerMessageInformation() override;

    // Read access for tests.
    int messageId() const { return message_id; }
    bool isExisting() const { return existing; }
    QtMaterialLineEdit *nameEdit() const { return lineEditName; }
    QtMaterialComboBox *typeCombo() const { return comboBoxType; }
    QtMaterialLineEdit *switchEdit() const { return lineEditSwitchNo; }
    ManagerItem *iconTile() const { return iconItem; }
    QtMaterialFlatButton *saveButton() const { return pushButtonSave; }

private slots:
    void slotsPageEnter(QString messageId);
    void slotsIconEdit(QString iconName);
    void textChanged(const QString &text);
    void pushButtonSave_clicked();

private:
    bool switchNumberTaken(int number, bool *ok) const;
    void fillTypes();

    QtMaterialFlatButton *pushButtonSave = nullptr;
    QtMaterialLineEdit *lineEditName = nullptr;
    QtMaterialComboBox *comboBoxType = nullptr;
    QtMaterialLineEdit *lineEditSwitchNo = nullptr;
    ManagerItem *iconItem = nullptr;
    int message_id = 0;
    bool existing = false;
    // Whether the type names, and at entry the definition (or its absence), were read whole.
    bool typesRead = false;
    bool entryRead = false;
};
