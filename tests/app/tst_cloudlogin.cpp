// End to end: the program, copied into a temporary folder with a project in the
// "Cloud Server" style, logs in to the simulated cloud server (the
// varno-simdevice program on 127.0.0.1:6010) and shows the connected mark.

#include "testmain.h"

#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Whether the image holds a pixel of the connected mark's colour in the strip
// of the menu bar where the network mark sits (the right third).
bool showsConnectedMark(const QImage &image)
{
    const QColor active(0x2E, 0xC4, 0xB6);
    for (int y = 0; y < 30 && y < image.height(); ++y) {
        for (int x = image.width() * 2 / 3; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - active.red()) < 24 && qAbs(c.green() - active.green()) < 24 &&
                qAbs(c.blue() - active.blue()) < 24)
                return true;
        }
    }
    return false;
}

} // namespace

class TestCloudLogin : public QObject
{
    Q_OBJECT

private slots:
    void logsInToTheCloudServer()
    {
        if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
            QSKIP("opens the bus: run inside the private network namespace of ./test");
        QTemporaryDir root;
        QDir(root.path()).mkpath(QStringLiteral("app"));
        QDir(root.path()).mkpath(QStringLiteral("home"));
        QDir(root.path()).mkpath(QStringLiteral("config"));
        const QString app = root.filePath(QStringLiteral("app"));
        QVERIFY(QFile::copy(QStringLiteral(VARNO_EXECUTABLE), app + QStringLiteral("/varno")));
        QFile::setPermissions(app + QStringLiteral("/varno"), QFile::ReadOwner | QFile::ExeOwner);

        // The project: a cloud server on loopback, the module's MAC and password,
        // and a few rooms for the home page.
        gl_curPath = app;
        preInitProject();
        for (const char *sql :
             {"update tbl_network set ip_port_mac='01-02-03-04-05-06-07-08',password='pw12',"
              "server_ip='127.0.0.1'",
              "insert into tbl_region(region_name,region_id) values('North',1)",
              "insert into tbl_floor(floor_name,floor_id,region_id) values('Ground',1,1)",
              "insert into tbl_room(room_name,icon_name,room_id,floor_id,region_id) "
              "values('Kitchen','room_1',1,1,1)",
              "insert into tbl_room(room_name,icon_name,room_id,floor_id,region_id) "
              "values('Bob''s office','room_7',2,1,1)",
              "insert into tbl_room(room_name,icon_name,room_id,floor_id,region_id) "
              "values('Lounge','room_13',3,1,1)"})
            QVERIFY(gl_sqlite3db.execDML(QLatin1String(sql)));
        gl_sqlite3db.close();
        setProjectNode(QStringLiteral("Home"), QStringLiteral("network_type"), QStringLiteral("1"));

        QProcess server;
        server.setProcessChannelMode(QProcess::MergedChannels);
        server.start(QStringLiteral(VARNO_SIMDEVICE_PATH),
                     {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:6010"),
                      QStringLiteral("--cloud-result"), QStringLiteral("0")});
        QVERIFY(server.waitForStarted(5000));
        QByteArray serverOut;
        QElapsedTimer timer;
        timer.start();
        while (!serverOut.contains("READY") && timer.elapsed() < 5000) {
            server.waitForReadyRead(100);
            serverOut += server.readAll();
        }
        QVERIFY2(serverOut.contains("READY"), serverOut.constData());

        const QString shot = root.filePath(QStringLiteral("shot.png"));
        QProcess varno;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("VARNO_SCREENSHOT"), shot);
        varno.setProcessEnvironment(env);
        varno.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        varno.start(app + QStringLiteral("/varno"), QStringList());
        QVERIFY(varno.waitForStarted(5000));
        timer.restart();
        while (!QFile::exists(shot) && timer.elapsed() < 30000 && varno.state() == QProcess::Running)
            QTest::qWait(100);
        varno.terminate();
        varno.waitForFinished(5000);
        server.waitForReadyRead(200);
        serverOut += server.readAll();
        server.terminate();
        server.waitForFinished(5000);

        // One 56-byte cloud login reached the server, which answered it.
        QVERIFY2(serverOut.contains("RX 127.0.0.1:"), serverOut.constData());
        QVERIFY2(serverOut.contains(" cc cc 00 38 00 a2"), serverOut.constData());
        QVERIFY2(serverOut.contains("TX cc cc 00 10 00 a3"), serverOut.constData());

        QImage image(shot);
        QVERIFY(!image.isNull());
        const QString copy = QStringLiteral(VARNO_SCREENSHOT_DIR "/cloud-home.png");
        QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR));
        image.save(copy);
        QVERIFY2(showsConnectedMark(image), "the menu bar does not show the connected cloud mark");
    }
};

VARNO_TEST_MAIN(TestCloudLogin)
#include "tst_cloudlogin.moc"
