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

void setConfig(const QString &group, const QString &key, const QString &value)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                       QCoreApplication::applicationName());
    settings.beginGroup(group);
    settings.setValue(key, value);
    settings.endGroup();
}

bool checkOnly()
{
    return false;
}
