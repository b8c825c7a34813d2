#pragma once

// Watches the ticks of timers that a class keeps to itself. An application-wide
// event filter sees each timer event before the timer emits timeout(), so a row
// can tell that a timer ticked before what it then observes, and with which
// interval, without reading a clock.

#include <QCoreApplication>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QTimerEvent>

#include <functional>
#include <utility>

class TimerTicks : public QObject
{
public:
    // which picks the timers watched (those living on the window's thread). It is called at each
    // tick before the timer emits timeout(), so it may also note what has come by then.
    explicit TimerTicks(std::function<bool(const QTimer *)> which) : m_which(std::move(which))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~TimerTicks() override { QCoreApplication::instance()->removeEventFilter(this); }

    // The interval each tick so far had, in order.
    QList<int> intervals() const { return m_intervals; }
    // The timer of the latest tick, while it exists.
    QTimer *timer() const { return m_timer; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer) {
            auto *timer = qobject_cast<QTimer *>(watched);
            if (timer && static_cast<QTimerEvent *>(event)->timerId() == timer->timerId() &&
                m_which(timer)) {
                m_intervals.append(timer->interval());
                m_timer = timer;
            }
        }
        return false;
    }

private:
    std::function<bool(const QTimer *)> m_which;
    QList<int> m_intervals;
    QPointer<QTimer> m_timer;
};
