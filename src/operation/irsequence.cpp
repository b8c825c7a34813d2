#include "irsequence.h"

#include <QPointer>

IrSequence::IrSequence(QObject *parent)
    : QObject(parent)
{
    timer.setSingleShot(true);
    // A coarse timer may fire a little early; the gap is a lower bound.
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &IrSequence::sendDue);
}

IrSequence::~IrSequence()
{
    timer.stop();
}

int IrSequence::timeToNext() const
{
    if (!lastSent.isValid())
        return 0;
    const qint64 elapsed = lastSent.elapsed();
    return elapsed >= Gap ? 0 : int(Gap - elapsed);
}

void IrSequence::append(std::function<void()> send)
{
    if (!send)
        return;
    waiting.push_back(std::move(send));
    if (!timer.isActive())
        sendDue();
}

void IrSequence::sendDue()
{
    while (!waiting.empty()) {
        const int wait = timeToNext();
        if (wait > 0) {
            timer.start(wait);
            return;
        }
        std::function<void()> send = std::move(waiting.front());
        waiting.pop_front();
        lastSent.start();
        QPointer<IrSequence> self(this);
        send();
        if (!self)
            return;
    }
}
