#pragma once

// A gallery picture that arrives only when the test feeds it: a FIFO, so its write runs till
// then (a path that cannot be made a FIFO shows as a reader never coming).

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
    const QString path;
    explicit SlowPicture(const QString &fifo)
        : path(fifo)
    {
        ::mkfifo(QFile::encodeName(path), 0600);
    }
    ~SlowPicture()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        QFile::remove(path);
    }
    static QImage photo()
    {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(QColor(20, 160, 90));
        return image;
    }
    // Chooses the pipe through "Add From Gallery", which press opens.
    void choose(const std::function<void()> &press) const
    {
        answerFileDialogsWith([this](FileDialogKind, const QString &, const QString &) { return path; });
        answerModal<IconStyleDlg>([](IconStyleDlg *d) { d->slotsIconStyleChanged(1); });
        press();
        answerFileDialogsWith({});
    }
    // Waits, events running, for the pipe's reader and opens it for writing, kept open till feed().
    bool waitForReader()
    {
        const QByteArray name = QFile::encodeName(path);
        return m_fd >= 0 ||
               QTest::qWaitFor([&] { return (m_fd = ::open(name, O_WRONLY | O_NONBLOCK)) >= 0; }, 10000);
    }
    // Writes photo() as a PNG (or, when picture is false, a text) and closes the pipe.
    bool feed(bool picture)
    {
        QByteArray bytes(picture ? "" : "no picture");
        QBuffer png(&bytes);
        if (picture && !(png.open(QIODevice::WriteOnly) && photo().save(&png, "PNG")))
            return false;
        const bool written =
            waitForReader() && ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
        ::close(m_fd);
        m_fd = -1;
        return written;
    }

private:
    int m_fd = -1;
};

} // namespace varnotest
