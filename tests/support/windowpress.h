#pragma once

// A user's press and release on a control, given to its window at a point of
// the control: the main window's page area scrolls kinetically and hands a
// press on to the control under it only when no drag follows, and only at
// points on the screen (the offscreen screen is smaller than a 1920 by 1080
// window), so the point is taken near the control's left edge and must lie on
// the screen.

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace varnotest {

inline bool pressOnScreen(QWidget *control)
{
    QWindow *window = control ? control->window()->windowHandle() : nullptr;
    if (!window)
        return false;
    const QPoint at(qMin(20, control->width() / 2), control->height() / 2);
    if (!QGuiApplication::primaryScreen()->geometry().contains(control->mapToGlobal(at)))
        return false;
    const QPoint onWindow = control->mapTo(control->window(), at);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, onWindow);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, onWindow);
    return true;
}

} // namespace varnotest
