#include "qtmaterialdialog.h"
#include "qtmaterialdialogprivate.h"
#include "qtmaterialdialogproxy.h"
#include "qtmaterialdialogwindow.h"

#include <QPainter>
#include <QStackedLayout>

QtMaterialDialog::QtMaterialDialog(QWidget *parent)
    : QtMaterialOverlayWidget(parent), d_ptr(new QtMaterialDialogPrivate(this))
{
    d_func()->init();
}

QtMaterialDialog::~QtMaterialDialog() = default;

QLayout *QtMaterialDialog::windowLayout() const
{
    Q_D(const QtMaterialDialog);
    return d->dialogWindow->layout();
}

void QtMaterialDialog::setWindowLayout(QLayout *layout)
{
    Q_D(QtMaterialDialog);
    d->dialogWindow->setLayout(layout);
}

void QtMaterialDialog::showDialog()
{
    Q_D(QtMaterialDialog);
    d->request(KindDialogShow);
    raise();
}

void QtMaterialDialog::hideDialog()
{
    Q_D(QtMaterialDialog);
    d->request(KindDialogHide);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    d->proxyStack->setCurrentIndex(1);
}

void QtMaterialDialog::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    Q_D(QtMaterialDialog);

    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.setOpacity(d->proxy->opacity() / 2.4);
    painter.drawRect(rect());
}
