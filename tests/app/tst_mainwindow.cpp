// The main window: start-up emissions, navigation, the login of the "Local
// Network" style, the project switch and the close. Runs inside the private
// network namespace of ./test (the window opens the bus on port 6000).

#include "testmain.h"
#include "acknowledged.h"

#include "../records/messagefixture.h"
#include "../records/recordpages.h"
#include "app/mainwindow.h"
#include "app/pagefactory.h"
#include "bus/broadcastsocket.h"
#include "records/messagebar.h"
#include "records/messagedlg.h"
#include "records/messageform.h"
#include "records/messageitem.h"
#include "settings/projectselectdlg.h"
#include "settings/projectselectitem.h"
#include "settings/projectswitch.h"
#include "shell/kestmessagebox.h"
#include "shell/lossnotice.h"
#include "shell/menubar.h"
#include "shell/mydialog.h"
#include "shell/panelmessageintake.h"
#include "roomproject.h"
#include "simanswer.h"
#include "simbus.h"
#include "simlight.h"
#include "simpanel.h"
#include "stepfault.h"
#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/devicelog.h"
#include "store/exitbound.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"
#include "store/retrylanes.h"

#include <QAbstractButton>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSignalSpy>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest>
#include <qtmateriallabel.h>
#include <qtmaterialsnackbar.h>

#include <functional>
#include <atomic>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Records the hub's signals by name, in the order they are emitted.
// Takes its connections as bare descriptors, served elsewhere.
struct RawServer : QTcpServer
{
    QList<int> links;
    void incomingConnection(qintptr descriptor) override { links.append(int(descriptor)); }
    ~RawServer() override { std::for_each(links.cbegin(), links.cend(), ::close); }
};

// A stand-in server's link, on a thread of its own: it writes count alarms of panel 1/20 while it
// counts the program's answers, till the program ends the link (or this goes).
struct ServedLink
{
    std::atomic<int> answered{0};
    std::atomic<bool> ended{false};
    std::thread thread;
    ServedLink(int fd, int count)
        : thread([this, fd, count] {
            const QByteArray alarms = SimPanel(1, 20).switchFrame(9, true).repeated(count);
            QByteArray heard;
            for (qint64 sent = 0; !ended;) {
                pollfd io{fd, short(POLLIN | (sent < alarms.size() ? POLLOUT : 0)), 0};
                if (::poll(&io, 1, 100) <= 0)
                    continue;
                if (io.revents & POLLOUT)
                    sent += qMax<ssize_t>(0, ::send(fd, alarms.constData() + sent, size_t(alarms.size() - sent),
                                                    MSG_DONTWAIT | MSG_NOSIGNAL));
                char bytes[4096];
                const ssize_t got = ::recv(fd, bytes, sizeof bytes, MSG_DONTWAIT);
                if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
                    break;
                heard.append(bytes, int(qMax<ssize_t>(0, got)));
                answered = heard.count(QByteArray::fromHex("ccc2e01d")); // device type and operation code
            }
            ended = true;
            ::close(fd);
        })
    {
    }
    ~ServedLink()
    {
        ended = true;
        thread.join();
    }
};

class HubRecorder : public QObject
{
public:
    QStringList log;
    HubRecorder()
    {
        auto add = [this](const QString &entry) { log << entry; };
        connect(&gl_socket, &BroadcastSocket::signalsPageCurrent, this,
                [add](QString id, QString, QString, QString) { add(QStringLiteral("current:") + id); });
        connect(&gl_socket, &BroadcastSocket::signalsPageLeave, this,
                [add](QString id) { add(QStringLiteral("leave:") + id); });
        connect(&gl_socket, &BroadcastSocket::signalsStopRefresh, this,
                [add](bool) { add(QStringLiteral("stop")); });
        connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this,
                [add](QString a, QString b) { add(QStringLiteral("enter:%1,%2").arg(a, b)); });
        connect(&gl_socket, &BroadcastSocket::signalsProjectStateChanged, this,
                [add](QString p) { add(QStringLiteral("project:") + p); });
        connect(&gl_socket, &BroadcastSocket::signalsNetworkStateChanged, this,
                [add](bool ok) { add(QStringLiteral("network:%1").arg(ok)); });
        connect(&gl_socket, &BroadcastSocket::signalsNetworkOpen, this,
                [add]() { add(QStringLiteral("open")); });
    }
};

