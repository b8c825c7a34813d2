#include "networkstyledlg.h"

#include "shell/networkstyleitem.h"
#include "shell/framedialog.h"
#include "shell/roundedpanel.h"

#include <QGridLayout>
#include <qtmaterialgroupbox.h>
#include <qtmaterialtheme.h>

NetworkStyleDlg::NetworkStyleDlg(QWidget *parent)
    : MyDialog(parent)
{
    groupBox = initListDialog(this, QStringLiteral("NetworkStyleDlg"));
    setFixedHeight(240);
}

void NetworkStyleDlg::initDlgCtrl()
{
    if (QLayout *old = groupBox->layout()) {
        qDeleteAll(groupBox->findChildren<NetworkStyleItem *>(QString(), Qt::FindDirectChildrenOnly));
        delete old;
    }
    auto *grid = new QGridLayout;
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    const NetStyle styles[] = {NetStyleLocalNetwork, NetStyleCloudServer, NetStyleDnsServer};
    int row = 0;
    for (NetStyle style : styles) {
        auto *item = new NetworkStyleItem(style, style == netStyle, nullptr);
        connect(item, &NetworkStyleItem::signalsNetworkChanged, this, &NetworkStyleDlg::slotsNetworkChanged);
        grid->addWidget(item, row++, 0);
    }
    grid->setRowStretch(3, 1);
    groupBox->setLayout(grid);
}

void NetworkStyleDlg::slotsNetworkChanged(NetStyle style)
{
    netStyle = style;
    accept();
}

void NetworkStyleDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    QWidget::paintEvent(event);
}
