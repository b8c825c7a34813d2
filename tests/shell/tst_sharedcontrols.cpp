// The refresh header, its spinner, the slider wrapper and the setting tile.

#include "testmain.h"

#include "bus/broadcastsocket.h"
#include "shell/progressindicator.h"
#include "shell/refreshingctrl.h"
#include "shell/settingitem.h"
#include "shell/sliderctrl.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"
#include "store/queryhelpers.h"

#include <QDateTime>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmaterialslider.h>

namespace {

int rowsFor(const QString &key)
{
    return getValueFromDb(
        QStringLiteral("select count(*) as n from tbl_last_update where last_update_id='%1'")
            .arg(sqlText(key)),
        QStringLiteral("n"));
}

QString storedTime(const QString &key)
{
    QString time;
    getTextFromDb(QStringLiteral("select last_update_time from tbl_last_update where last_update_id='%1'")
                      .arg(sqlText(key)),
                  QStringLiteral("last_update_time"), time);
    return time;
}

// A stored time is the local time in the text date form, close to now.
bool isRecentTextDate(const QString &text)
{
    const QDateTime time = QDateTime::fromString(text, Qt::TextDate);
    return time.isValid() && qAbs(time.secsTo(QDateTime::currentDateTime())) <= 5;
}

// Runs the opening to its end without waiting for the timer.
void openFully(RefreshingCtrl &ctrl)
{
    for (int i = 0; i < 4 && ctrl.statusText() != QLatin1String("Is Refreshing..."); ++i)
        ctrl.loading();
}

// Notes each change of a refresh header (height, text, spinner) together with the
// timer whose tick made it: an application-wide filter sees a timer's event before
// the timer emits timeout(), and the change at the next event after it.
class StepWatch : public QObject
{
public:
    explicit StepWatch(RefreshingCtrl *ctrl)
        : m_ctrl(ctrl)
        , m_last(state())
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~StepWatch() override { QCoreApplication::instance()->removeEventFilter(this); }

    QStringList steps;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QString now = state();
        if (now != m_last) {
            m_last = now;
            steps << now + (m_timer ? QStringLiteral(" on a %1 ms %2 tick")
                                          .arg(m_timer->interval())
                                          .arg(m_timer->isSingleShot() ? "single" : "repeating")
                                    : QStringLiteral(" off any timer"));
        }
        if (event->type() == QEvent::Timer)
            m_timer = qobject_cast<QTimer *>(watched);
        return false;
    }

private:
    QString state() const
    {
        return QStringLiteral("%1 %2 %3")
            .arg(m_ctrl->height())
            .arg(m_ctrl->statusText(), m_ctrl->progressIndicator()->isAnimated() ? "spinning" : "still");
    }

    RefreshingCtrl *const m_ctrl;
    QString m_last;
    QPointer<QTimer> m_timer;
};

} // namespace

