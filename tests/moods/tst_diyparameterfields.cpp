// The DIY command parameter fields: the Type box, what each column shows for
// every type and choice, the cascade of later columns, the bounds while typing,
// the kept bytes of types the box does not offer, and the round trip from the
// controls to bytes and back.

#include "moods/diyparameterfields.h"
#include "moods/timectrl.h"
#include "projectfixture.h"
#include "shell/mydialog.h"
#include "shell/sliderctrl.h"
#include "testmain.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>
#include <qtmateriallabel.h>
#include <qtmateriallineedit.h>

using Bytes = QList<int>;
Q_DECLARE_METATYPE(Bytes)

namespace {

DiyCommandBytes toCommand(const Bytes &b)
{
    return {quint8(b.value(0)), quint8(b.value(1)), quint8(b.value(2)), quint8(b.value(3)),
            quint8(b.value(4))};
}

Bytes toList(const DiyCommandBytes &c)
{
    return {c.command_type, c.prm1, c.prm2, c.prm3, c.prm4};
}

template <typename T> T *child(const DiyParameterFields &fields, const QString &name)
{
    T *widget = fields.findChild<T *>(name);
    if (!widget)
        qFatal("no child %s", qPrintable(name));
    return widget;
}

// One column as the user sees it: each shown control with its content, the hint,
// and "~" in front when the caption is hidden ("~" alone: an empty column).
QString columnState(const DiyParameterFields &fields, int column)
{
    const QString n = QString::number(column + 1);
    const auto *edit = child<QLineEdit>(fields, QStringLiteral("lineEditPrm") + n);
    const auto *combo = child<QComboBox>(fields, QStringLiteral("comboBoxPrm") + n);
    const auto *hint = child<QLabel>(fields, QStringLiteral("labelPrm%1Hint").arg(n));
    QStringList parts;
    if (!edit->isHidden())
        parts << (edit->isEnabled() ? QStringLiteral("edit=") : QStringLiteral("edit!=")) + edit->text();
    if (!combo->isHidden())
        parts << QStringLiteral("combo=%1#%2").arg(combo->currentText()).arg(combo->count());
    const auto *slider = child<SliderCtrl>(fields, QStringLiteral("sliderPrm2"));
    if (column == 1 && !slider->isHidden())
        parts << QStringLiteral("slider=%1").arg(slider->value());
    const auto *time = child<TimeCtrl>(fields, QStringLiteral("timePrm3"));
    if (column == 2 && !time->isHidden())
        parts << QStringLiteral("time=") + time->getText();
    if (!hint->isHidden() && !hint->text().isEmpty())
        parts << hint->text();
    const bool captionHidden = child<QLabel>(fields, QStringLiteral("labelPrm") + n)->isHidden();
    return (captionHidden ? QStringLiteral("~") : QString()) + parts.join(QLatin1Char('|'));
}

QString fieldsState(const DiyParameterFields &fields)
{
    QStringList state{child<QComboBox>(fields, QStringLiteral("comboBoxType"))->currentText()};
    for (int column = 0; column < 4; ++column)
        state << columnState(fields, column);
    return state.join(QStringLiteral("; "));
}

// Picks entry text of box 0 (Type) or 1 to 4 (Prm1 to Prm4) as the user does.
void pick(DiyParameterFields &fields, const QString &action)
{
    const int box = action.section(QLatin1Char('='), 0, 0).toInt();
    const QString text = action.section(QLatin1Char('='), 1);
    auto *combo = child<QComboBox>(fields, box == 0 ? QStringLiteral("comboBoxType")
                                                    : QStringLiteral("comboBoxPrm%1").arg(box));
    const int row = combo->findText(text);
    QVERIFY2(row >= 0, qPrintable(text));
    combo->setCurrentIndex(row);
}

} // namespace

