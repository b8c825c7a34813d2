// End to end: the operator's whole path through the real main window, against
// simulated field devices on the "Local Network" style. Inside the private
// network namespace of the test run a veth pair joins this process (10.77.0.1/24)
// with a second namespace (10.77.0.2/24) where the varno-simdevice program runs
// the lights, the climate devices, the occupation sensor, the master switch and a
// wall panel. The project (two regions, four rooms) is written with SQL.
//
// Home -> Rooms -> a room: its tabs, a light switched by a click, written to the
// database; the "Lighting" page's all on and all off reach every simulated light;
// a panel's alarm arrives and shows on the home page. Screenshots of each step
// go to the build folder.

#include "testmain.h"
#include "pathtest.h"
#include "presswatch.h"
#include "vethpair.h"

#include "roomproject.h"

#include "app/mainwindow.h"
#include "bus/broadcastsocket.h"
#include "operation/lightitem.h"
#include "operation/pagedeviceoperatelighting.h"
#include "operation/pageroomoperate.h"
#include "operation/pageroomoperateac.h"
#include "operation/pageroomoperatefloorheat.h"
#include "operation/pageroomoperatelighting.h"
#include "operation/pagerooms.h"
#include "operation/roomitem.h"
#include "records/logitem.h"
#include "records/messagebar.h"
#include "records/messagedlg.h"
#include "records/messageform.h"
#include "records/messageitem.h"
#include "records/pagelog.h"
#include "records/pagemessage.h"
#include "records/pagesettingmessagemanager.h"
#include "records/pagesettingmessagemanagermessageinformation.h"
#include "shell/filedialogs.h"
#include "shell/panelmessageintake.h"
#include "xlsxreadback.h"
#include "shell/homemanageritem.h"
#include "shell/homemanagerroomsiconitem.h"
#include "shell/manageritem.h"
#include "shell/menubar.h"
#include "shell/mydialog.h"
#include "shell/refreshingctrl.h"
#include "shell/settingitem.h"
#include "store/projectlist.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QNetworkInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialtabs.h>


using namespace roomproject;

namespace {


// Rooms: North (region 1, floor "Ground") holds the kitchen and Bob's office,
// South (region 2, floor "First") the lounge and the bath.
constexpr int Kitchen = 1;
constexpr int Office = 2;
constexpr int Lounge = 3;
constexpr int Bath = 4;

// The lighting modules and their channel counts.
const QList<QPair<int, int>> LightModules{{20, 3}, {21, 2}, {22, 1}};

// True while a refresh header of the window is showing: it folds away a moment
// after its last words and the page below it moves up.
bool refreshHeaderShowing(QWidget *top)
{
    for (RefreshingCtrl *header : top->findChildren<RefreshingCtrl *>()) {
        if (header->isVisible())
            return true;
    }
    return false;
}

// A press and its release, as a user gives them: widgets inside a kinetic scroll
// area get the press only once it is clear that no drag follows, and the scroll
// area hands it on at the point where it came, to whatever lies there by then;
// and it hands it on only at a point on the screen (the offscreen screen is
// smaller than the window), so the point is taken within the screen. So the
// refresh headers have folded and the layouts have run first, and the release
// follows once the press has reached the widget.
void click(QWidget *widget, QPoint at = QPoint())
{
    QVERIFY(widget);
    QVERIFY(widget->isVisible());
    QWidget *top = widget->window();
    QTRY_VERIFY_WITH_TIMEOUT(!refreshHeaderShowing(top), 15000);
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QWindow *window = top->windowHandle();
    QVERIFY(window);
    if (at.isNull()) {
        const QRect onScreen = QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size())
            & QGuiApplication::primaryScreen()->geometry();
        QVERIFY2(!onScreen.isEmpty(), "the widget lies off the screen");
        at = widget->mapFromGlobal(onScreen.center());
    }
    const QPoint global = widget->mapToGlobal(at);
    QVERIFY2(QGuiApplication::primaryScreen()->geometry().contains(global),
             "the point lies off the screen");
    QTRY_VERIFY(widget->isAncestorOf(QApplication::widgetAt(global))
                || QApplication::widgetAt(global) == widget);
    const QPoint pos = widget->mapTo(top, at);
    varnotest::PressWatch press(widget);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, pos);
    QTRY_VERIFY(press.reached());
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, pos);
}

} // namespace

class TestOperatorPath : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void homeToRoomsToARoom();
    void lightingPageSwitchesEveryLight();
    void panelMessageShowsOnTheHomePage();
    void definedMessageIsHandledListedAndExported();
    void lightLogIsListedAndExported();

