// The transfer dialogs against stubs: the cloud transfer server (127.0.0.1:6001),
// receiving installations (HTTP listeners on loopback) and the announcements of
// waiting installations (datagrams to the bus port). The bus runs in the "DNS
// Server" style towards the simulated bus on 127.0.0.2:6000, which records the
// download dialog's announcements.

#include "testmain.h"

#include "handmadezip.h"
#include "httpstub.h"
#include "projectfixture.h"
#include "simbus.h"
#include "smalltmp.h"
#include "transferannouncer.h"
#include "screenshot.h"
#include "timerticks.h"
#include "transferfixture.h"
#include "withoutdacoverride.h"

#include "bus/broadcastsocket.h"
#include "settings/httpclient.h"
#include "settings/httpserver.h"
#include "settings/projectdownloaddlg.h"
#include "settings/projectuploaddlg.h"
#include "settings/transfersettings.h"
#include "store/backgroundwork.h"
#include "store/cppsqlite3db.h"
#include "store/databasecopy.h"
#include "store/databaseinit.h"
#include "store/steppeddatabasecopy.h"
#include "store/settings.h"

#include <QMutex>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

#include <memory>
#include <optional>
#include <utility>
#include <sys/mount.h>

using namespace transfertest;

#if defined(__SANITIZE_ADDRESS__)
// Freed memory waits in a small quarantine only, so the resident memory a
// download row measures is what the program holds, not what the checker keeps.
extern "C" const char *__asan_default_options()
{
    return "quarantine_size_mb=16";
}
#endif

namespace {

const QHostAddress Loopback(QStringLiteral("127.0.0.1"));
const QHostAddress BusPeer(QStringLiteral("127.0.0.2"));

template <typename T> T *child(QWidget *dialog, const char *name)
{
    return dialog->findChild<T *>(QLatin1String(name));
}

void click(QWidget *dialog, const char *button)
{
    QtMaterialFlatButton *b = child<QtMaterialFlatButton>(dialog, button);
    QVERIFY2(b, button);
    b->click();
}

QStringList messages(const QSignalSpy &spy)
{
    QStringList texts;
    for (const QList<QVariant> &args : spy)
        texts.append(args.at(0).toString());
    return texts;
}

// An archive of a project "Yard" with a picture of `megabytes` MiB, stored as it is.
bool makeLargeArchive(const QString &zipPath, int megabytes)
{
    const QByteArray db = dbBytes("Yard", "cloud"), photo(megabytes << 20, 'p');
    return writeFile(zipPath, varnotest::handMadeZip({{"Yard/Yard.db3", 0, -1, true, true, db},
                                                      {"Yard/photo.png", 0, -1, true, true, photo}}));
}

// Two projects, the second without its database: no project whole.
QByteArray withoutDatabase()
{
    return varnotest::handMadeZip({{"Yard/Yard.db3", 0, -1, true, true, dbBytes("Yard")},
                                   {"Office/photo.png", 0, -1, true, true, "png"}});
}

// For a row "Yard's database ...", Yard with that database, as an archive. The cut one is the
// first half, in whole pages, of the one of many pages: its header is intact.
std::optional<QByteArray> yardWithDatabase(const QString &tag)
{
    if (!tag.startsWith("Yard's database"))
        return std::nullopt;
    const QByteArray whole = sqliteBytes(QByteArray(30000, 'r'));
    const int page = qMax(1, whole.mid(16, 2).toHex().toInt(nullptr, 16));
    QByteArray damaged = whole; // a middle page's link cut: SQLite opens it, quick_check objects
    damaged.replace(whole.size() / page / 2 * page, 4, "\xff\xff\xff\xff");
    const QByteArray db = tag.endsWith("many pages") ? whole : tag.endsWith("in the middle") ? damaged
                          : tag.endsWith("boundary") ? whole.left(whole.size() / 2 / page * page) : "";
    return varnotest::handMadeZip({{"Yard/Yard.db3", 0, -1, true, true, db},
                                   {"Yard/plan.png", 0, -1, true, true, "png"}});
}

// Run from a worker: has the window's thread run work, and waits for it. False when the
// window did not get to it within 5 s: it is held.
bool onWindow(const std::function<void()> &work)
{
    const auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        qApp, [work, done] { work(), done->release(); }, Qt::QueuedConnection);
    return done->tryAcquire(1, 5000);
}

// Holds the import's worker as it puts its at-th project in place, until resume is
// released; reached gets every project that came to its copy, in order.
struct ImportGate
{
    explicit ImportGate(int at)
    {
        ProjectDownloadDlg::setImportHookForTest([this, at](const QString &name) {
            QMutexLocker locker(&lock);
            reached << name;
            if (reached.size() == at)
                locker.unlock(), held.release(), resume.acquire();
        });
    }
    ~ImportGate()
    {
        resume.release(2), BackgroundWork::pool().waitForDone(10000);
        ProjectDownloadDlg::setImportHookForTest(nullptr);
    }
    QMutex lock;
    QStringList reached;
    QSemaphore held, resume;
};

// Shows dialog and presses its download button with code.
void startDownload(QWidget *dialog, const char *button, const QString &code)
{
    dialog->show();
    child<QtMaterialLineEdit>(dialog, "lineEditCode")->setText(code);
    click(dialog, button);
}

} // namespace

class TestProjectTransfer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void cloudUpload_data();
    void cloudUpload();
    void packing_data();
    void packing();
    void cloudDownload_data();
    void cloudDownload();
    void codeEntry_data();
    void codeEntry();
    void announcement();
    void sender();
    void receiver_data();
    void receiver();
    void closingAbandonsTheWait();
    void closingAbortsTheRequest();
    void packingLeavesTheWindowFree_data();
    void packingLeavesTheWindowFree();
    void importLeavesTheWindowFree_data();
    void importLeavesTheWindowFree();
    void givenUpImport_data();
    void givenUpImport();
    void secondSenderDuringImport();

private:
    QList<SimFrame> announcements();

    SimBus m_bus;
    std::unique_ptr<varnotest::ProjectFolder> m_folder;
    HttpStub m_cloud;
};

void TestProjectTransfer::initTestCase()
{
    QVERIFY2(m_bus.listenUdp(BusPeer, 6000), qPrintable(m_bus.errorString()));
    QVERIFY(m_cloud.listen(Loopback, 6001));
    gl_net_style = NetStyleDnsServer;
    gl_domain_name = BusPeer.toString();
    gl_ip_port_mac = QStringLiteral("00-11-22-33-44-55-66-77");
    gl_host_ip = Loopback.toString();
    gl_socket.setId(1, 254);
    gl_socket.setKeepAliveInterval(3600 * 1000);
    QVERIFY(gl_socket.createSocket());
}

void TestProjectTransfer::cleanupTestCase()
{
    gl_socket.closeSocket();
}

void TestProjectTransfer::init()
{
    m_folder = std::make_unique<varnotest::ProjectFolder>();
    QVERIFY(m_folder->isValid());
    QVERIFY(addListedProject(QStringLiteral("Office")));
    setConfig(QLatin1String(TransferServerGroup), QLatin1String(TransferServerKey), Loopback.toString());
    setConfig(QStringLiteral("project"), QStringLiteral("upload_code"), QString());
    setConfig(QStringLiteral("project"), QStringLiteral("upload_time"), QString());
    m_bus.clear();
}

void TestProjectTransfer::cleanup()
{
    m_folder.reset();
    m_cloud.listen(Loopback, 6001); // forgets what was recorded
}

