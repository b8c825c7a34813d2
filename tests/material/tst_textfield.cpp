// Text field and auto-complete. The field: the label and its margins, where the label
// goes when text is set and cleared, the focus animations at chosen times, the input
// line and ink bar, the label font. The auto-complete: filtering, the menu's buttons,
// its place and width, picking a match and the fade, menu and frame on the parent.
// Both on the dark background.

#include "../support/testmain.h"
#include "materialtestutil.h"

#include "qtmaterialautocomplete.h"
#include "qtmaterialautocompleteprivate.h"
#include "qtmaterialautocompletestatemachine.h"
#include "qtmaterialflatbutton.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtextfield.h"
#include "qtmaterialtextfieldlabel.h"
#include "qtmaterialtextfieldprivate.h"
#include "qtmaterialtextfieldstatemachine.h"

#include <QAbstractTransition>
#include <QGraphicsOpacityEffect>
#include <QPointer>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QState>
#include <QVBoxLayout>

namespace {

const QColor Dark(0x26, 0x34, 0x40);
const QColor FieldBackground(0x3D, 0x53, 0x66);
const QColor Primary(0x21, 0x96, 0xF3);
const QColor Accent(0xFF, 0x98, 0x00);
const QColor AccentDark(0xB2, 0x6A, 0x00);

class FieldAccess : public QtMaterialTextField
{
public:
    static QtMaterialTextFieldPrivate *of(QtMaterialTextField *f)
    {
        const auto member = &FieldAccess::d_ptr;
        return (f->*member).data();
    }
};

QtMaterialTextFieldPrivate *priv(QtMaterialTextField *f)
{
    return FieldAccess::of(f);
}

QPropertyAnimation *progressAnimation(QState *from)
{
    return qobject_cast<QPropertyAnimation *>(from->transitions().first()->animations().first());
}

void darken(QWidget *host)
{
    QPalette p = host->palette();
    p.setColor(QPalette::Window, Dark);
    host->setPalette(p);
    host->setAutoFillBackground(true);
}

const QStringList Rooms = {"Cab", "Hall", "Kitchen", "Abbey", "hall", "Bathroom", "Hall"};

QtMaterialAutoCompletePrivate *priv(QtMaterialAutoComplete *f)
{
    return static_cast<QtMaterialAutoCompletePrivate *>(FieldAccess::of(f));
}

QList<QtMaterialFlatButton *> buttons(QtMaterialAutoComplete *f)
{
    QList<QtMaterialFlatButton *> list;
    QVBoxLayout *layout = priv(f)->menuLayout;
    for (int i = 0; i < layout->count(); ++i)
        list << qobject_cast<QtMaterialFlatButton *>(layout->itemAt(i)->widget());
    return list;
}

QStringList labels(QtMaterialAutoComplete *f)
{
    QStringList list;
    for (QtMaterialFlatButton *b : buttons(f))
        list << b->text();
    return list;
}

// An edit as the user makes it: the field's text replaced by typing.
void edit(QtMaterialAutoComplete *f, const QString &text)
{
    f->clear();
    QTest::keyClicks(f, text);
}

bool inState(QtMaterialAutoComplete *f, QState *state)
{
    return priv(f)->menuStateMachine->configuration().contains(state);
}

} // namespace

class TestTextField : public QObject
{
    Q_OBJECT

private slots:
    void labelFollowsTextAndFocus();
    void labelSetOnShownField();
    void inputLineAndInk_data();
    void inputLineAndInk();
    void coloursAndLabelFont();
    void filtering_data();
    void filtering();
    void buttonsAddedDeletedRelabelled();
    void menuPlacementAndWidth();
    void pickingFadesMenu();
    void companionsLiveOnParent();
    void screenshotOnDarkBackground();
};

