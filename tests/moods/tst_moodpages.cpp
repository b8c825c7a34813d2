// The mood pages: the room page's "Moods" tab and its grid, the page "Moods",
// the room editor's "Moods" tab and the mood editor, made by the page factory
// and switched as the main window does. With a marking translator, so every
// page request must name its page by id. Screenshots at 1920 x 1080.

#include "testmain.h"

#include "../commissioning/pagenavigator.h"
#include "../operation/climatebus.h"
#include "markingtranslator.h"
#include "modalanswer.h"
#include "moodproject.h"
#include "projectfixture.h"
#include "slowpicture.h"
#include "stepfault.h"
#include "tilelist.h"
#include "unreadablepicture.h"

#include "shell/projectpicture.h"
#include "app/pagefactory.h"
#include "commissioning/pagesettingroommanageredit.h"
#include "moods/mooditem.h"
#include "moods/pagedeviceoperatemoods.h"
#include "moods/pageroomoperatemoods.h"
#include "moods/pagesettingroommanagermoods.h"
#include "moods/pagesettingroommanagermoodsinformation.h"
#include "operation/pageroomoperate.h"
#include "operation/roomitem.h"
#include "shell/filedialogs.h"
#include "shell/iconselectdlg.h"
#include "shell/iconstyledlg.h"
#include "store/roomremoval.h"

#include <QGridLayout>
#include <QSaveFile>
#include <QSignalSpy>
#include <QtTest>
#include <qtmaterialcheckbox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialtabs.h>

using namespace roomproject;
using namespace moodproject;

namespace {

// Rooms: 1 kitchen (region 2), 2 hall (region 1, moods only), 3 bath (region 1, none).
void addRooms()
{
    QVERIFY(addRegion(1, "North") && addRegion(2, "South") && addFloor(1, 1, "Ground") &&
            addFloor(2, 1, "First"));
    QVERIFY(addRoom(1, "Kitchen", 2, 1) && addRoom(2, "Hall", 1, 1) && addRoom(3, "Bath", 1, 1));
    QVERIFY(addRoomDevice("tbl_occupation", 2, 1, 60, 1));
}

QStringList tabTitles(QtMaterialTabs *tabs)
{
    QStringList out;
    for (int i = 0; i < tabs->count(); ++i)
        out << tabs->tabText(i);
    return out;
}

} // namespace

class TestMoodPages : public QObject
{
    Q_OBJECT

    varnotest::ProjectFolder m_project;
    varnotest::MarkedTexts m_marked;
    QList<MyDialog *> m_pages;
    PageNavigator *m_nav = nullptr;

    template <typename T> T *page(const QString &id)
    {
        for (MyDialog *p : qAsConst(m_pages)) {
            if (p->getId() == id)
                return qobject_cast<T *>(p);
        }
        return nullptr;
    }
    void shot(QWidget *w, const QString &name)
    {
        QTest::qWait(400); // check marks and ripples settle
        QVERIFY(QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR)));
        const QImage image = w->grab().toImage();
        QVERIFY(image.save(QStringLiteral(VARNO_SCREENSHOT_DIR "/%1.png").arg(name)));
    }

private slots:
    void initTestCase()
    {
        screen_cx = 1920;
        for (const char *id : {"Edit Room", "Moods Information", "Moods", "Operate Room"}) {
            MyDialog *p = createPage(QString::fromLatin1(id), QString::fromLatin1(id));
            QVERIFY(p);
            p->resize(1920, 1000);
            m_pages << p;
        }
        m_nav = new PageNavigator(m_pages);
    }
    void cleanupTestCase()
    {
        delete m_nav;
        qDeleteAll(m_pages);
    }

    void tabGrid_data();
    void tabGrid();
    void operationPages();
    void editorTab();
    void moodEditor();
    void chosenPhoto_data();
    void chosenPhoto();
    void readFaults_data();
    void readFaults();
};

