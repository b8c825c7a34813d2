#include "sliderctrl.h"

#include <QHBoxLayout>
#include <qtmaterialslider.h>

SliderCtrl::SliderCtrl(QWidget *parent)
    : QWidget(parent)
{
    m_slider = new QtMaterialSlider(this);
    auto *box = new QHBoxLayout(this);
    box->addWidget(m_slider, 0);
    connect(m_slider, &QAbstractSlider::valueChanged, this, &SliderCtrl::slotsValueChanged);
}

void SliderCtrl::setValue(int value)
{
    m_slider->setValue(value);
    update();
}

int SliderCtrl::value() const
{
    return m_slider->value();
}

void SliderCtrl::setOrientation(Qt::Orientation orientation)
{
    m_slider->setOrientation(orientation);
}

void SliderCtrl::setRange(int min, int max)
{
    m_slider->setRange(min, max);
}

void SliderCtrl::slotsValueChanged(int value)
{
    emit valueChanged(value);
}
