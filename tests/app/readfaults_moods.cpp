// Sweep actions of moods and DIY commands: the mood editor, its save, leave and run, the DIY command page.

#include "readfaults.h"

#include "moodproject.h"
#include "tilelist.h"

#include "app/pagefactory.h"
#include "bus/broadcastsocket.h"
#include "commissioning/projectpicture.h"
#include "moods/mooditem.h"
#include "moods/moodsequencer.h"
#include "moods/pagedeviceoperatemoods.h"
#include "moods/pageroomoperatemoods.h"
#include "moods/pagesettingroommanagermoods.h"
#include "moods/pagesettingroommanagermoodsdiycommand.h"
#include "moods/pagesettingroommanagermoodsinformation.h"
#include "operation/roomitem.h"

#include <QComboBox>
#include <QImage>
#include <QtTest>
#include <qtmaterialcheckbox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallineedit.h>

#include <memory>

namespace readfaults {

namespace {

using namespace roomproject;
using namespace moodproject;
using faultsweep::Run;

// Room 1 with an "On/Off" light, an "RGB" light of four rows and one air
// conditioner; mood 5 stores all five light rows (other levels than the room's
// now), the unit, a floor-heating circuit and two DIY commands. Mood 6 has
// commands only, written for a mood never saved. Moods 8 (the "RGB" light and the
// unit) and 9 (a circuit and a command) are run.
void seedMoods()
{
    addRegion(1, QStringLiteral("North"));
    addFloor(1, 1, QStringLiteral("Ground"));
    addRoom(1, QStringLiteral("Kitchen"), 1, 1);
    addLight({1, 1, 0, QStringLiteral("Lamp"), 1, 20, 1, 60, 0});
    for (int rgb = 1; rgb <= 4; ++rgb)
        addLight({1, 2, 2, QStringLiteral("Strip"), 1, 21, rgb, rgb * 10, rgb});
    addUnit({1, 0, 0, QStringLiteral("AC"), 1, 31, 1, 24, QString(), QString()});
    addMood(5, 1, QStringLiteral("Dinner"), {"1", "1", "0", "1", "0", "1"});
    addMoodLight(5, 1, QStringLiteral("1,0,1,20,1,70,0,0"));
    for (int rgb = 1; rgb <= 4; ++rgb)
        addMoodLight(5, 1, QStringLiteral("2,2,1,21,%1,%2,0,%1").arg(rgb).arg(rgb * 5));
    addMoodUnit(5, 1, QStringLiteral("0,0,1,31,1,1,0,1,0,22,22,23,25"));
    addMoodUnit(5, 1, QStringLiteral("2,0,1,32,1,1,0,0,28,0,0,0,0"));
    addMoodCommand(5, 1, QStringLiteral("1,1,40,89,1,100,0,0"));
    addMoodCommand(5, 1, QStringLiteral("2,1,41,88,7,255,0,0"));
    addMoodCommand(6, 1, QStringLiteral("1,1,42,89,2,50,0,0"));
    addMood(8, 1, QStringLiteral("Evening"), {"1", "1", "0", "0", "0", "0"});
    for (int rgb = 1; rgb <= 3; ++rgb)
        addMoodLight(8, 1, QStringLiteral("2,2,1,21,%1,%2,0,%1").arg(rgb).arg(rgb * 5));
    addMoodUnit(8, 1, QStringLiteral("0,0,1,31,1,1,0,1,0,22,22,23,25"));
    addMood(9, 1, QStringLiteral("Warm"), {"0", "0", "0", "1", "0", "1"});
    addMoodUnit(9, 1, QStringLiteral("2,0,1,32,2,1,0,0,28,0,0,0,0"));
    addMoodCommand(9, 1, QStringLiteral("1,1,43,88,3,255,0,0"));
    QImage photo(8, 8, QImage::Format_RGB32);
    photo.fill(Qt::green);
    photo.save(currentProjectFolder() + QStringLiteral("/photo_Mood_5.png"));
}

// Every page request (what the user sees next).
void watchHub(Run &run)
{
    QObject::connect(&gl_socket, &BroadcastSocket::signalsPageIdChanged, &run,
                     [&run](QString id, QString, QString prm1, QString prm2) {
                         run.note(QStringLiteral("request: %1 %2 %3").arg(id, prm1, prm2));
                     });
}

std::unique_ptr<MyDialog> shownPage(const QString &id)
{
    std::unique_ptr<MyDialog> page(createPage(id, id));
    page->show();
    return page;
}

// The mood editor entered (from start() on), its form changed by edit and saved.
void editMood(Run &run, const QString &moodRoom,
              const std::function<void(PageSettingRoomManagerMoodsInformation *)> &edit)
{
    auto page = shownPage(QStringLiteral("Moods Information"));
    auto *editor = qobject_cast<PageSettingRoomManagerMoodsInformation *>(page.get());
    run.start();
    emit gl_socket.signalsPageEnter(moodRoom, QStringLiteral("1"));
    edit(editor);
    editor->saveButton()->click();
}

// A click on the tile, then every step of the run to its end.
void runMood(Run &run, QWidget *tile)
{
    bool finished = false;
    QObject::connect(&MoodSequencer::instance(), &MoodSequencer::runFinished, &run,
                     [&finished]() { finished = true; });
    run.start();
    // Any button runs it; the canvas's scroller holds a left press until its release.
    QTest::mousePress(tile, Qt::RightButton);
    Run::waitUntil([&finished]() { return finished; });
}

void pick(QWidget *page, const QString &box, const QString &text)
{
    auto *combo = page->findChild<QComboBox *>(box);
    combo->setCurrentIndex(combo->findText(text));
}

// The DIY command page of mood 5: built (after start() when built is true),
// entered, command 1 edited, a third one added, saved.
void editCommands(Run &run, bool built)
{
    if (built)
        run.start();
    auto page = shownPage(QStringLiteral("Diy Command"));
    auto *diy = qobject_cast<PageSettingRoomManagerMoodsDiyCommand *>(page.get());
    if (!built)
        run.start();
    emit gl_socket.signalsPageEnter(QStringLiteral("5"), QStringLiteral("1"));
    diy->deviceField()->setText(QStringLiteral("44"));
    pick(diy, QStringLiteral("comboBoxType"), QStringLiteral("Universal Switch"));
    diy->nextButton()->click();
    diy->nextButton()->click();
    diy->subnetField()->setText(QStringLiteral("2"));
    diy->deviceField()->setText(QStringLiteral("9"));
    pick(diy, QStringLiteral("comboBoxType"), QStringLiteral("Scene Switch"));
    diy->saveButton()->click();
}

faultsweep::Action row(const char *name, std::function<void(Run &)> script)
{
    auto watched = [script](Run &run) {
        watchHub(run);
        script(run);
    };
    return faultsweep::Action{
        QStringLiteral("moods"), QString::fromLatin1(name), seedMoods, watched, nullptr, 0, false};
}

} // namespace

QList<faultsweep::Action> moodsActions()
{
    QList<faultsweep::Action> actions;
    actions << row("mood editor: a stored mood entered and saved", [](Run &run) {
        editMood(run, QStringLiteral("5-1"), [](PageSettingRoomManagerMoodsInformation *editor) {
            editor->nameField()->setText(QStringLiteral("Late dinner"));
        });
    });
    actions << row("mood editor: a new mood, Add Devices In Current State", [](Run &run) {
        editMood(run, QStringLiteral("7-1"), [](PageSettingRoomManagerMoodsInformation *editor) {
            editor->nameField()->setText(QStringLiteral("Bob's mood"));
            for (int group : {editor->GroupLight, editor->GroupAc1, editor->GroupFloorHeat1})
                editor->groupBox(group)->setChecked(true);
        });
    });
    actions << row("mood editor: left with an unsaved mood", [](Run &run) {
        auto page = shownPage(QStringLiteral("Moods Information"));
        emit gl_socket.signalsPageEnter(QStringLiteral("6-1"), QStringLiteral("1"));
        run.start();
        emit gl_socket.signalsPageRemoveMoodsInformation();
    });
    actions << row("moods tab: adding a mood", [](Run &run) {
        PageSettingRoomManagerMoods tab;
        tab.updatelist(1);
        run.start();
        emit varnotest::gridTiles(tab.tileBox()).last()->signalsEdit(ManagerItemAdd, 0);
    });
    actions << row("moods tab: removing a mood", [](Run &run) {
        PageSettingRoomManagerMoods tab;
        tab.updatelist(1);
        run.start();
        emit varnotest::gridTiles(tab.tileBox()).first()->signalsDelete(ManagerItemMood, 5);
    });
    actions << row("running a mood from the room's Moods tab", [](Run &run) {
        PageRoomOperateMoods tab;
        tab.updatelist(1);
        runMood(run, tab.tileGrid()->itemAt(1)->widget());
    });
    actions << row("running a mood from the page Moods", [](Run &run) {
        auto page = shownPage(QStringLiteral("Moods"));
        emit gl_socket.signalsPageEnter(QString(), QString());
        auto *moods = qobject_cast<PageDeviceOperateMoods *>(page.get());
        runMood(run, moods->roomBlocks().first()->moodTiles().at(2));
    });
    actions << row("DIY command page: built, entered, edited and saved",
                   [](Run &run) { editCommands(run, true); });
    actions << row("DIY command page: entered, edited and saved",
                   [](Run &run) { editCommands(run, false); });
    return actions;
}

} // namespace readfaults
