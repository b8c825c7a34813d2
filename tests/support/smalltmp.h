#pragma once

// A small /tmp of this test process's own: a tmpfs mounted over /tmp inside a
// private mount namespace, so a disk that fills and frees again during the work
// (libxlsxwriter's staged rows, a staging folder) can be tried without touching
// the machine's /tmp. Needs root, or root of a user namespace (./test runs the
// tests as one); where it cannot be had, the tests that need it skip.

#include "testmain.h"

#include <QString>
#include <QtGlobal>

namespace varnotest {

// Mounts a tmpfs of the given size over /tmp and points TMPDIR at it. Call before
// any thread starts and before anything is made under /tmp (VARNO_TEST_MAIN_SMALL_TMP
// does).
bool mountSmallTmp(qint64 bytes);
// Empty when the small /tmp is there; else why it is not.
QString smallTmpMissing();

// Takes the room of /tmp until only leaveFree bytes are free, while it lives.
class TmpFiller
{
public:
    explicit TmpFiller(qint64 leaveFree);
    ~TmpFiller();
    TmpFiller(const TmpFiller &) = delete;
    TmpFiller &operator=(const TmpFiller &) = delete;
    bool ok() const { return m_ok; }
    // Bytes free on /tmp now.
    static qint64 freeBytes();

private:
    QString m_path;
    bool m_ok = false;
};

} // namespace varnotest

#define VARNO_TEST_MAIN_SMALL_TMP(TestObject, bytes) \
    VARNO_TEST_MAIN_AFTER(TestObject, varnotest::mountSmallTmp(bytes))
