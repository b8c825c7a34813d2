#include "qtmaterialtextfieldprivate.h"
#include "qtmaterialstyle.h"
#include "qtmaterialtextfieldstatemachine.h"

#include <QCoreApplication>
#include <QPalette>

QtMaterialTextFieldPrivate::QtMaterialTextFieldPrivate(QtMaterialTextField *q)
    : q_ptr(q)
{
}

QtMaterialTextFieldPrivate::~QtMaterialTextFieldPrivate() = default;

void QtMaterialTextFieldPrivate::init()
{
    Q_Q(QtMaterialTextField);

    // Made first: the style's creation tells every widget of a style change.
    QtMaterialStyle &style = QtMaterialStyle::instance();

    stateMachine = new QtMaterialTextFieldStateMachine(q);
    label = nullptr;
    labelFontSize = 9.5;
    showLabel = false;
    showInputLine = true;
    useThemeColors = true;

    q->setFrame(false);
    q->setStyle(&style);
    q->setAttribute(Qt::WA_Hover);
    q->setMouseTracking(true);
    q->setTextMargins(0, 2, 0, 4);
    q->setFont(style.themeFont(Material::Body1));

    // The field paints its own background: the line edit's base stays transparent.
    QPalette palette = q->palette();
    palette.setBrush(QPalette::All, QPalette::Base, QBrush(QColor(0, 0, 0, 0)));
    palette.setBrush(QPalette::All, QPalette::Text, QBrush(q->textColor()));
    q->setPalette(palette);

    // The normal state assigns a progress of 0, which the machine already holds.
    stateMachine->start();
    // Enter the initial state now, so that a focus change right after construction
    // already moves the machine. Only the machine's own start-up call is delivered
    // here; no other pending event runs inside a constructor.
    QCoreApplication::sendPostedEvents(stateMachine, QEvent::MetaCall);
}
