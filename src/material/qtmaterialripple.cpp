#include "qtmaterialripple.h"
#include "qtmaterialrippleoverlay.h"

#include <QPropertyAnimation>

QtMaterialRipple::QtMaterialRipple(const QPoint &center, QObject *parent)
    : QParallelAnimationGroup(parent),
      m_radiusAnimation(animate("radius")),
      m_opacityAnimation(animate("opacity")),
      m_center(center)
{
    init();
}

QtMaterialRipple::QtMaterialRipple(const QPoint &center, QtMaterialRippleOverlay *overlay,
                                   QObject *parent)
    : QParallelAnimationGroup(parent),
      m_overlay(overlay),
      m_radiusAnimation(animate("radius")),
      m_opacityAnimation(animate("opacity")),
      m_center(center)
{
    init();
}

QtMaterialRipple::~QtMaterialRipple() = default;

void QtMaterialRipple::attachOverlay(QtMaterialRippleOverlay *overlay)
{
    m_overlay = overlay;
}

QtMaterialRippleOverlay *QtMaterialRipple::overlay() const
{
    return m_overlay;
}

void QtMaterialRipple::setRadius(qreal radius)
{
    if (m_radius == radius)
        return;
    m_radius = radius;
    repaintOverlay();
}

void QtMaterialRipple::setOpacity(qreal opacity)
{
    if (m_opacity == opacity)
        return;
    m_opacity = opacity;
    repaintOverlay();
}

void QtMaterialRipple::setColor(const QColor &color)
{
    if (m_brush.color() == color)
        return;
    m_brush.setColor(color);
    repaintOverlay();
}

void QtMaterialRipple::setBrush(const QBrush &brush)
{
    m_brush = brush;
    repaintOverlay();
}

void QtMaterialRipple::setOpacityStartValue(qreal value)
{
    m_opacityAnimation->setStartValue(value);
}

void QtMaterialRipple::setOpacityEndValue(qreal value)
{
    m_opacityAnimation->setEndValue(value);
}

void QtMaterialRipple::setRadiusStartValue(qreal value)
{
    m_radiusAnimation->setStartValue(value);
}

void QtMaterialRipple::setRadiusEndValue(qreal value)
{
    m_radiusAnimation->setEndValue(value);
}

void QtMaterialRipple::setDuration(int msecs)
{
    m_radiusAnimation->setDuration(msecs);
    m_opacityAnimation->setDuration(msecs);
}

void QtMaterialRipple::destroy()
{
    if (m_overlay)
        m_overlay->removeRipple(this);
}

QPropertyAnimation *QtMaterialRipple::animate(const QByteArray &property,
                                              const QEasingCurve &easing, int duration)
{
    auto *animation = new QPropertyAnimation;
    animation->setTargetObject(this);
    animation->setPropertyName(property);
    animation->setEasingCurve(easing);
    animation->setDuration(duration);
    addAnimation(animation);
    return animation;
}

void QtMaterialRipple::init()
{
    setOpacityStartValue(0.5);
    setOpacityEndValue(0);
    setRadiusStartValue(0);
    setRadiusEndValue(300);

    m_brush.setColor(Qt::black);
    m_brush.setStyle(Qt::SolidPattern);

    connect(this, &QAbstractAnimation::finished, this, &QtMaterialRipple::destroy);
}

void QtMaterialRipple::repaintOverlay()
{
    if (m_overlay)
        m_overlay->update();
}
