#pragma once

// The form that the message dialog and the alarm dialog share: the message icon
// over both columns, then receive time, room, panel and message name (read only),
// the status box and the remark field, optionally a position line.

#include "store/records.h"

#include <QList>
#include <QWidget>

class QtMaterialComboBox;
class QtMaterialFlatButton;
class QtMaterialIconButton;
class QtMaterialLabel;
class QtMaterialLineEdit;

class MessageForm : public QWidget
{
    Q_OBJECT
public:
    static const char *const DefaultIcon;

    // iconSize: the square of the message icon; withPosition adds the
    // "Message Pos:" row under the remark.
    MessageForm(int iconSize, bool withPosition, QWidget *parent = nullptr);

    // Shows recv_time and the remark, then, when the record's message definition
    // exists, the icon, place, panel and message names and selects the status by
    // its name (keeping the selection when no item has it). Without a definition
    // those controls keep what they showed. Returns whether the definition exists.
    bool showRecord(const messageRecord &record);
    // Selects the status item of this name; false (selection kept) when none has it.
    bool selectStatus(const QString &name);
    // Whether the status box holds the status names: a form whose names failed to
    // read reads them again each time it shows a record, and saves nothing meanwhile.
    bool statusesRead() const { return m_statusesRead; }
    // Whether the last record shown was looked up whole, so that the status box
    // shows its stored status (or, without a definition, the first item).
    bool recordRead() const { return m_recordRead; }

    // What the message and alarm dialogs build around the form: a raised button
    // of the row under it, and the dialog's layout (close icon, the title label
    // "labelTitle", the form, the buttons side by side).
    static QtMaterialFlatButton *makeButton(const QString &text, const char *objectName, QWidget *parent);
    static void layOutDialog(QWidget *dialog, QtMaterialIconButton *close, const QString &title,
                             MessageForm *form, const QList<QtMaterialFlatButton *> &buttons);

    QtMaterialLabel *iconLabel() const { return labelIcon; }
    QtMaterialLineEdit *recvTimeField() const { return lineEditRecvTime; }
    QtMaterialLineEdit *roomField() const { return lineEditRoomName; }
    QtMaterialLineEdit *panelField() const { return lineEditPanelName; }
    QtMaterialLineEdit *messageNameField() const { return lineEditMessageName; }
    QtMaterialComboBox *statusBox() const { return comboBoxStatus; }
    QtMaterialLineEdit *remarkField() const { return lineEditRemark; }
    QtMaterialLabel *positionLabel() const { return labelPos; }
    // The resource the icon label shows.
    QString iconPath() const { return m_iconPath; }

private:
    void setIcon(const QString &path);
    void fillStatuses();

    int m_iconSize;
    QString m_iconPath;
    bool m_statusesRead = false;
    bool m_recordRead = false;
    QtMaterialLabel *labelIcon = nullptr;
    QtMaterialLineEdit *lineEditRecvTime = nullptr;
    QtMaterialLineEdit *lineEditRoomName = nullptr;
    QtMaterialLineEdit *lineEditPanelName = nullptr;
    QtMaterialLineEdit *lineEditMessageName = nullptr;
    QtMaterialComboBox *comboBoxStatus = nullptr;
    QtMaterialLineEdit *lineEditRemark = nullptr;
    QtMaterialLabel *labelPos = nullptr;
};
