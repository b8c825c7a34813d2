#pragma once

// A file that looks like a picture by its name but holds no picture.

#include <QFile>
#include <QString>

namespace varnotest {

inline bool writeUnreadablePicture(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("not a picture at all\n") > 0;
}

} // namespace varnotest
