#pragma once

// Copies every block that a transport hands on through dataIsComming (the
// buffer is only valid during the emission) and checks that the buffer is
// zero beyond the delivered bytes, up to the longest frame a length byte can
// describe.

#include "bus/broadcastsocket.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTest>

class FrameCollector : public QObject
{
public:
    explicit FrameCollector(BroadcastSocket &socket)
    {
        connect(&socket, &BroadcastSocket::dataIsComming, this,
                [this](quint8 *buffer, qlonglong length) {
                    blocks.append(QByteArray(reinterpret_cast<const char *>(buffer), int(length)));
                    for (int i = int(length); i < BroadcastSocket::MaxFrameSpan; ++i) {
                        if (buffer[i] != 0) {
                            dirtyTail = true;
                            break;
                        }
                    }
                });
    }

    bool waitFor(int count, int timeoutMs = 3000)
    {
        QElapsedTimer timer;
        timer.start();
        while (blocks.size() < count && timer.elapsed() < timeoutMs)
            QTest::qWait(5);
        return blocks.size() >= count;
    }

    // Waits until a block ends with the given bytes (a marker sent last).
    bool waitForEnding(const QByteArray &tail, int timeoutMs = 3000)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            if (!blocks.isEmpty() && blocks.last().endsWith(tail))
                return true;
            QTest::qWait(5);
        }
        return false;
    }

    QByteArray joined() const
    {
        QByteArray all;
        for (const QByteArray &block : blocks)
            all.append(block);
        return all;
    }

    QList<QByteArray> blocks;
    bool dirtyTail = false;
};
