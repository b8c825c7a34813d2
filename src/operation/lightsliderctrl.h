#pragma once

// The slider of a dimmable light: brightness (0 to 100 %) or colour temperature
// (2700 K at the left end, device value 100, to 6500 K at the right end, device
// value 0). A picture, the slider and a value label in one row.

#include <QWidget>

class QLabel;
class QtMaterialSlider;

class LightSliderCtrl : public QWidget
{
    Q_OBJECT
public:
    // colourTemperature selects the colour-temperature mode.
    explicit LightSliderCtrl(bool colourTemperature, QWidget *parent = nullptr);

    // Shows a device value; the slider reports the change like a movement.
    void setValue(int value);
    // The device value of the current position.
    int value() const;

    bool isColourTemperature() const { return temperatureMode; }
    QString valueText() const;
    QtMaterialSlider *slider() const { return m_slider; }

signals:
    // The device value, after the label has been updated.
    void valueChanged(int value);

public slots:
    void slotsValueChanged(int position);

private:
    int deviceValue(int position) const;

    const bool temperatureMode;
    QtMaterialSlider *m_slider;
    QLabel *m_label;
};
