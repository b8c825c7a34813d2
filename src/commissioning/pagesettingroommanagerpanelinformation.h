#pragma once

// "Panel Information": one panel of a room, its name and its bus address, unique
// in the whole project. Readdressing a panel (after a question) drops its
// recorded messages. The template's panel page is this page without an address.

#include "shell/mydialog.h"

class QSqlQuery;
class QtMaterialFlatButton;
class QtMaterialLineEdit;

class PageSettingRoomManagerPanelInformation : public MyDialog
{
    Q_OBJECT
public:
    PageSettingRoomManagerPanelInformation(const QString &id, const QString &name,
                                           QWidget *parent = nullptr);

    QtMaterialLineEdit *nameField() const { return lineEditName; }
    QtMaterialLineEdit *subnetField() const { return lineEditSubnet; }
    QtMaterialLineEdit *deviceField() const { return lineEditDevice; }
    QtMaterialFlatButton *saveButton() const { return pushButtonSave; }

protected:
    PageSettingRoomManagerPanelInformation(const QString &id, const QString &name, bool withAddress,
                                           QWidget *parent);

protected slots:
    virtual void slotsPageEnter(QString panelId, QString ownerId);
    virtual void pushButtonSave_clicked();

private slots:
    void textChanged(const QString &text);

protected:
    // Takes the outcome of the entry's read of the row (and ends the query); a
    // failed read is said and refuses the next Save.
    void rowEntered(QSqlQuery &row);
    // Whether Save is refused because the row was not read on entry (said).
    bool saveRefused();

    int owner_id = 0; // the room, or the template
    int panel_id = 0;
    bool exists = false;
    // Whether the row was read when the page was entered; when not, Save stores nothing.
    bool m_rowRead = false;
    QtMaterialLineEdit *lineEditName = nullptr;

private:
    // Writes the panel; false when nothing was written (refused or cancelled).
    bool savePanel();

    QtMaterialLineEdit *lineEditSubnet = nullptr;
    QtMaterialLineEdit *lineEditDevice = nullptr;
    QtMaterialFlatButton *pushButtonSave = nullptr;
};
