#pragma once

// Pictures of pages and dialogs for a look by eye, each checked for a colour it
// must show.

#include "shell/mydialog.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>
#include <QWidget>

namespace transfertest {

// Saves a look at a page (at 1920x1080) or a dialog (at its own size) under
// VARNO_SCREENSHOT_DIR and answers whether the picture holds the given colour.
inline bool saveShot(QWidget &widget, const QString &name, const QColor &expected)
{
    auto *dialog = qobject_cast<MyDialog *>(&widget);
    if (dialog && !dialog->getId().isEmpty())
        widget.resize(1920, 1080);
    const QImage image = widget.grab().toImage();
    QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR));
    image.save(QStringLiteral(VARNO_SCREENSHOT_DIR "/") + name + ".png");
    int hits = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4)
            hits += image.pixelColor(x, y) == expected;
    }
    return hits > 50;
}

} // namespace transfertest
