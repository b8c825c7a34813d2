// Button list: rows of flat buttons, their set-up and geometry, and the list's colours.

#include "../support/testmain.h"
#include "materialtestutil.h"

#include "qtmaterialbuttonlist.h"
#include "qtmaterialbuttonlistprivate.h"
#include "qtmaterialflatbutton.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtheme.h"

namespace {

const QColor DarkBackground(0x26, 0x34, 0x40);

class ListAccess : public QtMaterialButtonList
{
public:
    static QList<QtMaterialFlatButton *> buttons(QtMaterialButtonList *list)
    {
        const auto member = &ListAccess::d_ptr;
        return (list->*member)->buttons;
    }
};

} // namespace

class TestMaterialButtonList : public QObject
{
    Q_OBJECT

private slots:
    void emptyList();
    void rowsAfterResize_data();
    void rowsAfterResize();
    void insertAtFrontMovesOthersDown();
    void buttonSetUp();
    void colours();
    void screenshotOnDarkBackground();
};

void TestMaterialButtonList::emptyList()
{
    QtMaterialButtonList list(nullptr);
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.sizeHint(), QSize(-1, 0));
}

void TestMaterialButtonList::rowsAfterResize_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("width");

    QTest::newRow("one") << 1 << 120;
    QTest::newRow("three") << 3 << 200;
    QTest::newRow("seven") << 7 << 333;
}

void TestMaterialButtonList::rowsAfterResize()
{
    QFETCH(int, buttons);
    QFETCH(int, width);

    QtMaterialButtonList list(nullptr);
    for (int i = 0; i < buttons; ++i)
        list.addButton(QStringLiteral("Item %1").arg(i));
    QCOMPARE(list.count(), buttons);
    QCOMPARE(list.sizeHint(), QSize(-1, 50 * buttons));

    list.resize(width, 50 * buttons);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const QList<QtMaterialFlatButton *> rows = ListAccess::buttons(&list);
    for (int i = 0; i < buttons; ++i) {
        QCOMPARE(rows.at(i)->text(), QStringLiteral("Item %1").arg(i));
        QCOMPARE(rows.at(i)->geometry(), QRect(0, 50 * i, width, 50));
        QVERIFY(rows.at(i)->isVisible());
    }
}

void TestMaterialButtonList::insertAtFrontMovesOthersDown()
{
    QtMaterialButtonList list(nullptr);
    list.addButton("B");
    list.addButton("C");
    list.resize(100, 150);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));

    list.insertButton(0, "A");
    list.insertButton(2, QtMaterialTheme::icon("content", "add"), "B+");
    QCOMPARE(list.count(), 4);
    QCOMPARE(list.buttonText(0), QStringLiteral("A"));
    QCOMPARE(list.buttonText(1), QStringLiteral("B"));
    QCOMPARE(list.buttonText(2), QStringLiteral("B+"));
    QCOMPARE(list.buttonText(3), QStringLiteral("C"));
    QVERIFY(!list.buttonIcon(2).isNull());
    QCOMPARE(list.sizeHint().height(), 200);

    list.resize(100, 200);
    const QList<QtMaterialFlatButton *> rows = ListAccess::buttons(&list);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(rows.at(i)->geometry(), QRect(0, 50 * i, 100, 50));
    // The buttons raised last are on top of the earlier ones.
    QCOMPARE(list.children().last(), rows.at(2));
}

void TestMaterialButtonList::buttonSetUp()
{
    QtMaterialButtonList list(nullptr);
    QFont font("DejaVu Sans", 11);
    list.setFont(font);
    list.addButton("Plain");
    list.addButton(QtMaterialTheme::icon("content", "save"), "With icon");

    for (QtMaterialFlatButton *button : ListAccess::buttons(&list)) {
        QCOMPARE(button->parentWidget(), &list);
        QCOMPARE(button->type(), Material::TextButton);
        QCOMPARE(button->role(), Material::DefaultRole);
        QCOMPARE(button->textAlignment(), Qt::Alignment(Qt::AlignLeft));
        QCOMPARE(button->cornerRadius(), 0.0);
        QVERIFY(!button->isHaloVisible());
        QCOMPARE(button->minimumHeight(), 50);
        QCOMPARE(button->maximumHeight(), 50);
        QCOMPARE(button->overlayStyle(), Material::OverlayTinted);
        QCOMPARE(button->font().family(), font.family());
        QCOMPARE(button->font().pointSize(), 11);
        QVERIFY(!button->isHidden());
    }
    QVERIFY(list.buttonIcon(0).isNull());
    QVERIFY(!list.buttonIcon(1).isNull());
}

void TestMaterialButtonList::colours()
{
    QtMaterialButtonList list(nullptr);
    list.addButton("One");
    const QtMaterialStyle &style = QtMaterialStyle::instance();

    QVERIFY(list.useThemeColors());
    QCOMPARE(list.foregroundColor(), style.themeColor(Material::AlternateTextColor));
    QCOMPARE(list.backgroundColor(), style.themeColor(Material::PrimaryColor));

    list.setBackgroundColor(Qt::red);
    QVERIFY(!list.useThemeColors());
    QCOMPARE(list.backgroundColor(), QColor(Qt::red));
    QCOMPARE(list.foregroundColor(), style.themeColor(Material::AlternateTextColor));
    list.setForegroundColor(Qt::yellow);
    QCOMPARE(list.foregroundColor(), QColor(Qt::yellow));
    // The list keeps its colours to itself.
    QtMaterialFlatButton *button = ListAccess::buttons(&list).first();
    QCOMPARE(button->foregroundColor(), style.themeColor(Material::TextColor));

    list.setUseThemeColors(true);
    QCOMPARE(list.backgroundColor(), style.themeColor(Material::PrimaryColor));
}

void TestMaterialButtonList::screenshotOnDarkBackground()
{
    QWidget host;
    QPalette p = host.palette();
    p.setColor(QPalette::Window, DarkBackground);
    host.setPalette(p);
    host.setAutoFillBackground(true);
    host.resize(240, 170);

    auto *list = new QtMaterialButtonList(&host);
    list->addButton(QtMaterialTheme::icon("content", "add"), "Add room");
    list->addButton(QtMaterialTheme::icon("content", "remove"), "Remove room");
    list->addButton("Rename");
    list->setGeometry(10, 10, 220, list->sizeHint().height());
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    // Hover the second row: its tinted overlay shows.
    QtMaterialFlatButton *second = ListAccess::buttons(list).at(1);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(second, &enter);
    QTRY_VERIFY(materialtest::atRest(second));

    const QImage image = materialtest::screenshot(&host, "buttonlist");
    const QColor text = QtMaterialStyle::instance().themeColor(Material::TextColor);
    // Text from x = 12 in each row, in the default text colour.
    for (int row = 0; row < 3; ++row) {
        QVERIFY(materialtest::countColor(image, text, QRect(22, 10 + 50 * row, 200, 50), 40)
                > 20);
    }
    // Nothing drawn in the first row's right end, the hovered row is tinted.
    QVERIFY(materialtest::sameColor(image.pixelColor(220, 35), DarkBackground));
    QVERIFY(!materialtest::sameColor(image.pixelColor(220, 85), DarkBackground, 3));
}

VARNO_TEST_MAIN(TestMaterialButtonList)
#include "tst_qtmaterialbuttonlist.moc"
