#include "iconstyledlg.h"

#include "shell/iconstyleitem.h"
#include "shell/framedialog.h"
#include "shell/roundedpanel.h"

#include <QGridLayout>
#include <qtmaterialiconbutton.h>
#include <qtmaterialtheme.h>

IconStyleDlg::IconStyleDlg(QWidget *parent)
    : MyDialog(parent)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("IconStyleDlg"));

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
