#pragma once

// One simulated field device at one bus address. The base answers the firmware
// query (0xEFFD with 0xEFFE and the firmware text); device kinds derive from it
// and add their own answers in answer(). Scripts set by a test take precedence
// over what the device would answer.

#include "simanswer.h"
#include "simframe.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>

class SimDevice
{
public:
    static constexpr quint16 FirmwareQuery = 0xEFFD;
    static constexpr quint16 FirmwareAnswer = 0xEFFE;

    SimDevice(quint8 subnet, quint8 device, quint16 deviceType = 0x0001);
    virtual ~SimDevice();

    quint8 subnet() const { return m_subnet; }
    quint8 device() const { return m_device; }
    quint16 deviceType() const { return m_deviceType; }

    void setFirmware(const QByteArray &text) { m_firmware = text; }
    QByteArray firmware() const { return m_firmware; }

    // Bytes 0-3 of the frames this device sends (the bus sets its own address).
    void setHeaderIp(const QByteArray &ip) { m_headerIp = ip; }
    QByteArray headerIp() const { return m_headerIp; }

    // Scripted answer to an operation code, kept until cleared (or used once).
    void setAnswer(quint16 code, const SimAnswer &answer);
    void clearAnswer(quint16 code);
    void clearAnswers();
    // Answer to every operation code that has no script of its own.
    void setDefaultAnswer(const SimAnswer &answer) { m_default = answer; }

    // Frames this device took (addressed to it or to everybody), in order.
    const QList<SimFrame> &requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }
    // The source address (subnet, device) of each frame taken, in order.
    QList<QPair<quint8, quint8>> sources() const;

    // Target is this device or 255/255.
    bool accepts(const SimFrame &frame) const;
    // What the device sends back for a valid frame addressed to it.
    QList<SimOutput> respond(const SimFrame &request);

    // A frame from this device, as the device kinds build their replies.
    QByteArray frame(quint16 code, quint8 targetSubnet, quint8 targetDevice,
                     const QByteArray &payload) const;
    // A reply to the sender of the request.
    QByteArray replyTo(const SimFrame &request, quint16 code, const QByteArray &payload) const;

protected:
    // The device kind's own answer; the base handles the firmware query.
    virtual void answer(const SimFrame &request, QList<QByteArray> &replies);

private:
    quint8 m_subnet;
    quint8 m_device;
    quint16 m_deviceType;
    QByteArray m_firmware = "SIM-FW 1.0";
    QByteArray m_headerIp = QByteArray(4, '\0');
    QHash<quint16, SimAnswer> m_answers;
    SimAnswer m_default = SimAnswer::normal();
    QList<SimFrame> m_requests;
};