void TestTextField::labelFollowsTextAndFocus()
{
    QWidget host;
    host.resize(300, 100);
    auto *field = new QtMaterialTextField(&host);
    QtMaterialTextFieldPrivate *d = priv(field);
    QtMaterialTextFieldStateMachine *machine = d->stateMachine;

    // The constructor alone leaves the machine running in its normal state.
    QVERIFY(machine->configuration().contains(machine->normalState()));
    QCOMPARE(machine->progress(), 0.0);
    QVERIFY(!d->label);
    QCOMPARE(field->contentsMargins(), QMargins());

    field->setLabelText(QStringLiteral("Room name"));
    QVERIFY(d->label && field->labelVisible());
    QCOMPARE(field->contentsMargins(), QMargins(0, 23, 0, 0));
    field->setGeometry(10, 10, 250, 60);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QCOMPARE(d->label->geometry(), QRect(0, 0, 250, 60));
    QCOMPARE(d->label->offset(), QPointF(0, 26));

    // Text set by program floats the label at once; clearing leaves it there.
    field->setText(QStringLiteral("Kitchen"));
    QCOMPARE(d->label->offset(), QPointF(0, 10));
    field->clear();
    QCOMPARE(d->label->offset(), QPointF(0, 10));

    QApplication::setActiveWindow(&host);
    QVERIFY(QTest::qWaitForWindowActive(&host));
    field->setFocus();
    QVERIFY(machine->configuration().contains(machine->focusedState()));
    QPropertyAnimation *in = progressAnimation(machine->normalState());
    QCOMPARE(in->state(), QAbstractAnimation::Running);
    QCOMPARE(in->duration(), 310);
    QCOMPARE(in->easingCurve().type(), QEasingCurve::InCubic);
    in->setCurrentTime(155);
    QCOMPARE(machine->progress(), QEasingCurve(QEasingCurve::InCubic).valueForProgress(0.5));
    in->setCurrentTime(310);
    QCOMPARE(machine->progress(), 1.0);
    QCOMPARE(d->label->scale(), 0.5);
    QCOMPARE(machine->colorAnimation()->state(), QAbstractAnimation::Running);
    QCOMPARE(machine->colorAnimation()->duration(), 210);
    machine->colorAnimation()->setCurrentTime(210);
    QCOMPARE(d->label->color(), Accent);

    // Leaving takes the emptied field's label back down, over 210 ms.
    field->clearFocus();
    QVERIFY(machine->configuration().contains(machine->normalState()));
    QPropertyAnimation *out = progressAnimation(machine->focusedState());
    QCOMPARE(out->duration(), 310);
    QCOMPARE(out->easingCurve().type(), QEasingCurve::OutCubic);
    QPropertyAnimation *offset = machine->offsetAnimation();
    QCOMPARE(offset->state(), QAbstractAnimation::Running);
    QCOMPARE(offset->duration(), 210);
    QCOMPARE(offset->easingCurve().type(), QEasingCurve::OutCubic);
    offset->setCurrentTime(210);
    out->setCurrentTime(310);
    QCOMPARE(d->label->offset(), QPointF(0, 26));
    QCOMPARE(d->label->scale(), 1.0);
    QCOMPARE(machine->progress(), 0.0);
}

void TestTextField::labelSetOnShownField()
{
    QWidget host;
    host.resize(300, 100);
    auto *field = new QtMaterialTextField(&host);
    field->setGeometry(10, 10, 250, 60);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    field->setLabelText(QStringLiteral("Room name"));
    QtMaterialTextFieldLabel *label = priv(field)->label;
    QVERIFY(label && label->isVisible());
    QCOMPARE(label->geometry(), QRect(0, 0, 250, 60));
}

void TestTextField::inputLineAndInk_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("line");
    QTest::addColumn<qreal>("progress");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("inkWidth");
    QTest::addColumn<bool>("innerClean");

    // k = trunc(w / 2 * (1 - p)); the bar spans w - 2k of the 200-pixel field.
    QTest::newRow("resting") << true << true << 0.0 << "" << 0 << true;
    QTest::newRow("half way") << true << true << 0.5 << "" << 100 << true;
    QTest::newRow("focused") << true << true << 1.0 << "" << 200 << false;
    QTest::newRow("with text") << true << true << 0.3 << "Hall" << 60 << false;
    QTest::newRow("disabled: dashed") << false << true << 0.0 << "" << 0 << true;
    QTest::newRow("no input line") << true << false << 1.0 << "" << 0 << false;
}

