// The project list reader: fuzzed bytes as "database/project.xml", read the
// way start-up and the project pages read it.

#include "fuzzsupport.h"

#include "store/globals.h"
#include "store/projectlist.h"

#include <QFile>
#include <QSaveFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    {
        QFile file(projectListPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    QStringList list;
    getProjectList(list);
    QString current;
    getCurrentProject(current);
    for (const QString &name : list + QStringList(current)) {
        isProjectExist(name);
        QString value;
        for (const char *node : {"network_type", "indoor_temperature_low", "indoor_temperature_high"})
            getProjectNode(name, QString::fromLatin1(node), value);
        projectFolder(name);
    }
    return 0;
}
