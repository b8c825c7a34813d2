// End to end through the real main window, against simulated devices on the
// "Local Network" style over the veth pair: the installer chooses a built-in
// picture for the kitchen and drags its light icons; the operator opens "3D
// View", the kitchen, presses an icon and switches the light on its card. The
// simulated module receives the command and the icon turns on where it was
// dropped.

#include "testmain.h"

#include "modalanswers.h"
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
#include <QScreen>
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

// A press and release at a point of widget, given to the window as a user gives
// them (the page area's kinetic scroll canvas hands a press on after a moment).
void windowPress(QWidget *widget, const QPoint &at, Qt::MouseButton button = Qt::LeftButton)
{
    QWindow *window = widget->window()->windowHandle();
    QVERIFY(window);
    QTest::mousePress(window, button, Qt::NoModifier, widget->mapTo(widget->window(), at));
    QTest::qWait(400);
}

void windowRelease(QWidget *widget, const QPoint &at, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseRelease(widget->window()->windowHandle(), button, Qt::NoModifier,
                        widget->mapTo(widget->window(), at));
    QTest::qWait(20);
}

void click(QWidget *widget, const QPoint &at)
{
    QVERIFY(widget && widget->isVisible());
    QTest::qWait(50); // layouts of a page just shown settle first
    windowPress(widget, at);
    windowRelease(widget, at);
}

