// The exit's bound on background work: when work still runs after it, the paths
// remembered for that work are removed (a folder with all it holds, a file, a link
// itself and never what it points to); a path forgotten or never remembered stays,
// and so does everything when the work ended in time.

#include "testmain.h"

#include "store/backgroundwork.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

namespace {

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every entry below dir, relative and sorted: links with their target (not followed),
// folders with a "/", files with their bytes.
QString tree(const QString &dir)
{
    QStringList out;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString rel = QDir(dir).relativeFilePath(info.filePath());
        QFile file(info.filePath());
        out << (info.isSymLink() ? rel + " -> " + info.symLinkTarget()
                : info.isDir()   ? rel + '/'
                                 : rel + '=' + (file.open(QIODevice::ReadOnly) ? file.readAll() : "?"));
    }
    out.sort();
    return out.join(", ");
}

} // namespace

class TestBackgroundWork : public QObject
{
    Q_OBJECT

private slots:
    void finishRemovesWhatIsRemembered_data()
    {
        QTest::addColumn<QString>("kind");   // folder (files, a subfolder, a link out), file, link
        QTest::addColumn<QString>("memory"); // remembered, forgotten, never
        QTest::addColumn<bool>("held");      // the work still runs after the bound
        QTest::newRow("a folder with files") << "folder" << "remembered" << true;
        QTest::newRow("a file") << "file" << "remembered" << true;
        QTest::newRow("a link to a folder elsewhere") << "link" << "remembered" << true;
        QTest::newRow("a folder forgotten") << "folder" << "forgotten" << true;
        QTest::newRow("a file forgotten") << "file" << "forgotten" << true;
        QTest::newRow("a folder never remembered") << "folder" << "never" << true;
        QTest::newRow("a file never remembered") << "file" << "never" << true;
        QTest::newRow("a folder, the work ended in time") << "folder" << "remembered" << false;
    }
    void finishRemovesWhatIsRemembered()
    {
        QFETCH(QString, kind);
        QFETCH(QString, memory);
        QFETCH(bool, held);
        const QTemporaryDir root;
        const QString outside = root.filePath("outside"), path = root.filePath("left");
        QVERIFY(QDir().mkpath(outside + "/deep") && write(outside + "/deep/kept", "kept"));
        const QString kept = tree(root.path()); // all below "outside" stays, a link's target too
        if (kind == "folder")
            QVERIFY(QDir().mkpath(path + "/sub") && write(path + "/a", "a") && write(path + "/sub/b", "b") &&
                    QFile::link(outside, path + "/sub/out"));
        else
            QVERIFY(kind == "file" ? write(path, "file") : QFile::link(outside, path));
        const QString before = tree(root.path());
        if (memory != "never")
            BackgroundWork::remember(path);
        if (memory == "forgotten")
            BackgroundWork::forget(path);

        QSemaphore started, release;
        const auto end = qScopeGuard([&] {
            release.release();
            QVERIFY(BackgroundWork::pool().waitForDone(5000));
            BackgroundWork::forget(path);
            BackgroundWork::resetForTests();
        });
        BackgroundWork::pool().start([&] { started.release(), release.acquire(); });
        QVERIFY(started.tryAcquire(1, 5000)); // running, so that finish() cannot drop it
        if (!held)
            release.release();
        QCOMPARE(BackgroundWork::finish(held ? 0 : 5000), !held);
        QCOMPARE(tree(root.path()), memory == "remembered" && held ? kept : before);
    }
};

VARNO_TEST_MAIN(TestBackgroundWork)
#include "tst_backgroundwork.moc"
