#pragma once

// "Moods Information": creates or edits one mood of one room. The user names the
// mood, picks its picture (built-in or from a picture file), chooses which device
// groups of the room it stores, and reaches its DIY commands through "Select".
// Save writes the mood's row, copies the current rows of the chosen groups as
// the mood's snapshot, rewrites its command rows, all in one transaction, and
// returns to the room editor. Commands written for a mood that is never saved
// are dropped once the page has left the menu bar's history (tried again at the
// next page change when that fails, with the failure said). When the mood's
// row, its commands, the rows it copies or the test of a checked group cannot
// all be read, the save is refused and the stored mood stays as it was. A photo
// chosen from the gallery is written aside and put in place as the mood's photo only
// by Save, together with the row: the tile shows it meanwhile, and leaving the
// editor, a project switch or another choice drops it, the saved photo untouched.
// Saved while its chosen picture is still written, the row takes that picture's name
// once the file is whole.

#include "moods/diycommand.h"
#include "shell/mydialog.h"

#include <QList>

class ManagerItem;
class PictureWriter;
class QtMaterialCheckBox;
class QtMaterialFlatButton;
class QtMaterialLabel;
class QtMaterialLineEdit;

class PageSettingRoomManagerMoodsInformation : public MyDialog
{
    Q_OBJECT
public:
    // The device groups, in the order of their check boxes.
    enum Group { GroupLight, GroupAc1, GroupAc2, GroupFloorHeat1, GroupFloorHeat2, GroupCount };

    PageSettingRoomManagerMoodsInformation(const QString &id, const QString &name,
                                           QWidget *parent = nullptr);

    void updatelist();

    int moodId() const { return mood_id; }
    int roomId() const { return room_id; }
    bool isExisting() const { return existing; }
    const QList<diyCommand> &commands() const { return commandList; }
    QtMaterialLineEdit *nameField() const { return lineEditName; }
    ManagerItem *pictureTile() const { return iconItem; }
    QtMaterialCheckBox *groupBox(int group) const { return checkBoxes[group]; }
    QtMaterialLabel *groupPicture(int group) const { return pictures[group]; }
    QtMaterialFlatButton *saveButton() const { return pushButtonSave; }
    QtMaterialFlatButton *selectButton() const { return pushButtonSelect; }
    PictureWriter *pictureWriter() const { return writer; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void slotsPageEnter(QString mood_room_Id, QString resetPage);
    void slotsPageRemoveMoodsInformation();
    void slotsIconEdit(QString iconName);
    void checkBoxAddDevicesInCurrentState_toggled(bool checked);
    void pushButtonSave_clicked();
    void pushButtonExtraDiyCommand_clicked();

private:
    // False when a row to copy could not be read: the statements are then not whole.
    bool saveStatements(const QString &name, QStringList &sql) const;
    void galleryPictureWritten(int result, const QString &name);
    // Says what went wrong with the gallery picture name; answers whether it was written.
    bool sayGalleryWrite(int result, const QString &name);
    // Drops the photo chosen and not saved, and the tile shows what it showed before.
    void dropPhoto();

    int room_id = 0;
    int mood_id = 0;
    bool existing = false;
    // Whether the last entry read the mood's row, and its commands, to the end.
    bool moodRead = true;
    bool commandsRead = true;
    // Per group: checked, but its test failed to read.
    bool testUnread[GroupCount] = {};
    QList<diyCommand> commandList;
    QtMaterialLineEdit *lineEditName = nullptr;
    ManagerItem *iconItem = nullptr;
    QtMaterialCheckBox *checkBoxes[GroupCount] = {};
    QtMaterialLabel *pictures[GroupCount] = {};
    QtMaterialFlatButton *pushButtonSave = nullptr;
    QtMaterialFlatButton *pushButtonSelect = nullptr;
    // Writes a picture from the gallery; no other picture is chosen meanwhile.
    PictureWriter *writer = nullptr;
    QString gallerySource;
    QString galleryName;
    // A photo is chosen and not yet saved: written now, or held by the writer.
    bool photoPending = false;
    QString iconBeforePhoto;
};
