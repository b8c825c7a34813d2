// The tile grid of the list pages: columns, spacing and stretch over screen widths
// and tile sizes, and rebuilds, one of them started by a tile's own button.

#include "testmain.h"

#include "shell/manageritem.h"
#include "shell/tilegridfill.h"
#include "store/globals.h"

#include <QGridLayout>
#include <QPointer>
#include <QtTest>

namespace {

QList<QWidget *> makeTiles(int count, int width, int height)
{
    QList<QWidget *> tiles;
    for (int i = 0; i < count; ++i)
        tiles.append(new ManagerItem(i + 1 < count ? ManagerItemRoom : ManagerItemAdd, i + 1, QString(),
                                     QStringLiteral("room_1"), i + 1 < count, Qt::black, width, height));
    return tiles;
}

// The (row, column) of every stretched row and column of the grid.
QPair<QList<int>, QList<int>> stretched(QGridLayout *grid)
{
    QList<int> rows, columns;
    for (int r = 0; r < grid->rowCount(); ++r) {
        if (grid->rowStretch(r) > 0)
            rows.append(r);
    }
    for (int c = 0; c < grid->columnCount(); ++c) {
        if (grid->columnStretch(c) > 0)
            columns.append(c);
    }
    return {rows, columns};
}

} // namespace

class TestTileGridFill : public QObject
{
    Q_OBJECT

private slots:
    void layout_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("tileWidth");
        QTest::addColumn<int>("tiles");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<int>("stretchRow");
        QTest::addColumn<int>("stretchColumn");
        // The add tile alone; five rooms and the add tile fill row 0 exactly.
        QTest::newRow("rooms 1920, empty") << 1920 << 300 << 1 << 6 << 17 << 1 << 1;
        // A full first row stretches the column after it, not column 0 (that would
        // part the first tile from the rest).
        QTest::newRow("rooms 1920, row full") << 1920 << 300 << 6 << 6 << 17 << 1 << 6;
        QTest::newRow("rooms 1920, 6th room") << 1920 << 300 << 7 << 6 << 17 << 2 << 6;
        QTest::newRow("rooms 1920, two rows full") << 1920 << 300 << 12 << 6 << 17 << 2 << 6;
        QTest::newRow("rooms 1800") << 1800 << 300 << 6 << 5 << 50 << 2 << 5;
        QTest::newRow("lights 1920") << 1920 << 192 << 4 << 9 << 19 << 1 << 4;
        QTest::newRow("lights 1728") << 1728 << 192 << 9 << 8 << 21 << 2 << 8;
        QTest::newRow("screen narrower than a tile") << 200 << 300 << 3 << 1 << 0 << 3 << 1;
        QTest::newRow("no screen width") << 0 << 192 << 2 << 1 << 0 << 2 << 1;
    }

    void layout()
    {
        QFETCH(int, screen);
        QFETCH(int, tileWidth);
        QFETCH(int, tiles);
        QFETCH(int, columns);
        screen_cx = screen;
        QWidget box;
        QGridLayout *grid = fillTileGrid(&box, makeTiles(tiles, tileWidth, 160), tileWidth);
        QCOMPARE(box.layout(), grid);
        QTEST(grid->horizontalSpacing(), "spacing");
        QCOMPARE(grid->verticalSpacing(), 20);
        for (int i = 0; i < tiles; ++i) {
            int row = -1, column = -1, rs = 0, cs = 0;
            grid->getItemPosition(i, &row, &column, &rs, &cs);
            QCOMPARE(row, i / columns);
            QCOMPARE(column, i % columns);
        }
        const auto stretch = stretched(grid);
        QFETCH(int, stretchRow);
        QFETCH(int, stretchColumn);
        QCOMPARE(stretch.first, QList<int>{stretchRow});
        QCOMPARE(stretch.second, QList<int>{stretchColumn});
    }

    // Two rebuilds in a row, the first from a tile's own delete button: the old
    // tiles go once the event loop has run, the grid keeps its first spacing,
    // and the stretch of the earlier fill is gone.
    void rebuildsFromATilesOwnButton()
    {
        screen_cx = 1920;
        QWidget box;
        int fills = 0;
        std::function<void()> rebuild;
        rebuild = [&]() {
            QList<QWidget *> tiles = makeTiles(3, 300, 160);
            for (QWidget *tile : tiles)
                connect(static_cast<ManagerItem *>(tile), &ManagerItem::signalsDelete, &box,
                        [&](int, int) { rebuild(); });
            fillTileGrid(&box, tiles, 300);
            ++fills;
        };
        QList<QWidget *> many = makeTiles(8, 300, 160);
        for (QWidget *tile : many)
            connect(static_cast<ManagerItem *>(tile), &ManagerItem::signalsDelete, &box,
                    [&](int, int) { rebuild(); });
        QGridLayout *grid = fillTileGrid(&box, many, 300);
        QPointer<QWidget> first = many.first();

        screen_cx = 1000; // a later fill does not set the spacing again
        static_cast<ManagerItem *>(many.first())->pushButtonDelete_clicked();
        rebuild();
        QCOMPARE(fills, 2);
        QVERIFY(first); // not deleted inside its own signal
        QCOMPARE(grid->count(), 3);
        QTRY_COMPARE(box.findChildren<ManagerItem *>().size(), 3);
        QVERIFY(!first);
        QCOMPARE(grid->horizontalSpacing(), 17);
        const auto stretch = stretched(grid);
        QCOMPARE(stretch.first, QList<int>{1});
        QCOMPARE(stretch.second, QList<int>{3}); // a full row of three on 1000 px
    }
};

VARNO_TEST_MAIN(TestTileGridFill)
#include "tst_tilegridfill.moc"
