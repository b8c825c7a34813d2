#include "simloginserver.h"

QByteArray SimLoginServer::answer(quint16 code, int size, int resultIndex, quint8 result)
{
    QByteArray bytes(size - 2, '\0');
    bytes[0] = char(0xCC);
    bytes[1] = char(0xCC);
    bytes[2] = char(size >> 8);
    bytes[3] = char(size & 0xFF);
    bytes[4] = char(code >> 8);
    bytes[5] = char(code & 0xFF);
    if (resultIndex < bytes.size())
        bytes[resultIndex] = char(result);
    const quint16 crc = SimFrame::crc16(bytes);
    bytes.append(char(crc >> 8));
    bytes.append(char(crc & 0xFF));
    return bytes;
}

QList<SimOutput> SimLoginServer::respond(const SimFrame &request)
{
    m_requests.append(request);
    if (m_mode == Silent || m_requests.size() < m_answerFrom || request.raw.size() < 6)
        return {};
    const quint16 code = quint16((quint8(request.raw.at(4)) << 8) | quint8(request.raw.at(5)));
    QByteArray bytes;
    if (code == 0x00A2)
        bytes = answer(0x00A3, 16, 13, m_cloudResult);
    else if (code == 0x00A5)
        bytes = answer(0x00A4, 12, 9, m_dnsResult);
    else
        return {};
    if (m_mode == BadCrc)
        bytes[bytes.size() - 1] = char(bytes.at(bytes.size() - 1) ^ 0xFF);
    if (m_mode == Short) {
        // Nine bytes with a good CRC but no room for the result byte.
        bytes = bytes.left(7);
        const quint16 crc = SimFrame::crc16(bytes);
        bytes.append(char(crc >> 8));
        bytes.append(char(crc & 0xFF));
    }
    return {SimOutput{bytes, m_delayMs}};
}
