#include "networkstyledlg.h"

#include "shell/networkstyleitem.h"
#include "shell/roundedpanel.h"

#include <QGridLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>
#include <qtmaterialiconbutton.h>
#include <qtmaterialtheme.h>

NetworkStyleDlg::NetworkStyleDlg(QWidget *parent)
    : MyDialog(parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("NetworkStyleDlg"));
    resize(400, 300);
    setWindowTitle(QStringLiteral("Dialog"));
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    auto *close = new QtMaterialIconButton(
        QtMaterialTheme::icon(QStringLiteral("navigation"), QStringLiteral("close")), this);
    close->setObjectName(QStringLiteral("pushButtonClose"));
    close->setColor(Qt::white);
    connect(close, &QAbstractButton::clicked, this, &QWidget::close);

    groupBox = new QtMaterialGroupBox(QString(), nullptr);
    groupBox->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));
    auto *canvas = new QtMaterialCanvas(this);
    canvas->setBackgroundColor(QColor(0x1F, 0x29, 0x33));
    canvas->setWidget(groupBox);
    canvas->setWidgetResizable(true);
    // The canvas paints the background; the box only holds the grid.
    groupBox->setAutoFillBackground(false);

    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->addWidget(close, 0, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(canvas, 1, 0);
    grid->setRowStretch(1, 1);

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
