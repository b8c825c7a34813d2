#pragma once

// What the 3-D overlays of lights, air conditioners and floor heating share: the
// room's picture with one round icon per device at its stored position, one
// hidden operating card per device, and the press rule. A press inside an icon
// box shows that device's card in the middle of the overlay, a press anywhere
// else puts every card away; a card that was shown hands its latest state to its
// icon. startRefresh() starts the cards 100 ms apart and a 100 ms check copies
// their states onto the icons once every card has answered or given up.
//
// A device kind derives from this class and supplies the loading of its rows,
// the copying of a card's state and the painting of one icon.
//
// The overlay lives as long as its page, across project switches: on the hub's
// project signal it drops the cards and records of the project before, and the
// next updatelist() builds the new project's.

#include "operation/deviceitem.h"

#include <QList>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

class QPainter;

class Overlay3DViewItem : public QWidget
{
    Q_OBJECT
public:
    static constexpr int CheckMs = 100;
    static constexpr int StaggerMs = 100;

    ~Overlay3DViewItem() override;

    // Loads the room's picture name and devices and makes the hidden cards, storing
    // the positions that are missing. When the devices or their positions cannot
    // be read or stored, the failure is said, nothing is stored and no device is
    // shown; false then.
    bool updatelist(int roomId);
    // Drops the devices and the picture: nothing is shown or polled.
    void clear();
    // Starts every card, 100 ms apart, and the check that ends the refresh.
    virtual void startRefresh();
    // True once the last refresh ended with every card answered or given up.
    bool status() const { return finished; }

    // What the overlay holds, for its holder and for tests.
    QString pictureName() const { return picture; }
    int count() const { return entries.size(); }
    QPoint position(int index) const { return entries.at(index).pos; }
    DeviceItem *card(int index) const { return entries.at(index).card; }
    bool isChecking() const { return refreshTimer.isActive(); }

public slots:
    void finishRefresh();

protected:
    explicit Overlay3DViewItem(QWidget *parent);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    // Drops the device records of the previous room.
    virtual void clearRecords() = 0;
    // Reads the room's devices, appending one record and one addEntry() each;
    // false when the devices or a position could not be read or stored.
    virtual bool loadRecords(int roomId) = 0;
    // Copies the current state of card index into its record.
    virtual void takeCardState(int index) = 0;
    // Paints the icon of device index into its box.
    virtual void paintIcon(QPainter &painter, int index, const QRect &box) = 0;

    // Appends a device at pos with its card (a hidden child of the overlay).
    void addEntry(const QPoint &pos, DeviceItem *card);

private:
    // Deletes the cards (later) and empties the list.
    void dropCards();
    // The hub's project switch: nothing of the project before stays.
    void dropProject();

    struct Entry
    {
        QPoint pos;
        QPointer<DeviceItem> card;
    };

    QString picture;
    bool finished = false;
    QTimer refreshTimer;
    QList<Entry> entries;
};
