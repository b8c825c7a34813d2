// End to end: the installer's path through the real main window to the IP
// module. The project is in the "DNS Server" style with its router domain on
// 127.0.0.2, where the varno-simdevice program runs the site's IP module 1/100.
//
// Setting (unlock) -> "Network Setting" -> search icon -> the module's join frame
// -> the query fills the form -> unlock the form, change the server and the
// domain -> Save, Ok -> the module holds the new settings and the project
// database the saved row. Screenshots of each step go to the build folder.

#include "testmain.h"
#include "windowpress.h"

#include "app/mainwindow.h"
#include "bus/broadcastsocket.h"
#include "settings/pagesettingchangedeviceaddress.h"
#include "settings/pagesettingnetwork.h"
#include "settings/settingslock.h"
#include "shell/kestmessagebox.h"
#include "shell/menubar.h"
#include "shell/unlockdlg.h"
#include "store/cppsqlite3db.h"
#include "store/databaseinit.h"
#include "store/globals.h"
#include "store/projectlist.h"

#include <QAnimationGroup>
#include <QDir>
#include <QProcess>
#include <QScreen>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <qprogressindicator.h>
#include <qtmaterialcombobox.h>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialradiobutton.h>

namespace {

void answerUnlock(const QString &password)
{
    QTimer::singleShot(50, [password] {
        auto *dialog = qobject_cast<UnlockDlg *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->passwordField()->setText(password);
        dialog->findChild<QAbstractButton *>(QStringLiteral("pushButtonOk"))->click();
    });
}

} // namespace

class TestSettingsPath : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void moduleTakesTheNewSettings();

private:
    QStringList simCommand(const QString &command, const QString &last);
    QImage shot(const QString &name);

    QTemporaryDir m_app;
    QProcess m_module;
    QByteArray m_simOutput;
    QScopedPointer<MainWindow> m_window;
};

QStringList TestSettingsPath::simCommand(const QString &command, const QString &last)
{
    const int before = m_simOutput.count(last.toLatin1());
    m_module.write((command + QLatin1Char('\n')).toUtf8());
    QElapsedTimer timer;
    timer.start();
    while (m_simOutput.count(last.toLatin1()) <= before && timer.elapsed() < 5000)
        QTest::qWait(10);
    return QString::fromLatin1(m_simOutput).split(QLatin1Char('\n'));
}

QImage TestSettingsPath::shot(const QString &name)
{
    // The radio buttons' check marks animate; the picture is taken once they rest.
    const auto atRest = [this] {
        QCoreApplication::sendPostedEvents();
        for (const QAbstractAnimation *a : m_window->findChildren<QAbstractAnimation *>()) {
            bool endless = a->totalDuration() < 0;
            for (const QAbstractAnimation *g = a->group(); g; g = g->group())
                endless = endless || g->totalDuration() < 0;
            if (a->state() == QAbstractAnimation::Running && !endless)
                return false;
        }
        return true;
    };
    if (!QTest::qWaitFor(atRest, 5000))
        QTest::qFail(qPrintable(QStringLiteral("screenshot %1 taken while animating").arg(name)),
                     __FILE__, __LINE__);
    const QImage image = m_window->grab().toImage();
    QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR));
    if (image.size() != QSize(1920, 1080) ||
        !image.save(QStringLiteral(VARNO_SCREENSHOT_DIR "/%1.png").arg(name)))
        qWarning() << "screenshot" << name << "not saved";
    return image;
}

void TestSettingsPath::initTestCase()
{
    if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
        QSKIP("opens the bus: run inside the private network namespace of ./test");
    connect(&m_module, &QProcess::readyReadStandardOutput, this,
            [this] { m_simOutput += m_module.readAllStandardOutput(); });
    m_module.start(QStringLiteral(VARNO_SIMDEVICE_PATH),
                   {QStringLiteral("--udp"), QStringLiteral("127.0.0.2:6000"), QStringLiteral("--ip-module"),
                    QStringLiteral("1/100"), QStringLiteral("--dns-result"), QStringLiteral("1"),
                    QStringLiteral("--commands"), QStringLiteral("--exit-on-eof")});
    QVERIFY(m_module.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m_simOutput.contains("READY"), 5000);

    QVERIFY(m_app.isValid());
    gl_curPath = m_app.path();
    screen_cx = 1920;
    screen_cy = 1080;
    gl_subId = QStringLiteral("1");
    gl_devId = QStringLiteral("254");
    gl_lockPassword = QStringLiteral("qmx482");
    gl_retainDays = QStringLiteral("30");
    gl_socket.setId(1, 254);
    preInitProject();
    QVERIFY(gl_sqlite3db.execDML(QStringLiteral("update tbl_network set domain_name='127.0.0.2',"
                                                "ip_port_mac='01-02-03-04-05-06-07-08'")));
    getNetworkConfig();
    setProjectNode(QStringLiteral("Home"), QStringLiteral("network_type"),
                   QString::number(NetStyleDnsServer));

    m_window.reset(new MainWindow(nullptr));
    m_window->showNormal();
    m_window->resize(1920, 1080);
    QVERIFY(QTest::qWaitForWindowExposed(m_window.data()));
    QSignalSpy state(&gl_socket, &BroadcastSocket::signalsNetworkConnectState);
    QVERIFY(state.wait(5000));
    QVERIFY(state.at(0).at(0).toBool());
}

void TestSettingsPath::cleanupTestCase()
{
    m_window.reset();
    gl_socket.closeSocket();
    gl_sqlite3db.close();
    if (m_module.state() != QProcess::NotRunning) {
        m_module.closeWriteChannel();
        if (!m_module.waitForFinished(2000)) {
            m_module.kill();
            m_module.waitForFinished(2000);
        }
    }
}

