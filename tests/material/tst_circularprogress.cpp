// Circular progress: size hints, determinate arcs (also with an empty range), the
// spinning circle's size, the disabled cross, the endless keyframe animations, and
// a screenshot on the dark background.

#include "materialtestutil.h"
#include "qtmaterialcircularprogress.h"
#include "qtmaterialcircularprogressdelegate.h"
#include "testmain.h"

#include <QHBoxLayout>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QTest>

using namespace materialtest;

namespace {

const QColor kPage(0x26, 0x34, 0x40);
const QColor kPrimary(0x21, 0x96, 0xF3);
const QColor kBorder(0xE0, 0xE0, 0xE0);

QRect paintedArea(const QImage &image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                area |= QRect(x, y, 1, 1);
    return area;
}

QtMaterialCircularProgressDelegate *delegateOf(QtMaterialCircularProgress *progress)
{
    return progress->findChild<QtMaterialCircularProgressDelegate *>();
}

} // namespace

class TestCircularProgress : public QObject
{
    Q_OBJECT

private slots:
    void sizeHint();
    void determinateArc_data();
    void determinateArc();
    void spinningCircleAndCross();
    void animationsLoop();
    void screenshot();
};

void TestCircularProgress::sizeHint()
{
    QtMaterialCircularProgress progress;
    QCOMPARE(progress.progressType(), Material::ProgressIndeterminate);
    QCOMPARE(progress.color(), kPrimary);
    QCOMPARE(progress.sizeHint(), QSize(78, 78));
    progress.setSize(100);
    QCOMPARE(progress.sizeHint(), QSize(114, 114)); // 100 + 6.25 + 8
    progress.setLineWidth(10);
    QCOMPARE(progress.sizeHint(), QSize(118, 118));
    progress.setColor(Qt::red);
    QCOMPARE(progress.color(), QColor(Qt::red));
    progress.setUseThemeColors(true);
    QCOMPARE(progress.color(), kPrimary);
}

void TestCircularProgress::determinateArc_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    // Which of the ring's right, bottom and left points are drawn; the top is
    // drawn by every arc that has a length.
    QTest::addColumn<QString>("drawn");
    QTest::addColumn<int>("maxPainted");   // -1: no bound

    QTest::newRow("at minimum") << 0 << 100 << 0 << QString() << 60;
    QTest::newRow("quarter, clockwise") << 0 << 100 << 25 << "R" << -1;
    QTest::newRow("half, clockwise") << 10 << 30 << 20 << "RB" << -1;
    QTest::newRow("at maximum") << 0 << 100 << 100 << "RBL" << -1;
    QTest::newRow("empty range") << 5 << 5 << 5 << QString() << 0;
    QTest::newRow("empty zero range") << 0 << 0 << 0 << QString() << 0;
}

void TestCircularProgress::determinateArc()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(QString, drawn);
    QFETCH(int, maxPainted);

    QtMaterialCircularProgress progress;
    progress.setProgressType(Material::ProgressDeterminate);
    progress.setRange(minimum, maximum);
    progress.setValue(value);
    progress.resize(100, 100);
    const QImage image = renderAlone(&progress);

    // The arc's square is (18, 18, 64, 64): points on the ring, 32 from the centre.
    const struct { QChar key; QPoint at; } points[] = {
        {'R', QPoint(82, 50)}, {'B', QPoint(50, 82)}, {'L', QPoint(18, 50)}};
    for (const auto &p : points)
        QCOMPARE(sameColor(image.pixelColor(p.at), kPrimary, 30), drawn.contains(p.key));
    if (!drawn.isEmpty())
        QVERIFY(sameColor(image.pixelColor(50, 18), kPrimary, 30));
    if (maxPainted >= 0)
        QVERIFY(countOpaque(image, image.rect()) <= maxPainted);
}

