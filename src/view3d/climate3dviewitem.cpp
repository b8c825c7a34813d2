#include "climate3dviewitem.h"

#include "operation/climateitem.h"
#include "operation/climateloader.h"
#include "view3d/view3dpainting.h"
#include "view3d/view3drows.h"

#include <QPainter>

Climate3DViewItem::Climate3DViewItem(QWidget *parent)
    : Overlay3DViewItem(parent)
{}

QString Climate3DViewItem::temperatureText(int value, int unit)
{
    return QString::asprintf("%d", value) + (unit > 0 ? QStringLiteral("°F") : QStringLiteral("°C"));
}

QString Climate3DViewItem::stateLine(int index) const
{
    const airConditioner &rec = units.at(index);
    return rec.status > 0 ? onStateLine(rec) : tr("OFF");
}

void Climate3DViewItem::clearRecords()
{
    units.clear();
}

bool Climate3DViewItem::loadRecords(int roomId)
{
    bool read = false;
    for (const airConditioner &rec : readUnits(roomId, read)) {
        QPoint pos;
        if (!loadIconPosition(IconTable::Climate, rec.air_conditioner_no, roomId, pos))
            return false;
        units.append(rec);
        addEntry(pos, makeCard(rec));
    }
    return read;
}

void Climate3DViewItem::takeCardState(int index)
{
    if (auto *item = qobject_cast<ClimateItem *>(card(index)))
        units[index] = item->getAirConditioner();
}

void Climate3DViewItem::paintIcon(QPainter &painter, int index, const QRect &box)
{
    const airConditioner &rec = units.at(index);
    const bool on = rec.status > 0;
    view3d::drawIconCircle(painter, box, on ? view3d::iconOnColor() : view3d::iconOffColor());
    view3d::drawPicture(painter, QRect(box.x() + 32, box.y() + 10, 16, 16),
                        on ? QStringLiteral(":/myImages/png/airConditioner/icon-ac-power-on.png")
                           : QStringLiteral(":/myImages/png/airConditioner/icon-ac-power-off.png"));
    view3d::drawIconText(painter, QRect(box.x(), box.y() + 29, view3d::IconSize, 20), stateLine(index),
                         view3d::stateLineColor());
    view3d::drawIconText(painter, QRect(box.x(), box.y() + 49, view3d::IconSize, 20),
                         climateText(rec.remark), Qt::white);
}