void TestMoodPages::tabGrid_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("moods");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<QPoint>("stretch"); // (column, row)
    QTest::newRow("1920, row 0 exactly full") << 1920 << 3 << 3 << 105 << QPoint(0, 1);
    QTest::newRow("1920, four") << 1920 << 4 << 3 << 105 << QPoint(3, 2);
    QTest::newRow("1080, one") << 1080 << 1 << 2 << 26 << QPoint(1, 1);
    QTest::newRow("480, still one column") << 480 << 2 << 1 << 0 << QPoint(1, 2);
}

void TestMoodPages::tabGrid()
{
    QFETCH(int, width);
    QFETCH(int, moods);
    QFETCH(int, columns);
    QFETCH(int, spacing);
    QFETCH(QPoint, stretch);
    m_project.reset();
    for (int i = moods; i >= 1; --i)
        QVERIFY(addMood(i * 2, 1, QStringLiteral("Mood %1").arg(i * 2), {"0", "0", "0", "0", "0", "1"}));
    screen_cx = width;
    PageRoomOperateMoods tab;
    tab.updatelist(1);
    tab.updatelist(1); // a rebuild keeps one set of tiles
    screen_cx = 1920;
    QGridLayout *grid = tab.tileGrid();
    QCOMPARE(grid->horizontalSpacing(), spacing);
    QCOMPARE(grid->count(), moods);
    for (int i = 0; i < moods; ++i) {
        int row, column, rs, cs;
        grid->getItemPosition(i, &row, &column, &rs, &cs);
        QCOMPARE(QPoint(column, row), QPoint(i % columns, i / columns));
        QCOMPARE(qobject_cast<MoodItem *>(grid->itemAt(i)->widget())->getMood().mood_id, (i + 1) * 2);
    }
    QCOMPARE(grid->rowStretch(stretch.y()), 1);
    QCOMPARE(grid->columnStretch(stretch.x()), 1);
}

void TestMoodPages::operationPages()
{
    if (!climatefix::BusRig::available())
        QSKIP("runs only inside the private network namespace of ./test (VARNO_NETNS=1)");
    climatefix::BusRig bus;
    QString error;
    QVERIFY2(bus.open(&error), qPrintable(error));
    m_project.reset();
    addRooms();
    QVERIFY(addLight({1, 1, 1, "Lamp", 1, 20, 1, 0, 0}));
    QVERIFY(addMood(1, 1, "Dinner", {"1", "0", "0", "0", "0", "0"}));
    QVERIFY(addMood(2, 2, "Welcome", {"0", "0", "0", "0", "0", "1"}, "moods_7"));
    QVERIFY(addMood(3, 2, "Night", {"0", "0", "0", "0", "0", "1"}, "photo_Mood_3"));
    QImage photo(50, 32, QImage::Format_RGB32);
    photo.fill(QColor(10, 200, 10));
    QVERIFY(photo.save(m_project.projectDir() + "/photo_Mood_3.png"));

    // "Moods": one block per room with moods, region 1 first; entering twice
    // shows each once; nothing is polled.
    auto *moods = page<PageDeviceOperateMoods>("Moods");
    bus.clear();
    m_nav->go("Moods");
    m_nav->go("Moods");
    QStringList titles;
    for (RoomItem *block : moods->roomBlocks())
        titles << block->titleText() + ":" + QString::number(block->moodTiles().size());
    QCOMPARE(titles, QStringList({"North-Ground-Hall:2", "South-First-Kitchen:1"}));
    auto *night = qobject_cast<MoodItem *>(moods->roomBlocks().first()->moodTiles().at(1));
    QCOMPARE(night->picturePath(), m_project.projectDir() + "/photo_Mood_3.png");
    // The photo is decoded by a worker: the tile draws it once it has come.
    QTRY_COMPARE(night->grab().toImage().pixelColor(250, 10), QColor(10, 200, 10));
    shot(moods, "moods-page");

    // The room page: "Moods" only for a room with moods, last; showing it polls nothing.
    auto *room = page<PageRoomOperate>("Operate Room");
    m_nav->go("Operate Room", "2", "1");
    QCOMPARE(tabTitles(room->tabBar()), QStringList({"[Moods]"}));
    QVERIFY(room->moodsTab()->isVisible());
    shot(room, "room-moods-tab");
    m_nav->go("Operate Room", "1", "1");
    QCOMPARE(tabTitles(room->tabBar()), QStringList({"[Lighting]", "[Moods]"}));
    bus.clear();
    room->tabBar()->setCurrentIndex(1);
    QVERIFY(room->moodsTab()->isVisible());
    SimBus::pump(300);
    QCOMPARE(bus.sent().size(), 0);
    m_nav->go("Operate Room", "3", "1");
    QCOMPARE(tabTitles(room->tabBar()), QStringList());

    // A double click on a tile runs the mood once.
    m_nav->go("Operate Room", "2", "1");
    auto *tab = qobject_cast<PageRoomOperateMoods *>(room->moodsTab());
    auto *welcome = qobject_cast<MoodItem *>(tab->tileGrid()->itemAt(0)->widget());
    QVERIFY(addMoodCommand(2, 2, "1,1,40,89,1,100,0,0"));
    QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
    bus.clear();
    // A double click as the window system gives it: press, release, double click, release.
    QTest::mouseClick(welcome, Qt::LeftButton);
    QTest::mouseDClick(welcome, Qt::LeftButton);
    QTest::mouseRelease(welcome, Qt::LeftButton);
    QVERIFY(info.wait(3000));
    SimBus::pump(200);
    QCOMPARE(info.count(), 1);
    QCOMPARE(bus.sent(0x0031).size(), 1);
    bus.close();
}

