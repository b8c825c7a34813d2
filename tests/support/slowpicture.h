#pragma once

// A picture chosen from the gallery that arrives only when the test says so: a FIFO
// written by feed() once the reader has opened it, so the write runs till then.

#include "modalanswer.h"

#include "shell/filedialogs.h"
#include "shell/iconstyledlg.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
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
    {}
    ~SlowPicture()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        QFile::remove(m_path);
    }
    bool isValid() const { return m_valid; }
    QString path() const { return m_path; }

    // The picture fed, as it must read back.
    static QImage photo()
    {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(QColor(20, 160, 90));
        return image;
    }

    // Chooses the pipe through "Add From Gallery", which press opens.
    void choose(const std::function<void()> &press) const
    {
        const QString path = m_path;
        answerFileDialogsWith([path](FileDialogKind, const QString &, const QString &) { return path; });
        answerModal<IconStyleDlg>([](IconStyleDlg *d) { d->slotsIconStyleChanged(1); });
        press();
        answerFileDialogsWith({});
    }

    // Waits, the event loop running, until the pipe has a reader, and opens it for
    // writing; it stays open, with nothing written, until feed() or the end.
    bool waitForReader()
    {
        const QByteArray name = QFile::encodeName(m_path);
        return m_fd >= 0 ||
               QTest::qWaitFor([&] { return (m_fd = ::open(name, O_WRONLY | O_NONBLOCK)) >= 0; }, 10000);
    }

    // Writes photo() as a PNG (or, when picture is false, a text) and closes the pipe.
    bool feed(bool picture)
    {
        QBuffer png;
        if (!png.open(QIODevice::WriteOnly) || !photo().save(&png, "PNG") || !waitForReader())
            return false;
        const QByteArray bytes = picture ? png.data() : QByteArray("no picture");
        const bool written = ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
        ::close(m_fd);
        m_fd = -1;
        return written;
    }

private:
    QString m_path;
    bool m_valid;
    int m_fd = -1;
};

} // namespace varnotest
