#pragma once

// The lock of a settings page's edit controls: locked, the controls are disabled
// and a mouse press on any of them asks for the lock password; once it is given
// every control is enabled until the page locks them again (its next entry or
// reload). Buttons, radio buttons and icons are never handed to the lock.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

class SettingsLock : public QObject
{
    Q_OBJECT
public:
    explicit SettingsLock(QObject *parent = nullptr);

    // Watches the control: presses on it (and on its children, which hand a
    // press on to a disabled parent) while locked open the unlock dialog.
    void addControl(QWidget *control);
    const QList<QPointer<QWidget>> &controls() const { return m_controls; }

    // Clears the unlocked flag and disables every control.
    void lock();
    bool isUnlocked() const { return m_unlocked; }

signals:
    void signalsUnlocked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setEnabled(bool enabled);

    QList<QPointer<QWidget>> m_controls;
    bool m_unlocked = false;
    bool m_asking = false;
};
