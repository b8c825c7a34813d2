#include "projectadddlg.h"

#include "shell/framedialog.h"
#include "shell/roundedpanel.h"
#include "store/cppsqlite3db.h"
#include "store/filehelpers.h"
#include "store/globals.h"
#include "store/newproject.h"
#include "store/projectlist.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <qtmaterialflatbutton.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

namespace {

bool isListedProjectFolder(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty())
        return false;
    QStringList listed;
    getProjectList(listed);
    for (const QString &project : qAsConst(listed)) {
        if (QFileInfo(projectFolder(project)).canonicalFilePath() == canonical)
            return true;
    }
    return false;
}

} // namespace

ProjectAddDlg::ProjectAddDlg(QWidget *parent)
    : MyDialog(parent)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("ProjectAddDlg"));
    setFixedHeight(210);

    auto *title = new QtMaterialLabel(tr("Add Project"), Material::Headline6, this);
    title->setObjectName(QStringLiteral("labelTitle"));
    lineEditName = new QtMaterialLineEdit(this);
    lineEditName->setObjectName(QStringLiteral("lineEditName"));
    auto *cancel = new QtMaterialFlatButton(tr("Cancel"), Material::RaisedPrimary, this);
    cancel->setObjectName(QStringLiteral("pushButtonCancel"));
    auto *add = new QtMaterialFlatButton(tr("Add"), Material::RaisedPrimary, this);
    add->setObjectName(QStringLiteral("pushButtonAdd"));

    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->setSpacing(20);
    grid->addWidget(close, 0, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(title, 1, 0, Qt::AlignCenter);
    grid->addWidget(lineEditName, 2, 0);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cancel);
    buttons->addWidget(add);
    grid->addLayout(buttons, 3, 0);
    grid->setRowStretch(4, 1);

    connect(cancel, &QAbstractButton::clicked, this, &QWidget::close);
    connect(add, &QAbstractButton::clicked, this, &ProjectAddDlg::pushButtonAdd_clicked);
}

void ProjectAddDlg::pushButtonAdd_clicked()
{
    const QString name = lineEditName->text();
    if (name.isEmpty()) {
        emit signalsInformation(tr("Please enter the complete content"));
        return;
    }
    // A name an import still running has chosen is taken too: its folder is being written.
    if (isProjectExist(name) || isProjectNameHeld(name)) {
        emit signalsInformation(tr("The project name has existed"));
        return;
    }
    // The name becomes a folder and a file name: only one plain folder name is
    // taken, and never one that reaches a listed project's folder (as another
    // letter case does on a file system that ignores case).
    if (!isValidProjectName(name) || isListedProjectFolder(projectFolder(name))) {
        emit signalsInformation(tr("Invalid project name!"));
        return;
    }
    if (!addProject(name)) {
        emit signalsInformation(tr("Failed to add the project!"));
        return;
    }

    const QString folder = projectFolder(name);
    removeProjectFolder(folder);
    const bool made = QDir().mkpath(folder) && addDatabase(projectDatabasePath(name));

    // Back to the current project's database; the next query opens it again.
    QString current;
    getCurrentProject(current);
    QDir().mkpath(projectFolder(current));
    gl_sqlite3db.close();
    gl_sqlite3db.setDbName(projectDatabasePath(current));
    if (!made) {
        // No listed project without its database, no folder without its entry.
        removeProjectFolder(folder);
        deleteProject(name);
        emit signalsInformation(tr("Failed to add the project!"));
        return;
    }
    accept();
}

void ProjectAddDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    MyDialog::paintEvent(event);
}
