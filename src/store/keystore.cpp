#include "keystore.h"

#include "store/safesave.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

QString keyStorePath()
{
    return QDir::homePath() + QLatin1Char('/') + QCoreApplication::organizationName() + QLatin1Char('/')
        + QCoreApplication::applicationName() + QStringLiteral("/com.kestgrid.plist");
}

void getRegKey(const QString &key, QString &value)
{
    QSettings settings(keyStorePath(), QSettings::NativeFormat);
    value = settings.value(key, QString()).toString();
}

bool setRegKey(const QString &key, const QString &value)
{
    QSettings settings(keyStorePath(), QSettings::NativeFormat);
    settings.setValue(key, value);
    return syncSettings(settings);
}
