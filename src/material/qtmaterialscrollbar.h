#pragma once

#include <QColor>
#include <QScopedPointer>
#include <QScrollBar>

class QtMaterialScrollBarPrivate;

// A thin scroll bar that paints itself: a rounded track with a rounded handle,
// faded in while the pointer is over it or shortly after its value changes.
class QtMaterialScrollBar : public QScrollBar
{
    Q_OBJECT

    Q_PROPERTY(bool hideOnMouseOut WRITE setHideOnMouseOut READ hideOnMouseOut)
    Q_PROPERTY(QColor canvasColor WRITE setCanvasColor READ canvasColor)
    Q_PROPERTY(QColor backgroundColor WRITE setBackgroundColor READ backgroundColor)
    Q_PROPERTY(QColor sliderColor WRITE setSliderColor READ sliderColor)

public:
    explicit QtMaterialScrollBar(QWidget *parent = nullptr);
    QtMaterialScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);
    ~QtMaterialScrollBar() override;

    QSize sizeHint() const override;

    void setUseThemeColors(bool value);
    bool useThemeColors() const;

    void setCanvasColor(const QColor &color);
    QColor canvasColor() const;

    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

    void setSliderColor(const QColor &color);
    QColor sliderColor() const;

    void setHideOnMouseOut(bool value);
    bool hideOnMouseOut() const;

    // The handle's rectangle for the current range, page step and position; empty
    // when the range leaves no room to compute one.
    QRect handleRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void sliderChange(QAbstractSlider::SliderChange change) override;

    const QScopedPointer<QtMaterialScrollBarPrivate> d_ptr;

private:
    Q_DISABLE_COPY(QtMaterialScrollBar)
    Q_DECLARE_PRIVATE(QtMaterialScrollBar)
};
