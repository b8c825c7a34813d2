#pragma once

#include <QLayout>
#include <QList>

class QAction;
class QLabel;
class QtMaterialAppBar;
class QtMaterialAppBarLayoutItem;
class QtMaterialIconButton;

// Places the parts of an app bar in one row of square cells: the navigation
// button at the left, the action buttons flush with the right edge, the title
// between them.
class QtMaterialAppBarLayout : public QLayout
{
    Q_OBJECT

public:
    // At most this many actions get a button.
    static constexpr int MaxActions = 3;

    explicit QtMaterialAppBarLayout(QtMaterialAppBar *parent);
    ~QtMaterialAppBarLayout() override;

    QtMaterialIconButton *navButton() const { return m_navButton; }
    void setNavButton(QtMaterialIconButton *button);

    QLabel *titleLabel() const { return m_titleLabel; }
    void setTitleLabel(QLabel *label);

    QList<QtMaterialAppBarLayoutItem *> actionIconButtons() const { return m_items; }

    void insertAction(int index, QAction *action);
    void updateActions();
    void updateButtons();

    void addItem(QLayoutItem *item) override;
    Qt::Orientations expandingDirections() const override;
    QSize minimumSize() const override;
    QSize maximumSize() const override;
    void setGeometry(const QRect &rect) override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;

private:
    Q_DISABLE_COPY(QtMaterialAppBarLayout)

    QtMaterialIconButton *createIconButton(QAction *action);
    // Side of one square cell: the title's line height or 1.33 icon heights.
    int cellSize() const;

    QtMaterialAppBar *const m_appBar;
    QtMaterialIconButton *m_navButton = nullptr;
    QLabel *m_titleLabel = nullptr;
    QList<QtMaterialAppBarLayoutItem *> m_items;
    QList<QtMaterialIconButton *> m_buttons;
};
