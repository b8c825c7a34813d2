#pragma once

// A picture file that arrives only when the test says so: a FIFO whose bytes are
// written by feed(), once the reader has opened it. A picture write started from it
// runs until then, however long the test takes meanwhile.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnotest {

class SlowPicture
{
public:
    explicit SlowPicture(const QString &path)
        : m_path(path)
        , m_valid(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0)
    {
    }
    ~SlowPicture() { QFile::remove(m_path); }

    bool isValid() const { return m_valid; }
    QString path() const { return m_path; }

    // Waits, with the event loop running, for the reader to open the pipe, then
    // writes bytes (less than a pipe holds) and closes it. Answers whether it did.
    bool feed(const QByteArray &bytes) const
    {
        int fd = -1;
        const auto opened = [&] {
            fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            return fd >= 0;
        };
        if (!QTest::qWaitFor(opened, 10000))
            return false;
        const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
        ::close(fd);
        return written;
    }

private:
    QString m_path;
    bool m_valid;
};

} // namespace varnotest
