#pragma once

// The frames an infrared air conditioner's card sends to its IR module, kept at
// least 50 ms apart: a frame goes out at once when the previous one left 50 ms
// ago or more and nothing waits, otherwise it waits its turn on a timer. No
// frame is ever resent or confirmed. The event loop keeps running meanwhile, and
// a sequence deleted with its card simply ends: the frames still waiting are
// dropped.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

class IrSequence : public QObject
{
    Q_OBJECT
public:
    static constexpr int Gap = 50; // ms between two frames, at least

    explicit IrSequence(QObject *parent = nullptr);
    ~IrSequence() override;

    // Sends the frame that send builds, in order after the frames waiting.
    void append(std::function<void()> send);

    // Frames not sent yet.
    int pending() const { return int(waiting.size()); }

private:
    void sendDue();
    // Milliseconds until the next frame may leave; 0 when it may leave now.
    int timeToNext() const;

    std::deque<std::function<void()>> waiting;
    QTimer timer;
    QElapsedTimer lastSent;
};
