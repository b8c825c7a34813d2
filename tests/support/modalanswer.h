#pragma once

// Answering the modal dialogs a page opens with exec(): the answer runs once the
// dialog's own event loop runs, on the dialog found as the active modal widget.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace varnotest {

// Runs answer on the next modal dialog of type Dialog; a dialog of another type
// (or none) is closed, and *seen (when given) counts the dialogs answered.
template <typename Dialog> void answerModal(std::function<void(Dialog *)> answer, int *seen = nullptr)
{
    QTimer::singleShot(0, [answer, seen]() {
        QWidget *modal = QApplication::activeModalWidget();
        auto *dialog = qobject_cast<Dialog *>(modal);
        if (!dialog) {
            if (modal)
                modal->close();
            return;
        }
        if (seen)
            ++*seen;
        answer(dialog);
    });
}

} // namespace varnotest
