// The receiving end of a direct transfer on loopback, fed by a raw TCP client
// that cuts the request wherever a row says: what is handed on, when the
// 64-byte answer comes, and which requests are refused or ignored. Also the
// client's progress rule and its refusal of an empty archive.

#include "testmain.h"

#include "settings/httpclient.h"
#include "settings/httpserver.h"
#include "timerticks.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Outcome
{
    QByteArray handed;
    QStringList errors;
    int finished = 0;
};

void watch(HttpServer &server, Outcome &out)
{
    QObject::connect(&server, &HttpServer::signalsDownloadData, [&out](QByteArray b) { out.handed += b; });
    QObject::connect(&server, &HttpServer::signalsReplyErrorString, [&out](QString e) { out.errors << e; });
    QObject::connect(&server, &HttpServer::signalsReplyFinished, [&out] { ++out.finished; });
}

// Writes one piece and waits until the server has read it before the next is
// sent, so pieces never merge; a connection the server closes reads no more.
bool writePiece(const HttpServer &server, QTcpSocket &client, const QByteArray &piece)
{
    const qint64 target = server.bytesReadForTest() + piece.size();
    client.write(piece);
    client.flush();
    return QTest::qWaitFor([&] {
        return server.bytesReadForTest() == target || client.state() != QAbstractSocket::ConnectedState;
    });
}

// Posts a whole request on a connection of its own; answers what came back. A
// crowd of silent connections opens after the request was sent, before the
// server could read it.
QByteArray post(const HttpServer &server, const QByteArray &request, int crowd = 0)
{
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server.serverPort());
    if (!client.waitForConnected(3000) ||
        (crowd == 0 ? !writePiece(server, client, request)
                    : client.write(request) != request.size() || !client.flush()))
        return QByteArray();
    QTcpSocket silent[HttpServer::MaxWaitingHeads];
    for (int i = 0; i < crowd; ++i) {
        silent[i].connectToHost(QHostAddress::LocalHost, server.serverPort());
        if (!silent[i].waitForConnected(3000))
            return QByteArray();
    }
    QByteArray received;
    const bool answered =
        QTest::qWaitFor([&] { return received.append(client.readAll()).endsWith(HttpServer::answer()); });
    return answered ? received : received.prepend("(unanswered) ");
}

} // namespace

class TestHttpServer : public QObject
{
    Q_OBJECT

private slots:
    void request_data();
    void request();
    void oneTransferAtATime_data();
    void oneTransferAtATime();
    void strangerLeavesTheSlot_data();
    void strangerLeavesTheSlot();
    void percent_data();
    void percent();
    void emptyArchiveIsReported();
};

void TestHttpServer::request_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QByteArray>("handed");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<bool>("closed");

    const QByteArray body("PK\x03\x04\0\0zip", 9);
    QTest::newRow("head and body in one piece")
        << QList<QByteArray>{"POST / HTTP/1.1\r\nContent-Length: 9\r\n\r\n" + body} << body << QString()
        << true << false;
    QTest::newRow("head cut anywhere, lower-case length")
        << QList<QByteArray>{"POS",
                             "T / HTTP/1.1\r\ncontent-length:",
                             " 9\r",
                             "\n\r",
                             "\n" + body.left(3),
                             body.mid(3)}
        << body << QString() << true << false;
    QTest::newRow("bytes beyond the body are not handed on")
        << QList<QByteArray>{"POST / HTTP/1.1\r\nCONTENT-LENGTH: 4\r\n\r\n", body} << body.left(4)
        << QString() << true << false;
    QTest::newRow("64-bit length: waits for more")
        << QList<QByteArray>{"POST / HTTP/1.1\r\nContent-Length: 3000000000\r\n\r\n" + body} << body
        << QString() << false << false;
    QTest::newRow("100-continue answered")
        << QList<QByteArray>{"POST / HTTP/1.1\r\nExpect: 100-continue\r\nContent-Length: 9\r\n\r\n", body}
        << body << QString() << true << false;
    for (const char *length :
         {"", "Content-Length: 0\r\n", "Content-Length: -5\r\n", "Content-Length: 12a\r\n",
          "Content-Length: 4294967297\r\n", "Content-Length: \r\n"}) {
        QTest::newRow(qPrintable(QStringLiteral("refused: [%1]").arg(QString(length).trimmed())))
            << QList<QByteArray>{"POST / HTTP/1.1\r\nHost: x\r\n" + QByteArray(length) + "\r\n" + body}
            << QByteArray() << QString() << false << true;
    }
    QTest::newRow("GET closed and ignored")
        << QList<QByteArray>{"GET / HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc"} << QByteArray() << QString()
        << false << true;
    QTest::newRow("noise closed and ignored") << QList<QByteArray>{QByteArray("\x16\x03\x01\x02hello", 9)}
                                              << QByteArray() << QString() << false << true;
    // The owner's import fails: the sender hears that, not that the body came.
    QTest::newRow("import refused")
        << QList<QByteArray>{"POST / HTTP/1.1\r\nContent-Length: 9\r\n\r\n" + body} << body << QString()
        << false << false;
}

