#pragma once

// The posting end of a project transfer: uploads an archive file to the cloud
// server or to another installation, or asks the cloud server for an archive by
// its download code. Each call waits in a local event loop until the exchange is
// over and reports through signals before it returns.

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>

class QEventLoop;
class QNetworkAccessManager;

class HttpClient : public QObject
{
    Q_OBJECT
public:
    explicit HttpClient(QObject *parent = nullptr);
    ~HttpClient() override;

    // Posts the whole file to url with "Content-Type: application/zip" and the
    // header "deviceType". A file that cannot be read or is empty is reported
    // through signalsReplyErrorString, so the caller always hears an outcome.
    void upload(const QString &url, const QString &fileName, int deviceType);
    // Posts {"token": code} to url; the answer's body is the archive.
    void download(const QString &url, const QString &code);

    // Whether an exchange is waiting for its answer.
    bool isBusy() const { return !m_reply.isNull(); }
    // Ends the exchange under way, if any; it then reports Qt's cancel text.
    void abort();

    // The JSON body of a download request, as posted.
    static QByteArray downloadBody(const QString &code);
    // The percentage of a progress report: 100 while nothing or no total is known.
    static int percentOf(qint64 done, qint64 total);

signals:
    void signalsReplyPercent(int percent);
    void signalsReplyFinished(QByteArray body);
    void signalsReplyErrorString(QString errorString);

private slots:
    void replyFinished(QNetworkReply *reply);
    void upLoadError(QNetworkReply::NetworkError errorcode);
    void loadProgress(qint64 bytesSent, qint64 bytesTotal);
    void downloadProgress(qint64 bytesReceived, qint64 bytesTotal);

private:
    void waitFor(QNetworkAccessManager *manager, QNetworkReply *reply);

    QPointer<QNetworkReply> m_reply;
};
