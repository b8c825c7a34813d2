#pragma once

// The spinner of the refresh header: twelve rounded bars around a centre, fading
// from opaque to clear, turning by 30 degrees on every timer tick.

#include <QColor>
#include <QWidget>

class ProgressIndicator : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int delay READ animationDelay WRITE setAnimationDelay)
    Q_PROPERTY(bool displayedWhenStopped READ isDisplayedWhenStopped WRITE setDisplayedWhenStopped)
    Q_PROPERTY(QColor color READ color WRITE setColor)
public:
    explicit ProgressIndicator(QWidget *parent = nullptr);

    int animationDelay() const { return delay; }
    bool isAnimated() const;
    bool isDisplayedWhenStopped() const;
    const QColor &color() const { return barColor; }
    int angle() const { return currentAngle; }

    QSize sizeHint() const override;
    int heightForWidth(int w) const override;

    // The bar geometry for a widget whose smaller side is `side` pixels.
    struct Bars
    {
        int outerRadius;
        int innerRadius;
        int length;
        int width;
        int cornerRadius;
    };
    static Bars barsFor(int side);

public slots:
    void startAnimation();
    void stopAnimation();
    void setAnimationDelay(int delay);
    void setDisplayedWhenStopped(bool state);
    void setColor(const QColor &color);

protected:
    void timerEvent(QTimerEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int currentAngle = 0;
    int timerId = -1;
    int delay = 40;
    bool displayedWhenStopped = false;
    QColor barColor = Qt::darkGray;
};