QList<SimFrame> TestProjectTransfer::announcements()
{
    SimBus::pump(20);
    return m_bus.framesWithCode(0x2025);
}

void TestProjectTransfer::cloudUpload_data()
{
    QTest::addColumn<QString>("project"); // sent with "Home"; "Gone" alone, it has no folder
    QTest::addColumn<QString>("address"); // "peer": sent to another installation, here the cloud stub
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("code");    // stored and shown; "-" for none
    QTest::addColumn<QString>("message"); // the last one shown; "" for none

    const QString office = QStringLiteral("Office");
    const QString loopback = Loopback.toString();
    QTest::newRow("accepted") << office << loopback << 200
                              << QByteArray(R"({"code":0,"data":{"token":"T123"}})") << "T123"
                              << "success.";
    QTest::newRow("code as text counts as 0")
        << office << loopback << 200 << QByteArray(R"({"code":"ok","data":{"token":"T9"}})") << "T9"
        << "success.";
    QTest::newRow("numeric token stores an empty code")
        << office << loopback << 200 << QByteArray(R"({"code":0,"data":{"token":42}})") << ""
        << "success.";
    QTest::newRow("non-zero code") << office << loopback << 200
                                   << QByteArray(R"({"code":3,"data":{"token":"X"}})") << "-"
                                   << "";
    QTest::newRow("no data") << office << loopback << 200 << QByteArray(R"({"code":0})") << "-"
                             << "";
    QTest::newRow("not JSON") << office << loopback << 200 << QByteArray("<html>busy</html>") << "-"
                              << "";
    QTest::newRow("HTTP error") << office << loopback << 500 << QByteArray("{}") << "-"
                                << "server replied: Internal Server Error";
    QTest::newRow("archive cannot be made") << "Gone" << loopback << 200 << QByteArray("{}") << "-"
                                            << "Failed to create the project archive!";
    QTest::newRow("server address unset") << office << "" << 200 << QByteArray("{}") << "-"
                                          << "Host  not found";
    // "N KiB free": /tmp keeps N KiB free while the archive is made, and Office gets a photo
    // of 256 KiB that does not compress: the failure is said and nothing is sent, or all is.
    for (const QString &to : {loopback, QStringLiteral("peer")})
        for (int kib : {160, 320, 560, 2048})
            QTest::addRow("%s, %d KiB free", to == loopback ? "cloud" : "peer", kib)
                << office << to << 200 << QByteArray(R"({"code":0,"data":{"token":"T7"}})")
                << (kib < 2048 || to != loopback ? "-" : "T7")
                << (kib < 2048 ? "Failed to create the project archive!" : "success.");
}

void TestProjectTransfer::cloudUpload()
{
    QFETCH(QString, project);
    QFETCH(QString, address);
    QFETCH(int, status);
    QFETCH(QByteArray, answer);
    QFETCH(QString, code);
    QFETCH(QString, message);
    const QString tag = QTest::currentDataTag();
    const qint64 leftFree = tag.endsWith("KiB free") ? tag.section(' ', 1, 1).toLongLong() << 10 : 0;
    m_cloud.answerWith(status, answer);
    const bool direct = address == QLatin1String("peer");
    if (leftFree > 0) {
        if (!varnotest::smallTmpMissing().isEmpty())
            QSKIP(qPrintable(varnotest::smallTmpMissing()));
        QByteArray photo(256 << 10, Qt::Uninitialized);
        QRandomGenerator(48).fillRange(reinterpret_cast<quint32 *>(photo.data()), photo.size() / 4);
        QVERIFY(writeFile(databaseFolder() + "/Office/photo_3dView_1.png", photo));
    }
    setConfig(QLatin1String(TransferServerGroup), QLatin1String(TransferServerKey), address);
    const QStringList before = projectState();

    ProjectUploadDlg dialog;
    dialog.projectNames =
        project == QLatin1String("Gone") ? QStringList{project} : QStringList{"Home", project};
    dialog.initDlgCtrl();
    dialog.show();
    QSignalSpy info(&dialog, &MyDialog::signalsInformation);
    {
        std::optional<varnotest::TmpFiller> filler;
        QVERIFY(!leftFree || filler.emplace(leftFree).ok());
        if (direct) {
            click(&dialog, "pushButtonSendToOtherDevice");
            child<QtMaterialLabel>(&dialog, "labelCode")->setText(QStringLiteral("0007"));
            TransferAnnouncer announcer(BusPeer);
            QVERIFY(announcer.send(TransferAnnouncer::frame(7, Loopback.toString(), 6001), Loopback));
            QTRY_VERIFY(!info.isEmpty());
        } else {
            click(&dialog, "pushButtonSendToServer");
        }
        QTRY_VERIFY(!dialog.isBusy()); // packed on a worker, then sent
    }
    QCOMPARE(messages(info).size(), message.isEmpty() ? 0 : 1);
    QVERIFY2(message.isEmpty() || messages(info).first().endsWith(message),
             qPrintable(messages(info).value(0)));

    const bool sent = project == QLatin1String("Office") && !address.isEmpty() &&
                      message != QLatin1String("Failed to create the project archive!");
    QCOMPARE(m_cloud.requests().size(), sent ? 1 : 0);
    if (sent) {
        const HttpStub::Request &request = m_cloud.requests().first();
        QCOMPARE(request.method + ' ' + request.path, QByteArray(direct ? "POST /" : "POST /v1/dbUpload"));
        QCOMPARE(request.header("Content-Type"), QByteArray("application/zip"));
        QCOMPARE(request.header("deviceType"), QByteArray("0"));
        const QStringList listed = unzipList(request.body);
        QCOMPARE(topFolders(listed), (QStringList{"Home", "Office"}));
        for (const char *entry : {"Home/Home.db3", "Office/Office.db3", "Office/photo_3dView_1.png"})
            QVERIFY2(listed.contains(QLatin1String(entry)), qPrintable(listed.join(' ')));
    }
    QString stored;
    QString time;
    getConfig(QStringLiteral("project"), QStringLiteral("upload_code"), stored);
    getConfig(QStringLiteral("project"), QStringLiteral("upload_time"), time);
    const QString shown = child<QtMaterialLabel>(&dialog, "labelCodeTitle")->text();
    if (code == QLatin1String("-")) {
        QVERIFY(stored.isEmpty() && time.isEmpty());
        QCOMPARE(shown, QStringLiteral("Code:"));
    } else {
        QCOMPARE(stored, code);
        QVERIFY(QDateTime::fromString(time, QStringLiteral("yyyy-MM-dd hh:mm:ss")).isValid());
        QCOMPARE(shown + ' ' + child<QtMaterialLabel>(&dialog, "labelTime")->text(),
                 QStringLiteral("Code:") + code + ' ' + time);
    }
    // No archive is left behind, and the dialog takes the next upload.
    QCOMPARE(projectState(), before);
    setConfig(QLatin1String(TransferServerGroup), QLatin1String(TransferServerKey), Loopback.toString());
    dialog.projectNames = QStringList{QStringLiteral("Office")};
    click(&dialog, "pushButtonSendToServer");
    QTRY_COMPARE(m_cloud.requests().size(), sent ? 2 : 1);
    QCOMPARE(topFolders(unzipList(m_cloud.requests().last().body)), QStringList{"Office"});
}

