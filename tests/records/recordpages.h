#pragma once

// Helpers of the page tests: answering the next modal box and the texts sent to
// the snackbar.

#include "bus/broadcastsocket.h"
#include "store/globals.h"
#include "xlsxreadback.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMap>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <qtmateriallabel.h>

#include <memory>

namespace recordpages {

using namespace xlsxreadback;

// How long a test waits for an export's notice: it comes once the rows are read and
// the workbook is written off the window's thread.
constexpr int ExportWaitMs = 10000;

// What the next modal box showed. The box is looked for every 10 ms for up to
// 3 s, or until stop().
struct Box
{
    bool seen = false;
    QString text;
    QSize size;
    QTimer timer;
    int ticks = 0;
    void stop() { timer.stop(); }
};

// Answers the next modal box with its "Ok" (ok) or "Cancel" button.
inline std::shared_ptr<Box> answerNextBox(bool ok)
{
    auto box = std::make_shared<Box>();
    Box *b = box.get();
    QObject::connect(&b->timer, &QTimer::timeout, [b, ok]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            if (++b->ticks > 300)
                b->stop();
            return;
        }
        b->stop();
        b->seen = true;
        b->size = modal->size();
        if (auto *label = modal->findChild<QtMaterialLabel *>())
            b->text = label->text();
        auto *button = modal->findChild<QAbstractButton *>(ok ? "pushButtonOk" : "pushButtonCancel");
        if (button)
            button->click();
        else
            modal->close();
    });
    b->timer.start(10);
    return box;
}

// The texts for the main window's snackbar since the spy was made.
inline QStringList infos(const QSignalSpy &spy)
{
    QStringList texts;
    for (const QList<QVariant> &args : spy)
        texts.append(args.at(0).toString());
    return texts;
}

// Whether the window shows a row's delete-mode check box as the row paints it
// now: that square of the window's last flushed picture against a fresh paint.
inline bool checkBoxShown(QWidget *row)
{
    QWidget *window = row->window();
    const QRect box(20, (row->height() - 20) / 2, 20, 20);
    const QImage shown = window->screen()->grabWindow(window->winId()).toImage().copy(
        box.translated(row->mapTo(window, QPoint())));
    const QImage painted = row->grab(box).toImage();
    return shown.convertToFormat(QImage::Format_RGB32) == painted.convertToFormat(QImage::Format_RGB32);
}

} // namespace recordpages