void TestTextField::inputLineAndInk()
{
    QFETCH(bool, enabled);
    QFETCH(bool, line);
    QFETCH(qreal, progress);
    QFETCH(QString, text);
    QFETCH(int, inkWidth);
    QFETCH(bool, innerClean);

    QtMaterialTextField field;
    field.setPlaceholderText(QStringLiteral("Type here"));
    field.setText(text);
    field.setEnabled(enabled);
    field.setInputLineVisible(line);
    field.resize(200, 40);
    priv(&field)->stateMachine->setProgress(progress);
    const QImage image = materialtest::renderAlone(&field);

    const int lineDots = materialtest::countColor(image, Primary, QRect(0, 39, 200, 1), 10);
    if (!line)
        QCOMPARE(lineDots, 0);
    else if (!enabled)
        QVERIFY2(lineDots > 40 && lineDots < 160, qPrintable(QString::number(lineDots)));
    else
        QVERIFY(lineDots + materialtest::countColor(image, Accent, QRect(0, 39, 200, 1), 10)
                >= 198);
    QCOMPARE(materialtest::countColor(image, Accent, QRect(0, 38, 200, 1), 10), inkWidth);
    // While empty and not fully focused, only the field's own background shows.
    const QRect inner(6, 6, 188, 28);
    QCOMPARE(materialtest::countColor(image, FieldBackground, inner, 0) == 188 * 28, innerClean);
    // Rounded top corners: the corner pixel stays empty.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

void TestTextField::coloursAndLabelFont()
{
    QtMaterialTextField field;
    QCOMPARE(field.labelColor(), AccentDark);
    field.setInkColor(Qt::red);
    QVERIFY(!field.useThemeColors());
    QCOMPARE(field.inkColor(), QColor(Qt::red));
    // Colours never set still come from the theme.
    QCOMPARE(field.labelColor(), AccentDark);
    QCOMPARE(field.inputLineColor(), Primary);
    field.setTextColor(Qt::white);
    QCOMPARE(field.palette().color(QPalette::Text), QColor(Qt::white));

    // A label made after setLabelFontSize(x) takes twice x; a later call takes x itself.
    field.setLabelFontSize(6);
    field.setLabelText(QStringLiteral("Name"));
    const QFont before = priv(&field)->label->font();
    QCOMPARE(before.family(), QStringLiteral("Roboto"));
    QCOMPARE(before.pointSize(), 12);
    QCOMPARE(before.weight(), 57);
    QCOMPARE(before.letterSpacingType(), QFont::PercentageSpacing);
    QCOMPARE(before.letterSpacing(), 102.0);
    field.setLabelFontSize(9.5);
    QCOMPARE(priv(&field)->label->font().pointSizeF(), 9.5);

    QtMaterialTextField plain;
    plain.setLabelText(QStringLiteral("Name"));
    QCOMPARE(priv(&plain)->label->font().pointSize(), 19);
    // Hiding keeps the label object, and the margins go.
    plain.setLabelVisible(false);
    QVERIFY(priv(&plain)->label);
    QCOMPARE(plain.contentsMargins(), QMargins());
}

void TestTextField::filtering_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("results");

    QTest::newRow("ignores case, anywhere") << "ab" << QStringList{"Cab", "Abbey"};
    QTest::newRow("order and duplicates") << "HAL" << QStringList{"Hall", "hall", "Hall"};
    QTest::newRow("trimmed") << "  itch " << QStringList{"Kitchen"};
    QTest::newRow("no match") << "garage" << QStringList();
    QTest::newRow("blank") << "   " << QStringList();
}

void TestTextField::filtering()
{
    QFETCH(QString, text);
    QFETCH(QStringList, results);

    QWidget host;
    host.resize(400, 500);
    auto *field = new QtMaterialAutoComplete(&host);
    field->setGeometry(10, 10, 200, 50);
    field->setDataSource(Rooms);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QtMaterialAutoCompletePrivate *d = priv(field);

    edit(field, QStringLiteral("a"));
    QVERIFY(inState(field, d->menuStateMachine->openState()));
    edit(field, text);
    QCOMPARE(labels(field), results);
    QCOMPARE(d->menu->height(), 50 * results.size());
    QCOMPARE(inState(field, d->menuStateMachine->openState()), !results.isEmpty());
    QCOMPARE(d->menu->isVisible(), !results.isEmpty());
    QCOMPARE(d->frame->isVisible(), !results.isEmpty());
}

void TestTextField::buttonsAddedDeletedRelabelled()
{
    QtMaterialAutoComplete field;
    field.setDataSource({"Hall 1", "Hall 2", "Hall 3", "Bath"});
    edit(&field, QStringLiteral("a"));
    QCOMPARE(labels(&field), QStringList({"Hall 1", "Hall 2", "Hall 3", "Bath"}));
    const QList<QtMaterialFlatButton *> before = buttons(&field);

    // One more result adds exactly one button below the others.
    field.setDataSource({"Hall 1", "Hall 2", "Hall 3", "Bath", "Attic"});
    QCOMPARE(buttons(&field), before);
    edit(&field, QStringLiteral("a"));
    QCOMPARE(buttons(&field).mid(0, 4), before);
    QCOMPARE(buttons(&field).size(), 5);
    QtMaterialFlatButton *added = buttons(&field).last();

    // Fewer results delete buttons from the top; the rest are relabelled in order.
    QList<QPointer<QtMaterialFlatButton>> watched;
    for (QtMaterialFlatButton *b : before)
        watched << b;
    edit(&field, QStringLiteral("t"));
    QCOMPARE(labels(&field), QStringList({"Bath", "Attic"}));
    QVERIFY(!watched[0] && !watched[1] && !watched[2] && watched[3]);
    QCOMPARE(buttons(&field), QList<QtMaterialFlatButton *>({before.at(3), added}));
}

