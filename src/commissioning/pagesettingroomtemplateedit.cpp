#include "pagesettingroomtemplateedit.h"

#include "commissioning/pagesettingroomtemplatelighting.h"
#include "commissioning/pagesettingroomtemplatepanel.h"
#include "shell/manageritem.h"

PageSettingRoomTemplateEdit::PageSettingRoomTemplateEdit(const QString &id, const QString &name,
                                                         QWidget *parent)
    : PageSettingRoomManagerEdit(id, name,
                                 {QStringLiteral("Edit Template"), tr("Template Name"),
                                  tr("Template Picture"), ManagerItemRoomTemplate,
                                  QStringLiteral("tbl_room_template"), QStringLiteral("room_template_id"),
                                  QStringLiteral("room_template_name"),
                                  QStringLiteral("room_template_icon_name"), "photo_Template_%d"},
                                 parent)
{
    setObjectName(QStringLiteral("PageSettingRoomTemplateEdit"));
    lighting = new PageSettingRoomTemplateLighting(nullptr);
    addRoomTab(tr("Lighting"), QStringLiteral(":/myImages/png/edit_room/icon-room-lighting.png"), lighting,
               [this](int templateId) { lighting->updatelist(templateId); });
    panel = new PageSettingRoomTemplatePanel(nullptr);
    addRoomTab(tr("Panel"), QStringLiteral(":/myImages/png/edit_room/icon-room-panel.png"), panel,
               [this](int templateId) { panel->updatelist(templateId); });
}