void TestHttpServer::request()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QByteArray, handed);
    QFETCH(QString, error);
    QFETCH(bool, answered);
    QFETCH(bool, closed);
    const bool refuses = QByteArray(QTest::currentDataTag()) == "import refused";

    HttpServer server;
    Outcome out;
    watch(server, out);
    if (refuses)
        connect(&server, &HttpServer::signalsReplyFinished, [&] { server.answerImport(false, "no room"); });
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server.serverPort());
    QVERIFY(client.waitForConnected(3000));

    QByteArray received;
    for (const QByteArray &piece : pieces) {
        QVERIFY(writePiece(server, client, piece));
        // Nothing but a 100-continue may come back before the body is complete.
        received += client.readAll();
        if (&piece != &pieces.last())
            QVERIFY2(!received.contains("200 OK"), received.constData());
    }
    if (answered)
        QTRY_VERIFY(received.append(client.readAll()).endsWith(HttpServer::answer()));
    if (closed)
        QTRY_COMPARE(client.state(), QAbstractSocket::UnconnectedState);
    if (refuses)
        QTRY_VERIFY(received.append(client.readAll()).endsWith(HttpServer::failureAnswer("no room")));
    QTest::qWait(50);
    received += client.readAll();

    QCOMPARE(out.handed, handed);
    QCOMPARE(out.errors, error.isEmpty() ? QStringList() : QStringList{error});
    QCOMPARE(out.finished, answered || refuses ? 1 : 0);
    QCOMPARE(received.contains(HttpServer::answer()), answered);
    QCOMPARE(received.count("HTTP/1.1 200 OK"), answered ? 1 : 0);
    if (!answered && !closed)
        QCOMPARE(client.state(), QAbstractSocket::ConnectedState);
}

void TestHttpServer::oneTransferAtATime_data()
{
    QTest::addColumn<QByteArray>("intruder");
    QTest::newRow("second POST") << QByteArray("POST / HTTP/1.1\r\nContent-Length: 3\r\n\r\nxyz");
    QTest::newRow("stray GET") << QByteArray("GET / HTTP/1.1\r\n\r\n");
}

void TestHttpServer::oneTransferAtATime()
{
    QFETCH(QByteArray, intruder);
    HttpServer server;
    Outcome out;
    watch(server, out);
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    QTcpSocket first;
    first.connectToHost(QHostAddress::LocalHost, server.serverPort());
    QVERIFY(first.waitForConnected(3000));
    QVERIFY(writePiece(server, first, "POST / HTTP/1.1\r\nContent-Length: 6\r\n\r\nabc"));

    QTcpSocket second;
    second.connectToHost(QHostAddress::LocalHost, server.serverPort());
    QVERIFY(second.waitForConnected(3000));
    QVERIFY(writePiece(server, second, intruder));
    QTRY_COMPARE(second.state(), QAbstractSocket::UnconnectedState);
    QVERIFY(second.readAll().isEmpty());

    QVERIFY(writePiece(server, first, "def"));
    QTRY_COMPARE(out.finished, 1);
    QByteArray answer;
    QTRY_COMPARE(answer.append(first.readAll()), HttpServer::answer());
    QCOMPARE(out.handed, QByteArray("abcdef"));
    QVERIFY(out.errors.isEmpty());
}

void TestHttpServer::strangerLeavesTheSlot_data()
{
    QTest::addColumn<QByteArray>("stranger"); // what a stranger sends before the sender posts
    QTest::addColumn<int>("trickleFrom");     // then one byte every 100 ms; -1: all at once
    QTest::addColumn<bool>("alongside");      // the sender posts while the stranger is still open
    QTest::addColumn<int>("crowd");           // silent connections opened right after the post
    QTest::addColumn<bool>("byLimit");        // closed by the idle limit rather than at once
    QTest::addColumn<QByteArray>("handedFirst"); // a trickled body: at most these
    QTest::addColumn<QString>("error");

    const QByteArray head("POST / HTTP/1.1\r\nContent-Length: 9\r\n");
    QTest::newRow("idle, sender alongside") << QByteArray() << -1 << true << 0 << true << QByteArray()
                                            << QString();
    QTest::newRow("idle, sender after") << QByteArray() << -1 << false << 0 << true << QByteArray()
                                        << QString();
    QTest::newRow("half a head left idle") << head.left(25) << -1 << false << 0 << true << QByteArray()
                                           << QString();
    QTest::newRow("head without length") << QByteArray("POST / HTTP/1.1\r\nHost: x\r\n\r\nPK\x03\x04")
                                         << -1 << false << 0 << false << QByteArray() << QString();
    QTest::newRow("head, no body, left idle") << head + "\r\n" << -1 << false << 0 << true << QByteArray()
                                              << QString();
    QTest::newRow("head trickled, sender alongside")
        << head + "Host: " + QByteArray(200, 'x') + "\r\n\r\n" << 0 << true << 0 << true << QByteArray()
        << QString();
    QTest::newRow("body begun, then silent") << head + "\r\nPK" << -1 << false << 0 << true
                                             << QByteArray("PK") << QString("Invalid data.");
    const QByteArray slow = "PK" + QByteArray(298, 'x');
    QTest::newRow("body trickled below the pace")
        << "POST / HTTP/1.1\r\nContent-Length: 300\r\n\r\n" + slow << 42 << false << 0 << true << slow
        << QString("Invalid data.");
    QTest::newRow("whole request, then eight silent") << QByteArray() << -1 << true << 8 << false
                                                      << QByteArray() << QString();
    QTest::newRow("complete head over 16 KiB in one read")
        << head + "X-Pad: " + QByteArray(HttpServer::MaxHeadBytes, 'x') + "\r\n\r\nPK" << -1 << false << 0
        << false << QByteArray() << QString();
}

