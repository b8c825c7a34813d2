// The picture-source chooser, the built-in picture picker and the network-style
// chooser.

#include "testmain.h"
#include "presswatch.h"

#include "shell/iconselectdlg.h"
#include "shell/iconstyledlg.h"
#include "shell/iconstyleitem.h"
#include "shell/manageritem.h"
#include "shell/networkstyledlg.h"
#include "shell/networkstyleitem.h"
#include "shell/pictures.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/projectlist.h"

#include <QAbstractButton>
#include <QDir>
#include <QGridLayout>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <qtmaterialgroupbox.h>

#include <functional>

namespace {

// Runs action once the dialog's own event loop is running.
void whenShown(QDialog *dialog, const std::function<void()> &action)
{
    QTimer::singleShot(0, dialog, [dialog, action]() {
        if (QTest::qWaitForWindowExposed(dialog))
            action();
        else
            dialog->reject();
    });
}

// The kinetic scroll area holds a press back for a moment; the release follows
// once the press has reached the widget.
void clickAt(QWidget *widget, const QPoint &pos)
{
    varnotest::PressWatch press(widget);
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, pos);
    if (!QTest::qWaitFor([&press] { return press.reached(); }, 5000))
        QTest::qFail("the press did not reach the widget", __FILE__, __LINE__);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, pos);
}

QList<ManagerItem *> tilesInOrder(IconSelectDlg &dialog)
{
    QList<ManagerItem *> tiles;
    QGridLayout *grid = dialog.tileGrid();
    for (int i = 0; grid && i < grid->count(); ++i) {
        if (auto *tile = qobject_cast<ManagerItem *>(grid->itemAt(i)->widget()))
            tiles << tile;
    }
    return tiles;
}

} // namespace

