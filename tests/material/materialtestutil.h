#pragma once

// Small helpers shared by the toolkit's widget tests: screenshots into the build
// folder and pixel comparisons.

#include <QAbstractAnimation>
#include <QAnimationGroup>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QRect>
#include <QString>
#include <QTest>
#include <QVariantAnimation>
#include <QWidget>

namespace materialtest {

inline QString screenshotDir()
{
    const QString dir = QStringLiteral(VARNO_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    return dir;
}

// Renders the widget offscreen and writes it as <name>.png into the screenshot
// folder; returns the image in ARGB32 form for pixel checks.
inline QImage screenshot(QWidget *widget, const QString &name)
{
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    image.save(screenshotDir() + QLatin1Char('/') + name + QStringLiteral(".png"));
    return image;
}

// Renders the widget and its children without any background, for checks on what
// the widget itself paints.
inline QImage renderAlone(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

inline bool sameColor(const QColor &a, const QColor &b, int tolerance = 2)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
           && qAbs(a.blue() - b.blue()) <= tolerance && qAbs(a.alpha() - b.alpha()) <= tolerance;
}

// Number of pixels inside the area whose colour matches within the tolerance.
inline int countColor(const QImage &image, const QColor &color, const QRect &area,
                      int tolerance = 2)
{
    int count = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (sameColor(image.pixelColor(x, y), color, tolerance))
                ++count;
    return count;
}

inline int countColor(const QImage &image, const QColor &color, int tolerance = 2)
{
    return countColor(image, color, image.rect(), tolerance);
}

// Number of pixels inside the area that are not fully transparent.
inline int countOpaque(const QImage &image, const QRect &area)
{
    int count = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                ++count;
    return count;
}

// Runs what is posted (state machines start and take their transitions from the
// event loop) and tells whether every animation under root has stopped. Endless
// animations, and with a limit those that run for longer, are left aside.
inline bool atRest(const QObject *root, int longerThan = -1)
{
    QCoreApplication::sendPostedEvents();
    const auto animations = root->findChildren<QAbstractAnimation *>();
    for (const QAbstractAnimation *a : animations) {
        int total = a->totalDuration();
        for (const QAbstractAnimation *g = a->group(); g; g = g->group())
            total = g->totalDuration() < 0 ? -1 : total;
        if (a->state() == QAbstractAnimation::Running && total >= 0
            && (longerThan < 0 || total <= longerThan))
            return false;
    }
    return true;
}

// Waits until the application's animation timer has advanced animations a few
// times: whatever animation was left running (by a widget deleted in the middle of
// a ripple, say) has been stepped since.
inline bool animationsTicked()
{
    QVariantAnimation probe;
    probe.setStartValue(0.0);
    probe.setEndValue(1.0);
    probe.setDuration(600000);
    int ticks = 0;
    QObject::connect(&probe, &QVariantAnimation::valueChanged, [&ticks] { ++ticks; });
    probe.start();
    const int started = ticks;
    return QTest::qWaitFor([&] { return ticks >= started + 3; }, 10000);
}

inline QString colorText(const QColor &c)
{
    return c.name(QColor::HexArgb);
}

} // namespace materialtest
