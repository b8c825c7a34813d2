#include "qtmaterialsnackbarprivate.h"
#include "qtmaterialsnackbar.h"
#include "qtmaterialsnackbarstatemachine.h"
#include "qtmaterialstatetransitionevent.h"
#include "qtmaterialstyle.h"

QtMaterialSnackbarPrivate::QtMaterialSnackbarPrivate(QtMaterialSnackbar *q)
    : q_ptr(q)
{
}

QtMaterialSnackbarPrivate::~QtMaterialSnackbarPrivate() = default;

void QtMaterialSnackbarPrivate::init()
{
    Q_Q(QtMaterialSnackbar);

    stateMachine = new QtMaterialSnackbarStateMachine(q);

    backgroundOpacity = 0.9;
    autoHideDuration = 500;
    boxWidth = 300;
    center = true;
    clickToDismiss = false;
    useThemeColors = true;

    q->setAttribute(Qt::WA_TransparentForMouseEvents);
    q->setFont(QtMaterialStyle::instance().themeFont(Material::Body1));

    // Cover the parent at once, also when it is already laid out.
    q->setGeometry(q->overlayGeometry());

    // The machine enters its initial state on the next pass of the event loop and
    // drops what is posted to it before then. Rather than run the event loop here,
    // messages added in the meantime are announced again once it runs.
    QObject::connect(stateMachine, &QStateMachine::started, q, [this]() {
        if (!messages.isEmpty())
            stateMachine->postEvent(new QtMaterialStateTransitionEvent(KindSnackbarShow));
    });
    stateMachine->start();
}
