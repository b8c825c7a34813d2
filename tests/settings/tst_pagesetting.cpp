// The settings hub: its grid over screen widths, the tiles' pictures, and what a
// press asks for, also with the user interface in another language.

#include "testmain.h"

#include "markingtranslator.h"

#include "bus/broadcastsocket.h"
#include "settings/pagesetting.h"
#include "shell/settingitem.h"
#include "store/globals.h"

#include <QDir>
#include <QGridLayout>
#include <QtTest>

namespace {

const QStringList Ids{"Project Setting",       "Room Template",   "Rooms Manager",   "Message Manager",
                      "Change Device Address", "Network Setting", "3D View Manager", "About"};

SettingItem *tileAt(QGridLayout *grid, int row, int column)
{
    QLayoutItem *item = grid->itemAtPosition(row, column);
    return item ? qobject_cast<SettingItem *>(item->widget()) : nullptr;
}

} // namespace

class TestPageSetting : public QObject
{
    Q_OBJECT

private slots:
    void grid_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("spacing");
        QTest::newRow("1920") << 1920 << 7 << 16;
        QTest::newRow("2048") << 2048 << 7 << 32;
        QTest::newRow("2049") << 2049 << 8 << 0;
        QTest::newRow("narrow") << 100 << 1 << 0;
    }

    void grid()
    {
        QFETCH(int, screen);
        QFETCH(int, columns);
        screen_cx = screen;
        PageSetting page(QStringLiteral("Setting"), QStringLiteral("Setting"));
        QGridLayout *grid = page.tileGrid();
        QTEST(grid->horizontalSpacing(), "spacing");
        QCOMPARE(grid->verticalSpacing(), 20);
        for (int i = 0; i < Ids.size(); ++i) {
            SettingItem *tile = tileAt(grid, i / columns, i % columns);
            QVERIFY(tile);
            QCOMPARE(tile->getTitle(), Ids.at(i));
            QCOMPARE(tile->size(), QSize(256, 256));
            const int image = Ids.at(i) == QLatin1String("3D View Manager") ? 160 : 128;
            QCOMPARE(tile->getImageSize(), QSize(image, image));
            QVERIFY2(!QImage(tile->getImagePath()).isNull(), qPrintable(tile->getImagePath()));
        }
        const int rows = (Ids.size() + columns - 1) / columns;
        QCOMPARE(grid->rowStretch(rows), 1);
        QCOMPARE(grid->columnStretch(rows == 1 ? Ids.size() : columns), 1);
        if (screen == 1920) {
            QCOMPARE(tileAt(grid, 1, 0)->getTitle(), QStringLiteral("About"));
            QVERIFY(!tileAt(grid, 1, 1));
            page.setFixedSize(1920, 1080);
            page.show();
            QVERIFY(QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR)));
            const QImage shot = page.grab().toImage();
            QVERIFY(shot.save(QStringLiteral(VARNO_SCREENSHOT_DIR "/hub.png")));
            // The first tile is drawn in the tile colour at its place.
            const QPoint first = tileAt(grid, 0, 0)->mapTo(&page, QPoint(20, 20));
            QCOMPARE(shot.pixelColor(first), QColor(0x3D, 0x53, 0x66));
        }
    }

    // A press asks for the tile's page by its id with empty arguments, whatever
    // language the titles are shown in.
    void pressRequestsThePage()
    {
        screen_cx = 1920;
        varnotest::MarkedTexts marked;
        PageSetting page(QStringLiteral("Setting"), QStringLiteral("Setting"));
        QSignalSpy requests(&gl_socket, &BroadcastSocket::signalsPageIdChanged);
        for (int i = 0; i < Ids.size(); ++i) {
            SettingItem *tile = tileAt(page.tileGrid(), i / 7, i % 7);
            QCOMPARE(tile->getTitle(), QLatin1Char('[') + Ids.at(i) + QLatin1Char(']'));
            emit tile->signalsPressed();
        }
        QCOMPARE(requests.size(), Ids.size());
        for (int i = 0; i < Ids.size(); ++i) {
            QCOMPARE(requests.at(i).at(0).toString(), Ids.at(i));
            QCOMPARE(requests.at(i).at(2).toString(), QString());
            QCOMPARE(requests.at(i).at(3).toString(), QString());
        }
    }
};

VARNO_TEST_MAIN(TestPageSetting)
#include "tst_pagesetting.moc"