private:
    QStringList simCommand(const QString &command, const QString &last);
    // Levels of every channel of the lighting modules, as "device:channel=level".
    QStringList simLevels();
    QStringList simLines(const QString &prefix) const;

    MyDialog *page(const QString &id) const;
    MyDialog *shownPage() const;
    void shot(const QString &name);

    varnotest::VethPair m_pair;
    QTemporaryDir m_app;
    QProcess m_devices;
    QByteArray m_simOutput;
    QScopedPointer<MainWindow> m_window;
};

QStringList TestOperatorPath::simLines(const QString &prefix) const
{
    QStringList found;
    for (const QString &line : QString::fromLatin1(m_simOutput).split(QLatin1Char('\n'))) {
        if (line.startsWith(prefix))
            found.append(line);
    }
    return found;
}

QStringList TestOperatorPath::simCommand(const QString &command, const QString &last)
{
    const int before = simLines(last).size();
    m_devices.write((command + QLatin1Char('\n')).toUtf8());
    QElapsedTimer timer;
    timer.start();
    while (simLines(last).size() <= before && timer.elapsed() < 5000)
        QTest::qWait(10);
    return QString::fromLatin1(m_simOutput).split(QLatin1Char('\n'));
}

QStringList TestOperatorPath::simLevels()
{
    const QStringList lines = simCommand(QStringLiteral("levels"), QStringLiteral("END"));
    // The newest answer: the last LEVELS line of each module.
    QMap<int, QStringList> byDevice;
    for (const QString &line : lines) {
        if (!line.startsWith(QLatin1String("LEVELS ")))
            continue;
        const QStringList words = line.split(QLatin1Char(' '));
        const int device = words.value(1).section(QLatin1Char('/'), 1, 1).toInt();
        byDevice[device] = words.mid(2);
    }
    QStringList out;
    for (const auto &module : LightModules) {
        const QStringList levels = byDevice.value(module.first);
        for (int c = 0; c < module.second; ++c)
            out.append(QStringLiteral("%1:%2=%3").arg(module.first).arg(c + 1).arg(levels.value(c)));
    }
    return out;
}

MyDialog *TestOperatorPath::page(const QString &id) const
{
    for (MyDialog *p : m_window->pages()) {
        if (p->getId() == id)
            return p;
    }
    return nullptr;
}

MyDialog *TestOperatorPath::shownPage() const
{
    for (MyDialog *p : m_window->pages()) {
        if (p->isVisible())
            return p;
    }
    return nullptr;
}

void TestOperatorPath::shot(const QString &name)
{
    QTest::qWait(50);
    const QImage image = m_window->grab().toImage();
    QCOMPARE(image.size(), QSize(1920, 1080));
    QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR));
    QVERIFY(image.save(QStringLiteral(VARNO_SCREENSHOT_DIR "/%1.png").arg(name)));
}

