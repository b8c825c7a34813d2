// The ordinary build's stand-in for libFuzzer: runs the target once over every
// file of the folders (or the files) given, so the seed corpus and every crash
// input found stay regression cases without fuzzing.

#include "fuzzsupport.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char *argv[])
{
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        QStringList inputs;
        if (QFileInfo(path).isDir()) {
            QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                inputs.append(it.next());
            inputs.sort();
        } else if (QFileInfo::exists(path)) {
            inputs.append(path);
        }
        for (const QString &input : inputs) {
            QFile file(input);
            if (!file.open(QIODevice::ReadOnly)) {
                fprintf(stderr, "cannot read %s\n", qPrintable(input));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                   size_t(bytes.size()));
            ++files;
        }
    }
    printf("replayed %d inputs\n", files);
    return files > 0 ? 0 : 1;
}
