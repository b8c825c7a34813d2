#include "qtmaterialcircularprogressprivate.h"
#include "qtmaterialcircularprogress.h"
#include "qtmaterialcircularprogressdelegate.h"

#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

namespace {

struct Keyframe
{
    qreal step;
    qreal value;
};

} // namespace

QtMaterialCircularProgressPrivate::QtMaterialCircularProgressPrivate(QtMaterialCircularProgress *q)
    : q_ptr(q)
{
}

QtMaterialCircularProgressPrivate::~QtMaterialCircularProgressPrivate() = default;

void QtMaterialCircularProgressPrivate::init()
{
    Q_Q(QtMaterialCircularProgress);

    delegate = new QtMaterialCircularProgressDelegate(q);
    progressType = Material::ProgressIndeterminate;
    penWidth = 6.25;
    size = 64;
    useThemeColors = true;

    q->setSizePolicy(QSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding));

    auto *group = new QParallelAnimationGroup(q);
    group->setLoopCount(-1);

    auto add = [&](const char *property, QEasingCurve::Type easing,
                   std::initializer_list<Keyframe> keyframes) {
        auto *animation = new QPropertyAnimation(group);
        animation->setPropertyName(property);
        animation->setEasingCurve(easing);
        animation->setTargetObject(delegate);
        animation->setDuration(QtMaterialCircularProgress::CycleDuration);
        for (const Keyframe &k : keyframes)
            animation->setKeyValueAt(k.step, k.value);
        group->addAnimation(animation);
    };
    add("dashLength", QEasingCurve::InOutQuad,
        {{0, 0.1}, {0.15, 0.2}, {0.6, 20}, {0.7, 20}, {1, 20}});
    add("dashOffset", QEasingCurve::InOutSine,
        {{0, 0}, {0.15, 0}, {0.6, -7}, {0.7, -7}, {1, -25}});

    auto *angle = new QPropertyAnimation(group);
    angle->setPropertyName("angle");
    angle->setTargetObject(delegate);
    angle->setDuration(QtMaterialCircularProgress::CycleDuration);
    angle->setStartValue(0);
    angle->setEndValue(719);
    group->addAnimation(angle);

    group->start();
}
