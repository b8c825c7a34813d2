#include "machineinfo.h"

#include <QSysInfo>

MachineInfo::MachineInfo(QObject *parent)
    : QObject(parent)
{
}

QString MachineInfo::machineUniqueId()
{
    const QByteArray id = QSysInfo::machineUniqueId();
    const int zero = id.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? id : id.left(zero));
}

QString MachineInfo::getOsName()
{
    return QSysInfo::prettyProductName();
}
