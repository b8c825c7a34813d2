// The project list file and the start-up step that opens the current project.

#include "filesizelimit.h"
#include "testmain.h"

#include "bus/broadcastsocket.h"
#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char *const kFreshList = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                               "<general>\n"
                               "    <project>\n"
                               "        <name>Home</name>\n"
                               "        <indoor_temperature_low>20</indoor_temperature_low>\n"
                               "        <indoor_temperature_high>35</indoor_temperature_high>\n"
                               "        <network_type>0</network_type>\n"
                               "    </project>\n"
                               "    <current>\n"
                               "        <name>Home</name>\n"
                               "    </current>\n"
                               "</general>\n";

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

} // namespace

class TestProjectList : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> m_app;

    QStringList projects()
    {
        QStringList list;
        getProjectList(list);
        return list;
    }

private slots:
    void init()
    {
        gl_sqlite3db.close();
        m_app.reset(new QTemporaryDir);
        gl_curPath = m_app->path();
        QDir(gl_curPath).mkdir(QStringLiteral("database"));
    }
    void cleanupTestCase() { gl_sqlite3db.close(); }

    void freshListIsExact()
    {
        init_projectConfig();
        QCOMPARE(readFile(projectListPath()), QByteArray(kFreshList));
        QCOMPARE(projects(), QStringList{QStringLiteral("Home")});
        QString current;
        QVERIFY(getCurrentProject(current));
        QCOMPARE(current, QStringLiteral("Home"));
    }

    void readersOnMissingOrBrokenFile()
    {
        QStringList list{QStringLiteral("kept")};
        QVERIFY(!getProjectList(list));
        QCOMPARE(list, QStringList{QStringLiteral("kept")});
        writeFile(projectListPath(), "<general><project>");
        QString name = QStringLiteral("kept");
        QVERIFY(!getCurrentProject(name));
        QCOMPARE(name, QStringLiteral("kept"));
        QVERIFY(!getProjectNode(QStringLiteral("Home"), QStringLiteral("network_type"), name));
        QVERIFY(!isProjectExist(QStringLiteral("Home")));
        // Writers leave a file they cannot read alone and create none.
        addProject(QStringLiteral("X"));
        QCOMPARE(readFile(projectListPath()), QByteArray("<general><project>"));
        QFile::remove(projectListPath());
        setCurrentProject(QStringLiteral("X"));
        QVERIFY(!QFile::exists(projectListPath()));
    }

    void addSetDeleteProjects()
    {
        init_projectConfig();
        addProject(QStringLiteral("Bob's \"big\" house"));
        addProject(QStringLiteral("Büro"));
        QCOMPARE(projects(), (QStringList{"Home", "Bob's \"big\" house", "Büro"}));
        QVERIFY(isProjectExist(QStringLiteral("Büro")));
        QVERIFY(!isProjectExist(QStringLiteral("home")));

        // The new project is the root's last child, after current.
        const QByteArray xml = readFile(projectListPath());
        QVERIFY(xml.indexOf("<current>") < xml.indexOf("Büro"));
        QVERIFY2(xml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<general>\n    <project>"),
                 xml.constData());

        QString value = QStringLiteral("unset");
        QVERIFY(getProjectNode(QStringLiteral("Büro"), QStringLiteral("indoor_temperature_high"), value));
        QCOMPARE(value, QStringLiteral("35"));
        setProjectNode(QStringLiteral("Büro"), QStringLiteral("network_type"), QStringLiteral("2"));
        QVERIFY(getProjectNode(QStringLiteral("Büro"), QStringLiteral("network_type"), value));
        QCOMPARE(value, QStringLiteral("2"));
        QVERIFY(getProjectNode(QStringLiteral("Home"), QStringLiteral("network_type"), value));
        QCOMPARE(value, QStringLiteral("0"));

        value = QStringLiteral("unset");
        QVERIFY(getProjectNode(QStringLiteral("Büro"), QStringLiteral("name"), value));
        QCOMPARE(value, QStringLiteral("unset"));
        QVERIFY(getProjectNode(QStringLiteral("Nobody"), QStringLiteral("network_type"), value));
        QCOMPARE(value, QStringLiteral("unset"));

        setCurrentProject(QStringLiteral("Büro"));
        QString current;
        getCurrentProject(current);
        QCOMPARE(current, QStringLiteral("Büro"));
        deleteProject(QStringLiteral("Büro"));
        QCOMPARE(projects(), (QStringList{"Home", "Bob's \"big\" house"}));
        getCurrentProject(current);
        QCOMPARE(current, QStringLiteral("Büro"));
        QVERIFY(readFile(projectListPath()).contains("\n        <name>Home</name>\n"));
    }

    void nodeBeforeNameIsNotSeen()
    {
        writeFile(
            projectListPath(),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<general><project><network_type>1</network_type>"
            "<name>A</name><network_type>2</network_type><network_type>3</network_type></project>"
            "<current><name>A</name></current></general>");
        QString value;
        QVERIFY(getProjectNode(QStringLiteral("A"), QStringLiteral("network_type"), value));
        QCOMPARE(value, QStringLiteral("3"));
    }

    void projectNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << "Home" << true;
        QTest::newRow("quote and space") << "Bob's room 2" << true;
        QTest::newRow("unicode") << "客厅" << true;
        QTest::newRow("six digits") << "123456" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("slash") << "a/b" << false;
        QTest::newRow("parent path") << "../etc" << false;
        QTest::newRow("backslash") << "a\\b" << false;
        QTest::newRow("newline") << "a\nb" << false;
        QTest::newRow("nul") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b")) << false;
        QTest::newRow("too long") << QString(300, QLatin1Char('x')) << false;
        // SQLite opens "<database folder>/<name>/<name>.db3" when its path with "-journal" fits in 512
        // bytes; each test's folder is a temporary one of this length.
        const int folder = QFileInfo(QTemporaryDir().path()).canonicalFilePath().toUtf8().size() + 9;
        const int longest = (512 - folder - 14) / 2;
        QTest::newRow("longest that opens") << QString(longest - 2, QLatin1Char('x')) + "é" << true;
        QTest::newRow("a byte more") << QString(longest - 1, QLatin1Char('x')) + "é" << false;
    }
    void projectNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, valid);
        QCOMPARE(isValidProjectName(name), valid);
        QCOMPARE(projectFolder(name).isEmpty(), !valid);
        QCOMPARE(projectDatabasePath(name).isEmpty(), !valid);
        if (valid)
            QCOMPARE(projectDatabasePath(name), gl_curPath + "/database/" + name + "/" + name + ".db3");
        init_projectConfig();
        addProject(name);
        QCOMPARE(projects().contains(name), valid);
        if (name.size() > 200) { // a long name is refused only when its database cannot open
            const QString folder = gl_curPath + "/database/" + name;
            QCOMPARE(QDir().mkpath(folder) && initDatabase(folder + "/" + name + ".db3"), valid);
        }
    }

    void firstStartCreatesHome()
    {
        QDir(gl_curPath).rmdir(QStringLiteral("database"));
        preInitProject();
        QCOMPARE(readFile(projectListPath()), QByteArray(kFreshList));
        const QString db = gl_curPath + QStringLiteral("/database/Home/Home.db3");
        QVERIFY(QFile::exists(db));
        QCOMPARE(gl_sqlite3db.getDbName(), db);
        QCOMPARE(getValueFromDb(QStringLiteral("select count(*) as n from sqlite_master where type='table'"),
                                QStringLiteral("n")),
                 34);
    }

    void listWithoutProjectsIsReplaced()
    {
        writeFile(projectListPath(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<general>"
                                     "<current><name>Gone</name></current></general>");
        preInitProject();
        QCOMPARE(readFile(projectListPath()), QByteArray(kFreshList));
        QVERIFY(!QFile::exists(projectListPath() + QStringLiteral(".bak")));
    }

    void brokenListIsKeptAsBackup()
    {
        const QByteArray broken = "<general><project><name>Precious</name>";
        writeFile(projectListPath(), broken);
        preInitProject();
        QCOMPARE(readFile(projectListPath()), QByteArray(kFreshList));
        QCOMPARE(readFile(projectListPath() + QStringLiteral(".bak")), broken);
    }

    void currentNotListedStillOpens()
    {
        init_projectConfig();
        addProject(QStringLiteral("Other"));
        setCurrentProject(QStringLiteral("Deleted"));
        preInitProject();
        QVERIFY(QFile::exists(gl_curPath + QStringLiteral("/database/Deleted/Deleted.db3")));
    }

    void unsafeCurrentNameFallsBack_data()
    {
        QTest::addColumn<QString>("current");
        QTest::newRow("empty") << "";
        QTest::newRow("parent") << "..";
        QTest::newRow("path") << "../../outside";
    }
    void unsafeCurrentNameFallsBack()
    {
        QFETCH(QString, current);
        init_projectConfig();
        addProject(QStringLiteral("Second"));
        writeFile(projectListPath(),
                  readFile(projectListPath())
                      .replace("<current>\n        <name>Home</name>",
                               "<current>\n        <name>" + current.toUtf8() + "</name>"));
        preInitProject();
        QString name;
        getCurrentProject(name);
        QCOMPARE(name, QStringLiteral("Home"));
        QCOMPARE(gl_sqlite3db.getDbName(), gl_curPath + QStringLiteral("/database/Home/Home.db3"));
        QVERIFY(!QFile::exists(gl_curPath + QStringLiteral("/database/.db3")));
        QVERIFY(!QDir(gl_curPath + QStringLiteral("/outside")).exists());
        QCOMPARE(projects(), (QStringList{"Home", "Second"}));
    }

    // A list without a current entry, or with one that holds no name: start-up opens the first
    // listed project and adds what names it, a switch names another there, the rest stays as it
    // was. A list that cannot be written (a file holds the list's folder) is said.
    void listWithoutCurrent_data()
    {
        QTest::addColumn<QByteArray>("entry"); // at the end of the list
        QTest::addColumn<QByteArray>("named"); // the same once "Home" is named; empty: not writable
        const QByteArray home = "    <current>\n        <name>Home</name>\n";
        QTest::newRow("no current entry") << QByteArray() << home + "    </current>\n";
        QTest::newRow("current without a name")
            << QByteArray("    <current>\n        <a/>\n    </current>\n")
            << home + "        <a/>\n    </current>\n";
        QTest::newRow("list cannot be written") << QByteArray() << QByteArray();
    }
    void listWithoutCurrent()
    {
        QFETCH(QByteArray, entry);
        QFETCH(QByteArray, named);
        init_projectConfig();
        addProject(QStringLiteral("Second"));
        const QByteArray listed = readFile(projectListPath()).replace(
            "    <current>\n        <name>Home</name>\n    </current>\n", "");
        const auto with = [&](const QByteArray &e) {
            return QByteArray(listed).replace("</general>", e + "</general>");
        };
        writeFile(projectListPath(), with(entry));
        if (named.isEmpty())
            QVERIFY(QDir(databaseFolder()).removeRecursively() &&
                    QFile(databaseFolder()).open(QIODevice::WriteOnly));
        QSignalSpy said(&gl_socket, &BroadcastSocket::signalsInformation);
        preInitProject();
        QCoreApplication::processEvents(); // start-up's texts go out once events are handled
        QStringList texts;
        for (const QList<QVariant> &text : qAsConst(said))
            texts << text.at(0).toString();
        const QStringList failures{"Failed to save the project list!",
                                   "Failed to open the project database!"};
        QCOMPARE(texts, named.isEmpty() ? failures : QStringList());
        if (named.isEmpty())
            return;
        { // No room for the list naming "Second", two bytes longer: refused, the list kept as it was.
            const varnotest::FileSizeLimit room(with(named).size() + 1);
            QVERIFY(!setCurrentProject(QStringLiteral("Second")));
        }
        QCOMPARE(readFile(projectListPath()), with(named));
        QVERIFY(setCurrentProject(QStringLiteral("Second")));
        QCOMPARE(readFile(projectListPath()), with(named.replace("Home", "Second")));
    }
};

VARNO_TEST_MAIN(TestProjectList)
#include "tst_projectlist.moc"