void TestSettingsPath::moduleTakesTheNewSettings()
{
    // The menu bar's setting control asks for the lock password first.
    QSignalSpy pages(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
    answerUnlock(gl_lockPassword);
    QMetaObject::invokeMethod(m_window->menuBar(), "labelSetting_pressed");
    QCOMPARE(pages.count(), 1);
    QCOMPARE(pages.at(0).at(0).toString(), QStringLiteral("Setting"));
    // The hub's tile asks for the page by its id.
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Network Setting"), QStringLiteral("Network Setting"),
                                        QString(), QString());
    PageSettingNetwork *page = m_window->findChild<PageSettingNetwork *>();
    QVERIFY(page);
    QVERIFY(page->isVisible());
    QVERIFY(!page->subnetField()->isEnabled());
    const QImage networkLocked = shot(QStringLiteral("settings_network_locked"));
    QCOMPARE(networkLocked.size(), QSize(1920, 1080));

    // Search, then the module's PRG button: the join frame fills the address and
    // MAC and the query reads the module's settings.
    QSignalSpy info(&gl_socket, &BroadcastSocket::signalsInformation);
    // (The icon sits at the top right, beyond the offscreen screen: its signal.)
    emit page->searchIcon()->signalsPressed();
    QCOMPARE(info.count(), 1);
    simCommand(QStringLiteral("join 1/100"), QStringLiteral("SENT"));
    QTRY_COMPARE(page->macBox()->currentText(), QStringLiteral("0A-1B-2C-3D-4E-5F-60-71"));
    QCOMPARE(page->subnetField()->text(), QStringLiteral("1"));
    QCOMPARE(page->deviceField()->text(), QStringLiteral("100"));
    QTRY_VERIFY_WITH_TIMEOUT(!page->queryTimer()->isActive(), 5000);
    QVERIFY(page->styleButton(0)->isChecked());
    QCOMPARE(page->serverBox()->currentText(), QStringLiteral("0.0.0.0"));
    QCOMPARE(page->passwordField()->text(), QString());
    QCOMPARE(info.count(), 1);

    // Unlock the form, give a server and a domain and a password.
    answerUnlock(gl_lockPassword);
    QVERIFY(varnotest::pressOnScreen(page->passwordField()));
    QVERIFY(page->settingsLock()->isUnlocked());
    QTest::keyClicks(page->passwordField(), QStringLiteral("pw34"));
    page->styleButton(2)->click(); // beyond the offscreen screen
    QVERIFY(page->domainBox()->isVisible() && page->domainBox()->isEnabled());
    page->domainBox()->lineEdit()->clear();
    QTest::keyClicks(page->domainBox()->lineEdit(), QStringLiteral("site.example.org"));
    page->styleButton(1)->click();
    QVERIFY(page->serverBox()->isVisible() && page->serverBox()->isEnabled());
    page->serverBox()->lineEdit()->clear();
    QTest::keyClicks(page->serverBox()->lineEdit(), QStringLiteral("198.51.100.9"));
    QCOMPARE(page->serverBox()->currentText(), QStringLiteral("198.51.100.9"));
    QVERIFY(shot(QStringLiteral("settings_network_unlocked")) != networkLocked);

    // Save, Ok: the module takes both parts, the row is stored.
    QTimer::singleShot(50, [] {
        auto *box = qobject_cast<KestMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        box->findChild<QAbstractButton *>(QStringLiteral("pushButtonOk"))->click();
    });
    page->saveButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(info.last().at(0).toString(), QStringLiteral("Synchronize successfully"),
                              5000);
    QCOMPARE(pages.last().at(0).toString(), QStringLiteral("Setting"));
    const QStringList lines = simCommand(QStringLiteral("module 1/100"), QStringLiteral("END"));
    QVERIFY(lines.contains(QStringLiteral("MODULE 1/100 198.51.100.9 0 70773334 1 site.example.org")));
    QSqlQuery row = gl_sqlite3db.execQuery(
        QStringLiteral("select subnet_id,device_id,ip_port_mac,password,server_ip,server_type,static_domain "
                       "from tbl_network"));
    QVERIFY(row.next());
    QCOMPARE(row.value(0).toInt(), 1);
    QCOMPARE(row.value(1).toInt(), 100);
    QCOMPARE(row.value(2).toString(), QStringLiteral("0A-1B-2C-3D-4E-5F-60-71"));
    QCOMPARE(row.value(3).toString(), QStringLiteral("pw34"));
    QCOMPARE(row.value(4).toString(), QStringLiteral("198.51.100.9"));
    QCOMPARE(row.value(5).toInt(), 1);
    QCOMPARE(row.value(6).toString(), QStringLiteral("site.example.org"));
    row.finish();
    QCOMPARE(gl_password, QStringLiteral("pw34"));

    // "Change Device Address", locked and unlocked, and "About", from the hub's tiles.
    emit gl_socket.signalsPageIdChanged(QStringLiteral("Change Device Address"),
                                        QStringLiteral("Change Device Address"), QString(), QString());
    auto *address = m_window->findChild<PageSettingChangeDeviceAddress *>();
    QVERIFY(address && address->isVisible() && !address->subnetField()->isEnabled());
    const QImage locked = shot(QStringLiteral("settings_address_locked"));
    answerUnlock(gl_lockPassword);
    QVERIFY(varnotest::pressOnScreen(address->subnetField()));
    QVERIFY(address->retainDaysField()->isEnabled());
    QVERIFY(shot(QStringLiteral("settings_address_unlocked")) != locked);
    emit gl_socket.signalsPageIdChanged(QStringLiteral("About"), QStringLiteral("About"), QString(),
                                        QString());
    shot(QStringLiteral("settings_about"));
}

VARNO_TEST_MAIN(TestSettingsPath)
#include "tst_settingspath.moc"
