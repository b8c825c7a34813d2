#include "projectselectdlg.h"

#include "settings/projectselectitem.h"
#include "shell/framedialog.h"
#include "shell/roundedpanel.h"
#include "store/projectlist.h"

#include <QGridLayout>
#include <qtmaterialgroupbox.h>
#include <qtmaterialtheme.h>

ProjectSelectDlg::ProjectSelectDlg(QWidget *parent)
    : MyDialog(parent)
{
    m_list = initListDialog(this, QStringLiteral("ProjectSelectDlg"));
}

void ProjectSelectDlg::initDlgCtrl()
{
    // A second call starts the list afresh.
    if (QLayout *old = m_list->layout()) {
        qDeleteAll(m_list->findChildren<ProjectSelectItem *>(QString(), Qt::FindDirectChildrenOnly));
        delete old;
    }
    QStringList projects;
    getProjectList(projects);
    QString current;
    getCurrentProject(current);

    auto *grid = new QGridLayout;
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    for (int i = 0; i < projects.size(); ++i) {
        auto *item = new ProjectSelectItem(projects.at(i), projects.at(i) == current, m_list);
        connect(item, &ProjectSelectItem::signalsProjectChanged, this,
                &ProjectSelectDlg::slotsProjectChanged);
        grid->addWidget(item, i, 0);
    }
    grid->setRowStretch(projects.size(), 1);
    m_list->setLayout(grid);
}

void ProjectSelectDlg::slotsProjectChanged(QString name)
{
    projectName = name;
    accept();
}

void ProjectSelectDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    QWidget::paintEvent(event);
}
