// The message bar: panel messages arriving through the intake become tiles, sound
// and open the alarm dialog; updates of a row update its tile; removals by row,
// room, panel and message; the exit while the alarm dialog is open; the home
// page with the bar below it.

#include "testmain.h"

#include "messagefixture.h"

#include "bus/broadcastsocket.h"
#include "records/alarmdlg.h"
#include "records/messagebar.h"
#include "records/messageform.h"
#include "records/messageitem.h"
#include "records/messagesound.h"
#include "shell/lossnotice.h"
#include "shell/manageritem.h"
#include "shell/homemanageritem.h"
#include "shell/pagehome.h"
#include "shell/panelmessageintake.h"
#include "simbus.h"
#include "simpanel.h"
#include "stepfault.h"
#include "store/projectlist.h"

#include <QDataStream>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGridLayout>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>
#include <qtmateriallabel.h>

using namespace fixture;

namespace {

const qint64 kMorning = QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0)).toSecsSinceEpoch();

void flushDeletions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QList<int> tileIds(const MessageBar &bar)
{
    QList<int> ids;
    for (MessageItem *tile : bar.tiles())
        ids << tile->getMessageRecord().id;
    return ids;
}

void announce(int id, int type, int status = 0)
{
    universalSwitchMessage msg;
    msg.id = id;
    msg.message_type = type;
    msg.message_status = status;
    emit gl_socket.signalsAppendMessage(msg);
}

int gridRow(QGridLayout *grid, QWidget *tile)
{
    int row, column, rowSpan, columnSpan;
    grid->getItemPosition(grid->indexOf(tile), &row, &column, &rowSpan, &columnSpan);
    return row;
}

} // namespace

