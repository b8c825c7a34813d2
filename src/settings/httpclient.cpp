#include "httpclient.h"

#include "settings/httpserver.h"

#include <QDebug>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QUrl>

HttpClient::HttpClient(QObject *parent)
    : QObject(parent)
    , m_maxBody(HttpServer::MaxBodyBytes)
{}

HttpClient::~HttpClient()
{
    abort();
}

int HttpClient::percentOf(qint64 done, qint64 total)
{
    if (done < 1 || total < 1)
        return 100;
    return static_cast<int>(static_cast<float>(done * 100) / static_cast<float>(total));
}

QByteArray HttpClient::downloadBody(const QString &code)
{
    QJsonObject object;
    object.insert(QStringLiteral("token"), code);
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

void HttpClient::upload(const QString &url, const QString &fileName, int deviceType)
{
    if (url.isEmpty() || fileName.isEmpty())
        return;
    // Goes with the reply, which reads it until its end.
    auto *file = new QFile(fileName);
    if (!file->open(QIODevice::ReadOnly) || file->size() == 0) {
        delete file;
        qDebug() << "file open failed";
        emit signalsReplyErrorString(tr("file open failed"));
        return;
    }
    // The archive is handed to the network as it is sent, piece by piece: read
    // whole, hundreds of megabytes of photos would hold the window and the memory.

    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/zip"));
    request.setRawHeader("deviceType", QByteArray::number(deviceType));

    auto *manager = new QNetworkAccessManager;
    connect(manager, &QNetworkAccessManager::finished, this, &HttpClient::replyFinished);
    QNetworkReply *reply = manager->post(request, file);
    file->setParent(reply);
    connect(reply, &QNetworkReply::errorOccurred, this, &HttpClient::upLoadError);
    connect(reply, &QNetworkReply::uploadProgress, this, &HttpClient::loadProgress);
    waitFor(manager, reply);
}

void HttpClient::download(const QString &url, const QString &code)
{
    if (url.isEmpty())
        return;
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    // Qt inflates a compressed answer on the network thread past any read limit,
    // so the body is asked for as it is stored. One compressed all the same is
    // handed on as it comes, and is then no archive.
    request.setRawHeader("Accept-Encoding", "identity");

    auto *manager = new QNetworkAccessManager;
    connect(manager, &QNetworkAccessManager::finished, this, &HttpClient::replyFinished);
    QNetworkReply *reply = manager->post(request, downloadBody(code));
    // The network thread stops reading while the reply holds this much, so a
    // fast server cannot pile the body up in memory. Set here, the limit reaches
    // only the reply: the network thread takes the request over from a queued
    // call and starts it without one. So it is set again from a queued call of
    // ours, which runs right after that one and reaches the network thread right
    // behind the request, long before an answer can be read.
    reply->setReadBufferSize(ReadBufferBytes);
    QMetaObject::invokeMethod(
        reply, [reply] { reply->setReadBufferSize(ReadBufferBytes); }, Qt::QueuedConnection);
    m_streaming = true;
    m_tooLarge = false;
    m_received = 0;
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { readBody(reply); });
    connect(reply, &QNetworkReply::errorOccurred, this, &HttpClient::upLoadError);
    connect(reply, &QNetworkReply::downloadProgress, this, &HttpClient::downloadProgress);
    waitFor(manager, reply);
    m_streaming = false;
    m_tooLarge = false;
}

void HttpClient::readBody(QNetworkReply *reply)
{
    while (!m_tooLarge && reply->isOpen() && reply->bytesAvailable() > 0) {
        const QByteArray piece = reply->read(ReadBufferBytes);
        m_received += piece.size();
        if (m_received > m_maxBody) {
            m_tooLarge = true;
            reply->abort();
            return;
        }
        // The receiver may abort the exchange while it takes the piece.
        emit signalsDownloadData(piece);
    }
}

void HttpClient::waitFor(QNetworkAccessManager *manager, QNetworkReply *reply)
{
    m_reply = reply;
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The reply may already be over (for example a URL Qt cannot use).
    if (!reply->isFinished())
        loop.exec();
    m_reply.clear();
    // The reply belongs to the manager; both go once the loop is left.
    manager->deleteLater();
}

void HttpClient::abort()
{
    if (m_reply)
        m_reply->abort();
}

void HttpClient::replyFinished(QNetworkReply *reply)
{
    // The last pieces of a download may still wait in the reply.
    if (m_streaming && reply->error() == QNetworkReply::NoError)
        readBody(reply);
    if (m_tooLarge)
        emit signalsReplyErrorString(tr("The project archive is too large!"));
    else if (reply->error() != QNetworkReply::NoError)
        emit signalsReplyErrorString(reply->errorString());
    else
        emit signalsReplyFinished(m_streaming ? QByteArray() : reply->readAll());
    reply->deleteLater();
}

void HttpClient::upLoadError(QNetworkReply::NetworkError errorcode)
{
    qDebug() << QStringLiteral("QNetworkReply::NetworkError::%1").arg(int(errorcode));
}

void HttpClient::loadProgress(qint64 bytesSent, qint64 bytesTotal)
{
    emit signalsReplyPercent(percentOf(bytesSent, bytesTotal));
}

void HttpClient::downloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    emit signalsReplyPercent(percentOf(bytesReceived, bytesTotal));
}