void TestProjectTransfer::packing_data()
{
    QTest::addColumn<QString>("change"); // before the read-back; each is caught by one check alone
    QTest::newRow("nothing") << "";
    QTest::newRow("a chosen project without its folder") << "gone";
    QTest::newRow("an older archive that cannot be replaced") << "read-only"; // its listing would pass
    QTest::newRow("a file grown after its copy") << "grown";
    // Mode 000 on a path below the database folder; "sub" is made for the row.
    QTest::newRow("an unreadable project folder") << "unreadable Office";
    QTest::newRow("an unreadable folder in a project") << "unreadable Office/sub";
    QTest::newRow("an unreadable file in a project") << "unreadable Office/photo_3dView_1.png";
}

void TestProjectTransfer::packing()
{
    QFETCH(QString, change);
    const QStringList names{"Home", change == "gone" ? "Gone" : "Office"};
    QTemporaryDir dir;
    const QString zip = dir.filePath("p.zip");
    const QByteArray folder = QFile::encodeName(dir.path());
    auto unmount = qScopeGuard([&] { umount2(folder, MNT_DETACH); });
    if (change == "read-only") {
        if (!varnotest::smallTmpMissing().isEmpty())
            QSKIP(qPrintable(varnotest::smallTmpMissing()));
        QVERIFY(packProjects(names, zip) && mount(folder, folder, nullptr, MS_BIND, nullptr) == 0);
        QVERIFY(mount(nullptr, folder, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0);
    }
    setPackedHookForTest([&](const QString &) {
        QFile photo(databaseFolder() + "/Office/photo_3dView_1.png");
        QVERIFY(change != "grown" || (photo.open(QIODevice::Append) && photo.write("+") == 1));
    });
    auto unhook = qScopeGuard([] { setPackedHookForTest(nullptr); });
    const QString hidden = databaseFolder() + '/' + change.section(' ', 1);
    const bool unreadable = change.startsWith("unreadable ");
    QVERIFY(!hidden.endsWith("/sub") || writeFile(hidden + "/deep.txt", "deep"));
    QVERIFY(!unreadable || QFile::setPermissions(hidden, {}));
    auto readable = qScopeGuard([&] {
        if (unreadable)
            QFile::setPermissions(hidden, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    std::optional<varnotest::WithoutDacOverride> modesApply;
    if (unreadable)
        QVERIFY(modesApply.emplace().ok());
    QCOMPARE(packProjects(names, zip), change.isEmpty());
    modesApply.reset();
    QCOMPARE(QFileInfo::exists(zip), change.isEmpty() || change == "read-only");
}

void TestProjectTransfer::cloudDownload_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("archived"); // empty: the body is text
    QTest::addColumn<int>("megabytes"); // > 0: a project with a picture this large, served as it drains
    QTest::addColumn<qint64>("cap");    // the largest body taken; 0: 4 GiB
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("added");

    QTest::newRow("archive") << 200 << QStringList{"Office", "Yard"} << 0 << qint64(0) << "success."
                             << QStringList{"listed Office_1", "listed Yard",
                                            "entry Office_1 db=SQLite stand-in of "
                                            "Office cloud",
                                            "entry Yard db=SQLite stand-in of Yard cloud"};
    QTest::newRow("not found") << 404 << QStringList() << 0 << qint64(0) << "server replied: Not Found"
                               << QStringList();
    QTest::newRow("200 that is no archive")
        << 200 << QStringList() << 0 << qint64(0) << "Invalid project archive!" << QStringList();
    QTest::newRow("a project folder without its database")
        << 200 << QStringList() << 0 << qint64(0) << "Invalid project archive!" << QStringList();
    for (const char *db : {"Yard's database of zero bytes", "Yard's database cut at a page boundary"})
        QTest::newRow(db) << 200 << QStringList() << 0 << qint64(0) << "Invalid project archive!"
                          << QStringList();
    QTest::newRow("Yard's database of many pages") << 200 << QStringList() << 0 << qint64(0) << "success."
                                                   << QStringList{"listed Yard", "entry Yard db=real"};
    QTest::newRow("200 MB archive")
        << 200 << QStringList() << 200 << qint64(0) << "success."
        << QStringList{"listed Yard", "entry Yard db=SQLite stand-in of Yard cloud"};
    QTest::newRow("200 MB archive from a fast server, taken at 2 ms a piece")
        << 200 << QStringList() << 200 << qint64(0) << "success."
        << QStringList{"listed Yard", "entry Yard db=SQLite stand-in of Yard cloud"};
    // 200 MiB of zeros in 200 kB, compressed unasked: handed on as it comes.
    QTest::newRow("gzip answer, taken at 2 ms a piece")
        << 200 << QStringList() << 0 << qint64(0) << "Invalid project archive!" << QStringList();
    QTest::newRow("past the cap") << 200 << QStringList() << 2 << qint64(1 << 20)
                                  << "The project archive is too large!" << QStringList();
    QTest::newRow("Download Device pressed as the first piece arrives")
        << 200 << QStringList() << 8 << qint64(0) << "success."
        << QStringList{"listed Yard", "entry Yard db=SQLite stand-in of Yard cloud"};
    // A wait for a sender given up for one that cannot listen leaves the dialog idle.
    QTest::newRow("after a wait restarted where port 8080 is taken")
        << 200 << QStringList{"Yard"} << 0 << qint64(0) << "success."
        << QStringList{"listed Yard", "entry Yard db=SQLite stand-in of Yard cloud"};
}

void TestProjectTransfer::cloudDownload()
{
    QFETCH(int, status);
    QFETCH(QStringList, archived);
    QFETCH(int, megabytes);
    QFETCH(qint64, cap);
    QFETCH(QString, message);
    QFETCH(QStringList, added);
    QTemporaryDir dir;
    QByteArray body("not an archive");
    const QByteArray tag(QTest::currentDataTag());
    if (!archived.isEmpty())
        body = readFile(makeArchive(dir.filePath("a.zip"), archived, "cloud"));
    if (tag.endsWith("without its database"))
        body = withoutDatabase();
    if (const std::optional<QByteArray> yard = yardWithDatabase(tag))
        body = *yard;
    m_cloud.answerWith(status, body, "application/zip");
    const bool paced = tag.endsWith("2 ms a piece");
    if (megabytes > 0) {
        QVERIFY(makeLargeArchive(dir.filePath("a.zip"), megabytes));
        m_cloud.answerWithFile(dir.filePath("a.zip"), paced);
    } else if (paced) { // 1 + 258 k zeros as gzip, without its trailer
        body = QByteArray("\x1f\x8b\x08\0\0\0\0\0\0\x03", 10) + varnotest::deflatedZeros((200 << 20) / 258);
        m_cloud.answerWith(status, body, "application/zip\r\nContent-Encoding: gzip"); // a second header
    }
    QStringList expected = projectState();

    ProjectDownloadDlg dialog;
    if (cap > 0)
        dialog.client().setMaxBodyForTest(cap);
    dialog.show();
    QSignalSpy info(&dialog, &MyDialog::signalsInformation);
    child<QtMaterialLineEdit>(&dialog, "lineEditCode")->setText(QStringLiteral("0042"));
    if (tag.startsWith("after a wait restarted")) {
        click(&dialog, "pushButtonDownloadDevice");
        const QString waiting = dialog.archivePath();
        QTcpServer squatter; // the own address has changed, and its port 8080 is taken
        QVERIFY(squatter.listen(QHostAddress(QStringLiteral("127.0.0.3")), 8080));
        gl_host_ip = QStringLiteral("127.0.0.3");
        click(&dialog, "pushButtonDownloadDevice");
        gl_host_ip = Loopback.toString();
        QCOMPARE(messages(info), QStringList{"Failed to start server(127.0.0.3:8080)!"});
        info.clear();
        QVERIFY(!dialog.downloading && !dialog.server() && !QFileInfo::exists(waiting));
    }
    // The peak resident memory over the whole download, the import included.
    const varnotest::ResidentGrowth memory;
    QString partial;
    QTimer::singleShot(0, &dialog, [&] { partial = dialog.archivePath(); }); // while the request waits
    bool press = tag.startsWith("Download Device");
    connect(&dialog.client(), &HttpClient::signalsDownloadData, &dialog, [&] {
        if (std::exchange(press, false)) // refused: the cloud archive goes on whole
            click(&dialog, "pushButtonDownloadDevice");
        if (paced)
            QThread::usleep(2000); // a slow receiver
    });
    click(&dialog, "pushButtonDownloadServer");
    // The import is over; a row that waits in vain fails after a minute, not three.
    QVERIFY2(QTest::qWaitFor([&] { return info.size() == (megabytes == 8 ? 2 : 1); }, 60000),
             qPrintable(messages(info).join(QLatin1Char('|'))));
    QVERIFY2(memory.kib() < (paced ? 32 : 50) << 10, qPrintable(QString::number(memory.kib() >> 10)));
    QVERIFY(!partial.isEmpty() && !QFileInfo::exists(QFileInfo(partial).absolutePath()));

    QCOMPARE(m_cloud.requests().size(), 1);
    QCOMPARE(m_cloud.requests().first().path, QByteArray("/v1/dbDownload"));
    QCOMPARE(m_cloud.requests().first().header("Content-Type"), QByteArray("application/json"));
    QCOMPARE(m_cloud.requests().first().body, QByteArray("{\n    \"token\": \"0042\"\n}\n"));
    if (megabytes == 8)
        QCOMPARE(info.takeFirst().at(0).toString(), QStringLiteral("Downloading...,please wait a moment"));
    QCOMPARE(messages(info).size(), 1);
    QVERIFY2(messages(info).first().endsWith(message), qPrintable(messages(info).first()));
    QCOMPARE(dialog.downloaded, !added.isEmpty());
    QVERIFY(!dialog.downloading);
    // Nothing else changes and nothing is left over.
    expected += added;
    expected.sort();
    QCOMPARE(projectState(), expected);
    QFile photo(databaseFolder() + QStringLiteral("/Yard/photo.png")); // a large picture arrives whole
    const qint64 whole = qint64(added.isEmpty() ? 0 : megabytes) << 20;
    QCOMPARE(photo.open(QIODevice::ReadOnly) ? photo.size() : 0, whole);
    while (!photo.atEnd())
        QVERIFY(photo.read(1 << 20) == QByteArray(1 << 20, 'p'));
    if (megabytes > 0 && !memory.measured())
        QSKIP("the kernel refuses to reset the peak resident memory: its growth is not measured");
}

void TestProjectTransfer::codeEntry_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");

    const QString invalid = QStringLiteral("Invalid code,please input new value!");
    for (const char *button : {"pushButtonDownloadServer", "pushButtonDownloadDevice"}) {
        QTest::addRow("%s empty", button) << "" << button << "Please input the complete content!";
        QTest::addRow("%s 12a", button) << "12a" << button << invalid;
        QTest::addRow("%s Arabic-Indic digits", button)
            << QString::fromUtf8("\u0660\u0660\u0664\u0662") << button << invalid;
        QTest::addRow("%s sign", button) << "-12" << button << invalid;
    }
    QTest::newRow("device 10000") << "10000"
                                  << "pushButtonDownloadDevice" << invalid;
}

void TestProjectTransfer::codeEntry()
{
    QFETCH(QString, code);
    QFETCH(QString, button);
    QFETCH(QString, message);
    ProjectDownloadDlg dialog;
    dialog.show();
    QSignalSpy info(&dialog, &MyDialog::signalsInformation);
    child<QtMaterialLineEdit>(&dialog, "lineEditCode")->setText(code);
    click(&dialog, qPrintable(button));
    QCOMPARE(messages(info), QStringList{message});
    QVERIFY(!dialog.downloading && !dialog.server());
    QCOMPARE(m_cloud.requests().size(), 0);
    QVERIFY(announcements().isEmpty());
}

void TestProjectTransfer::announcement()
{
    ProjectDownloadDlg dialog;
    // The ticks of the timer the dialog holds as a member.
    TimerTicks ticks([&dialog](const QTimer *timer) {
        const char *at = reinterpret_cast<const char *>(timer);
        const char *begin = reinterpret_cast<const char *>(&dialog);
        return at >= begin && at < begin + sizeof(dialog);
    });
    dialog.show();
    QSignalSpy info(&dialog, &MyDialog::signalsInformation);
    child<QtMaterialLineEdit>(&dialog, "lineEditCode")->setText(QStringLiteral("0042"));
    click(&dialog, "pushButtonDownloadDevice");
    // Changed before any tick can run: only an announcement made by the click
    // itself still carries 42.
    child<QtMaterialLineEdit>(&dialog, "lineEditCode")->setText(QStringLiteral("7"));
    QTRY_VERIFY(!m_bus.framesWithCode(0x2025).isEmpty());
    const SimFrame first = m_bus.framesWithCode(0x2025).first();
    QCOMPARE(first.raw.size(), 36);
    QVERIFY(first.valid);
    QCOMPARE(first.targetSubnet, quint8(255));
    QCOMPARE(first.targetDevice, quint8(255));
    QCOMPARE(first.payload.toHex(' '), QByteArray("38 00 2a 7f 00 00 01 1f 90"));
    QVERIFY(dialog.server() && dialog.server()->isListening());
    QCOMPARE(dialog.server()->serverPort(), quint16(8080));

    // The entry is read again at every tick of a one-second timer that goes on:
    // every announcement after the click's came from a tick before it.
    QTRY_VERIFY(m_bus.framesWithCode(0x2025).size() >= 2);
    QVERIFY(m_bus.framesWithCode(0x2025).size() <= 1 + ticks.intervals().size());
    QCOMPARE(ticks.intervals().first(), 1000);
    QVERIFY(ticks.timer() && ticks.timer()->isActive());
    QCOMPARE(m_bus.framesWithCode(0x2025).at(1).payload.toHex(' '),
             QByteArray("38 00 07 7f 00 00 01 1f 90"));
    QVERIFY(messages(info).isEmpty());
    QVERIFY(saveShot(dialog, QStringLiteral("download-waiting"), QColor(0x1F, 0x29, 0x33)));
    dialog.close();

    // With port 8080 taken nothing is announced.
    QTcpServer squatter;
    QVERIFY(squatter.listen(Loopback, 8080));
    m_bus.clear();
    ProjectDownloadDlg second;
    second.show();
    QSignalSpy secondInfo(&second, &MyDialog::signalsInformation);
    child<QtMaterialLineEdit>(&second, "lineEditCode")->setText(QStringLiteral("0042"));
    click(&second, "pushButtonDownloadDevice");
    QCOMPARE(messages(secondInfo), QStringList{"Failed to start server(127.0.0.1:8080)!"});
    QVERIFY(!second.downloading);
    QVERIFY(announcements().isEmpty());
}

void TestProjectTransfer::sender()
{
    HttpStub receiver;
    HttpStub other;
    for (HttpStub *stub : {&receiver, &other}) {
        QVERIFY(stub->listen(Loopback, 0));
        stub->answerRaw(HttpServer::answer());
    }
    qint64 now = 1000000;
    ProjectUploadDlg dialog;
    dialog.setClockForTest([&now] { return now; });
    dialog.projectNames = QStringList{QStringLiteral("Office"), QStringLiteral("Home")};
    dialog.show();
    QSignalSpy info(&dialog, &MyDialog::signalsInformation);
    click(&dialog, "pushButtonSendToOtherDevice");
    QtMaterialLabel *code = child<QtMaterialLabel>(&dialog, "labelCode");
    QVERIFY(code->isVisible());
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}$")).match(code->text()).hasMatch());
    QVERIFY(!child<QtMaterialFlatButton>(&dialog, "pushButtonSendToServer")->isVisible());
    QVERIFY(saveShot(dialog, QStringLiteral("upload-waiting"), QColor(0x1F, 0x29, 0x33)));
    code->setText(QStringLiteral("0007"));

    TransferAnnouncer announcer(BusPeer);
    auto announce = [&](const QByteArray &frame) { QVERIFY(announcer.send(frame, Loopback)); };
    const QString ip = Loopback.toString();
    QByteArray badCrc = TransferAnnouncer::frame(7, ip, other.port());
    badCrc[badCrc.size() - 1] = char(badCrc.at(badCrc.size() - 1) ^ 0x5A);
    announce(TransferAnnouncer::frame(8, ip, other.port()));
    announce(TransferAnnouncer::frame(7, ip, other.port(), 0x2024));
    announce(badCrc);
    announce(TransferAnnouncer::frame(7, ip, receiver.port()));
    QVERIFY(receiver.waitForRequests(1));
    QTRY_COMPARE(messages(info), QStringList{"success."});

    const HttpStub::Request &request = receiver.requests().first();
    QCOMPARE(request.method, QByteArray("POST"));
    QCOMPARE(request.path, QByteArray("/"));
    QCOMPARE(request.header("deviceType"), QByteArray("0"));
    QCOMPARE(topFolders(unzipList(request.body)), (QStringList{"Home", "Office"}));

    // The same receiver within 10 s is ignored; another port is another receiver.
    now += 9;
    announce(TransferAnnouncer::frame(7, ip, receiver.port()));
    announce(TransferAnnouncer::frame(7, ip, other.port()));
    QVERIFY(other.waitForRequests(1));
    now += 1;
    announce(TransferAnnouncer::frame(7, ip, receiver.port()));
    QVERIFY(receiver.waitForRequests(2));
    QTest::qWait(100);
    QCOMPARE(receiver.requests().size(), 2);
    QCOMPARE(other.requests().size(), 1);
    QTRY_COMPARE(messages(info).size(), 3);
}

void TestProjectTransfer::receiver_data()
{
    QTest::addColumn<QStringList>("existing"); // listed projects; "file X": a plain file X in the way
    // "projects:A,B", "dotdot", "link", "nolength", "database", or a kind of unpackLimitArchive()
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("added");

    QTest::newRow("Home when Home and Home_1 exist")
        << QStringList{"Home_1"} << "projects:Home"
        << "success." << QStringList{"listed Home_2", "entry Home_2 db=SQLite stand-in of Home sent"};
    QTest::newRow("Office and Office_1 when Office exists")
        << QStringList() << "projects:Office,Office_1"
        << "success."
        << QStringList{"listed Office_1", "listed Office_1_1",
                       "entry Office_1 db=SQLite stand-in of Office sent",
                       "entry Office_1_1 db=SQLite stand-in of Office_1 sent"};
    QTest::newRow("Home when a file Home_1 is in the way") // the sender hears it too
        << QStringList{"file Home_1"} << "projects:Home" << "Failed to copy project Home_1!"
        << QStringList();
    QTest::newRow("Home whose database cannot take the name Home_1") // a folder Home_1.db3 in the way
        << QStringList() << "renamed" << "Failed to copy project Home_1!" << QStringList();
    QTest::newRow("Home when a link Home_1 to a folder elsewhere is in the way") // not copied through
        << QStringList{"link Home_1"} << "projects:Home" << "Failed to copy project Home_1!"
        << QStringList();
    QTest::newRow("../ entry") << QStringList() << "dotdot"
                               << "Invalid project archive!" << QStringList();
    QTest::newRow("link entry") << QStringList() << "link"
                                << "Invalid project archive!" << QStringList();
    QTest::newRow("a project folder without its database")
        << QStringList() << "nodb" << "Invalid project archive!" << QStringList();
    for (const char *db : {"Yard's database of zero bytes", "Yard's database cut at a page boundary"})
        QTest::newRow(db) << QStringList() << "database" << "Invalid project archive!" << QStringList();
    QTest::newRow("Yard's database of many pages") << QStringList() << "database" << "success."
                                                   << QStringList{"listed Yard", "entry Yard db=real"};
    QTest::newRow("Yard's database with a page damaged in the middle")
        << QStringList() << "database" << "Invalid project archive!" << QStringList();
    QTest::newRow("no Content-Length, then a sender")
        << QStringList() << "nolength"
        << "success." << QStringList{"listed Yard", "entry Yard db=SQLite stand-in of Yard local"};
    // Read by the central directory: what it does not name is never imported.
    QTest::newRow("100,000 unlisted entries") << QStringList() << "100,000 unlisted entries" << "success."
        << QStringList{"listed Yard", "entry Yard db=SQLite stand-in of Yard local"};
    QTest::newRow("Evil hidden in Yard") << QStringList() << "Evil hidden in Yard" << "success."
                                         << QStringList{"listed Yard", "entry Yard db=real"};
    for (const char *bomb : {"5 GiB of zeros", "1 GiB stated as 1 MiB", "10,001 entries",
                             "100,000 entries stated as 1", "1,000,000 listed entries",
                             "12,000 hidden entries", "9,999 hidden entries, both headers stating 1",
                             "200 bytes stated, 1 stored"})
        QTest::newRow(bomb) << QStringList() << bomb << "Invalid project archive!" << QStringList();
}

void TestProjectTransfer::receiver()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, archive);
    QFETCH(QString, message);
    QFETCH(QStringList, added);
    const QString elsewhere = gl_curPath + "/elsewhere";
    for (const QString &name : existing)
        QVERIFY(name.startsWith("file ")   ? writeFile(databaseFolder() + '/' + name.mid(5), "in the way")
                : name.startsWith("link ") ? writeFile(elsewhere + "/precious.txt", "kept") &&
                                                 QFile::link(elsewhere, databaseFolder() + '/' + name.mid(5))
                                           : addListedProject(name));
    QStringList expected = projectState();
    expected += added;
    expected.sort();
    QString current;
    getCurrentProject(current);

    QTemporaryDir dir;
    QString zipPath = dir.filePath(QStringLiteral("sent.zip"));
    const QString escape = QStringLiteral("escape-%1.db3").arg(QCoreApplication::applicationPid());
    if (archive.startsWith(QLatin1String("projects:"))) {
        QVERIFY(!makeArchive(zipPath, archive.mid(9).split(','), "sent").isEmpty());
    } else if (archive == QLatin1String("dotdot")) {
        // Unpacked as named, these land in the transfer folder and beside it; copied
        // as named, in the database folder and beside it.
        const QByteArray name = escape.toUtf8();
        QVERIFY(writeFile(zipPath, varnotest::handMadeZip({{"Yard/Yard.db3"}, {"Yard/../../" + name},
                                                           {"Yard/../../../" + name}})));
    } else if (archive == QLatin1String("renamed")) {
        QVERIFY(writeFile(zipPath, varnotest::handMadeZip({{"Home/Home.db3", 0, -1, true, true,
                                                            dbBytes("Home")},
                                                           {"Home/Home_1.db3/in-the-way"}})));
    } else if (archive == QLatin1String("nodb")) {
        QVERIFY(writeFile(zipPath, withoutDatabase()));
    } else if (archive == QLatin1String("database")) {
        QVERIFY(writeFile(zipPath, yardWithDatabase(QTest::currentDataTag()).value()));
    } else if (archive == QLatin1String("link") || archive == QLatin1String("nolength")) {
        QList<varnotest::HandZipEntry> entries{{"Yard/Yard.db3", 0, -1, true, true, dbBytes("Yard")}};
        if (archive == QLatin1String("link"))
            entries.append({"Yard/link", 0, -1, true, true, "/etc", -1, false, true});
        QVERIFY(writeFile(zipPath, varnotest::handMadeZip(entries)));
    } else {
        const QByteArray kind = archive.toUtf8(); // with a whole database, so only the kind can refuse it
        const QByteArray db = kind == "Evil hidden in Yard" ? sqliteBytes(varnotest::evilInYard())
                                                            : dbBytes("Yard");
        QVERIFY(writeFile(zipPath, varnotest::unpackLimitArchive(kind, db)));
    }

    ProjectDownloadDlg dialog;
    dialog.show();
    QSignalSpy info(&dialog, &MyDialog::signalsInformation);
    child<QtMaterialLineEdit>(&dialog, "lineEditCode")->setText(QStringLiteral("1234"));
    click(&dialog, "pushButtonDownloadDevice");
    QVERIFY(dialog.downloading);
    const QString partial = dialog.archivePath();
    QVERIFY(!partial.startsWith(databaseFolder()));
    const QString transferParent = QFileInfo(QFileInfo(partial).absolutePath()).absolutePath();

    // Whatever the archive states, no file grows past 64 MiB and memory stays put.
    const varnotest::ResidentGrowth memory;
    const varnotest::FileSizeBound bound(64 << 20);
    QByteArray answer;
    QString refusal;
    if (archive == QLatin1String("nolength")) {
        QTcpSocket raw;
        raw.connectToHost(Loopback, 8080);
        QVERIFY(raw.waitForConnected(3000));
        raw.write("POST / HTTP/1.1\r\nContent-Type: application/zip\r\n\r\n" + readFile(zipPath));
        // Closed unanswered, with not a word to the dialog: the wait goes on.
        QTRY_COMPARE(raw.state(), QAbstractSocket::UnconnectedState);
        QVERIFY(raw.readAll().isEmpty());
        QVERIFY(info.isEmpty() && dialog.downloading && dialog.server());
        QCOMPARE(QFileInfo(partial).size(), qint64(0));
    }
    {
        HttpClient client;
        connect(&client, &HttpClient::signalsReplyFinished, [&answer](QByteArray body) { answer = body; });
        connect(&client, &HttpClient::signalsReplyErrorString, [&refusal](QString e) { refusal = e; });
        client.upload(QStringLiteral("http://127.0.0.1:8080"), zipPath, 0);
    }
    QTRY_COMPARE(messages(info), QStringList{message});
    QVERIFY2(memory.kib() < varnotest::UnpackMemoryBoundKiB, qPrintable(QString::number(memory.kib())));
    // Answered once the import is over: received, or refused with its failure.
    const bool success = message == QLatin1String("success.");
    QCOMPARE(answer, success ? QByteArray("POST data received!") : QByteArray());
    QCOMPARE(refusal.endsWith(QLatin1String("server replied: Internal Server Error")), !success);
    QCOMPARE(dialog.downloaded, message == QLatin1String("success."));
    QVERIFY(!dialog.downloading && !dialog.server());
    QVERIFY(!QFileInfo::exists(QFileInfo(partial).absolutePath())); // the unpacked copy too
    QCOMPARE(projectState(), expected);
    QCOMPARE(QDir(elsewhere).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             existing.value(0).startsWith("link ") ? QStringList{"precious.txt"} : QStringList());
    QString after;
    getCurrentProject(after);
    QCOMPARE(after, current);
    const QString databaseParent = QFileInfo(databaseFolder()).absolutePath();
    for (const QString &folder : {transferParent, databaseFolder(), databaseParent})
        QVERIFY2(!QFile::exists(folder + QLatin1Char('/') + escape), qPrintable(folder));
    if (!memory.measured())
        QSKIP("the kernel refuses to reset the peak resident memory: its growth is not measured");
}

