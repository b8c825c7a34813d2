#pragma once

// The "Panel" tab of the room editor: the room's panels as tiles, then the add
// tile. Deleting a panel drops its recorded messages with it.

#include "commissioning/devicetiletab.h"

class PageSettingRoomManagerPanel : public DeviceTileTab
{
    Q_OBJECT
public:
    explicit PageSettingRoomManagerPanel(QWidget *parent = nullptr);

protected:
    int newId() override;
    QStringList removal(int id) const override;
    QString removeFailure() const override;
    void removed(int id) override;
};
