// End to end through the real main window, against simulated devices on the
// "Local Network" style over the veth pair: the installer chooses a built-in
// picture for the kitchen and drags its light icons; the operator opens "3D
// View", the kitchen, presses an icon and switches the light on its card. The
// simulated module receives the command and the icon turns on where it was
// dropped.

#include "testmain.h"
#include "pathtest.h"

#include "modalanswers.h"
#include "presswatch.h"
#include "roomproject.h"
#include "vethdevices.h"

#include "app/mainwindow.h"
#include "bus/broadcastsocket.h"
#include "operation/lightitem.h"
#include "shell/homemanager3dviewiconitem.h"
#include "shell/iconselectdlg.h"
#include "shell/iconstyleitem.h"
#include "shell/manageritem.h"
#include "shell/menubar.h"
#include "shell/mydialog.h"
#include "shell/refreshingctrl.h"
#include "store/projectlist.h"
#include "view3d/light3dviewitem.h"
#include "view3d/pageroomoperate3dview.h"
#include "view3d/pageroomoperate3dviewlighting.h"
#include "view3d/pagesetting3dviewmanageredit.h"
#include "view3d/pagesetting3dviewmanagerlighting.h"
#include "view3d/view3dlistpage.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QScroller>
#include <QTemporaryDir>
#include <QtTest>
#include <qtmaterialgroupbox.h>
#include <qtmateriallabel.h>
#include <qtmaterialtabs.h>

using namespace roomproject;

namespace {

constexpr int Kitchen = 1;
const QColor OnColor(0x1F, 0x29, 0x33);
const QColor OffColor(0x3D, 0x53, 0x66);

// A press, an optional drag and a release as a user gives them, through the
// window. The page area's kinetic scroll canvas holds a press back for a moment
// and then hands it on to the widget that lay under its point when it came, at
// the same point of the (small) offscreen screen; so the layouts have run first,
// the window is moved for the gesture until the press point lies on the screen,
// and the drag starts once the press has reached the widget.
void userGesture(QWidget *widget, const QList<QPoint> &path)
{
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QWidget *top = widget->window();
    const QPoint home = top->pos();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    if (!screen.contains(widget->mapToGlobal(path.first())))
        top->move(home + screen.center() - widget->mapToGlobal(path.first()));
    // The press is handed on to whatever lies under its point on the screen.
    const auto under = [widget, &path]() {
        QWidget *w = QApplication::widgetAt(widget->mapToGlobal(path.first()));
        return w == widget || widget->isAncestorOf(w);
    };
    QTRY_VERIFY(under());
    for (const QPoint &p : path)
        QVERIFY2(screen.contains(widget->mapToGlobal(p)), "the gesture leaves the screen");
    // A press that opened a modal dialog left the page area's kinetic scroller
    // pressed (its release went to the dialog); a user's next press would only
    // end that. The gesture starts from a scroller at rest.
    for (QWidget *viewport : top->findChildren<QWidget *>(QStringLiteral("qt_scrollarea_viewport"))) {
        if (QScroller::hasScroller(viewport))
            QScroller::scroller(viewport)->stop();
    }
    QWindow *window = top->windowHandle();
    varnotest::PressWatch press(widget);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, widget->mapTo(top, path.first()));
    QTRY_VERIFY(press.reached());
    for (const QPoint &p : path.mid(1))
        QTest::mouseMove(window, widget->mapTo(top, p));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, widget->mapTo(top, path.last()));
    top->move(home);
    QTRY_COMPARE(top->pos(), home);
}

} // namespace

class TestView3DPath : public QObject
{
    Q_OBJECT

    varnotest::VethDevices m_veth;
    QTemporaryDir m_app;
    QScopedPointer<MainWindow> m_window;