void TestMoodPages::editorTab()
{
    m_project.reset();
    addRooms();
    QVERIFY(addLight({1, 1, 1, "Lamp", 1, 20, 1, 0, 0}));
    QVERIFY(addMood(1, 1, "Dinner", {"1"}) && addMood(2, 1, "Late", {"1"}));
    QVERIFY(addMoodLight(1, 1, "1,1,1,20,1,70,0,0") && addMoodLight(2, 1, "1,1,1,20,1,70,0,0"));
    QVERIFY(addMoodUnit(1, 1, "0,0,1,31,1,1,0,1,0,24,22,23,25") &&
            addMoodCommand(1, 1, "1,1,40,89,1,1,0,0"));
    const QString file = m_project.projectDir() + "/photo_Mood_1.png";
    QVERIFY(varnotest::writeUnreadablePicture(file));

    auto *editor = page<PageSettingRoomManagerEdit>("Edit Room");
    auto *tab = qobject_cast<PageSettingRoomManagerMoods *>(editor->tabPage(editor->tabCount() - 1));
    QVERIFY(tab);
    QCOMPARE(editor->tabBar()->tabText(editor->tabCount() - 1), QStringLiteral("[Moods]"));

    // A new mood of room 2 takes the first id free over the project.
    m_nav->go("Edit Room", "2", "1");
    QCOMPARE(varnotest::tileTexts(tab->tileBox()), QStringList({"0:0:"}));
    m_nav->requests.clear();
    varnotest::gridTiles(tab->tileBox()).last()->signalsEdit(ManagerItemAdd, 0);
    QCOMPARE(m_nav->requests, QStringList({"Moods Information 3-2 1"}));

    m_nav->go("Edit Room", "1", "1");
    QCOMPARE(varnotest::tileTexts(tab->tileBox()), QStringList({"8:1:Dinner", "8:2:Late", "0:0:"}));
    editor->tabBar()->setCurrentIndex(editor->tabCount() - 1);
    shot(editor, "editor-moods-tab");
    QVERIFY(tab->isVisible());
    m_nav->requests.clear();
    varnotest::gridTiles(tab->tileBox()).at(1)->signalsEdit(ManagerItemMood, 2);
    QCOMPARE(m_nav->requests, QStringList({"Moods Information 2-1 1"}));

    // Deleting mood 1 (a built-in picture) removes its file and its rows, nothing else.
    m_nav->go("Edit Room", "1", "1");
    varnotest::gridTiles(tab->tileBox()).at(0)->signalsDelete(ManagerItemMood, 1);
    QVERIFY(!QFile::exists(file));
    for (const char *table :
         {"tbl_mood", "tbl_mood_light_status", "tbl_mood_air_conditioner_status", "tbl_mood_command"})
        QCOMPARE(value(QStringLiteral("select count(*) from %1 where mood_id=1").arg(table)).toInt(), 0);
    QCOMPARE(rows("select mood_id from tbl_mood_light_status"), QStringList({"2"}));
    QCOMPARE(rows("select light_id from tbl_light"), QStringList({"1"}));
    QCOMPARE(varnotest::tileTexts(tab->tileBox()), QStringList({"8:2:Late", "0:0:"}));
}

