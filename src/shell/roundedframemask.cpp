#include "roundedframemask.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace {
// The radius paintRoundedPanel draws the corners with.
constexpr int radius = 10;
}

RoundedFrameMask::RoundedFrameMask(QWidget *window)
    : QObject(window)
{
    window->installEventFilter(this);
    window->setMask(region(window->size()));
}

QRegion RoundedFrameMask::region(const QSize &size)
{
    QRegion shape(0, 0, size.width(), size.height());
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, size.width(), size.height()), radius, radius, Qt::AbsoluteSize);
    // Each corner drawn as the panel draws it; a pixel the edge only partly
    // covers would show the window's own background, so it is left out.
    const int w = qMin(radius, size.width());
    const int h = qMin(radius, size.height());
    for (const QPoint &origin : {QPoint(0, 0), QPoint(size.width() - w, 0), QPoint(0, size.height() - h),
                                 QPoint(size.width() - w, size.height() - h)}) {
        QImage corner(w, h, QImage::Format_ARGB32_Premultiplied);
        corner.fill(Qt::transparent);
        QPainter painter(&corner);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-origin);
        painter.fillPath(path, Qt::black);
        painter.end();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (qAlpha(corner.pixel(x, y)) < 255)
                    shape -= QRegion(origin.x() + x, origin.y() + y, 1, 1);
    }
    return shape;
}

bool RoundedFrameMask::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == parent()) {
        auto *window = static_cast<QWidget *>(watched);
        window->setMask(region(window->size()));
    }
    return QObject::eventFilter(watched, event);
}
