// The network opening and login of the main window against the simulated cloud
// server (TCP 127.0.0.1:6010) and the simulated "DNS Server" end (UDP
// 127.0.0.2:6000). The login ticks are driven by hand instead of waiting 11 s.

#include "testmain.h"

#include "app/mainwindow.h"
#include "bus/broadcastsocket.h"
#include "shell/menubar.h"
#include "shell/networkstyledlg.h"
#include "shell/networkstyleitem.h"
#include "simbus.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/keystore.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <qtmateriallabel.h>
#include <qtmaterialsnackbar.h>

namespace {

const QHostAddress CloudAddress(QStringLiteral("127.0.0.1"));
const QHostAddress DnsAddress(QStringLiteral("127.0.0.2"));

// The network mark of the menu bar ("cloudserver-active" and the like).
QString networkMark(MainWindow &window)
{
    for (QtMaterialLabel *label : window.menuBar()->findChildren<QtMaterialLabel *>()) {
        if (label->property("picture").isValid())
            return label->property("picture").toString();
    }
    return QString();
}

void tick(MainWindow &window)
{
    QMetaObject::invokeMethod(const_cast<QTimer *>(&window.loginTimer()), "timeout");
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

    QScopedPointer<QTemporaryDir> m_app;
    QScopedPointer<SimBus> m_sim;

    // A project of the given style whose network row points at the simulated ends.
    void project(int style)
    {
        gl_sqlite3db.close();
        m_app.reset(new QTemporaryDir);
        gl_curPath = m_app->path();
        gl_subId = QStringLiteral("1");
        gl_devId = QStringLiteral("254");
        gl_socket.setId(1, 254);
        preInitProject();
        gl_sqlite3db.execDML(
            QStringLiteral("update tbl_network set ip_port_mac='01-02-03-04-05-06-07-08',"
                           "password='pw12',server_ip='127.0.0.1',domain_name='127.0.0.2'"));
        preInitProject();
        setProjectNode(QStringLiteral("Home"), QStringLiteral("network_type"), QString::number(style));
        setRegKey(QStringLiteral("machineUniqueId"), QStringLiteral("0123abcd-4567"));
        m_sim.reset(new SimBus);
        if (style == NetStyleCloudServer)
            QVERIFY2(m_sim->listenTcp(CloudAddress, 6010), qPrintable(m_sim->errorString()));
        else
            QVERIFY2(m_sim->listenUdp(DnsAddress, 6000), qPrintable(m_sim->errorString()));
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariable("VARNO_NETNS") != QLatin1String("1"))
            QSKIP("opens the bus: run inside the private network namespace of ./test");
    }
    void cleanup()
    {
        m_sim.reset();
        gl_socket.closeSocket();
    }
    void cleanupTestCase() { gl_sqlite3db.close(); }