void TestProjectTransfer::closingAbandonsTheWait()
{
    const QStringList before = projectState();
    auto dialog = std::make_unique<ProjectDownloadDlg>();
    dialog->show();
    QSignalSpy info(dialog.get(), &MyDialog::signalsInformation);
    child<QtMaterialLineEdit>(dialog.get(), "lineEditCode")->setText(QStringLiteral("55"));
    click(dialog.get(), "pushButtonDownloadDevice");
    const QString partial = dialog->archivePath();
    QTcpSocket raw;
    raw.connectToHost(Loopback, 8080);
    QVERIFY(raw.waitForConnected(3000));
    raw.write("POST / HTTP/1.1\r\nContent-Length: 100\r\n\r\nPK\x03\x04");
    QTRY_VERIFY(QFileInfo(partial).size() == 4);

    // Closed during the transfer: the connection is cut without an answer, the
    // partial archive goes, and a late chunk runs nothing.
    dialog->close();
    QTRY_COMPARE(raw.state(), QAbstractSocket::UnconnectedState);
    QVERIFY(raw.readAll().isEmpty());
    QVERIFY(!QFile::exists(partial));
    QVERIFY(info.isEmpty());
    QCOMPARE(projectState(), before);
    dialog.reset();
    QTcpServer port;
    QVERIFY2(port.listen(Loopback, 8080), qPrintable(port.errorString())); // the port is free again
}

