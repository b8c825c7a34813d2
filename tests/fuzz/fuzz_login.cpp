// Login answers of the cloud and DNS styles: fuzzed bytes, or a fuzzed answer
// with a good CRC, through the check and the reader the main window uses.

#include "fuzzsupport.h"

#include "bus/broadcastsocket.h"
#include "bus/crc.h"
#include "shell/loginframes.h"
#include "store/globals.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    fuzz::Input in(data, size);
    const uint8_t mode = in.byte();
    QByteArray bytes = in.rest().left(BroadcastSocket::BufferSize);
    if ((mode & 1) && bytes.size() >= 2) {
        // Make it look like an answer: CC CC and a good CRC at the end.
        bytes[0] = char(0xCC);
        bytes[1] = char(0xCC);
        if (bytes.size() >= 6 && (mode & 2)) {
            bytes[4] = 0x00;
            bytes[5] = char(mode & 4 ? 0xA3 : 0xA4);
        }
        bytes.append(2, '\0');
        packCrc(reinterpret_cast<unsigned char *>(bytes.data()), uint16_t(bytes.size() - 2));
    }
    auto *b = reinterpret_cast<unsigned char *>(bytes.data());
    if (gl_socket.checkRecvBuff_0xCCCC(b, bytes.size())) {
        bool ok = false;
        QString text;
        readLoginAnswer(b, bytes.size(), ok, text);
    }
    return 0;
}