void TestOperatorPath::initTestCase()
{
    const QString unavailable = m_pair.unavailable();
    if (!unavailable.isEmpty())
        QSKIP(qPrintable(unavailable));
    if (!QFile::exists(QStringLiteral(VARNO_SIMDEVICE_PATH)))
        QSKIP("the varno-simdevice program was not built");
    // The devices' namespace, joined to ours by the veth pair.
    QVERIFY2(m_pair.setUp(), qPrintable(m_pair.error()));

    QStringList simArgs{"--udp",    "0.0.0.0:6000", "--header-ip", varnotest::VethPair::deviceAddress(),
                        "--commands", "--exit-on-eof"};
    for (const auto &module : LightModules)
        simArgs << "--light" << QStringLiteral("1/%1/%2").arg(module.first).arg(module.second);
    simArgs << "--light"
            << "1/31/1" // the kitchen's master switch
            << "--occupation"
            << "1/30/1" // the kitchen's occupation sensor
            << "--ac-panel"
            << "1/40/1" // the office's air conditioner
            << "--ir-module"
            << "1/41" // the lounge's air conditioner
            << "--floor-heat"
            << "1/42/2" // lounge and bath floor heating
            << "--panel"
            << "1/50"; // the kitchen's wall panel
    connect(&m_devices, &QProcess::readyReadStandardOutput, this,
            [this] { m_simOutput += m_devices.readAllStandardOutput(); });
    m_pair.startInDevices(m_devices, QStringLiteral(VARNO_SIMDEVICE_PATH), simArgs);
    QVERIFY(m_devices.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m_simOutput.contains("READY"), 5000);

    // The project, in the "Local Network" style.
    QVERIFY(m_app.isValid());
    QVERIFY(varnotest::useApplicationFolder(m_app.path()));
    QVERIFY(addRegion(1, QStringLiteral("North")));
    QVERIFY(addRegion(2, QStringLiteral("South")));
    QVERIFY(addFloor(1, 1, QStringLiteral("Ground")));
    QVERIFY(addFloor(2, 1, QStringLiteral("First")));
    QVERIFY(addRoom(Kitchen, QStringLiteral("Kitchen"), 1, 1, QStringLiteral("room_3")));
    QVERIFY(addRoom(Office, QStringLiteral("Bob's office"), 1, 1, QStringLiteral("room_7")));
    QVERIFY(addRoom(Lounge, QStringLiteral("Lounge"), 2, 1, QStringLiteral("room_13")));
    QVERIFY(addRoom(Bath, QStringLiteral("Bath"), 2, 1, QStringLiteral("room_21")));
    int lightId = 1;
    const QList<QPair<int, int>> lightRooms{{Kitchen, 20}, {Office, 21}, {Lounge, 22}};
    for (const auto &room : lightRooms) {
        for (const auto &module : LightModules) {
            if (module.first != room.second)
                continue;
            for (int c = 1; c <= module.second; ++c) {
                Light l;
                l.room = room.first;
                l.lightId = lightId++;
                l.type = room.first == Lounge ? 0 : 1;
                l.name = QStringLiteral("Light %1").arg(l.lightId);
                l.device = module.first;
                l.channel = c;
                QVERIFY(addLight(l));
            }
        }
    }
    Unit office;
    office.room = Office;
    office.name = QStringLiteral("Office AC");
    QVERIFY(addUnit(office));
    Unit lounge;
    lounge.room = Lounge;
    lounge.type = 1;
    lounge.name = QStringLiteral("Lounge AC");
    lounge.device = 41;
    QVERIFY(addUnit(lounge));
    Unit heat;
    heat.room = Lounge;
    heat.no = 2;
    heat.name = QStringLiteral("Lounge floor");
    heat.device = 42;
    QVERIFY(addUnit(heat));
    heat.room = Bath;
    heat.no = 3;
    heat.channel = 2;
    heat.name = QStringLiteral("Bath floor");
    QVERIFY(addUnit(heat));
    QVERIFY(addRoomDevice(QStringLiteral("tbl_occupation"), Kitchen, 1, 30, 1));
    QVERIFY(addRoomDevice(QStringLiteral("tbl_master"), Kitchen, 1, 31, 1));
    QVERIFY(addPanel(Kitchen, 1, 1, 50, QStringLiteral("Kitchen panel")));
    QVERIFY(addMessage(1, 1, QStringLiteral("Smoke in the kitchen"), 3));

    m_window.reset(new MainWindow(nullptr));
    QVERIFY(varnotest::showLoggedIn(m_window.data()));
}

void TestOperatorPath::cleanupTestCase()
{
    m_window.reset();
    gl_socket.closeSocket();
    gl_sqlite3db.close();
    varnotest::endProcess(m_devices);
    m_pair.tearDown();
}

