#include "pictures.h"

#include "store/backgroundwork.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QRect>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 DefaultBudget = 64LL * 1024 * 1024;
// The window's thread decodes built-in pictures for at most this long a turn.
constexpr qint64 BuiltInTurnMs = 20;
// A source that does not deliver (a pipe, a hung share) is looked at this often
// for the exit.
constexpr int PollSliceMs = 50;

QPointer<Pictures> g_instance;

// Two decodes at a time: a phone photo takes a few hundred megabytes while it is
// decoded at full size, and the window's thread needs a core of its own. The pool
// is known to the exit, which waits for it only so long; it is never destroyed, so
// that no destructor waits for a decode either.
QThreadPool &decoders()
{
    static QThreadPool *const pool = [] {
        auto *made = new QThreadPool;
        made->setMaxThreadCount(2);
        BackgroundWork::registerPool(made);
        return made;
    }();
    return *pool;
}

qint64 costOf(const QImage &image)
{
    return qMax<qint64>(1, image.sizeInBytes());
}

bool covers(const QSize &kept, const QSize &wanted)
{
    return kept.width() >= wanted.width() && kept.height() >= wanted.height();
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
    // Opened without blocking: a pipe with no writer yet would hold open() itself.
    // The size is looked at before anything is read (a read takes its memory
    // first), and a pipe's bytes are counted as they come. Between pieces, and
    // while a source has nothing to give, the exit is looked at.
    if (path.startsWith(QLatin1Char(':'))) {
        QFile resource(path); // built in: in memory already
        return resource.open(QIODevice::ReadOnly) && resource.size() <= MaxPictureFileBytes
                   ? resource.readAll()
                   : QByteArray();
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    struct stat st{};
    QByteArray bytes;
    bool ok = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode) && st.st_size <= MaxPictureFileBytes;
    if (ok && S_ISREG(st.st_mode))
        bytes.reserve(int(st.st_size));
    char chunk[64 * 1024];
    while (ok) {
        if (BackgroundWork::stopping()) {
            ok = false;
            break;
        }
        // A pipe is read only once poll() has something for it: with no writer
        // yet it reports nothing (a read would answer an end at once), and once a
        // writer has come and gone it reports the end.
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, PollSliceMs);
        if (ready < 0 && errno != EINTR)
            ok = false;
        if (ready <= 0)
            continue;
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0)
            break;
        if (got < 0) {
            ok = errno == EAGAIN || errno == EINTR;
            continue;
        }
        if (bytes.size() + got > MaxPictureFileBytes)
            ok = false;
        else
            bytes.append(chunk, int(got));
    }
    ::close(fd);
    return ok ? bytes : QByteArray();
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

struct Pictures::Link
{
    QMutex mutex;
    Pictures *owner = nullptr;
};

QString Pictures::fileKey(const QString &path, qint64 bytes, qint64 modified)
{
    return QStringLiteral("%1|%2|%3").arg(path).arg(bytes).arg(modified);
}

QString Pictures::copyKey(const QString &file, const QSize &size)
{
    return QStringLiteral("%1|%2x%3").arg(file).arg(size.width()).arg(size.height());
}

Pictures::Pictures(QObject *parent)
    : QObject(parent)
    , m_link(std::make_shared<Link>())
    , m_budget(DefaultBudget)
{
    m_link->owner = this;
}

Pictures::~Pictures()
{
    // Nothing waits here: a decode still running finds its service gone and
    // drops what it made.
    QMutexLocker locker(&m_link->mutex);
    m_link->owner = nullptr;
}

Pictures &Pictures::instance()
{
    if (!g_instance)
        g_instance = new Pictures(QCoreApplication::instance());
    return *g_instance;
}

void Pictures::setBudget(qint64 bytes)
{
    m_budget = qMax<qint64>(1, bytes);
    trim(QString());
}

qint64 Pictures::keptBytes() const
{
    return m_keptBytes;
}

void Pictures::clear()
{
    m_kept.clear();
    m_keptBytes = 0;
    m_smallBytes = 0;
    m_largest = {};
    m_unreadable.clear();
}

