#include "qtmaterialtabsinkbar.h"
#include "qtmaterialtabs.h"

#include <QEvent>
#include <QLayout>
#include <QPainter>
#include <QPropertyAnimation>

#include <cmath>

QtMaterialTabsInkBar::QtMaterialTabsInkBar(QtMaterialTabs *parent)
    : QtMaterialOverlayWidget(parent),
      m_tabs(parent),
      m_animation(new QPropertyAnimation(parent))
{
    Q_ASSERT(parent);

    m_animation->setPropertyName("tweenValue");
    m_animation->setEasingCurve(QEasingCurve::OutCirc);
    m_animation->setTargetObject(this);
    m_animation->setDuration(700);

    m_tabs->installEventFilter(this);

    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

QtMaterialTabsInkBar::~QtMaterialTabsInkBar()
{
    // The animation belongs to the tab bar and would otherwise outlive its target.
    delete m_animation.data();
}

void QtMaterialTabsInkBar::setTweenValue(qreal value)
{
    m_tween = value;
    refreshGeometry();
}

void QtMaterialTabsInkBar::refreshGeometry()
{
    const int index = m_tabs->currentIndex();
    QLayout *layout = m_tabs->layout();
    if (index < 0 || !layout)
        return;
    QLayoutItem *item = layout->itemAt(index);
    if (!item)
        return;

    const QRect r = item->geometry();
    int left = r.left();
    int width = r.width();
    if (m_animation && m_animation->state() == QAbstractAnimation::Running) {
        left = int(std::trunc(r.left() * m_tween + m_previousGeometry.left() * (1 - m_tween)));
        width = int(std::trunc(r.width() * m_tween + m_previousGeometry.width() * (1 - m_tween)));
    }
    m_geometry = QRect(left, r.bottom() - 3, width, 4);
    setGeometry(m_geometry);
    m_tabs->update();
}

void QtMaterialTabsInkBar::animate()
{
    raise();
    m_previousGeometry = m_geometry;
    if (!m_animation)
        return;
    m_animation->stop();
    m_animation->setStartValue(0);
    m_animation->setEndValue(1);
    m_animation->start();
}

bool QtMaterialTabsInkBar::eventFilter(QObject *obj, QEvent *event)
{
    if (obj == m_tabs && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        refreshGeometry();
    return QtMaterialOverlayWidget::eventFilter(obj, event);
}

void QtMaterialTabsInkBar::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    QPainter painter(this);
    painter.setOpacity(1);
    painter.fillRect(rect(), m_tabs->inkColor());
}

QRect QtMaterialTabsInkBar::overlayGeometry() const
{
    return m_geometry;
}
