#include "projectselectdlg.h"

#include "settings/projectselectitem.h"
#include "shell/framedialog.h"
#include "shell/roundedpanel.h"
#include "store/projectlist.h"

#include <QGridLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>
#include <qtmaterialiconbutton.h>
#include <qtmaterialtheme.h>

ProjectSelectDlg::ProjectSelectDlg(QWidget *parent)
    : MyDialog(parent)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("ProjectSelectDlg"));


    QtMaterialCanvas *canvas = nullptr;
    m_list = makeCanvasBox(this, canvas, QColor(0x1F, 0x29, 0x33));

    auto *layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(close, 0, 0, Qt::AlignRight | Qt::AlignTop);
    layout->addWidget(canvas, 1, 0);
    layout->setRowStretch(1, 1);
}

void ProjectSelectDlg::initDlgCtrl()
{
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
    delete m_list->layout();
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
