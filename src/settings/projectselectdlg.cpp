#include "projectselectdlg.h"

#include "settings/projectselectitem.h"
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
    setObjectName(QStringLiteral("ProjectSelectDlg"));
    resize(400, 300);
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    auto *close = new QtMaterialIconButton(
        QtMaterialTheme::icon(QStringLiteral("navigation"), QStringLiteral("close")), this);
    close->setColor(Qt::white);
    connect(close, &QAbstractButton::clicked, this, &QWidget::close);

    m_list = new QtMaterialGroupBox(QString(), this);
    m_list->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));
    auto *canvas = new QtMaterialCanvas(this);
    canvas->setBackgroundColor(QColor(0x1F, 0x29, 0x33));
    canvas->setWidget(m_list);
    canvas->setWidgetResizable(true);

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
