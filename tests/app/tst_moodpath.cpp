// End to end: the operator's mood through the real main window, against
// simulated devices on the "Local Network" style over the shared veth pair. Two
// lights and an air conditioner of the kitchen are switched on on their cards, a
// mood of the kitchen is saved in the room editor, the three are switched off,
// and the mood's tile on the room page's "Moods" tab, then on the page "Moods",
// brings the stored states back to the devices and, after their next poll, to
// the cards. The mood also carries three DIY commands given on "Diy Command",
// which the devices receive after the stored states, in command order, at least
// 50 ms apart. Last, the copied program starts on the resulting project.

#include "testmain.h"
#include "pathtest.h"

#include "roomproject.h"
#include "vethpair.h"
#include "windowpress.h"

#include "app/mainwindow.h"
#include "bus/broadcastsocket.h"
#include "moods/mooditem.h"
#include "moods/pagesettingroommanagermoodsdiycommand.h"
#include "moods/pagedeviceoperatemoods.h"
#include "moods/pagesettingroommanagermoods.h"
#include "moods/pagesettingroommanagermoodsinformation.h"
#include "commissioning/pagesettingroommanageredit.h"
#include "operation/acitem.h"
#include "operation/lightitem.h"
#include "operation/pageroomoperate.h"
#include "operation/pageroomoperateac.h"
#include "operation/pageroomoperatelighting.h"
#include "operation/roomitem.h"
#include "shell/manageritem.h"
#include "shell/refreshingctrl.h"
#include "store/projectlist.h"
#include "store/startupconfig.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmaterialcheckbox.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialtabs.h>

using namespace roomproject;

namespace {

constexpr int Kitchen = 1;

void go(const QString &id, const QString &arg1 = QString(), const QString &arg2 = QString())
{
    emit gl_socket.signalsPageIdChanged(id, id, arg1, arg2);
}

} // namespace

class TestMoodPath : public QObject
{
    Q_OBJECT

    varnotest::VethPair m_veth;
    QProcess m_devices;
    QByteArray m_output;
    QTemporaryDir m_root;
    QScopedPointer<MainWindow> m_window;

