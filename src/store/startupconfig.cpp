#include "startupconfig.h"

#include "bus/broadcastsocket.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/keystore.h"
#include "store/safesave.h"
#include "store/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

namespace {

// Reads one "address" setting into value, writing the default back when the
// stored text is empty.
void loadAddressSetting(const QString &key, const QString &defaultValue, QString &value)
{
    getConfig(QStringLiteral("address"), key, value);
    if (value.isEmpty()) {
        value = defaultValue;
        setConfig(QStringLiteral("address"), key, value);
    }
}

unsigned char lowByte(const QString &text)
{
    return static_cast<unsigned char>(text.toInt() & 0xFF);
}

} // namespace

QStringList startSettingKeys()
{
    // What the loadAddressSetting calls of initConfig write.
    return {QStringLiteral("address/subId"), QStringLiteral("address/devId"),
            QStringLiteral("address/lock_password"), QStringLiteral("address/retain_days")};
}

QStringList keyStoreKeys()
{
    // What every start writes into the key store; the client id comes later.
    return {QStringLiteral("applicationFilePath")};
}

void initConfig()
{
    initConfig(QCoreApplication::applicationDirPath());
}

void initConfig(const QString &applicationDir)
{
    gl_curPath = applicationDir;
    // A write of the settings or of the key store that stopped before the new file
    // was confirmed left the earlier one kept aside: it goes back before either is read.
    putBackUnconfirmed(QSettings(QSettings::IniFormat, QSettings::UserScope,
                                 QCoreApplication::organizationName(), QCoreApplication::applicationName())
                           .fileName(),
                       startSettingKeys());
    putBackUnconfirmed(keyStorePath(), keyStoreKeys());
    setRegKey(QStringLiteral("applicationFilePath"), QCoreApplication::applicationFilePath());

    const QString skin = gl_curPath + QStringLiteral("/skin/");
    if (!QDir(skin).exists())
        QDir().mkdir(skin);
    const QString logo = skin + QStringLiteral("logo.ico");
    if (!QFile::exists(logo))
    {
        copyFileToPath(QStringLiteral(":/myImages/icons/logo.ico"), logo, true);
        // Files copied out of the resources are read-only; the user may replace it.
        QFile::setPermissions(logo, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                        | QFile::ReadOther);
    }

    loadAddressSetting(QStringLiteral("subId"), QStringLiteral("1"), gl_subId);
    loadAddressSetting(QStringLiteral("devId"), QStringLiteral("254"), gl_devId);
    gl_socket.setId(lowByte(gl_subId), lowByte(gl_devId));
    loadAddressSetting(QStringLiteral("lock_password"), QStringLiteral("qmx482"), gl_lockPassword);
    loadAddressSetting(QStringLiteral("retain_days"), QStringLiteral("30"), gl_retainDays);
}
