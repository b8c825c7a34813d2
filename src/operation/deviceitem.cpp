#include "deviceitem.h"

#include "bus/broadcastsocket.h"
#include "operation/busreply.h"
#include "store/globals.h"

#include <QPointer>

#include <algorithm>
#include <cmath>
#include <cstring>

double DeviceItem::s_intervalScale = 1.0;

DeviceItem::DeviceItem(bool in3DView, QWidget *parent)
    : QWidget(parent)
    , in3DView(in3DView)
{
    connect(&firstDisplayTimer, &QTimer::timeout, this, [this] {
        firstDisplayTimer.stop();
        updateStatus();
    });
    connect(&pollTimer, &QTimer::timeout, this, &DeviceItem::slotsGetStatus);
    connect(&sendTimer, &QTimer::timeout, this, &DeviceItem::slotsSetStatus);
    connect(&delayTimer, &QTimer::timeout, this, &DeviceItem::startRefresh);
    connect(&gl_socket, &BroadcastSocket::signalsStopRefresh, this, &DeviceItem::stopRefresh);
    connect(&gl_socket, &BroadcastSocket::dataIsComming, this, &DeviceItem::dataIsComming);
    // A frame taken after a switch would write its state into the new project's
    // rows of the same ids; nor does a retired card ask for states again.
    connect(&gl_socket, &BroadcastSocket::signalsProjectStateChanged, this, [this] {
        retired = true;
        stopRefresh();
    });
}

DeviceItem::~DeviceItem()
{
    // No tick may reach a half-destroyed card.
    firstDisplayTimer.stop();
    pollTimer.stop();
    sendTimer.stop();
    delayTimer.stop();
    disconnect(&gl_socket, nullptr, this, nullptr);
}

void DeviceItem::setIntervalScale(double factor)
{
    s_intervalScale = factor > 0.0 ? factor : 1.0;
}

double DeviceItem::intervalScale()
{
    return s_intervalScale;
}

int DeviceItem::scaledInterval(int ms)
{
    if (s_intervalScale == 1.0)
        return ms;
    return std::max(1, int(std::lround(ms * s_intervalScale)));
}

void DeviceItem::runTimer(QTimer &timer, int ms)
{
    timer.start(scaledInterval(ms));
}

void DeviceItem::getStatus(int delay)
{
    if (retired)
        return;
    disconnected(false);
    clearCycle();
    stopCycleTimers();
    if (delay < 1) {
        QPointer<DeviceItem> self(this);
        slotsGetStatus();
        if (self)
            runTimer(pollTimer, PollInterval);
    } else {
        runTimer(delayTimer, delay);
    }
}

bool DeviceItem::status() const
{
    return finished || tryCount > MaxTries - 1;
}

void DeviceItem::setStatus()
{
    sendNow();
}

void DeviceItem::disconnected(bool)
{
}

QString DeviceItem::lostConnectionText() const
{
    return QString::asprintf("%s lost connection", deviceName().toUtf8().constData());
}

bool DeviceItem::takesFrames() const
{
    return isVisible() || in3DView;
}

bool DeviceItem::concerns(quint8, quint8) const
{
    return true;
}

void DeviceItem::clearCycle()
{
    queryMask = 0;
    confirmedMask = 0;
    finished = false;
    tryCount = 0;
}

void DeviceItem::stopCycleTimers()
{
    pollTimer.stop();
    sendTimer.stop();
    delayTimer.stop();
}

void DeviceItem::sendNow()
{
    disconnected(false);
    clearCycle();
    stopCycleTimers();
    QPointer<DeviceItem> self(this);
    slotsSetStatus();
    if (self)
        runTimer(sendTimer, PollInterval);
}

void DeviceItem::sendAfterPause()
{
    clearCycle();
    stopCycleTimers();
    runTimer(sendTimer, PollInterval);
}

void DeviceItem::startFirstDisplay()
{
    runTimer(firstDisplayTimer, FirstDisplayDelay);
}

void DeviceItem::startRefresh()
{
    if (retired)
        return;
    if (delayTimer.isActive())
        delayTimer.stop();
    QPointer<DeviceItem> self(this);
    slotsGetStatus();
    if (self)
        runTimer(pollTimer, PollInterval);
}

void DeviceItem::stopRefresh()
{
    clearCycle();
    stopCycleTimers();
}

bool DeviceItem::giveUp(QTimer &timer)
{
    disconnected(true);
    timer.stop();
    // A receiver of the message may rebuild the page and delete this card.
    QPointer<DeviceItem> self(this);
    emit gl_socket.signalsInformation(lostConnectionText());
    return !self.isNull();
}

void DeviceItem::slotsGetStatus()
{
    if (finished) {
        pollTimer.stop();
        return;
    }
    if (tryCount > MaxTries - 1) {
        giveUp(pollTimer);
        return;
    }
    queryStep();
    ++tryCount;
}

void DeviceItem::slotsSetStatus()
{
    if (finished) {
        sendTimer.stop();
        return;
    }
    if (tryCount > MaxTries - 1) {
        giveUp(sendTimer);
        return;
    }
    commandStep();
    ++tryCount;
}

void DeviceItem::dataIsComming(quint8 *recvBuff, qlonglong recvLength)
{
    if (retired || !recvBuff || recvLength < 1 || !takesFrames())
        return;
    // Bytes 17 and 18: the source subnet and device.
    if (recvLength > 18 && !concerns(recvBuff[17], recvBuff[18]))
        return;
    // Our own copy: the hub's buffer belongs to the transport.
    quint8 frame[BroadcastSocket::BufferSize];
    const int n = int(std::min<qlonglong>(recvLength, BroadcastSocket::BufferSize));
    std::memcpy(frame, recvBuff, size_t(n));
    if (!gl_socket.checkRecvBuff_0xAAAA(frame, n))
        return;
    decodeReply(BusReply(frame, n));
}
