// The frames of the "Cloud Server" byte stream: bus, long and login frames taken
// by their own lengths however the stream is cut, and bytes that are no frame
// skipped. Each row is fed whole, cut in two at every byte, and one byte at a time.

#include "testmain.h"

#include "bus/streamframes.h"
#include "simframe.h"

#include <QtTest>

namespace {

// The bytes, then the CRC over all but their first from bytes.
QByteArray withCrc(const QByteArray &bytes, int from)
{
    const quint16 crc = SimFrame::crc16(bytes.mid(from));
    return bytes + char(crc >> 8) + char(crc & 0xFF);
}

QByteArray busFrame(const QByteArray &payload)
{
    return SimFrame::build(QByteArray::fromHex("7f000001"), 1, 20, 0x0001, 0xE01C, 255, 255, payload);
}

// Header with BB BB, the 16-bit length (itself, the bus frame's fields, payload, CRC).
QByteArray longFrame(int payloadBytes)
{
    const int length = 12 + payloadBytes;
    return withCrc(busFrame("").left(14) + "\xbb\xbb" + char(length >> 8) + char(length & 0xFF) +
                       QByteArray::fromHex("0114000100320101") + QByteArray(payloadBytes, '\x5a'),
                   16);
}

QByteArray loginFrame(const QByteArray &body)
{
    const int total = 8 + body.size();
    return withCrc("\xcc\xcc" + QByteArray(1, char(total >> 8)) + char(total) + QByteArray::fromHex("00a3") + body,
                   0);
}

QByteArray flipLast(QByteArray bytes)
{
    bytes[bytes.size() - 1] = char(bytes.at(bytes.size() - 1) ^ 1);
    return bytes;
}

const QHash<QString, QByteArray> &named()
{
    const QByteArray head = busFrame("").left(16);
    static const QHash<QString, QByteArray> frames = {
        {"bus1", busFrame("\x09\x01")},
        {"bus2", busFrame(QByteArray(244, '\xaa'))}, // the longest, all AA
        {"bus3", busFrame(QByteArray::fromHex("cccc0010"))},
        {"long1", longFrame(0)},
        {"long2", longFrame(2000)},
        {"long3", longFrame(8192 - 28)}, // the longest handed on
        {"login1", loginFrame(QByteArray(8, '\0'))},
        {"login2", loginFrame(QByteArray::fromHex("aaaa"))},
        {"login3", loginFrame(QByteArray(1, '\x01'))}, // nine bytes
        // No frames: a wrong CRC; length bytes too short, too long, below eleven; a long
        // frame one byte past the receive buffer, and a header beyond it.
        {"badCrc", flipLast(busFrame("\x09\x02"))},
        {"short", head + QByteArray::fromHex("0c01140001e01cffff0901aabb")},
        {"long", head + QByteArray::fromHex("ff01140001e01cffff0901aabb")},
        {"below11", head + QByteArray::fromHex("01aabbccdd")},
        {"tooLong", longFrame(8192 - 27)},
        {"past", longFrame(0).left(16) + QByteArray::fromHex("ff01")},
    };
    return frames;
}

// The names of the frames taken, "?" for anything else.
QStringList takeAll(StreamFrames &frames, bool &bounded)
{
    QStringList taken;
    unsigned char out[StreamFrames::MaxFrame];
    while (const int size = frames.take(out))
        taken << named().key(QByteArray(reinterpret_cast<const char *>(out), size), QStringLiteral("?"));
    bounded = bounded && frames.buffered() < StreamFrames::MaxFrame;
    return taken;
}

} // namespace

class TestStreamFrames : public QObject
{
    Q_OBJECT

private slots:
    void cutAnywhere_data();
    void cutAnywhere();
};

// sent: named frames and "~hex" bytes of no frame, in stream order.
void TestStreamFrames::cutAnywhere_data()
{
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("taken");
    QTest::newRow("two bus frames") << "bus1 bus2" << "bus1 bus2";
    QTest::newRow("three bus frames") << "bus2 bus3 bus1" << "bus2 bus3 bus1";
    QTest::newRow("two long frames") << "long1 long2" << "long1 long2";
    QTest::newRow("three long frames") << "long2 long1 long3" << "long2 long1 long3";
    QTest::newRow("two login frames") << "login1 login3" << "login1 login3";
    QTest::newRow("three login frames") << "login2 login1 login3" << "login2 login1 login3";
    QTest::newRow("each kind") << "login1 bus1 long1 bus3" << "login1 bus1 long1 bus3";
    QTest::newRow("garbage before, between, after")
        << "~00ffaa bus1 ~cc long1 ~bbbb0102 login2 ~aaaa" << "bus1 long1 login2";
    QTest::newRow("nothing but garbage") << "~0102030405060708090a0b0c0d0e0f10111213aaaa" << "";
    QTest::newRow("a header cut off") << "~c0a8 bus2 bus1" << "bus2 bus1";
    QTest::newRow("length too short, then a good one") << "short bus1" << "bus1";
    QTest::newRow("length too long, then a good one") << "long bus1 bus3" << "bus1 bus3";
    QTest::newRow("lengths below the smallest") << "below11 ~cccc0001 bus3" << "bus3";
    QTest::newRow("bad CRC, then a good one") << "badCrc bus1" << "bus1";
    QTest::newRow("login promising 8000 bytes") << "~cccc1f4000a3 login2 bus1" << "login2 bus1";
    QTest::newRow("long frames past the buffer") << "tooLong past long1" << "long1";
}

void TestStreamFrames::cutAnywhere()
{
    QFETCH(QString, sent);
    QFETCH(QString, taken);
    QByteArray bytes;
    for (const QString &part : sent.split(' '))
        bytes += part.startsWith('~') ? QByteArray::fromHex(part.mid(1).toLatin1()) : named().value(part);
    const QStringList want = taken.split(' ', Qt::SkipEmptyParts);
    bool bounded = true;
    // Cut in two at every byte (0: the whole stream in one read).
    for (int cut = 0; cut < bytes.size(); ++cut) {
        StreamFrames frames;
        frames.append(bytes.constData(), cut);
        QStringList got = takeAll(frames, bounded);
        frames.append(bytes.constData() + cut, bytes.size() - cut);
        got += takeAll(frames, bounded);
        QVERIFY2(got == want, qPrintable(QString("cut at %1: %2").arg(cut).arg(got.join(' '))));
    }
    // One byte a read; what waits stays under one frame.
    StreamFrames frames;
    QStringList got;
    for (const char byte : bytes) {
        frames.append(&byte, 1);
        got += takeAll(frames, bounded);
    }
    QCOMPARE(got, want);
    QVERIFY(bounded);
}

VARNO_TEST_MAIN(TestStreamFrames)
#include "tst_streamframes.moc"