void TestMoodPages::moodEditor()
{
    m_project.reset();
    addRooms();
    // An "RGB" light of four rows, a light without an address, one air conditioner (number 0).
    for (int rgb = 1; rgb <= 4; ++rgb)
        QVERIFY(addLight({1, 1, 2, "Bob's strip", 1, 21, rgb, rgb * 10, rgb}));
    QVERIFY(addLight({1, 2, 1, "Loose", 0, 22, 1, 50, 0}));
    QVERIFY(addUnit({1, 0, 1, "Bob's AC", 1, 31, 1, 24, "", ""}));
    auto *info = page<PageSettingRoomManagerMoodsInformation>("Moods Information");
    QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);

    m_nav->go("Moods Information", "5-1", "1");
    QCOMPARE(info->moodId(), 5);
    QVERIFY(!info->isExisting());
    info->groupBox(info->GroupAc2)->setChecked(true);
    QCOMPARE(hub.last().first().toString(), QStringLiteral("[Please add ac 2]"));
    QVERIFY(!info->groupBox(info->GroupAc2)->isChecked());
    QTest::mousePress(info->groupPicture(info->GroupLight), Qt::LeftButton); // the picture checks its box
    info->groupBox(info->GroupAc1)->setChecked(true);
    info->nameField()->setText(QStringLiteral("Bob's mood"));
    shot(info, "mood-editor");
    m_nav->requests.clear();
    info->selectButton()->click();
    QCOMPARE(m_nav->requests, QStringList({"Diy Command 5 1"}));
    m_nav->go("Moods Information", "5-1", "0"); // back: the form stays
    QCOMPARE(info->nameField()->text(), QStringLiteral("Bob's mood"));
    info->saveButton()->click();
    QCOMPARE(m_nav->requests.last(), QStringLiteral("Edit Room 1 0"));
    QCOMPARE(rows("select mood_name,light_bool,ac1_bool,ac2_bool,diy_bool from tbl_mood where mood_id=5"),
             QStringList({"Bob's mood|1|1|0|0"}));
    QCOMPARE(rows("select light_remark,rgb,brightness from tbl_mood_light_status where mood_id=5"),
             QStringList({"Bob's strip|1|10", "Bob's strip|2|20", "Bob's strip|3|30", "Bob's strip|4|40"}));
    QCOMPARE(rows("select remark from tbl_mood_air_conditioner_status where mood_id=5"),
             QStringList({"Bob's AC"}));

    // A failing insert leaves the saved mood whole.
    QVERIFY(exec("create trigger refuse before insert on tbl_mood_air_conditioner_status "
                 "begin select raise(abort,'refused'); end"));
    m_nav->go("Moods Information", "5-1", "1");
    QVERIFY(info->isExisting() && info->groupBox(info->GroupAc1)->isChecked());
    info->nameField()->setText(QStringLiteral("Changed"));
    info->groupBox(info->GroupLight)->setChecked(false);
    info->saveButton()->click();
    QCOMPARE(rows("select mood_name,light_bool from tbl_mood where mood_id=5"),
             QStringList({"Bob's mood|1"}));
    QCOMPARE(rows("select count(*) from tbl_mood_light_status where mood_id=5"), QStringList({"4"}));
    QVERIFY(exec("drop trigger refuse"));
    // Unchecking a group and saving removes its snapshot rows.
    info->groupBox(info->GroupLight)->setChecked(true);
    info->groupBox(info->GroupAc1)->setChecked(false);
    info->saveButton()->click();
    QCOMPARE(rows("select count(*) from tbl_mood_air_conditioner_status where mood_id=5"),
             QStringList({"0"}));
    QCOMPARE(rows("select count(*) from tbl_mood_light_status where mood_id=5"), QStringList({"4"}));
    QCOMPARE(rows("select mood_name,light_bool,ac1_bool from tbl_mood where mood_id=5"),
             QStringList({"Changed|1|0"}));

    // A gallery picture that cannot be read changes nothing and says so.
    const QString broken = m_project.path() + "/broken.png";
    QVERIFY(varnotest::writeUnreadablePicture(broken));
    answerFileDialogsWith([&](FileDialogKind, const QString &, const QString &) { return broken; });
    varnotest::answerModal<IconStyleDlg>([](IconStyleDlg *d) { d->slotsIconStyleChanged(1); });
    const int before = hub.count();
    info->pictureTile()->signalsIconEdit(info->pictureTile()->getIconName());
    answerFileDialogsWith({});
    QTRY_COMPARE_WITH_TIMEOUT(PictureWriter::running(), 0, 10000);
    QCOMPARE(hub.count(), before + 1);
    QCOMPARE(info->pictureTile()->getIconName(), QStringLiteral("moods_1"));
    QVERIFY(!QFile::exists(m_project.projectDir() + "/photo_Mood_5.png"));

    // DIY commands only: every device flag 0, diy_bool 1. The commands of a mood
    // never saved go once the editor has left the history; a saved mood keeps its.
    QVERIFY(addMoodCommand(6, 1, "1,1,40,89,1,1,0,0") && addMoodCommand(7, 1, "1,1,40,89,1,1,0,0"));
    m_nav->go("Moods Information", "6-1", "1");
    QCOMPARE(info->commands().size(), 1);
    info->nameField()->setText(QStringLiteral("Only commands"));
    info->saveButton()->click();
    QCOMPARE(rows("select light_bool,ac1_bool,ac2_bool,floor_heat1_bool,floor_heat2_bool,diy_bool from "
                  "tbl_mood where mood_id=6"),
             QStringList({"0|0|0|0|0|1"}));
    emit gl_socket.signalsPageRemoveMoodsInformation();
    m_nav->go("Moods Information", "7-1", "1");
    emit gl_socket.signalsPageRemoveMoodsInformation();
    emit gl_socket.signalsPageRemoveMoodsInformation();
    QCOMPARE(rows("select mood_id from tbl_mood_command order by mood_id"), QStringList({"6"}));
}

