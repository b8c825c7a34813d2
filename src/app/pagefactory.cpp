#include "pagefactory.h"

#include "commissioning/pagesettingroommanager.h"
#include "commissioning/pagesettingroommanageracinformation.h"
#include "commissioning/pagesettingroommanageredit.h"
#include "commissioning/pagesettingroommanagerfloorheatinformation.h"
#include "commissioning/pagesettingroommanagerlightinginformation.h"
#include "commissioning/pagesettingroommanagerpanelinformation.h"
#include "commissioning/pagesettingroomtemplate.h"
#include "commissioning/pagesettingroomtemplateedit.h"
#include "commissioning/pagesettingroomtemplatelightinginformation.h"
#include "commissioning/pagesettingroomtemplatepanelinformation.h"
#include "moods/pagedeviceoperatemoods.h"
#include "moods/pageroomoperatemoods.h"
#include "moods/pagesettingroommanagermoods.h"
#include "moods/pagesettingroommanagermoodsdiycommand.h"
#include "moods/pagesettingroommanagermoodsinformation.h"
#include "operation/pagedeviceoperateac.h"
#include "operation/pagedeviceoperatefloorheat.h"
#include "operation/pagedeviceoperatelighting.h"
#include "operation/pageroomoperate.h"
#include "operation/pagerooms.h"
#include "records/pagelog.h"
#include "records/pagemessage.h"
#include "records/pagesettingmessagemanager.h"
#include "records/pagesettingmessagemanagermessageinformation.h"
#include "settings/pagesetting.h"
#include "settings/pagesettingabout.h"
#include "settings/pagesettingchangedeviceaddress.h"
#include "settings/pagesettingnetwork.h"
#include "settings/pagesettingproject.h"
#include "settings/pagesettingprojectinformation.h"
#include "shell/mydialog.h"
#include "shell/pagehome.h"
#include "view3d/page3dview.h"
#include "view3d/pageroomoperate3dview.h"
#include "view3d/pagesetting3dviewmanager.h"
#include "view3d/pagesetting3dviewmanageredit.h"

#include <QCoreApplication>
#include <QHash>

#include <functional>

