// End to end: the copied program, in the "Cloud Server" style against the
// simulated devices, shows the page "Lighting", whose light answers its poll; the
// moment the light's answer is sent, the program is ended by a signal, as a panel
// PC that shuts down ends it. It ends as Exit does, with the state and its log
// event in the database, and the panel alarms it has answered stored.

#include "testmain.h"
#include "acknowledged.h"

#include "roomproject.h"
#include "simframe.h"
#include "slowpicture.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace roomproject;

class TestTermination : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_app;
    QString m_database;

    // Whether a "TX" line of the devices is the light's answer to its poll (0x0034).
    static bool isLevelsAnswer(const QByteArray &line)
    {
        const QByteArray frame = QByteArray::fromHex(line.mid(3));
        const int start = frame.indexOf("\xAA\xAA");
        return line.startsWith("TX ") && start >= 0 && frame.size() > start + 8 &&
               quint8(frame[start + 7]) == 0x00 && quint8(frame[start + 8]) == 0x34;
    }

    // Starts the copied program with the test's own home and its commands on standard input,
    // and waits till it says it is ready. With shim, the fault shim is preloaded and armed by it.
    bool start(QProcess &varno, QByteArray &said, const QHash<QString, QString> &shim = {},
               QProcess::ProcessChannelMode channels = QProcess::ForwardedErrorChannel)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!shim.isEmpty()) { // the shim comes ahead of the sanitizer's runtime, if any
            env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(VARNO_STEPFAULT_PRELOAD));
            for (auto it = shim.begin(); it != shim.end(); ++it)
                env.insert(it.key(), it.value());
            env.insert(QStringLiteral("ASAN_OPTIONS"),
                       env.value(QStringLiteral("ASAN_OPTIONS")) + ":verify_asan_link_order=0");
        }
        env.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("VARNO_COMMANDS_ON_STDIN"), QStringLiteral("1"));
        varno.setProcessEnvironment(env);
        varno.setProcessChannelMode(channels);
        varno.start(m_app + QStringLiteral("/varno"), QStringList());
        const auto ready = [&] { return (said += varno.readAllStandardOutput()).contains("READY"); };
        return QTest::qWaitFor(ready, 20000);
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
            QSKIP("opens the bus: run inside the private network namespace of ./test");
        QVERIFY(m_root.isValid());
        for (const char *folder : {"app", "home", "config"})
            QVERIFY(QDir(m_root.path()).mkpath(QLatin1String(folder)));
        m_app = m_root.filePath(QStringLiteral("app"));
        QVERIFY(QFile::copy(QStringLiteral(VARNO_EXECUTABLE), m_app + QStringLiteral("/varno")));
        QFile::setPermissions(m_app + QStringLiteral("/varno"), QFile::ReadOwner | QFile::ExeOwner);
        gl_curPath = m_app;
        preInitProject();
        QVERIFY(exec(QStringLiteral("update tbl_network set ip_port_mac='01-02-03-04-05-06-07-08',"
                                    "password='pw12',server_ip='127.0.0.1'")));
        QVERIFY(addRegion(1, "North") && addFloor(1, 1, "Ground") && addRoom(1, "Kitchen", 1, 1));
        QVERIFY(addLight({1, 1, 1, "Ceiling", 1, 20, 1, 40, 0}));
        QVERIFY(addPanel(1, 1, 1, 50) && addMessage(1, 1, "Fire", 9) && addMessage(2, 1, "Water", 10));
        gl_sqlite3db.close();
        setProjectNode(QStringLiteral("Home"), QStringLiteral("network_type"), QStringLiteral("1"));
        m_database = m_app + QStringLiteral("/database/Home/Home.db3");
    }

    void cleanupTestCase() { gl_sqlite3db.close(); }

    // With another process reading the database from before the light's answer (its commit then
    // fails) until one of the exit's tries has failed on it (0.3 s at most), the exit tries the
    // light's state and event again until they are in.
    void signalEndsLikeExit_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("reader");
        QTest::newRow("SIGTERM") << int(SIGTERM) << false;
        QTest::newRow("SIGINT") << int(SIGINT) << false;
        QTest::newRow("SIGHUP") << int(SIGHUP) << false;
        QTest::newRow("SIGTERM, a reader into the exit") << int(SIGTERM) << true;
    }
    void signalEndsLikeExit()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, reader);
        // The test's own connection holds no transaction while the program runs.
        QVERIFY(exec(QStringLiteral("update tbl_light set brightness=40")) &&
                exec(QStringLiteral("delete from tbl_log")));
        QCOMPARE(rows(QStringLiteral("select brightness from tbl_light")), QStringList({"40"}));
        QCOMPARE(rows(QStringLiteral("select count(*) from tbl_log")), QStringList({"0"}));

        QProcess devices;
        devices.start(QStringLiteral(VARNO_SIMDEVICE_PATH),
                      {"--tcp", "127.0.0.1:6010", "--cloud-result", "0", "--light", "1/20/1"});
        QVERIFY(devices.waitForStarted(5000));
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += devices.readAllStandardOutput()).contains("READY"), 5000);

        QProcess varno;
        QByteArray said;
        QVERIFY(start(varno, said, {}, reader ? QProcess::MergedChannels : QProcess::ForwardedErrorChannel));
        const auto forget = qScopeGuard([] {
            QSqlDatabase::removeDatabase(QStringLiteral("reader"));
            QSqlDatabase::removeDatabase(QStringLiteral("probe"));
        });
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reader"));
        other.setDatabaseName(m_database);
        QSqlQuery hold(other);
        QVERIFY(!reader || (other.open() && hold.exec("begin") && hold.exec("select count(*) from tbl_light") &&
                            hold.next()));
        varno.write("page Lighting\n");
        QVERIFY(varno.waitForBytesWritten(5000));

        // The signal goes out as soon as the light's answer is seen leaving the devices. The devices
        // say something at every keep-alive too: the wait is bounded as a whole.
        bool answered = false;
        const QDeadlineTimer answerBound(20000);
        while (!answered && !answerBound.hasExpired() &&
               devices.waitForReadyRead(int(answerBound.remainingTime()))) {
            output += devices.readAllStandardOutput();
            while (!answered && output.contains('\n')) {
                const int end = output.indexOf('\n');
                answered = isLevelsAnswer(output.left(end));
                output.remove(0, end + 1);
            }
        }
        QVERIFY(answered);
        ::kill(pid_t(varno.processId()), signalNumber);
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        QString steps; // what the row saw of the exit, and when
        if (reader) { // once the program's own commit has failed, its exit begins
            const auto failed = [&] { return (said += varno.readAll()).contains("Fail to commit device writes"); };
            QVERIFY(QTest::qWaitFor(failed, 30000));
            steps += QStringLiteral("commit failed, seen at %1 ms; ").arg(sinceSignal.elapsed());
            // A connection of its own finds the file locked while a try of the exit waits for the read.
            // The read ends once such a try is seen failing, or after 0.3 s of them.
            QSqlDatabase probe = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
            probe.setDatabaseName(m_database);
            probe.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
            QVERIFY(probe.open());
            const auto trying = [&probe] { return !QSqlQuery(probe).exec("select count(*) from tbl_light"); };
            QDeadlineTimer tries(300);
            while (!trying() && !tries.hasExpired()) {}
            steps += QStringLiteral("a try looked for till %1 ms; ").arg(sinceSignal.elapsed());
            while (trying() && !tries.hasExpired()) {}
            hold.finish();
            other.rollback();
            steps += QStringLiteral("the read ended at %1 ms; ").arg(sinceSignal.elapsed());
        }
        const bool finished = varno.state() == QProcess::NotRunning || varno.waitForFinished(10000);
        devices.kill();
        devices.waitForFinished(5000);
        QVERIFY(finished);
        QCOMPARE(varno.exitStatus(), QProcess::NormalExit);
        QCOMPARE(varno.exitCode(), 0);
        said += varno.readAll();
        steps += QStringLiteral("the log: %1; the program said: ")
                     .arg(rows(QStringLiteral("select log_device||': '||log_event from tbl_log")).join(", ")) +
                 QString::fromUtf8(said);
        QVERIFY2(!said.contains("lost") && !said.contains("left at the exit"), qPrintable(steps));
        QVERIFY(!QFile::exists(m_database + QStringLiteral("-journal")));
        QVERIFY2(rows(QStringLiteral("select brightness from tbl_light")) == QStringList({"0"}), qPrintable(steps));
        QCOMPARE(rows(QStringLiteral("select log_device||': '||log_event from tbl_log")),
                 QStringList({"light_Ceiling: status is off"}));
    }

    // A gallery picture read from a pipe that never delivers (a hung share): the exit still
    // ends within its bound, the database whole, nothing left in the project's folder.
    void exitDuringHungPictureRead_data()
    {
        QTest::addColumn<int>("signalNumber"); // 0: the menu bar's "Exit"
        QTest::addColumn<bool>("stuck");       // the open never returns, whatever is checked
        QTest::newRow("SIGTERM") << int(SIGTERM) << false;
        QTest::newRow("SIGINT") << int(SIGINT) << false;
        QTest::newRow("Exit") << 0 << false;
        QTest::newRow("SIGTERM, the open stuck in the kernel") << int(SIGTERM) << true;
    }
    void exitDuringHungPictureRead()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, stuck);
        varnotest::SlowPicture hung(m_root.filePath(QStringLiteral("hung.png")));
        const QString stuckPath = m_root.filePath(QStringLiteral("stuck.png"));
        QVERIFY(varnotest::SlowPicture::photo().save(stuckPath));
        const QString folder = m_app + QStringLiteral("/database/Home");
        const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        QProcess varno;
        QByteArray said;
        QVERIFY(start(varno, said, stuck ? QHash<QString, QString>{{"VARNO_HANG_OPEN", stuckPath}}
                                         : QHash<QString, QString>()));
        varno.write("page Edit Room|1\ngallery " + QFile::encodeName(stuck ? stuckPath : hung.path) +
                    "\npress labelModifyRoomIcon\n");
        if (stuck) // the picture is being read
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(stuckPath + ".opened"), 10000);
        else
            QVERIFY(hung.waitForReader());
        if (signalNumber)
            ::kill(pid_t(varno.processId()), signalNumber);
        else
            varno.write("click pushButtonExit\n");
        QVERIFY2(varno.waitForFinished(30000), "the exit waited for the hung read");
        QCOMPARE(varno.exitStatus(), QProcess::NormalExit);
        QCOMPARE(varno.exitCode(), 0);
        QCOMPARE(rows(QStringLiteral("pragma quick_check")), QStringList({"ok"}));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), files);
    }

    // The cloud server writes panel alarms at once, and the program is ended once it has
    // answered some: every alarm it answered is stored on the way out (a panel does not send an
    // answered alarm again), and its answer goes out before the link is dropped. With the disk
    // failing until just before the end, all 300 wait unstored; in a flood of 3,000 the storing
    // lags behind the answers, and Exit still ends the program while the alarm dialog fills.
    // Ended right after the server has reset the link, once every byte was acknowledged, the
    // program stores every alarm it received, answered or not; with the database locked by
    // another process, it ends all the same and says how many it could not store.
    void answeredAlarmsAreStoredAtExit_data()
    {
        QTest::addColumn<QByteArray>("end"); // a signal's number, or commands on standard input
        QTest::addColumn<int>("alarms");
        QTest::addColumn<int>("answered"); // before the end
        QTest::addColumn<bool>("failing"); // the disk fails until the end
        QTest::addColumn<QString>("then"); // before the end: "reset" the link, or the database "locked"
        const QByteArray exit("click pushButtonExit\n"), term = QByteArray::number(SIGTERM);
        QTest::newRow("SIGTERM") << term << 300 << 300 << true << "";
        QTest::newRow("Exit") << exit << 300 << 300 << true << "";
        QTest::newRow("quit on standard input") << QByteArray("quit\n") << 300 << 300 << true << "";
        QTest::newRow("Exit in a flood") << exit << 3000 << 1000 << false << "";
        QTest::newRow("SIGTERM after a reset") << term << 3000 << 0 << false << "reset";
        QTest::newRow("Exit after a reset") << exit << 3000 << 0 << false << "reset";
        QTest::newRow("quit after a reset") << QByteArray("quit\n") << 3000 << 0 << false << "reset";
        QTest::newRow("SIGTERM, the database locked") << term << 300 << 300 << true << "locked";
    }
    void answeredAlarmsAreStoredAtExit()
    {
        QFETCH(QByteArray, end);
        QFETCH(int, alarms);
        QFETCH(int, answered);
        QFETCH(bool, failing);
        QFETCH(QString, then);
        QVERIFY(exec(QStringLiteral("delete from tbl_message_log")));
        QTcpServer cloud;
        QVERIFY(cloud.listen(QHostAddress(QStringLiteral("127.0.0.1")), 6010));
        const QString fault = m_root.filePath(QStringLiteral("disk-fails"));
        QFile marker(fault);
        QVERIFY(!failing || marker.open(QIODevice::WriteOnly));
        marker.close();
        QProcess varno;
        QByteArray said;
        QVERIFY(start(varno, said, {{"VARNO_STEP_FAULT", "-1:insert into tbl_message_log"},
                                    {"VARNO_STEP_FAULT_WHILE", fault}},
                      QProcess::MergedChannels));
        QVERIFY(cloud.hasPendingConnections() || cloud.waitForNewConnection(10000));
        QTcpSocket *link = cloud.nextPendingConnection();
        // What the program answers after the last look is read here: Qt's socket would drop
        // what the system holds once the program's end resets the link.
        int own = ::fcntl(int(link->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
        QVERIFY(own >= 0);
        const auto closeOwn = qScopeGuard([&own] { ::close(own); });
        QByteArray frames;
        for (int i = 0; i < alarms; ++i)
            frames += SimFrame::build(SimFrame::ipBytes(QHostAddress::LocalHost), 1, 50, 0x0001, 0xE01C, 255, 255,
                                      QByteArray(1, char(9 + i % 2)) + '\x01');
        link->write(frames);
        const QByteArray answer = QByteArray::fromHex("ccc2e01d"); // device type and operation code
        QByteArray answers;
        // Not QTRY: on failing, it waits twice as long again.
        const auto answeredEnough = [&] { return (answers += link->readAll()).count(answer) >= answered; };
        QVERIFY(QTest::qWaitFor(answeredEnough, 30000));
        if (then == "reset") { // once the program's system has acknowledged every byte
            QVERIFY(varnotest::acknowledged(*link, own, QDeadlineTimer(30000)) && varnotest::resetOnClose(own));
            link->abort();
            ::close(std::exchange(own, -1));
        }
        QVERIFY(then != "locked" || exec(QStringLiteral("begin exclusive"))); // the test's own connection
        QVERIFY(!failing || QFile::remove(fault));
        if (end.endsWith('\n'))
            varno.write(end);
        else
            ::kill(pid_t(varno.processId()), end.toInt());
        QVERIFY2(varno.waitForFinished(30000), "the program did not end");
        QCOMPARE(varno.exitStatus(), QProcess::NormalExit);
        QCOMPARE(varno.exitCode(), 0);
        answers += link->readAll();
        char bytes[4096];
        for (ssize_t got; own >= 0 && (got = ::recv(own, bytes, sizeof bytes, MSG_DONTWAIT)) > 0;)
            answers.append(bytes, int(got));
        QVERIFY(then != "locked" || exec(QStringLiteral("rollback")));
        said += varno.readAll();
        const int left = then == "locked" ? answers.count(answer) : 0;
        QCOMPARE(said.contains("left at the exit: " + QByteArray::number(left)), left > 0);
        // Each alarm whose answer came, and no other, is stored; after a reset, every alarm sent.
        QCOMPARE(rows(QStringLiteral("select count(*) from tbl_message_log")),
                 QStringList({QString::number(then == "reset" ? alarms : answers.count(answer) - left)}));
    }
};

VARNO_TEST_MAIN(TestTermination)
#include "tst_termination.moc"
