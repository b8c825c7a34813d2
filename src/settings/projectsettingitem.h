#pragma once

// One project row of the project settings page: a check box that chooses the
// project for upload, the project picture, the name and, for every project but
// the current one, a red delete button.

#include "shell/dynamicwidget.h"

#include <QString>

class QtMaterialCheckBox;
class QtMaterialIconButton;
class QtMaterialLabel;

class ProjectSettingItem : public DynamicWidget
{
    Q_OBJECT
public:
    ProjectSettingItem(const QString &projectName, bool current, QWidget *parent = nullptr);

    QString getProjectName() const;
    bool getProjectState() const;

    QtMaterialCheckBox *checkBox() const { return m_check; }
    QtMaterialIconButton *deleteButton() const { return m_delete; }

signals:
    void signalsProjectEdit(QString projectName);
    void signalsProjectDelete(QString projectName);

public slots:
    void slotsPressed();
    void pushButtonDelete_clicked();

private:
    QtMaterialCheckBox *m_check = nullptr;
    QtMaterialLabel *m_name = nullptr;
    QtMaterialIconButton *m_delete = nullptr;
};
