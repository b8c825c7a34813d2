#pragma once

// What the air-conditioner and floor-heating overlays share: one icon per unit
// of the room at its stored position (tbl_3d_air_conditioner), a dark circle
// while the unit is on and a light one while it is off, the small power picture,
// a state line in green and the unit's name, and the unit's card on a press.

#include "bus/airconditioner.h"
#include "view3d/overlay3dviewitem.h"

#include <QVector>

class ClimateItem;

class Climate3DViewItem : public Overlay3DViewItem
{
    Q_OBJECT
public:
    const airConditioner &unitAt(int index) const { return units.at(index); }
    // The state line that icon index shows.
    QString stateLine(int index) const;

    // "%d%s": the number with "°F" (unit above 0) or "°C".
    static QString temperatureText(int value, int unit);

protected:
    explicit Climate3DViewItem(QWidget *parent);

    // The room's units of the overlay's kind, with their defaults held in memory;
    // read is false, with no unit, when they could not be read.
    virtual QVector<airConditioner> readUnits(int roomId, bool &read) const = 0;
    virtual ClimateItem *makeCard(const airConditioner &rec) = 0;
    // The state line of a unit that is on.
    virtual QString onStateLine(const airConditioner &rec) const = 0;

    void clearRecords() override;
    bool loadRecords(int roomId) override;
    void takeCardState(int index) override;
    void paintIcon(QPainter &painter, int index, const QRect &box) override;

private:
    QVector<airConditioner> units;
};