class TestSharedControls : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(pictures);
        QVERIFY(m_dir.isValid());
        gl_curPath = m_dir.path();
        preInitProject();
    }

    void cleanupTestCase() { gl_sqlite3db.close(); }

    void init() { gl_sqlite3db.execDML(QStringLiteral("delete from tbl_last_update")); }

    void constructed()
    {
        QWidget page;
        RefreshingCtrl ctrl(&page);
        QCOMPARE(ctrl.height(), 80);
        QVERIFY(!ctrl.isHidden());
        QCOMPARE(ctrl.statusText(), QStringLiteral("Is Refreshing..."));
        QVERIFY(ctrl.timeText().startsWith(QLatin1String("Last Update:")));
        QVERIFY(isRecentTextDate(ctrl.timeText().mid(12)));
        QCOMPARE(ctrl.progressIndicator()->color(), QColor(Qt::green));
        QCOMPARE(ctrl.progressIndicator()->parentWidget(), &ctrl);
        QVERIFY(!ctrl.isOpening());
    }

    void openingSteps()
    {
        QWidget page;
        RefreshingCtrl ctrl(&page);
        emit gl_socket.signalsStopRefresh(false);
        QVERIFY(ctrl.isHidden());

        ctrl.startRefresh(QStringLiteral("all_lightings"));
        QVERIFY(!ctrl.isHidden());
        QVERIFY(ctrl.isOpening());
        QCOMPARE(ctrl.statusText(), QStringLiteral("Start Refreshing..."));
        QList<int> heights = {ctrl.height()};
        for (int i = 0; i < 3; ++i) {
            ctrl.loading();
            heights << ctrl.height();
        }
        QCOMPARE(heights, QList<int>({20, 40, 60, 80}));
        QVERIFY(!ctrl.progressIndicator()->isAnimated());
        QCOMPARE(ctrl.statusText(), QStringLiteral("Start Refreshing..."));

        ctrl.loading(); // the fifth step
        QVERIFY(!ctrl.isOpening());
        QCOMPARE(ctrl.statusText(), QStringLiteral("Is Refreshing..."));
        QVERIFY(ctrl.progressIndicator()->isAnimated());
        QCOMPARE(ctrl.height(), 80);
    }

    void openingRunsOnItsTimer()
    {
        QWidget page;
        RefreshingCtrl ctrl(&page);
        ctrl.stopRefresh(false);
        ctrl.startRefresh(QStringLiteral("1_lighting"));
        QCOMPARE(ctrl.height(), 20);
        // Each further step is one tick of the 100 ms opening timer.
        StepWatch watch(&ctrl);
        QTRY_COMPARE_WITH_TIMEOUT(watch.steps.size(), 4, 5000);
        QCOMPARE(watch.steps, QStringList({"40 Start Refreshing... still on a 100 ms repeating tick",
                                           "60 Start Refreshing... still on a 100 ms repeating tick",
                                           "80 Start Refreshing... still on a 100 ms repeating tick",
                                           "80 Is Refreshing... spinning on a 100 ms repeating tick"}));
        QVERIFY(ctrl.progressIndicator()->isAnimated());
        QVERIFY(!ctrl.isOpening());
    }

    void startWhileVisibleDoesNotAnimate()
    {
        QWidget page;
        RefreshingCtrl ctrl(&page); // never stopped since construction
        ctrl.startRefresh(QStringLiteral("all_airConditioners"));
        QCOMPARE(ctrl.height(), 20);
        QCOMPARE(ctrl.statusText(), QStringLiteral("Start Refreshing..."));
        QVERIFY(!ctrl.isOpening());

        ctrl.stopRefresh(true);
        QCOMPARE(ctrl.height(), 80);
        QCOMPARE(ctrl.statusText(), QStringLiteral("Refresh Successfully"));
        QVERIFY(ctrl.isClosing());
    }

    void closingHidesOnTheFourthTick()
    {
        QWidget page;
        RefreshingCtrl ctrl(&page);
        ctrl.stopRefresh(false);
        ctrl.startRefresh(QStringLiteral("all_floorHeatings"));
        openFully(ctrl);
        ctrl.stopRefresh(true);
        QVERIFY(!ctrl.progressIndicator()->isAnimated());
        for (int tick = 1; tick <= 3; ++tick) {
            ctrl.delay();
            QVERIFY(!ctrl.isHidden());
        }
        ctrl.delay();
        QVERIFY(ctrl.isHidden());
        QVERIFY(!ctrl.isClosing());
    }

    void closingRunsOnItsTimer()
    {
        QWidget page;
        RefreshingCtrl ctrl(&page);
        ctrl.stopRefresh(true);
        QTRY_VERIFY_WITH_TIMEOUT(ctrl.isHidden(), 3000);
    }

    void stopDuringOpening_data()
    {
        QTest::addColumn<bool>("delayed");
        QTest::newRow("page change") << false;
        QTest::newRow("answered early") << true;
    }
    void stopDuringOpening()
    {
        QFETCH(bool, delayed);
        QWidget page;
        RefreshingCtrl ctrl(&page);
        ctrl.stopRefresh(false);
        ctrl.startRefresh(QStringLiteral("3_floorHeating"));
        ctrl.loading();
        QCOMPARE(ctrl.height(), 40);
        if (delayed) {
            ctrl.stopRefresh(true);
            QCOMPARE(ctrl.height(), 80);
            QCOMPARE(ctrl.statusText(), QStringLiteral("Refresh Successfully"));
            QVERIFY(!ctrl.isOpening());
            QVERIFY(!ctrl.isHidden());
        } else {
            emit gl_socket.signalsStopRefresh(false);
            QVERIFY(ctrl.isHidden());
            QVERIFY(!ctrl.isOpening());
            QVERIFY(!ctrl.progressIndicator()->isAnimated());
            ctrl.startRefresh(QStringLiteral("3_floorHeating"));
            QCOMPARE(ctrl.height(), 20);
            QVERIFY(ctrl.isOpening());
        }
    }

    void lastUpdateIsKeptPerView_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("plain") << "all_lightings";
        QTest::newRow("room tab") << "12_airConditioner";
        QTest::newRow("quote") << "it's_lighting";
    }
    void lastUpdateIsKeptPerView()
    {
        QFETCH(QString, key);
        QWidget page;
        RefreshingCtrl ctrl(&page);
        ctrl.startRefresh(key);
        QVERIFY(isRecentTextDate(ctrl.timeText().mid(12)));
        QCOMPARE(rowsFor(key), 1);
        QVERIFY(isRecentTextDate(storedTime(key)));

        // The next refresh shows the time stored by the previous one, then replaces it.
        const QString earlier = QStringLiteral("Mon Jan 5 10:00:00 2026");
        QVERIFY(gl_sqlite3db.execDML(QStringLiteral("update tbl_last_update set last_update_time='%1' "
                                                    "where last_update_id='%2'")
                                         .arg(earlier, sqlText(key))));
        ctrl.startRefresh(key);
        QCOMPARE(ctrl.timeText(), QStringLiteral("Last Update:") + earlier);
        QCOMPARE(rowsFor(key), 1);
        QVERIFY(isRecentTextDate(storedTime(key)));

        // Another view keeps its own row.
        ctrl.startRefresh(key + QStringLiteral("_other"));
        QCOMPARE(rowsFor(key), 1);
        QCOMPARE(rowsFor(key + QStringLiteral("_other")), 1);
    }

    void spinnerBars_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("outer");
        QTest::addColumn<int>("inner");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("corner");
        QTest::newRow("32") << 32 << 15 << 5 << 10 << 3 << 1;
        QTest::newRow("33") << 33 << 16 << 6 << 10 << 2 << 1;
        QTest::newRow("64") << 64 << 31 << 11 << 20 << 4 << 2;
        QTest::newRow("20") << 20 << 9 << 3 << 6 << 2 << 1;
    }
    void spinnerBars()
    {
        QFETCH(int, side);
        const ProgressIndicator::Bars bars = ProgressIndicator::barsFor(side);
        QTEST(bars.outerRadius, "outer");
        QTEST(bars.innerRadius, "inner");
        QTEST(bars.length, "length");
        QTEST(bars.width, "width");
        QTEST(bars.cornerRadius, "corner");
    }

    void spinnerAnimation()
    {
        QWidget parent;
        parent.resize(200, 80);
        ProgressIndicator spinner(&parent);
        QCOMPARE(spinner.size(), QSize(32, 32));
        QCOMPARE(spinner.sizeHint(), QSize(20, 20));
        QCOMPARE(spinner.heightForWidth(17), 17);
        QCOMPARE(spinner.animationDelay(), 40);
        QVERIFY(!spinner.isAnimated());

        // Nothing is drawn while stopped unless asked for.
        QImage still = spinner.grab().toImage();
        spinner.setColor(Qt::green);
        spinner.setDisplayedWhenStopped(true);
        QVERIFY(spinner.grab().toImage() != still);
        spinner.setDisplayedWhenStopped(false);

        spinner.startAnimation();
        QCOMPARE(spinner.pos(), QPoint(84, 0));
        QVERIFY(spinner.isAnimated());
        QCOMPARE(spinner.angle(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(spinner.angle() != 0, 2000);
        QCOMPARE(spinner.angle() % 30, 0);
        spinner.setAnimationDelay(10);
        QVERIFY(spinner.isAnimated());
        spinner.stopAnimation();
        QVERIFY(!spinner.isAnimated());
        const int stopped = spinner.angle();
        // A timer of three steps' length comes after any step still due.
        QTimer later;
        later.setTimerType(Qt::PreciseTimer);
        later.setSingleShot(true);
        QSignalSpy passed(&later, &QTimer::timeout);
        later.start(3 * spinner.animationDelay());
        QVERIFY(passed.wait());
        QCOMPARE(spinner.angle(), stopped);
    }

    void sliderReemitsChanges()
    {
        SliderCtrl ctrl;
        ctrl.setRange(0, 100);
        ctrl.setOrientation(Qt::Vertical);
        QCOMPARE(ctrl.slider()->orientation(), Qt::Vertical);
        QCOMPARE(ctrl.slider()->maximum(), 100);
        QSignalSpy changed(&ctrl, &SliderCtrl::valueChanged);
        ctrl.setValue(40);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 40);
        QCOMPARE(ctrl.value(), 40);
        ctrl.setValue(40);
        QCOMPARE(changed.count(), 1);
        ctrl.slider()->setValue(7);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(1).at(0).toInt(), 7);
        ctrl.setValue(500); // clamped by the slider
        QCOMPARE(ctrl.value(), 100);
    }

    void settingTileAsksForItsPage_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("Setting") << "Setting";
        QTest::newRow("Lighting") << "Lighting";
    }
    void settingTileAsksForItsPage()
    {
        QFETCH(QString, title);
        SettingItem tile(title, QStringLiteral(":/myImages/png/edit_room/icon-room-lighting.png"), 128, 128,
                         192, 192);
        QCOMPARE(tile.size(), QSize(192, 192));
        QCOMPARE(tile.getCurrentColor(), QColor(0x3D, 0x53, 0x66));
        QSignalSpy asked(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
        QTest::mouseClick(&tile, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
        QCOMPARE(asked.count(), 1);
        QCOMPARE(asked.at(0), QVariantList({title, title, QString(), QString()}));
    }

    void settingTilePicture()
    {
        SettingItem with(QStringLiteral("AC"), QStringLiteral(":/myImages/png/edit_room/icon-room-ac.png"),
                         128, 128, 192, 192);
        SettingItem without(QStringLiteral("AC"), QStringLiteral(":/missing.png"), 128, 128, 192, 192);
        const QImage a = with.grab().toImage();
        const QImage b = without.grab().toImage();
        // The picture stands in the square at (32, 17); the title band is the same in both.
        QVERIFY(a.copy(32, 17, 128, 128) != b.copy(32, 17, 128, 128));
        QCOMPARE(a.copy(0, 161, 192, 20), b.copy(0, 161, 192, 20));
        QCOMPARE(b.pixelColor(96, 80), QColor(0x3D, 0x53, 0x66));
    }
};

VARNO_TEST_MAIN(TestSharedControls)
#include "tst_sharedcontrols.moc"
