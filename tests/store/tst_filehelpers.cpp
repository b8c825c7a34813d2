// Copying, clearing, picture removal and zip archives of project folders, in a
// temporary application folder; archives with unsafe entries are built by hand.

#include "handmadezip.h"
#include "testmain.h"

#include "store/backgroundwork.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/ziparchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTime>
#include <QtTest>

#include <zip.h>

#include <atomic>
#include <thread>

class TestFileHelpers : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<QTemporaryDir> m_root;

    QString root() const { return m_root->path(); }
    QString database() const { return root() + QStringLiteral("/database"); }
    QString project(const QString &name) const { return database() + QLatin1Char('/') + name; }

    static void writeFile(const QString &path, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        file.write(content);
    }
    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Every file and folder below dir (hidden ones included), relative, sorted,
    // folders with a trailing "/", each file with its content.
    static QStringList tree(const QString &dir)
    {
        QStringList out;
        QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QFileInfo info(path);
            const QString rel = QDir(dir).relativeFilePath(path);
            if (info.isSymLink())
                out << rel + QStringLiteral(" -> ") + info.symLinkTarget();
            else if (info.isDir())
                out << rel + QLatin1Char('/');
            else
                out << rel + QLatin1Char('=') + QString::fromUtf8(readFile(path));
        }
        out.sort();
        return out;
    }
    // A zip file of noise: packed again, deflate can only store it as it is, end record and all.
    static QByteArray noiseZip()
    {
        QByteArray noise(100000, Qt::Uninitialized);
        QRandomGenerator(45).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        return varnotest::handMadeZip({{"noise.png", 0, -1, true, true, noise}});
    }
    // A project "Yard" (15 and 4 bytes) packed by the zip tool: "zip to a pipe" or "zip -fz"; or
    // by compressDir, "our export ending in a zip", with a noiseZip() as its last file "zz.zip".
    static QByteArray toolZip(const QByteArray &kind)
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("Yard/Yard.db3")), "SQLite stand-in");
        writeFile(dir.filePath(QStringLiteral("Yard/sub/deep.txt")), "deep");
        if (kind.startsWith("our ")) {
            writeFile(dir.filePath(QStringLiteral("Yard/zz.zip")), noiseZip());
            ZipArchive::compressDir(dir.filePath(QStringLiteral("y.zip")), dir.path());
            return readFile(dir.filePath(QStringLiteral("y.zip")));
        }
        QProcess zip;
        zip.setWorkingDirectory(dir.path());
        const char *command =
            kind == "zip to a pipe" ? "zip -qr - Yard | cat > y.zip" : "zip -qr -fz y.zip Yard";
        zip.start(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromLatin1(command)});
        zip.waitForFinished();
        return readFile(dir.filePath(QStringLiteral("y.zip")));
    }
    void setCurrentProjectName(const QString &name)
    {
        writeFile(database() + QStringLiteral("/project.xml"),
                  QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<general>\n"
                                 "    <project>\n        <name>%1</name>\n"
                                 "        <indoor_temperature_low>20</indoor_temperature_low>\n"
                                 "        <indoor_temperature_high>35</indoor_temperature_high>\n"
                                 "        <network_type>0</network_type>\n    </project>\n"
                                 "    <current>\n        <name>%1</name>\n    </current>\n</general>\n")
                      .arg(name)
                      .toUtf8());
    }
    // A project folder with a database file, a picture and a nested folder.
    void makeProject(const QString &name)
    {
        writeFile(project(name) + QLatin1Char('/') + name + QStringLiteral(".db3"),
                  "db of " + name.toUtf8());
        writeFile(project(name) + QStringLiteral("/photo_Room_1.png"), "png");
        writeFile(project(name) + QStringLiteral("/sub/deep.txt"), "deep");
    }
    // An archive holding one harmless entry and the given unsafe one.
    QString makeArchive(const QString &fileName, const QString &entry, bool link)
    {
        const QString path = root() + QLatin1Char('/') + fileName;
        const QByteArray data = link ? (root() + QStringLiteral("/outside")).toUtf8() : "evil";
        writeFile(path, varnotest::handMadeZip({{"ok/file.txt", 0, -1, true, true, "fine"},
                                                {entry.toUtf8(), 0, -1, true, true, data, -1, false, link}}));
        return path;
    }

