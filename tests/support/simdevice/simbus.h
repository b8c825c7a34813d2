#pragma once

// The device side of the bus: listens where the application sends (UDP, e.g.
// 127.0.0.2:6000 for the "DNS Server" style or 0.0.0.0:6000 inside a test
// namespace; TCP, e.g. 127.0.0.1:6010 for the "Cloud Server" style), records
// every frame for assertions, and routes valid frames to the simulated devices
// addressed, sending their answers back to the sender.

#include "simdevice.h"
#include "simframe.h"
#include "simloginserver.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class QTcpServer;
class QTcpSocket;
class QUdpSocket;

class SimBus : public QObject
{
    Q_OBJECT
public:
    explicit SimBus(QObject *parent = nullptr);
    ~SimBus() override;

    bool listenUdp(const QHostAddress &address, quint16 port = 6000);
    bool listenTcp(const QHostAddress &address, quint16 port = 6010);
    QString errorString() const { return m_error; }
    void close();

    // Bytes 0-3 of the frames the devices send; by default the listening address.
    void setHeaderAddress(const QHostAddress &address);

    SimDevice *addDevice(std::unique_ptr<SimDevice> device);
    template<typename T, typename... Args>
    T *add(Args &&...args)
    {
        auto device = std::make_unique<T>(std::forward<Args>(args)...);
        T *raw = device.get();
        addDevice(std::move(device));
        return raw;
    }
    SimDevice *device(quint8 subnet, quint8 device) const;

    // The login answers (cloud and DNS styles); made on first use.
    SimLoginServer &loginServer();

    // Everything received, in order: one entry per datagram, per bus frame of
    // the TCP stream, or per piece of the stream that is no bus frame.
    const QList<SimFrame> &frames() const { return m_frames; }
    QList<SimFrame> framesWithCode(quint16 code) const;
    QList<SimFrame> busFrames() const;
    void clear() { m_frames.clear(); }

    // Runs the event loop until at least count frames are recorded (or the time
    // is up); returns whether they were.
    bool waitForFrames(int count, int timeoutMs = 3000);
    // Runs the event loop for ms milliseconds.
    static void pump(int ms);
    // Takes the datagrams that reach this end within waitMs without running the event
    // loop: nothing of the application (a timer, a queued call) runs meanwhile, so every
    // frame taken left before the caller gave the loop a turn. With count, it stops once
    // that many frames of code (0: any) are recorded, and answers whether they are.
    bool takeArrived(int waitMs, quint16 code = 0, int count = 0);

    int clientCount() const { return int(m_clients.size()); }
    bool waitForClient(int timeoutMs = 3000);

    // Sends bytes as they are: to the last UDP sender, or on every TCP client.
    void sendRaw(const QByteArray &bytes);
    void sendRaw(const QByteArray &bytes, const QHostAddress &address, quint16 port);
    // Closes every TCP client connection.
    void disconnectClients();

signals:
    void frameReceived(const SimFrame &frame);
    void bytesSent(const QByteArray &bytes);

private:
    void readUdp();
    void acceptClients();
    void readClient(QTcpSocket *client);
    void record(SimFrame frame, QTcpSocket *client);
    void deliver(const SimOutput &output, const QHostAddress &address, quint16 port,
                 QTcpSocket *client);
    void flushPartial(QTcpSocket *client);

    QUdpSocket *m_udp = nullptr;
    QByteArray m_readBuffer;
    QTcpServer *m_server = nullptr;
    QList<QTcpSocket *> m_clients;
    QHostAddress m_listenAddress;
    QByteArray m_headerIp = QByteArray(4, '\0');
    QHostAddress m_lastSender;
    quint16 m_lastPort = 0;
    std::vector<std::unique_ptr<SimDevice>> m_devices;
    std::unique_ptr<SimLoginServer> m_login;
    QList<SimFrame> m_frames;
    QString m_error;
};
