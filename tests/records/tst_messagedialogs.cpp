// The message tile, the message dialog and the alarm dialog: what they show, what
// handling writes to tbl_message_log and announces, and how the alarm dialog keeps
// handling done meanwhile elsewhere.

#include "testmain.h"

#include "messagefixture.h"

#include "bus/broadcastsocket.h"
#include "records/alarmdlg.h"
#include "records/messagedlg.h"
#include "records/messageform.h"
#include "records/messageitem.h"
#include "records/messagelog.h"
#include "store/databaseinit.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <qtmaterialcombobox.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

#include <functional>

using namespace fixture;

namespace {

QAbstractButton *button(QWidget *dialog, const char *name)
{
    auto *b = dialog->findChild<QAbstractButton *>(QLatin1String(name));
    if (!b)
        qWarning() << "no button" << name;
    return b;
}

// Runs action on the modal dialog once its loop runs; counts the dialogs seen.
void whenModal(int *seen, const std::function<void(QWidget *)> &action)
{
    QTimer::singleShot(0, [seen, action]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        ++*seen;
        action(modal);
    });
}

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// How many pixels of the image are close to the colour.
int pixelsNear(const QImage &image, const QColor &colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) < 12 && qAbs(c.green() - colour.green()) < 12 &&
                qAbs(c.blue() - colour.blue()) < 12)
                ++n;
        }
    }
    return n;
}

} // namespace

