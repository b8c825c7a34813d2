#include "qtmaterialswitchprivate.h"
#include "qtmaterialstyle.h"
#include "qtmaterialswitchrippleoverlay.h"
#include "qtmaterialswitchthumb.h"
#include "qtmaterialswitchtrack.h"

#include <QCoreApplication>
#include <QPropertyAnimation>
#include <QSignalTransition>
#include <QState>
#include <QStateMachine>

QtMaterialSwitchPrivate::QtMaterialSwitchPrivate(QtMaterialSwitch *q)
    : q_ptr(q)
{
}

QtMaterialSwitchPrivate::~QtMaterialSwitchPrivate() = default;

void QtMaterialSwitchPrivate::init()
{
    Q_Q(QtMaterialSwitch);

    // Made first: the style's creation tells every widget, this one included, of a
    // style change, which must find nothing to set up yet.
    QtMaterialStyle &style = QtMaterialStyle::instance();

    track = new QtMaterialSwitchTrack(q);
    thumb = new QtMaterialSwitchThumb(q);
    rippleOverlay = new QtMaterialSwitchRippleOverlay(thumb, track, q);
    stateMachine = new QStateMachine(q);
    offState = new QState;
    onState = new QState;
    orientation = Qt::Horizontal;
    useThemeColors = true;

    q->setFont(style.themeFont(Material::Body1));
    q->setCheckable(true);
    q->setChecked(false);
    q->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);

    stateMachine->addState(offState);
    stateMachine->addState(onState);
    stateMachine->setInitialState(offState);
    offState->assignProperty(thumb, "shift", 0);
    onState->assignProperty(thumb, "shift", 1);

    auto addToggle = [this, q](QState *from, QState *to) {
        auto *transition = new QSignalTransition(q, &QAbstractButton::toggled);
        transition->setTargetState(to);
        from->addTransition(transition);

        auto *animation = new QPropertyAnimation(thumb, "shift", stateMachine);
        animation->setDuration(200);
        animation->setEasingCurve(QEasingCurve::OutQuad);
        transition->addAnimation(animation);

        animation = new QPropertyAnimation(track, "trackColor", stateMachine);
        animation->setDuration(150);
        transition->addAnimation(animation);

        animation = new QPropertyAnimation(thumb, "thumbColor", stateMachine);
        animation->setDuration(150);
        transition->addAnimation(animation);
        return transition;
    };
    toOnTransition = addToggle(offState, onState);
    toOffTransition = addToggle(onState, offState);

    // The off state's values are in place before the machine enters it.
    thumb->setShift(0);
    setupProperties();

    stateMachine->start();
    // Enter the initial state now, so that a toggle right after construction already
    // moves the machine. Only the machine's own start-up call is delivered here; no
    // other pending event runs inside a constructor.
    QCoreApplication::sendPostedEvents(stateMachine, QEvent::MetaCall);
}

void QtMaterialSwitchPrivate::setupProperties()
{
    Q_Q(QtMaterialSwitch);

    const QColor active = q->activeColor();
    const QColor activeTrack = active.lighter(110);

    // At either end the colours change at once; mid-slide only the targets do.
    if (q->isEnabled()) {
        const qreal shift = thumb->shift();
        if (qFuzzyCompare(shift, 1)) {
            thumb->setThumbColor(active);
            track->setTrackColor(activeTrack);
        } else if (qFuzzyCompare(1 + shift, 1)) {
            thumb->setThumbColor(q->inactiveColor());
            track->setTrackColor(q->trackColor());
        }
    }

    offState->assignProperty(track, "trackColor", q->trackColor().lighter(110));
    offState->assignProperty(thumb, "thumbColor", q->inactiveColor());
    onState->assignProperty(track, "trackColor", activeTrack);
    onState->assignProperty(thumb, "thumbColor", active);

    q->update();
}
