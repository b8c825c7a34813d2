#pragma once

// The block that stands for one room on the pages that show one kind of device
// for all rooms at once: a title line with the room's name and its occupation
// and master item, a sideways-scrolling grid of the room's device cards of one
// kind, and the room's picture behind everything. The cards are read once, when
// the block is made. A refresh starts the occupation and master item at once and
// the cards 100 ms apart; status() tells when all of them are done.

#include <QList>

#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

class DeviceItem;
class OccupationMasterItem;
class QGridLayout;
class QtMaterialCanvas;
class QtMaterialGroupBox;
class QtMaterialLabel;

class RoomItem : public QWidget
{
    Q_OBJECT
public:
    // The kinds of card a room block shows.
    enum Kind { KindLights = 0, KindAirConditioners = 1, KindFloorHeating = 2, KindMoods = 3 };

    static constexpr int CardWidth = 500;
    static constexpr int CardHeight = 320;
    static constexpr int CardSpacing = 20;
    // Height of a block whose cards take at most one row; every further row of
    // cards adds a card height and the spacing, so no card is cut off.
    static constexpr int BlockHeight = 400;
    static constexpr int StaggerMs = 100;

    RoomItem(int roomId, int kind, QWidget *parent = nullptr);
    ~RoomItem() override;

    // Makes the mood tiles of a room (kind 3), in grid order, in parent. The
    // moods subsystem sets it; without it a moods block shows no tiles.
    using MoodTileMaker = std::function<QList<QWidget *>(int roomId, QWidget *parent)>;
    static void setMoodTileMaker(MoodTileMaker maker);

    // Starts a refresh: below 1 at once, else after delay ms.
    void getStatus(int delay);
    // True when the occupation and master item and every card are done.
    bool status() const;
    // False when the room's devices, occupation sensor or master switch could not
    // be read: the block then shows and polls none of them.
    bool isLoaded() const { return loaded; }

    int getRoomId() const { return roomId; }
    int getKind() const { return kind; }
    QString getIconName() const { return iconName; }
    QString titleText() const;
    // The cards, in the order they were made (grid order).
    const QList<DeviceItem *> &cards() const { return cardList; }
    // The mood tiles of a moods block, in grid order.
    const QList<QWidget *> &moodTiles() const { return moodTileList; }
    OccupationMasterItem *occupationMaster() const { return occupationMasterItem; }
    QGridLayout *cardGrid() const { return grid; }
    QtMaterialGroupBox *cardBox() const { return groupBox; }
    bool isRefreshPending() const { return refreshTimer.isActive(); }
    // The picture file the block draws; empty when there is none.
    QString picturePath() const;

public slots:
    void startRefresh();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void loadDevice();
    // The cards of the block's kind; read is false, with no card, when the
    // devices could not be read.
    QList<DeviceItem *> makeCards(bool &read);

    int roomId;
    int kind;
    QString iconName;
    QTimer refreshTimer;
    OccupationMasterItem *occupationMasterItem = nullptr;
    QtMaterialGroupBox *groupBox = nullptr;
    QtMaterialLabel *titleLabel = nullptr;
    QtMaterialCanvas *canvas = nullptr;
    QGridLayout *grid = nullptr;
    QList<DeviceItem *> cardList;
    QList<QWidget *> moodTileList;
    bool loaded = false;
    // The picture's path, found at the first paint.
    QString pictureFile;
    bool pictureLoaded = false;
};
