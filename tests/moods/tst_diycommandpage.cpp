// The page "Diy Command" between the mood editor and the database: stepping with
// "Prev" and "Next", the completeness check, the list that "Save" writes in one
// transaction, the return to the mood editor that keeps its form, the round trip
// of every command type through a stored row, and screenshots at 1920 x 1080.

#include "testmain.h"

#include "../commissioning/pagenavigator.h"
#include "moodproject.h"
#include "projectfixture.h"
#include "stepfault.h"

#include "app/pagefactory.h"
#include "moods/diyparameterfields.h"
#include "moods/pagesettingroommanagermoodsdiycommand.h"
#include "moods/pagesettingroommanagermoodsinformation.h"
#include "moods/timectrl.h"
#include "shell/sliderctrl.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>
#include <qtmaterialflatbutton.h>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

using namespace roomproject;
using namespace moodproject;

class TestDiyCommandPage : public QObject
{
    Q_OBJECT

    varnotest::ProjectFolder m_project;
    QList<MyDialog *> m_pages;
    PageNavigator *m_nav = nullptr;
    PageSettingRoomManagerMoodsDiyCommand *m_diy = nullptr;
    PageSettingRoomManagerMoodsInformation *m_info = nullptr;

    template <typename T> T *child(const QString &name) const
    {
        T *widget = m_diy->findChild<T *>(name);
        if (!widget)
            qFatal("no child %s", qPrintable(name));
        return widget;
    }
    // "number subnet/device type" as the page shows them.
    QString shown() const
    {
        return QStringLiteral("%1 %2/%3 %4")
            .arg(m_diy->commandIdLabel()->text(), m_diy->subnetField()->text(), m_diy->deviceField()->text(),
                 child<QComboBox>(QStringLiteral("comboBoxType"))->currentText());
    }
    void pick(const QString &box, const QString &text)
    {
        auto *combo = child<QComboBox>(box);
        const int row = combo->findText(text);
        QVERIFY2(row >= 0, qPrintable(text));
        combo->setCurrentIndex(row);
    }
    // One parameter column given as the user fills it: "-" leaves it, "s57" sets
    // the slider, "t1:30" the time field, a number is typed into the line edit,
    // other text is picked in the combo box.
    void fillColumn(int column, const QString &input)
    {
        const QString n = QString::number(column + 1);
        if (input == QLatin1String("-"))
            return;
        if (input.startsWith(QLatin1Char('s')) && column == 1) {
            child<SliderCtrl>(QStringLiteral("sliderPrm2"))->setValue(input.mid(1).toInt());
        } else if (input.startsWith(QLatin1Char('t')) && column == 2) {
            child<TimeCtrl>(QStringLiteral("timePrm3"))->setText(input.mid(1));
        } else if (bool number = false; input.toInt(&number), number) {
            auto *edit = child<QLineEdit>(QStringLiteral("lineEditPrm") + n);
            QVERIFY2(edit->isVisible() && edit->isEnabled(), qPrintable(input));
            edit->clear();
            QTest::keyClicks(edit, input);
        } else {
            pick(QStringLiteral("comboBoxPrm") + n, input);
        }
    }
    // A stored command of mood 5 of room 1, "id,subnet,device,type,p1,p2,p3,p4".
    static QStringList savedRows()
    {
        return rows("select command_id,subnet_id,device_id,command_type,prm1,prm2,prm3,prm4 "
                    "from tbl_mood_command where mood_id=5 and room_id=1 order by id");
    }

private slots:
    void initTestCase()
    {
        screen_cx = 1920;
        for (const char *id : {"Moods Information", "Diy Command"}) {
            MyDialog *p = createPage(QString::fromLatin1(id), QString::fromLatin1(id));
            QVERIFY(p);
            p->resize(1920, 1000);
            m_pages << p;
        }
        m_info = qobject_cast<PageSettingRoomManagerMoodsInformation *>(m_pages[0]);
        m_diy = qobject_cast<PageSettingRoomManagerMoodsDiyCommand *>(m_pages[1]);
        QVERIFY(m_info && m_diy);
        m_nav = new PageNavigator(m_pages);
    }
    void cleanupTestCase()
    {
        delete m_nav;
        qDeleteAll(m_pages);
    }

    void stepping_data();
    void stepping();
    void roundTrip_data();
    void roundTrip();
    void screenshots_data();
    void screenshots();
};

