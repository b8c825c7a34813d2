#include "qtmaterialcheckableprivate.h"
#include "qtmaterialcheckableicon.h"
#include "qtmaterialrippleoverlay.h"
#include "qtmaterialstyle.h"

#include <QCoreApplication>
#include <QEventTransition>
#include <QSignalTransition>
#include <QState>
#include <QStateMachine>

namespace {

const char CheckedIconPath[] =
    ":/myImages/icons/qtmaterial/toggle/svg/production/ic_check_box_24px.svg";
const char UncheckedIconPath[] =
    ":/myImages/icons/qtmaterial/toggle/svg/production/ic_check_box_outline_blank_24px.svg";

} // namespace

QtMaterialCheckablePrivate::QtMaterialCheckablePrivate(QtMaterialCheckable *q)
    : q_ptr(q)
{
}

QtMaterialCheckablePrivate::~QtMaterialCheckablePrivate() = default;

void QtMaterialCheckablePrivate::init()
{
    Q_Q(QtMaterialCheckable);

    // Made first: the style registers the icon resources and fonts read below. Its
    // creation tells no widget of a style change; a later change of theme does.
    QtMaterialStyle &style = QtMaterialStyle::instance();

    checkedIcon = new QtMaterialCheckableIcon(QIcon(QString::fromLatin1(CheckedIconPath)), q);
    uncheckedIcon = new QtMaterialCheckableIcon(QIcon(QString::fromLatin1(UncheckedIconPath)), q);
    checkedIcon->setGeometry(q->rect());
    uncheckedIcon->setGeometry(q->rect());

    stateMachine = new QStateMachine(q);
    uncheckedState = new QState;
    checkedState = new QState;
    disabledUncheckedState = new QState;
    disabledCheckedState = new QState;
    labelPosition = QtMaterialCheckable::LabelOnRight;
    useThemeColors = true;

    rippleOverlay = new QtMaterialRippleOverlay;
    rippleOverlay->followWidget(q, [](const QWidget *w) {
        return w->geometry().adjusted(-8, -8, 8, 8);
    });

    q->setCheckable(true);
    q->setFont(style.themeFont(Material::Body1));

    stateMachine->addState(uncheckedState);
    stateMachine->addState(checkedState);
    stateMachine->addState(disabledUncheckedState);
    stateMachine->addState(disabledCheckedState);
    stateMachine->setInitialState(uncheckedState);

    // Toggling moves between the two sides.
    uncheckedTransition = new QSignalTransition(q, &QAbstractButton::toggled);
    uncheckedTransition->setTargetState(checkedState);
    uncheckedState->addTransition(uncheckedTransition);

    checkedTransition = new QSignalTransition(q, &QAbstractButton::toggled);
    checkedTransition->setTargetState(uncheckedState);
    checkedState->addTransition(checkedTransition);

    // Enabling and disabling move between a side and its disabled twin.
    auto addEnabledTransition = [q](QState *from, QState *to) {
        auto *transition = new QEventTransition(q, QEvent::EnabledChange);
        transition->setTargetState(to);
        from->addTransition(transition);
    };
    addEnabledTransition(uncheckedState, disabledUncheckedState);
    addEnabledTransition(disabledUncheckedState, uncheckedState);
    addEnabledTransition(checkedState, disabledCheckedState);
    addEnabledTransition(disabledCheckedState, checkedState);

    auto *transition = new QSignalTransition(q, &QAbstractButton::toggled);
    transition->setTargetState(disabledCheckedState);
    disabledUncheckedState->addTransition(transition);

    transition = new QSignalTransition(q, &QAbstractButton::toggled);
    transition->setTargetState(disabledUncheckedState);
    disabledCheckedState->addTransition(transition);

    checkedState->assignProperty(checkedIcon, "opacity", 1);
    checkedState->assignProperty(uncheckedIcon, "opacity", 0);
    uncheckedState->assignProperty(checkedIcon, "opacity", 0);
    uncheckedState->assignProperty(uncheckedIcon, "opacity", 1);
    disabledCheckedState->assignProperty(checkedIcon, "opacity", 1);
    disabledCheckedState->assignProperty(uncheckedIcon, "opacity", 0);
    disabledUncheckedState->assignProperty(checkedIcon, "opacity", 0);
    disabledUncheckedState->assignProperty(uncheckedIcon, "opacity", 1);

    checkedState->assignProperty(checkedIcon, "color", q->checkedColor());
    checkedState->assignProperty(uncheckedIcon, "color", q->checkedColor());
    uncheckedState->assignProperty(uncheckedIcon, "color", q->uncheckedColor());
    disabledUncheckedState->assignProperty(uncheckedIcon, "color", q->disabledColor());
    disabledCheckedState->assignProperty(checkedIcon, "color", q->disabledColor());

    stateMachine->start();
    // Enter the initial state now, so that a value set right after construction
    // already drives the machine. Only the machine's own start-up call is
    // delivered here; no other pending event runs inside a constructor.
    QCoreApplication::sendPostedEvents(stateMachine, QEvent::MetaCall);
}
