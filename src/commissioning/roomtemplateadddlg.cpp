#include "roomtemplateadddlg.h"

#include "shell/framedialog.h"
#include "shell/roundedpanel.h"
#include "store/cppsqlite3db.h"
#include "store/globals.h"
#include "store/idallocators.h"
#include "store/queryhelpers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <qtmaterialflatbutton.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

RoomTemplateAddDlg::RoomTemplateAddDlg(QWidget *parent)
    : MyDialog(parent)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("RoomTemplateAddDlg"));
    resize(400, 210);
    setFixedHeight(210);

    auto *title = new QtMaterialLabel(tr("Add Room Template"), this);
    title->setFontType(Material::Headline6);
    title->setAlignment(Qt::AlignCenter);
    lineEditName = new QtMaterialLineEdit(this);
    pushButtonCancel = new QtMaterialFlatButton(tr("Cancel"), Material::RaisedPrimary, this);
    pushButtonAdd = new QtMaterialFlatButton(tr("Add"), Material::RaisedPrimary, this);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(20);
    buttons->addWidget(pushButtonCancel);
    buttons->addWidget(pushButtonAdd);

    auto *grid = new QGridLayout(this);
    grid->setSpacing(20);
    grid->addWidget(close, 0, 0, Qt::AlignRight | Qt::AlignTop);
    // The label is only as wide as its text: the cell centres it.
    grid->addWidget(title, 1, 0, Qt::AlignCenter);
    grid->addWidget(lineEditName, 2, 0);
    grid->addLayout(buttons, 3, 0);
    grid->setRowStretch(4, 1);

    connect(pushButtonCancel, &QAbstractButton::clicked, this, &QWidget::close);
    connect(pushButtonAdd, &QAbstractButton::clicked, this, &RoomTemplateAddDlg::pushButtonAdd_clicked);
}

void RoomTemplateAddDlg::pushButtonAdd_clicked()
{
    const QString name = lineEditName->text();
    if (name.isEmpty()) {
        emit signalsInformation(tr("Please input the complete content!"));
        return;
    }
    // No id when the taken ones cannot be read: one read as free might be taken.
    const int templateId = getRoomTemplateId();
    if (templateId < 0 ||
        !gl_sqlite3db.execDML(
            QStringLiteral("insert into tbl_room_template(room_template_name,room_template_icon_name,"
                           "room_template_id) values('%2','room_1',%1)")
                .arg(templateId)
                .arg(sqlText(name)))) {
        emit signalsInformation(tr("Failed to add the template!"));
        return;
    }
    accept();
}

void RoomTemplateAddDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    QWidget::paintEvent(event);
}
