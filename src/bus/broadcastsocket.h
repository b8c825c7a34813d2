#pragma once

// The one link to the device bus and, at the same time, the application-wide
// signal hub. There is exactly one instance, gl_socket.

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTimer>

#include "bus/streamframes.h"
#include "store/records.h"

class QUdpSocket;
class QTcpSocket;

class BroadcastSocket : public QObject
{
    Q_OBJECT
public:
    static constexpr int BufferSize = 8192;
    static constexpr unsigned short BusPort = 6000;
    static constexpr unsigned short CloudPort = 6010;
    static constexpr int KeepAliveMs = 10000;
    static constexpr int MaxPayload = 244;
    // Header, length byte and the longest frame a length byte can describe.
    static constexpr int MaxFrameSpan = 16 + 256;
    // Datagrams, or frames of the stream, handed on per turn of the event loop.
    static constexpr int MaxDatagramsPerTurn = 64;
    // Datagrams read at most when the link's held frames are handed on at once.
    static constexpr int MaxHeldDatagrams = 4096;
    // What the TCP connection may hold read and not yet split into frames; a faster
    // sender is held back by TCP itself.
    static constexpr int StreamReadBuffer = 64 * 1024;
    // How long a closing TCP link waits for the other end to take what it has written.
    static constexpr int SendGraceMs = 200;

    BroadcastSocket();
    ~BroadcastSocket() override;

    bool createSocket();
    // Hands on every whole frame the link still holds, then closes it. Nothing
    // arrives on it after that; a new link is made by createSocket().
    void closeSocket();
    // Hands on, in order and to the receivers of dataIsComming, every whole frame the
    // link holds: what was read and kept, Qt's read buffer, and what the system holds
    // (bounded, for a sender still writing). The link stays as it is; answers go out
    // where it can still carry them.
    void handOnHeld();
    bool parseHostName(const QString &name);
    void initProtocal();

    void sendCommand(unsigned char length, unsigned short code, unsigned char subnet,
                     unsigned char device, unsigned char *payload, unsigned int n);
    void setSendBuff(unsigned char length, unsigned short code, unsigned char subnet,
                     unsigned char device, unsigned char *payload, unsigned int n);
    void send();
    void send(unsigned char *data, long long len);
    void send(unsigned char *data, long long len, QHostAddress address, unsigned short port);
    bool isValid(QHostAddress sender, unsigned char *buf, long long n);
    void resetSendBuff();
    bool push(unsigned char byte);
    bool setTxBuffs(unsigned char *data, unsigned int n);

    void setId(unsigned char subnet, unsigned char device);
    void getId(unsigned char &subnet, unsigned char &device);

    bool checkRecvBuff_0xAAAA(unsigned char *buf, long long n);
    bool checkRecvBuff_0xBBBB(unsigned char *buf, long long n);
    bool checkRecvBuff_0xCCCC(unsigned char *buf, long long n);

    // What the TCP link holds that was read and not yet handed on: the socket's
    // buffer and the bytes kept for frames.
    qint64 streamBytesHeld() const;

    // Test hook (clock seam): the keep-alive period, 10000 ms unless a test
    // shortens it. Takes effect at once when the timer runs, else at the next
    // successful opening. The application never calls it.
    void setKeepAliveInterval(int ms);
    int keepAliveInterval() const { return keepAliveMs; }

signals:
    void dataIsComming(quint8 *recvBuff, qlonglong recvLength);
    void signalsInformation(QString info);
    void signalsStopRefresh(bool delay);
    void signalsPageIdChanged(QString id, QString name, QString prm1 = QString(),
                              QString prm2 = QString());
    void signalsPageCurrent(QString id, QString name, QString prm1 = QString(),
                            QString prm2 = QString());
    void signalsPageBack(int room_id);
    void signalsPageEnter(QString prm1 = QString(), QString prm2 = QString());
    void signalsPageLeave(QString id);
    void signalsPageRemoveMoodsInformation();
    void signalsClosed();
    void signalsProjectStateChanged(QString projectName);
    // The current project's database is about to close for a switch to another:
    // what waits to be stored into it gets its last chance.
    void signalsProjectLeaving();
    void signalsNetworkConnectState(bool loginSuccess, QString msg);
    void signalsNetworkStateChanged(bool loginSuccess);
    void signalsNetworkOpen();
    void signalsLightStatus(int brightness);
    void signalsACStatus(int status);
    void signalsAppendMessage(universalSwitchMessage _msg);
    void signalsRemoveMessage(int value, int type);
    // A picture of the current project was removed with the rows that named it, given
    // by its file's path (projectPicturePath), or a project's folder with all it holds,
    // given by the folder's path: a write of that file, or into that folder, still
    // running or held is dropped.
    void signalsPictureRemoved(QString path);
    void signalsUpdateMessage(messageRecord _messageRecord);

private slots:
    void slotsKeepAlive();
    void readyRead();
    void disconnected();

private:
    bool openUdpSocket();
    bool isValidFor(int style, const QHostAddress &sender, unsigned char *buf, long long n);
    bool fillFrame(unsigned char length, unsigned short code, unsigned char subnet,
                   unsigned char device, const unsigned char *payload, unsigned int n);
    void writeDatagrams(const unsigned char *data, long long len, const QHostAddress &address,
                        unsigned short port);
    void readDatagrams(QUdpSocket *socket, int limit);
    void readStream(QTcpSocket *socket);
    // Hands on one whole frame of the stream, zero behind it.
    void handOnFrame(unsigned char *frame, int size);
    // Closes the sockets; what they hold is left.
    void closeLink();
    void keepReceived(QTcpSocket *socket);
    // Closes our own descriptor of the TCP connection; with keep, what the system
    // still holds for it is kept for frames first.
    void releaseStreamDescriptor(bool keep);
    // Ends the sending of the TCP link and waits, at most SendGraceMs, till the other
    // end has taken what was written.
    void letAnswersOut();
    void reportConnectState(const QString &text);

    QHostAddress destination;
    unsigned char subnetId = 0;
    unsigned char deviceId = 0;
    long long sendLength = 0;
    unsigned char sendBuff[BufferSize] = {};
    QUdpSocket *udpSocket = nullptr;
    QTcpSocket *tcpSocket = nullptr;
    QTimer keepAliveTimer;
    // What the TCP connection has brought that is no whole frame yet, and the
    // next turn of a busy stream.
    StreamFrames streamFrames;
    QTimer streamTurn;
    QString resolvedServerIp;
    QString resolvedDnsIp;
    bool tcpConnected = false;
    // Our own descriptor of the TCP connection, open from its opening until it ends.
    int streamDescriptor = -1;
    int keepAliveMs = KeepAliveMs;
    // The style the open link was made in.
    int linkStyle = 0;
};