// Stored commands of mood 5 (never saved itself), then steps on the page: "s=",
// "d=" type into Subnet ID and Device ID, "t=" picks a type, "prev", "next" and
// "save" press the buttons, "enter" comes back to the page from the mood editor,
// "refuse=N" makes every insert of command N fail, "allow" undoes that, "fault=N"
// fails the Nth step of the command reads that follow (the editor's come first),
// "fault=N@table" that of the reads of another table.
// Each press gives "button: messages -> shown command" (or the page requested).
void TestDiyCommandPage::stepping_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("trace");
    QTest::addColumn<QStringList>("saved");
    const QString incomplete = QStringLiteral("prev: Please input the complete content! -> ");
    const QString back = QStringLiteral("save:  -> Moods Information 5-1 0");

    QTest::newRow("no commands; the check before the end")
        << QStringList() << "prev;s=1;prev;d=0;prev;s=-3;d=5;prev;s=1;d=40;prev;save"
        << QStringList{"1 / Invalid Switch", incomplete + "1 / Invalid Switch",
                       incomplete + "1 1/ Invalid Switch", incomplete + "1 1/0 Invalid Switch",
                       incomplete + "1 -3/5 Invalid Switch", "prev: End! -> 1 1/40 Invalid Switch", back}
        << QStringList{"1|1|40|0|0|0|0|0"};
    QTest::newRow("past the last; prev from a new command appends it")
        << QStringList{"1,1,40,89,3,80,0,90", "2,1,41,115,1,44,1,0"}
        << "next;next;s=1;d=42;t=UPB Scene;next;prev;s=1;d=43;prev;next;save"
        << QStringList{"1 1/40 Single Channel Lighting", "next:  -> 2 1/41 Modbus Coil",
                       "next:  -> 3 / Invalid Switch", "next:  -> 4 / Invalid Switch",
                       incomplete + "4 / Invalid Switch", "prev:  -> 3 1/42 UPB Scene",
                       "next:  -> 4 1/43 Invalid Switch", back}
        << QStringList{"1|1|40|89|3|80|0|90", "2|1|41|115|1|44|1|0", "3|1|42|113|0|0|0|0",
                       "4|1|43|0|0|0|0|0"};
    QTest::newRow("an edited command replaces its entry")
        << QStringList{"1,1,40,89,3,80,0,90", "2,1,41,115,1,44,1,0"} << "d=50;next;s=2;prev;save"
        << QStringList{"1 1/40 Single Channel Lighting", "next:  -> 2 1/41 Modbus Coil",
                       "prev:  -> 1 1/50 Single Channel Lighting", back}
        << QStringList{"1|1|50|89|3|80|0|90", "2|2|41|115|1|44|1|0"};
    QTest::newRow("ids with gaps continue, stored bytes stay as stored")
        << QStringList{"7,1,47,121,1,2,3,4", "3,1,43,85,255,12,0,0"} << "next;next;s=1;d=48;save"
        << QStringList{"3 1/43 Scene Switch", "next:  -> 7 1/47 Zigbee Channel",
                       "next:  -> 8 / Invalid Switch", back}
        << QStringList{"3|1|43|85|255|12|0|0", "7|1|47|121|1|2|3|4", "8|1|48|0|0|0|0|0"};
    QTest::newRow("edits left without save are lost")
        << QStringList{"1,1,40,89,3,80,0,90"} << "d=60;next;enter"
        << QStringList{"1 1/40 Single Channel Lighting", "next:  -> 2 / Invalid Switch",
                       "enter:  -> 1 1/40 Single Channel Lighting"}
        << QStringList{"1|1|40|89|3|80|0|90"};
    QTest::newRow("a type the box lacks keeps its bytes")
        << QStringList{"1,1,40,117,5,6,7,8"} << "s=2;save" << QStringList{"1 1/40 ", back}
        << QStringList{"1|2|40|117|5|6|7|8"};
    QTest::newRow("a failed insert keeps the old rows and the page")
        << QStringList{"1,1,40,89,3,80,0,90", "2,1,41,115,1,44,1,0"}
        << "refuse=3;next;next;s=1;d=42;save;allow;save"
        << QStringList{"1 1/40 Single Channel Lighting", "next:  -> 2 1/41 Modbus Coil",
                       "next:  -> 3 / Invalid Switch",
                       "save: Failed to save the commands! -> 3 1/42 Invalid Switch", back}
        << QStringList{"1|1|40|89|3|80|0|90", "2|1|41|115|1|44|1|0", "3|1|42|0|0|0|0|0"};
    QTest::newRow("a failed read keeps the stored commands and the page")
        << QStringList{"1,1,40,89,3,80,0,90", "2,1,41,115,1,44,1,0"} << "fault=5;enter;s=1;d=42;save"
        << QStringList{"1 1/40 Single Channel Lighting",
                       "enter: Failed to read the commands! -> 1 / Invalid Switch",
                       "save: Failed to save the commands! -> 1 1/42 Invalid Switch"}
        << QStringList{"1|1|40|89|3|80|0|90", "2|1|41|115|1|44|1|0"};
    QTest::newRow("a failed look-up of a command's type is not saved as another type")
        << QStringList{"1,1,40,89,3,80,0,90"}
        << "t=UPB Scene;fault=1@tbl_fnt_type where policy=1 and item=;save"
        << QStringList{"1 1/40 Single Channel Lighting",
                       "save: Failed to save the commands! -> 1 1/40 UPB Scene"}
        << QStringList{"1|1|40|89|3|80|0|90"};
    QTest::newRow("a failed look-up of a shown type is said on entry")
        << QStringList{"1,1,40,89,3,80,0,90"} << "fault=1@tbl_fnt_type where policy=1 and value=;enter"
        << QStringList{"1 1/40 Single Channel Lighting", "enter: Failed to read the commands! -> 1 1/40 "}
        << QStringList{"1|1|40|89|3|80|0|90"};
}

