#include "floorheat3dviewitem.h"

#include "operation/climateloader.h"
#include "operation/floorheatitem.h"

FloorHeat3DViewItem::FloorHeat3DViewItem(QWidget *parent)
    : Climate3DViewItem(parent)
{}

QVector<airConditioner> FloorHeat3DViewItem::readUnits(int roomId, bool &read) const
{
    return loadRoomFloorHeating(roomId, &read);
}

ClimateItem *FloorHeat3DViewItem::makeCard(const airConditioner &rec)
{
    return new FloorHeatItem(rec, true, this);
}

QString FloorHeat3DViewItem::onStateLine(const airConditioner &rec) const
{
    return temperatureText(rec.current_temperature, rec.temperature_unit);
}
