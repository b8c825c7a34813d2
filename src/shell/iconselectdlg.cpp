#include "iconselectdlg.h"

#include "shell/manageritem.h"
#include "shell/framedialog.h"
#include "shell/roundedpanel.h"
#include "shell/tilegrid.h"
#include "store/globals.h"

#include <QGridLayout>
#include <qtmaterialgroupbox.h>
#include <qtmaterialtheme.h>

#include <algorithm>

namespace {

const QColor kPanel(0x1F, 0x29, 0x33);

// The picker opens at 800 by 600, or as large as the screen where that is smaller.
int boundedByScreen(int wanted, int screen)
{
    return screen > 0 ? std::min(wanted, screen) : wanted;
}

} // namespace

IconSelectDlg::Family IconSelectDlg::familyFor(int family)
{
    switch (family) {
    case 2:
        return {QStringLiteral("3d_view_%1"), 2, 1, 8, ManagerItem3DView, 300, 160};
    case 3:
        return {QStringLiteral("message_%1"), 2, 1, 11, ManagerItemMessage, 192, 192};
    case 4:
        return {QStringLiteral("light_%1_on"), 2, 1, 52, ManagerItemLight, 192, 192};
    case 5:
        return {QStringLiteral("moods_%1"), 0, 1, 23, ManagerItemMood, 300, 160};
    default:
        return {QStringLiteral("room_%1"), 0, 1, 52, ManagerItemRoom, 300, 160};
    }
}

QString IconSelectDlg::pictureName(const Family &family, int number)
{
    return family.nameFormat.arg(number, family.fieldWidth, 10, QLatin1Char('0'));
}

IconSelectDlg::IconSelectDlg(QWidget *parent)
    : MyDialog(parent)
{
    groupBox = initListDialog(this, QStringLiteral("IconSelectDlg"));
    setMinimumSize(boundedByScreen(800, screen_cx), boundedByScreen(600, screen_cy));
}

QGridLayout *IconSelectDlg::tileGrid() const
{
    return qobject_cast<QGridLayout *>(groupBox->layout());
}

void IconSelectDlg::initDlgCtrl()
{
    // A second call starts the grid afresh.
    if (QLayout *old = groupBox->layout()) {
        qDeleteAll(groupBox->findChildren<ManagerItem *>(QString(), Qt::FindDirectChildrenOnly));
        delete old;
    }

    auto *grid = new QGridLayout;
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    const Family pictures = familyFor(family);
    const int w = width();
    const int columns = tileGridColumns(w, 0, pictures.tileWidth);
    grid->setHorizontalSpacing(tileGridSpacing(w, 0, pictures.tileWidth, columns));
    grid->setVerticalSpacing(20);

    for (int i = 0; i < pictures.count; ++i) {
        auto *tile =
            new ManagerItem(pictures.tileKind, 0, QString(), pictureName(pictures, pictures.first + i),
                            false, kPanel, pictures.tileWidth, pictures.tileHeight, nullptr);
        connect(tile, &ManagerItem::signalsIconEdit, this, &IconSelectDlg::slotsIconEdit);
        grid->addWidget(tile, tileGridRow(i, columns), tileGridColumn(i, columns));
    }
    setTileGridStretch(grid, pictures.count, columns);
    groupBox->setLayout(grid);
}

void IconSelectDlg::slotsIconEdit(QString name)
{
    iconName = name;
    accept();
}

void IconSelectDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    QWidget::paintEvent(event);
}