private slots:
    void init()
    {
        m_root.reset(new QTemporaryDir);
        QVERIFY(m_root->isValid());
        gl_curPath = root();
        QVERIFY(QDir().mkpath(database()));
        setCurrentProjectName(QStringLiteral("Proj"));
        makeProject(QStringLiteral("Proj"));
    }
    void cleanup() { gl_curPath.clear(); }

    // --- copyFileToPath ---

    void copyFile_data()
    {
        QTest::addColumn<QString>("source"); // relative to the root
        QTest::addColumn<QString>("target"); // relative to the root; "\" allowed
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QByteArray>("content"); // content of the target afterwards
        QTest::newRow("new target") << "a.txt"
                                    << "b.txt" << false << true << QByteArray("A");
        QTest::newRow("backslashes") << "a.txt"
                                     << "sub\\b.txt" << false << true << QByteArray("A");
        QTest::newRow("same path") << "a.txt"
                                   << "a.txt" << false << true << QByteArray("A");
        QTest::newRow("missing source") << "none.txt"
                                        << "b.txt" << true << false << QByteArray("<missing>");
        QTest::newRow("existing, no overwrite") << "a.txt"
                                                << "old.txt" << false << false << QByteArray("OLD");
        QTest::newRow("existing, overwrite") << "a.txt"
                                             << "old.txt" << true << true << QByteArray("A");
    }
    void copyFile()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(bool, overwrite);
        QFETCH(bool, answer);
        QFETCH(QByteArray, content);
        writeFile(root() + QStringLiteral("/a.txt"), "A");
        writeFile(root() + QStringLiteral("/old.txt"), "OLD");
        QDir().mkpath(root() + QStringLiteral("/sub"));
        const QString targetPath =
            QString(root()).replace(QLatin1Char('/'), QLatin1Char('\\')) + QLatin1Char('\\') + target;
        QCOMPARE(copyFileToPath(root() + QLatin1Char('/') + source,
                                target.contains(QLatin1Char('\\')) ? targetPath
                                                                   : root() + QLatin1Char('/') + target,
                                overwrite),
                 answer);
        QCOMPARE(readFile(root() + QLatin1Char('/') +
                          QString(target).replace(QLatin1Char('\\'), QLatin1Char('/'))),
                 content);
        QCOMPARE(readFile(root() + QStringLiteral("/a.txt")), QByteArray("A"));
    }

    // --- copyDirToPath ---

    void copyDirCopiesTreeWithoutHiddenEntries()
    {
        writeFile(project("Proj") + QStringLiteral("/.hidden"), "h");
        QVERIFY(copyDirToPath(project("Proj"), root() + QStringLiteral("/copy"), false));
        QCOMPARE(tree(root() + QStringLiteral("/copy")),
                 (QStringList{"Proj.db3=db of Proj", "photo_Room_1.png=png", "sub/", "sub/deep.txt=deep"}));
    }

    void copyDirIntoExistingTree()
    {
        const QString target = root() + QStringLiteral("/copy");
        writeFile(target + QStringLiteral("/photo_Room_1.png"), "older png");
        writeFile(target + QStringLiteral("/only_here.txt"), "mine");
        QVERIFY(!copyDirToPath(project("Proj"), target, false));
        QCOMPARE(readFile(target + QStringLiteral("/photo_Room_1.png")), QByteArray("older png"));

        QVERIFY(copyDirToPath(project("Proj"), target, true));
        QCOMPARE(tree(target), (QStringList{"Proj.db3=db of Proj", "only_here.txt=mine",
                                            "photo_Room_1.png=png", "sub/", "sub/deep.txt=deep"}));
    }

    void copyDirWithoutParentFails()
    {
        QVERIFY(!copyDirToPath(project("Proj"), root() + QStringLiteral("/no/such/place"), true));
        QVERIFY(!QFileInfo::exists(root() + QStringLiteral("/no")));
    }

    void copyDirDoesNotFollowLinkedFolders()
    {
        // A link back up the tree would make the copy run for ever.
        QVERIFY(QFile::link(project("Proj"), project("Proj") + QStringLiteral("/sub/loop")));
        QVERIFY(copyDirToPath(project("Proj"), root() + QStringLiteral("/copy"), true));
        QVERIFY(!QFileInfo::exists(root() + QStringLiteral("/copy/sub/loop")));
        QCOMPARE(readFile(root() + QStringLiteral("/copy/sub/deep.txt")), QByteArray("deep"));
    }

    // --- clearDir ---

    void clearDirKeepsFolderAndHiddenEntries()
    {
        writeFile(project("Proj") + QStringLiteral("/.keep"), "k");
        writeFile(root() + QStringLiteral("/outside/precious.txt"), "p");
        QVERIFY(
            QFile::link(root() + QStringLiteral("/outside"), project("Proj") + QStringLiteral("/linked")));
        clearDir(project("Proj"));
        QCOMPARE(tree(project("Proj")), QStringList{".keep=k"});
        // The link went, not what it pointed at.
        QCOMPARE(readFile(root() + QStringLiteral("/outside/precious.txt")), QByteArray("p"));
    }

    void clearDirRefusesOtherFolders_data()
    {
        QTest::addColumn<QString>("path"); // relative to the root
        QTest::newRow("outside the database folder") << "outside";
        QTest::newRow("the database folder itself") << "database";
        QTest::newRow("a grandchild") << "database/Proj/sub";
        QTest::newRow("dot-dot back out") << "database/Proj/..";
    }
    void clearDirRefusesOtherFolders()
    {
        QFETCH(QString, path);
        writeFile(root() + QStringLiteral("/outside/precious.txt"), "p");
        const QStringList before = tree(root());
        clearDir(root() + QLatin1Char('/') + path);
        QCOMPARE(tree(root()), before);
    }

    // --- remove_external_photo ---

    void removePhoto_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file"); // relative to the database folder
        QTest::addColumn<bool>("removed");
        QTest::newRow("without .png") << "photo_Room_1"
                                      << "Proj/photo_Room_1.png" << true;
        QTest::newRow("with .png") << "photo_Room_1.png"
                                   << "Proj/photo_Room_1.png" << true;
        QTest::newRow(".png in the middle") << "shot.png.bak"
                                            << "Proj/shot.png.bak" << true;
        QTest::newRow("dot-dot") << "../escape"
                                 << "escape.png" << false;
        QTest::newRow("dot-dot into a project") << "../Other/photo_Room_1"
                                                << "Other/photo_Room_1.png" << false;
        QTest::newRow("slash") << "sub/deep.txt"
                               << "Proj/sub/deep.txt" << false;
        QTest::newRow("backslash") << "..\\escape"
                                   << "escape.png" << false;
        QTest::newRow("absolute") << "/tmp/none"
                                  << "escape.png" << false;
    }
    void removePhoto()
    {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QFETCH(bool, removed);
        makeProject(QStringLiteral("Other"));
        writeFile(database() + QStringLiteral("/escape.png"), "e");
        writeFile(database() + QStringLiteral("/Proj/shot.png.bak"), "b");
        const QString path = database() + QLatin1Char('/') + file;
        QVERIFY(QFileInfo::exists(path));
        const QStringList before = tree(root());
        remove_external_photo(name);
        QCOMPARE(!QFileInfo::exists(path), removed);
        QCOMPARE(tree(root()).size(), before.size() - (removed ? 1 : 0));
    }

    void removePhotoTouchesOnlyTheCurrentProject()
    {
        makeProject(QStringLiteral("Other"));
        remove_external_photo(QStringLiteral("photo_Room_1"));
        QVERIFY(!QFileInfo::exists(project("Proj") + QStringLiteral("/photo_Room_1.png")));
        QCOMPARE(readFile(project("Other") + QStringLiteral("/photo_Room_1.png")), QByteArray("png"));
    }

    void removeMissingPhotoIsNoError()
    {
        const QStringList before = tree(root());
        remove_external_photo(QStringLiteral("photo_Mood_42"));
        setCurrentProjectName(QStringLiteral("NoFolder"));
        remove_external_photo(QStringLiteral("photo_Room_1"));
        QCOMPARE(tree(root()).size(), before.size());
    }

    void removePhotoRefusesInvalidCurrentProject()
    {
        writeFile(database() + QStringLiteral("/photo_Room_1.png"), "in the database folder");
        setCurrentProjectName(QStringLiteral(".."));
        remove_external_photo(QStringLiteral("project.xml"));
        remove_external_photo(QStringLiteral("photo_Room_1"));
        QVERIFY(QFileInfo::exists(database() + QStringLiteral("/photo_Room_1.png")));
        QVERIFY(QFileInfo::exists(database() + QStringLiteral("/project.xml")));
    }

    // --- compressFolder and decompressFolder ---

    void compressAndDecompressRoundTrip()
    {
        makeProject(QStringLiteral("Other"));
        const QString zip = root() + QStringLiteral("/projects.zip");
        const QStringList databaseBefore =
            QDir(database()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        compressFolder({QStringLiteral("Proj"), QStringLiteral("Missing"), QStringLiteral("Other")}, zip);
        // No staging folder is left among the project folders.
        QCOMPARE(QDir(database()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), databaseBefore);

        QStringList names = ZipArchive::entryNames(zip);
        names.sort();
        QCOMPARE(names, (QStringList{"Other/", "Other/Other.db3", "Other/photo_Room_1.png", "Other/sub/",
                                     "Other/sub/deep.txt", "Proj/", "Proj/Proj.db3", "Proj/photo_Room_1.png",
                                     "Proj/sub/", "Proj/sub/deep.txt"}));

        const QString unpack = database() + QStringLiteral("/123456");
        writeFile(unpack + QStringLiteral("/earlier.txt"), "gone afterwards");
        decompressFolder(zip, unpack);
        QStringList expected;
        for (const QString &p : {QStringLiteral("Other"), QStringLiteral("Proj")}) {
            for (const QString &line : tree(project(p)))
                expected << p + QLatin1Char('/') + line;
            expected << p + QLatin1Char('/');
        }
        expected.sort();
        QCOMPARE(tree(unpack), expected);
    }

    // Pictures, compressed already, are stored as they are; every other file is deflated.
    void compressedPicturesAreStored_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("method");
        for (const char *name : {"photo_Room_1.png", "shot.PNG", "a.jpg", "b.JPEG", "c.Jpeg"})
            QTest::newRow(name) << name << int(ZIP_CM_STORE);
        for (const char *name : {"Proj.db3", "notes.txt", "png", "a.png.txt", "b.jpgx"})
            QTest::newRow(name) << name << int(ZIP_CM_DEFLATE);
    }
    void compressedPicturesAreStored()
    {
        QFETCH(QString, name);
        QFETCH(int, method);
        QTemporaryDir dir;
        writeFile(dir.filePath("in/Proj/" + name), QByteArray(20000, 'a'));
        const QString zipPath = dir.filePath("p.zip");
        zip_t *zip = ZipArchive::compressDir(zipPath, dir.filePath("in"))
                         ? zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, nullptr) : nullptr;
        zip_stat_t st;
        const bool stated = zip && zip_stat(zip, ("Proj/" + name).toUtf8().constData(), 0, &st) == 0;
        zip_discard(zip);
        QVERIFY(stated && (st.valid & ZIP_STAT_COMP_METHOD));
        QCOMPARE(int(st.comp_method), method);
        QVERIFY(method == ZIP_CM_STORE ? st.comp_size == 20000 : st.comp_size < 1000);
    }

    void compressWithNoExistingProjectGivesEmptyArchive()
    {
        const QString zip = root() + QStringLiteral("/empty.zip");
        compressFolder({QStringLiteral("Missing"), QStringLiteral(".."), QString(), QStringLiteral("a/b")},
                       zip);
        QVERIFY(QFileInfo(zip).isFile());
        QList<ZipArchive::Entry> entries;
        QVERIFY(ZipArchive::listEntries(zip, entries));
        QVERIFY(entries.isEmpty());

        const QString unpack = database() + QStringLiteral("/unpacked");
        writeFile(unpack + QStringLiteral("/earlier.txt"), "x");
        decompressFolder(zip, unpack);
        QVERIFY(QFileInfo(unpack).isDir());
        QVERIFY(tree(unpack).isEmpty());
    }

    // compressFolder answers whether every project was copied and the archive written.
    void compressFolderTellsFailure_data()
    {
        QTest::addColumn<QString>("failing"); // what fails; "" for nothing
        QTest::newRow("nothing") << "";
        QTest::newRow("a file that cannot be read") << "read";
        QTest::newRow("archive folder missing") << "archive";
    }
    void compressFolderTellsFailure()
    {
        QFETCH(QString, failing);
        makeProject(QStringLiteral("Other"));
        // A write-only attribute: even root cannot open it for reading.
        const QString writeOnly = QStringLiteral("/sys/bus/pci/rescan");
        if (failing == QLatin1String("read") && QFile(writeOnly).open(QIODevice::ReadOnly))
            QSKIP("needs a file that cannot be read");
        if (failing == QLatin1String("read"))
            QVERIFY(QFile::link(writeOnly, project("Other") + QStringLiteral("/rescan")));
        const QString zip = root() + (failing == QLatin1String("archive") ? "/missing/p.zip" : "/p.zip");
        const bool packed = compressFolder({QStringLiteral("Proj"), QStringLiteral("Other")}, zip);
        QCOMPARE(packed, failing.isEmpty());
        QCOMPARE(QFileInfo::exists(zip), failing.isEmpty());
    }

    // The exit's stop (BackgroundWork::stopping()) ends the copy of a project's files and the
    // writing of its archive, each on its own: nothing is copied, no archive is left.
    void packingStopsAtTheExit_data()
    {
        QTest::addColumn<QString>("stopped");
        QTest::newRow("the copy of the files") << "copy";
        QTest::newRow("the archive, before its entries") << "entries";
        QTest::newRow("the archive, while libzip writes it") << "writing";
    }
    void packingStopsAtTheExit()
    {
        QFETCH(QString, stopped);
        const QString target = root() + QStringLiteral("/staged"), zip = root() + QStringLiteral("/p.zip");
        QByteArray noise(32 << 20, Qt::Uninitialized); // deflated for a second or so
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        writeFile(project(QStringLiteral("Proj")) + QStringLiteral("/a.bin"), noise);
        auto reset = qScopeGuard([] { BackgroundWork::resetForTests(); });
        std::atomic<bool> over{false};
        // While libzip writes, its temporary file stands beside the archive.
        std::thread exit([&] {
            while (stopped == QLatin1String("writing") && !over &&
                   QDir(root()).entryList({QStringLiteral("p.zip.*")}, QDir::Files).isEmpty())
                QThread::usleep(200);
            BackgroundWork::finish(0);
        });
        const auto joined = qScopeGuard([&] { over = true, exit.join(); });
        while (stopped != QLatin1String("writing") && !BackgroundWork::stopping())
            QThread::usleep(200);
        if (stopped == QLatin1String("copy")) {
            QVERIFY(!copyDirToPath(project(QStringLiteral("Proj")), target, true));
            QCOMPARE(tree(target), QStringList());
        } else {
            QVERIFY(!ZipArchive::compressDir(zip, project(QStringLiteral("Proj"))));
            QVERIFY(!QFileInfo::exists(zip));
        }
        QCOMPARE(QDir(root()).entryList({QStringLiteral("p.zip*")}, QDir::Files), QStringList());
    }

    void compressLeavesTimeNamedProjectAlone()
    {
        // Projects named like a time of day: none is removed or filled by packing.
        const QTime now = QTime::currentTime();
        QStringList names;
        for (int s = -1; s <= 3; ++s) {
            const QString name = now.addSecs(s).toString(QStringLiteral("hhmmss"));
            writeFile(project(name) + QStringLiteral("/marker.txt"), name.toUtf8());
            names << name;
        }
        const QStringList before = tree(database());
        compressFolder({QStringLiteral("Proj")}, root() + QStringLiteral("/p.zip"));
        QCOMPARE(tree(database()), before);
        QCOMPARE(ZipArchive::entryNames(root() + QStringLiteral("/p.zip")).size(), 5);
    }

    void decompressMissingArchiveLeavesFolder()
    {
        const QStringList before = tree(project("Proj"));
        decompressFolder(root() + QStringLiteral("/none.zip"), project("Proj"));
        QCOMPARE(tree(project("Proj")), before);
    }

    void decompressCorruptArchiveLeavesFolder()
    {
        writeFile(root() + QStringLiteral("/bad.zip"), QByteArray(5000, 'z'));
        // A real archive cut short loses its central directory.
        compressFolder({QStringLiteral("Proj")}, root() + QStringLiteral("/cut.zip"));
        QByteArray cut = readFile(root() + QStringLiteral("/cut.zip"));
        cut.chop(30);
        writeFile(root() + QStringLiteral("/cut.zip"), cut);

        const QStringList before = tree(project("Proj"));
        decompressFolder(root() + QStringLiteral("/bad.zip"), project("Proj"));
        QCOMPARE(tree(project("Proj")), before);
        decompressFolder(root() + QStringLiteral("/cut.zip"), project("Proj"));
        QCOMPARE(tree(project("Proj")), before);
    }

    void unsafeArchivesAreRefusedWhole_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("link");
        QTest::newRow("dot-dot") << "../evil" << false;
        QTest::newRow("dot-dot deeper") << "ok/../../evil" << false;
        QTest::newRow("dot-dot backslash") << "..\\evil" << false;
        QTest::newRow("absolute") << "<root>/evil" << false;
        QTest::newRow("absolute tmp") << "/tmp/x" << false;
        QTest::newRow("drive letter") << "C:/evil" << false;
        QTest::newRow("symlink") << "ok/link" << true;
        QTest::newRow("symlink at the root") << "link" << true;
        QTest::newRow("dot part") << "./evil" << false;
    }
    void unsafeArchivesAreRefusedWhole()
    {
        QFETCH(QString, entry);
        QFETCH(bool, link);
        entry.replace(QStringLiteral("<root>"), root());
        writeFile(root() + QStringLiteral("/outside/precious.txt"), "p");
        const QString zip = makeArchive(QStringLiteral("evil.zip"), entry, link);
        QVERIFY(!zip.isEmpty());
        QVERIFY(ZipArchive::entryNames(zip).contains(entry));

        const QString target = database() + QStringLiteral("/123456");
        writeFile(target + QStringLiteral("/keep.txt"), "keep");
        const QStringList before = tree(root());
        const QFileInfo absoluteBefore(entry);
        absoluteBefore.exists(); // stat now, before the archive is unpacked
        decompressFolder(zip, target);
        // Nothing written anywhere, the target folder untouched.
        QCOMPARE(tree(root()), before);
        if (QDir::isAbsolutePath(entry)) {
            const QFileInfo after(entry);
            QCOMPARE(after.exists(), absoluteBefore.exists());
            QCOMPARE(after.lastModified(), absoluteBefore.lastModified());
            QCOMPARE(after.size(), absoluteBefore.size());
        }

        // The same through the archive class, into an empty folder.
        QTemporaryDir into;
        QVERIFY(!ZipArchive::extractDir(zip, into.path()));
        QVERIFY(tree(into.path()).isEmpty());
    }

    void unpackingIsBounded_data()
    {
        QTest::addColumn<QByteArray>("kind"); // see unpackLimitArchive()
        QTest::addColumn<int>("files");       // written; -1 when refused
        QTest::addColumn<qint64>("bytes");
        QTest::newRow("100 kB of zeros") << QByteArray("100 kB of zeros") << 2
                                         << qint64(varnotest::zeroRun(100000));
        QTest::newRow("10,000 entries") << QByteArray("10,000 entries") << 10000 << qint64(0);
        QTest::newRow("3 entries in Zip64") << QByteArray("3 entries in Zip64") << 3 << qint64(0);
        // Read by the central directory: the entries it does not name are never unpacked.
        QTest::newRow("100,000 unlisted entries") << QByteArray("100,000 unlisted entries") << 1 << qint64(0);
        // Made as a packer writing to a pipe, Info-ZIP's Zip64 and macOS's archiver make them.
        for (const char *kind : {"streamed, with extra fields", "streamed, sizes in both", "zip to a pipe",
                                 "zip -fz"})
            QTest::newRow(kind) << QByteArray(kind) << 2 << qint64(15 + 4);
        QTest::newRow("end records in the last entry")
            << QByteArray("end records in the last entry") << 2 << qint64(44);
        QTest::newRow("Evil hidden in Yard") << QByteArray("Evil hidden in Yard") << 1
                                             << qint64(varnotest::evilInYard().size());
        // An end record inside the last file's data names no directory of this archive.
        QTest::newRow("our export ending in a zip") << QByteArray("our export ending in a zip") << 3
                                                    << qint64(15 + 4 + noiseZip().size());
        // The name of the Unicode path field where its checksum is the stored name's; the stored one else.
        QTest::newRow("a Unicode path, right checksum") << QByteArray("a Unicode path, right checksum") << 2
                                                        << qint64(4);
        QTest::newRow("a Unicode path, wrong checksum") << QByteArray("a Unicode path, wrong checksum") << 2
                                                        << qint64(4);
        // A count wrapped at 65,536, or a few records stated over records up to the bound on the
        // directory's size, is refused before libzip reads past it: no more than the directory is
        // held. A Unicode path may not lead out either.
        for (const char *kind : {"196,608 records, the count wrapped", "217,872 records, stated as 5",
                                 "a Unicode path, to ../"})
            QTest::newRow(kind) << QByteArray(kind) << -1 << qint64(0);
        for (const char *kind : {"5 GiB of zeros", "1 GiB stated as 1 MiB", "10,001 entries",
                                 "100,000 entries stated as 1", "1,000,000 listed entries",
                                 "12,000 hidden entries", "9,999 hidden entries, both headers stating 1",
                                 "200 bytes stated, 1 stored", "overlapping entries",
                                 "wrong checksum in the third entry", "a directory libzip refuses",
                                 "an end record 65,558 bytes from the end, before the cost shape",
                                 "two end records", "data shared through a local extra field"})
            QTest::newRow(kind) << QByteArray(kind) << -1 << qint64(0);
    }
    void unpackingIsBounded()
    {
        QFETCH(QByteArray, kind);
        QFETCH(int, files);
        QFETCH(qint64, bytes);
        const QString zip = root() + QStringLiteral("/limits.zip");
        const bool tool = kind.startsWith("zip ") || kind.startsWith("our ");
        writeFile(zip, tool ? toolZip(kind) : varnotest::unpackLimitArchive(kind));
        QTemporaryDir into;
        const auto descriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
        const uint open = descriptors();
        const varnotest::ResidentGrowth memory;
        {
            const varnotest::FileSizeBound bound(64 << 20);
            QCOMPARE(ZipArchive::extractDir(zip, into.path()), files >= 0);
        }
        QCOMPARE(descriptors(), open); // refused or not, nothing of the archive stays open
        const long grown = memory.kib();
        // A directory refused before libzip reads it: little more than its own bytes are held.
        const bool unparsed = kind.endsWith("wrapped") || kind.contains(", stated as ");
        QVERIFY2(grown < varnotest::UnpackMemoryBoundKiB / (unparsed ? 5 : 1),
                 qPrintable(QString::number(grown)));
        // One whose count wrapped to 0 is not read at all: not a quarter of it is held.
        QVERIFY(!kind.endsWith("wrapped") || grown < QFileInfo(zip).size() / 4096);
        // A refused archive leaves nothing, not even its folders.
        const auto all = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
        QCOMPARE(QDir(into.path()).isEmpty(all), files < 0);
        int found = 0;
        qint64 size = 0;
        for (QDirIterator it(into.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            size += QFileInfo(it.next()).size();
            ++found;
        }
        QCOMPARE(found, qMax(files, 0));
        QCOMPARE(size, bytes);
        if (kind.startsWith("our "))
            QCOMPARE(readFile(into.filePath(QStringLiteral("Yard/zz.zip"))), noiseZip());
        if (kind.startsWith("a Unicode path, ") && files >= 0) {
            const QString name = kind.endsWith("right checksum") ? QStringLiteral("Yard/caf\u00e9.txt")
                                                                  : QStringLiteral("Yard/cafe.txt");
            QCOMPARE(readFile(into.filePath(name)), QByteArray("cafe"));
        }
        if (kind == "Evil hidden in Yard")
            QCOMPARE(readFile(into.filePath(QStringLiteral("Yard/Yard.db3"))), varnotest::evilInYard());
        if (!memory.measured())
            QSKIP("the kernel refuses to reset the peak resident memory: its growth is not measured");
    }

    void isSafeEntry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        QTest::newRow("file") << "Proj/Proj.db3" << true;
        QTest::newRow("folder") << "Proj/" << true;
        QTest::newRow("dots inside a name") << "Proj/v1..2.png" << true;
        QTest::newRow("hidden file") << "Proj/.hidden" << true;
        QTest::newRow("dot-dot") << "../x" << false;
        QTest::newRow("dot-dot last") << "Proj/.." << false;
        QTest::newRow("absolute") << "/etc/passwd" << false;
        QTest::newRow("backslash absolute") << "\\x" << false;
        QTest::newRow("drive") << "c:x" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("only a slash") << "/" << false;
        QTest::newRow("doubled slash") << "a//b" << false;
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << false;
    }
    void isSafeEntry()
    {
        QFETCH(QString, name);
        QFETCH(bool, safe);
        ZipArchive::Entry entry;
        entry.name = name;
        QCOMPARE(ZipArchive::isSafeEntry(entry), safe);
        entry.isSymLink = true;
        QVERIFY(!ZipArchive::isSafeEntry(entry));
    }

    void decompressRefusesTargetsOutsideTheDatabaseFolder_data()
    {
        QTest::addColumn<QString>("target"); // relative to the root
        QTest::newRow("outside") << "outside";
        QTest::newRow("the database folder") << "database";
        QTest::newRow("a grandchild") << "database/Proj/sub";
        QTest::newRow("dot-dot") << "database/Proj/..";
        QTest::newRow("linked folder") << "database/linked";
    }
    void decompressRefusesTargetsOutsideTheDatabaseFolder()
    {
        QFETCH(QString, target);
        writeFile(root() + QStringLiteral("/outside/precious.txt"), "p");
        QVERIFY(QFile::link(root() + QStringLiteral("/outside"), database() + QStringLiteral("/linked")));
        compressFolder({QStringLiteral("Proj")}, root() + QStringLiteral("/p.zip"));
        const QStringList before = tree(root());
        decompressFolder(root() + QStringLiteral("/p.zip"), root() + QLatin1Char('/') + target);
        QCOMPARE(tree(root()), before);
    }

    void decompressIntoEmptyFolderElsewhere()
    {
        compressFolder({QStringLiteral("Proj")}, root() + QStringLiteral("/p.zip"));
        QTemporaryDir elsewhere;
        decompressFolder(root() + QStringLiteral("/p.zip"), elsewhere.path());
        QCOMPARE(readFile(elsewhere.path() + QStringLiteral("/Proj/sub/deep.txt")), QByteArray("deep"));
    }
};

VARNO_TEST_MAIN(TestFileHelpers)
#include "tst_filehelpers.moc"
