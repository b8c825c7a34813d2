#pragma once

// The machine's identity as the platform reports it.

#include <QObject>
#include <QString>

class MachineInfo : public QObject
{
    Q_OBJECT
public:
    explicit MachineInfo(QObject *parent = nullptr);

    // The machine's unique id as text (up to its first zero byte); empty when the
    // platform has none.
    static QString machineUniqueId();
    static QString getOsName();
};