void TestOperatorPath::homeToRoomsToARoom()
{
    // Home: the band's "Rooms" tile.
    QCOMPARE(shownPage()->getId(), QStringLiteral("Home"));
    auto *roomsTile = page(QStringLiteral("Home"))->findChild<HomeManagerRoomsIconItem *>();
    click(roomsTile);
    QTRY_COMPARE(shownPage()->getId(), QStringLiteral("Rooms"));
    auto *rooms = qobject_cast<PageRooms *>(shownPage());
    QVERIFY(rooms);
    const QList<ManagerItem *> tiles = rooms->tileBox()->findChildren<ManagerItem *>();
    QCOMPARE(tiles.size(), 4);
    shot(QStringLiteral("operator_rooms_page"));

    ManagerItem *loungeTile = nullptr;
    for (ManagerItem *tile : tiles) {
        if (tile->getId() == Lounge)
            loungeTile = tile;
    }
    click(loungeTile);
    QTRY_COMPARE_WITH_TIMEOUT(shownPage()->getId(), QStringLiteral("Operate Room"), 2000);
    QCOMPARE(m_window->menuBar()->current().name, QStringLiteral("South-First-Lounge"));
    auto *room = qobject_cast<PageRoomOperate *>(shownPage());
    QVERIFY(room);
    QCOMPARE(room->getRoomId(), Lounge);
    QtMaterialTabs *tabs = room->tabBar();
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Lighting"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("AC"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("Floor Heat"));

    // Each tab in turn, read from the devices.
    const QList<PageRoomOperateDevices *> tabWidgets{room->lightingTab(), room->acTab(),
                                                     room->floorHeatTab()};
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            tabs->setCurrentIndex(i);
        PageRoomOperateDevices *tab = tabWidgets.at(i);
        QVERIFY(tab->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(tab->refreshControl()->statusText(),
                                  QStringLiteral("Refresh Successfully"), 12000);
        for (DeviceItem *card : tab->cards())
            QVERIFY(card->status());
        QTRY_VERIFY_WITH_TIMEOUT(!tab->refreshControl()->isVisible(), 2000);
        shot(QStringLiteral("operator_room_tab_%1").arg(i));
    }

    // Back to the lights: a click on the lounge's light switches it on, the
    // module confirms, and the database holds the new level.
    tabs->setCurrentIndex(0);
    QTRY_COMPARE_WITH_TIMEOUT(room->lightingTab()->refreshControl()->statusText(),
                              QStringLiteral("Refresh Successfully"), 12000);
    const QString levelSql =
        QStringLiteral("select brightness from tbl_light where room_id=%1 and subnet_id=1 and device_id=22")
            .arg(Lounge);
    QCOMPARE(value(levelSql).toInt(), 0);
    QCOMPARE(room->lightingTab()->cards().size(), 1);
    auto *lamp = qobject_cast<LightItem *>(room->lightingTab()->cards().at(0));
    QVERIFY(lamp);
    click(lamp, QPoint(250, 150));
    QTRY_COMPARE_WITH_TIMEOUT(value(levelSql).toInt(), 100, 5000);
    QCOMPARE(simLevels().filter(QStringLiteral("22:")), QStringList{"22:1=100"});
    QTRY_VERIFY_WITH_TIMEOUT(lamp->status(), 3000);
    shot(QStringLiteral("operator_room_light_on"));
}

void TestOperatorPath::lightingPageSwitchesEveryLight()
{
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Home"), QStringLiteral("Home"), QString(),
                                        QString());
    QCOMPARE(shownPage()->getId(), QStringLiteral("Home"));
    SettingItem *tile = nullptr;
    for (SettingItem *item : page(QStringLiteral("Home"))->findChildren<SettingItem *>()) {
        if (item->getTitle() == QLatin1String("Lighting"))
            tile = item;
    }
    click(tile);
    QTRY_COMPARE(shownPage()->getId(), QStringLiteral("Lighting"));
    auto *lighting = qobject_cast<PageDeviceOperateLighting *>(shownPage());
    QVERIFY(lighting);
    // The kitchen, the office and the lounge have lights; the bath has none.
    QList<int> rooms;
    for (RoomItem *room : lighting->roomItems())
        rooms.append(room->getRoomId());
    QCOMPARE(rooms, (QList<int>{Kitchen, Office, Lounge}));
    QTRY_COMPARE_WITH_TIMEOUT(lighting->refreshControl()->statusText(),
                              QStringLiteral("Refresh Successfully"), 12000);
    shot(QStringLiteral("operator_lighting_page"));

    // First press: all on; second: all off. Every module channel follows.
    const QStringList allOn{"20:1=100", "20:2=100", "20:3=100", "21:1=100", "21:2=100", "22:1=100"};
    const QStringList allOff{"20:1=0", "20:2=0", "20:3=0", "21:1=0", "21:2=0", "22:1=0"};
    // Each reading asks the devices and may itself wait, so the wait for a reading
    // is bounded by its time rather than by a count of tries.
    QStringList levels;
    click(lighting->switchLabel());
    QVERIFY2(QTest::qWaitFor([&] { return (levels = simLevels()) == allOn; }, 5000),
             qPrintable(levels.join(' ')));
    click(lighting->switchLabel());
    QVERIFY2(QTest::qWaitFor([&] { return (levels = simLevels()) == allOff; }, 5000),
             qPrintable(levels.join(' ')));
    QTRY_COMPARE_WITH_TIMEOUT(value(QStringLiteral("select sum(brightness) from tbl_light")).toInt(), 0,
                              5000);
    // The master switch is no light: it never took a command.
    QVERIFY(simLines(QStringLiteral("RX ")).filter(QRegularExpression(" 00 31 01 1f ")).isEmpty());
    shot(QStringLiteral("operator_lighting_all_off"));
}