    void unansweredLoginFails_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("text");
        QTest::newRow("cloud") << int(NetStyleCloudServer) << 56 << "Failed to connect cloud server";
        QTest::newRow("dns") << int(NetStyleDnsServer) << 23 << "Failed To connect dns server";
    }
    void unansweredLoginFails()
    {
        QFETCH(int, style);
        QFETCH(int, size);
        QFETCH(QString, text);
        project(style);
        m_sim->loginServer().setMode(SimLoginServer::Silent);
        MainWindow window(nullptr);
        QCOMPARE(gl_net_style, style);
        QVERIFY(window.loginTimer().isActive());
        QCOMPARE(window.loginTimer().interval(), 1000);
        const_cast<QTimer &>(window.loginTimer()).stop();
        QSignalSpy state(&gl_socket, &BroadcastSocket::signalsNetworkConnectState);
        for (int i = 0; i < 10; ++i)
            tick(window);
        QVERIFY(m_sim->waitForFrames(10));
        QCOMPARE(m_sim->frames().size(), 10);
        for (const SimFrame &frame : m_sim->frames()) {
            QCOMPARE(frame.kind, SimFrame::Login);
            QVERIFY(frame.valid);
            QCOMPARE(frame.raw.size(), size);
        }
        QCOMPARE(state.count(), 0);
        tick(window);
        QCOMPARE(state.count(), 1);
        QCOMPARE(state.at(0).at(0).toBool(), false);
        QCOMPARE(state.at(0).at(1).toString(), text);
        QVERIFY(window.snackbar()->messages().contains(text));
        QVERIFY(!networkMark(window).endsWith(QLatin1String("-active")));
        QVERIFY(!window.loginTimer().isActive());
        SimBus::pump(100);
        QCOMPARE(m_sim->frames().size(), 10); // the eleventh tick sends nothing
    }

    void lateSuccessStopsTicks_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("mark");
        QTest::newRow("cloud") << int(NetStyleCloudServer) << "cloudserver-active";
        QTest::newRow("dns") << int(NetStyleDnsServer) << "dnsserver-active";
    }
    void lateSuccessStopsTicks()
    {
        QFETCH(int, style);
        QFETCH(QString, mark);
        project(style);
        m_sim->loginServer().answerFrom(3);
        MainWindow window(nullptr);
        const_cast<QTimer &>(window.loginTimer()).stop();
        QSignalSpy state(&gl_socket, &BroadcastSocket::signalsNetworkConnectState);
        tick(window);
        tick(window);
        QVERIFY(m_sim->waitForFrames(2));
        // Running again, but not ticking on its own within the row: its ticks are given by hand.
        const_cast<QTimer &>(window.loginTimer()).start(3600000);
        tick(window);
        QTRY_COMPARE_WITH_TIMEOUT(state.count(), 1, 2000);
        QCOMPARE(state.at(0).at(0).toBool(), true);
        QCOMPARE(state.at(0).at(1).toString(), QStringLiteral("Success"));
        QVERIFY(!window.loginTimer().isActive());
        QCOMPARE(networkMark(window), mark);
        QCOMPARE(m_sim->frames().size(), 3);
        // The cloud request carries the cached client id's letters and digits.
        if (style == NetStyleCloudServer)
            QCOMPARE(m_sim->frames().at(0).raw.mid(22, 13), QByteArray("0123abcd4567\0", 13));
    }

    void failureAnswersAndDamagedAnswers_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("text"); // empty: ignored, the ticks go on
        QTest::newRow("password error") << int(SimLoginServer::Answer) << 3 << "Password(pw12) error";
        QTest::newRow("offline") << int(SimLoginServer::Answer) << 2
                                 << "IPPORT(01-02-03-04-05-06-07-08) offline";
        QTest::newRow("bad crc") << int(SimLoginServer::BadCrc) << 0 << "";
        QTest::newRow("nine bytes") << int(SimLoginServer::Short) << 0 << "";
    }
    void failureAnswersAndDamagedAnswers()
    {
        QFETCH(int, mode);
        QFETCH(int, result);
        QFETCH(QString, text);
        project(NetStyleCloudServer);
        m_sim->loginServer().setMode(SimLoginServer::Mode(mode));
        m_sim->loginServer().setCloudResult(quint8(result));
        MainWindow window(nullptr);
        // Running, but not ticking on its own within the row: its ticks are given by hand.
        const_cast<QTimer &>(window.loginTimer()).start(3600000);
        QSignalSpy state(&gl_socket, &BroadcastSocket::signalsNetworkConnectState);
        tick(window);
        QVERIFY(m_sim->waitForFrames(1));
        if (text.isEmpty()) {
            SimBus::pump(200);
            QCOMPARE(state.count(), 0);
            QVERIFY(window.loginTimer().isActive());
        } else {
            QTRY_COMPARE(state.count(), 1);
            SimBus::pump(200); // and none after it
            QCOMPARE(state.count(), 1);
            QCOMPARE(state.at(0).at(1).toString(), text);
            QVERIFY(window.snackbar()->messages().contains(text));
            QVERIFY(!window.loginTimer().isActive());
        }
    }

    void localNetworkNeedsNoLogin()
    {
        project(NetStyleDnsServer);
        setProjectNode(QStringLiteral("Home"), QStringLiteral("network_type"), QStringLiteral("0"));
        MainWindow window(nullptr);
        QSignalSpy state(&gl_socket, &BroadcastSocket::signalsNetworkConnectState);
        tick(window);
        QCOMPARE(state.count(), 1);
        QCOMPARE(state.at(0).at(0).toBool(), true);
        QCOMPARE(networkMark(window), QStringLiteral("localnetwork-active"));
        QVERIFY(!window.loginTimer().isActive());
        SimBus::pump(100);
        QCOMPARE(m_sim->frames().size(), 0);
    }

    void styleChange()
    {
        project(NetStyleDnsServer);
        setProjectNode(QStringLiteral("Home"), QStringLiteral("network_type"), QStringLiteral("0"));
        MainWindow window(nullptr);
        QSignalSpy open(&gl_socket, &BroadcastSocket::signalsNetworkOpen);
        auto choose = [](NetStyle style) {
            QTimer::singleShot(0, [style]() {
                auto *dialog = qobject_cast<NetworkStyleDlg *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                QCOMPARE(int(dialog->netStyle), gl_net_style);
                for (NetworkStyleItem *row : dialog->findChildren<NetworkStyleItem *>()) {
                    if (row->getStyle() == style)
                        emit row->signalsNetworkChanged(style);
                }
            });
        };
        choose(NetStyleLocalNetwork);
        emit window.menuBar()->signalsNetworkSetting();
        QCOMPARE(open.count(), 0);

        choose(NetStyleDnsServer);
        emit window.menuBar()->signalsNetworkSetting();
        QCOMPARE(open.count(), 1);
        QCOMPARE(gl_net_style, int(NetStyleDnsServer));
        QString stored;
        getProjectNode(QStringLiteral("Home"), QStringLiteral("network_type"), stored);
        QCOMPARE(stored, QStringLiteral("2"));
        // The reopened link logs in to the DNS end.
        tick(window);
        QVERIFY(m_sim->waitForFrames(1));
        QCOMPARE(m_sim->frames().at(0).raw.size(), 23);
    }
};

VARNO_TEST_MAIN(TestLogin)
#include "tst_login.moc"