void TestDiyCommandPage::stepping()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, steps);
    QFETCH(QStringList, trace);
    QFETCH(QStringList, saved);
    m_project.reset();
    for (const QString &row : stored)
        QVERIFY(addMoodCommand(5, 1, row));
    QVERIFY(addMoodCommand(5, 2, "1,9,9,85,1,1,0,0") && addMoodCommand(6, 1, "1,9,9,85,1,1,0,0"));

    // From the mood editor, with a name typed but the mood not saved.
    m_nav->go("Moods Information", "5-1", "1");
    m_info->nameField()->setText(QStringLiteral("Bob's"));
    m_info->selectButton()->click();
    QVERIFY(m_diy->isVisible());

    QSignalSpy hub(&gl_socket, &BroadcastSocket::signalsInformation);
    QStringList got{shown()};
    for (const QString &step : steps.split(QLatin1Char(';'))) {
        const QString key = step.section(QLatin1Char('='), 0, 0);
        const QString arg = step.section(QLatin1Char('='), 1);
        hub.clear();
        m_nav->requests.clear();
        if (key == QLatin1String("s") || key == QLatin1String("d")) {
            QLineEdit *field = key == QLatin1String("s") ? m_diy->subnetField() : m_diy->deviceField();
            field->clear();
            QTest::keyClicks(field, arg);
            continue;
        }
        if (key == QLatin1String("t")) {
            pick(QStringLiteral("comboBoxType"), arg);
            continue;
        }
        if (key == QLatin1String("refuse") || key == QLatin1String("allow")) {
            QVERIFY(exec(key == QLatin1String("allow")
                             ? QStringLiteral("drop trigger refuse")
                             : QStringLiteral("create trigger refuse before insert on tbl_mood_command "
                                              "when new.command_id=%1 begin select raise(abort,'no'); end")
                                   .arg(arg)));
            continue;
        }
        if (key == QLatin1String("fault")) {
            const QString table = arg.section(QLatin1Char('@'), 1);
            StepFault::arm(QStringLiteral("from ") + (table.isEmpty() ? QStringLiteral("tbl_mood_command") : table),
                           arg.section(QLatin1Char('@'), 0, 0).toInt());
            continue;
        }
        if (key == QLatin1String("enter")) {
            m_nav->go("Moods Information", "5-1", "0");
            m_nav->go("Diy Command", "5", "1");
            m_nav->requests.clear();
        } else {
            QtMaterialFlatButton *button = key == QLatin1String("prev")   ? m_diy->prevButton()
                                           : key == QLatin1String("next") ? m_diy->nextButton()
                                                                          : m_diy->saveButton();
            button->click();
        }
        QStringList messages;
        for (const QList<QVariant> &signal : qAsConst(hub))
            messages << signal.first().toString();
        got << QStringLiteral("%1: %2 -> %3")
                   .arg(key, messages.join(QLatin1Char(',')),
                        m_diy->isVisible() ? shown() : m_nav->requests.join(QLatin1Char(',')));
    }
    QCOMPARE(got, trace);
    QCOMPARE(savedRows(), saved);
    // Other moods' commands are never touched.
    QCOMPARE(rows("select mood_id,room_id from tbl_mood_command where mood_id<>5 or room_id<>1 order by id"),
             QStringList({"5|2", "6|1"}));
    // Back in the mood editor after a save: the typed form stays, the list is reloaded.
    if (trace.last() == QLatin1String("save:  -> Moods Information 5-1 0")) {
        QVERIFY(m_info->isVisible());
        QCOMPARE(m_info->nameField()->text(), QStringLiteral("Bob's"));
        QCOMPARE(m_info->commands().size(), saved.size());
        QCOMPARE(QString::number(m_info->commands().last().device_id),
                 saved.last().section(QLatin1Char('|'), 2, 2));
    }
}

