// Sweep actions of room commissioning: rooms, templates, their devices and information pages, removal.

#include "readfaults.h"

#include "moodproject.h"

#include "app/pagefactory.h"
#include "bus/broadcastsocket.h"
#include "commissioning/pagesettingroommanagerac.h"
#include "commissioning/pagesettingroommanagerfloorheat.h"
#include "commissioning/pagesettingroommanagerlighting.h"
#include "commissioning/pagesettingroommanagerpanel.h"
#include "commissioning/pagesettingroomtemplatelighting.h"
#include "commissioning/pagesettingroomtemplatepanel.h"
#include "commissioning/projectpicture.h"
#include "shell/manageritem.h"

#include <QAbstractButton>
#include <QImage>
#include <memory>
#include <qtmaterialcheckbox.h>
#include <qtmaterialcombobox.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallineedit.h>

namespace readfaults {

namespace {

using namespace roomproject;
using faultsweep::Run;

// Room 1 (Kitchen) holds the devices edited; room 2 (Hall, alone on its floor,
// made from template 1) has a mood, a 3-D view and pictures.
void seedHouse()
{
    addRegion(1, QStringLiteral("North"));
    addFloor(1, 1, QStringLiteral("1F"));
    addFloor(1, 2, QStringLiteral("2F"));
    addRoom(1, QStringLiteral("Kitchen"), 1, 1);
    addRoom(2, QStringLiteral("Hall"), 1, 2, QStringLiteral("photo_Room_2"));
    for (int rgb = 1; rgb <= 4; ++rgb)
        addLight({1, 1, 2, QStringLiteral("Strip"), 1, 10, rgb, 0, rgb});
    addLight({1, 2, 1, QStringLiteral("Lamp"), 1, 11, 1, 0, 0});
    addLight({2, 3, 0, QStringLiteral("Hall lamp"), 1, 12, 1, 0, 0});
    addUnit({1, 0, 0, QStringLiteral("AC"), 1, 40, 1, 24, QString(), QString()});
    addUnit({1, 2, 0, QStringLiteral("Floor"), 1, 41, 1, 24, QString(), QString()});
    addUnit({2, 0, 1, QStringLiteral("Hall AC"), 1, 42, 2, 24, QString(), QString()});
    addPanel(1, 1, 1, 20, QStringLiteral("Door panel"));
    addPanel(2, 2, 1, 21, QStringLiteral("Hall panel"));
    addRoomDevice(QStringLiteral("tbl_occupation"), 1, 1, 30, 5);
    addRoomDevice(QStringLiteral("tbl_occupation"), 2, 1, 31, 5);
    for (const char *sql : {"update tbl_room set room_template_id=1 where room_id=2",
                            "update tbl_air_conditioner set room_temperature_type=1",
                            "insert into tbl_message_log(message_id,panel_id,room_id) values(11,1,1)",
                            "insert into tbl_message_log(message_id,panel_id,room_id) values(11,2,2)",
                            "insert into tbl_3d_view_manager(icon_name,room_id) values('photo_3dView_2',2)"})
        exec(QLatin1String(sql));
    moodproject::addMood(1, 2, QStringLiteral("Evening"), {QStringLiteral("1")},
                         QStringLiteral("photo_Mood_1"));
    moodproject::addMoodLight(1, 2, QStringLiteral("3,0,1,12,1,80,0,0"));
    addTemplate(1, QStringLiteral("Suite"), QStringLiteral("photo_Template_1"));
    addTemplateLight(1, 1, 2, QStringLiteral("Strip"));
    addTemplatePanel(1, 1, QStringLiteral("Door"));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    for (const char *name : {"photo_Room_2", "photo_Mood_1", "photo_3dView_2", "photo_Template_1"})
        picture.save(currentProjectFolder() + QStringLiteral("/%1.png").arg(QLatin1String(name)));
}

// Page switching as the main window does it, over the pages of one run. Page
// requests and the message lists' removals are noted as what the user is shown;
// the main window's snackbar texts as said.
class Flow : public QObject
{
public:
    explicit Flow(Run &run)
    {
        connect(&gl_socket, &BroadcastSocket::signalsPageIdChanged, this,
                [this, &run](QString id, QString, QString a, QString b) {
                    run.note(QStringLiteral("go %1 %2 %3").arg(id, a, b));
                    for (const auto &page : m_pages)
                        if (page->isVisible() && page->getId() != id)
                            emit gl_socket.signalsPageLeave(page->getId());
                    for (const auto &page : m_pages)
                        page->setVisible(page->getId() == id);
                    emit gl_socket.signalsPageEnter(a, b);
                });
        connect(&gl_socket, &BroadcastSocket::signalsRemoveMessage, this, [&run](int value, int kind) {
            run.note(QStringLiteral("remove messages %1 of kind %2").arg(value).arg(kind));
        });
    }
    MyDialog *page(const QString &id)
    {
        m_pages.emplace_back(createPage(id, id));
        return m_pages.back().get();
    }

private:
    std::vector<std::unique_ptr<MyDialog>> m_pages;
};

// "|"-separated texts into the editable combo boxes, then the line edits, of a page or dialog, in order.
void type(QWidget *page, const QString &typed)
{
    QStringList texts = typed.split(QLatin1Char('|'));
    for (QtMaterialComboBox *box : page->findChildren<QtMaterialComboBox *>())
        if (box->isEditable())
            box->setEditText(texts.takeFirst());
    for (QtMaterialLineEdit *field : page->findChildren<QtMaterialLineEdit *>())
        if (!texts.isEmpty())
            field->setText(texts.takeFirst());
}

void press(QWidget *page, const QString &text)
{
    for (QAbstractButton *button : page->findChildren<QAbstractButton *>()) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
}

// The add tile of a device tab (id 0), or the tile of device id.
ManagerItem *tile(DeviceTileTab *tab, bool add, int id)
{
    for (ManagerItem *item : tab->tileBox()->findChildren<ManagerItem *>())
        if ((item->getType() == ManagerItemAdd) == add && item->getId() == id)
            return item;
    return nullptr;
}

// Device tab number tab of the editor page (its order of tabs), made on its own:
// the editor itself is entered only by its own rows.
DeviceTileTab *makeTab(const QString &page, int tab)
{
    if (page == QLatin1String("Edit Template"))
        return tab == 0 ? new PageSettingRoomTemplateLighting
                        : static_cast<DeviceTileTab *>(new PageSettingRoomTemplatePanel);
    switch (tab) {
    case 0:
        return new PageSettingRoomManagerLighting;
    case 1:
        return new PageSettingRoomManagerAC;
    case 2:
        return new PageSettingRoomManagerFloorHeat;
    default:
        return new PageSettingRoomManagerPanel;
    }
}

enum Way {
    AddDialog,  // a list's add tile; its dialog filled with typed and "Add" pressed
    ListDelete, // a list's delete button on tile id, the question answered "Ok"
    Leave,      // an editor entered for owner 1, typed into and left
    Enter,      // an information page entered for device id of owner 1, typed into and saved
    AddTile,    // the add tile of an editor's tab, then as Enter on the page it opens
    DeleteTile, // the delete button of device id on an editor's tab
};

struct Row
{
    const char *name;
    Way way;
    const char *page;
    int tab;          // the editor's device tab of AddTile and DeleteTile
    const char *info; // the information page AddTile opens
    int id;
    const char *typed;
};

void drive(Run &run, const Row &row)
{
    Flow flow(run);
    std::unique_ptr<DeviceTileTab> tab(row.way >= AddTile ? makeTab(QLatin1String(row.page), row.tab)
                                                          : nullptr);
    MyDialog *page = tab ? tab.get() : flow.page(QLatin1String(row.page));
    MyDialog *info = row.way == AddTile ? flow.page(QLatin1String(row.info)) : page;
    if (tab)
        tab->updatelist(1);
    else if (row.way != Leave)
        page->show();
    run.answerModalsWith([&row](QWidget *widget) {
        auto *dialog = qobject_cast<MyDialog *>(widget);
        if (row.way != AddDialog || !dialog || dialog->inherits("KestMessageBox"))
            return false;
        for (QtMaterialCheckBox *box : dialog->findChildren<QtMaterialCheckBox *>())
            box->setChecked(true);
        type(dialog, QLatin1String(row.typed));
        press(dialog, QStringLiteral("Add"));
        if (dialog->isVisible())
            dialog->reject();
        return true;
    });
    const QString id = QString::number(row.id);
    const int listKind =
        page->getId() == QLatin1String("Rooms Manager") ? ManagerItemRoom : ManagerItemRoomTemplate;
    run.start();
    if (row.way == AddDialog) {
        QMetaObject::invokeMethod(page, "slotsEdit", Q_ARG(int, ManagerItemAdd), Q_ARG(int, 0));
    } else if (row.way == ListDelete) {
        QMetaObject::invokeMethod(page, "slotsDelete", Q_ARG(int, listKind), Q_ARG(int, row.id));
    } else if (row.way == Leave) {
        emit gl_socket.signalsPageIdChanged(page->getId(), page->getName(), id, QStringLiteral("1"));
        type(page, QLatin1String(row.typed));
        emit gl_socket.signalsPageIdChanged(QStringLiteral("Home"), QString(), QString(), QString());
    } else if (row.way == DeleteTile) {
        ManagerItem *device = tile(tab.get(), false, row.id);
        emit device->signalsDelete(device->getType(), row.id);
    } else {
        if (row.way == AddTile)
            tile(tab.get(), true, 0)->slotsPressed();
        else
            emit gl_socket.signalsPageEnter(id, QStringLiteral("1"));
        // A page the add did not open is not there to type into.
        if (info->isVisible()) {
            type(info, QLatin1String(row.typed));
            press(info, QStringLiteral("Save"));
        }
    }
}

} // namespace

QList<faultsweep::Action> commissioningActions()
{
    static const Row rows[] = {
        {"rooms added in bulk in a new region", AddDialog, "Rooms Manager", 0, "", 0, "West|1F|Room9|2"},
        {"a template added", AddDialog, "Room Template", 0, "", 0, "Flat"},
        {"a room removed", ListDelete, "Rooms Manager", 0, "", 2, ""},
        {"a template removed with its room", ListDelete, "Room Template", 0, "", 1, ""},
        {"the room editor left", Leave, "Edit Room", 0, "", 1, "Cook's room|1|33|1|1|34|1"},
        {"the template editor left", Leave, "Edit Template", 0, "", 1, "Renamed"},
        {"a light added", AddTile, "Edit Room", 0, "Light Information", 0, "Desk|1|15|2"},
        {"a colour light saved", Enter, "Light Information", 0, "", 1, "Renamed"},
        {"an air conditioner added", AddTile, "Edit Room", 1, "AC Information", 0, "Cooler|1|45|3"},
        // The whole form but "Hide Room Temperature" typed again.
        {"an air conditioner saved", Enter, "AC Information", 0, "", 0, "Cooler|1|45|3"},
        {"a floor heating circuit added", AddTile, "Edit Room", 2, "Floor Heat Information", 0,
         "Warm|1|46|3"},
        {"a floor heating circuit saved", Enter, "Floor Heat Information", 0, "", 2, "Warm|1|46|3"},
        {"a panel added", AddTile, "Edit Room", 5, "Panel Information", 0, "Wall|1|25"},
        {"a panel readdressed", Enter, "Panel Information", 0, "", 1, "Wall|1|25"},
        {"a template light added", AddTile, "Edit Template", 0, "Template Light Information", 0, "Spot"},
        {"a template light saved", Enter, "Template Light Information", 0, "", 1, "Renamed"},
        {"a template panel added", AddTile, "Edit Template", 1, "Template Panel Information", 0, "Wall"},
        {"a template panel saved", Enter, "Template Panel Information", 0, "", 1, "Renamed"},
        {"a light deleted", DeleteTile, "Edit Room", 0, "", 1, ""},
        {"an air conditioner deleted", DeleteTile, "Edit Room", 1, "", 0, ""},
        {"a floor heating circuit deleted", DeleteTile, "Edit Room", 2, "", 2, ""},
        {"a panel deleted", DeleteTile, "Edit Room", 5, "", 1, ""},
        {"a template light deleted", DeleteTile, "Edit Template", 0, "", 1, ""},
        {"a template panel deleted", DeleteTile, "Edit Template", 1, "", 1, ""},
    };
    QList<faultsweep::Action> actions;
    for (const Row &row : rows)
        actions << faultsweep::Action{QStringLiteral("commissioning"),
                                      QLatin1String(row.name),
                                      seedHouse,
                                      [&row](Run &run) { drive(run, row); },
                                      nullptr,
                                      0,
                                      false};
    return actions;
}

} // namespace readfaults
