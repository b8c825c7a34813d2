#include "qtmaterialprogressprivate.h"
#include "qtmaterialprogressdelegate.h"
#include "qtmaterialstyle.h"

#include <QPropertyAnimation>

QtMaterialProgressPrivate::QtMaterialProgressPrivate(QtMaterialProgress *q)
    : q_ptr(q)
{
}

QtMaterialProgressPrivate::~QtMaterialProgressPrivate() = default;

void QtMaterialProgressPrivate::init()
{
    Q_Q(QtMaterialProgress);

    // Made first: the style's creation tells every widget of a style change.
    QtMaterialStyle::instance();

    delegate = new QtMaterialProgressDelegate(q);
    progressType = Material::ProgressIndeterminate;
    useThemeColors = true;

    // Runs for the whole life of the bar, whatever its mode.
    animation = new QPropertyAnimation(delegate, "offset", q);
    animation->setStartValue(0);
    animation->setEndValue(1);
    animation->setDuration(1000);
    animation->setLoopCount(-1);
    animation->start();
}
