#include "mywidget.h"

#include "shell/darkpalette.h"

MyWidget::MyWidget(QWidget *parent)
    : QWidget(parent, Qt::WindowFlags())
{
    fillBackground(this, QColor(0x26, 0x34, 0x40));
}

void MyWidget::startRefresh()
{
}
