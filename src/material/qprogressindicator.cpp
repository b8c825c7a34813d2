#include "qprogressindicator.h"

#include <QPainter>
#include <QTimerEvent>

QProgressIndicator::QProgressIndicator(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(64, 64);
}

QProgressIndicator::~QProgressIndicator() = default;

bool QProgressIndicator::isAnimated() const
{
    return m_timerId != -1;
}

bool QProgressIndicator::isDisplayedWhenStopped() const
{
    return m_displayedWhenStopped;
}

void QProgressIndicator::startAnimation()
{
    if (parentWidget())
        move(startPosition());

    m_angle = 0;
    if (m_timerId != -1)
        killTimer(m_timerId);
    m_timerId = -1;
    update();
    m_timerId = startTimer(m_delay, Qt::CoarseTimer);
}

void QProgressIndicator::stopAnimation()
{
    if (m_timerId != -1)
        killTimer(m_timerId);
    m_timerId = -1;
    update();
}

void QProgressIndicator::setAnimationDelay(int delay)
{
    if (m_timerId != -1) {
        killTimer(m_timerId);
        m_delay = delay;
        m_timerId = startTimer(m_delay, Qt::CoarseTimer);
    } else {
        m_delay = delay;
    }
}

void QProgressIndicator::setDisplayedWhenStopped(bool state)
{
    m_displayedWhenStopped = state;
    update();
}

void QProgressIndicator::setColor(const QColor &color)
{
    m_color = color;
    update();
}

QSize QProgressIndicator::sizeHint() const
{
    return QSize(20, 20);
}

int QProgressIndicator::heightForWidth(int w) const
{
    return w;
}

void QProgressIndicator::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timerId) {
        QWidget::timerEvent(event);
        return;
    }
    m_angle = (m_angle + 30) % 360;
    update();
}

void QProgressIndicator::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    if (!m_displayedWhenStopped && !isAnimated())
        return;

    const int width = qMin(this->width(), this->height());

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    const Bars bars = barsFor(width);
    for (int i = 0; i < 12; ++i) {
        QColor color = m_color;
        color.setAlphaF(1.0 - (i / 12.0));
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.save();
        p.translate((this->width() - 1) / 2, (this->height() - 1) / 2);
        p.rotate(m_angle - i * 30.0);
        p.drawRoundedRect(int(-bars.width * 0.5), -bars.outerRadius, bars.width, bars.length,
                          bars.cornerRadius, bars.cornerRadius);
        p.restore();
    }
}

QProgressIndicator::Bars QProgressIndicator::barsFor(int side)
{
    Bars bars;
    bars.outerRadius = int((side - 1) * 0.5);
    bars.innerRadius = int((side - 1) * 0.5 * 0.38);
    bars.length = bars.outerRadius - bars.innerRadius;
    bars.width = side > 32 ? int(bars.length * 0.23) : int(bars.length * 0.35);
    bars.cornerRadius = bars.width / 2;
    return bars;
}

QPoint QProgressIndicator::startPosition() const
{
    return QPoint(parentWidget() ? parentWidget()->width() / 2 : 0, 0);
}
