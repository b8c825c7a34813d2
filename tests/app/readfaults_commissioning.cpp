// Sweep actions of room commissioning: rooms, templates, their devices and information pages, removal.

#include "readfaults.h"

#include "../commissioning/pagenavigator.h"
#include "commissioning/devicetiletab.h"
#include "commissioning/pagesettingroommanageredit.h"
#include "shell/projectpicture.h"
#include "shell/manageritem.h"
#include "store/cppsqlite3db.h"

#include <QFile>
#include <QLineEdit>

namespace readfaults {

namespace {

// Room 1 (Kitchen) holds the devices edited, its colour light and first air conditioner with 3-D icon
// positions; room 2 (Hall, alone on its floor, from template 1) has a mood, a 3-D view, messages, pictures.
const char *const House = R"(insert into tbl_region(region_name,region_id) values('North',1);
insert into tbl_floor(floor_name,floor_id,region_id) values('1F',1,1),('2F',2,1);
insert into tbl_room(room_name,icon_name,room_id,floor_id,region_id,room_template_id) values
  ('Kitchen','room_1',1,1,1,0),('Hall','photo_Room_2',2,2,1,1);
insert into tbl_light(light_id,light_type,light_remark,subnet_id,device_id,channel,rgb,room_id) values
  (1,2,'Strip',1,10,1,1,1),(1,2,'Strip',1,10,2,2,1),(1,2,'Strip',1,10,3,3,1),(1,2,'Strip',1,10,4,4,1),
  (2,1,'Lamp',1,11,1,0,1),(3,0,'Hall',1,12,1,0,2);
insert into tbl_air_conditioner(air_conditioner_no,air_conditioner_type,remark,subnet_id,device_id,channel,
  room_temperature_type,room_id) values(0,0,'AC',1,40,1,1,1),(2,0,'FH',1,41,1,1,1),(0,1,'Hall',1,42,2,1,2);
insert into tbl_panel(panel_id,subnet_id,device_id,room_id) values(1,1,20,1),(2,1,21,2);
insert into tbl_occupation(subnet_id,device_id,channel,room_id) values(1,30,5,1),(1,31,5,2);
insert into tbl_message_log(message_id,panel_id,room_id) values(11,1,1),(11,2,2);
insert into tbl_3d_view_manager(icon_name,room_id) values('photo_3dView_2',2);
insert into tbl_3d_view_light(light_id,xp1,yp1,room_id) values(1,120,80,1);
insert into tbl_3d_air_conditioner(air_conditioner_no,xp1,yp1,room_id) values(0,240,80,1);
insert into tbl_mood(mood_id,mood_name,mood_icon_name,room_id) values(1,'Evening','photo_Mood_1',2);
insert into tbl_room_template(room_template_name,room_template_icon_name,room_template_id) values('Suite',
  'photo_Template_1',1);
insert into tbl_template_light(template_light_id,light_type,room_template_id) values(1,2,1);
insert into tbl_template_panel(template_panel_id,panel_remark,room_template_id) values(1,'Door',1))";

void seedHouse()
{
    gl_sqlite3db.execTransaction(QString::fromLatin1(House).split(QLatin1Char(';')));
    for (const char *name : {"photo_Room_2", "photo_Mood_1", "photo_3dView_2", "photo_Template_1"})
        QFile(currentProjectFolder() + '/' + name + ".png").open(QFile::WriteOnly);
}

// "|"-separated texts into the line edits (an editable combo box's among them), in order; then the
// buttons of these texts pressed.
void fill(QWidget *page, const char *typed, const QStringList &buttons)
{
    QStringList texts = QString::fromUtf8(typed).split(QLatin1Char('|'));
    for (QLineEdit *field : page->findChildren<QLineEdit *>())
        if (!texts.isEmpty())
            field->setText(texts.takeFirst());
    for (QAbstractButton *pressed : page->findChildren<QAbstractButton *>())
        if (buttons.contains(pressed->text()))
            pressed->click();
}

enum { Entered = -1, Add = ManagerItemAdd };

struct Row
{
    const char *name, *page;
    int kind, id; // Entered: the page entered for id of owner 1; else the add tile or a tile's delete
    const char *typed = "", *info = ""; // into the add dialog or the page shown; the page the add opens
    int tab = -1; // the tile's device tab of the editor page, made alone (the editor is never entered)
};

void drive(faultsweep::Run &run, const Row &row)
{
    std::unique_ptr<MyDialog> page(createPage(row.page, row.page));
    std::unique_ptr<MyDialog> info(createPage(row.info, row.info));
    MyDialog *shown = info ? info.get() : page.get();
    PageNavigator navigator({shown});
    QObject *target =
        row.tab < 0 ? page.get() : static_cast<PageSettingRoomManagerEdit *>(page.get())->tabPage(row.tab);
    if (auto *tab = qobject_cast<DeviceTileTab *>(target))
        tab->updatelist(1);
    run.answerModalsWith([&row](QWidget *dialog) {
        if (!dialog->inherits("KestMessageBox"))
            fill(dialog, row.typed, {QStringLiteral("Add In Bulk"), QStringLiteral("Add")});
        return !dialog->inherits("KestMessageBox") && dialog->close();
    });
    run.start();
    if (row.kind == Entered)
        navigator.go(row.page, QString::number(row.id), QStringLiteral("1"));
    else
        QMetaObject::invokeMethod(target, row.kind ? "slotsDelete" : "slotsEdit", Q_ARG(int, row.kind),
                                  Q_ARG(int, row.id));
    // The page shown, if any (a refused add opens none), typed into, saved and left.
    if (shown->isVisible()) {
        fill(shown, row.typed, {QStringLiteral("Save")});
        navigator.go(QStringLiteral("Home"));
    }
}

} // namespace

