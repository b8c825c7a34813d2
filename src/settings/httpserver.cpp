#include "httpserver.h"

#include <QTcpSocket>
#include <QTimer>

namespace {

constexpr char Answer[] = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nPOST data received!";
static_assert(sizeof(Answer) - 1 == 64, "the answer has 64 bytes");

constexpr char FailureHead[] = "HTTP/1.1 500 Internal Server Error\r\n"
                               "Content-Type: text/plain; charset=utf-8\r\n"
                               "Connection: close\r\nContent-Length: ";

constexpr char BlankLine[] = "\r\n\r\n";

} // namespace

HttpServer::HttpServer(QObject *parent)
    : QTcpServer(parent)
{
    connect(this, &QTcpServer::newConnection, this, &HttpServer::socketNewConnection);
}

QByteArray HttpServer::answer()
{
    return QByteArray(Answer, int(sizeof(Answer) - 1));
}

QByteArray HttpServer::failureAnswer(const QString &error)
{
    const QByteArray body = error.toUtf8();
    return FailureHead + QByteArray::number(body.size()) + BlankLine + body;
}

qint64 HttpServer::contentLength(const QByteArray &head)
{
    const QList<QByteArray> lines = head.split('\n');
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const int colon = line.indexOf(':');
        if (colon < 0 || line.left(colon).trimmed().toLower() != "content-length")
            continue;
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (value.isEmpty() || value.size() > 18)
            return -1;
        for (const char c : value) {
            if (c < '0' || c > '9')
                return -1;
        }
        const qint64 length = value.toLongLong();
        return length > 0 && length <= MaxBodyBytes ? length : -1;
    }
    return -1;
}

void HttpServer::socketNewConnection()
{
    QTcpSocket *socket = nextPendingConnection();
    if (!socket) {
        emit signalsReplyErrorString(tr("no clientSocket connect"));
        return;
    }
    while (socket) {
        // A crowd of silent connections cannot keep a sender out, nor push out
        // one whose request has already arrived: what has arrived is read
        // first, then the oldest head still incomplete makes room.
        if (m_waiting.size() >= MaxWaitingHeads)
            readArrivedHeads();
        if (m_waiting.size() >= MaxWaitingHeads) {
            const QPointer<QTcpSocket> oldest = m_waiting.takeFirst().socket;
            drop(oldest);
        }
        m_waiting.append(Waiting{socket, QByteArray()});
        auto *timer = new QTimer(socket);
        timer->setObjectName(QStringLiteral("idleTimer"));
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, socket] { expire(socket); });
        // Started once: a head trickled in byte by byte still ends at the limit.
        timer->start(m_idleMs);
        connect(socket, &QTcpSocket::readyRead, this, &HttpServer::socketReadyRead);
        connect(socket, &QTcpSocket::disconnected, this, &HttpServer::socketDisconnected);
        if (socket->bytesAvailable() > 0)
            QTimer::singleShot(0, socket, [this, socket] { readFrom(socket); });
        socket = nextPendingConnection();
    }
}

QTimer *HttpServer::idleTimer(QTcpSocket *socket)
{
    return socket->findChild<QTimer *>(QStringLiteral("idleTimer"), Qt::FindDirectChildrenOnly);
}

int HttpServer::waitingIndex(const QTcpSocket *socket) const
{
    for (int i = 0; i < m_waiting.size(); ++i) {
        if (m_waiting.at(i).socket == socket)
            return i;
    }
    return -1;
}

void HttpServer::drop(QTcpSocket *socket)
{
    if (!socket)
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    const int index = waitingIndex(socket);
    if (index >= 0)
        m_waiting.removeAt(index);
    if (socket == m_active) {
        m_active.clear();
        m_expected = 0;
        m_received = 0;
    }
}

void HttpServer::readArrivedHeads()
{
    // Bytes already received for a connection are fetched without waiting and
    // handled as their readyRead would be; a connection with none is left as is.
    const QList<Waiting> waiting = m_waiting;
    for (const Waiting &entry : waiting) {
        const QPointer<QTcpSocket> socket = entry.socket;
        if (socket && waitingIndex(socket) >= 0 && socket->state() == QAbstractSocket::ConnectedState)
            socket->waitForReadyRead(0);
    }
}

void HttpServer::expire(QTcpSocket *socket)
{
    if (socket == m_active) {
        if (m_finished)
            return;
        // A body keeps the slot while it keeps the pace: MinPaceBytes in every
        // span, or all that was left of it.
        if (m_received - m_paceMark >= qMin(MinPaceBytes, m_expected - m_paceMark)) {
            m_paceMark = m_received;
            if (QTimer *timer = idleTimer(socket))
                timer->start(m_idleMs);
            return;
        }
        const bool started = m_received > 0;
        drop(socket);
        if (started)
            emit signalsReplyErrorString(tr("Invalid data."));
        return;
    }
    if (waitingIndex(socket) >= 0)
        drop(socket);
}

