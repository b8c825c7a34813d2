#include "smalltmp.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace varnotest {

namespace {

QString missing = QStringLiteral("no small /tmp was asked for");

QString failure(const char *step)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

bool mountSmallTmp(qint64 bytes)
{
    if (unshare(CLONE_NEWNS) != 0) {
        missing = failure("no private mount namespace");
        return false;
    }
    // Nothing mounted here may reach the machine's own mounts.
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        missing = failure("mounts not made private");
        return false;
    }
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=1777";
    if (mount("tmpfs", "/tmp", "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) != 0) {
        missing = failure("no tmpfs over /tmp");
        return false;
    }
    // What the program stages in its temporary folder goes to this /tmp too, wherever
    // TMPDIR pointed.
    if (setenv("TMPDIR", "/tmp", 1) != 0) {
        missing = failure("TMPDIR not set");
        return false;
    }
    missing.clear();
    return true;
}

QString smallTmpMissing()
{
    return missing;
}

qint64 TmpFiller::freeBytes()
{
    struct statvfs info{};
    if (statvfs("/tmp", &info) != 0)
        return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

TmpFiller::TmpFiller(qint64 leaveFree)
{
    char name[] = "/tmp/.fillerXXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0)
        return;
    m_path = QString::fromLocal8Bit(name);
    const qint64 take = freeBytes() - leaveFree;
    m_ok = take <= 0 || posix_fallocate(fd, 0, off_t(take)) == 0;
    ::close(fd);
}

TmpFiller::~TmpFiller()
{
    if (!m_path.isEmpty())
        ::unlink(QFile::encodeName(m_path).constData());
}

} // namespace varnotest