void TestTextField::menuPlacementAndWidth()
{
    QWidget host;
    host.resize(600, 400);
    auto *field = new QtMaterialAutoComplete(&host);
    field->setGeometry(20, 30, 200, 50);
    const QString longName = QStringLiteral("Conference room on the second floor, west wing");
    field->setDataSource({"East", longName});
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QtMaterialAutoCompletePrivate *d = priv(field);

    edit(field, QStringLiteral("Eas"));
    QCOMPARE(d->menu->geometry(), QRect(20, 30 + 50 + 6, 200, 50));
    edit(field, QStringLiteral("wing"));
    const QFontMetrics fm(QtMaterialStyle::instance().themeFont(Material::Body1));
    QCOMPARE(d->menu->width(), fm.boundingRect(longName).width() + 24);
    QVERIFY(d->menu->width() > 200);
    QCOMPARE(d->frame->geometry(), d->menu->geometry());

    // The menu follows the field; the frame follows the menu, under it.
    field->move(40, 60);
    QCOMPARE(d->menu->pos(), QPoint(40, 60 + 50 + 6));
    QCOMPARE(d->frame->geometry(), d->menu->geometry());
    QVERIFY(host.children().indexOf(d->frame) < host.children().indexOf(d->menu));
}

void TestTextField::pickingFadesMenu()
{
    QWidget host;
    host.resize(400, 400);
    auto *field = new QtMaterialAutoComplete(&host);
    field->setGeometry(10, 10, 200, 50);
    field->setDataSource(Rooms);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QtMaterialAutoCompletePrivate *d = priv(field);
    QtMaterialAutoCompleteStateMachine *machine = d->menuStateMachine;

    edit(field, QStringLiteral("itc"));
    machine->opacityAnimation()->setCurrentTime(240);
    QCOMPARE(machine->effect()->opacity(), 1.0);
    QSignalSpy selected(field, &QtMaterialAutoComplete::itemSelected);
    QSignalSpy edited(field, &QLineEdit::textEdited);
    QtMaterialFlatButton *button = buttons(field).first();

    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QCOMPARE(field->text(), QStringLiteral("Kitchen"));
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.first().first().toString(), QStringLiteral("Kitchen"));
    QCOMPARE(edited.count(), 0);
    QCOMPARE(labels(field), QStringList{"Kitchen"});

    // The fade: 240 ms, the menu visible until its end; an edit does not reopen it.
    QVERIFY(inState(field, machine->closingState()));
    QCOMPARE(machine->opacityAnimation()->duration(), 240);
    QCOMPARE(machine->opacityAnimation()->state(), QAbstractAnimation::Running);
    machine->opacityAnimation()->setCurrentTime(120);
    QCOMPARE(machine->effect()->opacity(), 0.5);
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(edited.count(), 1);
    QCOMPARE(labels(field), QStringList{"Kitchen"});
    QVERIFY(inState(field, machine->closingState()));
    QVERIFY(d->menu->isVisible());
    machine->opacityAnimation()->setCurrentTime(240);
    QVERIFY(inState(field, machine->closedState()));
    QVERIFY(!d->menu->isVisible());
    QVERIFY(!d->frame->isVisible());
    QCOMPARE(selected.count(), 1);
}

