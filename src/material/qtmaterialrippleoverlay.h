#pragma once

#include "qtmaterialoverlaywidget.h"

#include <QList>
#include <QPainterPath>

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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Q_DISABLE_COPY(QtMaterialRippleOverlay)

    QList<QtMaterialRipple *> m_ripples;
    QPainterPath m_clipPath;
    bool m_useClip = false;
};