    MyDialog *shownPage() const
    {
        for (MyDialog *p : m_window->pages()) {
            if (p->isVisible())
                return p;
        }
        return nullptr;
    }
    void shot(const QString &name)
    {
        QTest::qWait(50);
        QVERIFY(QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR)));
        QVERIFY(m_window->grab().save(QStringLiteral(VARNO_SCREENSHOT_DIR "/%1.png").arg(name)));
    }
    ManagerItem *kitchenTile()
    {
        auto *page = qobject_cast<View3DListPage *>(shownPage());
        if (!page)
            return nullptr;
        for (ManagerItem *tile : page->tileBox()->findChildren<ManagerItem *>()) {
            if (tile->getId() == Kitchen && tile->isVisible())
                return tile;
        }
        return nullptr;
    }
    QPoint stored(int lightId)
    {
        return QPoint(
            value(QStringLiteral("select xp1 from tbl_3d_view_light where light_id=%1").arg(lightId))
                .toInt(),
            value(QStringLiteral("select yp1 from tbl_3d_view_light where light_id=%1").arg(lightId))
                .toInt());
    }

private slots:
    void initTestCase()
    {
        const QString reason = m_veth.skipReason();
        if (!reason.isEmpty())
            QSKIP(qPrintable(reason));
        QVERIFY(QFile::exists(QStringLiteral(VARNO_SIMDEVICE_PATH)));
        QVERIFY2(m_veth.start(QStringLiteral(VARNO_SIMDEVICE_PATH),
                              {"--light", "1/20/2", "--light", "1/31/1", "--occupation", "1/30/1"}),
                 qPrintable(m_veth.error()));

        QVERIFY(m_app.isValid());
        QVERIFY(varnotest::useApplicationFolder(m_app.path()));
        QVERIFY(addRegion(1, QStringLiteral("North")));
        QVERIFY(addFloor(1, 1, QStringLiteral("Ground")));
        QVERIFY(addRoom(Kitchen, QStringLiteral("Kitchen"), 1, 1, QStringLiteral("room_3")));
        for (int c = 1; c <= 2; ++c) {
            Light l;
            l.room = Kitchen;
            l.lightId = c;
            l.type = 0;
            l.name = c == 1 ? QStringLiteral("Ceiling") : QStringLiteral("Wall");
            l.device = 20;
            l.channel = c;
            QVERIFY(addLight(l));
        }
        QVERIFY(addRoomDevice(QStringLiteral("tbl_occupation"), Kitchen, 1, 30, 1));
        QVERIFY(addRoomDevice(QStringLiteral("tbl_master"), Kitchen, 1, 31, 1));

        m_window.reset(new MainWindow(nullptr));
        QVERIFY(varnotest::showLoggedIn(m_window.data()));
    }
    void cleanupTestCase()
    {
        m_window.reset();
        gl_socket.closeSocket();
        gl_sqlite3db.close();
        m_veth.stop();
    }

    void installerChoosesPictureAndPlacesIcons()
    {
        emit gl_socket.signalsPageIdChanged(QStringLiteral("3D View Manager"),
                                            QStringLiteral("3D View Manager"), QString(), QString());
        QCOMPARE(shownPage()->getId(), QStringLiteral("3D View Manager"));
        ManagerItem *tile = nullptr;
        QTRY_VERIFY((tile = kitchenTile()) != nullptr); // tiles show once the layout has run
        QCOMPARE(tile->getIconName(), QStringLiteral("3d_view_01"));
        userGesture(tile, {QPoint(150, 80)});
        QTRY_COMPARE(shownPage()->getId(), QStringLiteral("3D View Setting"));
        auto *editor = qobject_cast<PageSetting3DViewManagerEdit *>(shownPage());
        QVERIFY(editor);
        QCOMPARE(editor->tabBar()->count(), 1);
        PageSetting3DViewManagerLighting *canvas = editor->lightingCanvas();
        QVERIFY(canvas->isVisible());

        // "Change Image": a built-in picture, through the two real dialogs.
        varnotest::answerModals(
            {[](QWidget *source) {
                 for (IconStyleItem *row : source->findChildren<IconStyleItem *>()) {
                     if (row->getStyle() == 0)
                         QTest::mouseClick(row, Qt::LeftButton, Qt::NoModifier, QPoint(100, 20));
                 }
             },
             [](QWidget *picker) {
                 for (ManagerItem *t : picker->findChildren<ManagerItem *>()) {
                     if (t->getIconName() == QLatin1String("3d_view_03"))
                         QTest::mouseClick(t, Qt::LeftButton, Qt::NoModifier, QPoint(150, 80));
                 }
             }});
        userGesture(editor->changeImageLabel(), {QPoint(18, 18)});
        QTRY_COMPARE(
            value(QStringLiteral("select icon_name from tbl_3d_view_manager where room_id=1")).toString(),
            QStringLiteral("3d_view_03"));
        QCOMPARE(canvas->iconName(), QStringLiteral("3d_view_03"));

        // Both icons start at (0, 0); the press takes the ceiling light first.
        userGesture(canvas, {QPoint(40, 40), QPoint(200, 150), QPoint(300, 200)});
        userGesture(canvas, {QPoint(40, 40), QPoint(300, 150), QPoint(500, 200)});
        QCOMPARE(stored(1), QPoint(260, 160));
        QCOMPARE(stored(2), QPoint(460, 160));
        shot(QStringLiteral("path_editor"));
    }

    void operatorSwitchesTheLightFromThePicture()
    {
        emit gl_socket.signalsPageIdChanged(QStringLiteral("Home"), QStringLiteral("Home"), QString(),
                                            QString());
        auto *tile3d = shownPage()->findChild<HomeManager3DViewIconItem *>();
        userGesture(tile3d, {QPoint(64, 64)});
        QTRY_COMPARE(shownPage()->getId(), QStringLiteral("3D View"));
        ManagerItem *tile = nullptr;
        QTRY_VERIFY((tile = kitchenTile()) != nullptr); // tiles show once the layout has run
        QCOMPARE(tile->getIconName(), QStringLiteral("3d_view_03"));
        userGesture(tile, {QPoint(150, 80)});
        QTRY_COMPARE(shownPage()->getId(), QStringLiteral("Operate Room 3D View"));
        QCOMPARE(m_window->menuBar()->current().name, QStringLiteral("North-Ground-Kitchen"));
        auto *page = qobject_cast<PageRoomOperate3DView *>(shownPage());
        QVERIFY(page);
        PageRoomOperate3DViewLighting *tab = page->lightingTab();
        QTRY_COMPARE_WITH_TIMEOUT(tab->refreshControl()->statusText(),
                                  QStringLiteral("Refresh Successfully"), 12000);
        Light3DViewItem *overlay = tab->overlay();
        QCOMPARE(overlay->position(0), QPoint(260, 160));
        QCOMPARE(overlay->position(1), QPoint(460, 160));
        QCOMPARE(overlay->grab().toImage().pixelColor(QPoint(272, 200)), OffColor);
        QCOMPARE(m_veth.levels(20).value(0), QStringLiteral("0"));

        // The refresh header folds away a moment after its last words and the
        // overlay moves up: a press given before would land beside the icon.
        QTRY_VERIFY(tab->refreshControl()->isHidden());
        userGesture(overlay, {QPoint(300, 200)});
        LightItem *card = overlay->lightCard(0);
        QTRY_VERIFY(card->isVisible());
        shot(QStringLiteral("path_card"));
        userGesture(card, {QPoint(250, 300)});
        QTRY_COMPARE_WITH_TIMEOUT(m_veth.levels(20).value(0), QStringLiteral("100"), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(card->status(), 5000);
        QVERIFY(card->isHidden());
        QVERIFY(overlay->lightAt(0).isOn());
        QCOMPARE(overlay->grab().toImage().pixelColor(QPoint(272, 200)), OnColor);
        QCOMPARE(overlay->grab().toImage().pixelColor(QPoint(472, 200)), OffColor);
        QTRY_COMPARE_WITH_TIMEOUT(
            value(QStringLiteral("select brightness from tbl_light where light_id=1")).toInt(), 100, 3000);
        shot(QStringLiteral("path_light_on"));
    }
};

VARNO_TEST_MAIN(TestView3DPath)
#include "tst_view3dpath.moc"
