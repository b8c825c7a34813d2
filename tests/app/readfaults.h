#pragma once

// The actions of the read-fault sweep, one list per part of the program (each in
// readfaults_<part>.cpp), and what their scripts share.

#include "faultsweep.h"

#include "app/pagefactory.h"
#include "bus/broadcastsocket.h"
#include "shell/mydialog.h"
#include "store/globals.h"

#include <QAbstractButton>
#include <QList>

#include <memory>

namespace readfaults {

QList<faultsweep::Action> messagesActions();
QList<faultsweep::Action> startupActions();
QList<faultsweep::Action> settingsActions();
QList<faultsweep::Action> commissioningActions();
QList<faultsweep::Action> moodsActions();
QList<faultsweep::Action> operationActions();
QList<faultsweep::Action> recordsActions();
// The room, panels and message definitions that rows of messages and records share.
void seedMessages();

// A page as the page factory makes it, shown.
template <typename Page = MyDialog> std::unique_ptr<Page> shownPage(const QString &id)
{
    std::unique_ptr<Page> page(qobject_cast<Page *>(createPage(id, id)));
    page->show();
    return page;
}

template <typename Widget = QWidget> Widget *child(QWidget *parent, const char *name)
{
    return parent->findChild<Widget *>(QLatin1String(name));
}

inline void press(QWidget *parent, const char *button)
{
    child<QAbstractButton>(parent, button)->click();
}

// A received frame, handed on as the hub does.
inline void handFrame(QByteArray frame)
{
    emit gl_socket.dataIsComming(reinterpret_cast<quint8 *>(frame.data()), frame.size());
}

// The module and server the bus uses.
inline QString networkGlobals()
{
    return QStringList{gl_ip_port_mac, gl_password, gl_server_ip, gl_domain_name, gl_host_ip}.join('|');
}

} // namespace readfaults
