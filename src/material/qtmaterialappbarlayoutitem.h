#pragma once

#include <QAction>
#include <QPointer>
#include <QWidgetItem>

// The layout item of an action button: empty while its action is missing or hidden.
// The action is watched: once it is deleted the item reads as missing.
class QtMaterialAppBarLayoutItem : public QWidgetItem
{
public:
    QtMaterialAppBarLayoutItem(QWidget *widget, QAction *action);
    ~QtMaterialAppBarLayoutItem() override;

    QAction *action() const { return m_action; }

    bool isEmpty() const override;

private:
    Q_DISABLE_COPY(QtMaterialAppBarLayoutItem)

    QPointer<QAction> m_action;
};