void Pictures::setPaused(bool paused)
{
    m_paused = paused;
    schedule();
}

bool Pictures::onScreen(const QWidget *widget)
{
    // Within every widget around it up to its window: a tile scrolled out of a
    // scroll area's viewport is not.
    QRect area = widget->rect();
    for (const QWidget *w = widget; !area.isEmpty() && !w->isWindow() && w->parentWidget();
         w = w->parentWidget())
        area = area.translated(w->pos()) & w->parentWidget()->rect();
    return !area.isEmpty();
}

QImage Pictures::fromKept(const QString &file, const QString &key, const QSize &size)
{
    // The smallest kept copy of the file that covers size is scaled down to it: at
    // drawn sizes that is quick, against a decode of the whole file.
    const Copy *best = nullptr;
    for (const Copy &copy : qAsConst(m_kept)) {
        if (copy.file == file && covers(copy.image.size(), size) &&
            (!best || costOf(copy.image) < costOf(best->image)))
            best = &copy;
    }
    QImage source = best ? best->image : QImage();
    if (source.isNull() && m_largest.second.size().isValid() &&
        m_largest.first.startsWith(file + QLatin1Char('|')) && covers(m_largest.second.size(), size))
        source = m_largest.second;
    if (source.isNull())
        return QImage();
    const QImage image = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    keep(key, file, image);
    return image;
}

QImage Pictures::picture(const QString &path, const QSize &size, QWidget *requester)
{
    if (path.isEmpty() || size.width() <= 0 || size.height() <= 0)
        return QImage();
    const QFileInfo info(path);
    if (!info.isFile())
        return QImage();
    const bool builtIn = path.startsWith(QLatin1Char(':'));
    const QString file =
        fileKey(path, info.size(), builtIn ? 0 : info.lastModified().toMSecsSinceEpoch());
    const QString key = copyKey(file, size);
    auto kept = m_kept.find(key);
    if (kept != m_kept.end()) {
        kept->used = ++m_clock;
        return kept->image;
    }
    if (m_largest.first == key)
        return m_largest.second;
    if (m_unreadable.contains(file))
        return QImage();
    const QImage scaled = fromKept(file, key, size);
    if (!scaled.isNull())
        return scaled;
    // A built-in picture is decoded at once while the built-in decodes of this turn
    // of the event loop stay short; past that (a page that lays out many pictures at
    // once) it waits with the files, and what has left the screen meanwhile is not
    // decoded at all.
    if (builtIn && m_builtInNs < BuiltInTurnMs * 1000000) {
        if (!m_builtInTurnReset) {
            m_builtInTurnReset = true;
            QTimer::singleShot(0, this, [this] {
                m_builtInTurnReset = false;
                m_builtInNs = 0;
            });
        }
        QElapsedTimer took;
        took.start();
        const QImage image = readPicture(path, size);
        m_builtInNs += took.nsecsElapsed();
        if (image.isNull())
            m_unreadable.insert(file);
        else
            keep(key, file, image);
        return image;
    }
    request(file, path, size, requester);
    return QImage();
}

void Pictures::request(const QString &file, const QString &path, const QSize &size, QWidget *requester)
{
    auto job = m_jobs.find(file);
    if (job == m_jobs.end()) {
        job = m_jobs.insert(file, Job());
        job->path = path;
        job->size = size;
    } else if (!job->running) {
        // One decode for every size asked for before it starts.
        job->size = job->size.expandedTo(size);
    }
    // A widget painted while it is not shown is being rendered on purpose (grabbed):
    // that request stands on its own, as one without a widget does.
    if (!requester || !requester->isVisible())
        job->anyone = true;
    if (requester && !job->requesters.contains(requester))
        job->requesters.append(requester);
    job->newest = ++m_clock;
    schedule();
}

void Pictures::schedule()
{
    // Started from the event loop, once the paints under way have asked for what
    // they draw: the newest of them goes first.
    if (m_scheduled)
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_scheduled = false;
        startWaiting();
    });
}

bool Pictures::wanted(Job &job) const
{
    if (job.anyone)
        return true;
    for (const QPointer<QWidget> &widget : qAsConst(job.requesters)) {
        if (widget && widget->isVisible() && onScreen(widget))
            return true;
    }
    return false;
}

