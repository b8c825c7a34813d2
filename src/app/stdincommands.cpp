#include "stdincommands.h"

#include "bus/broadcastsocket.h"
#include "shell/filedialogs.h"
#include "shell/iconstyledlg.h"
#include "shell/mydialog.h"
#include "store/globals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <utility>
#include <unistd.h>

bool StdinCommands::startIfRequested(QObject *parent)
{
    if (qEnvironmentVariable("VARNO_COMMANDS_ON_STDIN") != QLatin1String("1"))
        return false;
    new StdinCommands(parent);
    return true;
}

StdinCommands::StdinCommands(QObject *parent)
    : QObject(parent)
{
    m_notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StdinCommands::readInput);
    connect(&gl_socket, &BroadcastSocket::signalsInformation, this,
            [](QString text) { print("INFO " + text.toUtf8()); });
    auto *scan = new QTimer(this);
    connect(scan, &QTimer::timeout, this, &StdinCommands::watchDialogs);
    scan->start(50);
    print("READY");
}

void StdinCommands::print(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void StdinCommands::answerGallery()
{
    auto *style = qobject_cast<IconStyleDlg *>(QApplication::activeModalWidget());
    if (!m_galleryStyle || !style)
        return;
    m_galleryStyle = false;
    QMetaObject::invokeMethod(style, "slotsIconStyleChanged", Qt::QueuedConnection, Q_ARG(int, 1));
}

void StdinCommands::watchDialogs()
{
    answerGallery();
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget *widget : widgets) {
        auto *dialog = qobject_cast<MyDialog *>(widget);
        if (!dialog || dialog->property("varnoCommandsWatched").toBool())
            continue;
        dialog->setProperty("varnoCommandsWatched", true);
        connect(dialog, &MyDialog::signalsInformation, this,
                [](QString text) { print("INFO " + text.toUtf8()); });
    }
}

void StdinCommands::readInput()
{
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof(buffer));
    if (n <= 0) {
        m_notifier->setEnabled(false);
        return;
    }
    m_pending.append(buffer, int(n));
    int end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end).trimmed();
        m_pending.remove(0, end + 1);
        if (line.isEmpty())
            continue;
        watchDialogs();
        print((run(line) ? "OK " : "FAIL ") + line);
    }
}

QWidget *StdinCommands::findVisible(const QString &objectName) const
{
    QWidget *modal = QApplication::activeModalWidget();
    const QWidgetList widgets =
        modal ? modal->findChildren<QWidget *>(objectName) : QApplication::allWidgets();
    for (QWidget *widget : widgets) {
        if (widget->objectName() == objectName && widget->isVisible())
            return widget;
    }
    return nullptr;
}

bool StdinCommands::run(const QByteArray &line)
{
    const QString text = QString::fromUtf8(line);
    const QString command = text.section(QLatin1Char(' '), 0, 0);
    const QString rest = text.section(QLatin1Char(' '), 1);

    if (command == QLatin1String("page")) {
        const QString id = rest.section(QLatin1Char('|'), 0, 0);
        emit gl_socket.signalsPageIdChanged(id, id, rest.section(QLatin1Char('|'), 1), QString());
        return true;
    }
    if (command == QLatin1String("click")) {
        auto *button = qobject_cast<QAbstractButton *>(findVisible(rest));
        if (!button)
            return false;
        QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
        return true;
    }
    if (command == QLatin1String("check")) {
        const QString name = rest.section(QLatin1Char(' '), 0, 0);
        const QString shown = rest.section(QLatin1Char(' '), 1);
        for (QWidget *widget : QApplication::allWidgets()) {
            auto *label = qobject_cast<QLabel *>(widget);
            if (!label || label->objectName() != name || label->text() != shown || !label->isVisible() ||
                !label->parentWidget())
                continue;
            for (auto *box : label->parentWidget()->findChildren<QAbstractButton *>()) {
                if (box->isCheckable()) {
                    box->setChecked(true);
                    return true;
                }
            }
        }
        return false;
    }
    if (command == QLatin1String("type")) {
        auto *edit = qobject_cast<QLineEdit *>(findVisible(rest.section(QLatin1Char(' '), 0, 0)));
        if (!edit)
            return false;
        edit->setText(rest.section(QLatin1Char(' '), 1));
        return true;
    }
    if (command == QLatin1String("text")) {
        QWidget *widget = findVisible(rest);
        if (auto *label = qobject_cast<QLabel *>(widget))
            print("TEXT " + label->text().toUtf8());
        else if (auto *edit = qobject_cast<QLineEdit *>(widget))
            print("TEXT " + edit->text().toUtf8());
        else
            return false;
        return true;
    }
    if (command == QLatin1String("press")) {
        // Queued, so that a modal dialog it opens keeps the input going.
        QWidget *widget = findVisible(rest);
        return widget && widget->metaObject()->indexOfSignal("signalsPressed()") >= 0 &&
               QMetaObject::invokeMethod(widget, "signalsPressed", Qt::QueuedConnection);
    }
    if (command == QLatin1String("gallery")) {
        if (rest.isEmpty())
            return false;
        m_galleryFile = rest;
        m_galleryStyle = true;
        answerFileDialogsWith([this](FileDialogKind kind, const QString &, const QString &) {
            return kind == FileDialogKind::Open ? std::exchange(m_galleryFile, QString()) : QString();
        });
        return true;
    }
    if (command == QLatin1String("quit")) {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return true;
    }
    return false;
}
