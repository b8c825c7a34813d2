#include "ac3dviewitem.h"

#include "operation/acitem.h"
#include "operation/climateloader.h"

AC3DViewItem::AC3DViewItem(QWidget *parent)
    : Climate3DViewItem(parent)
{}

QVector<airConditioner> AC3DViewItem::readUnits(int roomId, bool &read) const
{
    return loadRoomAirConditioners(roomId, &read);
}

ClimateItem *AC3DViewItem::makeCard(const airConditioner &rec)
{
    return new ACItem(rec, true, this);
}

QString AC3DViewItem::onStateLine(const airConditioner &rec) const
{
    switch (rec.mode) {
    case 1:
        return temperatureText(rec.current_heat_temperature, rec.temperature_unit);
    case 2:
        return tr("FAN");
    case 3:
        return temperatureText(rec.current_auto_temperature, rec.temperature_unit);
    default:
        return temperatureText(rec.current_cool_temperature, rec.temperature_unit);
    }
}
