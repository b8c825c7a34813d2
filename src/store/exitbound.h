#pragma once

// How long the exit's storing goes on. A bound of time would leave behind on a slow
// machine what a fast one stores: storing that succeeds goes on however slowly it
// goes, and ends early only once its tries have failed for FailingMs with nothing
// stored (a full disk, a database another process holds), and always at CapMs,
// against what never ends. One bound serves all that the exit stores, in turn.

#include <QDeadlineTimer>
#include <QThread>

#include <functional>
#include <utility>

class ExitBound
{
public:
    static constexpr qint64 FailingMs = 1000;
    static constexpr qint64 CapMs = 10000;
    // The pause after a failing try: what failed may pass in a moment.
    static constexpr unsigned long PauseMs = 10;

    using Clock = std::function<qint64()>;

    // The monotonic clock, in milliseconds.
    static Clock monotonic()
    {
        return [] { return QDeadlineTimer::current().deadline(); };
    }

    // The bound starts now, on clock (milliseconds; tests give their own).
    explicit ExitBound(Clock clock = monotonic())
        : m_clock(std::move(clock))
        , m_start(m_clock())
        , m_stored(m_start)
    {
    }

    // Whether another try is within the bound.
    bool goesOn() const
    {
        const qint64 now = m_clock();
        return now - m_start < CapMs && now - m_stored < FailingMs;
    }
    // A try stored something.
    void stored() { m_stored = m_clock(); }
    // A try stored nothing: a moment passes before the next.
    static void pause() { QThread::msleep(PauseMs); }

    // Runs attempt again while left() answers more than nothing and the bound lasts: an
    // attempt after which less is left has stored something; after one that has not, a
    // moment passes. Answers what is left.
    template <typename Left, typename Attempt>
    int storeWhile(Left left, Attempt attempt)
    {
        int before = left();
        while (before > 0 && goesOn()) {
            attempt();
            const int now = left();
            if (now < before)
                stored();
            else
                pause();
            before = now;
        }
        return before;
    }

private:
    Clock m_clock;
    qint64 m_start;
    qint64 m_stored;
};
