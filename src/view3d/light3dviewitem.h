#pragma once

// The lights of one room on its 3-D picture (the "Lighting" tab of the room's
// 3-D page): one icon per light that has a bus address, drawn with the light's
// own on or off picture on a dark (on) or light (off) circle, and the light's
// card on a press. Lights without a stored position get the row (0, 0).

#include "operation/light.h"
#include "view3d/overlay3dviewitem.h"

#include <QVector>

class LightItem;

class Light3DViewItem : public Overlay3DViewItem
{
    Q_OBJECT
public:
    explicit Light3DViewItem(QWidget *parent = nullptr);

    // The record behind icon index, as the icon shows it.
    const light &lightAt(int index) const { return lights.at(index); }
    LightItem *lightCard(int index) const;

protected:
    void clearRecords() override;
    bool loadRecords(int roomId) override;
    void takeCardState(int index) override;
    void paintIcon(QPainter &painter, int index, const QRect &box) override;

private:
    QVector<light> lights;
};
