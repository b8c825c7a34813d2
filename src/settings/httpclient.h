#pragma once

// The posting end of a project transfer: uploads an archive file to the cloud
// server or to another installation, or asks the cloud server for an archive by
// its download code. Each call waits in a local event loop until the exchange is
// over and reports through signals before it returns. A download's body is handed
// on piece by piece as it arrives, never held whole.

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
    // Bytes of a download's body the reply may hold before they are handed on.
    static constexpr qint64 ReadBufferBytes = 256 * 1024;

    explicit HttpClient(QObject *parent = nullptr);
    ~HttpClient() override;

    // Posts the whole file to url with "Content-Type: application/zip" and the
    // header "deviceType". A file that cannot be read or is empty is reported
    // through signalsReplyErrorString, so the caller always hears an outcome.
    void upload(const QString &url, const QString &fileName, int deviceType);
    // Posts {"token": code} to url; the answer's body is the archive, handed on
    // through signalsDownloadData. A body that grows past 4 GiB is aborted and
    // reported as too large.
    void download(const QString &url, const QString &code);

    // Whether an exchange is waiting for its answer.
    bool isBusy() const { return !m_reply.isNull(); }
    // Ends the exchange under way, if any; it then reports Qt's cancel text.
    void abort();

    // The JSON body of a download request, as posted.
    static QByteArray downloadBody(const QString &code);
    // The percentage of a progress report: 100 while nothing or no total is known.
    static int percentOf(qint64 done, qint64 total);

    // Test hook: the largest download body (4 GiB unless a test lowers it). The
    // application never calls it.
    void setMaxBodyForTest(qint64 bytes) { m_maxBody = bytes; }

signals:
    void signalsReplyPercent(int percent);
    void signalsReplyFinished(QByteArray body);
    void signalsReplyErrorString(QString errorString);
    // A download's body, piece by piece in arrival order; signalsReplyFinished
    // then carries nothing.
    void signalsDownloadData(QByteArray downloadData);

private slots:
    void replyFinished(QNetworkReply *reply);
    void upLoadError(QNetworkReply::NetworkError errorcode);
    void loadProgress(qint64 bytesSent, qint64 bytesTotal);
    void downloadProgress(qint64 bytesReceived, qint64 bytesTotal);

private:
    void waitFor(QNetworkAccessManager *manager, QNetworkReply *reply);
    void readBody(QNetworkReply *reply);

    QPointer<QNetworkReply> m_reply;
    bool m_streaming = false; // the exchange is a download
    bool m_tooLarge = false;  // the download was aborted for its size
    qint64 m_received = 0;    // download body bytes handed on so far
    qint64 m_maxBody;
};
