// The frame checksum and the three receive checks. Buffers are handed over in
// allocations of exactly the received size, so that a check reading past the
// received bytes shows up under AddressSanitizer.

#include "testmain.h"

#include "bus/broadcastsocket.h"
#include "bus/crc.h"
#include "simframe.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <vector>

namespace {

std::vector<unsigned char> exact(const QByteArray &bytes)
{
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

QByteArray busFrame(quint8 targetSubnet, quint8 targetDevice, const QByteArray &payload = {})
{
    return SimFrame::build(QByteArray::fromHex("c0a80105"), 1, 10, 0x0001, 0x0032, targetSubnet,
                           targetDevice, payload);
}

// A long frame: header with BB BB, a 16-bit length from byte 16 up to the CRC.
QByteArray longFrame(const QByteArray &body, int lengthOverride = -1)
{
    QByteArray frame = QByteArray::fromHex("c0a80105") + "VOVERUDIZI" + QByteArray::fromHex("bbbb");
    const int length = lengthOverride >= 0 ? lengthOverride : body.size() + 4;
    frame.append(char(length >> 8));
    frame.append(char(length & 0xFF));
    frame.append(body);
    const quint16 crc = SimFrame::crc16(frame.mid(16));
    frame.append(char(crc >> 8));
    frame.append(char(crc & 0xFF));
    return frame;
}

QByteArray loginFrame(const QByteArray &body)
{
    QByteArray frame = QByteArray::fromHex("cccc") + body;
    const quint16 crc = SimFrame::crc16(frame);
    frame.append(char(crc >> 8));
    frame.append(char(crc & 0xFF));
    return frame;
}

} // namespace

class TestBusFrame : public QObject
{
    Q_OBJECT

private slots:
    void crcKnownValues_data();
    void crcKnownValues();
    void crcMatchesBitwiseReference();
    void crcMarksTellZeroSpans_data();
    void crcMarksTellZeroSpans();
    void packCrcStoresHighByteFirst();
    void checkCrcRejectsAnyChangedBit();
    void busFrameCheck_data();
    void busFrameCheck();
    void longFrameCheck_data();
    void longFrameCheck();
    void loginFrameCheck_data();
    void loginFrameCheck();
    void sendBufferBounds();
};

void TestBusFrame::crcKnownValues_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("crc");
    QTest::newRow("check string") << QByteArray("123456789") << 0x31C3;
    QTest::newRow("nothing") << QByteArray() << 0x0000;
    QTest::newRow("letter A") << QByteArray("A") << 0x58E5;
    QTest::newRow("single zero") << QByteArray(1, '\0') << 0x0000;
    QTest::newRow("single 0xFF") << QByteArray(1, '\xFF') << 0x1EF0;
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    QTest::newRow("bytes 0 to 255") << all << 0x7E55;
    QTest::newRow("example light frame body")
        << QByteArray::fromHex("0f01feccc20031010a02640000") << 0xBC18;
}

void TestBusFrame::crcKnownValues()
{
    QFETCH(QByteArray, data);
    QFETCH(int, crc);
    auto bytes = exact(data);
    QCOMPARE(int(crc16Xmodem(bytes.data(), bytes.size())), crc);
}

void TestBusFrame::crcMatchesBitwiseReference()
{
    QRandomGenerator random(20240601);
    for (int round = 0; round < 200; ++round) {
        QByteArray data(int(random.bounded(300)), '\0');
        for (char &c : data)
            c = char(random.bounded(256));
        auto bytes = exact(data);
        QCOMPARE(crc16Xmodem(bytes.data(), bytes.size()), SimFrame::crc16(data));
    }
}

// The marks of a stream's points, carried over random cuts from any position: two marks
// are equal exactly when the bytes between their points have a CRC of zero (spans planted
// to end with their own CRC, and random spans, against a plain CRC). At one point every
// CRC value has a mark of its own.
void TestBusFrame::crcMarksTellZeroSpans_data()
{
    QTest::addColumn<quint64>("start"); // the stream position of the first byte
    QTest::newRow("from 0") << quint64(0);
    QTest::newRow("from 32,760, past the period") << quint64(32760);
    QTest::newRow("across 2^32") << (quint64(1) << 32) - 30000;
    QTest::newRow("past 2^40") << (quint64(1) << 40) + 12345;
}

