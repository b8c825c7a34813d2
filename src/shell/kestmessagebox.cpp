#include "kestmessagebox.h"

#include "shell/framedialog.h"
#include "shell/roundedpanel.h"

#include <QGridLayout>
#include <qtmaterialflatbutton.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmaterialtheme.h>

KestMessageBox::KestMessageBox(const QString &text, int width, int height, int type, QWidget *parent)
    : MyDialog(parent)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("KestMessageBox"));

    auto *label = new QtMaterialLabel(text, this);
    label->setWordWrap(true);


    auto *buttons = new QGridLayout;
    buttons->setSizeConstraint(QLayout::SetNoConstraint);
    auto *ok = new QtMaterialFlatButton(tr("Ok"), Material::RaisedPrimary, this);
    ok->setObjectName(QStringLiteral("pushButtonOk"));
    connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    if (type == KestMessageBoxOkCancel || type == KestMessageBoxCancelOk) {
        auto *cancel = new QtMaterialFlatButton(tr("Cancel"), Material::OutlinedSecondary, this);
        cancel->setObjectName(QStringLiteral("pushButtonCancel"));
        connect(cancel, &QAbstractButton::clicked, this, &QWidget::close);
        const bool okFirst = type == KestMessageBoxOkCancel;
        buttons->addWidget(okFirst ? static_cast<QWidget *>(ok) : cancel, 0, 0);
        buttons->addWidget(okFirst ? static_cast<QWidget *>(cancel) : ok, 0, 1);
    } else {
        ok->setFixedWidth(100);
        buttons->addWidget(ok, 0, 0, Qt::AlignRight);
    }
    buttons->setRowStretch(1, 1);

    auto *outer = new QGridLayout(this);
    outer->setSizeConstraint(QLayout::SetNoConstraint);
    outer->addWidget(close, 0, 0, Qt::AlignRight | Qt::AlignTop);
    outer->addWidget(label, 1, 0, Qt::AlignCenter);
    outer->addLayout(buttons, 2, 0);
    outer->setRowStretch(1, 1);

    setFixedSize(width, height);
}

void KestMessageBox::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    QWidget::paintEvent(event);
}
