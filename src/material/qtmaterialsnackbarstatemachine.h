#pragma once

#include <QStateMachine>
#include <QTimer>

class QPropertyAnimation;
class QState;
class QtMaterialSnackbar;

// Slides a snackbar's messages in and out: hidden, visible (fully shown for the
// auto-hide duration) and final (sliding out, then on to the next message).
class QtMaterialSnackbarStateMachine : public QStateMachine
{
    Q_OBJECT

    Q_PROPERTY(qreal offset WRITE setOffset READ offset)

public:
    // Milliseconds of every slide in or out.
    static constexpr int SlideDuration = 300;

    explicit QtMaterialSnackbarStateMachine(QtMaterialSnackbar *parent);
    ~QtMaterialSnackbarStateMachine() override;

    void setOffset(qreal offset);
    qreal offset() const { return m_offset; }

    QState *hiddenState() const { return m_hiddenState; }
    QState *visibleState() const { return m_visibleState; }
    QState *finalState() const { return m_finalState; }
    QTimer *timer() { return &m_timer; }
    QPropertyAnimation *slideAnimation() const { return m_animation; }

public slots:
    void progress();

protected slots:
    void snackbarShown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Q_DISABLE_COPY(QtMaterialSnackbarStateMachine)

    QtMaterialSnackbar *const m_snackbar;
    QTimer m_timer;
    qreal m_offset = 1;
    QState *m_hiddenState = nullptr;
    QState *m_visibleState = nullptr;
    QState *m_finalState = nullptr;
    QPropertyAnimation *m_animation = nullptr;
};
