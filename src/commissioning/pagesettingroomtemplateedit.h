#pragma once

// "Edit Template": a room template's name and picture, and its template lights
// and panels in the tabs "Lighting" and "Panel" — the room editor over
// tbl_room_template. Name and picture are written whenever the page is left.

#include "commissioning/pagesettingroommanageredit.h"

class PageSettingRoomTemplateLighting;
class PageSettingRoomTemplatePanel;

class PageSettingRoomTemplateEdit : public PageSettingRoomManagerEdit
{
    Q_OBJECT
public:
    PageSettingRoomTemplateEdit(const QString &id, const QString &name, QWidget *parent = nullptr);

    PageSettingRoomTemplateLighting *templateLightingTab() const { return lighting; }
    PageSettingRoomTemplatePanel *templatePanelTab() const { return panel; }

private:
    PageSettingRoomTemplateLighting *lighting = nullptr;
    PageSettingRoomTemplatePanel *panel = nullptr;
};