class TestMessageBar : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QWidget *m_host = nullptr;
    MessageBar *m_bar = nullptr;
    QStringList m_played;
    qint64 m_now = kMorning;

    void feed(const QByteArray &frame, PanelMessageIntake &intake)
    {
        QVERIFY(intake.takeFrame(reinterpret_cast<const quint8 *>(frame.constData()), frame.size()));
    }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(pictures);
        QVERIFY(m_dir.isValid());
        gl_curPath = m_dir.path();
        preInitProject();
        seed();
        gl_socket.setId(1, 254);
        screen_cx = 1920;
        screen_cy = 1080;
    }
    void cleanupTestCase() { gl_sqlite3db.close(); }

    void init()
    {
        exec(QStringLiteral("delete from tbl_message_log"));
        m_now = kMorning;
        m_played.clear();
        m_host = new QWidget;
        auto *layout = new QVBoxLayout(m_host);
        m_bar = new MessageBar(nullptr);
        m_bar->setClock([this]() { return m_now; });
        layout->addWidget(m_bar);
        m_host->resize(1400, 200);
        // The test machine has no audio device: the sound class says what would play.
        m_bar->sound()->setOutputProbe([]() { return true; });
        m_bar->sound()->setPlayer([this](const QString &file) { m_played << file; });
    }
    void cleanup()
    {
        delete m_host;
        m_host = nullptr;
        m_bar = nullptr;
        flushDeletions();
    }

    void removalBeforeAnyMessageChangesNothing()
    {
        QCOMPARE(m_bar->height(), 200);
        QVERIFY(!m_bar->alarmDialog()->parent());
        for (int type = 0; type < 4; ++type)
            emit gl_socket.signalsRemoveMessage(1, type);
        QVERIFY(!m_bar->tileGrid());
        QVERIFY(m_bar->tiles().isEmpty());
    }

    void alarmFromPanelMakesTileSoundAndDialog()
    {
        SimPanel panel(1, 20);
        PanelMessageIntake intake;
        intake.setClock([this]() { return m_now; });
        feed(panel.switchFrame(9, true), intake);

        const QList<int> ids = tileIds(*m_bar);
        QCOMPARE(ids.size(), 1);
        const messageRecord shown = m_bar->tiles().first()->getMessageRecord();
        QCOMPARE(shown.message_id, int(AlarmFire));
        QCOMPARE(shown.panel_id, int(DoorPanel));
        QCOMPARE(shown.room_id, int(Room101));
        QCOMPARE(QString::fromUtf8(shown.recv_time), QStringLiteral("2026-12-07 09:00:00"));
        QCOMPARE(m_played, QStringList{":/myFiles/audio/alarm.wav"});
        QCOMPARE(m_bar->sound()->playCount(), 1);
        QCOMPARE(m_bar->sound()->lastPlayed(), QStringLiteral(":/myFiles/audio/alarm.wav"));

        AlarmDlg *alarm = m_bar->alarmDialog();
        QVERIFY(alarm->isVisible());
        QCOMPARE(alarm->form()->positionLabel()->text(), QStringLiteral("1/1"));
        QCOMPARE(alarm->currentRecord().id, ids.first());

        // The panel switches off: an alarm makes a new row at once, joined to the open dialog.
        m_now += 3;
        feed(panel.switchFrame(9, false), intake);
        QCOMPARE(tileIds(*m_bar).size(), 2);
        QCOMPARE(alarm->form()->positionLabel()->text(), QStringLiteral("1/2"));
        QCOMPARE(alarm->currentRecord().id, ids.first());
        QCOMPARE(m_played.size(), 2);
        QCOMPARE(gridRow(m_bar->tileGrid(), m_bar->tiles().at(1)), 1);
        alarm->close();
    }

    // A row whose read keeps failing holds back no other, and shows once it reads again.
    void failingRowHoldsNoOther()
    {
        const int door = addRow(AlarmFire, 1, DoorPanel, Room101);
        const int bed = addRow(AlarmFire, 1, BedPanel, Room101);
        StepFault::arm(QStringLiteral("tbl_message_log where id=%1").arg(door), -1);
        auto disarm = qScopeGuard([] { StepFault::disarm(); });
        announce(door, 1);
        announce(bed, 1);
        m_bar->showWaiting();
        QCOMPARE(tileIds(*m_bar), QList<int>{bed});
        StepFault::disarm();
        m_bar->showWaiting(); // the failing row waits a second before it is read again
        QCOMPARE(tileIds(*m_bar), QList<int>{bed});
        ++m_now;
        m_bar->showWaiting();
        QCOMPARE(tileIds(*m_bar), (QList<int>{bed, door}));
        m_bar->alarmDialog()->close();
    }

    // A backlog announced in one turn of the program's event loop (as after a fault ends):
    // every row reaches its tile and the alarm dialog, a slice per turn, and nothing is said.
    void longBacklogIsShownWhole()
    {
        QSignalSpy information(&gl_socket, &BroadcastSocket::signalsInformation);
        QList<int> ids;
        QVERIFY(gl_sqlite3db.beginTransaction());
        for (int i = 0; i < 1100; ++i)
            ids << addRow(AlarmFire, 1, i % 2 ? DoorPanel : BedPanel, Room101);
        QVERIFY(gl_sqlite3db.commitTransaction());
        int firstTurn = 0;
        QEventLoop loop; // the program's event loop: the bar shows a slice, then hands it back
        QTimer::singleShot(0, &loop, [&] {
            for (int id : qAsConst(ids))
                announce(id, 1);
            firstTurn = tileIds(*m_bar).size();
            loop.quit();
        });
        loop.exec();
        QTRY_COMPARE(tileIds(*m_bar).size(), ids.size());
        QCOMPARE(tileIds(*m_bar), ids);
        QVERIFY(firstTurn > 0 && firstTurn <= MessageBar::TilesPerTurn);
        QCOMPARE(m_bar->alarmDialog()->heldRecords().size(), ids.size());
        QVERIFY(information.isEmpty() && LossNotice::unsaid() == 0);
        m_bar->alarmDialog()->close();
    }

    void serviceFromPanelUpdatesItsTile()
    {
        SimPanel panel(1, 21);
        PanelMessageIntake intake;
        intake.setClock([this]() { return m_now; });
        feed(panel.switchFrame(5, true), intake);
        QVERIFY(m_bar->tiles().isEmpty()); // still settling
        m_now += 20;
        intake.slotsUniversalSwitch();
        QCOMPARE(tileIds(*m_bar).size(), 1);
        const int id = tileIds(*m_bar).first();
        QCOMPARE(m_played, QStringList{":/myFiles/audio/service.wav"});
        QVERIFY(!m_bar->alarmDialog()->isVisible());

        // Off, settled: the same row becomes "user cancel"; its tile follows.
        m_now += 30;
        feed(panel.switchFrame(5, false), intake);
        m_now += 20;
        intake.slotsUniversalSwitch();
        QCOMPARE(tileIds(*m_bar), QList<int>{id});
        QCOMPARE(m_bar->tiles().first()->getMessageRecord().message_status, 1);
        QCOMPARE(QString::fromUtf8(m_bar->tiles().first()->getMessageRecord().recv_time),
                 QStringLiteral("2026-12-07 09:00:50"));
        QCOMPARE(m_played.size(), 2);
        QCOMPARE(m_played.last(), QStringLiteral(":/myFiles/audio/service.wav"));

        // On again the same day: back to "suspend", still one tile.
        m_now += 30;
        feed(panel.switchFrame(5, true), intake);
        m_now += 20;
        intake.slotsUniversalSwitch();
        QCOMPARE(tileIds(*m_bar), QList<int>{id});
        QCOMPARE(m_bar->tiles().first()->getMessageRecord().message_status, 0);
        QCOMPARE(m_played.size(), 3);
        QVERIFY(!m_bar->alarmDialog()->isVisible());
    }

    void alarmAnnouncedAgainIsNotHandedTwice()
    {
        const int id = addRow(AlarmFire, 1, DoorPanel, Room101);
        announce(id, 1);
        announce(id, 1);
        QCOMPARE(tileIds(*m_bar), QList<int>{id});
        QCOMPARE(m_bar->alarmDialog()->heldRecords().size(), 1);
        QCOMPARE(m_played.size(), 2);
    }

    void statusAboveOneOrMissingRowIsIgnored_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("rowExists");
        QTest::newRow("processing") << 2 << true;
        QTest::newRow("processed") << 3 << true;
        QTest::newRow("secured") << 4 << true;
        QTest::newRow("negative") << -1 << true;
        QTest::newRow("missing row") << 0 << false;
    }
    void statusAboveOneOrMissingRowIsIgnored()
    {
        QFETCH(int, status);
        QFETCH(bool, rowExists);
        const int id = addRow(ServiceClean, 0, DoorPanel, Room101);
        announce(id, 0);
        QCOMPARE(m_played.size(), 1);
        exec(QStringLiteral("update tbl_message_log set message_status=3,message_log_remark='x'"));
        const int announced = rowExists ? id : id + 50;
        announce(announced, 0, status);
        announce(id + 60, 1, 0); // a missing alarm row: no tile, no dialog
        QCOMPARE(tileIds(*m_bar), QList<int>{id});
        QCOMPARE(m_bar->tiles().first()->getMessageRecord().message_status, 0);
        QCOMPARE(m_played.size(), 1);
        QVERIFY(!m_bar->alarmDialog()->isVisible());
    }

    void alarmDialogReopensWithTheNewAlarmOnly()
    {
        const int first = addRow(AlarmFire, 1, DoorPanel, Room101);
        const int second = addRow(AlarmFire, 1, BedPanel, BobsRoom);
        AlarmDlg *alarm = m_bar->alarmDialog();
        announce(first, 1);
        QVERIFY(alarm->isVisible());
        alarm->form()->selectStatus(QStringLiteral("secured"));
        alarm->close();
        announce(second, 1);
        QVERIFY(alarm->isVisible());
        QCOMPARE(alarm->heldRecords().size(), 1);
        QCOMPARE(alarm->currentRecord().id, second);
        QCOMPARE(alarm->form()->positionLabel()->text(), QStringLiteral("1/1"));
        QCOMPARE(row(first).status, 0);
        alarm->close();
    }

    void removeTiles_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("value");       // a row index (1-4) for types other than 1-3
        QTest::addColumn<QList<int>>("kept"); // row indexes
        QTest::newRow("row id") << 0 << 3 << QList<int>{1, 2, 4};
        QTest::newRow("room") << 1 << int(Room101) << QList<int>{3, 4};
        QTest::newRow("panel") << 2 << int(BedPanel) << QList<int>{1, 2};
        QTest::newRow("message") << 3 << int(ServiceClean) << QList<int>{2, 4};
        QTest::newRow("alarm message") << 3 << int(AlarmFire) << QList<int>{1, 3, 4};
        QTest::newRow("other kind means row id") << 9 << 1 << QList<int>{2, 3, 4};
        QTest::newRow("unknown row id") << 0 << 99 << QList<int>{1, 2, 3, 4};
        QTest::newRow("unknown room") << 1 << 1 << QList<int>{1, 2, 3, 4};
    }
    void removeTiles()
    {
        QFETCH(int, type);
        QFETCH(int, value);
        QFETCH(QList<int>, kept);
        const QList<int> ids = {
            addRow(ServiceClean, 0, DoorPanel, Room101), addRow(AlarmFire, 1, DoorPanel, Room101),
            addRow(ServiceClean, 0, BedPanel, BobsRoom), addRow(ServiceTowels, 0, BedPanel, BobsRoom)};
        for (int i = 0; i < ids.size(); ++i)
            announce(ids.at(i), i == 1 ? 1 : 0);
        m_bar->alarmDialog()->close();
        QCOMPARE(tileIds(*m_bar), ids);

        const bool byRow = type < 1 || type > 3;
        const int sent = byRow ? (value >= 1 && value <= 4 ? ids.at(value - 1) : value) : value;
        emit gl_socket.signalsRemoveMessage(sent, type);
        QList<int> expected;
        for (int index : kept)
            expected << ids.at(index - 1);
        QCOMPARE(tileIds(*m_bar), expected);
        flushDeletions();
        QCOMPARE(m_bar->findChildren<MessageItem *>().size(), expected.size());

        // A new tile still goes below every tile shown, and the row after it stretches.
        const int extra = addRow(ServiceTowels, 0, DoorPanel, Room101);
        announce(extra, 0);
        QCOMPARE(tileIds(*m_bar), expected + QList<int>{extra});
        QGridLayout *grid = m_bar->tileGrid();
        const int newRow = gridRow(grid, m_bar->tiles().last());
        for (MessageItem *tile : m_bar->tiles().mid(0, expected.size()))
            QVERIFY(gridRow(grid, tile) < newRow);
        QCOMPARE(grid->rowStretch(newRow + 1), 1);
        for (int r = 0; r <= newRow; ++r)
            QCOMPARE(grid->rowStretch(r), 0);
    }

    void withoutAudioOutputNothingPlays()
    {
        m_bar->sound()->setOutputProbe([]() { return false; });
        const int id = addRow(AlarmFire, 1, DoorPanel, Room101);
        announce(id, 1);
        QCOMPARE(tileIds(*m_bar), QList<int>{id});
        QVERIFY(m_played.isEmpty());
        QCOMPARE(m_bar->sound()->playCount(), 0);
        m_bar->alarmDialog()->close();

        // The real question, on a machine without an audio device, plays nothing
        // and fails nothing.
        MessageSound sound;
        sound.play(1);
        sound.play(0);
        QCOMPARE(sound.playCount(), MessageSound::audioOutputExists() ? 2 : 0);
    }

    void soundFilesAreShortWaves_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("file");
        QTest::newRow("alarm") << 1 << ":/myFiles/audio/alarm.wav";
        QTest::newRow("service") << 0 << ":/myFiles/audio/service.wav";
    }
    void soundFilesAreShortWaves()
    {
        QFETCH(int, type);
        QFETCH(QString, file);
        QCOMPARE(MessageSound::fileFor(type), file);
        QFile wav(file);
        QVERIFY(wav.open(QIODevice::ReadOnly));
        const QByteArray bytes = wav.readAll();
        QVERIFY(bytes.size() > 44);
        QCOMPARE(bytes.left(4), QByteArray("RIFF"));
        QCOMPARE(bytes.mid(8, 4), QByteArray("WAVE"));
        QDataStream in(bytes.mid(22, 14));
        in.setByteOrder(QDataStream::LittleEndian);
        quint16 channels;
        quint32 rate, byteRate;
        in >> channels >> rate >> byteRate;
        QVERIFY(channels >= 1 && rate >= 8000);
        const double seconds = double(bytes.size() - 44) / byteRate;
        QVERIFY2(seconds > 0.2 && seconds < 3.0, qPrintable(QString::number(seconds)));
    }

    // The whole road over the loopback network: a panel's frame reaches the
    // application, is answered, stored, and shown on the bar.
    void panelOverTheBus()
    {
        if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
            QSKIP("needs the private network namespace of ./test");
        SimBus sim;
        const QHostAddress simAddress(QStringLiteral("127.0.0.2"));
        QVERIFY2(sim.listenUdp(simAddress, 6000), qPrintable(sim.errorString()));
        SimPanel *panel = sim.add<SimPanel>(1, 20);
        gl_net_style = NetStyleDnsServer;
        gl_domain_name = simAddress.toString();
        gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
        QVERIFY(gl_socket.createSocket());
        PanelMessageIntake intake;
        connect(&gl_socket, &BroadcastSocket::dataIsComming, &intake,
                [&intake](quint8 *buffer, qlonglong length) { intake.takeFrame(buffer, length); });

        sim.sendRaw(panel->switchFrame(9, true), QHostAddress(QStringLiteral("127.0.0.1")), 6000);
        QTRY_COMPARE(m_bar->tiles().size(), 1);
        QCOMPARE(m_bar->tiles().first()->getMessageRecord().message_id, int(AlarmFire));
        QCOMPARE(m_played, QStringList{":/myFiles/audio/alarm.wav"});
        QVERIFY(m_bar->alarmDialog()->isVisible());
        QTRY_COMPARE(panel->answers().size(), 1);
        QCOMPARE(panel->answers().first().payload, QByteArray::fromHex("0901"));
        m_bar->alarmDialog()->close();
        gl_socket.closeSocket();
        gl_net_style = NetStyleLocalNetwork;
    }

    void homeWithBarShowsTheAlarm()
    {
        exec(QStringLiteral("insert into tbl_floor(floor_name,floor_id,region_id) values('2F',2,1)"));
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        const int service =
            addRow(ServiceClean, 0, BedPanel, BobsRoom, 0, today + QStringLiteral(" 09:05:12"));
        const int alarm = addRow(AlarmFire, 1, DoorPanel, Room101, 0, today + QStringLiteral(" 09:07:40"));

        QWidget window;
        // The main window's own background.
        window.setAutoFillBackground(true);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, QColor(0x26, 0x34, 0x40));
        window.setPalette(palette);
        auto *column = new QVBoxLayout(&window);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        PageHome page(QStringLiteral("Home"), QStringLiteral("Home"));
        MessageBar bar(nullptr);
        bar.sound()->setOutputProbe([]() { return false; });
        column->addWidget(&page, 1);
        column->addWidget(&bar);
        window.resize(1920, 1080);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        emit gl_socket.signalsPageEnter(QString(), QString());
        announce(service, 0);
        announce(alarm, 1);
        for (ManagerItem *tile : page.managerItem()->findChildren<ManagerItem *>())
            tile->onPoll();

        QCOMPARE(bar.tiles().size(), 2);
        QVERIFY(bar.alarmDialog()->isVisible());
        // The new tiles are laid out from the event loop.
        QTRY_VERIFY(bar.tiles().first()->width() > 1800);
        QCOMPARE(bar.tiles().first()->width(), bar.tiles().last()->width());
        // The bar stands at the bottom of the window, under the page, and its
        // alarm tile shows the alarm's text in the alarm colour.
        const QImage shot = window.grab().toImage();
        QCOMPARE(shot.size(), QSize(1920, 1080));
        QCOMPARE(bar.geometry().bottom(), 1079);
        QCOMPARE(page.geometry().bottom() + 1, bar.geometry().top());
        int alarmPixels = 0;
        const QRect barArea = bar.geometry();
        for (int y = barArea.top(); y <= barArea.bottom(); ++y) {
            for (int x = barArea.left(); x <= barArea.right(); x += 1)
                alarmPixels += shot.pixelColor(x, y) == QColor(0xE3, 0x51, 0x51) ? 1 : 0;
        }
        QVERIFY2(alarmPixels > 10, qPrintable(QString::number(alarmPixels)));
        bar.alarmDialog()->close();
    }

    // Exit from the menu bar ends the application even while the alarm dialog,
    // a window of its own, is open. Runs last: it runs the application's loop.
    void exitQuitsWithAlarmDialogOpen()
    {
        QWidget mainWindow;
        auto *layout = new QVBoxLayout(&mainWindow);
        MessageBar *bar = new MessageBar(nullptr);
        bar->sound()->setOutputProbe([]() { return false; });
        layout->addWidget(bar);
        connect(&gl_socket, &BroadcastSocket::signalsClosed, &mainWindow, &QWidget::close);
        mainWindow.show();
        announce(addRow(AlarmFire, 1, DoorPanel, Room101), 1);
        QVERIFY(bar->alarmDialog()->isVisible());

        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, qApp, []() { QCoreApplication::exit(7); });
        watchdog.start(5000);
        QTimer::singleShot(0, []() { emit gl_socket.signalsClosed(); });
        const int code = QApplication::exec();
        watchdog.stop();
        QCOMPARE(code, 0);
        QVERIFY(!bar->alarmDialog()->isVisible());
    }
};

VARNO_TEST_MAIN(TestMessageBar)
#include "tst_messagebar.moc"
