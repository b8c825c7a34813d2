#include "qtmaterialappbarlayout.h"
#include "qtmaterialappbar.h"
#include "qtmaterialappbarlayoutitem.h"
#include "qtmaterialiconbutton.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>

QtMaterialAppBarLayout::QtMaterialAppBarLayout(QtMaterialAppBar *parent)
    : QLayout(parent), m_appBar(parent)
{
}

QtMaterialAppBarLayout::~QtMaterialAppBarLayout()
{
    // The items are the layout's; their buttons belong to the bar.
    qDeleteAll(m_items);
}

void QtMaterialAppBarLayout::setNavButton(QtMaterialIconButton *button)
{
    m_navButton = button;
    if (button)
        addChildWidget(button);
    invalidate();
}

void QtMaterialAppBarLayout::setTitleLabel(QLabel *label)
{
    m_titleLabel = label;
    if (label)
        addChildWidget(label);
    invalidate();
}

void QtMaterialAppBarLayout::insertAction(int index, QAction *action)
{
    Q_UNUSED(index)

    if (m_items.size() < MaxActions) {
        QtMaterialIconButton *button = createIconButton(action);
        m_items.append(new QtMaterialAppBarLayoutItem(button, action));
        m_buttons.append(button);
    }
    invalidate();
}

void QtMaterialAppBarLayout::updateActions()
{
    for (int i = 0; i < m_items.size(); ++i) {
        // A deleted action's button stays as it was.
        QAction *action = m_items.at(i)->action();
        if (!action)
            continue;
        m_buttons.at(i)->setIcon(action->icon());
        m_buttons.at(i)->setToolTip(action->text());
    }
}

void QtMaterialAppBarLayout::updateButtons()
{
    if (!m_appBar)
        return;
    if (m_navButton) {
        m_navButton->setColor(m_appBar->foregroundColor());
        m_navButton->setIconSize(m_appBar->iconSize());
    }
    for (QtMaterialIconButton *button : qAsConst(m_buttons)) {
        button->setColor(m_appBar->foregroundColor());
        button->setIconSize(m_appBar->iconSize());
    }
}

QtMaterialIconButton *QtMaterialAppBarLayout::createIconButton(QAction *action)
{
    auto *button = new QtMaterialIconButton(action->icon(), m_appBar);
    if (m_appBar) {
        button->setIconSize(m_appBar->iconSize());
        button->setColor(m_appBar->foregroundColor());
    }
    button->setToolTip(action->text());
    addChildWidget(button);
    connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
    return button;
}

int QtMaterialAppBarLayout::cellSize() const
{
    const int iconHeight = m_appBar ? m_appBar->iconSize().height() : 0;
    const int fontHeight = m_titleLabel ? QFontMetrics(m_titleLabel->font()).height() : 0;
    return int(qMax(qreal(fontHeight), iconHeight * 1.33));
}

void QtMaterialAppBarLayout::addItem(QLayoutItem *item)
{
    Q_UNUSED(item)
}

Qt::Orientations QtMaterialAppBarLayout::expandingDirections() const
{
    return Qt::Horizontal;
}

QSize QtMaterialAppBarLayout::minimumSize() const
{
    return sizeHint();
}

QSize QtMaterialAppBarLayout::maximumSize() const
{
    return QSize(-1, -1);
}

void QtMaterialAppBarLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);

    int left, top, right, bottom;
    getContentsMargins(&left, &top, &right, &bottom);
    const int s = cellSize();
    const int n = m_buttons.size();
    const int w = rect.width();

    int titleLeft = left;
    if (m_navButton) {
        m_navButton->setGeometry(left, top, s, s);
        titleLeft += s;
    }
    // The action buttons ignore the right margin: the last one is flush with the edge.
    for (int i = 0; i < n; ++i)
        m_buttons.at(i)->setGeometry(w - (n - i) * s, top, s, s);
    if (m_titleLabel) {
        const int titleRight = w - left - right - n * s - 1;
        m_titleLabel->setGeometry(QRect(QPoint(titleLeft, top), QPoint(titleRight, top + s - 1)));
    }
}

QLayoutItem *QtMaterialAppBarLayout::itemAt(int index) const
{
    Q_UNUSED(index)
    return nullptr;
}

QLayoutItem *QtMaterialAppBarLayout::takeAt(int index)
{
    Q_UNUSED(index)
    return nullptr;
}

int QtMaterialAppBarLayout::count() const
{
    return m_buttons.size() + 1 + (m_navButton ? 1 : 0);
}

QSize QtMaterialAppBarLayout::sizeHint() const
{
    int left, top, right, bottom;
    getContentsMargins(&left, &top, &right, &bottom);
    return QSize(-1, top + cellSize() + bottom);
}
