#pragma once

// The receiving end of a direct project transfer: a minimal HTTP listener that
// takes one posted archive at a time and hands its body on, chunk by chunk, as
// it arrives. Once the whole body has been handed on, the owner takes it in and
// the sender is answered "POST data received!" when that worked, a 500 answer
// when it did not; a request it cannot take is closed without an answer.
//
// Every connection reads its request head on its own; only a POST head with a
// usable length takes the transfer slot. A head must be complete within the
// idle limit of its connection's opening, and a body that sends less than
// MinPaceBytes (or its rest) in any idle limit loses the slot. Refused heads and
// connections that never started a body are closed without a word to the owner:
// only a transfer whose body has begun and then fails reports "Invalid data.".

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTcpServer>

class QTcpSocket;
class QTimer;

class HttpServer : public QTcpServer
{
    Q_OBJECT
public:
    // Largest body taken: a project archive bigger than this is refused.
    static constexpr qint64 MaxBodyBytes = qint64(4) * 1024 * 1024 * 1024;
    // Largest request head read before its blank line.
    static constexpr int MaxHeadBytes = 16 * 1024;
    // Connections reading their head at the same time. When one more comes, what
    // has arrived is read first; then the oldest still waiting goes.
    static constexpr int MaxWaitingHeads = 8;
    // Time a head may take from the opening, and the span a body's pace is measured over.
    static constexpr int IdleMs = 10000;
    // Body bytes due in every IdleMs (or the rest of the body, when less is left).
    static constexpr qint64 MinPaceBytes = 64 * 1024;

    explicit HttpServer(QObject *parent = nullptr);

    // The answer written once the whole body was handed on and taken in.
    static QByteArray answer();
    // The answer written when the body could not be taken in: status 500, the
    // error as its text.
    static QByteArray failureAnswer(const QString &error);

    // Answers the transfer whose body is complete: answer() when the owner took it
    // in, failureAnswer(error) when not, and waits for it to be written. The owner
    // calls it from its handler of signalsReplyFinished, before it lets the server
    // go; nothing happens without a complete body or once answered. From the complete
    // body until this answer no other transfer is taken, even once its sender has gone.
    void answerImport(bool imported, const QString &error = QString());
    // Called from that handler by an owner that takes the body in later (on a
    // worker): the transfer is not answered as received when the handler returns,
    // but only by the owner's answerImport().
    void deferAnswer() { m_deferred = true; }

    // Reads "Content-Length" of a request head (any letter case). Answers -1 when
    // the line is missing, is not a plain decimal number, is 0 or negative, or
    // exceeds MaxBodyBytes.
    static qint64 contentLength(const QByteArray &head);

    // Aborts every accepted connection without answering it. The owner calls it
    // when it gives the transfer up.
    void abortConnections();

    // Test hooks: the idle limit and pace span (IdleMs unless a test shortens it; connections
    // accepted later use it), and the bytes read from every connection so far.
    // The application never calls them.
    void setIdleIntervalForTest(int ms) { m_idleMs = ms; }
    qint64 bytesReadForTest() const { return m_bytesRead; }

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
    struct Waiting
    {
        QPointer<QTcpSocket> socket;
        QByteArray head; // request head read so far
    };

    void readFrom(QTcpSocket *socket);
    void readHead(QTcpSocket *socket, const QByteArray &chunk);
    void expire(QTcpSocket *socket);
    void readArrivedHeads();
    void drop(QTcpSocket *socket);
    void takeBody(QTcpSocket *socket, QByteArray bytes);
    int waitingIndex(const QTcpSocket *socket) const;
    static QTimer *idleTimer(QTcpSocket *socket);

    QList<Waiting> m_waiting;      // connections still sending their head, oldest first
    QPointer<QTcpSocket> m_active; // the connection of the transfer under way
    bool m_finished = false;
    bool m_answered = false; // the complete body was answered
    bool m_deferred = false; // the owner answers later
    qint64 m_expected = 0;   // body bytes announced by Content-Length
    qint64 m_received = 0;   // body bytes handed on so far
    qint64 m_paceMark = 0;   // m_received when the current pace span began
    qint64 m_bytesRead = 0;
    int m_idleMs = IdleMs;
};
