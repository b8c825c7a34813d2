#pragma once

// Page switching as the main window does it, over the pages a test made: a
// request leaves the visible page, shows the requested one and announces the
// entry with the request's arguments.

#include "bus/broadcastsocket.h"
#include "shell/mydialog.h"
#include "store/globals.h"

#include <QList>
#include <QObject>
#include <QStringList>

class PageNavigator : public QObject
{
public:
    explicit PageNavigator(const QList<MyDialog *> &pages)
        : m_pages(pages)
    {
        connect(&gl_socket, &BroadcastSocket::signalsPageIdChanged, this,
                [this](QString id, QString, QString prm1, QString prm2) {
                    requests.append(id + QLatin1Char(' ') + prm1 + QLatin1Char(' ') + prm2);
                    for (MyDialog *page : qAsConst(m_pages)) {
                        if (page->isVisible() && page->getId() != id)
                            emit gl_socket.signalsPageLeave(page->getId());
                        page->setVisible(page->getId() == id);
                    }
                    emit gl_socket.signalsPageEnter(prm1, prm2);
                });
    }

    void go(const QString &id, const QString &prm1 = QString(), const QString &prm2 = QString())
    {
        emit gl_socket.signalsPageIdChanged(id, id, prm1, prm2);
    }

    // "id prm1 prm2" of every request, in order.
    QStringList requests;

private:
    QList<MyDialog *> m_pages;
};