// A photo chosen in the editor takes the mood's place, with its row, only by Save; any other
// way out leaves the saved photo (or none) and the row as they were, and no file of its own.
// Saved while it is still written, the row takes its name once the file is whole; a failed or
// dropped write, or a refused update, keeps the earlier name. A mood deleted meanwhile takes its
// write along: a new mood saved in its id keeps what it was saved with. "commit fails": a staged
// file placed with its row whose last write fails.
void TestMoodPages::chosenPhoto_data()
{
    QTest::addColumn<QString>("saved");  // the row's picture before; none: a new mood
    QTest::addColumn<QString>("action"); // "... during": while the photo is still written
    QTest::addColumn<QString>("stored"); // the row after
    QTest::addColumn<QString>("said");   // how the hub's message starts; none: nothing said
    const QString photo = "photo_Mood_7", builtIn = "moods_1", evening = "Evening|";
    QTest::newRow("photo, Back after the write") << photo << "back" << evening + photo << "";
    QTest::newRow("photo, Back during the write") << photo << "back during" << evening + photo << "";
    QTest::newRow("photo, project switch after") << photo << "switch" << evening + photo << "";
    QTest::newRow("photo, project switch during") << photo << "switch during" << evening + photo << "";
    QTest::newRow("built-in, Back after the write") << builtIn << "back" << evening + builtIn << "";
    QTest::newRow("built-in, Back during the write") << builtIn << "back during" << evening + builtIn << "";
    QTest::newRow("built-in chosen after, Save") << builtIn << "built-in" << evening + "moods_3" << "";
    QTest::newRow("photo, Save after the write") << photo << "save" << evening + photo << "";
    QTest::newRow("built-in, Save after the write") << builtIn << "save" << evening + photo << "";
    QTest::newRow("photo, commit fails") << photo << "commit fails" << evening + photo << "";
    QTest::newRow("saved during: a photo") << "" << "save during" << evening + photo << "";
    QTest::newRow("saved during: not a picture")
        << "" << "save during, text" << evening + builtIn << "[Cannot read the picture ";
    QTest::newRow("saved during: project changed")
        << "" << "save during, switched" << evening + builtIn << "[The picture was not stored: ";
    QTest::newRow("saved during: name refused")
        << "" << "save during, refused" << evening + builtIn << "[Failed to save the mood!]";
    QTest::newRow("saved during: mood deleted") << "" << "save during, deleted" << "" << "";
    QTest::newRow("saved during: mood deleted, a new one saved in its id")
        << "" << "save during, replaced" << "Morning|" + builtIn << "";
    // Its room removed takes it along too; the same mood removed in another project leaves it.
    QTest::newRow("saved during: room removed") << "" << "save during, room removed" << "" << "";
    QTest::newRow("saved during: mood 7 of another project removed")
        << "" << "save during, removed in Second" << evening + photo << "";
}

