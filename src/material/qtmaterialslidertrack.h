#pragma once

#include "qtmaterialoverlaywidget.h"

#include <QColor>
#include <QPointer>

class QtMaterialSlider;
class QtMaterialSliderThumb;

// The line of a slider, split at the thumb into the value part and the rest. It
// lies over the slider's parent and paints at the slider's place there.
class QtMaterialSliderTrack : public QtMaterialOverlayWidget
{
    Q_OBJECT

    Q_PROPERTY(QColor fillColor WRITE setFillColor READ fillColor)

public:
    QtMaterialSliderTrack(QtMaterialSliderThumb *thumb, QtMaterialSlider *slider);
    ~QtMaterialSliderTrack() override;

    void setFillColor(const QColor &color);
    QColor fillColor() const { return m_fillColor; }

    void setTrackWidth(int width);
    int trackWidth() const { return m_trackWidth; }

protected:
    bool eventFilter(QObject *obj, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    Q_DISABLE_COPY(QtMaterialSliderTrack)

    const QPointer<QtMaterialSlider> m_slider;
    const QPointer<QtMaterialSliderThumb> m_thumb;
    QColor m_fillColor;
    int m_trackWidth = 2;
};
