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
    const QVariant old = settings.value(key);
    settings.setValue(key, value);
    if (syncSettings(settings))
        return true;
    // Qt keeps an unwritten value for the process and writes it with the next change
    // that succeeds: the old one goes back, so a refused value never turns up later.
    if (settings.status() != QSettings::NoError) {
        if (old.isValid())
            settings.setValue(key, old);
        else
            settings.remove(key);
    }
    return false;
}
