#pragma once

// Brings projects in from elsewhere: by download code from the cloud transfer
// server, or straight from another installation, for which it listens on port
// 8080 and announces its address, port and the transfer code on the bus every
// second. The received archive is listed and unpacked in a temporary folder and
// each project is copied into the database folder under a name no listed
// project has.

#include "settings/httpclient.h"
#include "shell/mydialog.h"

#include <QFile>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

class HttpServer;
class QLabel;
class QTemporaryDir;
class QtMaterialFlatButton;
class QtMaterialLabel;
class QtMaterialLineEdit;

class ProjectDownloadDlg : public MyDialog
{
    Q_OBJECT
public:
    static constexpr quint16 TransferPort = 8080;

    explicit ProjectDownloadDlg(QWidget *parent = nullptr);
    ~ProjectDownloadDlg() override;

    // The folders directly inside path, by name ignoring case.
    static void getDownloadProjectList(const QString &path, QStringList &list);
    // The names a list of downloaded projects takes when taken names exist:
    // "Home" becomes "Home_1", then "Home_2", the suffix always on the
    // downloaded name.
    static QStringList uniqueNames(const QStringList &downloaded, QStringList taken);

    // What the worker's part of an import did: the projects it copied into the
    // database folder (their new names and folders, in order), or why it stopped.
    struct Imported
    {
        bool ok = false;
        QString error;
        QStringList names;
        QStringList targets;
        QStringList found; // the folders of the unpacked archive
    };

    bool downloaded = false;
    bool downloading = false;

    // Test hook: runs on the worker as each project of an import is put in place, with
    // its name. The application never sets it.
    static void setImportHookForTest(std::function<void(const QString &name)> hook);

    // The archive of the transfer under way; empty while none is.
    QString archivePath() const { return m_archivePath; }
    HttpServer *server() const;
    HttpClient &client() { return httpClient; }

public slots:
    void slotsDownloadDB();
    void slotsReplyPercent(int percent);
    void slotsReplyFinished();
    void slotsReplyErrorString(QString errorString);
    void slotsDownloadServer(QByteArray body);
    void slotsDownloadData(QByteArray postData);
    void pushButtonDownloadServer_clicked();
    void pushButtonDownloadDevice_clicked();

    void done(int result) override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool checkCode();
    bool startTransfer();
    void endTransfer();
    void disposeServer();
    // Stops the announcement and the wait for a sender, drops the partial archive
    // and clears the downloading flag.
    void abandonTransfer();
    // Runs work on a worker, then next with its result on the window's thread, unless
    // the import was given up meanwhile (then the folders it copied are removed). The
    // project names held for the step are released once it has ended either way.
    void runImportStep(std::function<Imported()> work,
                       void (ProjectDownloadDlg::*next)(const Imported &),
                       const QStringList &held = QStringList());
    // Imports that wait for names that other imports hold try again.
    static void wakeWaitingImports();
    // The window's steps of an import: once the archive is unpacked, the new names are
    // chosen by the project list; once the worker has copied the projects, they are
    // listed, the sender hears the outcome and it is said.
    void chooseNames(const Imported &unpacked);
    void finishImport(const Imported &result);

    QString m_archivePath;
    QTimer broadcastTimer;
    QPointer<HttpServer> m_server;
    HttpClient httpClient;
    std::shared_ptr<QTemporaryDir> m_transferDir;
    // An import runs on a worker; one whose number is no longer m_imports was given up.
    bool m_importing = false;
    int m_imports = 0;
    // Set when the import is given up: its worker stops at the next piece of work.
    std::shared_ptr<std::atomic<bool>> m_givenUp;
    // An unpacked archive whose projects wait for names held by another import.
    bool m_waitingForNames = false;
    Imported m_waitingUnpacked;
    QString m_unpacked;
    QFile m_archive;
    quint16 m_code = 0;

    QLabel *labelIcon = nullptr;
    QtMaterialLabel *labelPrompt = nullptr;
    QtMaterialLabel *labelTitle = nullptr;
    QtMaterialLineEdit *lineEditCode = nullptr;
    QtMaterialFlatButton *pushButtonDownloadServer = nullptr;
    QtMaterialFlatButton *pushButtonDownloadDevice = nullptr;
};