QList<faultsweep::Action> commissioningActions()
{
    static const Row rows[] = {
        {"rooms added in bulk in a new region", "Rooms Manager", Add, 0, "West|1F|Room9|2"},
        {"rooms added in bulk on a floor that exists", "Rooms Manager", Add, 0, "North|1F|Room9|2"},
        {"a room removed", "Rooms Manager", ManagerItemRoom, 2},
        {"a template removed with its room", "Room Template", ManagerItemRoomTemplate, 1},
        {"the room editor left", "Edit Room", Entered, 1, "Cook's room|1|33|1|1|34|1"},
        {"a colour light saved", "Light Information", Entered, 1, "Renamed"},
        {"an air conditioner added", "Edit Room", Add, 0, "Cooler|1|45|3", "AC Information", 1},
        // The whole form but "Hide Room Temperature" typed again.
        {"an air conditioner saved", "AC Information", Entered, 0, "Cooler|1|45|3"},
        {"a floor heating circuit saved", "Floor Heat Information", Entered, 2, "Warm|1|46|3"},
        {"a panel added", "Edit Room", Add, 0, "Wall|1|25", "Panel Information", 5},
        {"a panel added on an address in use", "Edit Room", Add, 0, "Wall|1|20", "Panel Information", 5},
        {"a template light saved", "Template Light Information", Entered, 1, "Renamed"},
        {"a template panel added", "Edit Template", Add, 0, "Wall", "Template Panel Information", 1},
        {"a light deleted", "Edit Room", ManagerItemLight, 1, "", "", 0},
        {"an air conditioner deleted", "Edit Room", ManagerItemAirConditioner, 0, "", "", 1},
        {"a floor heating circuit deleted", "Edit Room", ManagerItemFloorHeat, 2, "", "", 2},
        {"a panel deleted", "Edit Room", ManagerItemPanel, 1, "", "", 5},
        {"a template light deleted", "Edit Template", ManagerItemLight, 1, "", "", 0},
        {"a template panel deleted", "Edit Template", ManagerItemPanel, 1, "", "", 1},
    };
    QList<faultsweep::Action> actions;
    for (const Row &row : rows)
        actions << faultsweep::Action{QStringLiteral("commissioning"), QLatin1String(row.name), seedHouse,
                                      [&row](faultsweep::Run &run) { drive(run, row); }, nullptr};
    return actions;
}

} // namespace readfaults