class TestDiyParameterFields : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_folder.isValid()); }

    void typeBox()
    {
        DiyParameterFields fields;
        const auto *box = child<QComboBox>(fields, QStringLiteral("comboBoxType"));
        QCOMPARE(box->count(), 17);
        QCOMPARE(box->itemText(0), QStringLiteral("Invalid Switch"));
        QCOMPARE(box->itemText(16), QStringLiteral("Zigbee Channel"));
        QCOMPARE(box->findText(QStringLiteral("Dim Up")) + box->findText(QStringLiteral("Dim Down")), -2);
        // A new command: the first type, Prm1 and Prm2 empty, nothing further.
        QCOMPARE(fieldsState(fields), QStringLiteral("Invalid Switch; edit=; edit=; ~; ~"));
        QCOMPARE(toList(fields.commandBytes()), Bytes({0, 0, 0, 0, 0}));
    }

    // A stored command, then the user's choices (",0=type", ",1=" to ",4=" for the
    // Prm boxes): the columns shown ("type; Prm1; ...; Prm4"), alike whether the
    // boxes are silent or report while they are filled; the bytes read back (the
    // stored ones unless given), and those bytes reopened read back unchanged.
    void fields_data()
    {
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<QString>("picks");
        QTest::addColumn<QString>("state");
        QTest::addColumn<Bytes>("stored");
        auto row = [](const char *name, const Bytes &bytes, const char *state, const Bytes &stored = {}) {
            const QStringList parts = QString::fromUtf8(name).split(QLatin1Char(','));
            QTest::newRow(name) << bytes << parts.mid(1).join(QLatin1Char(',')) << QString::fromUtf8(state)
                                << (stored.isEmpty() ? toList(toCommand(bytes)) : stored);
        };
        row("invalid", {0, 7, 9, 0, 0}, "Invalid Switch; edit=7; edit=9; ~; ~");
        row("scene", {85, 5, 12, 0, 0}, "Scene Switch; edit=5|(Area NO.); edit=12|(Scene NO.); ~; ~");
        row("stored broadcast", {85, 255, 12, 0, 0},
            "Scene Switch; edit=255|(Area NO.); edit=12|(Scene NO.); ~; ~");
        row("sequence", {86, 2, 40, 0, 0},
            "Sequence Switch; edit=2|(Area NO.); edit=40|(Sequene NO.); ~; ~");
        row("universal", {88, 5, 255, 30, 0},
            "Universal Switch; edit=5|(Switch NO.); combo=On#2|(Switch Status); edit=30|(Second); ~");
        row("universal no row", {88, 5, 7},
            "Universal Switch; edit=5|(Switch NO.); combo=Off#2|(Switch Status); edit=0|(Second); ~",
            {88, 5, 0, 0, 0});
        row("channel", {89, 3, 75, 0, 90},
            "Single Channel Lighting; edit=3|(Channel NO.); "
            "slider=75|(Intensity %75); time=1:30|(Running Time(mm:ss)); ~");
        row("channel 4000 s", {89, 3, 0, 15, 160},
            "Single Channel Lighting; edit=3|(Channel NO.); "
            "slider=0|(Intensity %0); time=59:40|(Running Time(mm:ss)); ~",
            {89, 3, 0, 13, 252});
        row("curtain", {92, 4, 2, 0, 0},
            "Curtain Switch; edit=4|(Switch NO.); combo=Off#3|(Switch Status); ~; ~");
        row("sms", {94, 2, 12, 0, 0}, "SMS Control; combo=Remote#3; edit=12|(NO.); ~; ~");
        row("panel invalid", {95, 0, 7}, "Panel Control; combo=Invalid#39; ~; ~; ~", {95, 0, 0, 0, 0});
        row("panel power", {95, 3, 1, 0, 0},
            "Panel Control; combo=AC Power#39; combo=On#2|(Switch Status); ~; ~");
        row("panel setpoint", {95, 4, 21, 0, 0},
            "Panel Control; combo=AC Cooling Setpoint#39; edit=21|°C(Temperature); ~; ~");
        row("panel fan", {95, 5, 3, 0, 0},
            "Panel Control; combo=AC FAN Speed#39; combo=Low#4|(FAN Speed); ~; ~");
        row("panel mode", {95, 6, 4, 0, 0}, "Panel Control; combo=AC Mode#39; combo=Dry#5|(Mode); ~; ~");
        row("panel rise", {95, 9, 3, 0, 0}, "Panel Control; combo=Rise Temperature#39; edit=3; ~; ~");
        row("panel light", {95, 14, 60, 0, 0},
            "Panel Control; combo=LCD Status Light#39; slider=60|(Intensity %60); ~; ~");
        row("panel lock", {95, 15, 7, 1, 0},
            "Panel Control; combo=Lock Button#39; edit=7; combo=Valid#2; ~");
        row("panel fh mode", {95, 21, 4, 0, 0},
            "Panel Control; combo=Floor Heating Mode#39; combo=Away#5; ~; ~");
        row("panel goto", {95, 22, 12, 0, 0}, "Panel Control; combo=Goto Page#39; edit=12; ~; ~");
        row("panel ac 1", {95, 25, 4, 24, 0},
            "Panel Control; combo=Panel AC 1#39; combo=Set Temperature#6; combo=24°C#61|(Temperature); ~");
        row("panel ac all", {95, 33, 6, 2, 0},
            "Panel Control; combo=Panel AC All#39; combo=AC Mode#6; combo=FAN#5|(Mode); ~");
        row("panel heat", {95, 35, 20, 1, 0},
            "Panel Control; combo=Panel Heat 2#39; combo=Floor Heater Power#2; combo=On#2|(Switch Status); "
            "~");
        row("panel heat set", {95, 36, 24, 30, 0},
            "Panel Control; combo=Panel Heat All#39; combo=Set Temperature#2; combo=30°C#61|(Temperature); "
            "~");
        row("panel ac x", {95, 45, 3, 5, 1},
            "Panel Control; combo=Panel AC x#39; edit=3|(AC NO.); combo=AC Speed#6; combo=High#4|(FAN "
            "Speed)");
        row("panel ac x,3=Rise", {95, 45, 3, 5, 1},
            "Panel Control; combo=Panel AC x#39; edit=3|(AC NO.); combo=Rise#6; edit=1", {95, 45, 3, 9, 1});
        row("panel fh x", {95, 46, 1, 4, 22},
            "Panel Control; combo=Panel FH x#39; edit=1|(FH NO.); "
            "combo=Set Temperature#4; combo=22°C#61|(Temperature)");
        row("panel fh x reduce", {95, 46, 1, 10, 3},
            "Panel Control; combo=Panel FH x#39; edit=1|(FH NO.); combo=Reduce#4; edit=3");
        row("security", {102, 2, 4, 0, 0},
            "Security Module; edit=2|(Area NO.); combo=Night With Guest#10; ~; ~");
        row("audio source", {103, 1, 8, 2, 0},
            "Audio Player; combo=Source Control#6; combo=USB#8; edit=2|(ZONE NO.); ~");
        row("audio mode", {103, 2, 4, 0, 0}, "Audio Player; combo=Play Mode#6; combo=Repeat All#4; ~; ~");
        row("audio radio", {103, 3, 6, 7, 0},
            "Audio Player; combo=Play List/Radio Channel#6; combo=Specify Radio Channel#6; edit=7; ~");
        row("audio next list", {103, 3, 2, 0, 0},
            "Audio Player; combo=Play List/Radio Channel#6; combo=Next Play List#6; ~; ~");
        row("audio stop", {103, 4, 4, 1, 0},
            "Audio Player; combo=Play Control#6; combo=Stop#4; edit=1|(ZONE NO.); ~");
        row("audio mute", {103, 5, 1, 14, 0},
            "Audio Player; combo=Volume Control#6; combo=VOL#3; combo=Zone2 Mute#16; combo=ON#2");
        row("audio mute,4=OFF", {103, 5, 1, 14, 0},
            "Audio Player; combo=Volume Control#6; combo=VOL#3; combo=Zone2 Mute#16; combo=OFF#2",
            {103, 5, 1, 14, 1});
        row("audio mute,2=TREBLE", {103, 5, 1, 14, 0},
            "Audio Player; combo=Volume Control#6; combo=TREBLE#3; combo=Reduce VOL#2; ~",
            {103, 5, 2, 1, 0});
        row("audio volume", {103, 5, 1, 3, 79},
            "Audio Player; combo=Volume Control#6; combo=VOL#3; combo=Zone1 VOL Value#16; combo=VOL:0%#80");
        row("audio song", {103, 6, 4, 3, 232},
            "Audio Player; combo=Play Specify Song#6; edit=4; edit=1000; ~");
        row("upb channel", {112, 10, 2, 40, 5},
            "UPB Channel; edit=10|(UID); edit=2|(Channel NO.); edit=40|(Level); edit=5|(Fade)");
        row("upb scene", {113, 9, 0, 1, 3},
            "UPB Scene; edit=9|(Scene ID); combo=Scene#2; combo=Activate#2; edit=3|(Fade)");
        row("upb scene,2=Go To Level", {113, 9, 0, 1, 3},
            "UPB Scene; edit=9|(Scene ID); combo=Go To Level#2; edit=1|(Level); edit=3|(Fade)",
            {113, 9, 1, 1, 3});
        row("universal,0=UPB Scene", {88, 5, 255, 30, 0},
            "UPB Scene; edit=5|(Scene ID); combo=Go To Level#2; edit=30|(Level); edit=0|(Fade)",
            {113, 5, 1, 30, 0});
        row("modbus coil", {115, 1, 44, 5},
            "Modbus Coil; edit=300|(Address NO.); combo=On#2|(Switch Status); ~; ~", {115, 1, 44, 1, 0});
        row("modbus register", {116, 255, 255, 3, 232},
            "Modbus Register; edit=65535|(Address NO.); edit=1000; ~; ~");
        row("zigbee,0=Scene Switch", {121, 200, 2, 3, 4},
            "Scene Switch; edit=48|(Area NO.); edit=2|(Scene NO.); ~; ~", {85, 48, 2, 0, 0});
        row("zigbee", {121, 1, 2, 3, 4},
            "Zigbee Channel; edit=1|(Channel NO.); edit=2|(Level); edit=3|(Hue); edit=4|(Time)");
        row("scene,0=Broadcast Scene", {85, 5, 12},
            "Broadcast Scene; edit!=All Areas; edit=12|(Scene NO.); ~; ~", {85, 255, 12, 0, 0});
        row("scene,0=Broadcast Scene,0=Scene Switch", {85, 5, 12, 0, 0},
            "Scene Switch; edit=5|(Area NO.); edit=12|(Scene NO.); ~; ~");
        row("channel,0=Broadcast Channel", {89, 3, 80, 0, 90},
            "Broadcast Channel; edit!=All Channels; "
            "slider=80|(Intensity %80); time=1:30|(Running Time(mm:ss)); ~",
            {89, 255, 80, 0, 90});
        // Types the box does not offer: no type shown, the bytes kept whole until a
        // type is picked.
        row("dim up", {117, 5, 6, 7, 8}, "; edit=5; edit=6; ~; ~");
        row("no such type", {200, 1, 2, 3, 4}, "; edit=1; edit=2; ~; ~");
        row("dim up,0=Scene Switch", {117, 5, 6, 7, 8},
            "Scene Switch; edit=5|(Area NO.); edit=6|(Scene NO.); ~; ~", {85, 5, 6, 0, 0});
    }

    void fields()
    {
        QFETCH(Bytes, bytes);
        QFETCH(QString, picks);
        QFETCH(QString, state);
        QFETCH(Bytes, stored);
        for (const bool blocked : {true, false}) {
            DiyParameterFields fields;
            fields.setFillSignalsBlocked(blocked);
            fields.showCommand(toCommand({0, 1, 2, 3, 4}));
            fields.showCommand(toCommand(bytes));
            for (const QString &action : picks.split(QLatin1Char(','), Qt::SkipEmptyParts))
                pick(fields, action);
            QCOMPARE(fieldsState(fields), state);
            QCOMPARE(fields.keepsStoredType(), state.startsWith(QLatin1Char(';')));
            QCOMPARE(toList(fields.commandBytes()), stored);

            DiyParameterFields reopened;
            reopened.showCommand(fields.commandBytes());
            QCOMPARE(toList(reopened.commandBytes()), stored);

            // A slider's hint follows its value.
            auto *slider = child<SliderCtrl>(fields, QStringLiteral("sliderPrm2"));
            if (!slider->isHidden()) {
                slider->setValue(33);
                QCOMPARE(child<QLabel>(fields, QStringLiteral("labelPrm2Hint"))->text(),
                         QStringLiteral("(Intensity %33)"));
                QCOMPARE(fields.commandBytes().prm2, quint8(33));
            }
        }
    }

    // Typed text (after "=": set past the validator) in column 0 to 3 of a stored
    // command, or in an address field (-1).
    void bounds_data()
    {
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        auto row = [](const char *name, const Bytes &bytes, int column, const char *typed,
                      const char *shown) {
            QTest::newRow(name) << bytes << column << QString::fromUtf8(typed) << QString::fromUtf8(shown);
        };
        row("scene 300", {85}, 0, "300", "48");
        row("scene 49", {85}, 0, "49", "48");
        row("scene 48", {85}, 0, "48", "48");
        row("sequence", {86}, 1, "100", "99");
        row("universal", {88}, 2, "61", "60");
        row("channel", {89}, 0, "241", "240");
        row("curtain", {92}, 0, "100", "99");
        row("sms", {94}, 1, "25", "24");
        row("panel rise", {95, 9}, 1, "6", "5");
        row("panel goto", {95, 22}, 1, "31", "30");
        row("panel setpoint", {95, 4}, 1, "256", "255");
        row("audio song", {103, 6}, 2, "1000", "999");
        row("audio zone", {103, 1}, 2, "256", "255");
        row("upb uid", {112}, 0, "251", "250");
        row("upb level", {112}, 2, "101", "100");
        row("upb fade", {112}, 3, "16", "15");
        row("upb scene level", {113, 0, 1}, 2, "101", "100");
        row("upb scene fade", {113}, 3, "16", "15");
        row("coil address", {115}, 0, "10000", "9999");
        row("register value", {116}, 1, "70000", "65535");
        row("register beyond int", {116}, 1, "=9999999999", "65535");
        row("zigbee", {121}, 3, "256", "255");
        row("negative kept", {0}, 0, "-5", "-5");
        row("address", {0}, -1, "256", "255");
        row("address beyond int", {0}, -1, "=9999999999", "255");
    }

    void bounds()
    {
        QFETCH(Bytes, bytes);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        DiyParameterFields fields;
        fields.showCommand(toCommand(bytes));
        QtMaterialLineEdit address;
        DiyParameterFields::boundAddressField(&address);
        QLineEdit *edit = column < 0
                              ? &address
                              : child<QLineEdit>(fields, QStringLiteral("lineEditPrm%1").arg(column + 1));
        QVERIFY(column < 0 || !edit->isHidden());
        edit->clear();
        if (typed.startsWith(QLatin1Char('=')))
            edit->setText(typed.mid(1));
        else
            QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), shown);
    }

    // The fields at the size of the page, with the editor's own rows above them.
    void screenshots_data()
    {
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<QString>("file");
        QTest::newRow("slider and time") << Bytes{89, 3, 75, 0, 90} << "diy_channel.png";
        QTest::newRow("every hint") << Bytes{112, 10, 2, 40, 5} << "diy_upb_channel.png";
        QTest::newRow("lists") << Bytes{95, 45, 3, 5, 1} << "diy_panel_ac_x.png";
    }

    void screenshots()
    {
        QFETCH(Bytes, bytes);
        QFETCH(QString, file);
        MyDialog page(QStringLiteral("Diy Command"), QStringLiteral("Diy Command"));
        auto *fields = new DiyParameterFields(&page);
        const QStringList captions{"Command ID:", "Subnet ID:", "Device ID:"};
        for (int row = 0; row < 3; ++row) {
            fields->grid()->addWidget(new QtMaterialLabel(captions[row], fields), row, 0);
            auto *value = new QtMaterialLineEdit(QStringLiteral("1"), fields);
            value->setFixedWidth(420);
            fields->grid()->addWidget(value, row, 1);
        }
        auto *layout = new QVBoxLayout(&page);
        layout->setContentsMargins(200, 60, 200, 60);
        layout->addWidget(fields);
        fields->showCommand(toCommand(bytes));
        page.resize(1920, 1000);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(QDir().mkpath(QStringLiteral(VARNO_SCREENSHOT_DIR)));
        QVERIFY(page.grab().save(QStringLiteral(VARNO_SCREENSHOT_DIR "/") + file));
        // Each shown hint stands whole, right of its control and inside the page.
        for (int column = 1; column <= 4; ++column) {
            const auto *hint = child<QLabel>(*fields, QStringLiteral("labelPrm%1Hint").arg(column));
            const auto *edit = child<QLineEdit>(*fields, QStringLiteral("lineEditPrm%1").arg(column));
            if (!hint->isVisible() || hint->text().isEmpty())
                continue;
            QVERIFY(hint->geometry().left() >= edit->geometry().right());
            QVERIFY(hint->mapTo(&page, QPoint(hint->width(), 0)).x() <= page.width());
            QVERIFY(hint->width() >= hint->sizeHint().width());
        }
    }

private:
    varnotest::ProjectFolder m_folder;
};

VARNO_TEST_MAIN(TestDiyParameterFields)
#include "tst_diyparameterfields.moc"
