#include "light3dviewitem.h"

#include "operation/lightitem.h"
#include "operation/lightloader.h"
#include "view3d/view3dpainting.h"
#include "view3d/view3drows.h"

#include <QPainter>

Light3DViewItem::Light3DViewItem(QWidget *parent)
    : Overlay3DViewItem(parent)
{}

LightItem *Light3DViewItem::lightCard(int index) const
{
    return qobject_cast<LightItem *>(card(index));
}

void Light3DViewItem::clearRecords()
{
    lights.clear();
}

bool Light3DViewItem::loadRecords(int roomId)
{
    bool read = false;
    for (const light &rec : loadRoomLights(roomId, &read)) {
        QPoint pos;
        if (!loadIconPosition(IconTable::Lights, rec.light_id, roomId, pos))
            return false;
        lights.append(rec);
        addEntry(pos, new LightItem(rec, true, this));
    }
    return read;
}

void Light3DViewItem::takeCardState(int index)
{
    if (LightItem *item = lightCard(index))
        lights[index] = item->getLight();
}

void Light3DViewItem::paintIcon(QPainter &painter, int index, const QRect &box)
{
    const light &rec = lights.at(index);
    const bool on = rec.isOn();
    view3d::drawIconCircle(painter, box, on ? view3d::iconOnColor() : view3d::iconOffColor());
    const QString name = QString::fromUtf8(on ? rec.icon_name_of_light_on : rec.icon_name_of_light_off);
    view3d::drawPicture(painter, QRect(box.x() + 22, box.y() + 10, 36, 36),
                        QStringLiteral(":/myImages/png/light/") + view3d::withPng(name));
    view3d::drawIconText(painter, QRect(box.x(), box.y() + 49, view3d::IconSize, 20), rec.remark(),
                         Qt::white);
}
