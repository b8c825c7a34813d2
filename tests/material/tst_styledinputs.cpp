// Line edit, combo box, date-time edit and group box: their style sheets, fonts
// and looks on the dark pages.

#include "materialtestutil.h"
#include "qtmaterialcombobox.h"
#include "qtmaterialdatetimeedit.h"
#include "qtmaterialgroupbox.h"
#include "qtmateriallineedit.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtheme.h"
#include "testmain.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QTest>
#include <QVBoxLayout>

using namespace materialtest;

namespace {

const QColor kField(0x26, 0x34, 0x40);
const QColor kHover(0x55, 0x7F, 0xA3);
const QColor kItem(0x1F, 0x29, 0x33);
const QColor kLightGray(0xD3, 0xD3, 0xD3);
const QColor kWhite(Qt::white);
const QColor kLime(0xAB, 0xD2, 0x65);

const char *const kLineEditSheet =
    "QLineEdit{background-color: #263440;border: 1px solid lightGray;height:30px;border-radius: "
    "5px;color: white;}QLineEdit:hover{background-color: #557FA3;}QLineEdit:focus{"
    "background-color: #263440;}";

const char *const kComboSheet =
    "QComboBox{background-color: #263440;border: 1px solid #ffffff;height:30px;border-radius: 5px;"
    "color: white;outline:none;}QComboBox:hover{background-color: #557FA3;}"
    "QComboBox QAbstractScrollArea QScrollBar:vertical {width: 10px;background-color: #263440;}"
    "QComboBox QAbstractItemView{background-color: #263440;selection-background-color: #557FA3;"
    "border: 1px solid #ffffff;border-radius: 5px;color: #ffffff;outline:none;}"
    "QComboBox QAbstractItemView::item{background-color: #1F2933;color: #ffffff;height: 30px;"
    "border-radius: 5px;outline:none;}"
    "QComboBox QAbstractItemView::item:selected{background-color: #557FA3;color:#ffffff;}"
    "QComboBox QAbstractItemView::item:hover{background-color: #557FA3;color:#ffffff;}";

const char *const kDateTimeSheet =
    "QDateTimeEdit{background-color: #263440;border: 1px solid lightGray;height:30px;"
    "border-radius: 5px;color: white;}";

const char *const kCalendarSheet =
    "QCalendarWidget{background-color:#263440;border: 1px solid lightGray;}QCalendarWidget "
    "QAbstractItemView:enabled{color:#ABD265;background-color:#263440;selection-color: white;"
    "selection-background-color:#263440;}";

// The parts of a font that a theme role fixes.
QString fontText(const QFont &f)
{
    return QStringLiteral("%1 %2pt w%3 s%4 c%5 i%6")
        .arg(f.family())
        .arg(f.pointSizeF())
        .arg(f.weight())
        .arg(f.letterSpacing())
        .arg(int(f.capitalization()))
        .arg(f.italic());
}

QString roleText(Material::FontType role)
{
    return fontText(QtMaterialStyle::instance().themeFont(role));
}

QWidget *makeInput(const QString &kind)
{
    if (kind == QLatin1String("line edit"))
        return new QtMaterialLineEdit;
    if (kind == QLatin1String("line edit with text"))
        return new QtMaterialLineEdit(QStringLiteral("abc"));
    if (kind == QLatin1String("combo box"))
        return new QtMaterialComboBox;
    if (kind == QLatin1String("date-time edit"))
        return new QtMaterialDateTimeEdit;
    if (kind == QLatin1String("group box"))
        return new QtMaterialGroupBox;
    return new QtMaterialGroupBox(QStringLiteral("Title"));
}

Material::FontType fontTypeOf(QWidget *w)
{
    if (auto *e = qobject_cast<QtMaterialLineEdit *>(w))
        return e->fontType();
    if (auto *c = qobject_cast<QtMaterialComboBox *>(w))
        return c->fontType();
    if (auto *d = qobject_cast<QtMaterialDateTimeEdit *>(w))
        return d->fontType();
    return qobject_cast<QtMaterialGroupBox *>(w)->fontType();
}

void setFontTypeOf(QWidget *w, Material::FontType type)
{
    if (auto *e = qobject_cast<QtMaterialLineEdit *>(w))
        e->setFontType(type);
    else if (auto *c = qobject_cast<QtMaterialComboBox *>(w))
        c->setFontType(type);
    else if (auto *d = qobject_cast<QtMaterialDateTimeEdit *>(w))
        d->setFontType(type);
    else
        qobject_cast<QtMaterialGroupBox *>(w)->setFontType(type);
}

// A dark page holding the widget, rendered offscreen.
QImage shoot(QWidget *widget, const QString &name, const QSize &size = QSize(240, 50))
{
    QWidget page;
    page.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, kItem);
    page.setPalette(palette);
    page.resize(size.width() + 20, size.height() + 20);
    widget->setParent(&page);
    widget->setGeometry(10, 10, size.width(), size.height());
    widget->show();
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    image.save(screenshotDir() + QLatin1Char('/') + name + QStringLiteral(".png"));
    widget->setParent(nullptr);
    return image;
}

} // namespace

