// The decoding of the IP module's answers and join frames: every field is read
// only when the frame holds it, texts end at their first NUL, and a 48-byte
// domain never takes in the CRC.

#include "testmain.h"

#include "settings/ipmoduleframe.h"
#include "simframe.h"

#include <QtTest>

namespace {

QByteArray answer(const QByteArray &payload, quint8 subnet = 1, quint8 device = 100)
{
    return SimFrame::build(QByteArray(4, '\0'), subnet, device, 0x0BE9, IpModuleFrame::Answer, 1, 254,
                           payload);
}

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// What a decoded frame says, in one line.
QString summary(const IpModuleFrame &f)
{
    switch (f.kind) {
    case IpModuleFrame::Ignored:
        return QStringLiteral("ignored");
    case IpModuleFrame::Join:
        return QStringLiteral("join %1/%2 %3").arg(f.subnet).arg(f.device).arg(f.mac);
    case IpModuleFrame::ServerInfo:
        return f.success ? QStringLiteral("server %1:%2 [%3] %4")
                               .arg(f.address)
                               .arg(f.port)
                               .arg(f.password)
                               .arg(f.style)
                         : QStringLiteral("server refused");
    case IpModuleFrame::ServerWritten:
        return f.success ? QStringLiteral("written") : QStringLiteral("write refused");
    case IpModuleFrame::Domain:
        return QStringLiteral("domain [%1]").arg(f.domain);
    case IpModuleFrame::DomainWritten:
        return f.success ? QStringLiteral("domain written") : QStringLiteral("domain refused");
    }
    return QString();
}

} // namespace

class TestIpModuleFrame : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("expected");

        const QByteArray server = hex("08f8 0a000001 177a 61623132 01");
        QTest::newRow("08 ok") << answer(server) << "server 10.0.0.1:6010 [ab12] 1";
        QTest::newRow("08 password ends at NUL")
            << answer(hex("08f8 0a000001 177a 61620000 02")) << "server 10.0.0.1:6010 [ab] 2";
        QTest::newRow("08 NUL then letters")
            << answer(hex("08f8 0a000001 177a 61006364 00")) << "server 10.0.0.1:6010 [a] 0";
        QTest::newRow("08 refused") << answer(hex("08f5")) << "server refused";
        QTest::newRow("08 ok, short") << answer(server.left(12)) << "ignored";
        QTest::newRow("09 ok") << answer(hex("09f8")) << "written";
        QTest::newRow("09 refused") << answer(hex("09f5")) << "write refused";
        QTest::newRow("09 short") << answer(hex("09")) << "ignored";

        QTest::newRow("BC domain") << answer(hex("bc01") +
                                             QByteArray("site.example.org").leftJustified(48, '\0'))
                                   << "domain [site.example.org]";
        QTest::newRow("BC 48 x FF") << answer(hex("bc01") + QByteArray(48, '\xFF')) << "domain []";
        QTest::newRow("BC 48 bytes, no NUL") << answer(hex("bc01") + QByteArray(48, 'd'))
                                             << QStringLiteral("domain [%1]").arg(QString(48, 'd'));
        QTest::newRow("BC short") << answer(hex("bc01") + QByteArray(47, 'd')) << "ignored";
        QTest::newRow("BC not 01") << answer(hex("bc02") + QByteArray(48, 'd')) << "ignored";
        QTest::newRow("BD ok") << answer(hex("bd01f8")) << "domain written";
        QTest::newRow("BD refused") << answer(hex("bd01f5")) << "domain refused";
        QTest::newRow("BD short") << answer(hex("bd01")) << "ignored";
        QTest::newRow("other sub-code") << answer(hex("38f8")) << "ignored";

        QByteArray join(33, '\0');
        join[20] = char(0xFB);
        join.replace(25, 8, hex("0a1b2c3d4e5f6071"));
        auto joinFrame = [](const QByteArray &payload) {
            return SimFrame::build(QByteArray(4, '\0'), 1, 100, 0x0BE9, IpModuleFrame::JoinCode, 255, 255,
                                   payload);
        };
        QTest::newRow("join FB") << joinFrame(join) << "join 1/100 0A-1B-2C-3D-4E-5F-60-71";
        QByteArray joinFc = join;
        joinFc[20] = char(0xFC);
        QTest::newRow("join FC") << joinFrame(joinFc) << "join 1/100 0A-1B-2C-3D-4E-5F-60-71";
        QByteArray join01 = join;
        join01[20] = 0x01;
        QTest::newRow("join 01") << joinFrame(join01) << "ignored";
        // Length byte 32 holds byte 45 but not the MAC.
        QTest::newRow("join without MAC") << joinFrame(join.left(21)) << "ignored";
        QTest::newRow("join one MAC byte short") << joinFrame(join.left(32)) << "ignored";
    }
    void decode()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QString, expected);
        // The CRC and zeros after the frame must never be taken for data.
        QByteArray buffer = frame + QByteArray(64, '\0');
        const IpModuleFrame decoded =
            IpModuleFrame::decode(reinterpret_cast<const quint8 *>(buffer.constData()), frame.size());
        QCOMPARE(summary(decoded), expected);
    }
};

VARNO_TEST_MAIN(TestIpModuleFrame)
#include "tst_ipmoduleframe.moc"
