#pragma once

// The remote end of the login: answers a cloud login request (0x00A2) with
// 0x00A3 and a DNS login request (0x00A5) with 0x00A4, each carrying a result
// code the test chooses. It can also stay silent or send a damaged answer.

#include "simanswer.h"
#include "simframe.h"

#include <QList>

class SimLoginServer
{
public:
    enum Mode { Answer, Silent, BadCrc, Short };

    // Result codes: 0 is success for the cloud, 1 for the DNS style.
    void setCloudResult(quint8 result) { m_cloudResult = result; }
    void setDnsResult(quint8 result) { m_dnsResult = result; }
    void setMode(Mode mode) { m_mode = mode; }
    // Answers only from the n-th request on (1 = the first).
    void answerFrom(int request) { m_answerFrom = request; }
    void setDelay(int ms) { m_delayMs = ms; }

    const QList<SimFrame> &requests() const { return m_requests; }

    QList<SimOutput> respond(const SimFrame &request);

    // A login answer of the given operation, result byte at resultIndex.
    static QByteArray answer(quint16 code, int size, int resultIndex, quint8 result);

private:
    quint8 m_cloudResult = 0;
    quint8 m_dnsResult = 1;
    Mode m_mode = Answer;
    int m_answerFrom = 1;
    int m_delayMs = 0;
    QList<SimFrame> m_requests;
};
