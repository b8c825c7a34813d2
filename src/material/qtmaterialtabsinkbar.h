#pragma once

#include "qtmaterialoverlaywidget.h"

#include <QPointer>
#include <QPropertyAnimation>
#include <QRect>

class QtMaterialTabs;

// An animated underline below the current tab of a tab bar.
class QtMaterialTabsInkBar : public QtMaterialOverlayWidget
{
    Q_OBJECT

    Q_PROPERTY(qreal tweenValue WRITE setTweenValue READ tweenValue)

public:
    explicit QtMaterialTabsInkBar(QtMaterialTabs *parent);
    ~QtMaterialTabsInkBar() override;

    void setTweenValue(qreal value);
    qreal tweenValue() const { return m_tween; }

    void refreshGeometry();
    void animate();

protected:
    bool eventFilter(QObject *obj, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    QRect overlayGeometry() const override;

private:
    Q_DISABLE_COPY(QtMaterialTabsInkBar)

    QtMaterialTabs *const m_tabs;
    // Owned by the tab bar, which may delete it first (raise() reorders its children).
    const QPointer<QPropertyAnimation> m_animation;
    QRect m_geometry;
    QRect m_previousGeometry;
    qreal m_tween = 0;
};
