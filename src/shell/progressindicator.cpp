#include "progressindicator.h"

#include <QPainter>
#include <QTimerEvent>

#include <algorithm>

ProgressIndicator::ProgressIndicator(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(32, 32);
}

bool ProgressIndicator::isAnimated() const
{
    return timerId != -1;
}

bool ProgressIndicator::isDisplayedWhenStopped() const
{
    return displayedWhenStopped;
}

QSize ProgressIndicator::sizeHint() const
{
    return QSize(20, 20);
}

int ProgressIndicator::heightForWidth(int w) const
{
    return w;
}

ProgressIndicator::Bars ProgressIndicator::barsFor(int side)
{
    Bars bars;
    bars.outerRadius = int((side - 1) * 0.5);
    bars.innerRadius = int((side - 1) * 0.5 * 0.38);
    bars.length = bars.outerRadius - bars.innerRadius;
    bars.width = side > 32 ? int(bars.length * 0.23) : int(bars.length * 0.35);
    bars.cornerRadius = bars.width / 2;
    return bars;
}

void ProgressIndicator::startAnimation()
{
    if (parentWidget())
        move((parentWidget()->width() - width()) / 2, 0);
    currentAngle = 0;
    if (timerId != -1)
        killTimer(timerId);
    timerId = -1;
    repaint();
    timerId = startTimer(delay);
}

void ProgressIndicator::stopAnimation()
{
    if (timerId != -1)
        killTimer(timerId);
    timerId = -1;
    repaint();
}

void ProgressIndicator::setAnimationDelay(int newDelay)
{
    delay = newDelay;
    if (timerId != -1) {
        killTimer(timerId);
        timerId = startTimer(delay);
    }
}

void ProgressIndicator::setDisplayedWhenStopped(bool state)
{
    displayedWhenStopped = state;
    repaint();
}

void ProgressIndicator::setColor(const QColor &newColor)
{
    barColor = newColor;
    repaint();
}

void ProgressIndicator::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != timerId) {
        QWidget::timerEvent(event);
        return;
    }
    currentAngle = (currentAngle + 30) % 360;
    repaint();
}

void ProgressIndicator::paintEvent(QPaintEvent *)
{
    if (!isAnimated() && !displayedWhenStopped)
        return;
    const int side = std::min(width(), height());
    const Bars bars = barsFor(side);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < 12; ++k) {
        QColor color = barColor;
        color.setAlphaF(1.0 - k / 12.0);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.save();
        painter.translate((width() - 1) / 2, (height() - 1) / 2);
        painter.rotate(currentAngle - 30 * k);
        painter.drawRoundedRect(int(-bars.width / 2.0), -bars.outerRadius, bars.width, bars.length,
                                bars.cornerRadius, bars.cornerRadius);
        painter.restore();
    }
}
