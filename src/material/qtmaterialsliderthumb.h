#pragma once

#include "qtmaterialoverlaywidget.h"

#include <QColor>
#include <QPointer>

class QtMaterialSlider;

// The round knob of a slider with its halo. It lies over the slider's parent and
// paints at the slider's place there; the mouse goes through it.
class QtMaterialSliderThumb : public QtMaterialOverlayWidget
{
    Q_OBJECT

    Q_PROPERTY(qreal diameter WRITE setDiameter READ diameter)
    Q_PROPERTY(qreal borderWidth WRITE setBorderWidth READ borderWidth)
    Q_PROPERTY(QColor borderColor WRITE setBorderColor READ borderColor)
    Q_PROPERTY(QColor fillColor WRITE setFillColor READ fillColor)
    Q_PROPERTY(qreal haloSize WRITE setHaloSize READ haloSize)
    Q_PROPERTY(QColor haloColor WRITE setHaloColor READ haloColor)

public:
    explicit QtMaterialSliderThumb(QtMaterialSlider *slider);
    ~QtMaterialSliderThumb() override;

    void setDiameter(qreal diameter);
    qreal diameter() const { return m_diameter; }

    void setBorderWidth(qreal width);
    qreal borderWidth() const { return m_borderWidth; }

    void setBorderColor(const QColor &color);
    QColor borderColor() const { return m_borderColor; }

    void setFillColor(const QColor &color);
    QColor fillColor() const { return m_fillColor; }

    void setHaloSize(qreal size);
    qreal haloSize() const { return m_haloSize; }

    void setHaloColor(const QColor &color);
    QColor haloColor() const { return m_haloColor; }

    void setOffset(int offset);
    int offset() const { return m_offset; }

    // The thumb's 60-pixel box in the coordinates of the parent it paints on.
    QRect thumbArea() const;

protected:
    bool eventFilter(QObject *obj, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    Q_DISABLE_COPY(QtMaterialSliderThumb)

    void updateThumb();

    const QPointer<QtMaterialSlider> m_slider;
    QColor m_borderColor;
    QColor m_fillColor;
    QColor m_haloColor;
    qreal m_diameter = 11;
    qreal m_borderWidth = 2;
    qreal m_haloSize = 0;
    int m_offset = 0;
};
