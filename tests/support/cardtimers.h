#pragma once

// The timers a device card keeps to itself, for a row that reads their interval or
// gives their ticks by hand.

#include "operation/deviceitem.h"

#include <QTimer>

namespace cardtimers {
struct Peek : DeviceItem
{
    using DeviceItem::delayTimer;
    using DeviceItem::sendTimer;
};
} // namespace cardtimers

// The send-retry timer: a change is resent on its ticks until confirmed.
inline QTimer *sendTimerOf(DeviceItem *card)
{
    return &(card->*&cardtimers::Peek::sendTimer);
}

// The delayed-start timer: a refresh asked with a delay begins on its tick.
inline QTimer *delayTimerOf(DeviceItem *card)
{
    return &(card->*&cardtimers::Peek::delayTimer);
}