void TestTextField::companionsLiveOnParent()
{
    QWidget host;
    host.resize(400, 400);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    // Made without a parent: menu and frame get one at the first move or resize in it.
    auto *field = new QtMaterialAutoComplete;
    QPointer<QWidget> menu = priv(field)->menu.data();
    QPointer<QWidget> frame = priv(field)->frame.data();
    QVERIFY(!menu->parentWidget() && !frame->parentWidget());
    field->setParent(&host);
    QVERIFY(!menu->parentWidget());
    field->setGeometry(10, 10, 200, 50);
    field->show();
    QCOMPARE(menu->parentWidget(), &host);
    QCOMPARE(frame->parentWidget(), &host);

    // Deleted with an open, fading menu while the parent lives on.
    field->setDataSource(Rooms);
    edit(field, QStringLiteral("a"));
    QVERIFY(menu->isVisible());
    QTest::mousePress(buttons(field).first(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    delete field;
    QVERIFY(!menu && !frame);
    QVERIFY(host.children().isEmpty());
    host.resize(500, 450);
    host.repaint();
    QTest::qWait(10);

    // A parent that goes first takes field, menu and frame along.
    auto *other = new QWidget;
    field = new QtMaterialAutoComplete(other);
    menu = priv(field)->menu.data();
    delete other;
    QVERIFY(!menu);
}

void TestTextField::screenshotOnDarkBackground()
{
    QWidget host;
    darken(&host);
    host.resize(300, 480);
    // The first field takes the focus when the window becomes active; the last is an
    // auto-complete with its menu open.
    QtMaterialTextField *fields[4];
    const QStringList names = {"Focused", "Resting", "Floated", "Room"};
    for (int i = 0; i < 4; ++i) {
        fields[i] = i < 3 ? new QtMaterialTextField(&host) : new QtMaterialAutoComplete(&host);
        fields[i]->setLabelText(names.at(i));
        fields[i]->setTextColor(Qt::white);
        fields[i]->setGeometry(20, 15 + 75 * i, 260, 60);
    }
    fields[2]->setText(QStringLiteral("Kitchen"));
    auto *complete = static_cast<QtMaterialAutoComplete *>(fields[3]);
    complete->setDataSource(Rooms);
    host.show();
    QApplication::setActiveWindow(&host);
    QVERIFY(QTest::qWaitForWindowActive(&host));
    QVERIFY(fields[0]->hasFocus());
    QtMaterialTextFieldStateMachine *machine = priv(fields[0])->stateMachine;
    progressAnimation(machine->normalState())->setCurrentTime(310);
    machine->offsetAnimation()->setCurrentTime(210);
    machine->colorAnimation()->setCurrentTime(210);
    edit(complete, QStringLiteral("ha"));
    priv(complete)->menuStateMachine->opacityAnimation()->setCurrentTime(240);

    const QImage image = materialtest::screenshot(&host, "textfield");
    auto band = [](int field, int top, int height) {
        return QRect(20, 15 + 75 * field + top, 260, height);
    };
    // Focused: the half-size label at the top in the ink colour, the full ink bar.
    QVERIFY(materialtest::countColor(image, Accent, band(0, 0, 20), 30) > 10);
    QVERIFY(materialtest::countColor(image, Accent, band(0, 58, 2), 10) >= 2 * 258);
    // Resting: the full-size label low in the field, nothing at its top.
    QVERIFY(materialtest::countColor(image, AccentDark, band(1, 30, 25), 30) > 30);
    QCOMPARE(materialtest::countColor(image, AccentDark, band(1, 0, 20), 30), 0);
    QVERIFY(materialtest::sameColor(image.pixelColor(150, 15 + 75 + 59), Primary, 10));
    // Floated by its text: the label moved up, the white text below it.
    QCOMPARE(materialtest::countColor(image, AccentDark, band(2, 40, 20), 30), 0);
    QVERIFY(materialtest::countColor(image, AccentDark, band(2, 10, 25), 30) > 30);
    QVERIFY(materialtest::countColor(image, Qt::white, band(2, 25, 30), 30) > 20);
    QVERIFY(materialtest::sameColor(image.pixelColor(250, 15 + 75 + 20), FieldBackground));
    QVERIFY(materialtest::sameColor(image.pixelColor(150, 8), Dark));
    // The open menu: three white rows with their texts, a shadow just below.
    const QRect menu = priv(complete)->menu->geometry();
    QCOMPARE(menu, QRect(20, 15 + 225 + 66, 260, 150));
    const int white = materialtest::countColor(image, Qt::white, menu, 4);
    QVERIFY(white > menu.width() * menu.height() / 2 && white < menu.width() * menu.height());
    const QColor below = image.pixelColor(150, menu.bottom() + 3);
    QVERIFY2(below.lightness() < Dark.lightness(), qPrintable(materialtest::colorText(below)));
    QVERIFY(materialtest::sameColor(image.pixelColor(150, menu.bottom() + 20), Dark));
}

VARNO_TEST_MAIN(TestTextField)
#include "tst_textfield.moc"