QPoint centreOnScreen(QWidget *widget)
{
    const QRect onScreen =
        QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()) & QGuiApplication::primaryScreen()->geometry();
    return widget->mapFromGlobal(onScreen.center());
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
        return QPoint(value(QStringLiteral("select xp1 from tbl_3d_view_light where light_id=%1").arg(lightId)).toInt(),
                      value(QStringLiteral("select yp1 from tbl_3d_view_light where light_id=%1").arg(lightId)).toInt());
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
        gl_curPath = m_app.path();
        screen_cx = 1920;
        screen_cy = 1080;
        gl_subId = QStringLiteral("1");
        gl_devId = QStringLiteral("254");
        gl_socket.setId(1, 254);
        preInitProject();
        QString project;
        QVERIFY(getCurrentProject(project));
        setProjectNode(project, QStringLiteral("network_type"), QStringLiteral("0"));
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
        m_window->showNormal();
        m_window->resize(1920, 1080);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.data()));
        QSignalSpy state(&gl_socket, &BroadcastSocket::signalsNetworkConnectState);
        QVERIFY(state.wait(3000));
        QCOMPARE(state.at(0).at(1).toString(), QStringLiteral("Success"));
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
        emit gl_socket.signalsPageIdChanged(QStringLiteral("3D View Manager"), QStringLiteral("3D View Manager"),
                                            QString(), QString());
        QCOMPARE(shownPage()->getId(), QStringLiteral("3D View Manager"));
        ManagerItem *tile = kitchenTile();
        QVERIFY(tile);
        QCOMPARE(tile->getIconName(), QStringLiteral("3d_view_01"));
        click(tile, centreOnScreen(tile));
        QTRY_COMPARE(shownPage()->getId(), QStringLiteral("3D View Setting"));
        auto *editor = qobject_cast<PageSetting3DViewManagerEdit *>(shownPage());
        QVERIFY(editor);
        QCOMPARE(editor->tabBar()->count(), 1);
        PageSetting3DViewManagerLighting *canvas = editor->lightingCanvas();
        QVERIFY(canvas->isVisible());

        // "Change Image": a built-in picture, through the two real dialogs.
        varnotest::answerModals({[](QWidget *source) {
                                     for (IconStyleItem *row : source->findChildren<IconStyleItem *>()) {
                                         if (row->getStyle() == 0)
                                             QTest::mouseClick(row, Qt::LeftButton, Qt::NoModifier,
                                                               QPoint(100, 20));
                                     }
                                 },
                                 [](QWidget *picker) {
                                     for (ManagerItem *t : picker->findChildren<ManagerItem *>()) {
                                         if (t->getIconName() == QLatin1String("3d_view_03"))
                                             QTest::mouseClick(t, Qt::LeftButton, Qt::NoModifier,
                                                               QPoint(150, 80));
                                     }
                                 }});
        windowPress(editor->changeImageLabel(), QPoint(18, 18));
        windowRelease(editor->changeImageLabel(), QPoint(18, 18));
        QTRY_COMPARE(value(QStringLiteral("select icon_name from tbl_3d_view_manager where room_id=1")).toString(),
                     QStringLiteral("3d_view_03"));
        QCOMPARE(canvas->iconName(), QStringLiteral("3d_view_03"));

        // Both icons start at (0, 0); the press takes the ceiling light first.
        QWindow *window = m_window->windowHandle();
        const QList<QPoint> drops{{600, 400}, {900, 400}};
        for (const QPoint &drop : drops) {
            windowPress(canvas, QPoint(40, 40));
            QTest::mouseMove(window, canvas->mapTo(m_window.data(), (QPoint(40, 40) + drop) / 2));
            QTest::mouseMove(window, canvas->mapTo(m_window.data(), drop));
            windowRelease(canvas, drop);
        }
        QCOMPARE(stored(1), QPoint(560, 360));
        QCOMPARE(stored(2), QPoint(860, 360));
        shot(QStringLiteral("path_editor"));
    }

    void operatorSwitchesTheLightFromThePicture()
    {
        emit gl_socket.signalsPageIdChanged(QStringLiteral("Home"), QStringLiteral("Home"), QString(), QString());
        auto *tile3d = shownPage()->findChild<HomeManager3DViewIconItem *>();
        click(tile3d, QPoint(64, 64));
        QTRY_COMPARE(shownPage()->getId(), QStringLiteral("3D View"));
        ManagerItem *tile = kitchenTile();
        QVERIFY(tile);
        QCOMPARE(tile->getIconName(), QStringLiteral("3d_view_03"));
        click(tile, centreOnScreen(tile));
        QTRY_COMPARE(shownPage()->getId(), QStringLiteral("Operate Room 3D View"));
        QCOMPARE(m_window->menuBar()->current().name, QStringLiteral("North-Ground-Kitchen"));
        auto *page = qobject_cast<PageRoomOperate3DView *>(shownPage());
        QVERIFY(page);
        PageRoomOperate3DViewLighting *tab = page->lightingTab();
        QTRY_COMPARE_WITH_TIMEOUT(tab->refreshControl()->statusText(), QStringLiteral("Refresh Successfully"),
                                  12000);
        Light3DViewItem *overlay = tab->overlay();
        QCOMPARE(overlay->position(0), QPoint(560, 360));
        QCOMPARE(overlay->position(1), QPoint(860, 360));
        QCOMPARE(overlay->grab().toImage().pixelColor(QPoint(572, 400)), OffColor);
        QCOMPARE(m_veth.levels(20).value(0), QStringLiteral("0"));

        click(overlay, QPoint(600, 400));
        LightItem *card = overlay->lightCard(0);
        QVERIFY(card->isVisible());
        shot(QStringLiteral("path_card"));
        click(card, QPoint(250, 300));
        QTRY_COMPARE_WITH_TIMEOUT(m_veth.levels(20).value(0), QStringLiteral("100"), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(card->status(), 5000);
        QVERIFY(card->isHidden());
        QVERIFY(overlay->lightAt(0).isOn());
        QCOMPARE(overlay->grab().toImage().pixelColor(QPoint(572, 400)), OnColor);
        QCOMPARE(overlay->grab().toImage().pixelColor(QPoint(872, 400)), OffColor);
        QTRY_COMPARE_WITH_TIMEOUT(
            value(QStringLiteral("select brightness from tbl_light where light_id=1")).toInt(), 100, 3000);
        shot(QStringLiteral("path_light_on"));
    }
};

VARNO_TEST_MAIN(TestView3DPath)
#include "tst_view3dpath.moc"