class TestStyledInputs : public QObject
{
    Q_OBJECT

private slots:
    void styleSheets_data();
    void styleSheets();
    void defaultFont_data();
    void defaultFont();
    void setFontType_data();
    void setFontType();
    void comboFontTypeLeavesEditAndList();
    void comboEditableFromConstruction();
    void comboItemsLook();
    void lineEditLooks_data();
    void lineEditLooks();
    void dateTimeEditHasCalendarPopup();
    void groupBoxTitle_data();
    void groupBoxTitle();
    void groupBoxFollowsThemeChange();
};

void TestStyledInputs::styleSheets_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("sheet");

    QTest::newRow("line edit") << "line edit" << QString::fromLatin1(kLineEditSheet);
    QTest::newRow("line edit with text") << "line edit with text"
                                         << QString::fromLatin1(kLineEditSheet);
    QTest::newRow("combo box") << "combo box" << QString::fromLatin1(kComboSheet);
    QTest::newRow("date-time edit") << "date-time edit" << QString::fromLatin1(kDateTimeSheet);
    QTest::newRow("group box") << "group box" << QString();
}

void TestStyledInputs::styleSheets()
{
    QFETCH(QString, kind);
    QFETCH(QString, sheet);

    QScopedPointer<QWidget> widget(makeInput(kind));
    QCOMPARE(widget->styleSheet(), sheet);
}

void TestStyledInputs::defaultFont_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"line edit", "line edit with text", "combo box", "date-time edit",
                             "group box", "titled group box"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void TestStyledInputs::defaultFont()
{
    QFETCH(QString, kind);

    QScopedPointer<QWidget> widget(makeInput(kind));
    QCOMPARE(fontTypeOf(widget.data()), Material::Body1);
    QCOMPARE(fontText(widget->font()), roleText(Material::Body1));
}

void TestStyledInputs::setFontType_data()
{
    defaultFont_data();
}

void TestStyledInputs::setFontType()
{
    QFETCH(QString, kind);

    QScopedPointer<QWidget> widget(makeInput(kind));
    setFontTypeOf(widget.data(), Material::Caption);
    QCOMPARE(fontTypeOf(widget.data()), Material::Caption);
    QCOMPARE(fontText(widget->font()), roleText(Material::Caption));
}

void TestStyledInputs::comboFontTypeLeavesEditAndList()
{
    QtMaterialComboBox combo;
    combo.setFontType(Material::Headline5);
    QCOMPARE(fontText(combo.font()), roleText(Material::Headline5));
    QCOMPARE(fontText(combo.lineEdit()->font()), roleText(Material::Body1));
    QCOMPARE(fontText(combo.view()->font()), roleText(Material::Body1));
}

void TestStyledInputs::comboEditableFromConstruction()
{
    QPointer<QLineEdit> edit;
    QPointer<QAbstractItemView> view;
    {
        QtMaterialComboBox combo;
        QVERIFY(combo.isEditable());
        edit = combo.lineEdit();
        view = combo.view();
        QVERIFY(edit);
        QVERIFY(qobject_cast<QListView *>(view.data()));
        QCOMPARE(edit->parentWidget(), &combo);

        combo.addItems({QStringLiteral("Lounge"), QStringLiteral("Kitchen")});
        combo.setCurrentIndex(1);
        QCOMPARE(edit->text(), QStringLiteral("Kitchen"));
        edit->setText(QStringLiteral("Typed"));
        QCOMPARE(combo.currentText(), QStringLiteral("Typed"));
    }
    // The box owned both.
    QVERIFY(edit.isNull());
    QVERIFY(view.isNull());
}

void TestStyledInputs::comboItemsLook()
{
    QWidget page;
    page.resize(300, 300);
    auto *combo = new QtMaterialComboBox(&page);
    combo->setGeometry(10, 10, 200, 32);
    combo->addItems({QStringLiteral("Lounge"), QStringLiteral("Kitchen"), QStringLiteral("Hall")});
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    combo->showPopup();
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    QCOMPARE(view->visualRect(view->model()->index(0, 0)).height(), 30);

    view->setCurrentIndex(view->model()->index(1, 0));
    const QImage image = view->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    image.save(screenshotDir() + QStringLiteral("/combobox_popup.png"));
    const QRect first = view->visualRect(view->model()->index(0, 0));
    const QRect second = view->visualRect(view->model()->index(1, 0));
    QVERIFY(countColor(image, kItem, first, 1) > first.width() * first.height() / 2);
    QVERIFY(countColor(image, kHover, second, 1) > second.width() * second.height() / 2);
    QVERIFY(countColor(image, kWhite, first, 8) > 5);
    combo->hidePopup();
}

