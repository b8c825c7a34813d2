#include "httpstub.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/sendfile.h>
#include <unistd.h>
#include <utility>

namespace {
const char *const BufferProperty = "httpStubBuffer";
}

QByteArray HttpStub::Request::header(const QByteArray &name) const
{
    for (const auto &pair : headers) {
        if (pair.first.toLower() == name.toLower())
            return pair.second;
    }
    return QByteArray();
}

HttpStub::HttpStub(QObject *parent)
    : QObject(parent)
{
    answerWith(200, "{}");
}

HttpStub::~HttpStub()
{
    close();
}

bool HttpStub::listen(const QHostAddress &address, quint16 port)
{
    close();
    m_requests.clear();
    m_server = new QTcpServer(this);
    connect(m_server, &QTcpServer::newConnection, this, &HttpStub::accept);
    return m_server->listen(address, port);
}

quint16 HttpStub::port() const
{
    return m_server ? m_server->serverPort() : 0;
}

void HttpStub::close()
{
    if (m_writer) {
        m_writer->requestInterruption();
        m_writer->wait();
    }
    delete std::exchange(m_writer, nullptr);
    if (!m_server)
        return;
    m_server->close();
    delete m_server;
    m_server = nullptr;
}

void HttpStub::answerWith(int status, const QByteArray &body, const QByteArray &contentType)
{
    const QByteArray reason = status == 200 ? "OK" : (status == 404 ? "Not Found" : "Internal Server Error");
    m_answer = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\nContent-Type: " + contentType +
               "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" +
               body;
    m_bodyPath.clear();
}

void HttpStub::answerRaw(const QByteArray &bytes)
{
    m_answer = bytes;
    m_bodyPath.clear();
}

void HttpStub::answerWithFile(const QString &path, bool fromThread)
{
    m_fromThread = fromThread;
    answerRaw("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(QFileInfo(path).size()) +
              "\r\n\r\n");
    m_bodyPath = path;
}

bool HttpStub::waitForRequests(int count, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (m_requests.size() < count && timer.elapsed() < timeoutMs)
        QTest::qWait(10);
    return m_requests.size() >= count;
}

void HttpStub::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void HttpStub::read(QTcpSocket *socket)
{
    QByteArray buffer = socket->property(BufferProperty).toByteArray() + socket->readAll();
    socket->setProperty(BufferProperty, buffer);
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    Request request;
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.method = first.value(0);
    request.path = first.value(1);
    for (int i = 1; i < lines.size(); ++i) {
        const int colon = lines.at(i).indexOf(':');
        if (colon > 0)
            request.headers.append(
                {lines.at(i).left(colon).trimmed(), lines.at(i).mid(colon + 1).trimmed()});
    }
    const int length = request.header("Content-Length").toInt();
    if (buffer.size() - end - 4 < length)
        return;
    request.body = buffer.mid(end + 4, length);
    socket->setProperty(BufferProperty, QByteArray());
    m_requests.append(request);
    socket->write(m_answer);
    if (!m_bodyPath.isEmpty() && m_fromThread) {
        socket->flush(); // the head, ahead of the body
        // The body goes through a descriptor of its own: the socket here reads on, so
        // nothing the client sends is left unread to reset the connection.
        const int fd = fcntl(int(socket->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
        const int file = ::open(QFile::encodeName(m_bodyPath).constData(), O_RDONLY | O_CLOEXEC);
        std::signal(SIGPIPE, SIG_IGN); // a client gone is an error, not the end of the test
        m_writer = QThread::create([fd, file] {
            for (pollfd out{fd, POLLOUT, 0}; !QThread::currentThread()->isInterruptionRequested();
                 poll(&out, 1, 100)) {
                const ssize_t sent = sendfile(fd, file, nullptr, 1 << 20);
                if (sent == 0 || (sent < 0 && errno != EAGAIN))
                    break; // all sent, or the client is gone
            }
            ::close(fd);
            ::close(file);
        });
        m_writer->start();
        return;
    }
    if (!m_bodyPath.isEmpty()) {
        auto *file = new QFile(m_bodyPath, socket);
        file->open(QIODevice::ReadOnly);
        connect(socket, &QTcpSocket::bytesWritten, file, [socket, file] {
            if (socket->bytesToWrite() < 64 * 1024)
                socket->write(file->read(64 * 1024));
            if (file->atEnd())
                socket->disconnectFromHost(); // once what is written has gone
        });
        return;
    }
    socket->flush();
    socket->disconnectFromHost();
}
