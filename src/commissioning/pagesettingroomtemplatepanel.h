#pragma once

// The "Panel" tab of the template editor: the template's named panels as tiles,
// then the add tile.

#include "commissioning/devicetiletab.h"

class PageSettingRoomTemplatePanel : public DeviceTileTab
{
    Q_OBJECT
public:
    explicit PageSettingRoomTemplatePanel(QWidget *parent = nullptr);

protected:
    int newId() override;
    QStringList removal(int id) const override;
    QString removeFailure() const override;
};