void TestOperatorPath::panelMessageShowsOnTheHomePage()
{
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Home"), QStringLiteral("Home"), QString(),
                                        QString());
    auto *bar = qobject_cast<MessageBar *>(m_window->messageBar());
    QVERIFY(bar);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->tiles().size(), 0);

    // The kitchen's panel raises its alarm switch.
    simCommand(QStringLiteral("switch 1/50 3 on"), QStringLiteral("SENT"));
    QTRY_COMPARE_WITH_TIMEOUT(bar->tiles().size(), 1, 5000);
    QCOMPARE(value(QStringLiteral("select count(*) from tbl_message_log where room_id=%1 and message_id=1 "
                                  "and message_type=1")
                       .arg(Kitchen))
                 .toInt(),
             1);
    // The panel heard the answer to its switch (0xE01D to everybody).
    QTRY_VERIFY_WITH_TIMEOUT(
        !simLines(QStringLiteral("RX ")).filter(QStringLiteral(" e0 1d ff ff 03 01")).isEmpty(), 3000);
    bar->alarmDialog()->hide();
    shot(QStringLiteral("operator_home_message"));
}

void TestOperatorPath::definedMessageIsHandledListedAndExported()
{
    // The intake's clock runs 30 s behind while the panel's frame arrives, so the
    // service message has settled once the clock is set right again.
    qint64 lag = -30;
    m_window->intake()->setClock([&lag]() { return QDateTime::currentSecsSinceEpoch() + lag; });

    // "Message Manager": the add tile opens the form for the first free number.
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Message Manager"), QStringLiteral("Message Manager"),
                                        QString(), QString());
    auto *manager = qobject_cast<PageSettingMessageManager *>(shownPage());
    QVERIFY(manager);
    auto *grid = qobject_cast<QGridLayout *>(manager->tileBox()->layout());
    QCOMPARE(grid->count(), 2);
    QTRY_VERIFY(grid->itemAt(1)->widget()->isVisible());
    click(grid->itemAt(1)->widget());
    QTRY_COMPARE_WITH_TIMEOUT(shownPage()->getId(), QStringLiteral("Message Information"), 2000);
    auto *form = qobject_cast<PageSettingMessageManagerMessageInformation *>(shownPage());
    QCOMPARE(form->messageId(), 2);
    form->nameEdit()->setText(QStringLiteral("Guest's call"));
    form->switchEdit()->setText(QStringLiteral("4"));
    shot(QStringLiteral("operator_message_information"));
    form->saveButton()->click(); // at the right edge, beyond the offscreen screen
    QTRY_COMPARE_WITH_TIMEOUT(shownPage()->getId(), QStringLiteral("Message Manager"), 2000);
    QCOMPARE(qobject_cast<QGridLayout *>(manager->tileBox()->layout())->count(), 3);

    // The kitchen's panel raises switch 4; after settling its tile shows on the home page.
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Home"), QStringLiteral("Home"), QString(),
                                        QString());
    auto *bar = qobject_cast<MessageBar *>(m_window->messageBar());
    const int before = bar->tiles().size();
    simCommand(QStringLiteral("switch 1/50 4 on"), QStringLiteral("SENT"));
    QTRY_VERIFY_WITH_TIMEOUT(
        !simLines(QStringLiteral("RX ")).filter(QStringLiteral(" e0 1d ff ff 04 01")).isEmpty(), 3000);
    lag = 0;
    QTRY_COMPARE_WITH_TIMEOUT(bar->tiles().size(), before + 1, 5000);
    MessageItem *tile = bar->tiles().last();
    QCOMPARE(tile->getMessageRecord().message_id, 2);
    shot(QStringLiteral("operator_home_service_message"));

    // Handled in the message dialog: processed, with a remark.
    QTimer handler;
    connect(&handler, &QTimer::timeout, [&handler]() {
        auto *dialog = qobject_cast<MessageDlg *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        handler.stop();
        auto *form = dialog->findChild<MessageForm *>();
        form->selectStatus(QStringLiteral("processed"));
        form->remarkField()->setText(QStringLiteral("=1+1 towels brought"));
        dialog->findChild<QAbstractButton *>(QStringLiteral("pushButtonOk"))->click();
    });
    handler.start(20);
    // The bar lies below the small offscreen screen: the tile's press goes to it directly.
    emit tile->signalsPressed();
    QTRY_COMPARE_WITH_TIMEOUT(tile->getMessageRecord().message_status, 3, 3000);

    // "Message" lists it with its new status and remark, and exports it.
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Message"), QStringLiteral("Message"), QString(),
                                        QString());
    auto *messages = qobject_cast<PageMessage *>(shownPage());
    QVERIFY(messages);
    MessageItem *listed = nullptr;
    for (QWidget *w : messages->tiles()) {
        auto *item = qobject_cast<MessageItem *>(w);
        if (item->getMessageRecord().message_id == 2)
            listed = item;
    }
    QVERIFY(listed);
    QCOMPARE(QString::fromUtf8(listed->getMessageRecord().message_log_remark),
             QStringLiteral("=1+1 towels brought"));
    shot(QStringLiteral("operator_message_page"));
    QTemporaryDir exports;
    const QString file = exports.filePath(QStringLiteral("messages.xlsx"));
    answerFileDialogsWith([&](FileDialogKind, const QString &, const QString &) { return file; });
    // The export icon sits at the right edge, beyond the small offscreen screen.
    emit messages->exportLabel()->signalsPressed();
    QTRY_VERIFY_WITH_TIMEOUT(!messages->isExporting(), 10000);
    answerFileDialogsWith({});
    const xlsxreadback::Workbook book = xlsxreadback::readWorkbook(file);
    QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
    QCOMPARE(book.sheets, QStringList{"message"});
    const QList<QStringList> rows = book.rows.value(QStringLiteral("message"));
    QCOMPARE(rows.size(), messages->tiles().size() + 1);
    QStringList guest;
    for (const QStringList &row : rows)
        if (row.value(3) == QLatin1String("Guest's call"))
            guest = row;
    QCOMPARE(guest.mid(1, 6), (QStringList{"North-Ground-Kitchen", "Kitchen panel", "Guest's call",
                                           "service message", "processed", "=1+1 towels brought"}));
}

