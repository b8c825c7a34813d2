// Sweep actions of moods and DIY commands: the mood editor, the moods tab, a run, the DIY command page.

#include "readfaults.h"

#include "moodproject.h"
#include "unreadablepicture.h"
#include "shell/projectpicture.h"
#include "moods/mooditem.h"
#include "moods/moodsequencer.h"
#include "moods/pagesettingroommanagermoods.h"
#include "moods/pagesettingroommanagermoodsdiycommand.h"
#include "moods/pagesettingroommanagermoodsinformation.h"
#include "shell/manageritem.h"

#include <QComboBox>
#include <qtmaterialcheckbox.h>
#include <qtmaterialflatbutton.h>
#include <qtmateriallineedit.h>

namespace readfaults {

using faultsweep::Run;
using Editor = PageSettingRoomManagerMoodsInformation;
using Tab = PageSettingRoomManagerMoods;

// Room 7 with an "RGB" light and an AC; mood 5 keeps them, two commands and a picture; new mood 1 a command.
static void seedMoods()
{
    using namespace moodproject;
    seedMessages();
    roomproject::addUnit({7, 0, 0, "AC", 1, 31, 1, 24, {}, {}});
    addMood(5, 7, "Dinner", {"1", "1", "0", "0", "0", "1"});
    for (int rgb = 1; rgb <= 4; ++rgb) {
        roomproject::addLight({7, 2, 2, "Strip", 1, 23, rgb, rgb * 10, rgb});
        addMoodLight(5, 7, QStringLiteral("2,2,1,23,%1,%2,0,%1").arg(rgb).arg(rgb * 5));
    }
    addMoodUnit(5, 7, "0,0,1,31,1,1,0,1,0,22,22,23,25");
    addMoodCommand(5, 7, "1,1,40,89,1,100,0,0");
    addMoodCommand(5, 7, "2,1,41,88,7,255,0,0");
    addMoodCommand(1, 7, "1,1,42,89,2,50,0,0");
    varnotest::writeUnreadablePicture(currentProjectFolder() + "/photo_Mood_5.png");
}

QList<faultsweep::Action> moodsActions()
{
    const auto row = [](const char *name, std::function<void(Run &)> script) -> faultsweep::Action {
        return {"moods", name, seedMoods, std::move(script), nullptr, 0, false};
    };
    // The moods tab of room 7 and the editor it opens. From start() on, a tile's press; the mood opened
    // (if any) is left, or renamed (a new one given lights and climate) and saved.
    const auto tab = [&row](const char *name, void (Tab::*press)(int, int), int type, int id,
                            bool leave = false) {
        return row(name, [=](Run &run) {
            Tab tab;
            tab.updatelist(7);
            auto editor = shownPage<Editor>("Moods Information");
            QObject::connect(&gl_socket, &BroadcastSocket::signalsPageIdChanged, &run,
                             [](QString id, QString, QString moodRoom) {
                                 if (id == "Moods Information")
                                     emit gl_socket.signalsPageEnter(moodRoom, "1");
                             });
            run.start();
            (tab.*press)(type, id);
            if (editor->moodId() == 0 || leave)
                return emit gl_socket.signalsPageRemoveMoodsInformation();
            editor->nameField()->setText("Bob's mood");
            if (!editor->isExisting()) // a stored mood's boxes are as entry left them
                for (int group : {Editor::GroupLight, Editor::GroupAc1, Editor::GroupFloorHeat1})
                    editor->groupBox(group)->setChecked(true);
            editor->saveButton()->click();
        });
    };
    QList<faultsweep::Action> rows{
        tab("mood editor: a stored mood entered and saved", &Tab::slotsEdit, ManagerItemMood, 5),
        tab("moods tab: a mood added, Add Devices In Current State", &Tab::slotsEdit, ManagerItemAdd, 0),
        tab("moods tab: a mood added, then left unsaved", &Tab::slotsEdit, ManagerItemAdd, 0, true),
        tab("moods tab: removing a mood", &Tab::slotsDelete, ManagerItemMood, 5)};
    rows << row("running a mood from its tile", [](Run &run) {
        MoodItem tile(loadRoomMoods(7).first());
        run.start();
        tile.run();
        Run::waitUntil([] { return !MoodSequencer::instance().isBusy(); });
    });
    // Built from start() on; command 1 given another type, command 2 shown, saved.
    rows << row("DIY command page: built, entered, edited and saved", [](Run &run) {
        run.start();
        auto diy = shownPage<PageSettingRoomManagerMoodsDiyCommand>("Diy Command");
        emit gl_socket.signalsPageEnter("5", "7");
        child<QComboBox>(diy.get(), "comboBoxType")->setCurrentText("Universal Switch");
        diy->nextButton()->click();
        diy->saveButton()->click();
    });
    return rows;
}

} // namespace readfaults
