#pragma once

// Every picture a widget draws from a file or from the resources comes from here.
// A picture is kept scaled to the size it is drawn at, so painting it is a plain
// copy. Built-in pictures are small and decoded at once; a file (the user's own
// photo, which may be a phone photo of many megapixels) is decoded by a worker
// thread, and until it arrives the widget paints what it paints for a missing
// picture and is repainted when it is there. Built-in pictures past a short share of
// one turn of the event loop wait with the files. The kept copies are keyed by path,
// file size, modification time and drawn size: a file written again under the
// same name is decoded anew, and a removed file is no longer drawn.
//
// Decodes run in the order the pictures are needed: the requests wait in a list of
// their own, and whenever a worker is free the newest request that a widget on
// screen still wants starts; a request whose widgets are all gone, hidden or
// scrolled out of sight is dropped before it starts (their next paint asks again).
// One decode of a file serves every size it is drawn at: a kept copy at least as
// large is scaled down on the window's thread, and a file is decoded again only
// for a larger size. Once the kept copies pass the memory budget the least recently
// drawn large copies go first, and the small ones have half of it to themselves, so
// that a few large blocks do not push out the small tiles.

#include <QHash>
#include <QImage>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <QString>

#include <memory>

class QPainter;
class QRect;
class QThreadPool;
class QWidget;

// A picture file larger than this (width times height) is neither decoded for
// drawing nor taken from the gallery: its decoded form alone would be gigabytes.
constexpr qint64 MaxPicturePixels = 100LL * 1000 * 1000;
// Nor a file larger than this, which is read whole before it is decoded.
constexpr int MaxPictureFileBytes = 512 * 1024 * 1024;

class Pictures : public QObject
{
    Q_OBJECT
public:
    // A kept copy of at least this many bytes is a large one, first out of the budget.
    static constexpr qint64 LargeCopyBytes = 1024 * 1024;

    static Pictures &instance();

    // The picture at path scaled to size (device pixels). Null when it is missing,
    // cannot be read, or is still being decoded; in the last case requester (when
    // given) is repainted once it is ready.
    QImage picture(const QString &path, const QSize &size, QWidget *requester = nullptr);

    // Draws the picture at path stretched into target; answers whether it drew.
    // The widget repainted when a picture arrives is requester, or else the widget
    // being painted on.
    static bool draw(QPainter &painter, const QRect &target, const QString &path,
                     QWidget *requester = nullptr);

    // The budget of the kept copies, in bytes.
    void setBudget(qint64 bytes);
    qint64 keptBytes() const;
    // Pictures waiting to be decoded or being decoded now.
    int pending() const { return m_jobs.size(); }
    // Decodes of files started so far (tests and benches count them).
    int decodesStarted() const { return m_decodes; }
    // Forgets every kept copy.
    void clear();
    // Tests only: while paused no decode starts; the requests wait in their list.
    void setPaused(bool paused);

signals:
    // A decode has finished and its requesters were asked to repaint.
    void pictureReady(const QString &path);
    // A decode of path has been handed to a worker.
    void decodeStarted(const QString &path);

private:
    explicit Pictures(QObject *parent);
    ~Pictures() override;

    struct Copy
    {
        QImage image;
        QString file; // the file's key, without the drawn size
        qint64 cost = 0;
        quint64 used = 0;
    };
    struct Job
    {
        QString path;
        QSize size; // decoded at: large enough for every size asked so far
        QList<QPointer<QWidget>> requesters;
        bool anyone = false; // asked for without a widget on screen to check
        bool running = false;
        quint64 newest = 0;
    };
    // What a worker's decode reaches while its service lives.
    struct Link;

    static QString fileKey(const QString &path, qint64 bytes, qint64 modified);
    static QString copyKey(const QString &file, const QSize &size);
    static bool onScreen(const QWidget *widget);
    QImage fromKept(const QString &file, const QString &key, const QSize &size);
    void request(const QString &file, const QString &path, const QSize &size, QWidget *requester);
    void schedule();
    void startWaiting();
    bool wanted(Job &job) const;
    void arrived(const QString &file, const QSize &size, const QImage &image, bool gaveUp);
    void keep(const QString &key, const QString &file, const QImage &image);
    bool dropOldest(bool large, const QString &spared);
    void trim(const QString &spared);

    QHash<QString, Copy> m_kept;
    QPair<QString, QImage> m_largest;
    QSet<QString> m_unreadable;
    QHash<QString, Job> m_jobs; // by file key
    std::shared_ptr<Link> m_link;
    qint64 m_budget;
    qint64 m_keptBytes = 0;
    qint64 m_smallBytes = 0;
    quint64 m_clock = 0;
    int m_running = 0;
    int m_decodes = 0;
    bool m_scheduled = false;
    bool m_paused = false;
    qint64 m_builtInNs = 0; // spent on built-in decodes in this turn of the event loop
    bool m_builtInTurnReset = false;
};

// The bytes of a picture file; empty when it cannot be read or is over
// MaxPictureFileBytes. Gives up, empty, once BackgroundWork::stopping() is set,
// also on a source that never delivers (a pipe). Safe in any thread.
QByteArray readPictureBytes(const QString &path);

// Reads a picture file, refusing one of more than MaxPicturePixels before it is
// decoded. With a valid size the picture is scaled to it (stretched). Safe in any
// thread.
QImage readPicture(const QString &path, const QSize &size = QSize());
