#pragma once

// Every picture a widget draws from a file or from the resources comes from here.
// A picture is kept scaled to the size it is drawn at, so painting it is a plain
// copy. Built-in pictures are small and decoded at once; a file (the user's own
// photo, which may be a phone photo of many megapixels) is decoded by a worker
// thread, and until it arrives the widget paints what it paints for a missing
// picture and is repainted when it is there. The kept copies are keyed by path,
// file size, modification time and drawn size: a file written again under the
// same name is decoded anew, and a removed file is no longer drawn. The least
// recently drawn copies go first once the kept ones pass the memory budget.

#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QSize>
#include <QString>

class QPainter;
class QRect;
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
    // Pictures being decoded now.
    int pending() const { return m_pending.size(); }
    // Decodes of files started so far (tests and benches count them).
    int decodesStarted() const { return m_decodes; }
    // Forgets every kept copy.
    void clear();

signals:
    // A decode has finished and its requesters were asked to repaint.
    void pictureReady(const QString &path);

private:
    explicit Pictures(QObject *parent);
    ~Pictures() override;

    struct Key
    {
        QString path;
        qint64 bytes;
        qint64 modified;
        QSize size;
        QString text() const;
    };
    void arrived(const QString &key, const QString &path, const QImage &image);
    void keep(const QString &key, const QImage &image);

    QCache<QString, QImage> m_kept;
    QPair<QString, QImage> m_largest;
    QHash<QString, QList<QPointer<QWidget>>> m_pending;
    int m_decodes = 0;
};

// The bytes of a picture file; empty when it cannot be read or is over
// MaxPictureFileBytes. Safe in any thread.
QByteArray readPictureBytes(const QString &path);

// Reads a picture file, refusing one of more than MaxPicturePixels before it is
// decoded. With a valid size the picture is scaled to it (stretched). Safe in any
// thread.
QImage readPicture(const QString &path, const QSize &size = QSize());
