#pragma once

// The receiving end of a direct project transfer: a minimal HTTP listener that
// takes one posted archive at a time and hands its body on, chunk by chunk, as
// it arrives. It answers "POST data received!" once the whole body has been
// handed on; a request it cannot take is closed without that answer.

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

class HttpServer : public QTcpServer
{
    Q_OBJECT
public:
    // Largest body taken: a project archive bigger than this is refused.
    static constexpr qint64 MaxBodyBytes = qint64(4) * 1024 * 1024 * 1024;
    // Largest request head read before its blank line.
    static constexpr int MaxHeadBytes = 16 * 1024;

    explicit HttpServer(QObject *parent = nullptr);

    // The answer written once the whole body was handed on.
    static QByteArray answer();

    // Reads "Content-Length" of a request head (any letter case). Answers -1 when
    // the line is missing, is not a plain decimal number, is 0 or negative, or
    // exceeds MaxBodyBytes.
    static qint64 contentLength(const QByteArray &head);

    // Aborts every accepted connection without answering it. The owner calls it
    // when it gives the transfer up.
    void abortConnections();

signals:
    void signalsDownloadData(QByteArray downloadData);
    void signalsReplyPercent(int percent);
    void signalsReplyFinished();
    void signalsReplyErrorString(QString errorString);

public slots:
    void socketNewConnection();
    void socketReadyRead();
    void socketDisconnected();

private:
    void drop(QTcpSocket *socket);
    void fail(QTcpSocket *socket, const QString &text);
    void takeBody(QTcpSocket *socket, QByteArray bytes);

    QPointer<QTcpSocket> m_active; // the connection of the transfer under way
    QByteArray m_head;             // request head read so far
    bool m_headDone = false;
    bool m_finished = false;
    qint64 m_expected = 0; // body bytes announced by Content-Length
    qint64 m_received = 0; // body bytes handed on so far
};