void TestHttpServer::strangerLeavesTheSlot()
{
    QFETCH(QByteArray, stranger);
    QFETCH(int, trickleFrom);
    QFETCH(bool, alongside);
    QFETCH(int, crowd);
    QFETCH(bool, byLimit);
    QFETCH(QByteArray, handedFirst);
    QFETCH(QString, error);
    const int limit = 300;
    HttpServer server;
    server.setIdleIntervalForTest(limit);
    Outcome out;
    watch(server, out);
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));

    QTcpSocket intruder;
    intruder.connectToHost(QHostAddress::LocalHost, server.serverPort());
    QVERIFY(intruder.waitForConnected(3000));
    // The ticks of the idle timer of the stranger's connection on the server's side.
    TimerTicks idle([&intruder](const QTimer *timer) {
        const auto *socket = qobject_cast<const QTcpSocket *>(timer->parent());
        return timer->objectName() == QLatin1String("idleTimer") && socket &&
               socket->peerPort() == intruder.localPort();
    });
    int sent = trickleFrom < 0 ? stranger.size() : trickleFrom;
    QTimer trickle;
    connect(&trickle, &QTimer::timeout, [&] {
        if (sent < stranger.size() && intruder.state() == QAbstractSocket::ConnectedState)
            intruder.write(stranger.mid(sent++, 1));
    });
    if (sent > 0)
        QVERIFY(writePiece(server, intruder, stranger.left(sent)));
    if (trickleFrom >= 0)
        trickle.start(100);

    const QByteArray body("PK\x03\x04\0\0zip", 9);
    const QByteArray request = "POST / HTTP/1.1\r\nContent-Length: 9\r\n\r\n" + body;
    if (alongside)
        QCOMPARE(post(server, request, crowd), HttpServer::answer());
    QTRY_COMPARE_WITH_TIMEOUT(intruder.state(), QAbstractSocket::UnconnectedState, 10000);
    // Closed by the idle limit: its timer had ticked, with the limit as its interval.
    if (byLimit) {
        QVERIFY(!idle.intervals().isEmpty());
        QCOMPARE(idle.intervals().last(), limit);
    }
    if (trickleFrom >= 0)
        QVERIFY2(sent < stranger.size(), "the trickled request was taken whole");
    QVERIFY(intruder.readAll().isEmpty());
    if (!alongside)
        QCOMPARE(post(server, request), HttpServer::answer());
    // A trickled body is handed on as far as it came.
    const QByteArray fromStranger = out.handed.chopped(qMin(body.size(), out.handed.size()));
    QVERIFY2(out.handed.endsWith(body), out.handed.constData());
    QVERIFY(trickleFrom > 0 ? handedFirst.startsWith(fromStranger) : fromStranger == handedFirst);
    QCOMPARE(out.errors, error.isEmpty() ? QStringList() : QStringList{error});
    QCOMPARE(out.finished, 1);
}

void TestHttpServer::percent_data()
{
    QTest::addColumn<qint64>("done");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("percent");
    QTest::newRow("nothing done") << qint64(0) << qint64(10) << 100;
    QTest::newRow("total unknown") << qint64(5) << qint64(-1) << 100;
    QTest::newRow("total zero") << qint64(5) << qint64(0) << 100;
    QTest::newRow("truncated") << qint64(2) << qint64(3) << 66;
    QTest::newRow("beyond 32 bits") << (qint64(1) << 32) << (qint64(1) << 33) << 50;
}

void TestHttpServer::percent()
{
    QFETCH(qint64, done);
    QFETCH(qint64, total);
    QFETCH(int, percent);
    QCOMPARE(HttpClient::percentOf(done, total), percent);
}

void TestHttpServer::emptyArchiveIsReported()
{
    QTemporaryDir dir;
    QFile empty(dir.filePath(QStringLiteral("empty.zip")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    HttpClient client;
    QSignalSpy errors(&client, &HttpClient::signalsReplyErrorString);
    QSignalSpy answers(&client, &HttpClient::signalsReplyFinished);
    client.upload(QStringLiteral("http://127.0.0.1:9/"), empty.fileName(), 0);
    client.upload(QStringLiteral("http://127.0.0.1:9/"), dir.filePath(QStringLiteral("missing.zip")), 0);
    QCOMPARE(errors.size(), 2);
    QCOMPARE(errors.at(0).at(0).toString(), QStringLiteral("file open failed"));
    QCOMPARE(answers.size(), 0);
}

VARNO_TEST_MAIN(TestHttpServer)
#include "tst_httpserver.moc"