void TestProjectTransfer::closingAbortsTheRequest()
{
    m_cloud.close();
    QTcpServer silent; // takes the request and never answers
    QVERIFY(silent.listen(Loopback, 6001));
    const QStringList before = projectState();

    ProjectUploadDlg upload;
    upload.projectNames = QStringList{QStringLiteral("Office")};
    upload.show();
    QSignalSpy uploadInfo(&upload, &MyDialog::signalsInformation);
    // Closed once the request has reached the server, after the packing.
    connect(&silent, &QTcpServer::newConnection, &upload, &QWidget::close);
    click(&upload, "pushButtonSendToServer");
    QTRY_VERIFY(!upload.isVisible());
    QTRY_COMPARE(messages(uploadInfo).size(), 1);
    QVERIFY(!messages(uploadInfo).contains(QStringLiteral("success.")));

    QCOMPARE(projectState(), before);
    silent.close();
}

// The window's thread goes on while a worker packs: an alarm stored meanwhile (committed,
// or still being written) leaves the archived database whole. An exit stops the packing.
// With a large database, the window commits a row every 5 ms while it is copied, and one
// between every two of the copy's slices: each is committed before the copy ends, and the
// archive holds it, with what was committed before the press and one state after it; a close,
// another project opened or the packing given up during the copy ends it at once.
// Given up before its copies begin, no database is copied at all (the first is another
// project's, which the worker copies itself).
void TestProjectTransfer::packingLeavesTheWindowFree_data()
{
    QTest::addColumn<int>("archived"); // its alarm rows in the archived database; -1: no archive
    QTest::addColumn<QString>("during"); // what the window does during the large database's copy
    QTest::newRow("an alarm committed") << 1 << "";
    QTest::newRow("an alarm being written, rolled back") << 0 << "";
    QTest::newRow("an exit") << -1 << "";
    QTest::newRow("a large database, a commit every 5 ms") << 1 << "commits";
    QTest::newRow("a large database closed during its copy") << -1 << "close";
    QTest::newRow("another project opened during the copy") << -1 << "open";
    QTest::newRow("another project opened before the copy") << -1 << "open first";
    QTest::newRow("the packing given up during the copy") << -1 << "give up";
    QTest::newRow("the upload dialog closed during the copy") << -1 << "dialog";
    QTest::newRow("the packing given up before its copies") << -1 << "give up first";
}