void TestStyledInputs::lineEditLooks_data()
{
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<QColor>("fill");

    QTest::newRow("plain") << false << kField;
    QTest::newRow("hovered") << true << kHover;
}

void TestStyledInputs::lineEditLooks()
{
    QFETCH(bool, hovered);
    QFETCH(QColor, fill);

    auto *edit = new QtMaterialLineEdit(QStringLiteral("MMMM"));
    edit->setAttribute(Qt::WA_UnderMouse, hovered);
    const QImage image = shoot(edit, QStringLiteral("lineedit_%1").arg(QTest::currentDataTag()),
                               QSize(240, 36));
    delete edit;

    // Field colour at the right end, away from the text.
    QVERIFY2(sameColor(image.pixelColor(220, 18), fill, 1),
             qPrintable(colorText(image.pixelColor(220, 18))));
    // One-pixel light grey border, straight along the middle of the sides.
    QVERIFY2(sameColor(image.pixelColor(0, 18), kLightGray, 1),
             qPrintable(colorText(image.pixelColor(0, 18))));
    QVERIFY(sameColor(image.pixelColor(120, 0), kLightGray, 1));
    QVERIFY(!sameColor(image.pixelColor(1, 18), kLightGray, 30));
    // Rounded corners: the very corner pixel is not the border colour.
    QVERIFY(!sameColor(image.pixelColor(0, 0), kLightGray, 1));
    // White text.
    QVERIFY(countColor(image, kWhite, QRect(0, 4, 120, 28), 8) > 10);
}

void TestStyledInputs::dateTimeEditHasCalendarPopup()
{
    QtMaterialDateTimeEdit edit;
    QVERIFY(edit.calendarPopup());
    QVERIFY(edit.calendarWidget());
    QCOMPARE(edit.calendarWidget()->styleSheet(), QString::fromLatin1(kCalendarSheet));

    // The days are lime green on the dark field.
    QCalendarWidget *calendar = edit.calendarWidget();
    calendar->resize(320, 240);
    calendar->setSelectedDate(QDate(2024, 5, 15));
    const QImage image = calendar->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    image.save(screenshotDir() + QStringLiteral("/calendar.png"));
    QVERIFY(countColor(image, kLime, 8) > 50);
    QVERIFY(countColor(image, kField, 1) > 1000);
}

void TestStyledInputs::groupBoxTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("titleDrawn");

    QTest::newRow("no title") << QString() << false;
    QTest::newRow("title") << QStringLiteral("SETTINGS") << true;
}

void TestStyledInputs::groupBoxTitle()
{
    QFETCH(QString, title);
    QFETCH(bool, titleDrawn);

    auto *box = new QtMaterialGroupBox(title);
    box->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));
    QCOMPARE(box->color(), kWhite);
    QCOMPARE(box->palette().color(QPalette::WindowText), kWhite);

    const QImage image = shoot(box, QStringLiteral("groupbox_%1")
                                        .arg(QString(QTest::currentDataTag()).replace(' ', '_')),
                               QSize(200, 60));
    delete box;
    QCOMPARE(countColor(image, kWhite, 8) > 10, titleDrawn);
}



void TestStyledInputs::groupBoxFollowsThemeChange()
{
    QtMaterialGroupBox themed(QStringLiteral("Themed"));
    QtMaterialGroupBox own(QStringLiteral("Own"));
    own.setColor(kLime);
    QtMaterialLineEdit edit;
    const QFont editFont = edit.font();

    QtMaterialStyle &style = QtMaterialStyle::instance();
    auto *theme = new QtMaterialTheme;
    theme->setColor(Material::CanvasColor, QColor(0xFF, 0xEB, 0x3B));
    QFont big = theme->font(Material::Body1);
    big.setPointSize(22);
    theme->setFont(Material::Body1, big);
    style.setTheme(theme);

    QCOMPARE(themed.palette().color(QPalette::WindowText), QColor(0xFF, 0xEB, 0x3B));
    QCOMPARE(themed.font().pointSize(), 22);
    QCOMPARE(own.palette().color(QPalette::WindowText), kLime);
    // The inputs keep what they were given.
    QCOMPARE(fontText(edit.font()), fontText(editFont));

    style.setTheme(new QtMaterialTheme);
    QCOMPARE(themed.palette().color(QPalette::WindowText), kWhite);
    QCOMPARE(themed.font().pointSize(), 16);
}

VARNO_TEST_MAIN(TestStyledInputs)
#include "tst_styledinputs.moc"
