#include "lightsliderctrl.h"

#include <QHBoxLayout>
#include <QLabel>
#include <qtmateriallabel.h>
#include <qtmaterialslider.h>

namespace {

constexpr int KelvinLow = 2700;
constexpr int KelvinSpan = 3800; // 2700 K to 6500 K

int kelvinOffset(int position)
{
    return position * KelvinSpan / 100;
}

} // namespace

LightSliderCtrl::LightSliderCtrl(bool colourTemperature, QWidget *parent)
    : QWidget(parent)
    , temperatureMode(colourTemperature)
{
    auto *picture = new QLabel(this);
    picture->setFixedSize(20, 20);
    picture->setScaledContents(true);
    picture->setPixmap(QPixmap(tr(":/myImages/png/icon-lighting-brightness.png")));

    m_slider = new QtMaterialSlider(this);
    m_slider->setOrientation(Qt::Horizontal);
    m_slider->setRange(0, 100);

    m_label = new QtMaterialLabel(temperatureMode ? QStringLiteral("2700K") : QStringLiteral("0%"), this);
    m_label->setFixedWidth(100);

    auto *row = new QHBoxLayout(this);
    row->addWidget(picture);
    row->addWidget(m_slider, 1);
    row->addWidget(m_label);

    connect(m_slider, &QAbstractSlider::valueChanged, this, &LightSliderCtrl::slotsValueChanged);
}

void LightSliderCtrl::setValue(int value)
{
    m_slider->setValue(temperatureMode ? 100 - value : value);
    update();
}

int LightSliderCtrl::value() const
{
    return deviceValue(m_slider->value());
}

QString LightSliderCtrl::valueText() const
{
    return m_label->text();
}

int LightSliderCtrl::deviceValue(int position) const
{
    if (!temperatureMode)
        return position;
    return (KelvinSpan - kelvinOffset(position)) / 38;
}

void LightSliderCtrl::slotsValueChanged(int position)
{
    if (temperatureMode)
        m_label->setText(QString::asprintf("%dK", KelvinLow + kelvinOffset(position)));
    else
        m_label->setText(QString::asprintf("%d%%", position));
    emit valueChanged(deviceValue(position));
}
