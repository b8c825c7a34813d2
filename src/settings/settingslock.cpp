#include "settingslock.h"

#include "shell/unlockdlg.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>

SettingsLock::SettingsLock(QObject *parent)
    : QObject(parent)
{}

void SettingsLock::addControl(QWidget *control)
{
    if (!control)
        return;
    m_controls.append(control);
    control->installEventFilter(this);
}

void SettingsLock::lock()
{
    m_unlocked = false;
    setEnabled(false);
}

void SettingsLock::setEnabled(bool enabled)
{
    for (const QPointer<QWidget> &control : qAsConst(m_controls)) {
        if (!control)
            continue;
        control->setEnabled(enabled);
        // Locked controls are drawn dimmed, so the lock can be seen.
        if (enabled) {
            control->setGraphicsEffect(nullptr);
        } else if (!control->graphicsEffect()) {
            auto *dim = new QGraphicsOpacityEffect(control);
            dim->setOpacity(0.45);
            control->setGraphicsEffect(dim);
        }
    }
}

bool SettingsLock::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && !m_unlocked && !m_asking) {
        // One dialog at a time: the press of a child reaches the parent as well.
        m_asking = true;
        UnlockDlg dialog(nullptr);
        const bool accepted = dialog.exec() != 0;
        m_asking = false;
        if (accepted) {
            m_unlocked = true;
            setEnabled(true);
            emit signalsUnlocked();
        }
    }
    return QObject::eventFilter(watched, event);
}
