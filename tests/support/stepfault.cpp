#include "stepfault.h"

#include <QByteArray>

#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

struct sqlite3_stmt;

namespace {

constexpr int SqliteIoErr = 10;

struct sqlite3;
using StepFunction = int (*)(sqlite3_stmt *);
using SqlFunction = const char *(*)(sqlite3_stmt *);
using HandleFunction = sqlite3 *(*)(sqlite3_stmt *);
using ExecCallback = int (*)(void *, int, char **, char **);
using ExecFunction = int (*)(sqlite3 *, const char *, ExecCallback, void *, char **);

QByteArray armedPart;
int armedStep = 0;
int seen = 0;
bool hasFired = false;
bool counting = false;
bool rollingBack = false;
QByteArray failedText;

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

// A program started with this file preloaded (LD_PRELOAD) is armed from its
// environment: VARNO_STEP_FAULT="<nth>:<part of the statement's text>". With
// VARNO_STEP_FAULT_WHILE="<file>" too, steps fail only while that file exists,
// so that a fault can end while the program runs.
const char *faultWhile = nullptr;
void armFromEnvironment()
{
    static bool checked = false;
    if (checked)
        return;
    checked = true;
    const char *text = std::getenv("VARNO_STEP_FAULT");
    const char *colon = text ? std::strchr(text, ':') : nullptr;
    if (!colon)
        return;
    armedPart = QByteArray(colon + 1);
    armedStep = std::atoi(text);
    faultWhile = std::getenv("VARNO_STEP_FAULT_WHILE");
    rollingBack = std::getenv("VARNO_STEP_FAULT_ROLLBACK") != nullptr;
    counting = armedStep != 0;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int sqlite3_step(sqlite3_stmt *statement)
{
    armFromEnvironment();
    static const auto realStep = reinterpret_cast<StepFunction>(sqliteSymbol("sqlite3_step"));
    static const auto sqlText = reinterpret_cast<SqlFunction>(sqliteSymbol("sqlite3_sql"));
    if (counting && (!faultWhile || access(faultWhile, F_OK) == 0)) {
        const char *sql = sqlText(statement);
        if (sql && std::strstr(sql, armedPart.constData()) && (++seen == armedStep || armedStep < 0)) {
            hasFired = true;
            failedText = sql;
            if (rollingBack) {
                static const auto handle =
                    reinterpret_cast<HandleFunction>(sqliteSymbol("sqlite3_db_handle"));
                static const auto exec = reinterpret_cast<ExecFunction>(sqliteSymbol("sqlite3_exec"));
                exec(handle(statement), "ROLLBACK", nullptr, nullptr, nullptr);
            }
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
    failedText.clear();
    counting = nth != 0;
}

void disarm()
{
    counting = false;
}

void setEndsTransaction(bool ends)
{
    rollingBack = ends;
}

bool fired()
{
    return hasFired;
}

int steps()
{
    return seen;
}

QString failedSql()
{
    return QString::fromUtf8(failedText);
}

} // namespace StepFault

#ifdef VARNO_PRELOADED
// Preloaded with VARNO_HANG_OPEN="<path>", opening that path never returns, as a
// read from a hung network share stays in the kernel whatever the program checks;
// "<path>.opened" is made first, so that a test knows the open has begun.
namespace {

using OpenFunction = int (*)(const char *, int, ...);

int hangOrOpen(const char *name, const char *path, int flags, va_list args)
{
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(args, int)) : 0;
    static const char *hung = std::getenv("VARNO_HANG_OPEN");
    if (hung && path && std::strcmp(path, hung) == 0) {
        ::close(::creat((QByteArray(hung) + ".opened").constData(), 0600));
        for (;;)
            ::pause();
    }
    const auto next = reinterpret_cast<OpenFunction>(dlsym(RTLD_NEXT, name));
    return next(path, flags, mode);
}

} // namespace

extern "C" __attribute__((visibility("default"))) int open(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const int fd = hangOrOpen("open", path, flags, args);
    va_end(args);
    return fd;
}

extern "C" __attribute__((visibility("default"))) int open64(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const int fd = hangOrOpen("open64", path, flags, args);
    va_end(args);
    return fd;
}
#endif
