// Avatar and badge: sizes, the three kinds, disabled look, badge text and icon,
// mouse transparency and placement, and a screenshot on the dark background.

#include "materialtestutil.h"
#include "qtmaterialavatar.h"
#include "qtmaterialbadge.h"
#include "qtmaterialtheme.h"
#include "testmain.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace materialtest;

namespace {

const QColor kPage(0x26, 0x34, 0x40);
const QColor kPrimary(0x21, 0x96, 0xF3);
const QColor kAccent(0xFF, 0x98, 0x00);
const QColor kWhite(Qt::white);

QIcon saveIcon()
{
    return QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("save"));
}

QImage redImage()
{
    QImage image(80, 80, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
}

// The smallest rectangle of pixels whose colour matches.
QRect areaOf(const QImage &image, const QColor &color, int tolerance = 2)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (sameColor(image.pixelColor(x, y), color, tolerance))
                area |= QRect(x, y, 1, 1);
    return area;
}

} // namespace

class TestAvatarBadge : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void avatarKinds_data();
    void avatarKinds();
    void avatarLetterSize();
    void badge();
    void screenshot();
};

void TestAvatarBadge::initTestCase()
{
    QtMaterialTheme::registerResources();
}

void TestAvatarBadge::avatarKinds_data()
{
    QTest::addColumn<int>("kind");         // 0 image, 1 icon, 2 letter, 3 new (null letter)
    QTest::addColumn<QColor>("inside");    // the colour that must show inside the disc
    QTest::addColumn<int>("minInside");
    QTest::newRow("new") << 3 << QColor() << 0;
    QTest::newRow("letter") << 2 << kWhite << 10;
    QTest::newRow("icon") << 1 << kWhite << 20;
    QTest::newRow("image") << 0 << QColor(Qt::red) << 1000;
}

void TestAvatarBadge::avatarKinds()
{
    QFETCH(int, kind);
    QFETCH(QColor, inside);
    QFETCH(int, minInside);

    QtMaterialAvatar *avatar = nullptr;
    switch (kind) {
    case 0: avatar = new QtMaterialAvatar(redImage()); break;
    case 1: avatar = new QtMaterialAvatar(saveIcon()); break;
    case 2: avatar = new QtMaterialAvatar(QChar('K')); break;
    default: avatar = new QtMaterialAvatar; break;
    }
    QScopedPointer<QtMaterialAvatar> owner(avatar);
    QCOMPARE(int(avatar->type()), kind == 3 ? 2 : kind);
    QCOMPARE(avatar->size(), 40);
    QCOMPARE(avatar->sizeHint(), QSize(42, 42));
    QCOMPARE(avatar->font().pointSize(), 16);
    avatar->resize(avatar->sizeHint());

    const QImage image = renderAlone(avatar);
    const QRect disc(1, 1, 40, 40);
    // Nothing outside the 40-pixel disc; its middle filled.
    QCOMPARE(countOpaque(image, QRect(0, 0, 42, 1)), 0);
    QCOMPARE(countOpaque(image, QRect(0, 0, 1, 42)), 0);
    QCOMPARE(countOpaque(image, QRect(1, 1, 4, 4)), 0);
    QVERIFY(countOpaque(image, disc) > 1200);
    if (kind == 3) {
        QCOMPARE(avatar->letter(), QChar());
        // Only the background disc: the null letter draws nothing on it.
        QVERIFY(countColor(image, kPrimary, disc) > 1000);
        QCOMPARE(countColor(image, kWhite, disc, 120), 0);
    } else {
        QVERIFY(countColor(image, inside, disc, 40) >= minInside);
    }

    // Disabled: only the grey disc, whatever the kind.
    avatar->setEnabled(false);
    const QImage grey = renderAlone(avatar);
    QVERIFY(countOpaque(grey, disc) > 1200);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x) {
            const QColor c = grey.pixelColor(x, y);
            QVERIFY(c.alpha() <= 67 && c.red() == 0 && c.green() == 0 && c.blue() == 0);
        }
}

void TestAvatarBadge::avatarLetterSize()
{
    QtMaterialAvatar avatar(redImage());
    // Letter points 16 * size / 40, truncated; the image cropped to the new size.
    for (const QPair<int, int> &row : {qMakePair(100, 40), qMakePair(41, 16), qMakePair(59, 23)}) {
        avatar.setSize(row.first);
        QCOMPARE(avatar.font().pointSize(), row.second);
        QCOMPARE(avatar.sizeHint(), QSize(row.first + 2, row.first + 2));
        avatar.resize(avatar.sizeHint());
        QVERIFY(qAbs(areaOf(renderAlone(&avatar), Qt::red, 60).width() - row.first) <= 2);
    }

    // Each kind clears the others.
    avatar.setLetter(QChar('A'));
    QVERIFY(avatar.image().isNull());
    avatar.setIcon(saveIcon());
    QCOMPARE(avatar.letter(), QChar());
    avatar.setImage(redImage());
    QVERIFY(avatar.icon().isNull());
}

