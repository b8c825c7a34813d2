#include "projectpicture.h"

#include "store/projectlist.h"
#include "store/safesave.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>

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

PictureWrite saveProjectPicture(const QImage &image, const QString &name)
{
    const QString folder = currentProjectFolder();
    if (folder.isEmpty() || !QDir(folder).exists())
        return PictureWrite::NoFolder;
    if (image.isNull())
        return PictureWrite::Unreadable;
    QSaveFile file(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    if (!file.open(QIODevice::WriteOnly) || !commitSaveFile(file, image.save(&file, "PNG")))
        return PictureWrite::Unwritable;
    return PictureWrite::Written;
}

PictureWrite writeProjectPicture(const QString &source, const QString &name)
{
    const QString folder = currentProjectFolder();
    if (folder.isEmpty() || !QDir(folder).exists())
        return PictureWrite::NoFolder;
    QImageReader reader(source);
    reader.setDecideFormatFromContent(true);
    return saveProjectPicture(reader.read(), name);
}
