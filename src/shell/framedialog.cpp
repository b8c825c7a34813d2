#include "framedialog.h"

#include "roundedframemask.h"

#include <QDialog>
#include <QGridLayout>
#include <QVBoxLayout>
#include <qtmaterialcanvas.h>
#include <qtmaterialgroupbox.h>
#include <qtmaterialiconbutton.h>
#include <qtmaterialtheme.h>

QtMaterialIconButton *initFramedDialog(QDialog *dialog, const QString &objectName)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(objectName);
    dialog->resize(400, 300);
    dialog->setWindowTitle(QStringLiteral("Dialog"));
    // Kept a dialog window: with a parent, a bare frameless flag would embed the
    // dialog in its parent instead of opening it.
    dialog->setWindowFlags(dialog->windowFlags() | Qt::FramelessWindowHint);
    // The panel is painted with rounded corners; the window is cut to them by a
    // mask rather than made translucent: without a compositing manager an X
    // server draws a drop-down's list over a translucent window as a black box.
    dialog->setAutoFillBackground(false);
    new RoundedFrameMask(dialog);

    auto *close = new QtMaterialIconButton(
        QtMaterialTheme::icon(QStringLiteral("navigation"), QStringLiteral("close")), dialog);
    close->setObjectName(QStringLiteral("pushButtonClose"));
    close->setColor(Qt::white);
    close->setIconSize(QSize(24, 24));
    QObject::connect(close, &QAbstractButton::clicked, dialog, &QWidget::close);
    return close;
}

QtMaterialGroupBox *makeCanvasBox(QWidget *parent, QtMaterialCanvas *&canvas, const QColor &background)
{
    auto *box = new QtMaterialGroupBox(QString(), nullptr);
    box->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));
    canvas = new QtMaterialCanvas(parent);
    if (background.isValid())
        canvas->setBackgroundColor(background);
    canvas->setWidget(box);
    canvas->setWidgetResizable(true);
    // The canvas paints the background; the box only holds the content.
    box->setAutoFillBackground(false);
    return box;
}

QtMaterialGroupBox *fillWithCanvasBox(QWidget *page)
{
    QtMaterialCanvas *canvas = nullptr;
    QtMaterialGroupBox *box = makeCanvasBox(page, canvas);
    auto *layout = new QVBoxLayout(page);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(canvas);
    return box;
}

QtMaterialGroupBox *initListDialog(QDialog *dialog, const QString &objectName)
{
    QtMaterialIconButton *close = initFramedDialog(dialog, objectName);
    QtMaterialCanvas *canvas = nullptr;
    QtMaterialGroupBox *box = makeCanvasBox(dialog, canvas, QColor(0x1F, 0x29, 0x33));

    auto *grid = new QGridLayout(dialog);
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->addWidget(close, 0, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(canvas, 1, 0);
    grid->setRowStretch(1, 1);
    return box;
}
