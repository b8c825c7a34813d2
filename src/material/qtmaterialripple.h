#pragma once

#include <QBrush>
#include <QEasingCurve>
#include <QParallelAnimationGroup>
#include <QPoint>
#include <QPointer>

class QPropertyAnimation;
class QtMaterialRippleOverlay;

// One ink ripple: a disc that grows and fades on a ripple overlay.
class QtMaterialRipple : public QParallelAnimationGroup
{
    Q_OBJECT

    Q_PROPERTY(qreal radius WRITE setRadius READ radius)
    Q_PROPERTY(qreal opacity WRITE setOpacity READ opacity)

public:
    explicit QtMaterialRipple(const QPoint &center, QObject *parent = nullptr);
    QtMaterialRipple(const QPoint &center, QtMaterialRippleOverlay *overlay,
                     QObject *parent = nullptr);
    ~QtMaterialRipple() override;

    void attachOverlay(QtMaterialRippleOverlay *overlay);
    QtMaterialRippleOverlay *overlay() const;

    void setRadius(qreal radius);
    qreal radius() const { return m_radius; }

    void setOpacity(qreal opacity);
    qreal opacity() const { return m_opacity; }

    void setColor(const QColor &color);
    QColor color() const { return m_brush.color(); }

    void setBrush(const QBrush &brush);
    QBrush brush() const { return m_brush; }

    QPoint center() const { return m_center; }

    QPropertyAnimation *radiusAnim() const { return m_radiusAnimation; }
    QPropertyAnimation *opacityAnim() const { return m_opacityAnimation; }

    void setOpacityStartValue(qreal value);
    void setOpacityEndValue(qreal value);
    void setRadiusStartValue(qreal value);
    void setRadiusEndValue(qreal value);
    void setDuration(int msecs);

public slots:
    void destroy();

private:
    Q_DISABLE_COPY(QtMaterialRipple)

    QPropertyAnimation *animate(const QByteArray &property,
                                const QEasingCurve &easing = QEasingCurve::OutQuad,
                                int duration = 800);
    void init();
    void repaintOverlay();

    // Guarded: the overlay may die while this ripple is still waiting for deletion.
    QPointer<QtMaterialRippleOverlay> m_overlay;
    QPropertyAnimation *const m_radiusAnimation;
    QPropertyAnimation *const m_opacityAnimation;
    qreal m_radius = 0;
    qreal m_opacity = 0;
    QPoint m_center;
    QBrush m_brush;
};
