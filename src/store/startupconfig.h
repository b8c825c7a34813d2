#pragma once

// First step of start-up: the application folder, the key store's program path,
// the logo in the skin folder, the "address" settings with their defaults, and
// the own bus address handed to the transport.

#include <QString>
#include <QStringList>

void initConfig();

// The same with an explicit application folder in place of the program's own.
void initConfig(const QString &applicationDir);

// The settings that every start writes where they are missing, as "group/key": a
// whole settings file of this program holds each of them, and a file kept aside by
// a stopped write is put back at start only then.
QStringList startSettingKeys();

// The same for the key store: the keys every start writes into it.
QStringList keyStoreKeys();
