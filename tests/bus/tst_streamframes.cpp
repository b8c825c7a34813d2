// The frames of the "Cloud Server" byte stream: bus, long and login frames taken
// by their own lengths however the stream is cut, and bytes that are no frame
// skipped. Each row is fed whole, cut in two at every byte, and one byte at a time.

#include "testmain.h"

#include "bus/streamframes.h"
#include "simframe.h"

#include <QtTest>

namespace {

QByteArray withCrc(QByteArray bytes, int from)
{
    const quint16 crc = SimFrame::crc16(bytes.mid(from));
    bytes.append(char(crc >> 8));
    bytes.append(char(crc & 0xFF));
    return bytes;
}

QByteArray busFrame(const QByteArray &payload)
{
    return SimFrame::build(QByteArray::fromHex("7f000001"), 1, 20, 0x0001, 0xE01C, 255, 255, payload);
}

// 16-bit length over the length itself, the fields of a bus frame, the payload and the CRC.
QByteArray longFrame(int payloadBytes)
{
    QByteArray bytes = QByteArray::fromHex("7f000001") + "VOVERUDIZI" + QByteArray::fromHex("bbbb");
    const int length = 12 + payloadBytes;
    bytes += char(length >> 8);
    bytes += char(length & 0xFF);
    bytes += QByteArray::fromHex("0114000100320101") + QByteArray(payloadBytes, '\x5a');
    return withCrc(bytes, 16);
}

QByteArray loginFrame(const QByteArray &body)
{
    const int total = 6 + body.size() + 2;
    return withCrc(QByteArray::fromHex("cccc") + char(total >> 8) + char(total & 0xFF) +
                       QByteArray::fromHex("00a3") + body,
                   0);
}

const QHash<QString, QByteArray> &named()
{
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
        // No frames: a bus frame with a wrong CRC, and bus frame headers whose length
        // byte lies (too short, too long, below eleven).
        {"badCrc",
         [] {
             QByteArray f = busFrame("\x09\x02");
             f[f.size() - 1] = char(f.at(f.size() - 1) ^ 1);
             return f;
         }()},
        {"short", busFrame("\x09\x01").left(16) + QByteArray::fromHex("0c01140001e01cffff0901aabb")},
        {"long", busFrame("\x09\x01").left(16) + QByteArray::fromHex("ff01140001e01cffff0901aabb")},
        {"below11", busFrame("\x09\x01").left(16) + QByteArray::fromHex("05")},
        // A long frame one byte past the receive buffer, and a header beyond it.
        {"tooLong", longFrame(8192 - 27)},
        {"past", longFrame(0).left(16) + QByteArray::fromHex("ff01")},
    };
    return frames;
}

// "bus1 ~0102 long1": named frames and hex bytes of no frame, in stream order.
QByteArray stream(const QString &parts)
{
    QByteArray bytes;
    for (const QString &part : parts.split(' ', Qt::SkipEmptyParts))
        bytes += part.startsWith('~') ? QByteArray::fromHex(part.mid(1).toLatin1()) : named().value(part);
    return bytes;
}

// The names of the frames taken, "?" for anything else; each take moves on.
QStringList takeAll(StreamFrames &frames, bool *bounded = nullptr)
{
    QStringList taken;
    unsigned char out[StreamFrames::MaxFrame];
    while (const int size = frames.take(out)) {
        const QByteArray frame(reinterpret_cast<const char *>(out), size);
        taken << named().key(frame, QStringLiteral("?"));
    }
    if (bounded)
        *bounded = *bounded && frames.buffered() < StreamFrames::MaxFrame;
    return taken;
}

} // namespace

class TestStreamFrames : public QObject
{
    Q_OBJECT

private slots:
    void cutAnywhere_data();
    void cutAnywhere();
    void manyInOneRead();
};

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
    QTest::newRow("length below eleven") << "below11 bus3" << "bus3";
    QTest::newRow("bad CRC, then a good one") << "badCrc bus1" << "bus1";
    QTest::newRow("login promising 8000 bytes") << "~cccc1f4000a3 login2 bus1" << "login2 bus1";
    QTest::newRow("long frames past the buffer") << "tooLong past long1" << "long1";
}

void TestStreamFrames::cutAnywhere()
{
    QFETCH(QString, sent);
    QFETCH(QString, taken);
    const QByteArray bytes = stream(sent);
    const QStringList want = taken.split(' ', Qt::SkipEmptyParts);
    // Cut in two at every byte (0: the whole stream in one read).
    for (int cut = 0; cut < bytes.size(); ++cut) {
        StreamFrames frames;
        frames.append(bytes.constData(), cut);
        QStringList got = takeAll(frames);
        frames.append(bytes.constData() + cut, bytes.size() - cut);
        got += takeAll(frames);
        QVERIFY2(got == want, qPrintable(QString("cut at %1: %2").arg(cut).arg(got.join(' '))));
    }
    // One byte a read; what waits stays under one frame.
    StreamFrames frames;
    QStringList got;
    bool bounded = true;
    for (const char byte : bytes) {
        frames.append(&byte, 1);
        got += takeAll(frames, &bounded);
    }
    QCOMPARE(got, want);
    QVERIFY(bounded);
}

void TestStreamFrames::manyInOneRead()
{
    QByteArray bytes;
    QStringList want;
    for (int i = 0; i < 100; ++i) {
        const QString name = QStringList{"bus1", "login2", "bus3", "long1"}.at(i % 4);
        bytes += named().value(name);
        want << name;
    }
    StreamFrames frames;
    frames.append(bytes.constData(), bytes.size());
    QCOMPARE(takeAll(frames), want);
    QCOMPARE(frames.buffered(), 0);
}

VARNO_TEST_MAIN(TestStreamFrames)
#include "tst_streamframes.moc"
