#include "settings.h"

#include <QCoreApplication>
#include <QSettings>

void getConfig(const QString &group, const QString &key, QString &value)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                       QCoreApplication::applicationName());
    settings.beginGroup(group);
    value = settings.value(key, QString()).toString();
    settings.endGroup();
}

bool setConfig(const QString &group, const QString &key, const QString &value)
{
    return setConfig(group, {qMakePair(key, value)});
}

bool setConfig(const QString &group, const QList<QPair<QString, QString>> &keyValues)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                       QCoreApplication::applicationName());
    settings.beginGroup(group);
    for (const auto &keyValue : keyValues)
        settings.setValue(keyValue.first, keyValue.second);
    settings.endGroup();
    // The file is written here, whole; a file that cannot be written keeps its
    // old content and leaves the status set.
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool checkOnly()
{
    return false;
}
