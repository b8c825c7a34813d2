#include "mydialog.h"

#include "shell/darkpalette.h"

#include <QKeyEvent>
#include <qtmaterialsnackbar.h>

MyDialog::MyDialog(QWidget *parent)
    : QDialog(parent, Qt::WindowFlags())
{
    init();
}

MyDialog::MyDialog(const QString &pageId, const QString &pageName, QWidget *parent)
    : QDialog(parent, Qt::WindowFlags())
    , id(pageId)
    , name(pageName)
{
    init();
}

MyDialog::~MyDialog() = default;

void MyDialog::init()
{
    m_snackbar = new QtMaterialSnackbar(nullptr);
    m_snackbar->setParent(this);
    fillBackground(this, QColor(0x26, 0x34, 0x40));
    connect(this, &MyDialog::signalsInformation, this, &MyDialog::slotsInformation);
}

void MyDialog::startRefresh() {}

void MyDialog::keyPressEvent(QKeyEvent *event)
{
    // Within another window, Escape goes on to that window, as it would for any
    // other widget.
    if (!isWindow() && event->matches(QKeySequence::Cancel)) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MyDialog::slotsInformation(QString info)
{
    if (isVisible())
        m_snackbar->addMessage(info);
}
