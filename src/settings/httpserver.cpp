#include "httpserver.h"

#include <QTcpSocket>

namespace {

constexpr char Answer[] = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nPOST data received!";
static_assert(sizeof(Answer) - 1 == 64, "the answer has 64 bytes");

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
        if (m_active) {
            // One transfer at a time: the running one is left alone.
            drop(socket);
        } else {
            m_active = socket;
            m_head.clear();
            m_headDone = false;
            m_finished = false;
            m_expected = 0;
            m_received = 0;
            connect(socket, &QTcpSocket::readyRead, this, &HttpServer::socketReadyRead);
            connect(socket, &QTcpSocket::disconnected, this, &HttpServer::socketDisconnected);
            if (socket->bytesAvailable() > 0)
                QMetaObject::invokeMethod(this, "socketReadyRead", Qt::QueuedConnection);
        }
        socket = nextPendingConnection();
    }
}

void HttpServer::drop(QTcpSocket *socket)
{
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    if (socket == m_active)
        m_active.clear();
}

void HttpServer::fail(QTcpSocket *socket, const QString &text)
{
    drop(socket);
    emit signalsReplyErrorString(text);
}

void HttpServer::socketReadyRead()
{
    auto *socket = qobject_cast<QTcpSocket *>(sender());
    if (!socket)
        socket = m_active.data();
    if (!socket || socket != m_active)
        return;
    const QByteArray chunk = socket->readAll();
    if (chunk.isEmpty())
        return;
    if (m_headDone) {
        takeBody(socket, chunk);
        return;
    }

    m_head.append(chunk);
    const int end = m_head.indexOf(BlankLine);
    if (end < 0) {
        if (m_head.size() > MaxHeadBytes || (m_head.size() >= 4 && !m_head.startsWith("POST")))
            drop(socket); // not a request we take; keep waiting for one
        return;
    }
    const QByteArray head = m_head.left(end);
    const QByteArray rest = m_head.mid(end + 4);
    m_head.clear();
    if (!head.startsWith("POST ")) {
        drop(socket);
        return;
    }
    m_expected = contentLength(head);
    if (m_expected < 0) {
        m_expected = 0;
        fail(socket, tr("Invalid data."));
        return;
    }
    m_headDone = true;
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
    socket->write(answer());
    socket->flush();
    while (guard && socket->bytesToWrite() > 0 && socket->waitForBytesWritten(30000)) {
    }
    // The body is complete and kept whether or not the sender stays to read the
    // answer.
    emit signalsReplyFinished();
}

void HttpServer::socketDisconnected()
{
    auto *socket = qobject_cast<QTcpSocket *>(sender());
    if (!socket)
        return;
    const bool lost = socket == m_active && !m_finished;
    socket->disconnect(this);
    socket->deleteLater();
    if (socket == m_active)
        m_active.clear();
    // A sender that goes away in the middle of its body has lost the transfer.
    if (lost && m_headDone)
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
    m_active.clear();
}
