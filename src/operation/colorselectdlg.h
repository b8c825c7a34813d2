#pragma once

// "RGB Selection": the full-screen dialog that edits the colour of an "RGB" or
// "HSB RGB" light with a hue wheel and a set of sliders. It works on a copy of the
// light's record; a press on the wheel's centre writes the sliders into the copy
// and accepts, the close button rejects. It sends nothing on the bus.

#include "operation/light.h"
#include "shell/mydialog.h"

#include <QColor>
#include <QTimer>
#include <QVector>

class ColorPickerCtrl;
class QGridLayout;
class QLabel;
class SliderCtrl;

class ColorSelectDlg : public MyDialog
{
    Q_OBJECT
public:
    explicit ColorSelectDlg(light rec, QWidget *parent = nullptr);
    ~ColorSelectDlg() override;

    // The edited copy; the light item takes it back after an accepted exec().
    light lightRecord;

    ColorPickerCtrl *colorWheel() const { return picker; }
    // The slider and value label of the row with that name ("Red", "Hue", ...);
    // null when the dialog has no such row.
    SliderCtrl *slider(const QString &name) const;
    QLabel *valueLabel(const QString &name) const;
    QStringList sliderNames() const;

private slots:
    void initDlgCtrl();
    void valueChanged(int value);
    void colorChanged(QColor color);
    void colorSelected();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Row
    {
        QString name;
        SliderCtrl *slider = nullptr;
        QLabel *value = nullptr;
    };

    void addRow(const QString &name, int maximum);
    int sliderValue(const QString &name) const;
    void setSliderValue(const QString &name, int value);
    QColor colourOfRgbSliders() const;
    QColor colourOfHsbSliders() const;

    QVector<Row> rows;
    QTimer initTimer;
    ColorPickerCtrl *picker = nullptr;
    QGridLayout *sliderGrid = nullptr;
};
