#pragma once

// The device tabs of the room and template editors: one tile per device row of
// the owner (a room or a template), then the add tile. A tile opens the device's
// information page with (device id, owner id); the add tile opens it for a new
// id, which is taken only when that page saves; a tile's delete button removes
// the device at once, without a question.

#include "shell/mydialog.h"

#include <QStringList>

class QtMaterialGroupBox;

class DeviceTileTab : public MyDialog
{
    Q_OBJECT
public:
    static constexpr int TileSize = 192;

    struct Source
    {
        int kind;           // tile kind (ManagerItem) of the devices
        const char *list;   // query of the owner's rows, "%d" the owner id
        QString idColumn;   // the device id each tile carries
        QString nameColumn; // the tile's name
        QString iconColumn; // the tile's picture; empty for none
        QString pageId;     // the information page
        QString pageTitle;  // its title, translated
    };

    void updatelist(int ownerId);
    int roomId() const { return owner_id; }
    QtMaterialGroupBox *tileBox() const { return groupBox; }

public slots:
    void slotsEdit(int type, int id);
    void slotsDelete(int type, int id);

protected:
    DeviceTileTab(const Source &source, QWidget *parent);

    // The id a new device gets; below 0 refuses (the refusal said by the tab).
    virtual int newId() = 0;
    // The statements that remove device id of the owner, run in one transaction.
    virtual QStringList removal(int id) const = 0;
    // Said when the removal failed.
    virtual QString removeFailure() const = 0;
    // Runs after a removal and the rebuilt list.
    virtual void removed(int id) { Q_UNUSED(id) }

    int owner_id = 0;

private:
    Source m_source;
    QtMaterialGroupBox *groupBox = nullptr;
};
