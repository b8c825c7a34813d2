// The light slider, the colour swatch, the hue wheel and the colour dialog.

#include "testmain.h"

#include "operation/colorlabel.h"
#include "operation/colorpickerctrl.h"
#include "operation/colorselectdlg.h"
#include "operation/lightsliderctrl.h"
#include "shell/sliderctrl.h"
#include "store/globals.h"

#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <qtmaterialiconbutton.h>
#include <qtmaterialslider.h>

#include <cmath>

namespace {

light colourLight(int type, std::initializer_list<int> levels, bool white = false)
{
    light rec;
    rec.light_type = type;
    rec.light_id = 3;
    rec.room_id = 7;
    light::setText(rec.light_remark, QStringLiteral("Ceiling strip"));
    int k = 0;
    for (int level : levels)
        rec.brightness[k++] = level;
    for (int s = 0; s < 3; ++s) {
        rec.subnet_id[s] = 1;
        rec.device_id[s] = 30;
        rec.channel[s] = s + 1;
    }
    if (white) {
        rec.subnet_id[3] = 1;
        rec.device_id[3] = 30;
        rec.channel[3] = 4;
    }
    return rec;
}

// Waits until the dialog has filled its sliders: its first-fill timer has fired and stopped.
bool waitForFill(ColorSelectDlg &dlg)
{
    dlg.show();
    auto *fill = dlg.findChild<QTimer *>(QStringLiteral("initTimer"));
    return fill && QTest::qWaitForWindowExposed(&dlg)
        && QTest::qWaitFor([fill] { return !fill->isActive(); });
}

bool near(const QColor &a, const QColor &b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

QPoint ringPoint(const ColorPickerCtrl &wheel, double angle)
{
    const QRect outer = wheel.outerSquare();
    const double r = outer.width() / 2.0;
    const QPointF c = QRectF(wheel.rect()).center();
    const double rad = angle * M_PI / 180.0;
    return QPointF(c.x() + 0.9 * r * std::cos(rad), c.y() + 0.9 * r * std::sin(rad)).toPoint();
}

// A move with the left button held, as a drag delivers it.
void dragTo(QWidget *widget, const QPoint &pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QString colourText(const QColor &c)
{
    return QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
}

} // namespace

class TestLightControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(pictures);
        screen_cx = 800;
        screen_cy = 600;
    }

    void sliderStartsWithItsModeLabel()
    {
        LightSliderCtrl level(false);
        LightSliderCtrl temperature(true);
        QCOMPARE(level.valueText(), QStringLiteral("0%"));
        QCOMPARE(temperature.valueText(), QStringLiteral("2700K"));
        QCOMPARE(level.slider()->minimum(), 0);
        QCOMPARE(level.slider()->maximum(), 100);
    }

    void sliderShowsDeviceValues_data()
    {
        QTest::addColumn<bool>("temperature");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("reported");

        QTest::newRow("level 0") << false << 0 << 0 << "0%" << 0;
        QTest::newRow("level 57") << false << 57 << 57 << "57%" << 57;
        QTest::newRow("level 100") << false << 100 << 100 << "100%" << 100;
        QTest::newRow("2700 K at the left end") << true << 100 << 0 << "2700K" << 100;
        QTest::newRow("6500 K at the right end") << true << 0 << 100 << "6500K" << 0;
        QTest::newRow("middle") << true << 50 << 50 << "4600K" << 50;
        QTest::newRow("truncated kelvin") << true << 67 << 33 << "3954K" << 67;
    }

