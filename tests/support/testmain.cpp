#include "testmain.h"

#include <QDir>

namespace varnotest {

IsolatedHome::IsolatedHome()
{
    m_dir.setAutoRemove(true);
    const QString base = m_dir.path();
    QDir(base).mkpath(QStringLiteral("home"));
    QDir(base).mkpath(QStringLiteral("config"));
    QDir(base).mkpath(QStringLiteral("data"));
    qputenv("HOME", QFile::encodeName(base + QStringLiteral("/home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(base + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(base + QStringLiteral("/data")));
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", "UTC");
}

} // namespace varnotest
