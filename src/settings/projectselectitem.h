#pragma once

// One row of the project choice: the project's name, marked when it is current.

#include "shell/dynamicwidget.h"

class ProjectSelectItem : public DynamicWidget
{
    Q_OBJECT
public:
    ProjectSelectItem(const QString &projectName, bool current, QWidget *parent = nullptr);

    QString projectName() const { return m_projectName; }
    bool isCurrent() const { return m_current; }

signals:
    void signalsProjectChanged(QString projectName);

private slots:
    void slotsPressed();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_projectName;
    bool m_current = false;
};