void TestMoodPages::chosenPhoto()
{
    QFETCH(QString, saved);
    QFETCH(QString, action);
    QFETCH(QString, stored);
    QFETCH(QString, said);
    m_project.reset();
    addRooms();
    const QString dir = m_project.projectDir(), target = dir + "/photo_Mood_7.png";
    QVERIFY(!QFile::exists(target) || QFile::remove(target));
    QVERIFY(addLight({1, 1, 1, "Ceiling", 1, 21, 1, 40, 0}));
    QVERIFY(saved.isEmpty() || addMood(7, 1, "Evening", {"1"}, saved));
    QImage earlier(50, 32, QImage::Format_RGB32);
    earlier.fill(QColor(10, 200, 10));
    QVERIFY(!saved.startsWith("photo") || earlier.save(target));
    const auto bytes = [&target] {
        QFile file(target);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("none");
    };
    const auto files = [&dir] { // besides the mood's photo, which bytes() tells
        QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden);
        names.removeOne("photo_Mood_7.png");
        return names;
    };
    const QByteArray before = bytes();
    const QStringList listed = files();
    auto *info = page<PageSettingRoomManagerMoodsInformation>("Moods Information");
    const auto editMood = [&](const char *name) { // a new one, when named
        m_nav->go("Moods Information", "7-1", "1");
        if (name) {
            info->nameField()->setText(QLatin1String(name));
            info->groupBox(info->GroupLight)->setChecked(true);
        }
    };
    editMood(saved.isEmpty() ? "Evening" : nullptr);
    varnotest::SlowPicture pipe(m_project.path() + "/arriving.png");
    const QString chosen = m_project.path() + "/chosen.png";
    const auto press = [info] { info->pictureTile()->signalsIconEdit(info->pictureTile()->getIconName()); };
    QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
    if (action == "commit fails") { // the last write meets a full disk
        QSaveFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("new picture") == 11);
        const int full = ::open("/dev/full", O_WRONLY);
        QVERIFY(full >= 0 && ::dup2(full, file.handle()) >= 0 && ::close(full) == 0);
        QCOMPARE(int(placeWithRow(file, [] { return exec("update tbl_mood set mood_icon_name='x'"); })),
                 int(PictureWrite::Unwritable));
    } else if (action.contains("during")) {
        pipe.choose(press);
        QVERIFY(info->pictureWriter()->isBusy());
    } else {
        QVERIFY(varnotest::SlowPicture::photo().save(chosen));
        answerFileDialogsWith([chosen](FileDialogKind, const QString &, const QString &) { return chosen; });
        varnotest::answerModal<IconStyleDlg>([](IconStyleDlg *d) { d->slotsIconStyleChanged(1); });
        press();
        answerFileDialogsWith({});
        QTRY_COMPARE_WITH_TIMEOUT(PictureWriter::running(), 0, 10000);
        // The tile shows the chosen photo before it is saved.
        QTRY_COMPARE(info->pictureTile()->grab().toImage().pixelColor(150, 80), QColor(20, 160, 90));
    }
    if (action.startsWith("back")) {
        m_nav->go("Edit Room", "1", "0");
        emit gl_socket.signalsPageRemoveMoodsInformation(); // as the menu bar does
    } else if (action.startsWith("switch")) {
        emit gl_socket.signalsProjectLeaving();
        QVERIFY(setCurrentProject("Second") && setCurrentProject("Home"));
    } else if (action == "built-in") {
        varnotest::answerModal<IconStyleDlg>([](IconStyleDlg *d) {
            varnotest::answerModal<IconSelectDlg>([](IconSelectDlg *s) { s->slotsIconEdit("moods_3"); });
            d->slotsIconStyleChanged(0);
        });
        press();
    }
    if (action.startsWith("save") || action == "built-in")
        info->saveButton()->click();
    const QString row = "select mood_name,mood_icon_name from tbl_mood where mood_id=7";
    QVERIFY(!action.startsWith("save during") || rows(row) == QStringList("Evening|moods_1"));
    QVERIFY(!action.endsWith("switched") || setCurrentProject(QStringLiteral("Second")));
    QVERIFY(!action.endsWith("refused") ||
            exec("create trigger refuse before update on tbl_mood begin select raise(abort,'no'); end"));
    if (action.endsWith("deleted") || action.endsWith("replaced")) { // on the room editor's "Moods" tab
        auto *editor = page<PageSettingRoomManagerEdit>("Edit Room");
        auto *tab = qobject_cast<PageSettingRoomManagerMoods *>(editor->tabPage(editor->tabCount() - 1));
        tab->updatelist(1);
        emit varnotest::gridTiles(tab->tileBox()).first()->signalsDelete(ManagerItemMood, 7);
        QCOMPARE(rows(row), QStringList());
    }
    if (action.endsWith("replaced"))
        editMood("Morning"), info->saveButton()->click();
    QVERIFY(!action.endsWith("room removed") || removeRoom(1));
    if (action.endsWith("in Second")) // with a mood 7 in its room 1, back in time
        QVERIFY(varnotest::ProjectFolder::open("Second") && addMood(7, 1, "Other", {"1"}) && removeRoom(1) &&
                varnotest::ProjectFolder::open("Home"));
    QVERIFY(!action.contains("during") || pipe.feed(!action.endsWith("text")));
    QTRY_COMPARE_WITH_TIMEOUT(PictureWriter::running(), 0, 10000);
    QVERIFY(setCurrentProject(QStringLiteral("Home")) && exec("drop trigger if exists refuse"));
    QCOMPARE(rows(row), stored.isEmpty() ? QStringList() : QStringList(stored));
    QCOMPARE(hub.count(), said.isEmpty() ? 0 : 1);
    QCOMPARE(hub.value(0).value(0).toString().left(said.size()), said);
    QVERIFY(!info->pictureWriter()->isHolding()); // nor kept aside for later
    QCOMPARE(files(), listed);
    if (action.startsWith("save") && stored.endsWith("photo_Mood_7"))
        QCOMPARE(QImage(target).convertToFormat(QImage::Format_RGB32), varnotest::SlowPicture::photo());
    else
        QCOMPARE(bytes(), before);
}

