#pragma once

// Pictures that the user adds to the current project: read from any image file
// and stored as "<name>.png" in the project's folder, in one step, so that a
// failed write leaves an earlier file of that name as it was.

#include <QString>

class QImage;

enum class PictureWrite {
    Written,
    NoFolder,   // the project's folder is missing
    Unreadable, // the source is missing or not a picture
    Unwritable  // the PNG could not be written
};

// The current project's folder (gl_curPath + "/database/" + the project's name);
// empty when the project's name is not a plain folder name.
QString currentProjectFolder();
QString currentProjectName();

// Writes image as "<name>.png" into the current project's folder.
PictureWrite saveProjectPicture(const QImage &image, const QString &name);

// Reads the picture file source and writes it as "<name>.png" into the current
// project's folder.
PictureWrite writeProjectPicture(const QString &source, const QString &name);