void TestBusFrame::crcMarksTellZeroSpans()
{
    QFETCH(quint64, start);
    QRandomGenerator random(quint32(start) ^ 0x5eed);
    std::vector<unsigned char> data(70000);
    for (unsigned char &byte : data)
        byte = static_cast<unsigned char>(random.bounded(256));
    QList<QPair<int, int>> zero;
    for (int at = 0; at + 2000 < int(data.size()); at += 2000) {
        const int from = at + random.bounded(100), length = random.bounded(1, 1800);
        packCrc(data.data() + from, static_cast<unsigned short>(length));
        zero.append({from, from + length + 2});
    }
    const unsigned short first = static_cast<unsigned short>(random.bounded(65536));
    std::vector<unsigned short> marks(data.size() + 1);
    marks[0] = crc16XmodemMark(first, start);
    unsigned short crc = first;
    for (size_t at = 0; at < data.size();) {
        const size_t cut = std::min<size_t>(data.size() - at, random.bounded(1, 5000));
        crc = crc16XmodemMarks(crc, start + at, data.data() + at, cut, marks.data() + at + 1);
        at += cut;
    }
    for (const auto &span : qAsConst(zero))
        QVERIFY2(marks[size_t(span.first)] == marks[size_t(span.second)], qPrintable(QString::number(span.first)));
    for (int round = 0; round < 20000; ++round) {
        const int from = random.bounded(int(data.size()) - 2000), length = random.bounded(1, 2000);
        QCOMPARE(marks[size_t(from)] == marks[size_t(from + length)],
                 crc16Xmodem(data.data() + from, size_t(length)) == 0);
    }
    std::vector<bool> seen(65536);
    for (unsigned value = 0; value < 65536; ++value) {
        const unsigned short mark = crc16XmodemMark(static_cast<unsigned short>(value), start + 777);
        QVERIFY2(!seen[mark], qPrintable(QString::number(value)));
        seen[mark] = true;
    }
}

void TestBusFrame::packCrcStoresHighByteFirst()
{
    unsigned char data[11] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', 0x55, 0x55};
    packCrc(data, 9);
    QCOMPARE(int(data[9]), 0x31);
    QCOMPARE(int(data[10]), 0xC3);
    QVERIFY(checkCrc(data, 9));

    unsigned char empty[2] = {0x12, 0x34};
    packCrc(empty, 0);
    QCOMPARE(int(empty[0]), 0);
    QCOMPARE(int(empty[1]), 0);
}

void TestBusFrame::checkCrcRejectsAnyChangedBit()
{
    unsigned char data[8] = {0x0B, 0x01, 0xFE, 0xCC, 0xC2, 0xEF, 0, 0};
    packCrc(data, 6);
    QVERIFY(checkCrc(data, 6));
    for (int byte = 0; byte < 8; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            data[byte] ^= (1 << bit);
            QVERIFY2(!checkCrc(data, 6), qPrintable(QStringLiteral("byte %1 bit %2").arg(byte).arg(bit)));
            data[byte] ^= (1 << bit);
        }
    }
}

void TestBusFrame::busFrameCheck_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("accepted");

    const QByteArray toAll = busFrame(255, 255);
    QCOMPARE(toAll.size(), 27);
    QTest::newRow("27 bytes to everybody") << toAll << true;
    QTest::newRow("the same, 26 bytes") << toAll.left(26) << false;
    QTest::newRow("nothing") << QByteArray() << false;
    QTest::newRow("to the own address") << busFrame(1, 254, "\x01\x02") << true;
    QTest::newRow("to subnet 255, own device") << busFrame(255, 254) << false;
    QTest::newRow("to own subnet, device 255") << busFrame(1, 255) << false;
    QTest::newRow("to another device") << busFrame(1, 10) << false;
    QTest::newRow("to another subnet") << busFrame(2, 254) << false;
    QTest::newRow("trailing bytes after the CRC") << toAll + QByteArray(5, '\x77') << true;

    QByteArray badCrc = busFrame(255, 255, "abc");
    badCrc[badCrc.size() - 1] = char(badCrc.at(badCrc.size() - 1) ^ 0x01);
    QTest::newRow("wrong CRC") << badCrc << false;

    QByteArray wrongStart = toAll;
    wrongStart[15] = char(0xAB);
    QTest::newRow("wrong start code") << wrongStart << false;

    const QByteArray long244 = busFrame(255, 255, QByteArray(244, '\x11'));
    QCOMPARE(long244.size(), 271);
    QTest::newRow("largest payload") << long244 << true;

    // Crafted length bytes: the CRC range must never leave the received bytes.
    for (int length : {0, 1, 2, 10}) {
        QByteArray crafted = toAll;
        crafted[16] = char(length);
        QTest::newRow(qPrintable(QStringLiteral("length byte %1").arg(length))) << crafted << false;
    }
    QByteArray tooLong = toAll;
    tooLong[16] = char(200);
    QTest::newRow("length beyond the received bytes") << tooLong << false;
    QByteArray oneShort = busFrame(255, 255, "xyz");
    QTest::newRow("frame one byte short of its length") << oneShort.left(oneShort.size() - 1)
                                                        << false;
}