void HttpServer::socketReadyRead()
{
    if (auto *socket = qobject_cast<QTcpSocket *>(sender()))
        readFrom(socket);
}

void HttpServer::readFrom(QTcpSocket *socket)
{
    const bool active = socket == m_active;
    if (!active && waitingIndex(socket) < 0)
        return;
    const QByteArray chunk = socket->readAll();
    m_bytesRead += chunk.size();
    if (chunk.isEmpty())
        return;
    if (!active) {
        readHead(socket, chunk);
        return;
    }
    takeBody(socket, chunk);
}

void HttpServer::readHead(QTcpSocket *socket, const QByteArray &chunk)
{
    const int index = waitingIndex(socket);
    QByteArray &buffer = m_waiting[index].head;
    buffer.append(chunk);
    const int end = buffer.indexOf(BlankLine);
    if (end < 0) {
        if (buffer.size() > MaxHeadBytes || (buffer.size() >= 4 && !buffer.startsWith("POST")))
            drop(socket); // not a request we take; keep waiting for one
        return;
    }
    const QByteArray head = buffer.left(end);
    const QByteArray rest = buffer.mid(end + 4);
    m_waiting.removeAt(index);
    // A head is refused over MaxHeadBytes, whether it came in pieces or in one read.
    const qint64 expected = end <= MaxHeadBytes && head.startsWith("POST ") ? contentLength(head) : -1;
    // A refused head, or a second sender while a transfer runs or its complete body
    // waits for its answer (its sender may have gone), is closed without a word: the
    // wait goes on for the real sender, and no one hears another's outcome.
    if (expected < 0 || m_active || (m_finished && !m_answered)) {
        drop(socket);
        return;
    }
    m_active = socket;
    m_finished = false;
    m_answered = false;
    m_deferred = false;
    m_expected = expected;
    m_received = 0;
    m_paceMark = 0;
    if (QTimer *timer = idleTimer(socket))
        timer->start(m_idleMs);
    if (head.toLower().contains("\nexpect: 100-continue"))
        socket->write("HTTP/1.1 100 Continue\r\n\r\n");
    if (!rest.isEmpty())
        takeBody(socket, rest);
}

void HttpServer::takeBody(QTcpSocket *socket, QByteArray bytes)
{
    if (m_finished)
        return; // bytes beyond the body are not part of the transfer
    const qint64 wanted = m_expected - m_received;
    if (bytes.size() > wanted)
        bytes.truncate(int(wanted));
    m_received += bytes.size();
    QPointer<QTcpSocket> guard(socket);
    emit signalsDownloadData(bytes);
    // The owner may have given the transfer up while it wrote the bytes.
    if (!guard || socket != m_active)
        return;
    emit signalsReplyPercent(
        static_cast<int>(static_cast<float>(m_received * 100) / static_cast<float>(m_expected)));
    if (!guard || socket != m_active || m_received < m_expected)
        return;

    m_finished = true;
    if (QTimer *timer = idleTimer(socket))
        timer->stop();
    // The body is complete and kept whether or not the sender stays to read the
    // answer. The owner takes it in and says how that went through answerImport();
    // an owner that says nothing and keeps the connection has it answered as received.
    emit signalsReplyFinished();
    if (guard && socket == m_active && !m_answered && !m_deferred)
        answerImport(true);
}

void HttpServer::answerImport(bool imported, const QString &error)
{
    if (!m_finished || m_answered)
        return;
    // The next transfer may begin, whether or not this sender stayed to hear it.
    m_answered = true;
    const QPointer<QTcpSocket> socket = m_active;
    if (!socket)
        return;
    socket->write(imported ? answer() : failureAnswer(error));
    socket->flush();
    while (socket && socket->bytesToWrite() > 0 && socket->waitForBytesWritten(30000)) {
    }
}

void HttpServer::socketDisconnected()
{
    auto *socket = qobject_cast<QTcpSocket *>(sender());
    if (!socket)
        return;
    // A sender that goes away in the middle of its body has lost the transfer;
    // one that never started a body is forgotten without a word.
    const bool lost = socket == m_active && !m_finished && m_received > 0;
    drop(socket);
    if (lost)
        emit signalsReplyErrorString(tr("Invalid data."));
}

void HttpServer::abortConnections()
{
    const QList<QTcpSocket *> sockets = findChildren<QTcpSocket *>();
    for (QTcpSocket *socket : sockets) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    m_waiting.clear();
    m_active.clear();
}
