#pragma once

#include "qtmaterialoverlaywidget.h"

// The sliding panel of a drawer: a canvas-coloured area with a 16-pixel shadow
// strip at its right edge, moved horizontally by its offset.
class QtMaterialDrawerWidget : public QtMaterialOverlayWidget
{
    Q_OBJECT

    Q_PROPERTY(int offset WRITE setOffset READ offset)

public:
    // Width of the shadow strip at the panel's right edge.
    static constexpr int ShadowWidth = 16;

    explicit QtMaterialDrawerWidget(QWidget *parent = nullptr);
    ~QtMaterialDrawerWidget() override;

    void setOffset(int offset);
    int offset() const { return m_offset; }

protected:
    void paintEvent(QPaintEvent *event) override;
    QRect overlayGeometry() const override;

private:
    Q_DISABLE_COPY(QtMaterialDrawerWidget)

    int m_offset = 0;
};
