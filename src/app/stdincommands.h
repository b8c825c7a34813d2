#pragma once

// Test hook: when the environment variable VARNO_COMMANDS_ON_STDIN is "1", the
// program reads one command per line from its standard input and answers on its
// standard output, so that an end-to-end test can work a running installation
// the way a user would. Unset, nothing of this exists.
//
//   page <id>[|<arg1>]        asks for the page, as a tile or button would
//   click <objectName>        clicks the visible button of that name (queued, so
//                             a modal dialog it opens keeps the input going)
//   check <objectName> <text> checks the check box beside the label of that name
//                             showing that text
//   type <objectName> <text>  sets the text of the visible entry of that name
//   text <objectName>         prints "TEXT <text>" of that label or entry
//   press <objectName>        presses the visible label or tile of that name (its
//                             signalsPressed, queued as click)
//   gallery <file>            the next picture-style dialog takes "Add From Gallery"
//                             and the next file dialog answers <file>; the file
//                             dialogs after it are cancelled
//   quit                      ends the program
//
// Each command prints "OK <command>" or "FAIL <command>". Every text for the user
// (the main window's and each dialog's) is printed as "INFO <text>". "READY" is
// printed once the commands are taken.

#include <QByteArray>
#include <QObject>

class QSocketNotifier;
class QWidget;

class StdinCommands : public QObject
{
    Q_OBJECT
public:
    // Starts reading when the environment asks for it; answers whether it did.
    static bool startIfRequested(QObject *parent);

private:
    explicit StdinCommands(QObject *parent);
    void readInput();
    bool run(const QByteArray &line);
    void watchDialogs();
    QWidget *findVisible(const QString &objectName) const;
    static void print(const QByteArray &line);

    // Answers the picture-style dialog of a pending "gallery" command.
    void answerGallery();

    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_pending;
    QString m_galleryFile; // the pending "gallery" command's file
    bool m_galleryStyle = false; // its style dialog not yet answered
};