    template <typename T> T *shown() const
    {
        for (MyDialog *p : m_window->pages()) {
            if (p->isVisible())
                return qobject_cast<T *>(p);
        }
        return nullptr;
    }
    // The light levels of module 1/20 from a fresh "levels" answer.
    QString levels()
    {
        const int before = m_output.count("END");
        m_devices.write("levels\n");
        QElapsedTimer t;
        t.start();
        while (m_output.count("END") <= before && t.elapsed() < 5000)
            QTest::qWait(10);
        QString found;
        for (const QByteArray &line : m_output.split('\n')) {
            if (line.startsWith("LEVELS 1/20 "))
                found = QString::fromLatin1(line.mid(12));
        }
        return found;
    }
    // The levels once they are the wanted ones, or the last read when they do not become
    // so in time. Each reading may itself wait, so the wait is bounded by its time rather
    // than by a count of tries.
    QString levelsAfterWaitingFor(const QString &wanted)
    {
        QString found;
        return QTest::qWaitFor([&] { return (found = levels()) == wanted; }, 5000) ? wanted : found;
    }
    // The status byte of the last 0xE0EE frame to the panel 1/30 the devices took.
    int acStatusSent() const
    {
        int status = -1;
        for (const QByteArray &line : m_output.split('\n')) {
            const QByteArray frame = QByteArray::fromHex(line.split(' ').mid(2).join());
            if (line.startsWith("RX ") && frame.size() > 26 && quint8(frame[21]) == 0xE0 &&
                quint8(frame[22]) == 0xEE && quint8(frame[23]) == 1 && quint8(frame[24]) == 30)
                status = quint8(frame[25]);
        }
        return status;
    }
    // "code sub/dev payload" of every DIY frame (to devices 1/60 to 1/62) the devices
    // took from the output's byte from on, with the arrival times.
    QStringList diyFramesSince(int from, QList<qint64> *arrivals) const
    {
        QStringList frames;
        bool diy = false;
        for (const QByteArray &line : m_output.mid(from).split('\n')) {
            if (line.startsWith("AT ") && diy)
                arrivals->append(line.mid(3).toLongLong());
            const QByteArray frame = QByteArray::fromHex(line.split(' ').mid(2).join());
            diy = line.startsWith("RX ") && frame.size() > 26 && quint8(frame[23]) == 1 &&
                  quint8(frame[24]) >= 60 && quint8(frame[24]) <= 62;
            if (diy)
                frames << QStringLiteral("%1 1/%2 %3")
                              .arg(QString::fromLatin1(frame.mid(21, 2).toHex()))
                              .arg(quint8(frame[24]))
                              .arg(QString::fromLatin1(frame.mid(25, quint8(frame[16]) - 11).toHex()));
        }
        return frames;
    }
    // On "Diy Command": a Modbus Coil, a UPB Scene and a Panel Control command, each
    // as "type|subnet|device|Prm1..Prm4" where a number is typed and a text picked.
    void giveCommands(PageSettingRoomManagerMoodsDiyCommand *diy)
    {
        const QStringList commands{"Modbus Coil|1|60|300|On", "UPB Scene|1|61|9|Scene|Activate|3",
                                   "Panel Control|1|62|Panel AC 1|Set Temperature|24°C"};
        for (const QString &command : commands) {
            const QStringList part = command.split(QLatin1Char('|'));
            auto pick = [diy](const QString &box, const QString &text) {
                auto *combo = diy->findChild<QComboBox *>(box);
                QVERIFY(combo && combo->isVisible() && combo->findText(text) >= 0);
                combo->setCurrentIndex(combo->findText(text));
            };
            pick(QStringLiteral("comboBoxType"), part[0]);
            QTest::keyClicks(diy->subnetField(), part[1]);
            QTest::keyClicks(diy->deviceField(), part[2]);
            for (int column = 0; column + 3 < part.size(); ++column) {
                const QString n = QString::number(column + 1);
                bool number = false;
                part[column + 3].toInt(&number);
                if (number) {
                    auto *edit = diy->findChild<QLineEdit *>(QStringLiteral("lineEditPrm") + n);
                    QVERIFY(edit && edit->isVisible());
                    edit->clear();
                    QTest::keyClicks(edit, part[column + 3]);
                } else {
                    pick(QStringLiteral("comboBoxPrm") + n, part[column + 3]);
                }
            }
            QVERIFY(varnotest::pressOnScreen(command == commands.last() ? diy->saveButton()
                                                                         : diy->nextButton()));
        }
    }
    // Opens the kitchen's room page on a tab and waits for its cards' first poll.
    PageRoomOperate *roomPage(const QString &tab)
    {
        go("Operate Room", QString::number(Kitchen), "1");
        auto *page = shown<PageRoomOperate>();
        for (int i = 0; page && i < page->tabBar()->count(); ++i) {
            if (page->tabBar()->tabText(i) == tab)
                page->tabBar()->setCurrentIndex(i);
        }
        return page;
    }
    void switchCards(bool on)
    {
        PageRoomOperate *page = roomPage("Lighting");
        QVERIFY(page);
        QTRY_COMPARE_WITH_TIMEOUT(page->lightingTab()->refreshControl()->statusText(),
                                  QStringLiteral("Refresh Successfully"), 12000);
        for (DeviceItem *card : page->lightingTab()->cards())
            QVERIFY(varnotest::pressOnScreen(card));
        const QString wanted = on ? QStringLiteral("100 100") : QStringLiteral("0 0");
        QCOMPARE(levelsAfterWaitingFor(wanted), wanted);
        page = roomPage("AC");
        QTRY_COMPARE_WITH_TIMEOUT(page->acTab()->refreshControl()->statusText(),
                                  QStringLiteral("Refresh Successfully"), 12000);
        auto *ac = qobject_cast<ACItem *>(page->acTab()->cards().value(0));
        QVERIFY(ac && varnotest::pressOnScreen(ac->powerButton()));
        QTRY_COMPARE_WITH_TIMEOUT(acStatusSent(), on ? 1 : 0, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(value("select status from tbl_air_conditioner").toInt(), on ? 1 : 0, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(rows("select brightness from tbl_light order by light_id"),
                                  on ? QStringList({"100", "100"}) : QStringList({"0", "0"}), 5000);
    }
    // After the mood's run: the devices and, after their next poll, the cards.
    void expectMoodStates()
    {
        QCOMPARE(levelsAfterWaitingFor(QStringLiteral("100 100")), QStringLiteral("100 100"));
        QTRY_COMPARE_WITH_TIMEOUT(acStatusSent(), 1, 5000);
        PageRoomOperate *page = roomPage("Lighting");
        QTRY_COMPARE_WITH_TIMEOUT(page->lightingTab()->refreshControl()->statusText(),
                                  QStringLiteral("Refresh Successfully"), 12000);
        for (DeviceItem *card : page->lightingTab()->cards())
            QCOMPARE(qobject_cast<LightItem *>(card)->getLight().brightness[0], 100);
        page = roomPage("AC");
        QTRY_COMPARE_WITH_TIMEOUT(page->acTab()->refreshControl()->statusText(),
                                  QStringLiteral("Refresh Successfully"), 12000);
        QCOMPARE(qobject_cast<ACItem *>(page->acTab()->cards().value(0))->getAirConditioner().status, 1);
    }

private slots:
    void initTestCase()
    {
        if (!m_veth.setUp())
            QSKIP(qPrintable(m_veth.error()));
        connect(&m_devices, &QProcess::readyReadStandardOutput, this,
                [this] { m_output += m_devices.readAllStandardOutput(); });
        m_veth.startInDevices(m_devices, QStringLiteral(VARNO_SIMDEVICE_PATH),
                              {"--udp", "0.0.0.0:6000", "--header-ip", varnotest::VethPair::deviceAddress(),
                               "--commands", "--times", "--exit-on-eof", "--light", "1/20/2", "--ac-panel",
                               "1/30/1"});
        QVERIFY(m_devices.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_output.contains("READY"), 5000);

        QVERIFY(QDir().mkpath(m_root.filePath("app")));
        QVERIFY(QFile::copy(QStringLiteral(VARNO_EXECUTABLE), m_root.filePath("app/varno")));
        initConfig(m_root.filePath("app"));
        QVERIFY(varnotest::useApplicationFolder(m_root.filePath("app")));
        QVERIFY(addRegion(1, "North") && addFloor(1, 1, "Ground") && addRoom(Kitchen, "Kitchen", 1, 1));
        QVERIFY(addLight({Kitchen, 1, 1, "Ceiling", 1, 20, 1, 0, 0}));
        QVERIFY(addLight({Kitchen, 2, 1, "Wall", 1, 20, 2, 0, 0}));
        QVERIFY(addUnit({Kitchen, 0, 0, "Split", 1, 30, 1, 24, "", ""}));

        m_window.reset(new MainWindow(nullptr));
        QVERIFY(varnotest::showLoggedIn(m_window.data()));
    }
    void cleanupTestCase()
    {
        m_window.reset();
        gl_socket.closeSocket();
        varnotest::endProcess(m_devices);
        m_veth.tearDown();
    }

    void operatorsMood()
    {
        // A step that failed ends the row, so that the waits of the steps after it do not add up.
        switchCards(true);
        if (QTest::currentTestFailed())
            return;

        // The installer saves the kitchen's mood with its lights and air conditioner.
        go("Edit Room", QString::number(Kitchen), "1");
        auto *editor = shown<PageSettingRoomManagerEdit>();
        QVERIFY(editor);
        editor->tabBar()->setCurrentIndex(editor->tabCount() - 1);
        auto *moods = qobject_cast<PageSettingRoomManagerMoods *>(editor->tabPage(editor->tabCount() - 1));
        ManagerItem *add = nullptr;
        QTRY_VERIFY((add = moods->tileBox()->findChild<ManagerItem *>()) && add->isVisible());
        QVERIFY(varnotest::pressOnScreen(add));
        QTRY_VERIFY(shown<PageSettingRoomManagerMoodsInformation>());
        auto *info = shown<PageSettingRoomManagerMoodsInformation>();
        QCOMPARE(info->moodId(), 1);
        QTest::keyClicks(info->nameField(), "Evening");
        QVERIFY(varnotest::pressOnScreen(info->groupPicture(info->GroupLight)));
        QVERIFY(varnotest::pressOnScreen(info->groupPicture(info->GroupAc1)));
        QVERIFY(info->groupBox(info->GroupLight)->isChecked() &&
                info->groupBox(info->GroupAc1)->isChecked());
        // Its DIY commands, saved before the mood; back in the editor the form stays.
        info->selectButton()->click(); // below the small offscreen screen
        QTRY_VERIFY(shown<PageSettingRoomManagerMoodsDiyCommand>());
        giveCommands(shown<PageSettingRoomManagerMoodsDiyCommand>());
        QTRY_VERIFY(shown<PageSettingRoomManagerMoodsInformation>());
        QCOMPARE(rows("select command_id,subnet_id,device_id,command_type,prm1,prm2,prm3,prm4 "
                      "from tbl_mood_command where mood_id=1 and room_id=1 order by command_id"),
                 QStringList({"1|1|60|115|1|44|1|0", "2|1|61|113|9|0|1|3", "3|1|62|95|25|4|24|0"}));
        QCOMPARE(info->nameField()->text(), QStringLiteral("Evening"));
        QVERIFY(info->groupBox(info->GroupLight)->isChecked() &&
                info->groupBox(info->GroupAc1)->isChecked());
        info->saveButton()->click(); // at the right edge, beyond the small offscreen screen
        QTRY_VERIFY(shown<PageSettingRoomManagerEdit>());
        QCOMPARE(rows("select mood_name,light_bool,ac1_bool,diy_bool from tbl_mood"),
                 QStringList({"Evening|1|1|1"}));

        // Off, then the tile on the room page's "Moods" tab.
        switchCards(false);
        if (QTest::currentTestFailed())
            return;
        PageRoomOperate *page = roomPage("Moods");
        QVERIFY(page && page->moodsTab()->isVisible());
        MoodItem *tile = nullptr;
        QTRY_VERIFY((tile = page->moodsTab()->findChild<MoodItem *>()) && tile->isVisible());
        QSignalSpy sent(&gl_socket, &BroadcastSocket::signalsInformation);
        const int outputBefore = m_output.size();
        QVERIFY(varnotest::pressOnScreen(tile));
        QTRY_VERIFY(sent.count() > 0 &&
                    sent.last().first().toString() == QLatin1String("Send successfully"));
        // The DIY commands as the devices took them: operation code, target, payload.
        QList<qint64> at;
        QStringList frames;
        QTRY_VERIFY_WITH_TIMEOUT((at.clear(), frames = diyFramesSince(outputBefore, &at), at.size() == 3),
                                 5000);
        QCOMPARE(frames,
                 QStringList({"202a 1/60 012c010000", "201a 1/61 0209000103", "e3d8 1/62 19041800"}));
        // The kernel stamps each datagram as the veth takes it, inside the sender's call, and
        // the sequencer measures its 50 ms from the end of that call: no load shortens the gap.
        QVERIFY2(at[1] - at[0] >= 50000000 && at[2] - at[1] >= 50000000,
                 qPrintable(QStringLiteral("%1 ns, %2 ns apart").arg(at[1] - at[0]).arg(at[2] - at[1])));
        expectMoodStates();
        if (QTest::currentTestFailed())
            return;

        // The same from the page "Moods".
        switchCards(false);
        if (QTest::currentTestFailed())
            return;
        go("Moods");
        auto *all = shown<PageDeviceOperateMoods>();
        QVERIFY(all && all->roomBlocks().size() == 1);
        QTRY_VERIFY((tile = all->roomBlocks().first()->findChild<MoodItem *>()) && tile->isVisible());
        QVERIFY(varnotest::pressOnScreen(tile));
        expectMoodStates();
    }

    // The copied program opens the project with its mood and draws its first screen.
    void copiedProgramStarts()
    {
        m_window.reset();
        gl_socket.closeSocket();
        gl_sqlite3db.close();
        const QString shot = m_root.filePath("first.png");
        QProcess varno;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VARNO_SCREENSHOT"), shot);
        varno.setProcessEnvironment(env);
        varno.start(m_root.filePath("app/varno"), QStringList());
        QVERIFY(varno.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(shot), 20000);
        varno.terminate();
        QVERIFY(varno.waitForFinished(5000));
        QVERIFY(!QImage(shot).isNull());
    }
};

VARNO_TEST_MAIN(TestMoodPath)
#include "tst_moodpath.moc"
