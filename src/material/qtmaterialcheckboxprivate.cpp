#include "qtmaterialcheckboxprivate.h"
#include "qtmaterialcheckableicon.h"
#include "qtmaterialcheckbox.h"

#include <QPropertyAnimation>
#include <QSignalTransition>
#include <QState>

QtMaterialCheckBoxPrivate::QtMaterialCheckBoxPrivate(QtMaterialCheckBox *q)
    : QtMaterialCheckablePrivate(q)
{
}

QtMaterialCheckBoxPrivate::~QtMaterialCheckBoxPrivate() = default;

void QtMaterialCheckBoxPrivate::init()
{
    Q_Q(QtMaterialCheckBox);

    // The check mark is full size whenever the box shows checked, also while it is
    // disabled: a box checked while disabled must still show its mark.
    checkedState->assignProperty(checkedIcon, "iconSize", 24);
    uncheckedState->assignProperty(checkedIcon, "iconSize", 0);
    disabledCheckedState->assignProperty(checkedIcon, "iconSize", 24);
    disabledUncheckedState->assignProperty(checkedIcon, "iconSize", 0);

    auto animate = [q](QObject *target, const char *property, int duration) {
        auto *animation = new QPropertyAnimation(target, property, q);
        animation->setDuration(duration);
        return animation;
    };

    uncheckedTransition->addAnimation(animate(checkedIcon, "iconSize", 300));
    uncheckedTransition->addAnimation(animate(checkedIcon, "opacity", 440));
    uncheckedTransition->addAnimation(animate(uncheckedIcon, "opacity", 440));
    uncheckedTransition->addAnimation(animate(uncheckedIcon, "color", 440));

    checkedTransition->addAnimation(animate(checkedIcon, "iconSize", 1300));
    checkedTransition->addAnimation(animate(checkedIcon, "opacity", 440));
    checkedTransition->addAnimation(animate(uncheckedIcon, "opacity", 440));
    checkedTransition->addAnimation(animate(uncheckedIcon, "color", 440));

    // The machine entered its unchecked state before these values existed: start
    // the mark at the size it has there, so that the first check grows it.
    checkedIcon->setIconSize(0);
}
