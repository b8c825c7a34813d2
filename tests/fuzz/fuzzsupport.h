#pragma once

// Shared by the fuzz targets: a process set up once as the application would be
// (offscreen widgets, a HOME and application folder of its own, the project
// "Home" with its database, the own address 1/254), and frames built around
// fuzzed bytes.

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// Makes the application object and the application folder on first use.
void setUp();

// Reads consumed bytes off the front of the input.
class Input
{
public:
    Input(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    uint16_t word() { return uint16_t(byte() << 8 | byte()); }
    QByteArray rest() const
    {
        return QByteArray(reinterpret_cast<const char *>(m_data + m_pos), int(m_size - m_pos));
    }
    bool atEnd() const { return m_pos >= m_size; }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// A bus frame to the own address 1/254 from subnet/device with operation code
// and payload (cut to 244 bytes), with a good CRC.
QByteArray frameTo(uint8_t subnet, uint8_t device, uint16_t code, const QByteArray &payload);

// Hands bytes to every receiver on the hub, as the transport does.
void deliver(QByteArray bytes);

} // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
