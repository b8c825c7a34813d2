#include "pagesettingproject.h"

#include "bus/broadcastsocket.h"
#include "settings/projectadddlg.h"
#include "settings/projectdownloaddlg.h"
#include "settings/projectsettingitem.h"
#include "settings/projectuploaddlg.h"
#include "shell/framedialog.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/projectlist.h"

#include <QGridLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialflatbutton.h>
#include <qtmaterialgroupbox.h>
#include <qtmaterialtheme.h>

PageSettingProject::PageSettingProject(const QString &id, const QString &name, QWidget *parent)
    : MyDialog(id, name, parent)
{
    auto *add =
        new QtMaterialFlatButton(QtMaterialTheme::icon(QStringLiteral("content"), QStringLiteral("add")),
                                 tr("Add Project"), Material::RaisedPrimary, this);
    add->setObjectName(QStringLiteral("pushButtonAddProject"));
    auto *upload = new QtMaterialFlatButton(
        QtMaterialTheme::icon(QStringLiteral("file"), QStringLiteral("cloud_upload")), tr("Upload"),
        Material::RaisedPrimary, this);
    upload->setObjectName(QStringLiteral("pushButtonUpload"));
    auto *download = new QtMaterialFlatButton(
        QtMaterialTheme::icon(QStringLiteral("file"), QStringLiteral("cloud_download")), tr("Download"),
        Material::RaisedPrimary, this);
    download->setObjectName(QStringLiteral("pushButtonDownload"));

    QtMaterialCanvas *canvas = nullptr;
    groupBox = makeCanvasBox(this, canvas);
    groupBox->setObjectName(QStringLiteral("groupBoxProjects"));

    auto *grid = new QGridLayout(this);
    grid->setSpacing(20);
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->addWidget(add, 0, 1, Qt::AlignRight);
    grid->addWidget(upload, 1, 0);
    grid->addWidget(download, 1, 1);
    grid->addWidget(canvas, 2, 0, 1, 2);
    grid->setRowStretch(2, 1);

    connect(add, &QAbstractButton::clicked, this, &PageSettingProject::pushButtonAddProject_clicked);
    connect(upload, &QAbstractButton::clicked, this, &PageSettingProject::pushButtonUpload_clicked);
    connect(download, &QAbstractButton::clicked, this, &PageSettingProject::pushButtonDownload_clicked);
    connect(&gl_socket, &BroadcastSocket::signalsPageEnter, this, &PageSettingProject::slotsPageEnter);
}

void PageSettingProject::slotsPageEnter()
{
    if (isVisible())
        updatelist();
}

void PageSettingProject::updatelist()
{
    auto *grid = qobject_cast<QGridLayout *>(groupBox->layout());
    if (!grid) {
        grid = new QGridLayout;
        grid->setSpacing(20);
        grid->setSizeConstraint(QLayout::SetNoConstraint);
    } else {
        const auto rows =
            groupBox->findChildren<ProjectSettingItem *>(QString(), Qt::FindDirectChildrenOnly);
        for (ProjectSettingItem *row : rows) {
            grid->removeWidget(row);
            row->hide();
            row->setObjectName(QString());
            row->deleteLater();
        }
        for (int r = 0; r < grid->rowCount(); ++r)
            grid->setRowStretch(r, 0);
    }

    QString current;
    getCurrentProject(current);
    QStringList projects;
    getProjectList(projects);
    for (int i = 0; i < projects.size(); ++i) {
        auto *row = new ProjectSettingItem(projects.at(i), projects.at(i) == current, groupBox);
        connect(row, &ProjectSettingItem::signalsProjectEdit, this, &PageSettingProject::slotsProjectEdit);
        connect(row, &ProjectSettingItem::signalsProjectDelete, this,
                &PageSettingProject::slotsProjectDelete);
        grid->addWidget(row, i, 0);
        row->show();
    }
    grid->setRowStretch(projects.size(), 1);
    if (groupBox->layout() != grid)
        groupBox->setLayout(grid);
}

void PageSettingProject::slotsProjectEdit(QString projectName)
{
    emit gl_socket.signalsPageIdChanged(tr("Project Information"), tr("Project Information"), projectName,
                                        QString());
}

void PageSettingProject::slotsProjectDelete(QString projectName)
{
    const auto rows = groupBox->findChildren<ProjectSettingItem *>(QString(), Qt::FindDirectChildrenOnly);
    for (ProjectSettingItem *row : rows) {
        if (row->objectName().isEmpty() || row->getProjectName() != projectName)
            continue;
        QString current;
        getCurrentProject(current);
        if (projectName == current || !isValidProjectName(projectName)) {
            emit gl_socket.signalsInformation(tr("Invalid project name!"));
            return;
        }
        // A project still listed keeps its folder: the list must be stored first.
        if (!deleteProject(projectName)) {
            emit gl_socket.signalsInformation(tr("Failed to delete the project!"));
            return;
        }
        // Only ever a direct child of the database folder goes, with all it holds.
        removeProjectFolder(projectFolder(projectName));
        updatelist();
        return;
    }
}

void PageSettingProject::pushButtonAddProject_clicked()
{
    ProjectAddDlg dialog(nullptr);
    if (dialog.exec())
        updatelist();
}

void PageSettingProject::pushButtonUpload_clicked()
{
    QStringList names;
    auto *grid = qobject_cast<QGridLayout *>(groupBox->layout());
    for (int i = 0; grid && i < grid->rowCount(); ++i) {
        QLayoutItem *item = grid->itemAtPosition(i, 0);
        auto *row = item ? qobject_cast<ProjectSettingItem *>(item->widget()) : nullptr;
        if (row && row->getProjectState())
            names.append(row->getProjectName());
    }
    if (names.isEmpty()) {
        emit gl_socket.signalsInformation(tr("Please select database!"));
        return;
    }
    ProjectUploadDlg dialog(nullptr);
    dialog.projectNames = names;
    dialog.initDlgCtrl();
    dialog.exec();
}

void PageSettingProject::pushButtonDownload_clicked()
{
    ProjectDownloadDlg dialog(nullptr);
    dialog.exec();
    if (dialog.downloaded)
        updatelist();
}