void Pictures::startWaiting()
{
    const int threads = qMax(1, decoders().maxThreadCount());
    while (!m_paused && m_running < threads) {
        auto next = m_jobs.end();
        for (auto job = m_jobs.begin(); job != m_jobs.end();) {
            if (job->running) {
                ++job;
            } else if (!wanted(*job)) {
                job = m_jobs.erase(job); // asked again by the next paint that needs it
            } else {
                if (next == m_jobs.end() || job->newest > next->newest)
                    next = job;
                ++job;
            }
        }
        if (next == m_jobs.end())
            return;
        next->running = true;
        ++m_running;
        ++m_decodes;
        const QString file = next.key();
        const QString path = next->path;
        const QSize size = next->size;
        const std::shared_ptr<Link> link = m_link;
        emit decodeStarted(path);
        decoders().start([link, file, path, size] {
            const QImage image = readPicture(path, size);
            const bool gaveUp = image.isNull() && BackgroundWork::stopping();
            QMutexLocker locker(&link->mutex);
            if (Pictures *owner = link->owner) {
                QMetaObject::invokeMethod(
                    owner, [owner, file, size, image, gaveUp] { owner->arrived(file, size, image, gaveUp); },
                    Qt::QueuedConnection);
            }
        });
    }
}

void Pictures::keep(const QString &key, const QString &file, const QImage &image)
{
    // One picture larger than the whole budget is kept aside: dropped, it would be
    // decoded again on its next paint, and its arrival asks for that paint.
    const qint64 cost = costOf(image);
    if (cost > m_budget) {
        m_largest = {key, image};
        return;
    }
    const auto old = m_kept.constFind(key);
    if (old != m_kept.constEnd()) {
        m_keptBytes -= old->cost;
        m_smallBytes -= old->cost < LargeCopyBytes ? old->cost : 0;
    }
    m_kept.insert(key, Copy{image, file, cost, ++m_clock});
    m_keptBytes += cost;
    m_smallBytes += cost < LargeCopyBytes ? cost : 0;
    trim(key);
}

bool Pictures::dropOldest(bool large, const QString &spared)
{
    auto victim = m_kept.end();
    for (auto copy = m_kept.begin(); copy != m_kept.end(); ++copy) {
        if ((copy->cost >= LargeCopyBytes) == large && copy.key() != spared &&
            (victim == m_kept.end() || copy->used < victim->used))
            victim = copy;
    }
    if (victim == m_kept.end())
        return false;
    m_keptBytes -= victim->cost;
    m_smallBytes -= large ? 0 : victim->cost;
    m_kept.erase(victim);
    return true;
}

void Pictures::trim(const QString &spared)
{
    // Small copies (tiles) have half the budget to themselves; past the whole
    // budget the least recently drawn large copies go first. The copy just kept
    // (spared) stays: dropped, its arrival's paint would decode it again. A large
    // one that finds no room left is kept aside instead, in place of the last one.
    while (m_smallBytes > m_budget / 2 && dropOldest(false, spared)) {
    }
    while (m_keptBytes > m_budget && dropOldest(true, spared)) {
    }
    const auto last = m_kept.find(spared);
    if (m_keptBytes > m_budget && last != m_kept.end() && last->cost >= LargeCopyBytes) {
        m_largest = {spared, last->image};
        m_keptBytes -= last->cost;
        m_kept.erase(last);
    }
    while (m_keptBytes > m_budget && dropOldest(false, spared)) {
    }
}

void Pictures::arrived(const QString &file, const QSize &size, const QImage &image, bool gaveUp)
{
    --m_running;
    const Job job = m_jobs.take(file);
    if (image.isNull()) {
        // A picture that cannot be read is known as such, so it is not read again
        // on every paint; a new file under its name has another key.
        if (!gaveUp)
            m_unreadable.insert(file);
    } else {
        keep(copyKey(file, size), file, image);
    }
    for (const QPointer<QWidget> &widget : job.requesters) {
        if (widget)
            widget->update();
    }
    emit pictureReady(job.path);
    startWaiting();
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
