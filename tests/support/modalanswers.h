#pragma once

// Answers the modal dialogs that a press opens: each action runs, in order, on
// the next modal widget that shows up, from the dialog's own event loop.

#include <QApplication>
#include <QList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace varnotest {

using ModalAction = std::function<void(QWidget *dialog)>;

inline void answerModals(const QList<ModalAction> &actions)
{
    auto remaining = std::make_shared<QList<ModalAction>>(actions);
    auto handled = std::make_shared<QWidget *>(nullptr);
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, remaining, handled]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == *handled || !modal->isVisible() || remaining->isEmpty())
            return;
        *handled = modal;
        const ModalAction action = remaining->takeFirst();
        if (remaining->isEmpty())
            timer->deleteLater();
        action(modal);
    });
    timer->start();
}

} // namespace varnotest
