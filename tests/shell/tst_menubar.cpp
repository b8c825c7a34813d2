// The menu bar: page history and Back, the settings lock, the network mark.

#include "testmain.h"

#include "bus/broadcastsocket.h"
#include "shell/menubar.h"
#include "shell/unlockdlg.h"
#include "store/globals.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

namespace {

struct Request
{
    QString id, name, prm1, prm2;
};

void announce(const QString &id, const QString &name = QString(), const QString &prm1 = QString(),
              const QString &prm2 = QString())
{
    emit gl_socket.signalsPageCurrent(id, name.isEmpty() ? id : name, prm1, prm2);
}

QStringList historyIds(const MenuBar &bar)
{
    QStringList ids;
    for (const PageIdEntry &entry : bar.history())
        ids << entry.id;
    return ids;
}

// Presses the label of the given tooltip as a user would.
void pressLabel(MenuBar &bar, const QString &tip)
{
    for (QtMaterialLabel *label : bar.findChildren<QtMaterialLabel *>()) {
        if (label->toolTip() == tip) {
            emit label->signalsPressed();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no label ") + tip));
}

} // namespace

class TestMenuBar : public QObject
{
    Q_OBJECT

private slots:
    void init() { gl_net_style = 0; }

    void homeAndOtherPages()
    {
        MenuBar bar;
        bar.show();
        QCOMPARE(bar.height(), 30);
        QCOMPARE(bar.palette().color(QPalette::Window), QColor(Qt::black));
        auto visible = [&](const QString &tip) {
            for (QtMaterialLabel *label : bar.findChildren<QtMaterialLabel *>()) {
                if (label->toolTip() == tip)
                    return label->isVisible();
            }
            return false;
        };
        QVERIFY(visible(QStringLiteral("Project")));
        QVERIFY(!visible(QStringLiteral("Back")));
        bar.setHomePage(false);
        QVERIFY(!visible(QStringLiteral("Project")));
        QVERIFY(!visible(QStringLiteral("Message")));
        QVERIFY(visible(QStringLiteral("Back")));
        QVERIFY(visible(QStringLiteral("Rooms")));
        QVERIFY(visible(QStringLiteral("Setting")));
        bar.setHomePage(true);
        QVERIFY(visible(QStringLiteral("Log")));
        QVERIFY(!visible(QStringLiteral("Home")));
    }

    void history_data()
    {
        QTest::addColumn<QStringList>("visits");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("home") << QStringList{"Home"} << QStringList{"Home"};
        QTest::newRow("deeper") << QStringList{"Home", "Rooms", "Operate Room", "Edit Room"}
                                << QStringList{"Home", "Rooms", "Operate Room", "Edit Room"};
        QTest::newRow("top level resets")
            << QStringList{"Home", "Rooms", "Operate Room", "Log"} << QStringList{"Home", "Log"};
        QTest::newRow("setting resets")
            << QStringList{"Home", "Setting", "Rooms Manager", "Edit Room", "Setting"}
            << QStringList{"Home", "Setting"};
        QTest::newRow("revisit cuts")
            << QStringList{"Home", "Setting", "Rooms Manager", "Edit Room", "Rooms Manager"}
            << QStringList{"Home", "Setting", "Rooms Manager"};
        QTest::newRow("home cuts all")
            << QStringList{"Home", "Rooms", "Operate Room", "Home"} << QStringList{"Home"};
        QTest::newRow("no home entry") << QStringList{"Rooms Manager", "Message"} << QStringList{"Message"};
    }
    void history()
    {
        QFETCH(QStringList, visits);
        QFETCH(QStringList, expected);
        MenuBar bar;
        for (const QString &id : visits)
            announce(id);
        QCOMPARE(historyIds(bar), expected);
        QCOMPARE(bar.current().id, visits.last());
    }

    void backRequests()
    {
        MenuBar bar;
        QSignalSpy requests(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
        announce(QStringLiteral("Home"));
        pressLabel(bar, QStringLiteral("Back"));
        QCOMPARE(requests.count(), 0); // nothing before the first entry

        announce(QStringLiteral("Rooms"));
        announce(QStringLiteral("Operate Room"), QStringLiteral("Kitchen"), QStringLiteral("5"),
                 QStringLiteral("1"));
        pressLabel(bar, QStringLiteral("Back"));
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.at(0), (QList<QVariant>{"Rooms", "Rooms", "", ""}));

        announce(QStringLiteral("Operate Room"), QStringLiteral("Kitchen"), QStringLiteral("5"),
                 QStringLiteral("1"));
        announce(QStringLiteral("Edit Room"), QStringLiteral("Edit Room"), QStringLiteral("5"),
                 QStringLiteral("1"));
        pressLabel(bar, QStringLiteral("Back"));
        QCOMPARE(requests.count(), 2);
        // Re-entered pages get "0" so they keep their tab.
        QCOMPARE(requests.at(1), (QList<QVariant>{"Operate Room", "Kitchen", "5", "0"}));

        // Back only asks; the history moves when the page is announced.
        QCOMPARE(historyIds(bar), (QStringList{"Home", "Rooms", "Operate Room", "Edit Room"}));
        announce(QStringLiteral("Operate Room"), QStringLiteral("Kitchen"), QStringLiteral("5"),
                 QStringLiteral("0"));
        QCOMPARE(historyIds(bar), (QStringList{"Home", "Rooms", "Operate Room"}));
        QCOMPARE(bar.history().last().prm2, QStringLiteral("0"));

        announce(QStringLiteral("Log"));
        emit gl_socket.signalsPageBack(0); // the hub's Back works the same way
        QCOMPARE(requests.count(), 3);
        QCOMPARE(requests.at(2).at(0).toString(), QStringLiteral("Home"));
    }

    void removeMoodsInformation()
    {
        MenuBar bar;
        QSignalSpy spy(&gl_socket, &BroadcastSocket::signalsPageRemoveMoodsInformation);
        announce(QStringLiteral("Home"));
        QCOMPARE(spy.count(), 1);
        announce(QStringLiteral("Moods Information"));
        QCOMPARE(spy.count(), 1);
        announce(QStringLiteral("Diy Command"));
        QCOMPARE(spy.count(), 1);
        announce(QStringLiteral("Moods Information"));
        QCOMPARE(spy.count(), 1);
        announce(QStringLiteral("Edit Room"));
        QCOMPARE(spy.count(), 1); // still in the history
        announce(QStringLiteral("Setting"));
        QCOMPARE(spy.count(), 2);
        announce(QStringLiteral("About"));
        QCOMPARE(spy.count(), 3);
    }

    void topLevelAndProjectPresses()
    {
        MenuBar bar;
        QSignalSpy requests(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
        QSignalSpy project(&bar, &MenuBar::signalsProjectSetting);
        QSignalSpy network(&bar, &MenuBar::signalsNetworkSetting);
        QSignalSpy closed(&gl_socket, &BroadcastSocket::signalsClosed);
        pressLabel(bar, QStringLiteral("Project"));
        QCOMPARE(project.at(0).at(0).toString(), QString());
        emit gl_socket.signalsProjectStateChanged(QStringLiteral("Bob's house"));
        pressLabel(bar, QStringLiteral("Project"));
        QCOMPARE(project.at(1).at(0).toString(), QStringLiteral("Bob's house"));
        for (const char *tip : {"Message", "Log", "Home", "Rooms"})
            pressLabel(bar, QLatin1String(tip));
        QCOMPARE(requests.count(), 4);
        QCOMPARE(requests.at(3), (QList<QVariant>{"Rooms", "Rooms", "", ""}));
        pressLabel(bar, QStringLiteral("Local Network"));
        QCOMPARE(network.count(), 1);
        bar.findChild<QAbstractButton *>(QStringLiteral("pushButtonExit"))->click();
        QCOMPARE(closed.count(), 1);
    }

    void networkMark_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("tip");
        QTest::newRow("local off") << 0 << false << "localnetwork"
                                   << "Local Network";
        QTest::newRow("local on") << 0 << true << "localnetwork-active"
                                  << "Local Network";
        QTest::newRow("cloud on") << 1 << true << "cloudserver-active"
                                  << "Cloud Server";
        QTest::newRow("cloud off") << 1 << false << "cloudserver"
                                   << "Cloud Server";
        QTest::newRow("dns on") << 2 << true << "dnsserver-active"
                                << "DNS Server";
        QTest::newRow("unknown style") << 7 << true << "localnetwork-active"
                                       << "Local Network";
    }
    void networkMark()
    {
        QFETCH(int, style);
        QFETCH(bool, ok);
        QFETCH(QString, picture);
        QFETCH(QString, tip);
        MenuBar bar;
        gl_net_style = style;
        emit gl_socket.signalsNetworkStateChanged(ok);
        QtMaterialLabel *mark = nullptr;
        for (QtMaterialLabel *label : bar.findChildren<QtMaterialLabel *>()) {
            if (label->property("picture").isValid())
                mark = label;
        }
        QVERIFY(mark);
        QCOMPARE(mark->property("picture").toString(), picture);
        QCOMPARE(mark->toolTip(), tip);
        QVERIFY(!mark->pixmap(Qt::ReturnByValue).isNull());
    }

    void settingsLock()
    {
        gl_lockPassword = QStringLiteral("qmx482");
        MenuBar bar;
        QSignalSpy requests(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
        auto answer = [](const QString &password, bool confirm) {
            QTimer::singleShot(0, [password, confirm]() {
                auto *dialog = qobject_cast<UnlockDlg *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->passwordField()->setText(password);
                dialog
                    ->findChild<QAbstractButton *>(confirm ? QStringLiteral("pushButtonOk")
                                                           : QStringLiteral("pushButtonCancel"))
                    ->click();
            });
        };
        answer(QStringLiteral("qmx482"), false);
        pressLabel(bar, QStringLiteral("Setting"));
        QCOMPARE(requests.count(), 0);
        QVERIFY(!bar.isUnlocked());

        answer(QStringLiteral("qmx482"), true);
        pressLabel(bar, QStringLiteral("Setting"));
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.at(0), (QList<QVariant>{"Setting", "Setting", "", ""}));
        QVERIFY(bar.isUnlocked());
        QVERIFY(bar.unlockTimer().isActive());
        QCOMPARE(bar.unlockTimer().interval(), 180000);
        const int remaining = bar.unlockTimer().remainingTime();

        // While unlocked no dialog is shown and the window is not extended.
        QTest::qWait(50);
        pressLabel(bar, QStringLiteral("Setting"));
        QCOMPARE(requests.count(), 2);
        QVERIFY(bar.unlockTimer().remainingTime() <= remaining);

        QMetaObject::invokeMethod(const_cast<QTimer *>(&bar.unlockTimer()), "timeout");
        QVERIFY(!bar.isUnlocked());
        QVERIFY(!bar.unlockTimer().isActive());
        answer(QString(), false);
        pressLabel(bar, QStringLiteral("Setting"));
        QCOMPARE(requests.count(), 2);
    }
};

VARNO_TEST_MAIN(TestMenuBar)
#include "tst_menubar.moc"
