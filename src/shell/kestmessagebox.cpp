#include "kestmessagebox.h"

#include "shell/roundedpanel.h"

#include <QGridLayout>
#include <qtmaterialflatbutton.h>
#include <qtmaterialiconbutton.h>
#include <qtmateriallabel.h>
#include <qtmaterialtheme.h>

KestMessageBox::KestMessageBox(const QString &text, int width, int height, int type, QWidget *parent)
    : MyDialog(parent)
{
    setObjectName(QStringLiteral("KestMessageBox"));
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    auto *label = new QtMaterialLabel(text, this);
    label->setWordWrap(true);

    auto *close = new QtMaterialIconButton(
        QtMaterialTheme::icon(QStringLiteral("navigation"), QStringLiteral("close")), this);
    close->setColor(Qt::white);
    connect(close, &QAbstractButton::clicked, this, &QWidget::close);

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
