#include "qtmaterialrippleoverlay.h"
#include "qtmaterialripple.h"

#include <QEvent>
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

void QtMaterialRippleOverlay::followWidget(QWidget *widget, FollowGeometry geometry)
{
    if (m_followed)
        m_followed->removeEventFilter(this);
    m_followed = widget;
    m_followGeometry = std::move(geometry);
    if (!widget)
        return;
    widget->installEventFilter(this);
    if (QWidget *parent = widget->parentWidget()) {
        if (parentWidget() != parent)
            setParent(parent);
        setGeometry(overlayGeometry());
        show();
    }
}

QRect QtMaterialRippleOverlay::doubledAround(const QWidget *widget)
{
    QRect r(0, 0, 2 * widget->width(), 2 * widget->height());
    r.moveCenter(widget->geometry().center());
    return r;
}

QRect QtMaterialRippleOverlay::overlayGeometry() const
{
    if (m_followed && m_followGeometry)
        return m_followGeometry(m_followed.data());
    return QtMaterialOverlayWidget::overlayGeometry();
}

bool QtMaterialRippleOverlay::eventFilter(QObject *obj, QEvent *event)
{
    // The type is tested first: the followed widget may be in its destruction.
    const QEvent::Type type = event->type();
    if ((type == QEvent::Move || type == QEvent::Resize || type == QEvent::ParentChange
         || type == QEvent::Show)
        && obj && obj == static_cast<QObject *>(m_followed.data())) {
        if (type == QEvent::ParentChange) {
            // A parent change hides the overlay; it comes back on the new parent.
            if (QWidget *parent = m_followed->parentWidget()) {
                setParent(parent);
                setGeometry(overlayGeometry());
                show();
            }
        } else if (type == QEvent::Show) {
            if (parentWidget() && isHidden())
                show();
        } else {
            setGeometry(overlayGeometry());
        }
    }
    return QtMaterialOverlayWidget::eventFilter(obj, event);
}