void TestAvatarBadge::badge()
{
    QWidget parent;
    parent.resize(200, 120);
    auto *button = new QPushButton(&parent);
    button->setGeometry(0, 0, 200, 120);
    auto *badge = new QtMaterialBadge(button);
    QCOMPARE(badge->text(), QStringLiteral("+1"));
    QCOMPARE(badge->backgroundColor(), kAccent);
    QCOMPARE(badge->font().pointSize(), 10);
    const QSize text = QFontMetrics(badge->font()).size(Qt::TextShowMnemonic, QStringLiteral("+1"));
    const int diameter = qMax(text.width(), text.height()) + 10;
    QCOMPARE(badge->getDiameter(), diameter);
    QCOMPARE(badge->sizeHint(), QSize(diameter + 4, diameter + 4));

    // The badge covers its parent but takes no mouse input.
    QVERIFY(badge->testAttribute(Qt::WA_TransparentForMouseEvents));
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QCOMPARE(badge->geometry(), button->rect());
    QSignalSpy clicked(button, &QPushButton::clicked);
    QTest::mouseClick(parent.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 60));
    QCOMPARE(clicked.count(), 1);

    // Disc centred on the parent, moved 10 right and 10 up.
    badge->setRelativePosition(10, -10);
    QCOMPARE(badge->relativePosition(), QPointF(10, -10));
    const QRect disc = areaOf(renderAlone(badge), kAccent, 10);
    QVERIFY((disc.center() - QPoint(110, 50)).manhattanLength() <= 2);
    QVERIFY(qAbs(disc.width() - diameter) <= 2);

    // An icon after text keeps the text; text after an icon clears the icon.
    badge->setIcon(saveIcon());
    QCOMPARE(badge->text(), QStringLiteral("+1"));
    QCOMPARE(badge->getDiameter(), 24);
    QCOMPARE(badge->sizeHint(), QSize(28, 28));
    QVERIFY(qAbs(areaOf(renderAlone(badge), kAccent, 10).width() - 24) <= 2);
    badge->setText(QStringLiteral("99"));
    QVERIFY(badge->icon().isNull());
    QCOMPARE(badge->text(), QStringLiteral("99"));

    QCOMPARE(QtMaterialBadge(saveIcon(), button).text(), QStringLiteral("+1"));
}

void TestAvatarBadge::screenshot()
{
    QWidget page;
    page.resize(420, 120);
    page.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, kPage);
    page.setPalette(palette);
    auto *row = new QHBoxLayout(&page);

    QList<QtMaterialAvatar *> avatars = {
        new QtMaterialAvatar(QChar('K')), new QtMaterialAvatar(saveIcon()),
        new QtMaterialAvatar(redImage()), new QtMaterialAvatar(QChar('D'))};
    avatars.last()->setEnabled(false);
    for (QtMaterialAvatar *avatar : avatars) {
        avatar->setSize(60);
        row->addWidget(avatar);
    }
    for (QtMaterialBadge *badge : {new QtMaterialBadge(avatars.at(0)),
                                   new QtMaterialBadge(saveIcon(), avatars.at(1)),
                                   new QtMaterialBadge(QStringLiteral("12"), avatars.at(2))})
        badge->setRelativePosition(22, -22);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    const QImage image = materialtest::screenshot(&page, QStringLiteral("avatars"));
    for (int i = 0; i < 3; ++i) {
        const QRect r(avatars.at(i)->mapTo(&page, QPoint()), avatars.at(i)->rect().size());
        QVERIFY(countColor(image, kAccent, r, 10) > 100);   // its badge
        const QColor face = i == 2 ? QColor(Qt::red) : kPrimary;
        QVERIFY(sameColor(image.pixelColor(r.center() + QPoint(-20, 10)), face));
    }
    // The disabled disc: the page under black at 26 %.
    const qreal a = 1 - 66 / 255.0;
    const QColor grey = QColor::fromRgbF(kPage.redF() * a, kPage.greenF() * a, kPage.blueF() * a);
    const QPoint centre = avatars.at(3)->mapTo(&page, avatars.at(3)->rect().center());
    QVERIFY(sameColor(image.pixelColor(centre), grey));
}

VARNO_TEST_MAIN(TestAvatarBadge)
#include "tst_avatarbadge.moc"
