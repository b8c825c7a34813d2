// The frame checks over fuzzed bytes: one received buffer through the checks of
// the three frame kinds, the sender screen of each network style, and the bounded
// reply reader of the device cards. The transport's own receive loops, which cut
// what arrives into such buffers, are fuzzed by fuzz_transport.

#include "fuzzsupport.h"

#include "bus/broadcastsocket.h"
#include "operation/busreply.h"
#include "store/globals.h"

#include <QHostAddress>

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    fuzz::Input in(data, size);
    const int style = in.byte() % 3;
    // No more than the transport hands on at once; no zeros behind it, so a
    // check that reads past the received bytes is caught.
    const QByteArray rest = in.rest().left(BroadcastSocket::BufferSize);
    std::vector<unsigned char> block(rest.begin(), rest.end());

    const int saved = gl_net_style;
    gl_net_style = style;
    const QHostAddress from(QStringLiteral("127.0.0.2"));
    unsigned char *b = block.data();
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
    gl_net_style = saved;
    return 0;
}