    void sliderShowsDeviceValues()
    {
        QFETCH(bool, temperature);
        QFETCH(int, value);
        QFETCH(int, position);
        QFETCH(QString, label);
        QFETCH(int, reported);

        LightSliderCtrl ctrl(temperature);
        // Start away from the position so that setting it is a change.
        ctrl.slider()->setValue(position == 50 ? 10 : 50);
        QSignalSpy spy(&ctrl, &LightSliderCtrl::valueChanged);
        ctrl.setValue(value);
        QCOMPARE(ctrl.slider()->value(), position);
        QCOMPARE(ctrl.valueText(), label);
        QCOMPARE(ctrl.value(), reported);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), reported);
    }

    void sliderLabelIsUpdatedBeforeTheReport()
    {
        LightSliderCtrl ctrl(true);
        QString seen;
        connect(&ctrl, &LightSliderCtrl::valueChanged, this, [&] { seen = ctrl.valueText(); });
        ctrl.slider()->setValue(100); // as a drag to the right end would
        QCOMPARE(seen, QStringLiteral("6500K"));
        QCOMPARE(ctrl.value(), 0);
    }

    void swatchPaintsItsColourAsACircle()
    {
        ColorLabel swatch;
        QCOMPARE(swatch.size(), QSize(40, 40));
        QCOMPARE(swatch.backgroundColor(), QColor(Qt::black));
        swatch.setBackgroundColor(QColor(10, 200, 30));
        QImage image(swatch.size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        swatch.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        QCOMPARE(image.pixelColor(20, 20), QColor(10, 200, 30));
        QCOMPARE(image.pixelColor(1, 1).alpha(), 0);
    }

    void ringColourRunsRoundTheWheel_data()
    {
        QTest::addColumn<double>("angle");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("right: red") << 0.0 << QColor(Qt::red);
        QTest::newRow("upper right: yellow") << -60.0 << QColor(Qt::yellow);
        QTest::newRow("upper left: green") << -120.0 << QColor(Qt::green);
        QTest::newRow("left: cyan") << 180.0 << QColor(Qt::cyan);
        QTest::newRow("lower left: blue") << 120.0 << QColor(Qt::blue);
        QTest::newRow("lower right: magenta") << 60.0 << QColor(Qt::magenta);
        QTest::newRow("between red and yellow") << -30.0 << QColor(255, 128, 0);
    }

    void ringColourRunsRoundTheWheel()
    {
        QFETCH(double, angle);
        QFETCH(QColor, colour);
        QVERIFY2(near(ColorPickerCtrl::ringColor(angle), colour, 1),
                 qPrintable(colourText(ColorPickerCtrl::ringColor(angle))));

        // The painted ring shows the same colour in that direction.
        ColorPickerCtrl wheel;
        wheel.resize(300, 300);
        QImage image(wheel.size(), QImage::Format_ARGB32);
        image.fill(Qt::black);
        wheel.render(&image);
        const QPoint p = ringPoint(wheel, angle + 8.0); // beside the marker, which sits at 0
        const QColor painted = image.pixelColor(p);
        QVERIFY2(near(painted, ColorPickerCtrl::ringColor(angle + 8.0), 8),
                 qPrintable(colourText(painted) + QLatin1String(" vs ")
                            + colourText(ColorPickerCtrl::ringColor(angle + 8.0))));
    }

    void draggingTheMarkerReportsColours()
    {
        ColorPickerCtrl wheel;
        wheel.resize(300, 300);
        wheel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wheel));
        QSignalSpy changed(&wheel, &ColorPickerCtrl::colorChanged);
        QSignalSpy selected(&wheel, &ColorPickerCtrl::colorSelected);

        QTest::mousePress(&wheel, Qt::LeftButton, {}, ringPoint(wheel, 120.0));
        QVERIFY(wheel.isDragging());
        QCOMPARE(changed.count(), 1);
        QVERIFY(near(changed.last().at(0).value<QColor>(), QColor(Qt::blue), 6));

        dragTo(&wheel, ringPoint(wheel, 180.0));
        QCOMPARE(changed.count(), 2);
        QVERIFY(near(changed.last().at(0).value<QColor>(), QColor(Qt::cyan), 6));

        // A move off the ring changes nothing.
        dragTo(&wheel, QRectF(wheel.rect()).center().toPoint());
        QCOMPARE(changed.count(), 2);

        // While dragging, a colour from outside does not move the wheel.
        wheel.setColor(Qt::red);
        QVERIFY(near(wheel.color(), QColor(Qt::cyan), 6));

        QTest::mouseRelease(&wheel, Qt::LeftButton, {}, ringPoint(wheel, 180.0));
        QCOMPARE(changed.count(), 3);
        QVERIFY(!wheel.isDragging());
        QCOMPARE(selected.count(), 0);

        // The centre disc shows the colour taken from the ring.
        const QImage shot = wheel.grab().toImage();
        QVERIFY(near(shot.pixelColor(QRectF(wheel.rect()).center().toPoint()), QColor(Qt::cyan), 8));

        wheel.setColor(QColor(12, 34, 56));
        QCOMPARE(wheel.color(), QColor(12, 34, 56));
    }

    void pressesOnTheWheel_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("changed");
        QTest::addColumn<int>("selected");
        QTest::newRow("centre selects") << "centre" << 0 << 1;
        QTest::newRow("ring drags") << "ring" << 1 << 0;
        QTest::newRow("ring on a diagonal drags") << "diagonal" << 1 << 0;
        QTest::newRow("between centre and ring: nothing") << "gap" << 0 << 0;
        QTest::newRow("outside the ring: nothing") << "corner" << 0 << 0;
    }

    void pressesOnTheWheel()
    {
        QFETCH(QString, where);
        QFETCH(int, changed);
        QFETCH(int, selected);
        ColorPickerCtrl wheel;
        wheel.resize(300, 300);
        wheel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wheel));
        QSignalSpy changedSpy(&wheel, &ColorPickerCtrl::colorChanged);
        QSignalSpy selectedSpy(&wheel, &ColorPickerCtrl::colorSelected);
        const QPoint c = QRectF(wheel.rect()).center().toPoint();
        const int r = wheel.outerSquare().width() / 2;
        QPoint p = c;
        if (where == QLatin1String("ring"))
            p = ringPoint(wheel, 10.0);
        else if (where == QLatin1String("diagonal"))
            p = ringPoint(wheel, 135.0);
        else if (where == QLatin1String("gap"))
            p = c + QPoint(int(0.65 * r), 0);
        else if (where == QLatin1String("corner"))
            p = QPoint(2, 2);
        QTest::mousePress(&wheel, Qt::LeftButton, {}, p);
        QCOMPARE(changedSpy.count(), changed);
        QCOMPARE(selectedSpy.count(), selected);
        QTest::mouseRelease(&wheel, Qt::LeftButton, {}, p);
    }

    void dialogRowsFollowTheLightType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("white");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("RGB without a white set") << int(LightRGB) << false
                                                 << QStringList{"Red", "Green", "Blue"};
        QTest::newRow("RGB with a white set") << int(LightRGB) << true
                                              << QStringList{"Red", "Green", "Blue", "White"};
        QTest::newRow("HSB RGB") << int(LightHSB) << false
                                 << QStringList{"Hue", "Saturation", "Brightness"};
        QTest::newRow("other types: no sliders") << int(LightAdjust) << false << QStringList();
    }

    void dialogRowsFollowTheLightType()
    {
        QFETCH(int, type);
        QFETCH(bool, white);
        QFETCH(QStringList, rows);
        ColorSelectDlg dlg(colourLight(type, {10, 20, 30, 40}, white));
        QCOMPARE(dlg.sliderNames(), rows);
        QCOMPARE(dlg.objectName(), QStringLiteral("ColorSelectDlg"));
        QVERIFY(dlg.windowState() & Qt::WindowFullScreen);
        QCOMPARE(dlg.minimumSize(), QSize(800, 600));
        if (type == LightHSB) {
            QCOMPARE(dlg.slider(QStringLiteral("Hue"))->slider()->maximum(), 240);
            QCOMPARE(dlg.slider(QStringLiteral("Brightness"))->slider()->maximum(), 100);
        } else if (type == LightRGB) {
            QCOMPARE(dlg.slider(QStringLiteral("Red"))->slider()->maximum(), 255);
        }
        for (const QString &name : rows)
            QCOMPARE(dlg.valueLabel(name)->text(), QStringLiteral("0"));
    }

    void rgbDialogOpensOnTheLightsColour_data()
    {
        QTest::addColumn<QList<int>>("levels");
        QTest::addColumn<QList<int>>("sliders");
        QTest::addColumn<QColor>("wheel");
        QTest::addColumn<QList<int>>("accepted");
        QTest::newRow("pure red") << QList<int>{100, 0, 0} << QList<int>{255, 0, 0} << QColor(255, 0, 0)
                                  << QList<int>{100, 0, 0};
        QTest::newRow("halves are truncated") << QList<int>{50, 20, 0} << QList<int>{127, 51, 0}
                                              << QColor(127, 51, 0) << QList<int>{49, 20, 0};
        // A module may report more than 100: shown at full strength, kept as reported
        // until the user accepts a colour.
        QTest::newRow("levels above 100 are shown clamped")
            << QList<int>{200, 255, 100} << QList<int>{255, 255, 255} << QColor(255, 255, 255)
            << QList<int>{100, 100, 100};
    }

    void rgbDialogOpensOnTheLightsColour()
    {
        QFETCH(QList<int>, levels);
        QFETCH(QList<int>, sliders);
        QFETCH(QColor, wheel);
        QFETCH(QList<int>, accepted);
        light rec = colourLight(LightRGB, {levels[0], levels[1], levels[2], 0});
        ColorSelectDlg dlg(rec);
        QCOMPARE(dlg.colorWheel()->color(), wheel);
        QVERIFY(waitForFill(dlg));
        QCOMPARE(dlg.slider(QStringLiteral("Red"))->value(), sliders[0]);
        QCOMPARE(dlg.slider(QStringLiteral("Green"))->value(), sliders[1]);
        QCOMPARE(dlg.slider(QStringLiteral("Blue"))->value(), sliders[2]);
        QCOMPARE(dlg.colorWheel()->color(), wheel);
        if (sliders[0] > 0)
            QCOMPARE(dlg.valueLabel(QStringLiteral("Red"))->text(), QString::number(sliders[0]));
        // Before accepting, the copy keeps the levels as they came.
        QCOMPARE(dlg.lightRecord.brightness[0], levels[0]);

        QTest::mouseClick(dlg.colorWheel(), Qt::LeftButton, {},
                          QRectF(dlg.colorWheel()->rect()).center().toPoint());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        for (int k = 0; k < 3; ++k)
            QCOMPARE(dlg.lightRecord.brightness[k], accepted[k]);
    }

    void redSliderValuesAreStoredAsPercent()
    {
        ColorSelectDlg dlg(colourLight(LightRGB, {0, 0, 0, 33}));
        QVERIFY(waitForFill(dlg));
        dlg.slider(QStringLiteral("Red"))->setValue(128);
        QCOMPARE(dlg.valueLabel(QStringLiteral("Red"))->text(), QStringLiteral("128"));
        QCOMPARE(dlg.colorWheel()->color(), QColor(128, 0, 0));
        QTest::mouseClick(dlg.colorWheel(), Qt::LeftButton, {},
                          QRectF(dlg.colorWheel()->rect()).center().toPoint());
        QCOMPARE(dlg.lightRecord.brightness[0], 50);
        // Without a white set the fourth level is left alone.
        QCOMPARE(dlg.lightRecord.brightness[3], 33);
    }

    void whiteSliderIsAccepted()
    {
        ColorSelectDlg dlg(colourLight(LightRGB, {0, 0, 0, 40}, true));
        QVERIFY(waitForFill(dlg));
        QCOMPARE(dlg.slider(QStringLiteral("White"))->value(), 40);
        const QColor before = dlg.colorWheel()->color();
        dlg.slider(QStringLiteral("White"))->setValue(70);
        QCOMPARE(dlg.valueLabel(QStringLiteral("White"))->text(), QStringLiteral("70"));
        QCOMPARE(dlg.colorWheel()->color(), before);
        QTest::mouseClick(dlg.colorWheel(), Qt::LeftButton, {},
                          QRectF(dlg.colorWheel()->rect()).center().toPoint());
        QCOMPARE(dlg.lightRecord.brightness[3], 70);
    }

    void closingLeavesTheRecord()
    {
        ColorSelectDlg dlg(colourLight(LightRGB, {20, 30, 40, 0}));
        QVERIFY(waitForFill(dlg));
        dlg.slider(QStringLiteral("Green"))->setValue(200);
        auto *close = dlg.findChild<QtMaterialIconButton *>(QStringLiteral("pushButtonClose"));
        QVERIFY(close);
        QTest::mouseClick(close, Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(dlg.lightRecord.brightness[1], 30);
    }

    void hsbDialogFollowsTheWheel()
    {
        ColorSelectDlg dlg(colourLight(LightHSB, {100, 0, 240}));
        // Hue 0, full saturation, luminance 120: red.
        QVERIFY(near(dlg.colorWheel()->color(), QColor(255, 0, 0), 1));
        QVERIFY(waitForFill(dlg));
        QCOMPARE(dlg.slider(QStringLiteral("Hue"))->value(), 0);
        QCOMPARE(dlg.slider(QStringLiteral("Saturation"))->value(), 240);
        QCOMPARE(dlg.slider(QStringLiteral("Brightness"))->value(), 100);

        ColorPickerCtrl *wheel = dlg.colorWheel();
        QList<int> hues;
        QTest::mousePress(wheel, Qt::LeftButton, {}, ringPoint(*wheel, -10.0));
        for (double a = -30.0; a >= -150.0; a -= 30.0) {
            dragTo(wheel, ringPoint(*wheel, a));
            hues.append(dlg.slider(QStringLiteral("Hue"))->value());
        }
        QTest::mouseRelease(wheel, Qt::LeftButton, {}, ringPoint(*wheel, -150.0));
        // Hue grows as the marker goes counter-clockwise from red through yellow to green.
        for (int i = 1; i < hues.size(); ++i)
            QVERIFY2(hues[i] > hues[i - 1], qPrintable(QStringLiteral("%1").arg(hues[i])));
        QVERIFY(std::abs(hues.last() - 100) <= 3); // 150 degrees on the 0-240 scale
        QCOMPARE(dlg.slider(QStringLiteral("Saturation"))->value(), 240);
        QCOMPARE(dlg.slider(QStringLiteral("Brightness"))->value(), 100);
        QCOMPARE(dlg.valueLabel(QStringLiteral("Hue"))->text(), QString::number(hues.last()));

        QTest::mouseClick(wheel, Qt::LeftButton, {}, QRectF(wheel->rect()).center().toPoint());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.lightRecord.brightness[0], 100);
        QCOMPARE(dlg.lightRecord.brightness[1], hues.last());
        QCOMPARE(dlg.lightRecord.brightness[2], 240);
    }

    void hsbSlidersMoveTheWheel()
    {
        ColorSelectDlg dlg(colourLight(LightHSB, {100, 0, 0}));
        QVERIFY(waitForFill(dlg));
        QVERIFY(near(dlg.colorWheel()->color(), QColor(127, 127, 127), 1)); // no saturation: grey
        dlg.slider(QStringLiteral("Saturation"))->setValue(240);
        dlg.slider(QStringLiteral("Hue"))->setValue(160); // blue
        QVERIFY(near(dlg.colorWheel()->color(), QColor(0, 0, 255), 1));
        dlg.slider(QStringLiteral("Brightness"))->setValue(50);
        QVERIFY(near(dlg.colorWheel()->color(), QColor(0, 0, 127), 2));
    }
};

VARNO_TEST_MAIN(TestLightControls)
#include "tst_lightcontrols.moc"
