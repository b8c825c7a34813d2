#include "projectpicture.h"

#include "pictures.h"
#include "store/projectlist.h"
#include "store/safesave.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPointer>
#include <QSaveFile>
#include <QThreadPool>

#include <memory>
#include <unistd.h>

namespace {

// Qt's default PNG compression takes three times as long for a file hardly smaller.
constexpr int PngQuality = 50;

int g_running = 0;

QString existingProjectFolder()
{
    const QString folder = currentProjectFolder();
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QString();
}

} // namespace

QString currentProjectName()
{
    QString name;
    getCurrentProject(name);
    return name;
}

QString currentProjectFolder()
{
    return projectFolder(currentProjectName());
}

PictureWrite stagePicture(const QString &source, QSaveFile &target)
{
    const QImage image = readPicture(source);
    if (image.isNull())
        return PictureWrite::Unreadable;
    if (!target.open(QIODevice::WriteOnly))
        return PictureWrite::Unwritable;
    // Synced here, so that the commit on the window's thread has nothing left to write.
    const bool written = image.save(&target, "PNG", PngQuality) && target.flush() &&
                         ::fsync(target.handle()) == 0 && target.error() == QFileDevice::NoError;
    if (!written) {
        target.cancelWriting();
        target.commit();
        return PictureWrite::Unwritable;
    }
    return PictureWrite::Written;
}

bool writePictureBytes(const QByteArray &bytes, const QString &path)
{
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && commitSaveFile(file, file.write(bytes) == bytes.size());
}

PictureWriter::PictureWriter(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<PictureWrite>();
}

bool PictureWriter::start(const QString &source, const QString &name, const Place &place)
{
    if (m_busy)
        return false;
    m_name = name;
    m_folder = existingProjectFolder();
    if (m_folder.isEmpty()) {
        emit finished(PictureWrite::NoFolder, name);
        return true;
    }
    m_busy = true;
    ++g_running;
    m_place = place;
    const QString path = m_folder + QLatin1Char('/') + name + QStringLiteral(".png");
    QPointer<PictureWriter> guard(this);
    QThread *window = thread();
    QThreadPool::globalInstance()->start([guard, source, path, window] {
        std::shared_ptr<QSaveFile> file = std::make_shared<QSaveFile>(path);
        const PictureWrite result = stagePicture(source, *file);
        file->moveToThread(window);
        // A writer gone meanwhile drops the file: an uncommitted QSaveFile leaves nothing.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [guard, file, result] {
                if (guard)
                    guard->staged(result, *file);
            },
            Qt::QueuedConnection);
    });
    return true;
}

int PictureWriter::running()
{
    return g_running;
}

void PictureWriter::staged(PictureWrite result, QSaveFile &file)
{
    m_busy = false;
    --g_running;
    const Place place = std::move(m_place);
    m_place = Place();
    // The project may have been left while the file was written.
    if (result == PictureWrite::Written && existingProjectFolder() != m_folder)
        result = PictureWrite::NoFolder;
    if (result == PictureWrite::Written)
        result = place ? place(file) : (commitSaveFile(file) ? PictureWrite::Written : PictureWrite::Unwritable);
    emit finished(result, m_name);
}
