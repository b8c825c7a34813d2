// The transport's receive checks over fuzzed bytes: a stream cut into blocks the
// way the TCP link hands them on (any block size up to one buffer), each block
// through the checks of the three frame kinds, the sender screen of each network
// style, and the bounded reply reader of the device cards.

#include "fuzzsupport.h"

#include "bus/broadcastsocket.h"
#include "operation/busreply.h"
#include "store/globals.h"

#include <QHostAddress>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    fuzz::Input in(data, size);
    const int blockSize = 1 + (in.word() % BroadcastSocket::BufferSize);
    const int style = in.byte() % 3;
    QByteArray stream = in.rest();

    const int saved = gl_net_style;
    gl_net_style = style;
    const QHostAddress from(QStringLiteral("127.0.0.2"));
    for (int at = 0; at < stream.size(); at += blockSize) {
        QByteArray block = stream.mid(at, blockSize);
        auto *b = reinterpret_cast<unsigned char *>(block.data());
        const long long n = block.size();
        gl_socket.checkRecvBuff_0xAAAA(b, n);
        gl_socket.checkRecvBuff_0xBBBB(b, n);
        gl_socket.checkRecvBuff_0xCCCC(b, n);
        gl_socket.isValid(from, b, n);
        const BusReply reply(b, n);
        volatile int sink = reply.frameSize() + reply.payloadSize() + reply.code();
        for (int i = 0; i < reply.payloadSize(); ++i)
            sink = sink + reply.payload(i);
        (void)sink;
    }
    gl_net_style = saved;
    return 0;
}
