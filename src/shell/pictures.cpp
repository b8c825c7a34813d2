#include "pictures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QRect>
#include <QThreadPool>
#include <QWidget>

namespace {

constexpr qint64 DefaultBudget = 64LL * 1024 * 1024;

QPointer<Pictures> g_instance;

// Two decodes at a time: a phone photo takes a few hundred megabytes while it is
// decoded at full size, and the window's thread needs a core of its own.
QThreadPool &decoders()
{
    static QThreadPool pool;
    static const bool sized = (pool.setMaxThreadCount(2), true);
    Q_UNUSED(sized)
    return pool;
}

int costOf(const QImage &image)
{
    return qMax(1, int(qMin<qint64>(image.sizeInBytes(), INT_MAX)));
}

} // namespace

namespace {

// Decodes bytes as a picture of format (empty: found from the bytes themselves).
QImage decode(QByteArray &bytes, const QByteArray &format, const QSize &size)
{
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(format.isEmpty());
    const QSize full = reader.size();
    if (full.isValid() && qint64(full.width()) * full.height() > MaxPicturePixels)
        return QImage();
    // JPEG decodes straight to a fraction of its size; the rest are scaled after.
    if (size.isValid() && full.isValid())
        reader.setScaledSize(size);
    QImage image = reader.read();
    if (image.isNull() || qint64(image.width()) * image.height() > MaxPicturePixels)
        return QImage();
    if (size.isValid() && image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (size.isValid())
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
    return image;
}

} // namespace

QByteArray readPictureBytes(const QString &path)
{
    // (QIODevice::read(n) takes n bytes of memory before it reads: the size is
    // looked at first, and a pipe's bytes are counted as they come.)
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxPictureFileBytes)
        return QByteArray();
    QByteArray bytes;
    bytes.reserve(int(file.size()));
    char chunk[64 * 1024];
    qint64 got = 0;
    while ((got = file.read(chunk, sizeof chunk)) > 0 && bytes.size() <= MaxPictureFileBytes)
        bytes.append(chunk, int(got));
    return got < 0 || bytes.size() > MaxPictureFileBytes ? QByteArray() : bytes;
}

QImage readPicture(const QString &path, const QSize &size)
{
    // The file is read whole first: Qt finds a picture's format under a lock that
    // every decode in the process takes, the window's too, and a slow file (a
    // network share, a pipe) would hold it for as long as its bytes take to come.
    QByteArray bytes = readPictureBytes(path);
    if (bytes.isEmpty())
        return QImage();
    // The name's suffix is tried first: finding the format from the bytes asks every
    // image plugin, loading each of them the first time. A picture whose suffix is
    // not its format is found from its bytes.
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    const QImage image = suffix.isEmpty() ? QImage() : decode(bytes, suffix, size);
    return image.isNull() ? decode(bytes, QByteArray(), size) : image;
}

QString Pictures::Key::text() const
{
    return QStringLiteral("%1|%2|%3|%4x%5")
        .arg(path)
        .arg(bytes)
        .arg(modified)
        .arg(size.width())
        .arg(size.height());
}

Pictures::Pictures(QObject *parent)
    : QObject(parent)
{
    m_kept.setMaxCost(int(DefaultBudget));
}

Pictures::~Pictures()
{
    // A decode still running posts to this object; it must be done first.
    decoders().clear();
    decoders().waitForDone();
}

Pictures &Pictures::instance()
{
    if (!g_instance)
        g_instance = new Pictures(QCoreApplication::instance());
    return *g_instance;
}

void Pictures::setBudget(qint64 bytes)
{
    m_kept.setMaxCost(int(qBound<qint64>(1, bytes, INT_MAX)));
}

qint64 Pictures::keptBytes() const
{
    return m_kept.totalCost();
}

void Pictures::clear()
{
    m_kept.clear();
    m_largest = {};
}

QImage Pictures::picture(const QString &path, const QSize &size, QWidget *requester)
{
    if (path.isEmpty() || size.width() <= 0 || size.height() <= 0)
        return QImage();
    const QFileInfo info(path);
    if (!info.isFile())
        return QImage();
    const bool builtIn = path.startsWith(QLatin1Char(':'));
    const Key key{path, info.size(), builtIn ? 0 : info.lastModified().toMSecsSinceEpoch(), size};
    const QString text = key.text();
    if (const QImage *kept = m_kept.object(text))
        return *kept;
    if (m_largest.first == text)
        return m_largest.second;
    if (builtIn) {
        const QImage image = readPicture(path, size);
        keep(text, image);
        return image;
    }
    auto waiting = m_pending.find(text);
    if (waiting == m_pending.end()) {
        waiting = m_pending.insert(text, {});
        ++m_decodes;
        Pictures *self = this;
        decoders().start([self, text, path, size] {
            const QImage image = readPicture(path, size);
            QMetaObject::invokeMethod(
                self, [self, text, path, image] { self->arrived(text, path, image); }, Qt::QueuedConnection);
        });
    }
    if (requester && !waiting->contains(requester))
        waiting->append(requester);
    return QImage();
}

void Pictures::keep(const QString &key, const QImage &image)
{
    // One picture larger than the whole budget is kept aside: dropped, it would be
    // decoded again on its next paint, and its arrival asks for that paint.
    if (costOf(image) > m_kept.maxCost())
        m_largest = {key, image};
    else
        m_kept.insert(key, new QImage(image), costOf(image));
}

void Pictures::arrived(const QString &key, const QString &path, const QImage &image)
{
    // A picture that cannot be read is kept as such too, so it is not read again
    // on every paint; a new file under its name has another key.
    keep(key, image);
    const QList<QPointer<QWidget>> requesters = m_pending.take(key);
    for (const QPointer<QWidget> &widget : requesters) {
        if (widget)
            widget->update();
    }
    emit pictureReady(path);
}

bool Pictures::draw(QPainter &painter, const QRect &target, const QString &path, QWidget *requester)
{
    if (target.width() <= 0 || target.height() <= 0 || path.isEmpty())
        return false;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSize size = (QSizeF(target.size()) * ratio).toSize();
    if (!requester)
        requester = dynamic_cast<QWidget *>(painter.device());
    QImage image = instance().picture(path, size, requester);
    if (image.isNull())
        return false;
    image.setDevicePixelRatio(ratio);
    painter.drawImage(target, image);
    return true;
}