void TestProjectTransfer::packingLeavesTheWindowFree()
{
    QFETCH(int, archived);
    QFETCH(QString, during);
    const QString live = projectDatabasePath(QStringLiteral("Home"));
    const auto ran = std::make_shared<QAtomicInt>(0);
    std::function<void()> stop;
    std::atomic<int> steps{0}; // of every database copy
    DatabaseCopy::setStepFaultForTest([&](int step, int result) { return steps = step, result; });
    setStagingHookForTest([=, &stop] {
        if (archived < 0 && during.isEmpty()) // stays until the exit has begun
            return ran->storeRelease(2),
                   ran->storeRelease(QTest::qWaitFor(&BackgroundWork::stopping) ? 1 : -1);
        ran->storeRelease(onWindow([=, &stop] {
            if (during == "open first")
                gl_sqlite3db.setDbName(projectDatabasePath(QStringLiteral("Office"))), gl_sqlite3db.open();
            if (during == "give up first")
                stop();
            if (!during.isEmpty())
                return;
            gl_sqlite3db.beginTransaction(); // the journal stands beside the live file meanwhile
            gl_sqlite3db.execBound("insert into tbl_log(log_type,log_event) values(?,?)", {1, "during"});
            if (archived > 0)
                gl_sqlite3db.commitTransaction();
            else // the copy waits for the transaction, here one that is given up
                QTimer::singleShot(100, [] { gl_sqlite3db.rollbackTransaction(); });
        }) ? 1 : -1);
    });
    auto unhook = qScopeGuard([] {
        setStagingHookForTest(nullptr), BackgroundWork::resetForTests();
        SteppedDatabaseCopy::setSliceHookForTest(nullptr), DatabaseCopy::setStepFaultForTest(nullptr);
    });
    int slices = 0, slicesAfter = -1;
    int between = 0; // rows committed between two slices of the copy
    QTimer ticker; // an alarm committed, a device state gathered: as a busy site stores them
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (gl_sqlite3db.getDbName() != live)
            return; // another project's database
        QVERIFY(gl_sqlite3db.execDML("insert into tbl_log(log_type,log_event) values(1,'tick')"));
        gl_sqlite3db.execBound("update tbl_log set log_type = 2 where log_event = ?", {"before"});
    });
    if (!during.isEmpty()) {
        QVERIFY(gl_sqlite3db.execDML("create table big(b blob)"));
        QVERIFY(gl_sqlite3db.execDML("with n(i) as (select 1 union all select i + 1 from n where i < 1280) "
                                     "insert into big select zeroblob(65536) from n")); // 80 MB
        QVERIFY(gl_sqlite3db.execDML("insert into tbl_log(log_type,log_event) values(1,'before')"));
        gl_sqlite3db.execBound("insert into tbl_log(log_type,log_event) values(?,?)", {1, "before"});
        ticker.start(5);
        SteppedDatabaseCopy::setSliceHookForTest([&] {
            if (during == "commits") // posted ahead of the next slice, which this one did not end
                QMetaObject::invokeMethod(&ticker, [&] {
                    between += gl_sqlite3db.execDML("insert into tbl_log(log_type,log_event) values(1,'between')");
                }, Qt::QueuedConnection);
            if (during == "commits" || (slicesAfter >= 0 && ++slicesAfter) || ++slices < 2)
                return;
            slicesAfter = 0; // the copy goes no further than this slice
            if (during == "close")
                gl_sqlite3db.close();
            if (during == "open")
                gl_sqlite3db.setDbName(projectDatabasePath(QStringLiteral("Office"))), gl_sqlite3db.open();
            if (during == "give up" || during == "dialog")
                stop();
        });
    }
    QTemporaryDir dir;
    const QString zip = dir.filePath("p.zip"), out = dir.filePath("out");
    const QStringList temporary = QDir::temp().entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    std::optional<bool> packed;
    ProjectUploadDlg dialog;
    if (during == "dialog") { // its answer is dropped: the end of the work is waited for
        dialog.projectNames = QStringList{"Home", "Office"};
        stop = [&] { dialog.done(0); };
        click(&dialog, "pushButtonSendToServer");
        QTRY_VERIFY_WITH_TIMEOUT(
            slicesAfter == 0 && !QThreadPool::globalInstance()->activeThreadCount(), 30000);
        QVERIFY(m_cloud.requests().isEmpty());
        packed = false;
    } else {
        const QStringList names = during == "give up first" ? QStringList{"Office", "Home"}
                                                            : QStringList{"Home", "Office"};
        stop = packProjectsInBackground(names, zip, this, [&](bool ok) { packed = ok; });
    }
    if (archived < 0 && during.isEmpty()) {
        QTRY_COMPARE(ran->loadAcquire(), 2); // the worker packs
        QVERIFY(BackgroundWork::finish(10000));
        QCoreApplication::sendPostedEvents(); // the answer the worker posted
    }
    QTRY_VERIFY_WITH_TIMEOUT(packed.has_value(), 30000);
    ticker.stop();
    QVERIFY(!gl_sqlite3db.inTransaction() || gl_sqlite3db.commitTransaction());
    QVERIFY2(ran->loadAcquire() == 1, "the window was held while the worker packed");
    QCOMPARE(*packed, archived >= 0);
    QCOMPARE(QFileInfo::exists(zip), archived >= 0);
    const bool sliced = !QStringList({"", "commits", "open first", "give up first"}).contains(during);
    QCOMPARE(slicesAfter, sliced ? 0 : -1);
    QVERIFY(during != "give up first" || steps == 0);
    QTRY_COMPARE(QDir::temp().entryList(QDir::NoDotAndDotDot | QDir::AllEntries), temporary);
    const auto count = [](const QString &db, const char *event) {
        return dbRows(db, QString("select count(*) from tbl_log where log_event = '%1'").arg(event)).value(0);
    };
    QCOMPARE(count(live, "during"), QString::number(archived > 0 && during.isEmpty() ? 1 : 0));
    if (archived >= 0) {
        QVERIFY(QDir().mkdir(out) && ZipArchive::extractDir(zip, out));
        QVERIFY(!QFile::exists(out + "/Home/Home.db3-journal"));
        QVERIFY(isIntactDatabase(out + "/Home/Home.db3"));
        QCOMPARE(count(out + "/Home/Home.db3", "during"), QString::number(during.isEmpty() ? archived : 0));
        QCOMPARE(count(out + "/Home/Home.db3", "between").toInt(), between);
        QVERIFY(during != "commits" || between > 0);
        // Each row committed before the press, and one state after it: the rows of the
        // ticks up to some moment, none missing among them.
        QCOMPARE(count(out + "/Home/Home.db3", "before"), during.isEmpty() ? "0" : "2");
        QCOMPARE(dbRows(out + "/Home/Home.db3", "select count(*) = coalesce(max(id) - min(id) + 1, 0) "
                                                "from tbl_log where log_event in ('tick', 'between')"),
                 QStringList{"1"});
    }
}

