#include "qtmaterialrippleoverlay.h"
#include "qtmaterialripple.h"

#include <QPainter>
#include <QPropertyAnimation>

QtMaterialRippleOverlay::QtMaterialRippleOverlay(QWidget *parent)
    : QtMaterialOverlayWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

QtMaterialRippleOverlay::~QtMaterialRippleOverlay()
{
    // Let go of the ripples while this is still a whole overlay, so that none of
    // them reaches it during the base classes' destruction.
    for (QtMaterialRipple *ripple : qAsConst(m_ripples)) {
        ripple->attachOverlay(nullptr);
        ripple->stop();
        ripple->deleteLater();
    }
    m_ripples.clear();
}

void QtMaterialRippleOverlay::addRipple(QtMaterialRipple *ripple)
{
    ripple->attachOverlay(this);
    m_ripples.push_back(ripple);
    ripple->start(QAbstractAnimation::KeepWhenStopped);

    // Ripples still running when the overlay dies are stopped and deleted later.
    connect(this, &QObject::destroyed, ripple, &QAbstractAnimation::stop);
    connect(this, &QObject::destroyed, ripple, &QObject::deleteLater);
}

void QtMaterialRippleOverlay::addRipple(const QPoint &position, qreal radius)
{
    auto *ripple = new QtMaterialRipple(position);
    ripple->setRadiusEndValue(radius);
    addRipple(ripple);
}

void QtMaterialRippleOverlay::removeRipple(QtMaterialRipple *ripple)
{
    if (!m_ripples.removeOne(ripple))
        return;
    // The ripple usually asks for its removal from its own finished() signal, so it
    // must outlive this call: it is detached and deleted from the event loop.
    disconnect(this, nullptr, ripple, nullptr);
    ripple->attachOverlay(nullptr);
    ripple->stop();
    ripple->deleteLater();
    update();
}

void QtMaterialRippleOverlay::setClipEnabled(bool enable)
{
    m_useClip = enable;
    update();
}

void QtMaterialRippleOverlay::setClipShape(const QPainterPath &path)
{
    m_clipPath = path;
    update();
}

void QtMaterialRippleOverlay::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    if (m_useClip)
        painter.setClipPath(m_clipPath);

    for (const QtMaterialRipple *ripple : qAsConst(m_ripples)) {
        const qreal radius = ripple->radius();
        const QPointF center = ripple->center();
        painter.setOpacity(ripple->opacity());
        painter.setBrush(ripple->brush());
        painter.drawEllipse(QRectF(center.x() - radius, center.y() - radius,
                                   2 * radius, 2 * radius));
    }
}
