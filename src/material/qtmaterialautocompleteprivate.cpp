#include "qtmaterialautocompleteprivate.h"
#include "qtmaterialautocompletestatemachine.h"

#include <QCoreApplication>
#include <QGraphicsDropShadowEffect>
#include <QVBoxLayout>
#include <QWidget>

QtMaterialAutoCompletePrivate::QtMaterialAutoCompletePrivate(QtMaterialAutoComplete *q)
    : QtMaterialTextFieldPrivate(q)
{
}

QtMaterialAutoCompletePrivate::~QtMaterialAutoCompletePrivate() = default;

void QtMaterialAutoCompletePrivate::init()
{
    Q_Q(QtMaterialAutoComplete);

    menu = new QWidget;
    frame = new QWidget;
    menuStateMachine = new QtMaterialAutoCompleteStateMachine(menu);
    menuLayout = new QVBoxLayout;
    maxWidth = 0;

    menu->setParent(q->parentWidget());
    frame->setParent(q->parentWidget());
    menu->installEventFilter(q);
    frame->installEventFilter(q);

    auto *effect = new QGraphicsDropShadowEffect;
    effect->setBlurRadius(11);
    effect->setColor(QColor(0, 0, 0, 50));
    effect->setOffset(0, 3);
    frame->setGraphicsEffect(effect);
    frame->setVisible(false);

    menu->setLayout(menuLayout);
    menu->setVisible(false);
    menuLayout->setContentsMargins(0, 0, 0, 0);
    menuLayout->setSpacing(0);

    QObject::connect(q, &QLineEdit::textEdited, q, &QtMaterialAutoComplete::updateResults);

    menuStateMachine->start();
    // Enter the closed state now; only the machine's own start-up call is delivered
    // here, no other pending event runs inside a constructor.
    QCoreApplication::sendPostedEvents(menuStateMachine, QEvent::MetaCall);
}