// The import runs on a worker: the window answers meanwhile, and a dialog closed
// during it leaves nothing behind.
void TestProjectTransfer::importLeavesTheWindowFree_data()
{
    QTest::addColumn<bool>("close");
    QTest::addColumn<bool>("relisted"); // its name listed meanwhile, as by a later import
    QTest::newRow("imported") << false << false;
    QTest::newRow("dialog closed during the import") << true << false;
    // The copy stops at its next file; what it began is not removed once the name is listed.
    QTest::newRow("closed, the name listed meanwhile: left alone") << true << true;
}

void TestProjectTransfer::importLeavesTheWindowFree()
{
    QFETCH(bool, close);
    QFETCH(bool, relisted);
    QTemporaryDir dir;
    const QByteArray archive = readFile(makeArchive(dir.filePath("a.zip"), {"Yard"}, "cloud"));
    m_cloud.answerWith(200, archive, "application/zip");
    QStringList expected = projectState();
    if (!close)
        expected << "entry Yard db=SQLite stand-in of Yard cloud" << "listed Yard";
    if (relisted)
        expected << "entry Yard" << "listed Yard";
    expected.sort();
    ProjectDownloadDlg dialog;
    dialog.show();
    QSignalSpy info(&dialog, &MyDialog::signalsInformation);
    const auto ran = std::make_shared<QAtomicInt>(0);
    ProjectDownloadDlg::setImportHookForTest([&, ran](const QString &) {
        ran->storeRelease(onWindow([&] {
            if (close)
                dialog.close();
            if (relisted)
                addProject(QStringLiteral("Yard"));
        }) ? 1 : -1);
    });
    auto unhook = qScopeGuard([] { ProjectDownloadDlg::setImportHookForTest(nullptr); });
    child<QtMaterialLineEdit>(&dialog, "lineEditCode")->setText(QStringLiteral("0042"));
    click(&dialog, "pushButtonDownloadServer");
    QTRY_VERIFY(ran->loadAcquire() != 0);
    QVERIFY(BackgroundWork::pool().waitForDone(10000));
    QCoreApplication::sendPostedEvents(); // the worker's answer
    QVERIFY2(ran->loadAcquire() > 0, "the window was held while the worker unpacked");
    QCOMPARE(messages(info), close ? QStringList() : QStringList{"success."});
    QCOMPARE(projectState(), expected);
}

