#pragma once

// The file dialogs of the pages (picture from the gallery, export target). Pages
// call these instead of QFileDialog so that a test can answer a dialog without a
// window: with no answerer set (every normal run) the real dialog opens.

#include <QString>

#include <functional>
#include <optional>

class QWidget;

enum class FileDialogKind { Open, Save };

// Asks for an existing file to read; an empty text when the user cancels.
QString askOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                        const QString &filter);

// Asks for a file name to write; an empty text when the user cancels.
QString askSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                        const QString &filter);

// Answers every following dialog with what the function returns (an empty text is
// a cancel) instead of opening one. The function receives the kind, the caption
// and the proposed folder or file name. An empty function restores the real
// dialogs.
using FileDialogAnswerer =
    std::function<QString(FileDialogKind kind, const QString &caption, const QString &dir)>;
void answerFileDialogsWith(FileDialogAnswerer answerer);
