#include "modespeedselectdlg.h"

#include "operation/modespeeditem.h"
#include "shell/framedialog.h"
#include "shell/roundedpanel.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>
#include <qtmaterialiconbutton.h>

ModeSpeedSelectDlg::ModeSpeedSelectDlg(QWidget *parent)
    : MyDialog(parent)
{
    QtMaterialIconButton *close = initFramedDialog(this, QStringLiteral("ModeSpeedSelectDlg"));
    setWindowTitle(QCoreApplication::translate("ModeSpeedSelectDlg", "Dialog"));

    QtMaterialCanvas *canvas = nullptr;
    groupBox = makeCanvasBox(this, canvas, QColor(0x1F, 0x29, 0x33));

    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->addWidget(close, 0, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(canvas, 1, 0);
    grid->setRowStretch(1, 1);

    setFixedSize(DialogWidth, DialogHeight);
}

ModeSpeedSelectDlg::~ModeSpeedSelectDlg() = default;

void ModeSpeedSelectDlg::initDlgCtrl()
{
    if (QLayout *old = groupBox->layout()) {
        qDeleteAll(groupBox->findChildren<ModeSpeedItem *>(QString(), Qt::FindDirectChildrenOnly));
        delete old;
    }
    struct Entry
    {
        const char *caption;
        int value;
    };
    static const Entry speeds[] = {
        {QT_TR_NOOP("Auto"), 0}, {QT_TR_NOOP("Low"), 3}, {QT_TR_NOOP("Med"), 2}, {QT_TR_NOOP("High"), 1}};
    static const Entry modes[] = {
        {QT_TR_NOOP("Auto"), 3}, {QT_TR_NOOP("Cool"), 0}, {QT_TR_NOOP("Heat"), 1}, {QT_TR_NOOP("Fan"), 2}};
    const Entry *entries = kind == 1 ? speeds : modes;

    auto *grid = new QGridLayout;
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    // Four 80-pixel tiles fit the dialog's height without scrolling.
    grid->setContentsMargins(0, 4, 0, 4);
    grid->setVerticalSpacing(4);
    for (int row = 0; row < 4; ++row) {
        auto *tile =
            new ModeSpeedItem(kind == 1 ? 1 : 0, entries[row].value, tr(entries[row].caption), nullptr);
        connect(tile, &ModeSpeedItem::signalsEdit, this, &ModeSpeedSelectDlg::slotsEdit);
        grid->addWidget(tile, row, 0, Qt::AlignHCenter);
    }
    grid->setRowStretch(4, 1);
    groupBox->setLayout(grid);
}

void ModeSpeedSelectDlg::slotsEdit(int chosen)
{
    value = chosen;
    accept();
}

void ModeSpeedSelectDlg::paintEvent(QPaintEvent *event)
{
    paintRoundedPanel(this);
    QWidget::paintEvent(event);
}
