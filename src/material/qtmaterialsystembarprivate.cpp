#include "qtmaterialsystembarprivate.h"
#include "qtmaterialstyle.h"

#include <QBasicTimer>

QtMaterialSystemBarPrivate::QtMaterialSystemBarPrivate(QtMaterialSystemBar *q)
    : q_ptr(q)
{
}

QtMaterialSystemBarPrivate::~QtMaterialSystemBarPrivate() = default;

void QtMaterialSystemBarPrivate::init()
{
    Q_Q(QtMaterialSystemBar);

    // Made first: the style's creation tells every widget of a style change.
    QtMaterialStyle &style = QtMaterialStyle::instance();

    timer = new QBasicTimer;
    // A very coarse timer would round the half second up to a whole one, and the
    // clock's seconds would then lag or skip: the coarse kind keeps the 500 ms.
    timer->start(500, Qt::CoarseTimer, q);
    dateTimeFormat = QStringLiteral("dd/MM/yyyy hh:mm:ss");
    useThemeColors = true;

    q->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    q->setFont(style.themeFont(Material::Body1));
}
