#pragma once

// "Diy Command": edits the DIY commands of one mood of one room, one command at a
// time. "Prev" and "Next" step through the mood's commands and keep the shown one
// in the page's own list; "Next" past the last begins a new command numbered one
// above it. "Save" rewrites the mood's command rows from the list, all in one
// transaction, and returns to the mood editor, which then reloads only its
// command list. Nothing of the list survives leaving the page without "Save".
// Commands that could not all be read on entry are never saved over the stored
// ones: the read is said to have failed, and "Save" is refused.

#include "moods/diycommand.h"
#include "shell/mydialog.h"

#include <QList>

class DiyParameterFields;
class QtMaterialFlatButton;
class QtMaterialLabel;
class QtMaterialLineEdit;

class PageSettingRoomManagerMoodsDiyCommand : public MyDialog
{
    Q_OBJECT
public:
    PageSettingRoomManagerMoodsDiyCommand(const QString &id, const QString &name,
                                          QWidget *parent = nullptr);

    // Rebuilds the command list from the mood's stored rows.
    void updatelist();
    // Shows the current command in the controls.
    void loadDiyCommand();
    // Fills the current command from the controls.
    void setCommand();

    int moodId() const { return mood_id; }
    int roomId() const { return room_id; }
    int position() const { return m_position; }
    const QList<diyCommand> &commands() const { return commandList; }
    QtMaterialLabel *commandIdLabel() const { return labelCommandId; }
    QtMaterialLineEdit *subnetField() const { return lineEditSubnet; }
    QtMaterialLineEdit *deviceField() const { return lineEditDevice; }
    DiyParameterFields *parameterFields() const { return fields; }
    QtMaterialFlatButton *prevButton() const { return pushButtonPrev; }
    QtMaterialFlatButton *saveButton() const { return pushButtonSave; }
    QtMaterialFlatButton *nextButton() const { return pushButtonNext; }

private slots:
    void slotsPageEnter(QString moodId, QString roomId);
    void pushButtonPrev_clicked();
    void pushButtonSave_clicked();
    void pushButtonNext_clicked();

private:
    bool addressComplete();
    void storeCommand();
    void beginCommand(int commandId);

    int room_id = 0;
    int mood_id = 0;
    int m_position = 0;
    diyCommand current;
    QList<diyCommand> commandList;
    bool commandsRead = true;

    QtMaterialLabel *labelCommandId = nullptr;
    QtMaterialLineEdit *lineEditSubnet = nullptr;
    QtMaterialLineEdit *lineEditDevice = nullptr;
    DiyParameterFields *fields = nullptr;
    QtMaterialFlatButton *pushButtonPrev = nullptr;
    QtMaterialFlatButton *pushButtonSave = nullptr;
    QtMaterialFlatButton *pushButtonNext = nullptr;
};
