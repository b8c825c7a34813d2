#include "qtmaterialradiobuttonprivate.h"
#include "qtmaterialcheckableicon.h"
#include "qtmaterialradiobutton.h"

#include <QPropertyAnimation>
#include <QState>
#include <QStateMachine>

namespace {

const char CheckedIconPath[] =
    ":/myImages/icons/qtmaterial/toggle/svg/production/ic_radio_button_checked_24px.svg";
const char UncheckedIconPath[] =
    ":/myImages/icons/qtmaterial/toggle/svg/production/ic_radio_button_unchecked_24px.svg";

} // namespace

QtMaterialRadioButtonPrivate::QtMaterialRadioButtonPrivate(QtMaterialRadioButton *q)
    : QtMaterialCheckablePrivate(q)
{
}

QtMaterialRadioButtonPrivate::~QtMaterialRadioButtonPrivate() = default;

void QtMaterialRadioButtonPrivate::init()
{
    Q_Q(QtMaterialRadioButton);

    q->setAutoExclusive(true);

    q->setCheckedIcon(QIcon(QString::fromLatin1(CheckedIconPath)));
    q->setUncheckedIcon(QIcon(QString::fromLatin1(UncheckedIconPath)));

    uncheckedState->assignProperty(checkedIcon, "iconSize", 0);
    uncheckedState->assignProperty(uncheckedIcon, "iconSize", 24);
    disabledUncheckedState->assignProperty(checkedIcon, "iconSize", 0);
    disabledUncheckedState->assignProperty(uncheckedIcon, "iconSize", 24);
    checkedState->assignProperty(uncheckedIcon, "iconSize", 0);
    checkedState->assignProperty(checkedIcon, "iconSize", 24);
    disabledCheckedState->assignProperty(uncheckedIcon, "iconSize", 0);
    disabledCheckedState->assignProperty(checkedIcon, "iconSize", 24);

    uncheckedState->assignProperty(checkedIcon, "opacity", 0);
    uncheckedState->assignProperty(uncheckedIcon, "opacity", 1);
    checkedState->assignProperty(uncheckedIcon, "opacity", 0);
    checkedState->assignProperty(checkedIcon, "opacity", 1);

    // A new radio button shows only its empty ring.
    checkedIcon->setIconSize(0);

    checkedState->assignProperty(checkedIcon, "color", q->checkedColor());
    checkedState->assignProperty(uncheckedIcon, "color", q->uncheckedColor());
    uncheckedState->assignProperty(uncheckedIcon, "color", q->uncheckedColor());

    auto addAnimation = [this, q](QObject *target, const char *property) {
        auto *animation = new QPropertyAnimation(target, property, q);
        animation->setDuration(250);
        stateMachine->addDefaultAnimation(animation);
    };
    addAnimation(checkedIcon, "iconSize");
    addAnimation(uncheckedIcon, "iconSize");
    addAnimation(uncheckedIcon, "opacity");
    addAnimation(checkedIcon, "opacity");
}
