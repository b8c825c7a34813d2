#include "qtmaterialscrollbarprivate.h"
#include "qtmaterialscrollbar.h"
#include "qtmaterialscrollbarstatemachine.h"
#include "qtmaterialstyle.h"

QtMaterialScrollBarPrivate::QtMaterialScrollBarPrivate(QtMaterialScrollBar *q)
    : q_ptr(q)
{
}

QtMaterialScrollBarPrivate::~QtMaterialScrollBarPrivate() = default;

void QtMaterialScrollBarPrivate::init()
{
    Q_Q(QtMaterialScrollBar);

    stateMachine = new QtMaterialScrollBarStateMachine(q);
    hideOnMouseOut = true;
    useThemeColors = true;

    q->setMouseTracking(true);
    q->setStyle(&QtMaterialStyle::instance());
    q->setStyleSheet(QStringLiteral("QScrollBar:vertical { margin: 0; }"
                                    "QScrollBar::add-line:vertical { height: 0; margin: 0; }"
                                    "QScrollBar::sub-line:vertical { height: 0; margin: 0; }"));

    // The machine runs from the next pass of the event loop; value changes posted
    // before then wait in its queue.
    stateMachine->start();
}
