#include "colorpickerctrl.h"

#include <QConicalGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

const QColor kStops[] = {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::blue, Qt::magenta, Qt::red};

struct Geometry
{
    QPointF centre;
    double radius = 0.0;
};

Geometry geometryOf(const QRect &area)
{
    const int size = std::min(area.width(), area.height());
    Geometry g;
    g.centre = QRectF(area).center();
    g.radius = size / 2 - 0.1 * size;
    return g;
}

QRect squareAround(const QPointF &centre, double radius)
{
    return QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius).toRect();
}

int mix(int a, int b, double f)
{
    return int(std::lround(a + (b - a) * f));
}

} // namespace

ColorPickerCtrl::ColorPickerCtrl(QWidget *parent)
    : QWidget(parent)
{
    setPalette(QPalette(QColor(Qt::white)));
    setMinimumSize(150, 150);
}

QColor ColorPickerCtrl::ringColor(double angle)
{
    // The gradient runs counter-clockwise on screen; the angle runs clockwise.
    double t = std::fmod(360.0 - angle, 360.0);
    if (t < 0)
        t += 360.0;
    const double position = t / 60.0;
    const int segment = std::min(5, int(position));
    const double f = position - segment;
    const QColor &a = kStops[segment];
    const QColor &b = kStops[segment + 1];
    return QColor(mix(a.red(), b.red(), f), mix(a.green(), b.green(), f), mix(a.blue(), b.blue(), f));
}

void ColorPickerCtrl::setColor(QColor color)
{
    if (dragging)
        return;
    currentColor = color;
    externalColor = true;
    update();
}

void ColorPickerCtrl::getColor(const QPoint &point)
{
    // The colour under a point of the ring depends only on its direction from
    // the centre; reading it back from the screen would pick up whatever covers
    // the wheel.
    const QPointF centre = geometryOf(rect()).centre;
    const double a = std::atan2(point.y() - centre.y(), point.x() - centre.x()) * 180.0 / M_PI;
    currentColor = ringColor(a);
}

QPoint ColorPickerCtrl::markerCentre() const
{
    const Geometry g = geometryOf(rect());
    const double rad = markerAngle * M_PI / 180.0;
    return QPointF(g.centre.x() + 0.9 * g.radius * std::cos(rad),
                   g.centre.y() + 0.9 * g.radius * std::sin(rad))
        .toPoint();
}

double ColorPickerCtrl::distanceFromCentre(const QPoint &pos) const
{
    const QPointF centre = geometryOf(rect()).centre;
    return std::hypot(pos.x() - centre.x(), pos.y() - centre.y());
}

bool ColorPickerCtrl::onRing(const QPoint &pos) const
{
    // The ring itself, not its bounding squares: near the diagonals the inner
    // square covers most of the ring.
    if (!outerRect.contains(pos))
        return false;
    const double r = geometryOf(rect()).radius;
    const double d = distanceFromCentre(pos);
    return d <= r + 0.5 && d >= 0.8 * r - 0.5;
}

bool ColorPickerCtrl::onCentre(const QPoint &pos) const
{
    return centreRect.contains(pos) && distanceFromCentre(pos) <= 0.5 * geometryOf(rect()).radius + 0.5;
}

double ColorPickerCtrl::angleOf(const QPoint &pos) const
{
    const int cx = (width() - 1) / 2;
    const int cy = (height() - 1) / 2;
    return std::atan2(double(pos.y() - cy), double(pos.x() - cx)) * 180.0 / M_PI;
}

void ColorPickerCtrl::takeAngle(const QPoint &pos)
{
    markerAngle = angleOf(pos);
    getColor(markerCentre());
    update();
}

void ColorPickerCtrl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint pos = event->pos();
        if (onCentre(pos)) {
            emit colorSelected();
        } else if (onRing(pos)) {
            dragging = true;
            externalColor = false;
            takeAngle(pos);
            emit colorChanged(currentColor);
        }
    }
    QWidget::mousePressEvent(event);
}

void ColorPickerCtrl::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging && onRing(event->pos())) {
        takeAngle(event->pos());
        emit colorChanged(currentColor);
    }
    QWidget::mouseMoveEvent(event);
}

void ColorPickerCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    if (dragging) {
        emit colorChanged(currentColor);
        dragging = false;
    }
    QWidget::mouseReleaseEvent(event);
}

void ColorPickerCtrl::showEvent(QShowEvent *event)
{
    update();
    QWidget::showEvent(event);
}

void ColorPickerCtrl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::transparent));

    const Geometry g = geometryOf(rect());
    const double r = g.radius;
    if (r <= 0)
        return;

    QConicalGradient gradient(g.centre, 0);
    for (int i = 0; i < 7; ++i)
        gradient.setColorAt(i / 6.0, kStops[i]);

    QPainterPath ring;
    ring.addEllipse(g.centre, r, r);
    QPainterPath hole;
    hole.addEllipse(g.centre, 0.8 * r, 0.8 * r);
    painter.fillPath(ring.subtracted(hole), gradient);
    updateSquares();

    const double rad = markerAngle * M_PI / 180.0;
    const QPointF marker(g.centre.x() + 0.9 * r * std::cos(rad),
                         g.centre.y() + 0.9 * r * std::sin(rad));
    painter.setPen(QColor(QStringLiteral("#128bf1")));
    painter.setBrush(gradient);
    painter.drawEllipse(marker, 0.2 * r, 0.2 * r);

    if (!externalColor)
        getColor(markerCentre());

    painter.setPen(Qt::NoPen);
    painter.setBrush(currentColor);
    painter.drawEllipse(g.centre, 0.5 * r, 0.5 * r);
}

void ColorPickerCtrl::resizeEvent(QResizeEvent *event)
{
    updateSquares();
    QWidget::resizeEvent(event);
}

void ColorPickerCtrl::updateSquares()
{
    const Geometry g = geometryOf(rect());
    outerRect = squareAround(g.centre, g.radius);
    innerRect = squareAround(g.centre, 0.8 * g.radius);
    centreRect = squareAround(g.centre, 0.5 * g.radius);
}
