#include "unlockdlg.h"

#include "shell/framedialog.h"
#include "shell/roundedpanel.h"
#include "store/globals.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <qtmaterialflatbutton.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>
#include <qtmaterialtheme.h>

UnlockDlg::UnlockDlg(QWidget *parent)
    : MyDialog(parent)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("UnlockDlg"));

    auto *prompt = new QtMaterialLabel(tr("Please input the unlock password"), this);

    lineEditPassword = new QtMaterialLineEdit(this);
    lineEditPassword->setEchoMode(QLineEdit::Password);
    lineEditPassword->setPlaceholderText(tr("Unlock password"));


    auto *confirm = new QtMaterialFlatButton(tr("Confirm"), Material::RaisedPrimary, this);
    confirm->setObjectName(QStringLiteral("pushButtonOk"));
    connect(confirm, &QAbstractButton::clicked, this, &UnlockDlg::pushButtonOk_clicked);
    auto *cancel = new QtMaterialFlatButton(tr("Cancel"), Material::RaisedPrimary, this);
    cancel->setObjectName(QStringLiteral("pushButtonCancel"));
    connect(cancel, &QAbstractButton::clicked, this, &QWidget::close);
    auto *buttons = new QHBoxLayout;
    buttons->setSizeConstraint(QLayout::SetNoConstraint);
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);

    auto *outer = new QGridLayout(this);
    outer->setSizeConstraint(QLayout::SetNoConstraint);
    outer->setSpacing(20);
    outer->addWidget(close, 0, 0, Qt::AlignRight | Qt::AlignTop);
    outer->addWidget(prompt, 1, 0, Qt::AlignCenter);
    outer->addWidget(lineEditPassword, 2, 0);
    outer->addLayout(buttons, 3, 0);
    outer->setRowStretch(4, 1);

    setFixedHeight(210);
}

void UnlockDlg::pushButtonOk_clicked()
{
    const QString text = lineEditPassword->text();
    if (text.isEmpty()) {
        emit signalsInformation(tr("Please input the unlock password!"));
        return;
    }
    if (text == gl_lockPassword) {
        accept();
        return;
    }
    emit signalsInformation(tr("Password error!"));
}

void UnlockDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    QWidget::paintEvent(event);
}
