// The settings file, the machine key store and the start-up configuration.

#include "filesizelimit.h"
#include "testmain.h"

#include "bus/broadcastsocket.h"
#include "store/globals.h"
#include "store/keystore.h"
#include "store/machineinfo.h"
#include "store/safesave.h"
#include "store/settings.h"
#include "store/startupconfig.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

class TestSettings : public QObject
{
    Q_OBJECT

    static QString settingsFile()
    {
        return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Kest/Varno.ini");
    }

    // The settings file as a link to linkTarget().
    static QString linkTarget() { return qEnvironmentVariable("XDG_CONFIG_HOME") + "/elsewhere/Varno.ini"; }
    static bool linkSettings()
    {
        return QDir().mkpath(QFileInfo(linkTarget()).path()) &&
               QDir().mkpath(QFileInfo(settingsFile()).path()) && QFile::link(linkTarget(), settingsFile());
    }

    // What a write stopped before its new file was confirmed leaves: the earlier file
    // kept aside under a second name, and a new file cut short in its place.
    static bool stopWrite(const QString &path)
    {
        const QByteArray name = QFile::encodeName(path);
        QFile cut(path);
        return ::link(name.constData(), (name + ".kept").constData()) == 0 && cut.remove() &&
               cut.open(QIODevice::WriteOnly) && cut.write("[g") == 2;
    }

    // The settings file that a first start writes, taken away again.
    static QByteArray firstStartSettings()
    {
        QTemporaryDir appDir;
        QFile file(settingsFile());
        file.remove();
        initConfig(appDir.path());
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        file.remove();
        return bytes;
    }

private slots:
    void init()
    {
        QFile::remove(settingsFile());
        QFile::remove(linkTarget());
        QFile::remove(keyStorePath());
    }

