// A page as the application builds them: tab bar, canvas with labels, inputs and a
// group box, and a snackbar message, rendered offscreen on the dark background.

#include "materialtestutil.h"
#include "qtmaterialcanvas.h"
#include "qtmaterialcombobox.h"
#include "qtmaterialdatetimeedit.h"
#include "qtmaterialgroupbox.h"
#include "qtmateriallabel.h"
#include "qtmateriallineedit.h"
#include "qtmaterialsnackbar.h"
#include "qtmaterialsnackbarstatemachine.h"
#include "qtmaterialtabs.h"
#include "qtmaterialtheme.h"
#include "testmain.h"

#include <QGridLayout>
#include <QPainter>
#include <QSignalSpy>
#include <QState>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

using namespace materialtest;

namespace {

const QColor kPage(0x26, 0x34, 0x40);
const QColor kBar(0x1F, 0x29, 0x33);
const QColor kLime(0xAB, 0xD2, 0x65);
const QColor kWhite(Qt::white);

QString writePicture(const QTemporaryDir &dir)
{
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFF, 0xC1, 0x07));
    painter.drawEllipse(QRect(6, 6, 36, 36));
    painter.end();
    const QString path = dir.filePath(QStringLiteral("bulb.png"));
    image.save(path);
    return path;
}

} // namespace

class TestDarkPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roomPage();
};

void TestDarkPage::initTestCase()
{
    QtMaterialTheme::registerResources();
}

void TestDarkPage::roomPage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    QWidget window;
    window.resize(900, 640);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *tabs = new QtMaterialTabs(&window);
    tabs->addTab(writePicture(dir), QStringLiteral("Lighting"));
    tabs->addTab(QtMaterialTheme::icon(QStringLiteral("file"), QStringLiteral("cloud_upload")),
                 QStringLiteral("Air conditioner"), QString());
    tabs->addTab(QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("save")),
                 QStringLiteral("Moods"), QString());
    layout->addWidget(tabs);

    auto *canvas = new QtMaterialCanvas(&window);
    layout->addWidget(canvas, 1);

    auto *content = new QtMaterialGroupBox;
    content->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));
    auto *form = new QGridLayout(content);
    form->setContentsMargins(30, 20, 30, 20);
    form->setHorizontalSpacing(20);
    form->setVerticalSpacing(14);

    form->addWidget(new QtMaterialLabel(QStringLiteral("Lounge"), Material::Headline6), 0, 0, 1, 2);
    form->addWidget(new QtMaterialLabel(QStringLiteral("Room name")), 1, 0);
    auto *name = new QtMaterialLineEdit(QStringLiteral("Bob's room"));
    name->setFixedWidth(260);
    form->addWidget(name, 1, 1);
    form->addWidget(new QtMaterialLabel(QStringLiteral("Floor")), 2, 0);
    auto *floor = new QtMaterialComboBox;
    floor->addItems({QStringLiteral("Ground floor"), QStringLiteral("First floor")});
    floor->setFixedWidth(260);
    form->addWidget(floor, 2, 1);
    form->addWidget(new QtMaterialLabel(QStringLiteral("From")), 3, 0);
    auto *from = new QtMaterialDateTimeEdit;
    from->setDateTime(QDateTime(QDate(2024, 5, 15), QTime(8, 30)));
    from->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    from->setFixedWidth(260);
    form->addWidget(from, 3, 1);

    auto *status = new QtMaterialGroupBox(QStringLiteral("Status"));
    auto *statusLayout = new QGridLayout(status);
    statusLayout->addWidget(new QtMaterialLabel(QStringLiteral("Lights on")), 0, 0);
    auto *count = new QtMaterialLabel(QStringLiteral("3 of 8"));
    count->setColor(kLime);
    statusLayout->addWidget(count, 0, 1);
    statusLayout->addWidget(new QtMaterialLabel(QStringLiteral("Temperature")), 1, 0);
    statusLayout->addWidget(new QtMaterialLabel(QStringLiteral("21.5 °C")), 1, 1);
    form->addWidget(status, 0, 2, 4, 1);
    form->setRowStretch(4, 1);
    form->setColumnStretch(3, 1);

    canvas->setWidget(content);
    canvas->setWidgetResizable(true);
    // The page's content lets the canvas colour show through.
    content->setAutoFillBackground(false);

    auto *snackbar = new QtMaterialSnackbar(&window);
    snackbar->setCenter(false);
    snackbar->setAutoHideDuration(60000);
    auto *machine = snackbar->findChild<QtMaterialSnackbarStateMachine *>();
    QSignalSpy shown(machine->visibleState(), &QState::propertiesAssigned);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    snackbar->addMessage(QStringLiteral("Project saved"));
    QTRY_COMPARE(shown.count(), 1);

    const QImage image = screenshot(&window, QStringLiteral("dark_room_page"));

    // The tab bar strip, the page below it, white and lime text, the snackbar box.
    QVERIFY(countColor(image, kBar, QRect(600, 0, 300, 100), 0) > 25000);
    QVERIFY(countColor(image, kPage, QRect(0, 100, 900, 540), 0) > 200000);
    QVERIFY(countColor(image, kWhite, QRect(0, 100, 900, 400), 10) > 200);
    QVERIFY(countColor(image, kLime, QRect(0, 0, 900, 100), 10) > 20);
    QVERIFY(countColor(image, kLime, QRect(0, 100, 900, 400), 10) > 20);
    const QRect box(290, 570, 320, 70);
    // #212121 at 0.9 over the page colour.
    const QColor boxColour(int(0x21 * 0.9 + 0x26 * 0.1), int(0x21 * 0.9 + 0x34 * 0.1),
                           int(0x21 * 0.9 + 0x40 * 0.1));
    QVERIFY2(countColor(image, boxColour, box, 3) > 15000,
             qPrintable(colorText(image.pixelColor(box.topLeft() + QPoint(5, 30)))));
}


VARNO_TEST_MAIN(TestDarkPage)
#include "tst_darkpage.moc"