void TestBusFrame::busFrameCheck()
{
    QFETCH(QByteArray, frame);
    QFETCH(bool, accepted);
    BroadcastSocket socket;
    socket.setId(1, 254);
    auto bytes = exact(frame);
    QCOMPARE(socket.checkRecvBuff_0xAAAA(bytes.empty() ? nullptr : bytes.data(),
                                         static_cast<long long>(bytes.size())),
             accepted);
}

void TestBusFrame::longFrameCheck_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("accepted");
    // body: source address and type, operation code, target, payload
    const QByteArray body = QByteArray::fromHex("01feccc21234ffff") + QByteArray(10, 'p');
    const QByteArray good = longFrame(body);
    QCOMPARE(good.size(), 16 + 2 + body.size() + 2);
    QVERIFY(good.size() >= 36);
    QTest::newRow("whole long frame") << good << true;
    QTest::newRow("with trailing bytes") << good + "tail" << true;
    QTest::newRow("35 bytes") << good.left(35) << false;
    QTest::newRow("one byte short of its length") << good.left(good.size() - 1) << false;

    QByteArray badCrc = good;
    badCrc[badCrc.size() - 2] = char(badCrc.at(badCrc.size() - 2) ^ 0x40);
    QTest::newRow("wrong CRC") << badCrc << false;

    QByteArray shortStart = good;
    shortStart[14] = char(0xAA);
    QTest::newRow("start code AA BB") << shortStart << false;

    for (int length : {0, 1, 2, 11}) {
        QByteArray crafted = good;
        crafted[16] = 0;
        crafted[17] = char(length);
        QTest::newRow(qPrintable(QStringLiteral("length %1").arg(length))) << crafted << false;
    }
    QByteArray huge = good;
    huge[16] = char(0xFF);
    huge[17] = char(0xFF);
    QTest::newRow("length 65535") << huge << false;
}

void TestBusFrame::longFrameCheck()
{
    QFETCH(QByteArray, frame);
    QFETCH(bool, accepted);
    BroadcastSocket socket;
    auto bytes = exact(frame);
    QCOMPARE(socket.checkRecvBuff_0xBBBB(bytes.data(), static_cast<long long>(bytes.size())),
             accepted);
}

void TestBusFrame::loginFrameCheck_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("accepted");
    const QByteArray nine = loginFrame("\x01\x02\x03\x04\x05");
    QCOMPARE(nine.size(), 9);
    QTest::newRow("nine bytes") << nine << true;
    QTest::newRow("longer answer") << loginFrame(QByteArray(40, 'm')) << true;
    QTest::newRow("eight bytes") << loginFrame("\x01\x02\x03\x04") << false;
    QTest::newRow("eight bytes of CC") << QByteArray(8, '\xCC') << false;
    QByteArray badCrc = nine;
    badCrc[8] = char(badCrc.at(8) ^ 0x80);
    QTest::newRow("wrong CRC") << badCrc << false;
    QByteArray wrongStart = nine;
    wrongStart[1] = char(0xCD);
    QTest::newRow("wrong start") << wrongStart << false;
    QTest::newRow("bus frame") << busFrame(255, 255) << false;
}

void TestBusFrame::loginFrameCheck()
{
    QFETCH(QByteArray, frame);
    QFETCH(bool, accepted);
    BroadcastSocket socket;
    auto bytes = exact(frame);
    QCOMPARE(socket.checkRecvBuff_0xCCCC(bytes.data(), static_cast<long long>(bytes.size())),
             accepted);
}

void TestBusFrame::sendBufferBounds()
{
    BroadcastSocket socket;
    socket.resetSendBuff();
    int pushed = 0;
    while (socket.push(0x42))
        ++pushed;
    // Bytes 16 to 8190 may be filled: the CRC still fits behind them.
    QCOMPARE(pushed, BroadcastSocket::BufferSize - 1 - 16);
    QVERIFY(!socket.push(0x42));

    socket.resetSendBuff();
    unsigned char tooShort[4] = {15, 0x00, 0x31, 1};
    QVERIFY(!socket.setTxBuffs(tooShort, 4));
    unsigned char body[5] = {11, 0xEF, 0xFD, 1, 10};
    QVERIFY(socket.setTxBuffs(body, 5));
}

VARNO_TEST_MAIN(TestBusFrame)
#include "tst_busframe.moc"
