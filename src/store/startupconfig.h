#pragma once

// First step of start-up: the application folder, the key store's program path,
// the logo in the skin folder, the "address" settings with their defaults, and
// the own bus address handed to the transport.

#include <QString>

void initConfig();

// The same with an explicit application folder in place of the program's own.
void initConfig(const QString &applicationDir);
