#pragma once

// The "Lighting" tab of the template editor: the room lights tab over the
// template's lights (one row each, no address and no 3-D position).

#include "commissioning/pagesettingroommanagerlighting.h"

class PageSettingRoomTemplateLighting : public PageSettingRoomManagerLighting
{
    Q_OBJECT
public:
    explicit PageSettingRoomTemplateLighting(QWidget *parent = nullptr);

protected:
    int newId() override;
    QStringList removal(int id) const override;
};
