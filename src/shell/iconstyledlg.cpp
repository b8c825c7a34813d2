#include "iconstyledlg.h"

#include "shell/iconstyleitem.h"
#include "shell/roundedpanel.h"

#include <QGridLayout>
#include <qtmaterialiconbutton.h>
#include <qtmaterialtheme.h>

IconStyleDlg::IconStyleDlg(QWidget *parent)
    : MyDialog(parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("IconStyleDlg"));
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    auto *close = new QtMaterialIconButton(
        QtMaterialTheme::icon(QStringLiteral("navigation"), QStringLiteral("close")), this);
    close->setObjectName(QStringLiteral("pushButtonClose"));
    close->setColor(Qt::white);
    connect(close, &QAbstractButton::clicked, this, &QWidget::close);

    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->addWidget(close, 0, 0, Qt::AlignRight | Qt::AlignTop);
    for (int row = 0; row < 2; ++row) {
        auto *item = new IconStyleItem(row, this);
        connect(item, &IconStyleItem::signalsIconStyleChanged, this, &IconStyleDlg::slotsIconStyleChanged);
        grid->addWidget(item, row + 1, 0);
    }
    grid->setRowStretch(3, 1);

    setFixedHeight(180);
}

void IconStyleDlg::slotsIconStyleChanged(int newStyle)
{
    style = newStyle;
    accept();
}

void IconStyleDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    QWidget::paintEvent(event);
}
