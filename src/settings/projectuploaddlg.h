#pragma once

// Sends the chosen projects away as one zip archive: to the cloud transfer
// server, which answers with a download code, or straight to another
// installation that announces itself on the bus with the 4-digit transfer code
// this dialog shows.

#include "settings/httpclient.h"
#include "shell/mydialog.h"

#include <QList>
#include <QStringList>

#include <ctime>
#include <functional>

class QLabel;
class QtMaterialFlatButton;
class QtMaterialLabel;

// One receiving installation answered, for the 10-second rule.
struct download_project_app
{
    qint64 request_time = 0; // seconds since the epoch
    quint16 port = 0;
    char ip[16] = {}; // dotted IPv4 text, NUL-terminated
};

class ProjectUploadDlg : public MyDialog
{
    Q_OBJECT
public:
    explicit ProjectUploadDlg(QWidget *parent = nullptr);
    ~ProjectUploadDlg() override;

    void initDlgCtrl();
    static QString newRandomCode();
    bool isValidRequest(const download_project_app &request);

    QStringList projectNames;
    // A packing or a send is under way.
    bool isBusy() const { return busy; }

    // Test hook (clock seam): the seconds the 10-second rule reads; time(nullptr)
    // unless a test sets it.
    void setClockForTest(std::function<qint64()> clock) { m_clock = std::move(clock); }

public slots:
    void dataIsComming(quint8 *recvBuff, qlonglong recvLength);
    void slotsReplyPercent(int percent);
    void slotsReplyFinished(QByteArray body);
    void slotsReplyErrorString(QString errorString);
    void pushButtonSendToServer_clicked();
    void pushButtonSendToOtherDevice_clicked();

    void done(int result) override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void sendTo(const QString &url);
    qint64 now() const;

    bool busy = false;
    // Counts the packings started; one whose number is no longer this was given up.
    int m_packing = 0;
    // Gives up the packing under way: its copies stop and its files go.
    std::function<void()> m_stopPacking;
    bool server = false;
    QList<download_project_app> requests;
    HttpClient httpClient;
    std::function<qint64()> m_clock;

    QLabel *labelIcon = nullptr;
    QtMaterialLabel *labelPrompt = nullptr;
    QtMaterialLabel *labelTitle = nullptr;
    QtMaterialLabel *labelCodeTitle = nullptr;
    QtMaterialLabel *labelCode = nullptr;
    QtMaterialLabel *labelTime = nullptr;
    QtMaterialFlatButton *pushButtonSendToServer = nullptr;
    QtMaterialFlatButton *pushButtonSendToOtherDevice = nullptr;
};
