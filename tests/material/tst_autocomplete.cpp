// Auto-complete: filtering, how the menu's buttons are added, deleted and relabelled,
// where the menu sits and how wide it is, picking a match and the fade, the menu and
// frame's life on the parent, and the open menu on the dark background.

#include "../support/testmain.h"
#include "materialtestutil.h"

#include "qtmaterialautocomplete.h"
#include "qtmaterialautocompleteprivate.h"
#include "qtmaterialautocompletestatemachine.h"
#include "qtmaterialflatbutton.h"
#include "qtmaterialstyle.h"

#include <QGraphicsOpacityEffect>
#include <QPointer>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QState>
#include <QVBoxLayout>

namespace {

const QColor Dark(0x26, 0x34, 0x40);
const QStringList Rooms = {"Cab", "Hall", "Kitchen", "Abbey", "hall", "Bathroom", "Hall"};

class CompleteAccess : public QtMaterialAutoComplete
{
public:
    static QtMaterialAutoCompletePrivate *of(QtMaterialAutoComplete *f)
    {
        const auto member = &CompleteAccess::d_ptr;
        return static_cast<QtMaterialAutoCompletePrivate *>((f->*member).data());
    }
};

QtMaterialAutoCompletePrivate *priv(QtMaterialAutoComplete *f)
{
    return CompleteAccess::of(f);
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

class TestAutoComplete : public QObject
{
    Q_OBJECT

private slots:
    void filtering_data();
    void filtering();
    void buttonsAddedDeletedRelabelled();
    void menuPlacementAndWidth();
    void pickingFadesMenu();
    void companionsLiveOnParent();
    void screenshotMenuOpen();
};

void TestAutoComplete::filtering_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("results");

    QTest::newRow("ignores case, anywhere") << "ab" << QStringList{"Cab", "Abbey"};
    QTest::newRow("order and duplicates") << "HAL" << QStringList{"Hall", "hall", "Hall"};
    QTest::newRow("trimmed") << "  itch " << QStringList{"Kitchen"};
    QTest::newRow("no match") << "garage" << QStringList();
    QTest::newRow("blank") << "   " << QStringList();
}

void TestAutoComplete::filtering()
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

void TestAutoComplete::buttonsAddedDeletedRelabelled()
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
    QCOMPARE(added->height(), 50);
    QCOMPARE(added->cornerRadius(), 0.0);
    QVERIFY(!added->isHaloVisible());
    QCOMPARE(added->overlayStyle(), Material::OverlayTinted);

    // Fewer results delete buttons from the top; the rest are relabelled in order.
    QList<QPointer<QtMaterialFlatButton>> watched;
    for (QtMaterialFlatButton *b : before)
        watched << b;
    edit(&field, QStringLiteral("t"));
    QCOMPARE(labels(&field), QStringList({"Bath", "Attic"}));
    QVERIFY(!watched[0] && !watched[1] && !watched[2] && watched[3]);
    QCOMPARE(buttons(&field), QList<QtMaterialFlatButton *>({before.at(3), added}));
}

void TestAutoComplete::menuPlacementAndWidth()
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

void TestAutoComplete::pickingFadesMenu()
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

void TestAutoComplete::companionsLiveOnParent()
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

void TestAutoComplete::screenshotMenuOpen()
{
    QWidget host;
    QPalette p = host.palette();
    p.setColor(QPalette::Window, Dark);
    host.setPalette(p);
    host.setAutoFillBackground(true);
    host.resize(320, 260);
    auto *field = new QtMaterialAutoComplete(&host);
    field->setLabelText(QStringLiteral("Room"));
    field->setTextColor(Qt::white);
    field->setGeometry(20, 20, 260, 60);
    field->setDataSource(Rooms);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    edit(field, QStringLiteral("ha"));
    priv(field)->menuStateMachine->opacityAnimation()->setCurrentTime(240);

    const QImage image = materialtest::screenshot(&host, "autocomplete");
    const QRect menu = priv(field)->menu->geometry();
    QCOMPARE(menu, QRect(20, 86, 260, 150));
    // White menu rows with their texts; the shadow darkens the ground just below.
    QVERIFY(materialtest::countColor(image, Qt::white, menu, 4) > menu.width() * menu.height() / 2);
    QVERIFY(materialtest::countColor(image, Qt::white, menu, 4) < menu.width() * menu.height());
    const QColor below = image.pixelColor(150, menu.bottom() + 3);
    QVERIFY2(below.lightness() < Dark.lightness(), qPrintable(materialtest::colorText(below)));
    QVERIFY(materialtest::sameColor(image.pixelColor(150, menu.bottom() + 20), Dark));
}

VARNO_TEST_MAIN(TestAutoComplete)
#include "tst_autocomplete.moc"
