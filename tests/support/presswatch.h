#pragma once

// Notes when a mouse press has reached a widget or a widget inside it. A kinetic
// scroll area holds a press back until it is clear that no drag follows and then
// hands it on; a test gives the release only once the press has arrived.

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace varnotest {

class PressWatch : public QObject
{
public:
    explicit PressWatch(QWidget *target)
        : m_target(target)
    {
        qApp->installEventFilter(this);
    }
    ~PressWatch() override { qApp->removeEventFilter(this); }
    bool reached() const { return m_reached; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
            auto *w = static_cast<QWidget *>(watched);
            if (m_target && (w == m_target || m_target->isAncestorOf(w)))
                m_reached = true;
        }
        return false;
    }

private:
    QPointer<QWidget> m_target;
    bool m_reached = false;
};

} // namespace varnotest
