#pragma once

// The "Lighting" tab of the room editor: one tile per light of the room, then the
// add tile. A tile opens the light's information page, the add tile the same page
// for a new light; a tile's delete button removes the light at once.

#include "commissioning/devicetiletab.h"

class PageSettingRoomManagerLighting : public DeviceTileTab
{
    Q_OBJECT
public:
    explicit PageSettingRoomManagerLighting(QWidget *parent = nullptr);

protected:
    PageSettingRoomManagerLighting(const Source &source, QWidget *parent);
    int newId() override;
    QStringList removal(int id) const override;
    QString removeFailure() const override;
};
