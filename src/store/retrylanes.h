#pragma once

// Items that could not be stored (or read) yet and are tried again later. Each key
// (a panel and switch, a device, a row) has a lane of its own, first in, first out,
// so that an item waits only behind those of its key. A lane whose head fails
// waits ever longer before its next try: FirstDelay, then doubling up to MaxDelay,
// in the caller's unit of time. Only the lanes that are due are visited, in the
// order they became due, and a drain goes on with the lane where it stopped, so
// lanes that wait cost nothing.
//
// Only the items of lanes whose head has failed count as waiting. Past the limit,
// the oldest item of the lane failing longest is given up; a lane that has not
// failed never loses an item.

#include <QHash>
#include <QtGlobal>

#include <algorithm>
#include <deque>
#include <map>
#include <utility>

template <typename Key, typename Item>
class RetryLanes
{
public:
    static constexpr qint64 FirstDelay = 1;
    static constexpr qint64 MaxDelay = 30;

    explicit RetryLanes(int maxWaiting)
        : m_maxWaiting(maxWaiting)
    {
    }

    // The limit of the waiting items from now on; those kept already stay until the
    // next failure.
    void setMaxWaiting(int maxWaiting) { m_maxWaiting = maxWaiting; }

    bool isEmpty() const { return m_lanes.isEmpty(); }
    // Every item kept, and those of lanes whose head has failed.
    int size() const { return m_size; }
    int waiting() const { return m_waiting; }
    bool holds(const Key &key) const { return m_lanes.contains(key); }
    bool isDue(const Key &key) const
    {
        const auto lane = m_lanes.constFind(key);
        return lane != m_lanes.constEnd() && lane->due;
    }
    // The time of the earliest next try of a waiting lane; -1 when none waits.
    qint64 nextTry() const { return m_schedule.empty() ? -1 : m_schedule.begin()->first; }

    // Puts item behind those kept under key. A new lane is due at once. Answers
    // how many items were given up to stay within the limit.
    int append(const Key &key, Item item)
    {
        const LaneIterator lane = laneOf(key, false);
        lane->items.push_back(std::move(item));
        ++m_size;
        if (lane->failures == 0)
            return 0;
        ++m_waiting;
        return trim();
    }

    // The first lane due; false when none is.
    bool nextDue(Key &key)
    {
        while (!m_due.empty()) {
            const auto lane = m_lanes.constFind(m_due.front());
            if (lane != m_lanes.constEnd() && lane->due) {
                key = m_due.front();
                return true;
            }
            m_due.pop_front(); // a lane gone, or waiting again
        }
        return false;
    }

    // The oldest item of key's lane, which must hold one.
    Item &head(const Key &key) { return m_lanes[key].items.front(); }

    // The head of key's lane is done with: it goes, and the lane counts as healthy.
    void done(const Key &key)
    {
        auto lane = m_lanes.find(key);
        if (lane == m_lanes.end())
            return;
        heal(*lane);
        lane->items.pop_front();
        --m_size;
        if (lane->items.empty())
            remove(lane);
    }

    // The head of key's lane failed at now: the lane waits until its next try.
    // Answers how many items were given up to stay within the limit.
    int failed(const Key &key, qint64 now)
    {
        auto lane = m_lanes.find(key);
        if (lane == m_lanes.end())
            return 0;
        if (lane->failures++ == 0) {
            m_waiting += int(lane->items.size());
            lane->failingOrder = ++m_order;
            m_failing.emplace(lane->failingOrder, key);
        }
        lane->delay = lane->failures == 1 ? FirstDelay : qMin(MaxDelay, lane->delay * 2);
        lane->due = false;
        unschedule(*lane);
        lane->next = m_schedule.emplace(now + lane->delay, key);
        lane->scheduled = true;
        return trim();
    }

    // Gives up the head of key's lane, and the items behind it, as long as
    // expired(item) holds. Answers how many went.
    template <typename Expired>
    int giveUpExpired(const Key &key, Expired expired)
    {
        auto lane = m_lanes.find(key);
        int count = 0;
        while (lane != m_lanes.end() && expired(lane->items.front())) {
            dropHead(lane);
            ++count;
            lane = m_lanes.find(key);
        }
        return count;
    }