class TestMessageDialogs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_db = 0;

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(pictures);
        QVERIFY(m_dir.isValid());
    }
    void init()
    {
        initDatabase(m_dir.filePath(QStringLiteral("p%1.db3").arg(++m_db)));
        seed();
    }
    void cleanupTestCase() { gl_sqlite3db.close(); }

    // ---- message dialog ----

    void dialogFrame_data()
    {
        QTest::addColumn<bool>("alarm");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("buttons"); // left to right under the form
        QTest::newRow("message") << false << "Edit Message"
                                 << QStringList{"pushButtonOk", "pushButtonCancel"};
        QTest::newRow("alarm") << true << "Alarm Message"
                               << QStringList{"pushButtonPrev", "pushButtonOk", "pushButtonNext"};
    }
    void dialogFrame()
    {
        QFETCH(bool, alarm);
        QFETCH(QString, title);
        QFETCH(QStringList, buttons);
        QScopedPointer<QWidget> dialog(alarm ? static_cast<QWidget *>(new AlarmDlg(nullptr))
                                             : static_cast<QWidget *>(new MessageDlg(nullptr)));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.data()));
        auto *label = dialog->findChild<QtMaterialLabel *>(QStringLiteral("labelTitle"));
        QVERIFY(label);
        QCOMPARE(label->text(), title);
        auto *form = dialog->findChild<MessageForm *>();
        QVERIFY(form);
        QVERIFY(label->geometry().bottom() < form->geometry().top());
        int left = -1;
        for (const QString &name : qAsConst(buttons)) {
            QAbstractButton *b = button(dialog.data(), qPrintable(name));
            QVERIFY(b);
            QCOMPARE(b->parentWidget(), dialog.data());
            QVERIFY(b->geometry().top() > form->geometry().bottom());
            QVERIFY(b->geometry().left() > left);
            left = b->geometry().left();
        }
    }

    void dialogShowsTheMessage_data()
    {
        QTest::addColumn<int>("messageId");
        QTest::addColumn<int>("panelId");
        QTest::addColumn<int>("roomId");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("room");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("statusShown");
        QTest::addColumn<QString>("icon");
        QTest::newRow("service, icon without .png") << 11 << 1 << 7 << 3 << "North-1F-Room 101"
                                                    << "Door panel"
                                                    << "Clean room"
                                                    << "processed"
                                                    << ":/myImages/png/message/message_03.png";
        QTest::newRow("alarm, icon with .png, floor missing") << 12 << 2 << 8 << 0 << "North--Bob's room"
                                                              << "Bed panel"
                                                              << "Fire"
                                                              << "suspend"
                                                              << ":/myImages/png/message/message_05.png";
        QTest::newRow("room and panel missing") << 13 << 9 << 99 << 4 << "--"
                                                << ""
                                                << "Towels"
                                                << "secured"
                                                << ":/myImages/png/message/message_01.png";
        QTest::newRow("definition missing") << 77 << 1 << 7 << 3 << ""
                                            << ""
                                            << ""
                                            << "suspend"
                                            << ":/myImages/png/message/message_01.png";
    }
    void dialogShowsTheMessage()
    {
        QFETCH(int, messageId);
        QFETCH(int, panelId);
        QFETCH(int, roomId);
        QFETCH(int, status);
        const int id = addRow(messageId, 0, panelId, roomId, status);
        messageRecord r = record(id);
        messageRecord::setText(r.message_log_remark, QStringLiteral("was here"));

        MessageDlg dialog;
        dialog.setMessageRecord(r);
        dialog.initDlgCtrl();
        MessageForm *form = dialog.form();
        QCOMPARE(form->recvTimeField()->text(), QStringLiteral("2026-12-07 09:00:00"));
        QCOMPARE(form->remarkField()->text(), QStringLiteral("was here"));
        QTEST(form->roomField()->text(), "room");
        QTEST(form->panelField()->text(), "panel");
        QTEST(form->messageNameField()->text(), "message");
        QTEST(form->statusBox()->currentText(), "statusShown");
        QTEST(form->iconPath(), "icon");
        QVERIFY(!form->iconLabel()->pixmap(Qt::ReturnByValue).isNull());
        QCOMPARE(form->statusBox()->count(), 5);
        QCOMPARE(form->statusBox()->itemText(4), QStringLiteral("secured"));
        QVERIFY(!form->roomField()->isEnabled());
        QVERIFY(form->remarkField()->isEnabled());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Message"));
        QCOMPARE(dialog.minimumSize(), QSize(800, 600));
    }

    // The remark is stored exactly as typed (quotes too), cut at a character
    // boundary when it does not fit its 255 bytes.
    void dialogOkWritesTheHandling_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("remark");
        QTest::addColumn<int>("storedStatus");
        QTest::addColumn<QString>("storedRemark");
        QTest::newRow("no change") << "suspend"
                                   << "" << 0 << "";
        QTest::newRow("secured") << "secured"
                                 << "done" << 4 << "done";
        QTest::newRow("quote") << "processed"
                               << "Bob's key" << 3 << "Bob's key";
        QTest::newRow("statement in a remark")
            << "processing"
            << "x'; delete from tbl_message_log; --" << 2 << "x'; delete from tbl_message_log; --";
        QTest::newRow("two-byte characters")
            << "user cancel" << QString(300, QChar(0xE9)) << 1 << QString(127, QChar(0xE9));
        QTest::newRow("three-byte characters")
            << "suspend" << QString(100, QChar(0x20AC)) << 0 << QString(85, QChar(0x20AC));
        QString emoji;
        for (int i = 0; i < 70; ++i)
            emoji += QString::fromUtf8("\xF0\x9F\x94\xA5");
        QString emojiCut;
        for (int i = 0; i < 63; ++i)
            emojiCut += QString::fromUtf8("\xF0\x9F\x94\xA5");
        QTest::newRow("four-byte characters") << "processed" << emoji << 3 << emojiCut;
    }
    void dialogOkWritesTheHandling()
    {
        QFETCH(QString, status);
        QFETCH(QString, remark);
        QFETCH(int, storedStatus);
        QFETCH(QString, storedRemark);
        const int other = addRow(ServiceClean, 0, DoorPanel, Room101);
        const int id = addRow(AlarmFire, 1, DoorPanel, Room101);
        QSignalSpy updates(&gl_socket, &BroadcastSocket::signalsUpdateMessage);

        MessageDlg dialog;
        dialog.setMessageRecord(record(id));
        dialog.initDlgCtrl();
        QVERIFY(dialog.form()->selectStatus(status));
        dialog.form()->remarkField()->setText(remark);
        const QString before = now();
        button(&dialog, "pushButtonOk")->click();
        const QString after = now();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        const Row stored = row(id);
        QCOMPARE(stored.status, storedStatus);
        QCOMPARE(stored.remark, storedRemark);
        QVERIFY(stored.remark.toUtf8().size() <= 255);
        QVERIFY2(stored.dealTime >= before && stored.dealTime <= after, qPrintable(stored.dealTime));
        QCOMPARE(row(other).dealTime, QString());
        QCOMPARE(row(other).status, 0);

        QCOMPARE(updates.count(), 1);
        const auto sent = updates.at(0).at(0).value<messageRecord>();
        QCOMPARE(sent.id, id);
        QCOMPARE(sent.message_status, storedStatus);
        QCOMPARE(QString::fromUtf8(sent.message_log_remark), storedRemark);
        QCOMPARE(QString::fromUtf8(sent.deal_time), stored.dealTime);
        QCOMPARE(dialog.getMessageRecord().message_status, storedStatus);
    }

    void dialogCancelWritesNothing_data()
    {
        QTest::addColumn<QString>("buttonName");
        QTest::newRow("Cancel") << "pushButtonCancel";
        QTest::newRow("close icon") << "pushButtonClose";
    }
    void dialogCancelWritesNothing()
    {
        QFETCH(QString, buttonName);
        const int id = addRow(ServiceClean, 0, DoorPanel, Room101);
        QSignalSpy updates(&gl_socket, &BroadcastSocket::signalsUpdateMessage);
        MessageDlg dialog;
        dialog.setMessageRecord(record(id));
        dialog.initDlgCtrl();
        dialog.form()->selectStatus(QStringLiteral("secured"));
        dialog.form()->remarkField()->setText(QStringLiteral("nope"));
        int seen = 0;
        whenModal(&seen, [&buttonName](QWidget *modal) { button(modal, qPrintable(buttonName))->click(); });
        QCOMPARE(dialog.exec(), 0);
        QCOMPARE(seen, 1);
        QCOMPARE(row(id).status, 0);
        QCOMPARE(row(id).remark, QString());
        QCOMPARE(row(id).dealTime, QString());
        QCOMPARE(updates.count(), 0);
    }

    // ---- message tile ----

    void tileClickHandlesTheMessage()
    {
        const int id = addRow(ServiceClean, 0, DoorPanel, Room101);
        const int otherId = addRow(AlarmFire, 1, DoorPanel, Room101);
        MessageItem tile(record(id));
        MessageItem other(record(otherId));
        int seen = 0;
        whenModal(&seen, [](QWidget *modal) {
            auto *dialog = qobject_cast<MessageDlg *>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->form()->statusBox()->currentText(), QStringLiteral("suspend"));
            dialog->form()->selectStatus(QStringLiteral("secured"));
            dialog->form()->remarkField()->setText(QStringLiteral("fixed"));
            button(modal, "pushButtonOk")->click();
        });
        tile.slotsPressed();
        QCOMPARE(seen, 1);
        QCOMPARE(tile.getMessageRecord().message_status, 4);
        QCOMPARE(QString::fromUtf8(tile.getMessageRecord().message_log_remark), QStringLiteral("fixed"));
        QCOMPARE(row(id).status, 4);
        // The other row's tile ignored the announcement.
        QCOMPARE(other.getMessageRecord().message_status, 0);

        // Rejected: the tile keeps its record.
        whenModal(&seen, [](QWidget *modal) {
            auto *dialog = qobject_cast<MessageDlg *>(modal);
            dialog->form()->selectStatus(QStringLiteral("processing"));
            button(modal, "pushButtonCancel")->click();
        });
        tile.slotsPressed();
        QCOMPARE(seen, 2);
        QCOMPARE(tile.getMessageRecord().message_status, 4);
        QCOMPARE(row(id).status, 4);
    }

    void tileDeleteModeFlipsTheCheckOnly()
    {
        const int id = addRow(ServiceClean, 0, DoorPanel, Room101);
        MessageItem tile(record(id));
        tile.resize(1200, 40);
        tile.slotsMessageVisible(true);
        int seen = 0;
        whenModal(&seen, [](QWidget *modal) { button(modal, "pushButtonCancel")->click(); });
        QTest::mouseClick(&tile, Qt::LeftButton, Qt::NoModifier, QPoint(100, 20));
        QVERIFY(tile.isChecked());
        tile.slotsPressed();
        QVERIFY(!tile.isChecked());
        tile.slotsPressed();
        QCOMPARE(seen, 0);
        QCoreApplication::processEvents(); // the pending check for a modal dialog
        QCOMPARE(seen, 0);
        // Leaving delete mode keeps the check; a click now opens the dialog.
        tile.slotsMessageVisible(false);
        QVERIFY(tile.isChecked());
        whenModal(&seen, [](QWidget *modal) { button(modal, "pushButtonCancel")->click(); });
        tile.slotsPressed();
        QCOMPARE(seen, 1);
        QVERIFY(tile.isChecked());
    }

    void tileFollowsHandlingOfItsRowOnly()
    {
        const int id = addRow(ServiceClean, 0, DoorPanel, Room101);
        MessageItem tile(record(id));
        messageRecord update = record(id);
        update.id = id + 100;
        update.message_status = 3;
        emit gl_socket.signalsUpdateMessage(update);
        QCOMPARE(tile.getMessageRecord().message_status, 0);
        update.id = id;
        messageRecord::setText(update.message_log_remark, QStringLiteral("elsewhere"));
        emit gl_socket.signalsUpdateMessage(update);
        QCOMPARE(tile.getMessageRecord().message_status, 3);
        QCOMPARE(QString::fromUtf8(tile.getMessageRecord().message_log_remark), QStringLiteral("elsewhere"));
    }

    void tileColours_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("status");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("alarm suspended") << 1 << 0 << QColor(0xE3, 0x51, 0x51);
        QTest::newRow("alarm processed") << 1 << 3 << QColor(0xFF, 0xA5, 0x00);
        QTest::newRow("service suspended") << 0 << 0 << QColor(0xAB, 0xD2, 0x65);
        QTest::newRow("service cancelled") << 0 << 1 << QColor(0xFF, 0xA5, 0x00);
        QTest::newRow("unknown type suspended") << 5 << 0 << QColor(0xAB, 0xD2, 0x65);
    }
    void tileColours()
    {
        QFETCH(int, type);
        QFETCH(int, status);
        QFETCH(QColor, colour);
        const int id = addRow(ServiceClean, type, DoorPanel, Room101, status);
        MessageItem tile(record(id));
        tile.resize(1400, 40);
        const QImage shot = tile.grab().toImage();
        // The texts, right of the icon.
        const QImage texts = shot.copy(80, 0, shot.width() - 80, 39);
        QVERIFY2(pixelsNear(texts, colour) > 20, "the texts are not drawn in the expected colour");
        for (const QColor &wrong :
             {QColor(0xE3, 0x51, 0x51), QColor(0xFF, 0xA5, 0x00), QColor(0xAB, 0xD2, 0x65)}) {
            if (wrong != colour)
                QCOMPARE(pixelsNear(texts, wrong), 0);
        }
        // The bottom line.
        QCOMPARE(shot.pixelColor(600, 39), QColor(0xC0, 0xC0, 0xC0));
    }

    void tileWithoutDefinitionShowsNoText()
    {
        const int id = addRow(ServiceClean, 1, DoorPanel, Room101);
        exec(QStringLiteral("delete from tbl_message where message_id=11"));
        MessageItem tile(record(id));
        tile.resize(1400, 40);
        const QImage shot = tile.grab().toImage();
        QCOMPARE(pixelsNear(shot, QColor(0xE3, 0x51, 0x51)), 0);
        // The background and the bottom line stay.
        QCOMPARE(shot.pixelColor(700, 10), QColor(0x3D, 0x53, 0x66));
    }

    // ---- alarm dialog ----

    void alarmPositionAndEnds()
    {
        const int a = addRow(AlarmFire, 1, DoorPanel, Room101);
        const int b = addRow(AlarmFire, 1, BedPanel, BobsRoom);
        AlarmDlg dialog;
        QSignalSpy info(&dialog, &MyDialog::signalsInformation);
        QCOMPARE(dialog.form()->positionLabel()->text(), QStringLiteral("0/0"));
        dialog.append(record(a));
        QCOMPARE(dialog.form()->positionLabel()->text(), QStringLiteral("1/1"));
        QCOMPARE(dialog.form()->panelField()->text(), QStringLiteral("Door panel"));

        // At both ends: "End!", and what the operator typed stays untaken.
        dialog.form()->remarkField()->setText(QStringLiteral("typed"));
        button(&dialog, "pushButtonPrev")->click();
        button(&dialog, "pushButtonNext")->click();
        QCOMPARE(info.count(), 2);
        QCOMPARE(info.at(0).at(0).toString(), QStringLiteral("End!"));
        QCOMPARE(dialog.currentIndex(), 0);
        QCOMPARE(dialog.form()->remarkField()->text(), QStringLiteral("typed"));
        QCOMPARE(QString::fromUtf8(dialog.currentRecord().message_log_remark), QString());

        // A second alarm joins; the first stays shown with what is being typed.
        dialog.append(record(b));
        QCOMPARE(dialog.form()->positionLabel()->text(), QStringLiteral("1/2"));
        QCOMPARE(dialog.currentRecord().id, a);
        QCOMPARE(dialog.form()->remarkField()->text(), QStringLiteral("typed"));
        button(&dialog, "pushButtonNext")->click();
        QCOMPARE(dialog.form()->positionLabel()->text(), QStringLiteral("2/2"));
        QCOMPARE(dialog.form()->panelField()->text(), QStringLiteral("Bed panel"));
        QCOMPARE(dialog.form()->roomField()->text(), QStringLiteral("North--Bob's room"));
        QCOMPARE(info.count(), 2);

        dialog.clear();
        QCOMPARE(dialog.heldRecords().size(), 0);
        QCOMPARE(dialog.currentIndex(), -1);
        dialog.append(record(b));
        QCOMPARE(dialog.form()->positionLabel()->text(), QStringLiteral("1/1"));
    }

    void alarmPagingKeepsEachEdit()
    {
        const int a = addRow(AlarmFire, 1, DoorPanel, Room101);
        const int b = addRow(AlarmFire, 1, BedPanel, BobsRoom);
        const int c = addRow(AlarmFire, 1, BedPanel, BobsRoom);
        AlarmDlg dialog;
        for (int id : {a, b, c})
            dialog.append(record(id));
        QSignalSpy updates(&gl_socket, &BroadcastSocket::signalsUpdateMessage);

        dialog.form()->selectStatus(QStringLiteral("processing"));
        dialog.form()->remarkField()->setText(QStringLiteral("on my way"));
        button(&dialog, "pushButtonNext")->click();
        dialog.form()->selectStatus(QStringLiteral("secured"));
        dialog.form()->remarkField()->setText(QStringLiteral("Bob's fine"));
        button(&dialog, "pushButtonPrev")->click();
        QCOMPARE(dialog.form()->statusBox()->currentText(), QStringLiteral("processing"));
        QCOMPARE(dialog.form()->remarkField()->text(), QStringLiteral("on my way"));
        button(&dialog, "pushButtonNext")->click();
        QCOMPARE(dialog.form()->statusBox()->currentText(), QStringLiteral("secured"));
        QCOMPARE(dialog.form()->remarkField()->text(), QStringLiteral("Bob's fine"));
        // Nothing is written before "Ok".
        QCOMPARE(row(a).status, 0);
        QCOMPARE(updates.count(), 0);

        // "Ok" handles every held alarm now: three rows, three announcements in the
        // held order, each with the deal time of the moment; the alarm the
        // operator never looked at keeps its status and remark.
        dialog.show();
        const QString before = now();
        button(&dialog, "pushButtonOk")->click();
        const QString after = now();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(row(a).status, 2);
        QCOMPARE(row(a).remark, QStringLiteral("on my way"));
        QCOMPARE(row(b).status, 4);
        QCOMPARE(row(b).remark, QStringLiteral("Bob's fine"));
        QCOMPARE(row(c).status, 0);
        QCOMPARE(row(c).remark, QString());
        QCOMPARE(updates.count(), 3);
        const int ids[] = {a, b, c};
        for (int i = 0; i < 3; ++i) {
            const auto sent = updates.at(i).at(0).value<messageRecord>();
            QCOMPARE(sent.id, ids[i]);
            QCOMPARE(QString::fromUtf8(sent.deal_time), row(ids[i]).dealTime);
            QVERIFY2(row(ids[i]).dealTime >= before && row(ids[i]).dealTime <= after,
                     qPrintable(row(ids[i]).dealTime));
        }
        // The held list is kept after saving.
        QCOMPARE(dialog.heldRecords().size(), 3);
    }

    // Held alarms whose rows go by row id, room, panel or message leave the dialog;
    // what the operator typed for each of the others is kept, the shown one shown, or when
    // it goes, the next one that stays.
    void alarmRemovalKeepsTheOthersTyping_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("value"); // for a row id, the index of the held alarm
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("shown");
        QTest::newRow("row id") << 0 << 0 << "bc" << "b";
        QTest::newRow("row id of the shown one") << 0 << 1 << "ac" << "c";
        QTest::newRow("room") << 1 << int(BobsRoom) << "a" << "a";
        QTest::newRow("panel") << 2 << int(DoorPanel) << "b" << "b";
        QTest::newRow("message") << 3 << int(AlarmFire) << "c" << "c";
    }
    void alarmRemovalKeepsTheOthersTyping()
    {
        QFETCH(int, type);
        QFETCH(int, value);
        QFETCH(QString, kept);
        QFETCH(QString, shown);
        const QList<int> ids = {addRow(AlarmFire, 1, DoorPanel, Room101),
                                addRow(AlarmFire, 1, BedPanel, BobsRoom),
                                addRow(ServiceTowels, 1, DoorPanel, BobsRoom)};
        AlarmDlg dialog;
        for (int id : ids)
            dialog.append(record(id));
        // Typed on "a" and "c"; the operator is back on "b", typing.
        for (const char *step : {"a", "pushButtonNext", "pushButtonNext", "c", "pushButtonPrev", "b"}) {
            if (qstrlen(step) > 1)
                button(&dialog, step)->click();
            else
                dialog.form()->remarkField()->setText(QStringLiteral("typed ") + step);
        }
        emit gl_socket.signalsRemoveMessage(type == 0 ? ids.at(value) : value, type);
        QString held;
        for (const messageRecord &r : dialog.heldRecords())
            held += QChar('a' + ids.indexOf(r.id));
        QCOMPARE(held, kept);
        QCOMPARE(dialog.currentIndex(), kept.indexOf(shown));
        QCOMPARE(dialog.form()->remarkField()->text(), "typed " + shown);
        while (dialog.currentIndex() > 0)
            button(&dialog, "pushButtonPrev")->click();
        for (const QChar letter : kept) {
            QCOMPARE(dialog.form()->remarkField()->text(), QStringLiteral("typed ") + letter);
            button(&dialog, "pushButtonNext")->click();
        }
    }

    // Handling done in a message dialog while the alarm dialog holds the same
    // alarm is not set back by the alarm dialog's "Ok".
    void alarmOkKeepsHandlingDoneMeanwhile_data()
    {
        QTest::addColumn<bool>("operatorEditsStatus");
        QTest::addColumn<bool>("operatorEditsRemark");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("remark");
        QTest::newRow("operator changes nothing") << false << false << 3 << "desk handled it";
        QTest::newRow("operator changes the remark") << false << true << 3 << "alarm remark";
        QTest::newRow("operator changes the status") << true << false << 4 << "desk handled it";
        QTest::newRow("operator changes both") << true << true << 4 << "alarm remark";
    }
    void alarmOkKeepsHandlingDoneMeanwhile()
    {
        QFETCH(bool, operatorEditsStatus);
        QFETCH(bool, operatorEditsRemark);
        const int shown = addRow(AlarmFire, 1, DoorPanel, Room101);
        const int hidden = addRow(AlarmFire, 1, BedPanel, BobsRoom);
        AlarmDlg dialog;
        dialog.append(record(shown));
        dialog.append(record(hidden));
        if (operatorEditsStatus)
            dialog.form()->selectStatus(QStringLiteral("secured"));
        if (operatorEditsRemark)
            dialog.form()->remarkField()->setText(QStringLiteral("alarm remark"));

        // Meanwhile the desk handles both alarms through their tiles.
        for (int id : {shown, hidden}) {
            MessageDlg desk;
            desk.setMessageRecord(record(id));
            desk.initDlgCtrl();
            desk.form()->selectStatus(QStringLiteral("processed"));
            desk.form()->remarkField()->setText(QStringLiteral("desk handled it"));
            button(&desk, "pushButtonOk")->click();
        }
        const QString deskTime = row(hidden).dealTime;
        // The shown record follows in the controls the operator has not touched.
        QCOMPARE(dialog.form()->statusBox()->currentText(),
                 operatorEditsStatus ? QStringLiteral("secured") : QStringLiteral("processed"));
        QCOMPARE(dialog.form()->remarkField()->text(),
                 operatorEditsRemark ? QStringLiteral("alarm remark") : QStringLiteral("desk handled it"));

        button(&dialog, "pushButtonOk")->click();
        QTEST(row(shown).status, "status");
        QTEST(row(shown).remark, "remark");
        QCOMPARE(row(hidden).status, 3);
        QCOMPARE(row(hidden).remark, QStringLiteral("desk handled it"));
        // Handled again by the alarm dialog's "Ok": the deal time is its own.
        QVERIFY(row(hidden).dealTime >= deskTime);
        QCOMPARE(dialog.heldRecords().at(1).message_status, 3);
    }

    // A row that cannot be written (here a trigger refuses every update): nothing
    // is announced, the dialog stays open and says so, the tiles keep the stored
    // values; once the row can be written again, "Ok" goes through.
    void failedUpdateIsNotReportedAsSaved_data()
    {
        QTest::addColumn<bool>("alarm");
        QTest::newRow("message dialog") << false;
        QTest::newRow("alarm dialog") << true;
    }
    void failedUpdateIsNotReportedAsSaved()
    {
        QFETCH(bool, alarm);
        const int a = addRow(AlarmFire, 1, DoorPanel, Room101);
        const int b = addRow(AlarmFire, 1, BedPanel, BobsRoom);
        MessageItem tileA(record(a));
        MessageItem tileB(record(b));
        QVERIFY(exec(QStringLiteral("create trigger refuse before update on tbl_message_log "
                                    "begin select raise(abort,'read-only'); end")));
        QSignalSpy updates(&gl_socket, &BroadcastSocket::signalsUpdateMessage);
        auto unchanged = [&] {
            for (int id : {a, b}) {
                QCOMPARE(row(id).status, 0);
                QCOMPARE(row(id).remark, QString());
                QCOMPARE(row(id).dealTime, QString());
            }
            QCOMPARE(updates.count(), 0);
            QCOMPARE(tileA.getMessageRecord().message_status, 0);
            QCOMPARE(tileB.getMessageRecord().message_status, 0);
        };

        std::unique_ptr<MyDialog> dialog;
        if (alarm) {
            auto alarmDialog = std::make_unique<AlarmDlg>();
            alarmDialog->append(record(a));
            alarmDialog->append(record(b));
            dialog = std::move(alarmDialog);
        } else {
            auto edit = std::make_unique<MessageDlg>();
            edit->setMessageRecord(record(a));
            edit->initDlgCtrl();
            dialog = std::move(edit);
        }
        MessageForm *form = alarm ? static_cast<AlarmDlg *>(dialog.get())->form()
                                  : static_cast<MessageDlg *>(dialog.get())->form();
        form->selectStatus(QStringLiteral("secured"));
        form->remarkField()->setText(QStringLiteral("done"));
        QSignalSpy info(dialog.get(), &MyDialog::signalsInformation);
        dialog->show();
        button(dialog.get(), "pushButtonOk")->click();
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->result() != int(QDialog::Accepted));
        QCOMPARE(info.count(), 1);
        QCOMPARE(info.at(0).at(0).toString(), QStringLiteral("The change was not saved"));
        unchanged();
        if (!alarm) {
            QCOMPARE(static_cast<MessageDlg *>(dialog.get())->getMessageRecord().message_status, 0);
            // Through the tile: the dialog stays until cancelled, and the tile
            // keeps its record.
            int seen = 0;
            whenModal(&seen, [](QWidget *modal) {
                auto *edit = qobject_cast<MessageDlg *>(modal);
                edit->form()->selectStatus(QStringLiteral("processed"));
                button(modal, "pushButtonOk")->click();
                QVERIFY(modal->isVisible());
                button(modal, "pushButtonCancel")->click();
            });
            tileA.slotsPressed();
            QCOMPARE(seen, 1);
            unchanged();
        }

        // The operator's edits are still there for a second try.
        QCOMPARE(form->statusBox()->currentText(), QStringLiteral("secured"));
        QVERIFY(exec(QStringLiteral("drop trigger refuse")));
        button(dialog.get(), "pushButtonOk")->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(row(a).status, 4);
        QCOMPARE(row(a).remark, QStringLiteral("done"));
        QCOMPARE(updates.count(), alarm ? 2 : 1);
        QCOMPARE(tileA.getMessageRecord().message_status, 4);
    }

    void alarmRemarkIsStoredAsTyped_data()
    {
        QTest::addColumn<QString>("remark");
        QTest::addColumn<QString>("stored");
        QTest::newRow("quote") << "it's out"
                               << "it's out";
        QTest::newRow("statement") << "'); drop table tbl_message_log; --"
                                   << "'); drop table tbl_message_log; --";
        QTest::newRow("long") << QString(200, QChar(0x4E2D)) << QString(85, QChar(0x4E2D));
    }
    void alarmRemarkIsStoredAsTyped()
    {
        QFETCH(QString, remark);
        const int id = addRow(AlarmFire, 1, DoorPanel, Room101);
        const int other = addRow(AlarmFire, 1, DoorPanel, Room101);
        AlarmDlg dialog;
        dialog.append(record(id));
        dialog.form()->remarkField()->setText(remark);
        button(&dialog, "pushButtonOk")->click();
        QTEST(row(id).remark, "stored");
        QCOMPARE(row(id).status, 0);
        QCOMPARE(row(other).remark, QString());
        QCOMPARE(
            getValueFromDb(QStringLiteral("select count(*) as n from tbl_message_log"), QStringLiteral("n")),
            2);
    }

    void alarmCloseIconWritesNothing()
    {
        const int id = addRow(AlarmFire, 1, DoorPanel, Room101);
        AlarmDlg dialog;
        dialog.append(record(id));
        dialog.show();
        QSignalSpy updates(&gl_socket, &BroadcastSocket::signalsUpdateMessage);
        dialog.form()->selectStatus(QStringLiteral("secured"));
        button(&dialog, "pushButtonClose")->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(row(id).status, 0);
        QCOMPARE(updates.count(), 0);
    }

    void alarmDialogClosesOnExit()
    {
        AlarmDlg dialog;
        QVERIFY(!dialog.testAttribute(Qt::WA_QuitOnClose));
        dialog.append(record(addRow(AlarmFire, 1, DoorPanel, Room101)));
        dialog.show();
        QVERIFY(dialog.isVisible());
        emit gl_socket.signalsClosed();
        QVERIFY(!dialog.isVisible());
    }

    // Both dialogs are rounded panels: the corners are cut off the window, and
    // every pixel left of them is the dialog colour.
    void dialogsArePaintedAsRoundedPanels()
    {
        const int a = addRow(AlarmFire, 1, DoorPanel, Room101, 0, QStringLiteral("2026-12-07 09:12:40"));
        AlarmDlg alarm;
        alarm.append(record(a));
        MessageDlg edit;
        edit.setMessageRecord(record(a));
        edit.initDlgCtrl();
        for (QDialog *dialog : {static_cast<QDialog *>(&alarm), static_cast<QDialog *>(&edit)}) {
            dialog->resize(800, 600);
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            const QImage shot = dialog->grab().toImage();
            const QRegion shape = dialog->mask();
            QVERIFY(!shape.contains(QPoint(0, 0)) && !shape.contains(QPoint(799, 599)));
            QVERIFY(shape.contains(QPoint(10, 0)) && shape.contains(QPoint(4, 4)));
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 12; ++x)
                    QVERIFY(!shape.contains(QPoint(x, y))
                            || shot.pixelColor(x, y) == QColor(0x1F, 0x29, 0x33));
            QCOMPARE(shot.pixelColor(6, 300), QColor(0x1F, 0x29, 0x33));
        }
    }
};

VARNO_TEST_MAIN(TestMessageDialogs)
#include "tst_messagedialogs.moc"