// A download closed while its worker copies, then another download (or the same one again):
// the given-up worker stops at its next project and touches no name the new one lists; the new
// one waits for names the given-up one still holds.
void TestProjectTransfer::givenUpImport_data()
{
    QTest::addColumn<int>("closedAt"); // the first import is closed as it puts this project in place
    QTest::addColumn<QStringList>("second"); // the second download's projects
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("putInPlace"); // the projects that reached their copy, in order
    QTest::newRow("another Yard, closed during Aaa") << 1 << QStringList{"Yard"}
        << QStringList{"entry Yard db=SQLite stand-in of Yard second", "listed Yard"}
        << QStringList{"Aaa", "Yard"};
    QTest::newRow("another Yard, closed during Yard") << 2 << QStringList{"Yard"}
        << QStringList{"entry Yard db=SQLite stand-in of Yard second", "listed Yard"}
        << QStringList{"Aaa", "Yard", "Yard"};
    QTest::newRow("the same projects again") << 1 << QStringList{"Aaa", "Yard"}
        << QStringList{"entry Aaa db=SQLite stand-in of Aaa second",
                       "entry Yard db=SQLite stand-in of Yard second", "listed Aaa", "listed Yard"}
        << QStringList{"Aaa", "Aaa", "Yard"};
}

void TestProjectTransfer::givenUpImport()
{
    QFETCH(int, closedAt);
    QFETCH(QStringList, second);
    QFETCH(QStringList, added);
    QFETCH(QStringList, putInPlace);
    QTemporaryDir dir;
    m_cloud.answerWith(200, readFile(makeArchive(dir.filePath("a.zip"), {"Aaa", "Yard"}, "first")),
                       "application/zip");
    QStringList expected = projectState() + added;
    expected.sort();
    ImportGate gate(closedAt);
    auto first = std::make_unique<ProjectDownloadDlg>();
    QSignalSpy firstInfo(first.get(), &MyDialog::signalsInformation);
    startDownload(first.get(), "pushButtonDownloadServer", "0042");
    QTRY_VERIFY2(gate.held.available() > 0, qPrintable(messages(firstInfo).join('|')));
    first->close();

    const QByteArray archive = readFile(makeArchive(dir.filePath("b.zip"), second, "second"));
    m_cloud.answerWith(200, archive, "application/zip");
    ProjectDownloadDlg again;
    QSignalSpy info(&again, &MyDialog::signalsInformation);
    startDownload(&again, "pushButtonDownloadServer", "0042");
    // It waits for the names the first worker holds, or (wrongly) goes on without it.
    QTRY_VERIFY(!info.isEmpty());
    gate.resume.release();
    QTRY_VERIFY(messages(info).contains(QStringLiteral("success.")));
    QCOMPARE(messages(info), (QStringList{"Downloading...,please wait a moment", "success."}));
    QVERIFY(BackgroundWork::pool().waitForDone(10000));
    QCoreApplication::sendPostedEvents(); // the first worker's end
    QCOMPARE(projectState(), expected);
    QCOMPARE(gate.reached, putInPlace);
}

// A sender that closes right after its body, and a second one that posts during the import:
// the second is refused, the first one's projects listed once.
void TestProjectTransfer::secondSenderDuringImport()
{
    QTemporaryDir dir;
    const QByteArray yard = readFile(makeArchive(dir.filePath("y.zip"), {"Yard"}, "one"));
    const QByteArray other = readFile(makeArchive(dir.filePath("o.zip"), {"Other"}, "two"));
    QStringList expected = projectState() << "entry Yard db=SQLite stand-in of Yard one" << "listed Yard";
    expected.sort();
    ImportGate gate(1);
    ProjectDownloadDlg dialog;
    QSignalSpy info(&dialog, &MyDialog::signalsInformation);
    startDownload(&dialog, "pushButtonDownloadDevice", "1234");
    const auto post = [](QTcpSocket &socket, const QByteArray &body) {
        socket.connectToHost(Loopback, 8080);
        return socket.waitForConnected(3000) &&
               socket.write("POST / HTTP/1.1\r\nContent-Length: " + QByteArray::number(body.size()) +
                            "\r\n\r\n" + body) > 0 &&
               socket.waitForBytesWritten(3000);
    };
    QTcpSocket one, two;
    QVERIFY(post(one, yard));
    one.disconnectFromHost();
    QTRY_VERIFY2(gate.held.available() > 0, qPrintable(messages(info).join('|')));
    QVERIFY(post(two, other));
    // Refused without an answer while the first import runs; never told it was received.
    QTRY_COMPARE(two.state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(two.readAll(), QByteArray());
    gate.resume.release();
    QTRY_COMPARE(messages(info), QStringList{"success."});
    QVERIFY(BackgroundWork::pool().waitForDone(10000));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(messages(info), QStringList{"success."});
    QCOMPARE(projectState(), expected);
}

// A /tmp of its own, large enough for the 200 MiB downloads, for the upload rows to fill.
VARNO_TEST_MAIN_SMALL_TMP(TestProjectTransfer, qint64(1) << 30)
#include "tst_projecttransfer.moc"
