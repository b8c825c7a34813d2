#include "qtmaterialcanvas.h"
#include "qtmaterialcanvasprivate.h"

#include <QPainter>

namespace {

// The application's dark page colour.
const QColor kPageColor(0x26, 0x34, 0x40);

} // namespace

QtMaterialCanvas::QtMaterialCanvas(QWidget *parent)
    : QScrollArea(parent), d_ptr(new QtMaterialCanvasPrivate(this))
{
    Q_D(QtMaterialCanvas);
    d->init();
    d->updateOrientation();
}

QtMaterialCanvas::QtMaterialCanvas(Qt::Orientation orientation, QWidget *parent)
    : QScrollArea(parent), d_ptr(new QtMaterialCanvasPrivate(this))
{
    Q_D(QtMaterialCanvas);
    d->init();
    d->orientation = orientation;
    d->updateOrientation();
}

QtMaterialCanvas::~QtMaterialCanvas() = default;

void QtMaterialCanvas::setOrientation(Qt::Orientation orientation)
{
    Q_D(QtMaterialCanvas);
    d->orientation = orientation;
    d->updateOrientation();
}

Qt::Orientation QtMaterialCanvas::orientation() const
{
    Q_D(const QtMaterialCanvas);
    return d->orientation;
}

void QtMaterialCanvas::setUseThemeColors(bool value)
{
    Q_D(QtMaterialCanvas);

    if (d->useThemeColors == value)
        return;
    d->useThemeColors = value;
    update();
    viewport()->update();
}

bool QtMaterialCanvas::useThemeColors() const
{
    Q_D(const QtMaterialCanvas);
    return d->useThemeColors;
}

void QtMaterialCanvas::setBackgroundColor(const QColor &color)
{
    Q_D(QtMaterialCanvas);
    d->backgroundColor = color;
    d->useThemeColors = false;
    update();
    viewport()->update();
}

QColor QtMaterialCanvas::backgroundColor() const
{
    Q_D(const QtMaterialCanvas);

    if (!d->useThemeColors && d->backgroundColor.isValid())
        return d->backgroundColor;
    return kPageColor;
}

void QtMaterialCanvas::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    QPainter painter(viewport());
    painter.fillRect(QRect(0, 0, width(), height()), backgroundColor());
}