    // Puts item back at the head of key's lane, as it was before a try whose
    // result was lost; a lane made anew is the first due.
    void putBack(const Key &key, Item item)
    {
        const LaneIterator lane = laneOf(key, true);
        lane->items.push_front(std::move(item));
        ++m_size;
        if (lane->failures > 0)
            ++m_waiting;
    }

    // Makes due every waiting lane whose next try has come, or, with everything,
    // every lane.
    void promote(qint64 now, bool everything = false)
    {
        while (!m_schedule.empty() && (everything || m_schedule.begin()->first <= now)) {
            const Key key = m_schedule.begin()->second;
            auto lane = m_lanes.find(key);
            m_schedule.erase(m_schedule.begin());
            if (lane == m_lanes.end())
                continue;
            lane->scheduled = false;
            if (!lane->due) {
                lane->due = true;
                m_due.push_back(key);
            }
        }
    }

    // Drops every item for which drop(item) holds, wherever it waits; answers how
    // many went.
    template <typename Drop>
    int removeIf(Drop drop)
    {
        int count = 0;
        for (auto lane = m_lanes.begin(); lane != m_lanes.end();) {
            std::deque<Item> &items = lane->items;
            const auto kept = std::remove_if(items.begin(), items.end(), drop);
            const int gone = int(items.end() - kept);
            items.erase(kept, items.end());
            count += gone;
            m_size -= gone;
            if (lane->failures > 0)
                m_waiting -= gone;
            if (!items.empty()) {
                ++lane;
                continue;
            }
            unschedule(*lane);
            heal(*lane);
            lane = m_lanes.erase(lane);
        }
        return count;
    }

    // Drops every lane; answers how many items went.
    int clear()
    {
        const int count = m_size;
        m_lanes.clear();
        m_due.clear();
        m_schedule.clear();
        m_failing.clear();
        m_size = 0;
        m_waiting = 0;
        return count;
    }

private:
    struct Lane
    {
        std::deque<Item> items;
        int failures = 0;      // of the head, in a row
        qint64 delay = 0;      // before the next try
        bool due = false;      // among the lanes to visit now
        bool scheduled = false;
        typename std::multimap<qint64, Key>::iterator next; // in the schedule, when scheduled
        quint64 failingOrder = 0; // when it began to fail, among the failing lanes
    };
    using LaneIterator = typename QHash<Key, Lane>::iterator;

    // The lane of key; one made anew is due at once, first or last in line.
    LaneIterator laneOf(const Key &key, bool first)
    {
        auto lane = m_lanes.find(key);
        if (lane != m_lanes.end())
            return lane;
        lane = m_lanes.insert(key, Lane());
        lane->due = true;
        if (first)
            m_due.push_front(key);
        else
            m_due.push_back(key);
        return lane;
    }

    void unschedule(Lane &lane)
    {
        if (lane.scheduled)
            m_schedule.erase(lane.next);
        lane.scheduled = false;
    }

    // The lane's head has been stored: it fails no more.
    void heal(Lane &lane)
    {
        if (lane.failures == 0)
            return;
        m_waiting -= int(lane.items.size());
        m_failing.erase(lane.failingOrder);
        lane.failures = 0;
        lane.delay = 0;
    }

    void remove(LaneIterator lane)
    {
        unschedule(*lane);
        heal(*lane);
        m_size -= int(lane->items.size());
        m_lanes.erase(lane);
    }

    void dropHead(LaneIterator lane)
    {
        lane->items.pop_front();
        --m_size;
        if (lane->failures > 0)
            --m_waiting;
        if (lane->items.empty())
            remove(lane);
    }

    // Gives up the oldest items of the lanes failing longest until the waiting
    // ones are within the limit.
    int trim()
    {
        int count = 0;
        while (m_waiting > m_maxWaiting && !m_failing.empty()) {
            dropHead(m_lanes.find(m_failing.begin()->second));
            ++count;
        }
        return count;
    }

    int m_maxWaiting;
    QHash<Key, Lane> m_lanes;
    std::deque<Key> m_due;
    std::multimap<qint64, Key> m_schedule;
    std::map<quint64, Key> m_failing; // by the order they began to fail
    quint64 m_order = 0;
    int m_size = 0;
    int m_waiting = 0;
};