void TestCircularProgress::spinningCircleAndCross()
{
    // A dash longer than the ring draws it whole; an odd size rounds down.
    QRect areas[3];
    const int sizes[] = {64, 65, 66};
    for (int i = 0; i < 3; ++i) {
        QtMaterialCircularProgress progress;
        progress.resize(100, 100);
        progress.setSize(sizes[i]);
        delegateOf(&progress)->setDashLength(1000);
        delegateOf(&progress)->setDashOffset(0);
        areas[i] = paintedArea(renderAlone(&progress));
    }
    QVERIFY(!areas[0].isEmpty());
    QCOMPARE(areas[1], areas[0]);
    QCOMPARE(areas[2].width(), areas[0].width() + 2);

    // Disabled: only the 40 x 40 cross in the border colour.
    QtMaterialCircularProgress progress;
    progress.resize(101, 101);
    progress.setEnabled(false);
    const QImage image = renderAlone(&progress);
    QCOMPARE(countColor(image, kPrimary, 40), 0);
    QVERIFY(sameColor(image.pixelColor(50, 50), kBorder, 10));
    QVERIFY(sameColor(image.pixelColor(35, 35), kBorder, 10));
    QVERIFY(sameColor(image.pixelColor(65, 35), kBorder, 10));
    QCOMPARE(countOpaque(image, QRect(50, 20, 1, 20)), 0); // between the arms
    const QRect cross = paintedArea(image);
    // 40 plus the line width with its round caps, centred.
    QVERIFY(qAbs(cross.width() - 47) <= 1 && qAbs(cross.height() - 47) <= 1);
    QVERIFY((cross.center() - QPoint(50, 50)).manhattanLength() <= 2);
}

void TestCircularProgress::animationsLoop()
{
    QtMaterialCircularProgress progress;
    progress.setProgressType(Material::ProgressDeterminate);
    progress.setEnabled(false);
    auto *group = progress.findChild<QParallelAnimationGroup *>();
    QVERIFY(group);
    QCOMPARE(group->state(), QAbstractAnimation::Running);
    QCOMPARE(group->loopCount(), -1);
    QCOMPARE(group->animationCount(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(group->animationAt(i)->duration(), 2050);

    // Many cycles on, the values still follow the keyframes of one cycle.
    QtMaterialCircularProgressDelegate *delegate = delegateOf(&progress);
    // Offsets: the plateau at -7, then on its way to -25.
    const struct { qreal share; qreal length; qreal offsetHigh; qreal offsetLow; int angle; } points[] = {
        {0, 0.1, 0, 0, 0}, {0.6, 20, -7, -7, 431}, {0.9, 20, -8, -24, 647}};
    for (int cycle : {3, 40}) {
        for (const auto &p : points) {
            group->setCurrentTime(cycle * 2050 + int(p.share * 2050));
            QCOMPARE(group->state(), QAbstractAnimation::Running);
            QCOMPARE(delegate->dashLength(), p.length);
            QVERIFY(delegate->dashOffset() <= p.offsetHigh && delegate->dashOffset() >= p.offsetLow);
            QVERIFY(qAbs(delegate->angle() - p.angle) <= 1);
        }
    }
}

void TestCircularProgress::screenshot()
{
    QWidget page;
    page.resize(360, 120);
    page.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, kPage);
    page.setPalette(palette);
    auto *row = new QHBoxLayout(&page);
    auto *spinning = new QtMaterialCircularProgress;
    auto *determinate = new QtMaterialCircularProgress;
    determinate->setProgressType(Material::ProgressDeterminate);
    determinate->setValue(65);
    auto *disabled = new QtMaterialCircularProgress;
    disabled->setEnabled(false);
    for (QWidget *w : {static_cast<QWidget *>(spinning), static_cast<QWidget *>(determinate),
                       static_cast<QWidget *>(disabled)})
        row->addWidget(w);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto *group = spinning->findChild<QParallelAnimationGroup *>();
    group->pause();
    group->setCurrentTime(1400);

    const QImage image = materialtest::screenshot(&page, QStringLiteral("circularprogress"));
    const auto area = [&](QWidget *w) { return QRect(w->mapTo(&page, QPoint()), w->size()); };
    QVERIFY(countColor(image, kPrimary, area(spinning), 10) > 60);
    const QRect d = area(determinate);
    const QPoint c = d.center();
    QVERIFY(sameColor(image.pixelColor(c.x() + 32, c.y()), kPrimary, 30));   // right: drawn
    QVERIFY(sameColor(image.pixelColor(c.x() - 32, c.y()), kPage, 10));      // left: not yet
    QVERIFY(countColor(image, kBorder, area(disabled), 10) > 60);
}

VARNO_TEST_MAIN(TestCircularProgress)
#include "tst_circularprogress.moc"