// A read fails ("statement text@step", armed on entering the editor or at the press):
// the stored mood and the page stay, and the failure is said.
void TestMoodPages::readFaults_data()
{
    QTest::addColumn<QString>("action"); // [enter] save, leave (the editor's history), add
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("said");
    const QString read = "[Failed to read the mood!] ", save = "[Failed to save the mood!] ";
    QTest::newRow("light copies") << "save" << "tbl_light where room_id=1 and subnet_id@2" << save;
    QTest::newRow("climate copy") << "save" << "room_id=1 and air_conditioner_no=0@1" << save;
    QTest::newRow("commands") << "enter save" << "from tbl_mood_command@2" << read + save;
    QTest::newRow("mood row") << "enter save" << "tbl_mood where mood_id=5@1" << read + save;
    QTest::newRow("leaving") << "leave" << "from tbl_mood where room_id=1@1"
                             << "[Failed to remove the commands of the unsaved mood!] ";
    QTest::newRow("new id") << "add" << "from tbl_mood order by@1" << "[Failed to add the mood!] ";
}

void TestMoodPages::readFaults()
{
    QFETCH(QString, action);
    QFETCH(QString, fault);
    QFETCH(QString, said);
    m_project.reset();
    addRooms(); // the room's rows differ from the mood's copies, so a save rewrites them
    for (const QString id : {"1", "2", "3"})
        QVERIFY(addLight({1, id.toInt(), 1, "Lamp", 1, 20, 1, 60, 0}) &&
                addMoodCommand(5, 1, id + ",1,4,89,1,1,0,0") && addMoodLight(5, 1, id + ",1,1,20,1,10,0,0"));
    QVERIFY(addUnit({1, 0, 1, "AC", 1, 31, 1, 24, "", ""}) &&
            addMood(5, 1, "Dinner", {"1", "1", "0", "0", "0", "1"}) &&
            addMoodUnit(5, 1, "0,0,1,31,1,1,0,1,0,22,22,23,25"));
    const auto stored = [] {
        return rows("select * from tbl_mood") + rows("select * from tbl_mood_light_status") +
               rows("select * from tbl_mood_air_conditioner_status") +
               rows("select * from tbl_mood_command");
    };
    const QStringList before = stored();
    const auto arm = [&] { StepFault::arm(fault.section('@', 0, 0), fault.section('@', 1).toInt()); };
    QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
    if (action.startsWith("enter"))
        arm();
    auto *editor = page<PageSettingRoomManagerEdit>("Edit Room");
    auto *tab = qobject_cast<PageSettingRoomManagerMoods *>(editor->tabPage(editor->tabCount() - 1));
    auto *info = page<PageSettingRoomManagerMoodsInformation>("Moods Information");
    m_nav->go(action == "add" ? "Edit Room" : "Moods Information", action == "add" ? "1" : "5-1", "1");
    if (!action.startsWith("enter"))
        arm();
    m_nav->requests.clear();
    info->nameField()->setText(QStringLiteral("Changed"));
    if (action == "add")
        varnotest::gridTiles(tab->tileBox()).last()->signalsEdit(ManagerItemAdd, 0);
    else if (action == "leave")
        emit gl_socket.signalsPageRemoveMoodsInformation();
    else
        info->saveButton()->click();
    QVERIFY(StepFault::fired());
    QCOMPARE(stored(), before);
    QCOMPARE(m_nav->requests, QStringList());
    QString heard;
    for (const QList<QVariant> &signal : qAsConst(hub))
        heard += signal.first().toString() + ' ';
    QCOMPARE(heard, said);
    if (action == "leave") { // the clean-up is tried again at the next page change
        QCOMPARE(info->moodId(), 5);
        emit gl_socket.signalsPageRemoveMoodsInformation();
        QCOMPARE(info->moodId(), 0);
    }
}

VARNO_TEST_MAIN(TestMoodPages)
#include "tst_moodpages.moc"
