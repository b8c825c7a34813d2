#pragma once

#include <QColor>
#include <QWidget>

// A small spinning busy sign: twelve rounded bars like the spokes of a wheel,
// fading from opaque to almost transparent, turning by 30 degrees on every tick.
class QProgressIndicator : public QWidget
{
    Q_OBJECT

    Q_PROPERTY(int delay READ animationDelay WRITE setAnimationDelay)
    Q_PROPERTY(bool displayedWhenStopped READ isDisplayedWhenStopped
                   WRITE setDisplayedWhenStopped)
    Q_PROPERTY(QColor color READ color WRITE setColor)

public:
    explicit QProgressIndicator(QWidget *parent = nullptr);
    ~QProgressIndicator() override;

    int animationDelay() const { return m_delay; }
    bool isAnimated() const;
    bool isDisplayedWhenStopped() const;
    const QColor &color() const { return m_color; }

    int angle() const { return m_angle; }

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
    // Where the indicator places itself on its parent when it starts.
    virtual QPoint startPosition() const;
    void paintEvent(QPaintEvent *event) override;

private:
    Q_DISABLE_COPY(QProgressIndicator)

    int m_angle = 0;
    int m_timerId = -1;
    int m_delay = 40;
    bool m_displayedWhenStopped = false;
    QColor m_color = Qt::darkGray;
};
