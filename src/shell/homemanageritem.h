#pragma once

// The upper band of the home page: the "3D View" and "Rooms" tiles, and every room
// of the current project as a tile, ordered by region, floor and room. Pressing a
// room tile opens that room's operation page.

#include <QString>
#include <QWidget>

class QGridLayout;
class QtMaterialGroupBox;

class HomeManagerItem : public QWidget
{
    Q_OBJECT
public:
    static constexpr int RoomTileWidth = 300;
    static constexpr int RoomTileHeight = 160;
    // The band's room grid leaves this much of the screen to the two small tiles.
    static constexpr int ReservedWidth = 128;

    explicit HomeManagerItem(QWidget *parent = nullptr);

    void updatelist();

    // "<region>-<floor>-<room>"; a missing region or floor row leaves its part empty.
    static QString roomDisplayName(int regionId, int floorId, const QString &roomName);

    QtMaterialGroupBox *roomsBox() const { return groupBoxRooms; }
    QGridLayout *roomsGrid() const;

public slots:
    void slotsProjectStateChanged();
    void slotsEdit(int type, int id);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QtMaterialGroupBox *groupBoxRooms;
};
