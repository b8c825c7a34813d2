#pragma once

// "Edit Room": a room's name and picture on top, and below them one tab per kind
// of device the room holds. Name and picture are written whenever the page is
// left, together with what the tabs that save on leaving hold (one transaction:
// all or nothing); the other tabs write their own data. A refused write says so
// and brings the editor back with what was typed. Left while a picture chosen for
// it is still written, the row takes that picture's name once its file is whole.
//
// Tabs are kept in one list: a later tab (air conditioners, floor heating,
// occupation, master, panels, moods) is one addRoomTab() call in the constructor
// with its title, icon, page and the call that loads a room into it.
//
// The template editor is this page over a room template (Owner describes the
// row edited), with its own two tabs.

#include "shell/mydialog.h"

#include <QList>

#include <functional>

class ManagerItem;
class PageSettingRoomManagerLighting;
class PictureWriter;
class QGridLayout;
class QtMaterialLabel;
class QtMaterialLineEdit;
class QtMaterialTabs;

class PageSettingRoomManagerEdit : public MyDialog
{
    Q_OBJECT
public:
    PageSettingRoomManagerEdit(const QString &id, const QString &name, QWidget *parent = nullptr);

    int roomId() const { return room_id; }
    QtMaterialLineEdit *nameField() const { return lineEditRoomName; }
    ManagerItem *pictureTile() const { return iconItem; }
    QtMaterialLabel *editIcon() const { return labelModifyRoomIcon; }
    QtMaterialTabs *tabBar() const { return tabs; }
    PageSettingRoomManagerLighting *lightingTab() const { return lighting; }
    int tabCount() const { return roomTabs.size(); }
    MyDialog *tabPage(int index) const { return roomTabs.value(index).page; }
    int currentTab() const { return current; }
    PictureWriter *pictureWriter() const { return writer; }

    // Adds a tab: made here without a parent, hidden until its tab is chosen. save,
    // when given, writes the tab's data when the page is left, inside the editor's
    // transaction; false (said by the tab) refuses the whole save.
    void addRoomTab(const QString &title, const QString &icon, MyDialog *page,
                    std::function<void(int roomId)> load, std::function<bool()> save = nullptr);

public slots:
    void slotsPageEnter(QString roomId, QString resetTabs);
    void slotsPageLeave(QString id);
    void slotsIconEdit(QString iconName);
    void currentChanged(int index);
    void labelModifyRoomIcon_pressed();

protected:
    // What the editor edits: one row of a table, found by its id column.
    struct Owner
    {
        QString pageId; // untranslated; the editor saves when this page is left
        QString nameLabel;
        QString pictureLabel;
        int tileKind;
        QString table;
        QString idColumn;
        QString nameColumn;
        QString iconColumn;
        const char *photo; // the gallery picture's name, "%d" the id
    };
    PageSettingRoomManagerEdit(const QString &id, const QString &name, const Owner &owner, QWidget *parent);

private:
    struct RoomTab
    {
        MyDialog *page;
        std::function<void(int roomId)> load;
        std::function<bool()> save;
    };
    // Writes name, picture and the tabs' data in one transaction.
    bool saveRow(const QString &sql);
    void addFromGallery();
    void galleryPictureWritten(int result, const QString &name);

    Owner m_owner;
    // The name and picture whose save on leaving was refused, and whether the
    // editor is being shown again for them.
    struct Unsaved
    {
        int id = 0;
        QString name;
        QString icon;
    };
    Unsaved m_unsaved;
    bool m_returning = false;
    // Whether the page's row was read when it was entered; when not, leaving stores nothing.
    bool m_rowRead = false;

    int room_id = 0;
    int current = -1;
    QtMaterialLineEdit *lineEditRoomName = nullptr;
    ManagerItem *iconItem = nullptr;
    QtMaterialLabel *labelModifyRoomIcon = nullptr;
    QtMaterialTabs *tabs = nullptr;
    QGridLayout *layout = nullptr; // the cell of the tab pages
    QList<RoomTab> roomTabs;
    PageSettingRoomManagerLighting *lighting = nullptr;
    // Writes a picture from the gallery; no other picture is chosen meanwhile.
    PictureWriter *writer = nullptr;
    QString m_gallerySource;
    QString m_galleryName;
};