class TestPickers : public QObject
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

    void init()
    {
        screen_cx = 1920;
        screen_cy = 1080;
    }

    void families_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QSize>("tileSize");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("rooms") << 1 << 52 << 2 << QSize(300, 160) << "room_1"
                               << "room_52";
        QTest::newRow("3d views") << 2 << 8 << 3 << QSize(300, 160) << "3d_view_01"
                                  << "3d_view_08";
        QTest::newRow("messages") << 3 << 11 << 4 << QSize(192, 192) << "message_01"
                                  << "message_11";
        QTest::newRow("lights") << 4 << 52 << 5 << QSize(192, 192) << "light_01_on"
                                << "light_52_on";
        QTest::newRow("moods") << 5 << 23 << 8 << QSize(300, 160) << "moods_1"
                               << "moods_23";
        QTest::newRow("0 is rooms") << 0 << 52 << 2 << QSize(300, 160) << "room_1"
                                    << "room_52";
        QTest::newRow("6 is rooms") << 6 << 52 << 2 << QSize(300, 160) << "room_1"
                                    << "room_52";
        QTest::newRow("-3 is rooms") << -3 << 52 << 2 << QSize(300, 160) << "room_1"
                                     << "room_52";
    }
    void families()
    {
        QFETCH(int, family);
        QFETCH(int, count);
        QFETCH(int, kind);
        QFETCH(QSize, tileSize);
        QFETCH(QString, first);
        QFETCH(QString, last);
        IconSelectDlg dialog;
        dialog.family = family;
        dialog.initDlgCtrl();
        const QList<ManagerItem *> tiles = tilesInOrder(dialog);
        QCOMPARE(tiles.size(), count);
        QCOMPARE(tiles.first()->getIconName(), first);
        QCOMPARE(tiles.last()->getIconName(), last);
        for (ManagerItem *tile : tiles) {
            QCOMPARE(tile->getType(), kind);
            QCOMPARE(tile->getId(), 0);
            QVERIFY(tile->getName().isEmpty());
            QVERIFY(!tile->isEdit());
            QCOMPARE(tile->size(), tileSize);
            const QString picture = ManagerItem::picturePath(kind, tile->getIconName());
            QVERIFY2(!QImage(picture).isNull(), qPrintable(picture));
        }
    }

    void grid_data()
    {
        QTest::addColumn<int>("screenWidth");
        QTest::addColumn<int>("dialogWidth"); // 0: as the dialog opens
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<int>("stretchedColumn");
        QTest::addColumn<int>("stretchedRow");
        QTest::newRow("800, 300-px tiles") << 1920 << 0 << 1 << 800 << 2 << 66 << 2 << 26;
        QTest::newRow("800, 192-px tiles") << 1920 << 0 << 3 << 800 << 4 << 6 << 4 << 3;
        QTest::newRow("600-px screen, 300-px tiles") << 600 << 0 << 1 << 600 << 1 << 150 << 1 << 52;
        QTest::newRow("600-px screen, 192-px tiles") << 600 << 0 << 4 << 600 << 3 << 6 << 3 << 18;
        QTest::newRow("600 exactly two tiles wide") << 1920 << 600 << 5 << 800 << 2 << 66 << 2 << 12;
        QTest::newRow("2401, 8 pictures fill a row") << 2560 << 2401 << 2 << 2401 << 8 << 0 << 8 << 1;
        QTest::newRow("1000, 8 pictures part of a row") << 1920 << 1000 << 2 << 1000 << 3 << 25 << 3 << 3;
        QTest::newRow("250-px screen, narrower than a tile") << 250 << 250 << 1 << 250 << 1 << 0 << 1 << 52;
        QTest::newRow("250-px screen as it opens") << 250 << 0 << 4 << 400 << 2 << 5 << 2 << 26;
    }
    void grid()
    {
        QFETCH(int, screenWidth);
        QFETCH(int, dialogWidth);
        QFETCH(int, family);
        QFETCH(int, width);
        QFETCH(int, columns);
        QFETCH(int, spacing);
        QFETCH(int, stretchedColumn);
        QFETCH(int, stretchedRow);
        screen_cx = screenWidth;
        IconSelectDlg dialog;
        if (dialogWidth > 0)
            dialog.resize(dialogWidth, 600);
        dialog.family = family;
        dialog.initDlgCtrl();
        QCOMPARE(dialog.width(), width);
        QGridLayout *grid = dialog.tileGrid();
        QCOMPARE(grid->horizontalSpacing(), spacing);
        QCOMPARE(grid->verticalSpacing(), 20);
        const QList<ManagerItem *> tiles = tilesInOrder(dialog);
        for (int i = 0; i < tiles.size(); ++i) {
            int row, column, rs, cs;
            grid->getItemPosition(grid->indexOf(tiles.at(i)), &row, &column, &rs, &cs);
            QCOMPARE(QPoint(column, row), QPoint(i % columns, i / columns));
        }
        for (int c = 0; c < grid->columnCount(); ++c)
            QCOMPARE(grid->columnStretch(c), c == stretchedColumn ? 1 : 0);
        for (int r = 0; r < grid->rowCount(); ++r)
            QCOMPARE(grid->rowStretch(r), r == stretchedRow ? 1 : 0);
    }

    void pressingATileChooses()
    {
        IconSelectDlg dialog;
        dialog.family = 4;
        dialog.initDlgCtrl();
        ManagerItem *tile = tilesInOrder(dialog).at(5);
        whenShown(&dialog, [&]() { clickAt(tile, QPoint(96, 96)); });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.iconName, QStringLiteral("light_06_on"));
        QVERIFY(!tile->isPressed());
        QCOMPARE(tile->getCurrentColor(), QColor(0x1F, 0x29, 0x33));
    }

    void closingTheSelectionRejects()
    {
        IconSelectDlg dialog;
        dialog.iconName = QStringLiteral("room_4");
        dialog.initDlgCtrl();
        whenShown(&dialog, [&]() {
            dialog.findChild<QAbstractButton *>(QStringLiteral("pushButtonClose"))->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(dialog.iconName, QStringLiteral("room_4"));
    }

    void iconStyle_data()
    {
        QTest::addColumn<int>("press"); // row style, or -1 for the close button
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("style");
        QTest::newRow("Select Image") << 0 << int(QDialog::Accepted) << 0;
        QTest::newRow("Add From Gallery") << 1 << int(QDialog::Accepted) << 1;
        QTest::newRow("close") << -1 << int(QDialog::Rejected) << 0;
    }
    void iconStyle()
    {
        QFETCH(int, press);
        QFETCH(int, result);
        QFETCH(int, style);
        IconStyleDlg dialog;
        QCOMPARE(dialog.height(), 180);
        QList<IconStyleItem *> rows = dialog.findChildren<IconStyleItem *>();
        QCOMPARE(rows.size(), 2);
        for (IconStyleItem *row : rows) {
            QCOMPARE(row->height(), 40);
            QVERIFY(!QImage(IconStyleItem::iconPath(row->getStyle())).isNull());
        }
        whenShown(&dialog, [&]() {
            if (press < 0) {
                dialog.findChild<QAbstractButton *>(QStringLiteral("pushButtonClose"))->click();
                return;
            }
            for (IconStyleItem *row : rows) {
                if (row->getStyle() == press)
                    QTest::mouseClick(row, Qt::LeftButton, Qt::NoModifier, QPoint(200, 20));
            }
        });
        QCOMPARE(dialog.exec(), result);
        QCOMPARE(dialog.style, style);
    }

    void networkStyle_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("press"); // row, or -1 for the close button
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("chosen");
        QTest::newRow("local, choose cloud") << 0 << 1 << int(QDialog::Accepted) << 1;
        QTest::newRow("cloud, press the ticked row") << 1 << 1 << int(QDialog::Accepted) << 1;
        QTest::newRow("cloud, choose dns") << 1 << 2 << int(QDialog::Accepted) << 2;
        QTest::newRow("dns, choose local") << 2 << 0 << int(QDialog::Accepted) << 0;
        QTest::newRow("dns, close") << 2 << -1 << int(QDialog::Rejected) << 2;
    }
    void networkStyle()
    {
        QFETCH(int, current);
        QFETCH(int, press);
        QFETCH(int, result);
        QFETCH(int, chosen);
        NetworkStyleDlg dialog;
        QCOMPARE(dialog.height(), 240);
        dialog.netStyle = NetStyle(current);
        dialog.initDlgCtrl();
        const QList<NetworkStyleItem *> rows = dialog.rowBox()->findChildren<NetworkStyleItem *>();
        QCOMPARE(rows.size(), 3);
        for (NetworkStyleItem *row : rows) {
            QCOMPARE(row->isSelected(), int(row->getStyle()) == current);
            QCOMPARE(row->height(), 40);
        }
        whenShown(&dialog, [&]() {
            if (press < 0) {
                dialog.findChild<QAbstractButton *>(QStringLiteral("pushButtonClose"))->click();
                return;
            }
            for (NetworkStyleItem *row : rows) {
                if (int(row->getStyle()) == press)
                    clickAt(row, QPoint(100, 20));
            }
        });
        QCOMPARE(dialog.exec(), result);
        QCOMPARE(int(dialog.netStyle), chosen);
    }

    void networkRowTexts_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("icon");
        QTest::newRow("0") << 0 << "Local Network"
                           << "localnetwork";
        QTest::newRow("1") << 1 << "Cloud Server"
                           << "cloudserver";
        QTest::newRow("2") << 2 << "DNS Server"
                           << "dnsserver";
        QTest::newRow("other as 0") << 5 << "Local Network"
                                    << "localnetwork";
    }
    void networkRowTexts()
    {
        QFETCH(int, style);
        QFETCH(QString, text);
        QFETCH(QString, icon);
        QCOMPARE(NetworkStyleItem::text(style), text);
        const QString path = QStringLiteral(":/myImages/png/network/icon-connection-%1.png").arg(icon);
        QCOMPARE(NetworkStyleItem::iconPath(style), path);
        QVERIFY(!QImage(path).isNull());
    }

    void networkRowTick()
    {
        NetworkStyleItem ticked(NetStyleCloudServer, true);
        NetworkStyleItem plain(NetStyleCloudServer, false);
        ticked.resize(400, 40);
        plain.resize(400, 40);
        // A built-in picture past the share of decoding of one turn of the event loop
        // comes later: the rows are compared once every picture is in.
        ticked.grab();
        QTRY_COMPARE(Pictures::instance().pending(), 0);
        const QImage a = ticked.grab().toImage();
        const QImage b = plain.grab().toImage();
        QVERIFY(a.copy(359, 8, 24, 24) != b.copy(359, 8, 24, 24));
        QCOMPARE(a.copy(0, 0, 300, 40), b.copy(0, 0, 300, 40));
        QCOMPARE(a.pixelColor(200, 39), QColor(Qt::lightGray));

        // The text is elided to the row's width from x = 60: in a narrow row it
        // runs to the right edge.
        NetworkStyleItem narrow(NetStyleLocalNetwork, false);
        narrow.resize(130, 40);
        const QImage c = narrow.grab().toImage();
        int white = 0;
        for (int y = 0; y < 39; ++y) {
            for (int x = 110; x < 130; ++x)
                white += c.pixelColor(x, y) == QColor(Qt::white) ? 1 : 0;
        }
        QVERIFY2(white > 0, "no text near the right edge");
    }
};

VARNO_TEST_MAIN(TestPickers)
#include "tst_pickers.moc"
