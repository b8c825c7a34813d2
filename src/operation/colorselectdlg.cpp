#include "colorselectdlg.h"

#include "bus/colorconversion.h"
#include "operation/colorpickerctrl.h"
#include "operation/lightcolours.h"
#include "shell/roundedpanel.h"
#include "shell/sliderctrl.h"
#include "store/globals.h"

#include "shell/framedialog.h"

#include <QGridLayout>
#include <QLabel>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmaterialtheme.h>

#include <algorithm>

namespace {

const QString kHue = QStringLiteral("Hue");
const QString kSaturation = QStringLiteral("Saturation");
const QString kBrightness = QStringLiteral("Brightness");
const QString kRed = QStringLiteral("Red");
const QString kGreen = QStringLiteral("Green");
const QString kBlue = QStringLiteral("Blue");
const QString kWhite = QStringLiteral("White");

int boundedByScreen(int wanted, int screen)
{
    return screen > 0 ? std::min(wanted, screen) : wanted;
}

} // namespace

ColorSelectDlg::ColorSelectDlg(light rec, QWidget *parent)
    : MyDialog(parent)
    , lightRecord(rec)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("ColorSelectDlg"));

    auto *title = new QtMaterialLabel(tr("RGB Selection"), this);
    title->setAlignment(Qt::AlignCenter);
    auto *remark = new QtMaterialLabel(lightRecord.remark(), this);
    remark->setObjectName(QStringLiteral("labelRemark"));

    picker = new ColorPickerCtrl(this);

    sliderGrid = new QGridLayout;
    sliderGrid->setSpacing(20);
    if (lightRecord.light_type == LightHSB) {
        addRow(kHue, 240);
        addRow(kSaturation, 240);
        addRow(kBrightness, 100);
    } else if (lightRecord.light_type == LightRGB) {
        addRow(kRed, 255);
        addRow(kGreen, 255);
        addRow(kBlue, 255);
        if (lightRecord.hasWhiteSet())
            addRow(kWhite, 100);
    }

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(20, 20, 20, 20);
    grid->setSpacing(20);
    grid->addWidget(title, 0, 0, Qt::AlignCenter);
    grid->addWidget(close, 0, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(remark, 1, 0);
    grid->addWidget(picker, 2, 0);
    grid->addLayout(sliderGrid, 3, 0);
    grid->setRowStretch(2, 1);

    if (lightRecord.light_type == LightRGB)
        picker->setColor(displayColourOfRgb(lightRecord));
    else if (lightRecord.light_type == LightHSB)
        picker->setColor(displayColourOfHsb(lightRecord));

    connect(picker, &ColorPickerCtrl::colorChanged, this, &ColorSelectDlg::colorChanged);
    connect(picker, &ColorPickerCtrl::colorSelected, this, &ColorSelectDlg::colorSelected);

    setMinimumSize(boundedByScreen(800, screen_cx), boundedByScreen(600, screen_cy));
    setWindowState(windowState() | Qt::WindowFullScreen);

    // A child with a name, so a test can wait for the first fill to have run.
    initTimer.setParent(this);
    initTimer.setObjectName(QStringLiteral("initTimer"));
    connect(&initTimer, &QTimer::timeout, this, &ColorSelectDlg::initDlgCtrl);
    initTimer.start(100);
}

ColorSelectDlg::~ColorSelectDlg() = default;

void ColorSelectDlg::addRow(const QString &name, int maximum)
{
    Row row;
    row.name = name;
    row.slider = new SliderCtrl(this);
    row.slider->setObjectName(QStringLiteral("slider") + name);
    row.slider->setRange(0, maximum);
    row.slider->setOrientation(Qt::Horizontal);
    row.value = new QtMaterialLabel(QStringLiteral("0"), this);
    row.value->setMinimumWidth(60);
    auto *caption = new QtMaterialLabel(tr(name.toUtf8().constData()), this);
    caption->setMinimumWidth(120);
    const int r = rows.size();
    sliderGrid->addWidget(caption, r, 0);
    sliderGrid->addWidget(row.slider, r, 1);
    sliderGrid->addWidget(row.value, r, 2);
    sliderGrid->setColumnStretch(1, 1);
    connect(row.slider, &SliderCtrl::valueChanged, this, &ColorSelectDlg::valueChanged);
    rows.append(row);
}

