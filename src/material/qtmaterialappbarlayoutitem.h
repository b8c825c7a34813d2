#pragma once

#include <QWidgetItem>

class QAction;

// The layout item of an action button: empty while its action is missing or hidden.
class QtMaterialAppBarLayoutItem : public QWidgetItem
{
public:
    QtMaterialAppBarLayoutItem(QWidget *widget, QAction *action);
    ~QtMaterialAppBarLayoutItem() override;

    QAction *action() const { return m_action; }

    bool isEmpty() const override;

private:
    Q_DISABLE_COPY(QtMaterialAppBarLayoutItem)

    QAction *m_action;
};
