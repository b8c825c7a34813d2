#include "settings.h"

#include "store/safesave.h"

#include <QCoreApplication>
#include <QFileInfo>
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
    // Something other than a file in its place cannot take the values, and Qt,
    // unable to read it, no longer knows the old ones.
    const QFileInfo file(settings.fileName());
    if (file.exists() && !file.isFile())
        return false;
    settings.beginGroup(group);
    QList<QVariant> old;
    for (const auto &keyValue : keyValues) {
        old.append(settings.value(keyValue.first));
        settings.setValue(keyValue.first, keyValue.second);
    }
    settings.endGroup();
    // The file is written here, whole; a file that cannot be written keeps its
    // old content and leaves the status set. One written in part is replaced by the
    // earlier file, which the settings read again.
    if (syncSettings(settings))
        return true;
    if (settings.status() == QSettings::NoError)
        return false;
    // Qt keeps unwritten values for the process and writes them with the next
    // change that succeeds: the old ones go back, so nothing refused turns up later.
    settings.beginGroup(group);
    for (int i = 0; i < keyValues.size(); ++i) {
        if (old.at(i).isValid())
            settings.setValue(keyValues.at(i).first, old.at(i));
        else
            settings.remove(keyValues.at(i).first);
    }
    return false;
}

bool checkOnly()
{
    return false;
}
