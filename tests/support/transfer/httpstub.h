#pragma once

// An HTTP listener for transfer tests: it records every request (method, path,
// headers, body) and answers as the test scripts it. It stands for the cloud
// transfer server (127.0.0.1:6001) and for a receiving installation.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>

class QTcpServer;
class QTcpSocket;
class QThread;

class HttpStub : public QObject
{
    Q_OBJECT
public:
    struct Request
    {
        QByteArray method;
        QByteArray path;
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;
        // The value of a header (any letter case); empty when missing.
        QByteArray header(const QByteArray &name) const;
    };

    explicit HttpStub(QObject *parent = nullptr);
    ~HttpStub() override;

    // Starts afresh: earlier requests are forgotten.
    bool listen(const QHostAddress &address, quint16 port);
    void close();
    quint16 port() const;

    // A complete answer: status line, Content-Type, Content-Length, the body.
    void answerWith(int status, const QByteArray &body, const QByteArray &contentType = "application/json");
    // Bytes written as they are after the request, then the connection closes
    // (the receiving installation's 64-byte answer).
    void answerRaw(const QByteArray &bytes);
    // A 200 answer whose body is read from a file piece by piece as the
    // connection drains, so that a large body is never held in memory. With fromThread
    // a thread sends it as fast as the connection takes it, not at the event loop's pace.
    void answerWithFile(const QString &path, bool fromThread = false);

    const QList<Request> &requests() const { return m_requests; }
    bool waitForRequests(int count, int timeoutMs = 10000);

private:
    void accept();
    void read(QTcpSocket *socket);

    QTcpServer *m_server = nullptr;
    QByteArray m_answer;
    QString m_bodyPath; // answerWithFile()
    bool m_fromThread = false;
    QThread *m_writer = nullptr;
    QList<Request> m_requests;
};