namespace {

using Maker = std::function<MyDialog *(const QString &, const QString &)>;

template <typename Page> Maker maker()
{
    return [](const QString &id, const QString &name) -> MyDialog * { return new Page(id, name, nullptr); };
}

// The room page and the room editor get their "Moods" tabs here, so that room
// operation and room commissioning need not know the moods subsystem.
MyDialog *makeRoomOperate(const QString &id, const QString &name)
{
    auto *page = new PageRoomOperate(id, name, nullptr);
    auto *moods = new PageRoomOperateMoods(page);
    page->setMoodsTab(moods, [moods](int roomId) { moods->updatelist(roomId); });
    return page;
}

MyDialog *makeRoomEdit(const QString &id, const QString &name)
{
    auto *page = new PageSettingRoomManagerEdit(id, name, nullptr);
    auto *moods = new PageSettingRoomManagerMoods(nullptr);
    page->addRoomTab(QCoreApplication::translate("PageSettingRoomManagerEdit", "Moods"),
                     QStringLiteral(":/myImages/png/edit_room/icon-room-moods.png"), moods,
                     [moods](int roomId) { moods->updatelist(roomId); });
    return page;
}

const QHash<QString, Maker> &makers()
{
    static const QHash<QString, Maker> table = {
        {QStringLiteral("Home"), maker<PageHome>()},
        {QStringLiteral("Rooms"), maker<PageRooms>()},
        {QStringLiteral("Operate Room"), makeRoomOperate},
        {QStringLiteral("Lighting"), maker<PageDeviceOperateLighting>()},
        {QStringLiteral("AC"), maker<PageDeviceOperateAC>()},
        {QStringLiteral("Floor Heat"), maker<PageDeviceOperateFloorHeat>()},
        {QStringLiteral("Network Setting"), maker<PageSettingNetwork>()},
        {QStringLiteral("Change Device Address"), maker<PageSettingChangeDeviceAddress>()},
        {QStringLiteral("About"), maker<PageSettingAbout>()},
        {QStringLiteral("Setting"), maker<PageSetting>()},
        {QStringLiteral("Rooms Manager"), maker<PageSettingRoomManager>()},
        {QStringLiteral("Edit Room"), makeRoomEdit},
        {QStringLiteral("Moods Information"), maker<PageSettingRoomManagerMoodsInformation>()},
        {QStringLiteral("Diy Command"), maker<PageSettingRoomManagerMoodsDiyCommand>()},
        {QStringLiteral("Moods"), maker<PageDeviceOperateMoods>()},
        {QStringLiteral("Light Information"), maker<PageSettingRoomManagerLightingInformation>()},
        {QStringLiteral("Room Template"), maker<PageSettingRoomTemplate>()},
        {QStringLiteral("Edit Template"), maker<PageSettingRoomTemplateEdit>()},
        {QStringLiteral("Template Light Information"), maker<PageSettingRoomTemplateLightingInformation>()},
        {QStringLiteral("Template Panel Information"), maker<PageSettingRoomTemplatePanelInformation>()},
        {QStringLiteral("Panel Information"), maker<PageSettingRoomManagerPanelInformation>()},
        {QStringLiteral("AC Information"), maker<PageSettingRoomManagerACInformation>()},
        {QStringLiteral("Floor Heat Information"), maker<PageSettingRoomManagerFloorHeatInformation>()},
        {QStringLiteral("3D View"), maker<Page3DView>()},
        {QStringLiteral("Operate Room 3D View"), maker<PageRoomOperate3DView>()},
        {QStringLiteral("3D View Manager"), maker<PageSetting3DViewManager>()},
        {QStringLiteral("3D View Setting"), maker<PageSetting3DViewManagerEdit>()},
        {QStringLiteral("Project Setting"), maker<PageSettingProject>()},
        {QStringLiteral("Project Information"), maker<PageSettingProjectInformation>()},
        {QStringLiteral("Message Manager"), maker<PageSettingMessageManager>()},
        {QStringLiteral("Message Information"), maker<PageSettingMessageManagerMessageInformation>()},
        {QStringLiteral("Message"), maker<PageMessage>()},
        {QStringLiteral("Log"), maker<PageLog>()},
    };
    return table;
}

} // namespace

const QStringList &pageIds()
{
    static const QStringList ids = {
        QStringLiteral("Home"),
        QStringLiteral("Message"),
        QStringLiteral("Log"),
        QStringLiteral("Setting"),
        QStringLiteral("Rooms"),
        QStringLiteral("3D View"),
        QStringLiteral("Operate Room"),
        QStringLiteral("Operate Room 3D View"),
        QStringLiteral("Project Setting"),
        QStringLiteral("Project Information"),
        QStringLiteral("Room Template"),
        QStringLiteral("Edit Template"),
        QStringLiteral("Template Light Information"),
        QStringLiteral("Template Panel Information"),
        QStringLiteral("Rooms Manager"),
        QStringLiteral("Edit Room"),
        QStringLiteral("Message Manager"),
        QStringLiteral("Message Information"),
        QStringLiteral("Change Device Address"),
        QStringLiteral("Network Setting"),
        QStringLiteral("3D View Manager"),
        QStringLiteral("3D View Setting"),
        QStringLiteral("About"),
        QStringLiteral("Light Information"),
        QStringLiteral("AC Information"),
        QStringLiteral("Floor Heat Information"),
        QStringLiteral("Moods Information"),
        QStringLiteral("Diy Command"),
        QStringLiteral("Panel Information"),
        QStringLiteral("Lighting"),
        QStringLiteral("AC"),
        QStringLiteral("Floor Heat"),
        QStringLiteral("Moods"),
    };
    return ids;
}

MyDialog *createPage(const QString &id, const QString &name)
{
    const auto it = makers().constFind(id);
    if (it == makers().constEnd())
        return nullptr;
    return (*it)(id, name);
}
