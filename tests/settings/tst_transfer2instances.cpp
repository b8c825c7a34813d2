// End to end: two real installations, each in a network namespace of its own on
// a veth pair. B waits on "Download Device" with the code that A's upload dialog
// shows; A sends two projects; B imports both under free names. Then curl, as a
// foreign sender, posts an archive to B waiting again.

#include "testmain.h"

#include "transferfixture.h"
#include "twoinstances.h"

#include "store/cppsqlite3db.h"

#include <QtTest>

using namespace transfertest;
using namespace twoinstances;

class TestTransfer2Instances : public QObject
{
    Q_OBJECT

private slots:
    void projectsTravelFromAToB_data();
    void projectsTravelFromAToB();
};

void TestTransfer2Instances::projectsTravelFromAToB_data()
{
    QTest::addColumn<bool>("blocked"); // a plain file "Home_1" in B's database folder fails its import
    QTest::newRow("imported") << false;
    QTest::newRow("import fails") << true;
}

void TestTransfer2Instances::projectsTravelFromAToB()
{
    QFETCH(bool, blocked);
    Network network;
    const QString why = network.setUp();
    if (!why.isEmpty())
        QSKIP(qPrintable(why));
    const QString curl = findTool(QStringLiteral("curl"));
    if (curl.isEmpty())
        QSKIP("needs curl");

    QTemporaryDir root;
    Installation a(root.filePath(QStringLiteral("a")));
    Installation b(root.filePath(QStringLiteral("b")));
    // A: "Home" and "Office"; B: its own "Home".
    for (Installation *side : {&a, &b}) {
        gl_curPath = side->appDir();
        preInitProject();
        gl_sqlite3db.close();
    }
    gl_curPath = a.appDir();
    QVERIFY(addListedProject(QStringLiteral("Office")));
    if (blocked)
        QVERIFY(writeFile(b.databaseDir() + "/Home_1", "in the way"));
    QVERIFY(a.start(QStringLiteral(VARNO_EXECUTABLE), network.in(true, {})));
    QVERIFY(b.start(QStringLiteral(VARNO_EXECUTABLE), network.in(false, {})));

    QVERIFY(a.command("page Project Setting"));
    QVERIFY(a.command("check labelProjectName Home"));
    QVERIFY(a.command("check labelProjectName Office"));
    QVERIFY(a.command("click pushButtonUpload"));
    QVERIFY2(a.commandSoon("click pushButtonSendToOtherDevice"), a.lines.join('\n').constData());
    QString code;
    // Each reading waits for A's answer: the wait is bounded by its time, not by a count of tries.
    QVERIFY2(QTest::qWaitFor([&] { return (code = a.text("labelCode")).size() == 4; }, 5000),
             qPrintable(code));

    QVERIFY(b.command("page Project Setting"));
    QVERIFY(b.command("click pushButtonDownload"));
    QVERIFY(b.commandSoon("type lineEditCode " + code.toUtf8()));
    QVERIFY(b.command("click pushButtonDownloadDevice"));
    if (blocked) {
        // Both sides say the failure: B its own, A what B answered.
        QVERIFY2(b.waitForLine("INFO Failed to copy project Home_1!", 20000),
                 b.lines.join('\n').constData());
        const QByteArray refused = "INFO Error transferring http://" + AddressB.toUtf8() +
                                   ":8080 - server replied: Internal Server Error";
        QVERIFY2(a.waitForLine(refused, 10000), a.lines.join('\n').constData());
        return;
    }
    QVERIFY2(b.waitForLine("INFO success.", 20000), b.lines.join('\n').constData());
    QVERIFY2(a.waitForLine("INFO success.", 10000), a.lines.join('\n').constData());

    gl_curPath = b.appDir();
    QStringList projects;
    getProjectList(projects);
    QCOMPARE(projects, (QStringList{"Home", "Home_1", "Office"}));
    // The databases travel as copies SQLite made of them: the same schema and rows.
    const QStringList homeB = dbContent(b.databaseDir() + "/Home_1/Home_1.db3");
    QVERIFY(!homeB.filter("tbl_log").isEmpty());
    QCOMPARE(homeB, dbContent(a.databaseDir() + "/Home/Home.db3"));
    QCOMPARE(dbContent(b.databaseDir() + "/Office/Office.db3"),
             (QStringList{"CREATE TABLE t(v)", "t|<SQLite stand-in of Office local>"}));
    QVERIFY(QFile::exists(b.databaseDir() + "/Office/photo_3dView_1.png"));
    QVERIFY(!QFile::exists(b.databaseDir() + "/Home_1/Home.db3"));
    QCOMPARE(QDir(b.databaseDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{"Home", "Home_1", "Office", "project.xml"}));

    // A foreign sender to B waiting again.
    const QString archive = makeArchive(root.filePath(QStringLiteral("archive.zip")), {"Yard"}, "curl");
    QVERIFY(!archive.isEmpty());
    b.lines.clear();
    QVERIFY(b.command("click pushButtonDownloadDevice"));
    QVERIFY(b.command("text labelTitle")); // answered once the queued click has run
    const QStringList command = network.in(
        true, {curl, "-sS", "-H", "Expect:", "-H", "Content-Type: application/zip", "-H", "deviceType: 0",
               "--data-binary", "@archive.zip", "http://" + AddressB + ":8080/"});
    QProcess post;
    post.setWorkingDirectory(root.path());
    post.start(command.first(), command.mid(1));
    QVERIFY(post.waitForFinished(30000));
    const QByteArray printed = post.readAllStandardOutput();
    QCOMPARE(printed, QByteArray("POST data received!"));
    QVERIFY2(b.waitForLine("INFO success.", 10000), b.lines.join('\n').constData());
    QCOMPARE(readFile(b.databaseDir() + "/Yard/Yard.db3"), dbBytes(QStringLiteral("Yard"), "curl"));
    projects.clear();
    getProjectList(projects);
    QCOMPARE(projects, (QStringList{"Home", "Home_1", "Office", "Yard"}));
}

VARNO_TEST_MAIN(TestTransfer2Instances)
#include "tst_transfer2instances.moc"
