#pragma once

// One material slider in a box of its own, re-emitting the slider's value changes.

#include <QWidget>

class QtMaterialSlider;

class SliderCtrl : public QWidget
{
    Q_OBJECT
public:
    explicit SliderCtrl(QWidget *parent = nullptr);

    void setValue(int value);
    int value() const;
    void setOrientation(Qt::Orientation orientation);
    void setRange(int min, int max);
    QtMaterialSlider *slider() const { return m_slider; }

signals:
    void valueChanged(int value);

public slots:
    void slotsValueChanged(int value);

private:
    QtMaterialSlider *m_slider;
};