// Picks a project in the menu bar's project dialog, once it is listed and beforePick has run.
void pickProject(const QString &name, const std::function<void()> &beforePick = [] {})
{
    QTimer::singleShot(0, [name, beforePick]() {
        auto *dialog = qobject_cast<ProjectSelectDlg *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        beforePick();
        for (ProjectSelectItem *row : dialog->findChildren<ProjectSelectItem *>()) {
            if (row->projectName() == name) {
                emit row->signalsProjectChanged(name);
                return;
            }
        }
        dialog->close();
    });
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_app;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<HubRecorder> m_recorder;

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
            QSKIP("the main window opens the bus: run inside the private network namespace of ./test");
        gl_curPath = m_app.path();
        screen_cx = 1920;
        screen_cy = 1080;
        gl_subId = QStringLiteral("1");
        gl_devId = QStringLiteral("254");
        gl_socket.setId(1, 254);
        preInitProject();
        m_recorder.reset(new HubRecorder);
        m_window.reset(new MainWindow(nullptr));
        LossNotice::setInterval(0);
    }
    void cleanupTestCase()
    {
        m_window.reset();
        gl_socket.closeSocket();
        gl_sqlite3db.close();
    }

    void startUp()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Varno"));
        QVERIFY(m_window->isFullScreen());
        QCOMPARE(m_recorder->log, (QStringList{"current:Home", "project:Home", "network:0", "open"}));
        QVERIFY(m_window->messageTimer().isActive());
        QCOMPARE(m_window->messageTimer().interval(), 1000);
        QCOMPARE(m_window->menuBar()->current().id, QStringLiteral("Home"));
        QCOMPARE(m_window->menuBar()->height(), 30);
        QCOMPARE(gl_net_style, 0);
        // The "Local Network" style logs in with "Success" one tick after opening.
        QVERIFY(m_window->loginTimer().isActive());
        QSignalSpy state(&gl_socket, &BroadcastSocket::signalsNetworkConnectState);
        QVERIFY(state.wait(2500));
        QCOMPARE(state.at(0).at(0).toBool(), true);
        QCOMPARE(state.at(0).at(1).toString(), QStringLiteral("Success"));
        QVERIFY(!m_window->loginTimer().isActive());
    }

    void unknownPageStillNavigates()
    {
        m_recorder->log.clear();
        const int pages = m_window->pages().size();
        emit gl_socket.signalsPageIdChanged(QStringLiteral("No Such Page"), QStringLiteral("x"),
                                            QStringLiteral("1"), QStringLiteral("2"));
        QCOMPARE(m_window->pages().size(), pages);
        QCOMPARE(m_recorder->log, (QStringList{"current:No Such Page", "leave:Home", "stop", "enter:1,2"}));
        for (MyDialog *page : m_window->pages())
            QVERIFY(!page->isVisible());
    }

    void everyBuiltPageIsMadeOnce()
    {
        for (const QString &id : pageIds()) {
            emit gl_socket.signalsPageIdChanged(id, id, QString(), QString());
            emit gl_socket.signalsPageIdChanged(id, id + QStringLiteral(" again"), QString(), QString());
        }
        QSet<QString> seen;
        for (MyDialog *page : m_window->pages()) {
            QVERIFY2(!seen.contains(page->getId()), qPrintable(page->getId()));
            seen.insert(page->getId());
            QVERIFY(pageIds().contains(page->getId()));
            QCOMPARE(page->getName(), page->getId() + QStringLiteral(" again"));
        }
        // Every id of the factory's table made its page.
        for (const QString &id : pageIds())
            QVERIFY2(seen.contains(id), qPrintable(id));
        QCOMPARE(m_window->pages().size(), pageIds().size());
    }

    void leaveComesBeforeHiding()
    {
        QVERIFY(!m_window->pages().isEmpty());
        MyDialog *first = m_window->pages().at(0);
        MyDialog *second = m_window->pages().size() > 1 ? m_window->pages().at(1) : nullptr;
        const QString secondId = second ? second->getId() : QStringLiteral("No Such Page");
        emit gl_socket.signalsPageIdChanged(first->getId(), first->getId(), QString(), QString());
        QVERIFY(first->isVisible());
        // The message bar shows on the home page only.
        QVERIFY(m_window->messageBar());
        QCOMPARE(m_window->messageBar()->isVisibleTo(m_window.data()),
                 first->getId() == QLatin1String("Home"));
        bool visibleAtLeave = false;
        auto c = connect(&gl_socket, &BroadcastSocket::signalsPageLeave, this,
                         [&](QString id) { visibleAtLeave = id == first->getId() && first->isVisible(); });
        m_recorder->log.clear();
        emit gl_socket.signalsPageIdChanged(secondId, secondId, QStringLiteral("a"), QString());
        disconnect(c);
        QVERIFY(visibleAtLeave);
        QVERIFY(!first->isVisible());
        QVERIFY(!m_window->messageBar()->isVisibleTo(m_window.data()));
        if (second)
            QVERIFY(second->isVisible());
        QCOMPARE(m_recorder->log,
                 (QStringList{"current:" + secondId, "leave:" + first->getId(), "stop", "enter:a,"}));
        // The page already shown: no leave, entered again.
        emit gl_socket.signalsPageIdChanged(first->getId(), first->getId(), QString(), QString());
        m_recorder->log.clear();
        emit gl_socket.signalsPageIdChanged(first->getId(), first->getId(), QString(), QString());
        QCOMPARE(m_recorder->log, (QStringList{"current:" + first->getId(), "stop", "enter:,"}));
        QVERIFY(first->isVisible());
    }

    // Texts go to the snackbar; one that already waits there is not queued again.
    void informationGoesToSnackbar()
    {
        QtMaterialSnackbar *bar = m_window->snackbar();
        while (!bar->messages().isEmpty())
            bar->dequeue();
        for (const char *text : {"Kitchen lost connection", "Hall lost connection", "Hall lost connection",
                                 "Kitchen lost connection", "Hall lost connection"})
            emit gl_socket.signalsInformation(QLatin1String(text));
        QCOMPARE(bar->messages(), (QStringList{"Kitchen lost connection", "Hall lost connection",
                                               "Kitchen lost connection"}));
    }

    // Escape leaves every page where it is; a dialog of its own it closes.
    void escapeKeepsThePage()
    {
        for (MyDialog *page : m_window->pages()) {
            emit gl_socket.signalsPageIdChanged(page->getId(), page->getId(), QString(), QString());
            QTest::keyClick(page, Qt::Key_Escape);
            QVERIFY2(page->isVisible(), qPrintable(page->getId()));
        }
        MyDialog own;
        own.show();
        QTest::keyClick(&own, Qt::Key_Escape);
        QVERIFY(!own.isVisible());
        emit gl_socket.signalsPageIdChanged("Home", "Home", QString(), QString());
    }

    void projectSwitch()
    {
        fixture::seed(); // "Home" knows the door panel's fire alarm
        auto *bar = qobject_cast<MessageBar *>(m_window->messageBar());
        addProject(QStringLiteral("Other"));
        QDir().mkdir(gl_curPath + QStringLiteral("/database/Other"));
        QFile junk(gl_curPath + QStringLiteral("/database/Other/Other.db3"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a database");
        junk.close();
        setProjectNode(QStringLiteral("Other"), QStringLiteral("network_type"), QStringLiteral("0"));

        // Choosing the current project does nothing at all.
        m_recorder->log.clear();
        pickProject(QStringLiteral("Home"));
        emit m_window->menuBar()->signalsProjectSetting(QStringLiteral("Home"));
        QVERIFY(m_recorder->log.isEmpty());

        // A file that is no project database is kept aside and made afresh. An alarm that arrives
        // while the box is up is stored and announced in "Home", still the current project.
        QTimer::singleShot(0, [bar]() {
            auto *dialog = qobject_cast<ProjectSelectDlg *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QTimer::singleShot(0, [bar]() {
                auto *box = qobject_cast<KestMessageBox *>(QApplication::activeModalWidget());
                QVERIFY(box);
                QByteArray alarm = SimPanel(1, 20).switchFrame(9, true);
                emit gl_socket.dataIsComming(reinterpret_cast<quint8 *>(alarm.data()), alarm.size());
                box->findChild<QAbstractButton *>(QStringLiteral("pushButtonOk"))->click();
                QCOMPARE(bar->tiles().size(), 1);
            });
            for (ProjectSelectItem *row : dialog->findChildren<ProjectSelectItem *>()) {
                if (row->projectName() == QLatin1String("Other"))
                    emit row->signalsProjectChanged(row->projectName());
            }
        });
        emit m_window->menuBar()->signalsProjectSetting(QStringLiteral("Home"));
        QCOMPARE(m_recorder->log, (QStringList{"project:Other", "network:0", "open"}));
        QString current;
        getCurrentProject(current);
        QCOMPARE(current, QStringLiteral("Other"));
        const QString db = gl_curPath + QStringLiteral("/database/Other/Other.db3");
        QFile kept(db + QStringLiteral(".bak"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("not a database"));
        QVERIFY(isLegalFormat(db));
        QCOMPARE(gl_sqlite3db.getDbName(), db);
        QSqlDatabase home = QSqlDatabase::addDatabase("QSQLITE", "home"); // a second writer on "Home"
        home.setDatabaseName(projectDatabasePath("Home"));
        QVERIFY(home.open());
        auto holds = [&home](const char *sql) { return !home.exec(sql).lastError().isValid(); };
        {
            QSqlQuery alarms = home.exec("select message_id from tbl_message_log");
            QVERIFY(alarms.next() && alarms.value(0).toInt() == fixture::AlarmFire && !alarms.next());
        }

        // A switch that cannot be stored whole does not happen: with the project list unwritable, when
        // the fresh database of a broken file cannot be emptied (a trigger came with the copy of
        // "Other"), when the broken file cannot be renamed (its backup name is a link into nowhere), or
        // when "Home", lacking a table, is held by another writer or locked, it is refused, nothing of
        // any project changes and "Other" stays open (or says it cannot).
        addProject(QStringLiteral("Broken"));
        QVERIFY(QDir().mkpath(projectFolder("Broken")) &&
                QFile::copy(kept.fileName(), projectDatabasePath("Broken")));
        const QString list = gl_curPath + QStringLiteral("/database/project.xml");
        auto files = [&list] { // every file of every project, byte for byte
            QMap<QString, QByteArray> all;
            QDirIterator it(QFileInfo(list).path(), QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                QFile file(it.next());
                if (file.open(QIODevice::ReadOnly))
                    all.insert(file.fileName(), file.readAll());
            }
            return all;
        };
        const QString bak = projectDatabasePath("Broken") + ".bak";
        const QList<std::tuple<QString, std::function<bool()>, std::function<bool()>>> refusals = {
            {"Home", [&] { return QFile::rename(list, list + ".away") && QDir().mkdir(list); },
             [&] { return QDir().rmdir(list) && QFile::rename(list + ".away", list); }},
            {"Broken",
             [] {
                 return gl_sqlite3db.execDML("create trigger no before delete on tbl_version "
                                             "begin select raise(abort,''); end");
             },
             [] { return gl_sqlite3db.execDML("drop trigger no"); }},
            {"Broken", [&] { return QFile::link("/nowhere/x", bak); }, [&] { return QFile::remove(bak); }},
            {"Home", [&] { return holds("drop table if exists tbl_domain") && holds("begin immediate"); },
             [&] { return holds("rollback"); }},
            {"Home", // as above, and "Other" has gone meanwhile: it cannot be opened again, and that is said
             [&] { return holds("drop table if exists tbl_domain") && holds("begin immediate") &&
                          QFile::rename(db, db + ".away"); },
             [&] { return holds("rollback") && QFile::rename(db + ".away", db); }},
            {"Home", [&] { return holds("begin exclusive"); }, [&] { return holds("rollback"); }}};
        const int busyMs = std::exchange(CppSQLite3DB::busyTimeoutMs, 100);
        QTRY_VERIFY(!m_window->loginTimer().isActive()); // "Other" has logged in: no hub signal is due
        for (const auto &[target, setUp, undo] : refusals) {
            m_recorder->log.clear();
            while (!m_window->snackbar()->messages().isEmpty()) // each refusal's texts on their own
                m_window->snackbar()->dequeue();
            QMap<QString, QByteArray> before;
            pickProject(target, [&, setUp = setUp] {
                QVERIFY(setUp());
                before = files();
                QTimer::singleShot(0, [] { // "Ok" on the message box that a broken file brings
                    if (auto *box = qobject_cast<KestMessageBox *>(QApplication::activeModalWidget()))
                        box->close();
                });
            });
            emit m_window->menuBar()->signalsProjectSetting(QStringLiteral("Other"));
            QCOMPARE(files(), before);
            const QStringList said = m_window->snackbar()->messages();
            QCOMPARE(said.value(said.size() - 1), "Failed to switch the project!");
            QCOMPARE(said.value(said.size() - 2) == "Failed to open the project database!",
                     !QFile::exists(db));
            QVERIFY(undo());
            // One that failed once the link was closed asks for the link anew, and nothing else.
            QVERIFY2(m_recorder->log.isEmpty() || m_recorder->log == QStringList{"open"}, qPrintable(target));
            QCOMPARE(m_window->menuBar()->findChild<QtMaterialLabel *>("labelProjectName")->text(), "Other");
            QVERIFY(getCurrentProject(current) && current == "Other" && gl_sqlite3db.getDbName() == db);
        }
        CppSQLite3DB::busyTimeoutMs = busyMs;
        home.close();
    }

    // "Other" shows an alarm and has a service message waiting; "Copy", a copy of
    // it made before, is chosen, and there the panel's alarm takes the same row id.
    void messagesStayWithTheirProject()
    {
        using namespace fixture;
        seed();
        addRow(ServiceClean, 0, BedPanel, BobsRoom, 0, QDate::currentDate().toString(Qt::ISODate));
        const QString a = projectDatabasePath(QStringLiteral("Other"));
        QVERIFY(QDir().mkpath(projectFolder("Copy")) && QFile::copy(a, projectDatabasePath("Copy")));
        addProject(QStringLiteral("Copy"));
        auto now = std::make_shared<qint64>(QDateTime::currentSecsSinceEpoch());
        m_window->intake()->setClock([now]() { return *now; });
        auto panelSends = [](QByteArray f) {
            emit gl_socket.dataIsComming(reinterpret_cast<quint8 *>(f.data()), f.size());
        };
        auto *bar = qobject_cast<MessageBar *>(m_window->messageBar());
        panelSends(SimPanel(1, 20).switchFrame(9, true));
        panelSends(SimPanel(1, 21).switchFrame(5, true));
        QVERIFY(bar->alarmDialog()->isVisible());
        const int alarmId = bar->tiles().first()->getMessageRecord().id;
        QFile fileA(a);
        QVERIFY(fileA.open(QIODevice::ReadOnly));
        const QByteArray rowsA = fileA.readAll();

        pickProject(QStringLiteral("Copy"));
        emit m_window->menuBar()->signalsProjectSetting(QStringLiteral("Other"));
        QVERIFY(bar->tiles().isEmpty() && !bar->alarmDialog()->isVisible());
        QVERIFY(m_window->intake()->pending().isEmpty());
        *now += 21; // the service message would have settled by now: neither project stores it
        m_window->intake()->slotsUniversalSwitch();
        panelSends(SimPanel(1, 20).switchFrame(9, true));
        QCOMPARE(bar->tiles().size(), 1);
        QCOMPARE(bar->tiles().first()->getMessageRecord().id, alarmId);
        QVERIFY(bar->alarmDialog()->isVisible() && bar->alarmDialog()->heldRecords().size() == 1);
        QVERIFY(fileA.seek(0) && fileA.readAll() == rowsA);
        QCOMPARE(getValueFromDb("select count(*) as n from tbl_message_log", "n"), 2);
        QVERIFY(row(1).status == 0 && row(1).dealTime.isEmpty());

        // The alarm's row is pruned, and two days on the next alarm takes its id:
        // a new alarm, and neither the held alarm nor its tile's dialog write it.
        const messageRecord pruned = bar->alarmDialog()->currentRecord();
        QVERIFY(exec(QStringLiteral("delete from tbl_message_log where id=%1").arg(alarmId)));
        *now += 2 * 86400;
        panelSends(SimPanel(1, 20).switchFrame(9, true));
        QVERIFY(bar->tiles().size() == 1 && bar->alarmDialog()->heldRecords().size() == 2);
        bar->alarmDialog()->form()->selectStatus(QStringLiteral("secured"));
        bar->alarmDialog()->findChild<QAbstractButton *>(QStringLiteral("pushButtonOk"))->click();
        MessageDlg stale;
        stale.setMessageRecord(pruned);
        stale.form()->selectStatus(QStringLiteral("user cancel"));
        stale.findChild<QAbstractButton *>(QStringLiteral("pushButtonOk"))->click();
        QCOMPARE(row(alarmId).status, 0);

        // A held alarm's row is deleted on the "Message" page and the same alarm, raised again that
        // day, takes its id: what was chosen for the deleted one is not written onto it.
        panelSends(SimPanel(1, 20).switchFrame(9, true));
        const int deleted = bar->alarmDialog()->currentRecord().id;
        bar->alarmDialog()->form()->selectStatus(QStringLiteral("secured"));
        QVERIFY(exec(QStringLiteral("delete from tbl_message_log where id=%1").arg(deleted)));
        emit gl_socket.signalsRemoveMessage(deleted, 0);
        panelSends(SimPanel(1, 20).switchFrame(9, true));
        QCOMPARE(bar->alarmDialog()->heldRecords().size(), 1);
        QCOMPARE(bar->alarmDialog()->currentRecord().id, deleted); // the new alarm took the id
        bar->alarmDialog()->findChild<QAbstractButton *>(QStringLiteral("pushButtonOk"))->click();
        QCOMPARE(row(deleted).status, 0);
    }

    // An alarm whose row fails to read when announced shows at the next tick of the message timer.
    void alarmShownAfterFailedRead()
    {
        fixture::seed();
        auto *bar = qobject_cast<MessageBar *>(m_window->messageBar());
        const int tiles = bar->tiles().size();
        StepFault::arm(QStringLiteral("select * from tbl_message_log where id="), 1);
        QByteArray alarm = SimPanel(1, 20).switchFrame(9, true);
        emit gl_socket.dataIsComming(reinterpret_cast<quint8 *>(alarm.data()), alarm.size());
        StepFault::disarm();
        QVERIFY(StepFault::fired() && bar->tiles().size() == tiles);
        QTRY_COMPARE(bar->tiles().size(), tiles + 1);
    }

    // The look-up of the door panel (1/20) fails at every step while it lasts: its alarm
    // waits, the bed panel's (1/21) is stored and shown at once. Then the fault ends, the
    // project is left, or the wait reaches its limit.
    void keptAlarms_data()
    {
        QTest::addColumn<QString>("then");
        QTest::addColumn<int>("doorRows"); // the door panel's alarms stored in its project
        QTest::addColumn<QString>("said"); // on the snackbar
        const QString lost = QStringLiteral("1 panel message(s) could not be stored!");
        QTest::newRow("the fault ends") << "ends" << 1 << "";
        QTest::newRow("a switch, the fault gone") << "ends switch" << 1 << "";
        QTest::newRow("a switch, the fault lasting")
            << "switch" << 0 << lost + "|1 device report(s) could not be stored!";
        QTest::newRow("tried for ten minutes") << "wait" << 0 << lost;
    }
    void keptAlarms()
    {
        QFETCH(QString, then);
        fixture::seed();
        auto now = std::make_shared<qint64>(QDateTime::currentSecsSinceEpoch());
        m_window->intake()->setClock([now]() { return *now; });
        QString project;
        QVERIFY(getCurrentProject(project));
        // Rows of a panel counted in this project's file, whichever project is open.
        QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        file.setDatabaseName(gl_sqlite3db.getDbName());
        auto closeFile = qScopeGuard([&file] {
            file.close();
            file = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("check"));
        });
        const auto value = [&file](const QString &sql) {
            QSqlQuery n(sql, file);
            return n.next() ? n.value(0).toInt() : -1;
        };
        const auto rows = [&value](int panel) {
            return value(QStringLiteral("select count(*) from tbl_message_log where panel_id=%1").arg(panel));
        };
        QVERIFY(file.open());
        QVERIFY(gl_sqlite3db.execDML("delete from tbl_occupation") &&
                gl_sqlite3db.execDML("insert into tbl_occupation(subnet_id,device_id,channel,status,room_id) "
                                     "values(1,20,1,0,7)"));
        QSignalSpy information(&gl_socket, &BroadcastSocket::signalsInformation);
        StepFault::arm(QStringLiteral("subnet_id=1 and device_id=20"), -1);
        // A sensor beside the door panel reports, and its write fails too.
        storeDeviceState("update tbl_occupation set status=1 where subnet_id=1 and device_id=20 and "
                         "channel=1");
        for (int device : {20, 21}) {
            QByteArray f = SimPanel(1, device).switchFrame(9, true);
            emit gl_socket.dataIsComming(reinterpret_cast<quint8 *>(f.data()), f.size());
        }
        const QList<MessageItem *> shown = qobject_cast<MessageBar *>(m_window->messageBar())->tiles();
        const auto bedTile = [](MessageItem *t) { return t->getMessageRecord().panel_id == 2; };
        QVERIFY(rows(fixture::BedPanel) == 1 && std::any_of(shown.cbegin(), shown.cend(), bedTile));
        *now += 5;
        m_window->intake()->slotsUniversalSwitch();
        QVERIFY(rows(fixture::DoorPanel) == 0 && m_window->intake()->unstored() == 1);
        // The sensor's write, and the alarm tried on arrival and once its first second was over.
        QCOMPARE(StepFault::steps(), 3);
        if (then.startsWith("ends"))
            StepFault::disarm();
        if (then.endsWith("switch")) {
            const QString other = project == "Other" ? "Copy" : "Other";
            if (!QFile::exists(projectDatabasePath(other))) {
                QVERIFY(QDir().mkpath(projectFolder(other)) &&
                        QFile::copy(gl_sqlite3db.getDbName(), projectDatabasePath(other)));
                addProject(other);
            }
            pickProject(other);
            emit m_window->menuBar()->signalsProjectSetting(project);
            QVERIFY(getCurrentProject(project) && project == other);
        }
        // Past the longest wait between two tries, or at the limit.
        *now += then == "wait" ? PanelMessageIntake::RetrySeconds : RetryLanes<int, int>::MaxDelay;
        m_window->intake()->slotsUniversalSwitch();
        StepFault::disarm();
        QCOMPARE(m_window->intake()->unstored(), 0);
        QTEST(rows(fixture::DoorPanel), "doorRows");
        QFETCH(QString, said);
        QTRY_COMPARE(recordpages::infos(information).join('|'), said); // said once the turn is over
        QCOMPARE(LossNotice::unsaid(), 0);
        // The sensor's state is stored in its project once the fault is gone, before the project is left.
        QTRY_COMPARE(keptDeviceWrites(), 0);
        QCOMPARE(value("select status from tbl_occupation where device_id=20"), then == "switch" ? 0 : 1);
    }

    // The cloud server resets the link once the program's system has acknowledged 1,000 alarms,
    // and before the program has read them the style is changed, or the project switched to a
    // copy that knows the same panel: each alarm is stored once, in the project it came to.
    void heldAlarmsStayWithTheirProject_data()
    {
        QTest::addColumn<bool>("switchProject");
        QTest::newRow("the style changed") << false;
        QTest::newRow("the project switched") << true;
    }
    void heldAlarmsStayWithTheirProject()
    {
        QFETCH(bool, switchProject);
        fixture::seed();
        QString project;
        QVERIFY(getCurrentProject(project));
        const QString other = project + (switchProject ? "B" : "A");
        QVERIFY(fixture::exec("update tbl_network set ip_port_mac='01-02-03-04-05-06-07-08',"
                              "server_ip='127.0.0.1'"));
        QVERIFY(QDir().mkpath(projectFolder(other)) &&
                QFile::copy(gl_sqlite3db.getDbName(), projectDatabasePath(other)));
        addProject(other);
        const auto style = [&](int netStyle) {
            for (const QString &name : {project, other})
                setProjectNode(name, QStringLiteral("network_type"), QString::number(netStyle));
            gl_net_style = netStyle;
            emit gl_socket.signalsNetworkOpen();
        };
        const auto alarms = [] {
            return getValueFromDb("select count(*) as n from tbl_message_log where panel_id=1", "n");
        };
        QTcpServer cloud;
        QVERIFY(cloud.listen(QHostAddress::LocalHost, BroadcastSocket::CloudPort) && getNetworkConfig());
        style(NetStyleCloudServer);
        QVERIFY(cloud.waitForNewConnection(3000));
        QTcpSocket *link = cloud.nextPendingConnection();
        const int fd = int(link->socketDescriptor());
        QVERIFY(link->write(SimPanel(1, 20).switchFrame(9, true).repeated(1000)) > 0);
        QVERIFY(varnotest::acknowledged(*link, fd, QDeadlineTimer(30000)) && varnotest::resetOnClose(fd));
        link->close();
        if (switchProject) {
            pickProject(other);
            emit m_window->menuBar()->signalsProjectSetting(project);
            QCOMPARE(alarms(), 0); // none in the copy
            QVERIFY(switchProjectDatabase(project));
        }
        style(NetStyleLocalNetwork);
        QTRY_COMPARE(m_window->intake()->unstored(), 0);
        QCOMPARE(alarms(), 1000);
    }

    // The alarms of one write reach the "Cloud Server" link from a stand-in server that writes and
    // reads on a thread of its own, and the project is switched while they come, in an event loop
    // as the program runs. Every alarm answered on the old link is stored in its project, none in
    // the next, whether that knows the panel or not; a switch that fails makes the link anew.
    void switchWhileAlarmsKeepComing_data()
    {
        QTest::addColumn<QString>("next");
        QTest::addColumn<int>("alarms"); // the message bar shows those stored: few when the project stays
        QTest::newRow("to a project that knows the panel") << "Knows" << 20000;
        QTest::newRow("to a project that does not know it") << "Unknown" << 20000;
        QTest::newRow("a switch that fails") << "Fails" << 1000;
    }
    void switchWhileAlarmsKeepComing()
    {
        QFETCH(QString, next);
        QFETCH(int, alarms);
        // One bound for all the row's waits, so that the rows together fail well within the runner's.
        const QDeadlineTimer row(40000);
        const auto left = [&row] { return int(qMax<qint64>(0, row.remainingTime())); };
        fixture::seed();
        QString project;
        QVERIFY(getCurrentProject(project));
        QVERIFY(fixture::exec("update tbl_network set ip_port_mac='01-02-03-04-05-06-07-08',server_ip='127.0.0.1'"));
        const QString other = project + next;
        QVERIFY(QDir().mkpath(projectFolder(other)) &&
                QFile::copy(gl_sqlite3db.getDbName(), projectDatabasePath(other)));
        addProject(other);
        const auto onItsOwn = [](const QString &name, const QString &sql) { // a connection of the test's
            int n = -1;
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
                db.setDatabaseName(projectDatabasePath(name));
                QSqlQuery query(db);
                if (db.open() && query.exec(sql))
                    n = query.next() ? query.value(0).toInt() : 0;
            }
            QSqlDatabase::removeDatabase(name);
            return n;
        };
        QVERIFY(next != "Unknown" || onItsOwn(other, "delete from tbl_panel") == 0);
        for (const QString &name : {project, other})
            setProjectNode(name, QStringLiteral("network_type"), QString::number(NetStyleCloudServer));
        gl_net_style = NetStyleCloudServer;
        RawServer cloud;
        QVERIFY(cloud.listen(QHostAddress::LocalHost, BroadcastSocket::CloudPort) && getNetworkConfig());
        emit gl_socket.signalsNetworkOpen();
        QVERIFY(cloud.waitForNewConnection(left()));
        QSignalSpy information(&gl_socket, &BroadcastSocket::signalsInformation);
        ServedLink old(cloud.links.takeFirst(), alarms);
        const QString list = projectListPath();
        QEventLoop loop;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &loop, [&] {
            if (old.answered < alarms / 40)
                return;
            poll.stop();
            pickProject(other, [&] {
                if (next == "Fails") // a folder stands where the project list is written
                    QVERIFY(QFile::rename(list, list + ".away") && QDir().mkdir(list));
            });
            emit m_window->menuBar()->signalsProjectSetting(project);
            loop.quit();
        });
        poll.start(1);
        QTimer::singleShot(left(), &loop, &QEventLoop::quit); // only when something is amiss
        loop.exec();
        QVERIFY2(!poll.isActive(), "no answer came");
        QVERIFY(next != "Fails" || (QDir().rmdir(list) && QFile::rename(list + ".away", list)));
        QString current;
        QVERIFY(getCurrentProject(current) && current == (next == "Fails" ? project : other));
        QVERIFY(QTest::qWaitFor([&] { return bool(old.ended); }, left()));
        int answered = old.answered;
        if (next == "Fails") { // the project it stays on has a working link
            QVERIFY(cloud.waitForNewConnection(left()));
            ServedLink again(cloud.links.takeFirst(), 100);
            QVERIFY(QTest::qWaitFor([&] { return again.answered == 100; }, left()));
            answered += 100;
        }
        QVERIFY(QTest::qWaitFor([&] { return m_window->intake()->unstored() == 0; }, left()));
        const QString count = QStringLiteral("select count(*) from tbl_message_log where panel_id=1");
        gl_sqlite3db.close(); // both files are read on the test's own connections
        const int stored = onItsOwn(project, count), storedThere = onItsOwn(other, count);
        QVERIFY2(stored == answered && storedThere == 0,
                 qPrintable(QStringLiteral("answered %1, stored %2, in the next project %3; said: %4")
                                .arg(answered)
                                .arg(stored)
                                .arg(storedThere)
                                .arg(recordpages::infos(information).join('|'))));
        QVERIFY(next == "Fails" || switchProjectDatabase(project));
    }

    // The menu bar is black, the page area the dark page colour.
    void menuBarAndPageColours()
    {
        m_window->showNormal();
        m_window->resize(1920, 1080);
        emit gl_socket.signalsPageIdChanged(QStringLiteral("Home"), QStringLiteral("Home"), QString(),
                                            QString());
        QTest::qWait(50);
        const QImage image = m_window->grab().toImage();
        QCOMPARE(image.size(), QSize(1920, 1080));
        QCOMPARE(image.pixelColor(960, 29), QColor(Qt::black));
        QCOMPARE(image.pixelColor(1500, 700), QColor(0x26, 0x34, 0x40));
    }

    void exitClosesAndStopsTimers()
    {
        m_window->show();
        emit gl_socket.signalsClosed();
        QVERIFY(!m_window->isVisible());
        QVERIFY(!m_window->messageTimer().isActive());
        QVERIFY(!m_window->loginTimer().isActive());
    }

    // Exit by its icon takes what has already arrived: the light's answer to its poll is in the
    // link's socket, not yet read, when the press is handled. It is taken while its card shows, and
    // the exit's storing, as the program runs it, keeps its level and its event.
    void exitTakesWhatHasArrived()
    {
        using namespace roomproject;
        QVERIFY(addRegion(90, "East") && addFloor(90, 1, "Top") && addRoom(90, "Attic", 90, 1));
        Light light;
        light.room = 90;
        light.lightId = 90;
        light.name = QStringLiteral("Ceiling");
        light.brightness = 40;
        QVERIFY(addLight(light));
        SimBus devices;
        QVERIFY2(devices.listenUdp(QHostAddress(QStringLiteral("127.0.0.2")), 6000),
                 qPrintable(devices.errorString()));
        SimDevice *lamp = devices.add<SimLight>(quint8(1), quint8(20), 4);
        lamp->setDefaultAnswer(SimAnswer::silent()); // the answer is the row's to give
        gl_net_style = NetStyleDnsServer;
        gl_domain_name = QStringLiteral("127.0.0.2");
        gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
        gl_socket.setKeepAliveInterval(3600 * 1000);
        QVERIFY(gl_socket.createSocket());
        m_window->show();
        emit gl_socket.signalsPageIdChanged("Operate Room", "Operate Room", "90", "1");
        QVERIFY(devices.waitForFrames(1, 10000)); // the card's poll
        auto *link = gl_socket.findChild<QUdpSocket *>();
        QVERIFY(link);
        devices.sendRaw(lamp->frame(SimLight::Levels, 1, 254, QByteArray::fromHex("0400000000")));
        const QDeadlineTimer arrival(5000);
        while (!link->hasPendingDatagrams() && !arrival.hasExpired())
            QThread::yieldCurrentThread();
        QVERIFY(link->hasPendingDatagrams());
        auto *exit = m_window->menuBar()->findChild<QAbstractButton *>("pushButtonExit");
        QVERIFY(exit && exit->isVisible());
        QTest::mouseClick(exit, Qt::LeftButton);
        QVERIFY(!m_window->isVisible());
        gl_socket.closeSocket();
        ExitBound bound;
        QVERIFY(storeDeviceWritesBeforeExit(bound)); // nothing lost
        QCOMPARE(value("select brightness from tbl_light where light_id=90").toInt(), 0);
        QCOMPARE(rows("select log_device||': '||log_event from tbl_log where log_device='light_Ceiling'"),
                 QStringList({"light_Ceiling: status is off"}));
    }
};

VARNO_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
