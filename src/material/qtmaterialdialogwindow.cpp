#include "qtmaterialdialogwindow.h"
#include "qtmaterialdialog.h"

#include <QLayout>
#include <QPainter>

QtMaterialDialogWindow::QtMaterialDialogWindow(QtMaterialDialog *dialog, QWidget *parent)
    : QWidget(parent), m_dialog(dialog)
{
}

QtMaterialDialogWindow::~QtMaterialDialogWindow() = default;

void QtMaterialDialogWindow::setOffset(int offset)
{
    QLayout *outer = m_dialog->layout();
    if (!outer)
        return;
    QMargins margins = outer->contentsMargins();
    margins.setBottom(offset);
    outer->setContentsMargins(margins);
}

int QtMaterialDialogWindow::offset() const
{
    const QLayout *outer = m_dialog->layout();
    return outer ? outer->contentsMargins().bottom() : 0;
}

void QtMaterialDialogWindow::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)

    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(rect());
}