    void configRoundTrip()
    {
        QString value = QStringLiteral("unchanged");
        getConfig(QStringLiteral("about"), QStringLiteral("about_name"), value);
        QCOMPARE(value, QString());
        setConfig(QStringLiteral("about"), QStringLiteral("about_name"), QStringLiteral("Bob's shop"));
        getConfig(QStringLiteral("about"), QStringLiteral("about_name"), value);
        QCOMPARE(value, QStringLiteral("Bob's shop"));
        // The file is an INI file in the user's configuration folder, under Kest/Varno.
        QVERIFY(QFile::exists(settingsFile()));
        QSettings ini(settingsFile(), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("about/about_name")).toString(), QStringLiteral("Bob's shop"));
        QVERIFY(!checkOnly());
    }

    void keyStore()
    {
        QString value = QStringLiteral("x");
        getRegKey(QStringLiteral("machineUniqueId"), value);
        QVERIFY(value.isEmpty());
        setRegKey(QStringLiteral("machineUniqueId"), QStringLiteral("abc123"));
        getRegKey(QStringLiteral("machineUniqueId"), value);
        QCOMPARE(value, QStringLiteral("abc123"));
        QCOMPARE(keyStorePath(), QDir::homePath() + QStringLiteral("/Kest/Varno/com.kestgrid.plist"));
        QVERIFY(QFile::exists(keyStorePath()));
        QVERIFY(keyStorePath().startsWith(qEnvironmentVariable("HOME")));
    }

    // A disk with room for the file as it stands but not for the new one, or with no room at all:
    // the change is refused, and the file and its value, read afresh, stay as they were.
    void fullDiskKeepsFile_data()
    {
        QTest::addColumn<bool>("keyStore");
        QTest::addColumn<int>("room"); // bytes past the file as it stands; -1: none at all
        QTest::newRow("settings, cut") << false << 16;
        QTest::newRow("key store, cut") << true << 16;
        QTest::newRow("key store, no room") << true << -1;
        QTest::newRow("linked settings, cut: the target kept") << false << 16;
    }
    void fullDiskKeepsFile()
    {
        QFETCH(bool, keyStore);
        QFETCH(int, room);
        const bool linked = QByteArray(QTest::currentDataTag()).startsWith("linked");
        QVERIFY(!linked || linkSettings());
        // The old value is longer than the lock file that the write takes, which must fit.
        const QString file = keyStore ? keyStorePath() : linked ? linkTarget() : settingsFile();
        const QString old(256, 'o');
        const auto set = [&](QString v) { return keyStore ? setRegKey("k", v) : setConfig("g", "k", v); };
        QFile f(file);
        QVERIFY(set(old) && f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        {
            const varnotest::FileSizeLimit limit(room < 0 ? 0 : before.size() + room);
            QVERIFY(!set(QString(1000, 'x')));
        }
        QString value;
        keyStore ? getRegKey("k", value) : getConfig("g", "k", value);
        QCOMPARE(value, old);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        QCOMPARE(QFileInfo(file).dir().entryList(QDir::Files | QDir::Hidden).size(), 1); // nothing beside it
        QCOMPARE(QFileInfo(settingsFile()).isSymLink(), linked);
    }

    void machineIdentity()
    {
        const QByteArray raw = QSysInfo::machineUniqueId();
        const QString id = MachineInfo::machineUniqueId();
        QVERIFY(!id.contains(QChar(0)));
        if (!raw.isEmpty())
            QVERIFY(raw.startsWith(id.toUtf8()));
        QCOMPARE(MachineInfo::getOsName(), QSysInfo::prettyProductName());
    }

    void firstStartWritesDefaults()
    {
        QTemporaryDir appDir;
        initConfig(appDir.path());
        QCOMPARE(gl_curPath, appDir.path());
        QSettings ini(settingsFile(), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("address/subId")).toString(), QStringLiteral("1"));
        QCOMPARE(ini.value(QStringLiteral("address/devId")).toString(), QStringLiteral("254"));
        QCOMPARE(ini.value(QStringLiteral("address/lock_password")).toString(), QStringLiteral("qmx482"));
        QCOMPARE(ini.value(QStringLiteral("address/retain_days")).toString(), QStringLiteral("30"));
        QCOMPARE(gl_lockPassword, QStringLiteral("qmx482"));
        QCOMPARE(gl_retainDays, QStringLiteral("30"));
        unsigned char sub = 0, dev = 0;
        gl_socket.getId(sub, dev);
        QCOMPARE(int(sub), 1);
        QCOMPARE(int(dev), 254);

        QString path;
        getRegKey(QStringLiteral("applicationFilePath"), path);
        QCOMPARE(path, QCoreApplication::applicationFilePath());

        const QString logo = appDir.filePath(QStringLiteral("skin/logo.ico"));
        QVERIFY(QFile::exists(logo));
        QFile resource(QStringLiteral(":/myImages/icons/logo.ico"));
        QFile copied(logo);
        QVERIFY(resource.open(QIODevice::ReadOnly));
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), resource.readAll());
    }

    void storedAddresses_data()
    {
        QTest::addColumn<QString>("subId");
        QTest::addColumn<QString>("devId");
        QTest::addColumn<int>("sub");
        QTest::addColumn<int>("dev");
        QTest::newRow("plain") << "3"
                               << "20" << 3 << 20;
        QTest::newRow("device above 255") << "1"
                                          << "300" << 1 << 44;
        QTest::newRow("letters") << "abc"
                                 << "254" << 0 << 254;
        QTest::newRow("empty subnet gets default") << ""
                                                   << "7" << 1 << 7;
        // A write stopped before its new file was confirmed: the start puts the earlier file back.
        for (const char *stopped : {"settings", "key store", "linked settings"})
            QTest::addRow("write of the %s stopped", stopped) << "3" << "20" << 3 << 20;
        QTest::newRow("a foreign file kept beside the key store") << "3" << "20" << 3 << 20; // set aside
    }
    void storedAddresses()
    {
        QFETCH(QString, subId);
        QFETCH(QString, devId);
        QFETCH(int, sub);
        QFETCH(int, dev);
        const QString tag = QTest::currentDataTag();
        const bool linked = tag.contains("linked");
        QVERIFY(!linked || linkSettings());
        setConfig(QStringLiteral("address"), QStringLiteral("subId"), subId);
        setConfig(QStringLiteral("address"), QStringLiteral("devId"), devId);
        setConfig(QStringLiteral("address"), QStringLiteral("lock_password"), QStringLiteral("secret"));
        QVERIFY(setConfig("address", "retain_days", "30")); // with it every key a start writes
        QVERIFY(setConfig("project", "transfer_server", "192.0.2.7") && setRegKey("machineUniqueId", "m1"));
        QVERIFY(setRegKey("applicationFilePath", QCoreApplication::applicationFilePath())); // as a start does
        const QString file =
            tag.contains("key store") ? keyStorePath() : linked ? linkTarget() : settingsFile();
        QVERIFY(!tag.startsWith("write") || stopWrite(file));
        QFile foreign(keyStorePath() + ".kept");
        QVERIFY(!tag.startsWith("a foreign") ||
                (foreign.open(QIODevice::WriteOnly) && foreign.write("x=1\n") == 4));
        foreign.close();
        QTemporaryDir appDir;
        initConfig(appDir.path());
        QString server, id;
        getConfig("project", "transfer_server", server);
        getRegKey("machineUniqueId", id);
        QCOMPARE(server + ' ' + id, QStringLiteral("192.0.2.7 m1"));
        QCOMPARE(QFileInfo(settingsFile()).isSymLink(), linked);
        unsigned char s = 0, d = 0;
        gl_socket.getId(s, d);
        QCOMPARE(int(s), sub);
        QCOMPARE(int(d), dev);
        // A present value is never rewritten; an empty one gets its default.
        QString stored;
        getConfig(QStringLiteral("address"), QStringLiteral("subId"), stored);
        QCOMPARE(stored, subId.isEmpty() ? QStringLiteral("1") : subId);
        QCOMPARE(gl_devId, devId);
        QCOMPARE(gl_lockPassword, QStringLiteral("secret"));
    }

    // A file kept aside stays there at start while another instance holds the writer's lock (one
    // process cannot take a QLockFile twice, as two cannot), or when it holds no settings. One that
    // is no whole settings file of the program is set aside under another name.
    void putBackAtStart_data()
    {
        QTest::addColumn<QByteArray>("kept");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("left"); // where the kept bytes are then; "": put back
        QTest::newRow("another instance writing") << QByteArray("[g]\nk=earlier\n") << true << ".kept";
        QTest::newRow("empty") << QByteArray() << false << ".kept";
        QTest::newRow("no settings") << QByteArray::fromHex("7f454c4602010a") << false << ".kept";
        QTest::newRow("garbage with a key= line")
            << QByteArray("\x93\0\xfe\nx=1\n\xff", 9) << false << ".kept.bad";
        QTest::newRow("a foreign text holding x=1") << QByteArray("x=1\n") << false << ".kept.bad";
        const QByteArray whole = firstStartSettings();
        QTest::newRow("half of a settings file") << whole.left(whole.size() / 2) << false << ".kept.bad";
        QTest::newRow("a whole settings file with a line that breaks it")
            << whole + "broken line\n" << false << ".kept.bad";
        QTest::newRow("a whole settings file") << whole << false << "";
    }
    void putBackAtStart()
    {
        QFETCH(QByteArray, kept);
        QFETCH(bool, locked);
        QFETCH(QString, left);
        const auto bytes = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
        };
        QVERIFY(setConfig("g", "k", "new"));
        const QByteArray good = bytes(settingsFile());
        QFile aside(settingsFile() + QStringLiteral(".kept"));
        QVERIFY(aside.open(QIODevice::WriteOnly) && aside.write(kept) == kept.size() && aside.flush());
        aside.close();
        QLockFile writer(settingsFile() + QStringLiteral(".keeping"));
        QVERIFY(!locked || writer.tryLock(0));
        putBackUnconfirmed(settingsFile(), startSettingKeys());
        QCOMPARE(bytes(settingsFile()), left.isEmpty() ? kept : good);
        QCOMPARE(bytes(settingsFile() + left), kept);
        QCOMPARE(aside.exists(), left == ".kept");
        QVERIFY(left.isEmpty() || QFile::remove(settingsFile() + left)); // gone for the next test
    }

    void existingLogoIsKept()
    {
        QTemporaryDir appDir;
        QDir(appDir.path()).mkdir(QStringLiteral("skin"));
        const QString logo = appDir.filePath(QStringLiteral("skin/logo.ico"));
        QFile f(logo);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("mine");
        f.close();
        initConfig(appDir.path());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("mine"));
        f.close();
        QFile::remove(logo);
        initConfig(appDir.path());
        QVERIFY(QFile(logo).size() > 100);
    }
};

VARNO_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
