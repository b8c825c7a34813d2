#pragma once

#include "qtmaterialoverlaywidget.h"

#include <QList>
#include <QPainterPath>
#include <QPointer>

#include <functional>

class QtMaterialRipple;

// A transparent overlay that paints the ripples running over the widget below it.
class QtMaterialRippleOverlay : public QtMaterialOverlayWidget
{
    Q_OBJECT

public:
    explicit QtMaterialRippleOverlay(QWidget *parent = nullptr);
    ~QtMaterialRippleOverlay() override;

    void addRipple(QtMaterialRipple *ripple);
    void addRipple(const QPoint &position, qreal radius = 300);

    void removeRipple(QtMaterialRipple *ripple);

    void setClipEnabled(bool enable);
    bool hasClip() const { return m_useClip; }

    void setClipShape(const QPainterPath &path);
    QPainterPath clipShape() const { return m_clipPath; }

    QList<QtMaterialRipple *> ripples() const { return m_ripples; }

    // Lays this overlay on the parent of `widget`, over the rectangle that `geometry`
    // gives for it, and keeps it there as the widget moves, resizes, shows or changes
    // parent, and as that parent resizes. The widget still owns the overlay.
    using FollowGeometry = std::function<QRect(const QWidget *)>;
    void followWidget(QWidget *widget, FollowGeometry geometry);
    // Twice the widget's size, centred on it, so a ripple may spread beyond it.
    static QRect doubledAround(const QWidget *widget);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *obj, QEvent *event) override;
    QRect overlayGeometry() const override;

private:
    Q_DISABLE_COPY(QtMaterialRippleOverlay)

    QList<QtMaterialRipple *> m_ripples;
    QPainterPath m_clipPath;
    bool m_useClip = false;
    QPointer<QWidget> m_followed;
    FollowGeometry m_followGeometry;
};
