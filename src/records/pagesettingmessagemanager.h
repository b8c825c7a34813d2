#pragma once

// The "Message Manager" page: the message definitions (tbl_message) as a grid of
// tiles with the add tile last. A tile opens "Message Information" for its
// definition, the add tile for the first free number; a tile's delete button
// removes the definition and every message received under it, without a question.

#include "shell/mydialog.h"

class QtMaterialGroupBox;

class PageSettingMessageManager : public MyDialog
{
    Q_OBJECT
public:
    static constexpr int TileSize = 192;

    PageSettingMessageManager(const QString &id, const QString &name, QWidget *parent = nullptr);

    void updatelist();

    QtMaterialGroupBox *tileBox() const { return groupBox; }

private slots:
    void slotsPageEnter();
    void slotsEdit(int type, int id);
    void slotsDelete(int type, int id);

private:
    QtMaterialGroupBox *groupBox = nullptr;
};
