#pragma once

// "Room Template": the room templates as tiles, then the add tile. A template
// tile opens the template editor; its delete button removes the template with
// every room made from it.

#include "shell/mydialog.h"

class QtMaterialGroupBox;

class PageSettingRoomTemplate : public MyDialog
{
    Q_OBJECT
public:
    static constexpr int TileWidth = 300;
    static constexpr int TileHeight = 160;

    PageSettingRoomTemplate(const QString &id, const QString &name, QWidget *parent = nullptr);

    QtMaterialGroupBox *tileBox() const { return groupBox; }

    // Removes the template, every room made from it with everything of those
    // rooms, its lights, panels and picture, in one transaction. Answers whether
    // it was removed; on a failure nothing is.
    static bool removeTemplate(int templateId);

public slots:
    void slotsPageEnter();
    void updatelist();
    void slotsEdit(int type, int id);
    void slotsDelete(int type, int id);

private:
    QtMaterialGroupBox *groupBox = nullptr;
};