// Every type of the box, filled column by column (see fillColumn), with the
// bytes it must store; stored, reopened and read back, the same bytes again.
void TestDiyCommandPage::roundTrip_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("input");
    QTest::addColumn<QString>("bytes");
    auto row = [](const char *type, const char *input, const char *bytes) {
        QTest::newRow(type) << QString::fromUtf8(type)
                            << QString::fromUtf8(input).split(QLatin1Char('|'), Qt::SkipEmptyParts)
                            << QString::fromUtf8(bytes);
    };
    row("Invalid Switch", "5|6", "0|5|6|0|0");
    row("Scene Switch", "300|12", "85|48|12|0|0");
    row("Sequence Switch", "3|100", "86|3|99|0|0");
    row("Universal Switch", "5|On|30", "88|5|255|30|0");
    row("Single Channel Lighting", "3|s80|t1:30", "89|3|80|0|90");
    row("Curtain Switch", "4|Off", "92|4|2|0|0");
    row("SMS Control", "Remote|12", "94|2|12|0|0");
    row("Panel Control", "Panel AC x|3|AC Mode|Heat", "95|45|3|6|1");
    row("Broadcast Scene", "-|12", "85|255|12|0|0");
    row("Broadcast Channel", "-|s80|t10:0", "89|255|80|2|88");
    row("Security Module", "2|Night With Guest", "102|2|4|0|0");
    row("Audio Player", "Play Specify Song|4|999", "103|6|4|3|231");
    row("UPB Channel", "10|2|40|5", "112|10|2|40|5");
    row("UPB Scene", "9|Scene|Activate|3", "113|9|0|1|3");
    row("Modbus Coil", "300|On", "115|1|44|1|0");
    row("Modbus Register", "9999|1000", "116|39|15|3|232");
    row("Zigbee Channel", "1|2|3|4", "121|1|2|3|4");
}

void TestDiyCommandPage::roundTrip()
{
    QFETCH(QString, type);
    QFETCH(QStringList, input);
    QFETCH(QString, bytes);
    m_project.reset();
    m_nav->go("Diy Command", "5", "1");
    QTest::keyClicks(m_diy->subnetField(), "2");
    QTest::keyClicks(m_diy->deviceField(), "300"); // held at 255
    pick(QStringLiteral("comboBoxType"), type);
    for (int column = 0; column < input.size(); ++column)
        fillColumn(column, input[column]);
    const DiyCommandBytes typed = m_diy->parameterFields()->commandBytes();
    m_diy->saveButton()->click();
    QCOMPARE(savedRows(), QStringList(QStringLiteral("1|2|255|") + bytes));

    m_nav->go("Diy Command", "5", "1");
    QCOMPARE(shown().section(QLatin1Char(' '), 0, 1), QStringLiteral("1 2/255"));
    const DiyCommandBytes reopened = m_diy->parameterFields()->commandBytes();
    QVERIFY(reopened == typed);
    m_diy->saveButton()->click();
    QCOMPARE(savedRows(), QStringList(QStringLiteral("1|2|255|") + bytes));
}

void TestDiyCommandPage::screenshots_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::newRow("slider and time") << "1,1,40,89,3,75,0,90" << "diy_command_channel";
    QTest::newRow("every hint") << "1,1,41,112,10,2,40,5" << "diy_command_upb_channel";
    QTest::newRow("lists") << "1,1,42,95,45,3,5,1" << "diy_command_panel_ac_x";
}

void TestDiyCommandPage::screenshots()
{
    QFETCH(QString, command);
    QFETCH(QString, file);
    m_project.reset();
    QVERIFY(addMoodCommand(5, 1, command));
    m_diy->resize(1920, 1080);
    m_nav->go("Diy Command", "5", "1");
    QVERIFY(QTest::qWaitForWindowExposed(m_diy));
    QVERIFY(QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR)));
    QVERIFY(m_diy->grab().save(QStringLiteral(VARNO_SCREENSHOT_DIR "/%1.png").arg(file)));
    // The buttons sit side by side below the last parameter row, inside the page.
    const QRect prev = m_diy->prevButton()->geometry();
    const QRect next = m_diy->nextButton()->geometry();
    QCOMPARE(m_diy->saveButton()->geometry().top(), prev.top());
    QVERIFY(prev.right() < m_diy->saveButton()->geometry().left());
    QVERIFY(next.right() < m_diy->width());
    QGridLayout *grid = m_diy->parameterFields()->grid();
    for (int i = 0; i < grid->count(); ++i) {
        int row, column, rows, columns;
        grid->getItemPosition(i, &row, &column, &rows, &columns);
        const QWidget *w = grid->itemAt(i)->widget();
        if (row < 8 && w && w->isVisible())
            QVERIFY2(prev.top() > w->geometry().bottom(), qPrintable(w->objectName()));
    }
    // The address fields line up with the parameter controls.
    QCOMPARE(m_diy->subnetField()->geometry().left(), child<QComboBox>(QStringLiteral("comboBoxType"))->x());
}

VARNO_TEST_MAIN(TestDiyCommandPage)
#include "tst_diycommandpage.moc"