SliderCtrl *ColorSelectDlg::slider(const QString &name) const
{
    for (const Row &row : rows) {
        if (row.name == name)
            return row.slider;
    }
    return nullptr;
}

QLabel *ColorSelectDlg::valueLabel(const QString &name) const
{
    for (const Row &row : rows) {
        if (row.name == name)
            return row.value;
    }
    return nullptr;
}

QStringList ColorSelectDlg::sliderNames() const
{
    QStringList names;
    for (const Row &row : rows)
        names.append(row.name);
    return names;
}

int ColorSelectDlg::sliderValue(const QString &name) const
{
    SliderCtrl *s = slider(name);
    return s ? s->value() : 0;
}

void ColorSelectDlg::setSliderValue(const QString &name, int value)
{
    if (SliderCtrl *s = slider(name))
        s->setValue(value);
}

QColor ColorSelectDlg::colourOfRgbSliders() const
{
    return QColor(sliderValue(kRed), sliderValue(kGreen), sliderValue(kBlue));
}

QColor ColorSelectDlg::colourOfHsbSliders() const
{
    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;
    HSL2RGB(float(sliderValue(kHue)), float(sliderValue(kSaturation)),
            float(sliderValue(kBrightness)) * 120.0f / 100.0f, &r, &g, &b);
    return QColor(r, g, b);
}

void ColorSelectDlg::initDlgCtrl()
{
    initTimer.stop();
    if (lightRecord.light_type == LightRGB) {
        setSliderValue(kRed, displayLevel(lightRecord.brightness[0]));
        setSliderValue(kGreen, displayLevel(lightRecord.brightness[1]));
        setSliderValue(kBlue, displayLevel(lightRecord.brightness[2]));
        setSliderValue(kWhite, lightRecord.brightness[3]);
    } else if (lightRecord.light_type == LightHSB) {
        setSliderValue(kHue, lightRecord.brightness[1]);
        setSliderValue(kSaturation, lightRecord.brightness[2]);
        setSliderValue(kBrightness, lightRecord.brightness[0]);
    }
}

void ColorSelectDlg::valueChanged(int value)
{
    const Row *from = nullptr;
    for (const Row &row : rows) {
        if (row.slider == sender())
            from = &row;
    }
    if (!from)
        return;
    if (from->name == kRed || from->name == kGreen || from->name == kBlue)
        picker->setColor(colourOfRgbSliders());
    else if (from->name == kHue || from->name == kSaturation || from->name == kBrightness)
        picker->setColor(colourOfHsbSliders());
    from->value->setText(QString::asprintf("%d", value));
}

void ColorSelectDlg::colorChanged(QColor color)
{
    if (lightRecord.light_type == LightHSB) {
        float h = 0.0f;
        float s = 0.0f;
        float l = 0.0f;
        RGB2HSL(static_cast<unsigned char>(color.red()), static_cast<unsigned char>(color.green()),
                static_cast<unsigned char>(color.blue()), &h, &s, &l);
        setSliderValue(kHue, int(h));
        setSliderValue(kSaturation, int(s));
        setSliderValue(kBrightness, int(l * 100.0f / 120.0f));
    } else if (lightRecord.light_type == LightRGB) {
        setSliderValue(kRed, color.red());
        setSliderValue(kGreen, color.green());
        setSliderValue(kBlue, color.blue());
    }
}

void ColorSelectDlg::colorSelected()
{
    if (lightRecord.light_type == LightHSB) {
        lightRecord.brightness[0] = sliderValue(kBrightness);
        lightRecord.brightness[1] = sliderValue(kHue);
        lightRecord.brightness[2] = sliderValue(kSaturation);
    } else if (lightRecord.light_type == LightRGB) {
        lightRecord.brightness[0] = sliderValue(kRed) * 100 / 255;
        lightRecord.brightness[1] = sliderValue(kGreen) * 100 / 255;
        lightRecord.brightness[2] = sliderValue(kBlue) * 100 / 255;
        if (slider(kWhite))
            lightRecord.brightness[3] = sliderValue(kWhite);
    }
    accept();
}

void ColorSelectDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    MyDialog::paintEvent(event);
}