void TestOperatorPath::lightLogIsListedAndExported()
{
    // A light switched on its card logs its new state.
    const int logged = value(QStringLiteral("select count(*) from tbl_log")).toInt();
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Operate Room"), QStringLiteral("South-First-Lounge"),
                                        QString::number(Lounge), QStringLiteral("1"));
    auto *room = qobject_cast<PageRoomOperate *>(shownPage());
    QVERIFY(room);
    QTRY_COMPARE_WITH_TIMEOUT(room->lightingTab()->refreshControl()->statusText(),
                              QStringLiteral("Refresh Successfully"), 12000);
    auto *lamp = qobject_cast<LightItem *>(room->lightingTab()->cards().at(0));
    click(lamp, QPoint(250, 150));
    QTRY_VERIFY_WITH_TIMEOUT(value(QStringLiteral("select count(*) from tbl_log")).toInt() > logged, 5000);

    emit gl_socket.signalsPageIdChanged(QStringLiteral("Log"), QStringLiteral("Log"), QString(), QString());
    auto *log = qobject_cast<PageLog *>(shownPage());
    QVERIFY(log);
    QVERIFY(!log->tiles().isEmpty());
    const logRecord newest = qobject_cast<LogItem *>(log->tiles().at(0))->getLogRecord();
    QCOMPARE(QString::fromUtf8(newest.log_device), QStringLiteral("light_Light 6"));
    QCOMPARE(QString::fromUtf8(newest.log_address), QStringLiteral("South-First-Lounge"));
    shot(QStringLiteral("operator_log_page"));
    QTemporaryDir exports;
    const QString file = exports.filePath(QStringLiteral("logs.xlsx"));
    answerFileDialogsWith([&](FileDialogKind, const QString &, const QString &) { return file; });
    emit log->exportLabel()->signalsPressed();
    QTRY_VERIFY_WITH_TIMEOUT(!log->isExporting(), 10000);
    answerFileDialogsWith({});
    const xlsxreadback::Workbook book = xlsxreadback::readWorkbook(file);
    QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
    QCOMPARE(book.sheets, QStringList{"log"});
    const QList<QStringList> rows = book.rows.value(QStringLiteral("log"));
    QCOMPARE(rows.size(), log->tiles().size() + 1);
    QCOMPARE(rows.at(1).mid(0, 4),
             (QStringList{QString::fromUtf8(newest.log_time), "South-First-Lounge", "light_Light 6",
                          QString::fromUtf8(newest.log_event)}));
}

VARNO_TEST_MAIN(TestOperatorPath)
#include "tst_operatorpath.moc"
