#include "progressindicator.h"

ProgressIndicator::ProgressIndicator(QWidget *parent)
    : QProgressIndicator(parent)
{
    setFixedSize(32, 32);
}

QPoint ProgressIndicator::startPosition() const
{
    return QPoint(parentWidget() ? (parentWidget()->width() - width()) / 2 : 0, 0);
}
