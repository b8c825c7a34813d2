#include "stepfault.h"

#include <QByteArray>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

struct sqlite3_stmt;

namespace {

constexpr int SqliteIoErr = 10;

using StepFunction = int (*)(sqlite3_stmt *);
using SqlFunction = const char *(*)(sqlite3_stmt *);

QByteArray armedPart;
int armedStep = 0;
int seen = 0;
bool hasFired = false;

void *sqliteSymbol(const char *name)
{
    static void *library = dlopen("libsqlite3.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (!library)
        library = dlopen("libsqlite3.so.0", RTLD_NOW);
    void *symbol = library ? dlsym(library, name) : nullptr;
    if (!symbol) {
        std::fprintf(stderr, "stepfault: no %s in libsqlite3.so.0\n", name);
        std::abort();
    }
    return symbol;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int sqlite3_step(sqlite3_stmt *statement)
{
    static const auto realStep = reinterpret_cast<StepFunction>(sqliteSymbol("sqlite3_step"));
    static const auto sqlText = reinterpret_cast<SqlFunction>(sqliteSymbol("sqlite3_sql"));
    if (armedStep > 0 && !hasFired) {
        const char *sql = sqlText(statement);
        if (sql && std::strstr(sql, armedPart.constData()) && ++seen == armedStep) {
            hasFired = true;
            return SqliteIoErr;
        }
    }
    return realStep(statement);
}

namespace StepFault {

void arm(const QString &sqlPart, int nth)
{
    armedPart = sqlPart.toUtf8();
    armedStep = nth;
    seen = 0;
    hasFired = false;
}

void disarm()
{
    armedStep = 0;
}

bool fired()
{
    return hasFired;
}

} // namespace StepFault
