#include "vocabulary.h"

#include "store/queryhelpers.h"

#include <QDebug>
#include <QStringList>
#include <QVector>

#include <cmath>

namespace {

// One choice of a list: its list (policy), position, number and shown text.
struct Choice
{
    int policy;
    int index;
    int value;
    QString item;
};

// One command kind of tbl_fnt_type.
struct Kind
{
    int policy;
    int index;
    int flag;
    int value;
    const char *item;
};

const Kind kKinds[] = {
    {1, 0, 0, 0, "Invalid Switch"},
    {1, 1, 0, 85, "Scene Switch"},
    {1, 2, 0, 86, "Sequence Switch"},
    {1, 3, 0, 88, "Universal Switch"},
    {1, 4, 0, 89, "Single Channel Lighting"},
    {1, 5, 0, 92, "Curtain Switch"},
    {1, 6, 0, 94, "SMS Control"},
    {1, 7, 0, 95, "Panel Control"},
    {1, 8, 1, 85, "Broadcast Scene"},
    {1, 9, 1, 89, "Broadcast Channel"},
    {1, 10, 0, 102, "Security Module"},
    {1, 11, 0, 103, "Audio Player"},
    {1, 12, 0, 112, "UPB Channel"},
    {1, 13, 0, 113, "UPB Scene"},
    {1, 14, 0, 115, "Modbus Coil"},
    {1, 15, 0, 116, "Modbus Register"},
    {1, 16, 0, 117, "Dim Up"},
    {1, 17, 0, 118, "Dim Down"},
    {1, 18, 0, 121, "Zigbee Channel"},

    {2, 0, 0, 0, "Invalid Switch"},
    {2, 1, 0, 1, "Sequence Switch"},
    {2, 2, 0, 2, "Universal Switch"},
    {2, 3, 0, 3, "Scene Switch"},
    {2, 4, 0, 4, "Single Channel Lighting"},
    {2, 5, 0, 5, "Broadcast Scene"},
    {2, 6, 0, 6, "Broadcast Channel"},
    {2, 7, 0, 7, "Curtain Switch"},
    {2, 8, 0, 12, "Infrared Control"},
    {2, 9, 0, 13, "SMS Control"},
    {2, 10, 0, 14, "Panel Control"},
    {2, 11, 0, 18, "Audio Player"},
    {2, 12, 0, 19, "Reverse Control"},
    {2, 13, 0, 20, "Security Module"},
    {2, 14, 0, 112, "UPB Channel"},
    {2, 15, 0, 113, "UPB Scene"},

    {3, 0, 0, 0, "Scene Switch"},
    {3, 1, 0, 1, "Sequence Switch"},
    {3, 2, 0, 2, "Universal Switch"},
    {3, 3, 0, 3, "Invalid Switch"},
    {3, 4, 0, 4, "Single Channel Lighting"},
    {3, 5, 0, 5, "Broadcast Scene"},
    {3, 6, 0, 6, "Broadcast Channel"},
    {3, 7, 0, 7, "Curtain Switch"},
    {3, 8, 0, 11, "Broadcast Curtain"},
    {3, 9, 0, 13, "SMS Control"},
    {3, 10, 0, 14, "Panel Control"},
    {3, 11, 0, 17, "Security Module"},
    {3, 12, 0, 18, "Audio Player"},
    {3, 13, 0, 19, "Reverse Control"},
    {3, 14, 0, 112, "UPB Channel"},
    {3, 15, 0, 113, "UPB Scene"},
};

// A list written as pairs of value and text; the position is the pair's place.
struct Pair
{
    int value;
    const char *item;
};

void appendList(QVector<Choice> &rows, int policy, std::initializer_list<Pair> pairs)
{
    int index = 0;
    for (const Pair &pair : pairs)
        rows.append({policy, index++, pair.value, QString::fromUtf8(pair.item)});
}

QVector<Choice> prm1Rows()
{
    QVector<Choice> rows;
    appendList(rows, 1, {{0, "Invalid"}, {1, "Message"}, {2, "Remote"}});
    appendList(rows, 2,
               {{0, "Invalid"},
                {1, "IR Receiver"},
                {2, "Lock Key Of Panel"},
                {3, "AC Power"},
                {4, "AC Cooling Setpoint"},
                {5, "AC FAN Speed"},
                {6, "AC Mode"},
                {7, "AC Heating Setpoint"},
                {8, "AC Auto Setpoint"},
                {9, "Rise Temperature"},
                {10, "Reduce Temperature"},
                {11, "LCD Backlight"},
                {12, "Lock AC Page"},
                {13, "LCD Backlight New"},
                {14, "LCD Status Light"},
                {15, "Lock Button"},
                {16, "Lock Page"},
                {17, "Control Button Status"},
                {18, "Control Button"},
                {19, "Dry Temperature"},
                {20, "Floor Heating Power"},
                {21, "Floor Heating Mode"},
                {22, "Goto Page"},
                {23, "AC FAN Temperature"},
                {24, "Floor Heating Setpoint"},
                {25, "Panel AC 1"},
                {26, "Panel AC 2"},
                {27, "Panel AC 3"},
                {28, "Panel AC 4"},
                {29, "Panel AC 5"},
                {30, "Panel AC 6"},
                {31, "Panel AC 7"},
                {32, "Panel AC 8"},
                {33, "Panel AC All"},
                {34, "Panel Heat 1"},
                {35, "Panel Heat 2"},
                {36, "Panel Heat All"},
                {45, "Panel AC x"},
                {46, "Panel FH x"}});
    appendList(rows, 3,
               {{1, "Source Control"},
                {2, "Play Mode"},
                {3, "Play List/Radio Channel"},
                {4, "Play Control"},
                {5, "Volume Control"},
                {6, "Play Specify Song"}});
    return rows;
}

QVector<Choice> comp2Rows()
{
    QVector<Choice> rows;
    appendList(rows, 1, {{0, "Off"}, {255, "On"}});
    appendList(rows, 2, {{0, "Stop"}, {1, "On"}, {2, "Off"}});
    // Temperatures 0 to 60 degrees Celsius.
    const QString degrees = QString(QChar(0x00B0)) + QLatin1Char('C');
    for (int t = 0; t <= 60; ++t)
        rows.append({3, t, t, QString::number(t) + degrees});
    appendList(rows, 4, {{0, "Auto"}, {1, "High"}, {2, "Medium"}, {3, "Low"}});
    appendList(rows, 5, {{0, "Cool"}, {1, "Heat"}, {2, "FAN"}, {3, "Auto"}, {4, "Dry"}});
    appendList(rows, 6, {{1, "Normal"}, {2, "Day"}, {3, "Night"}, {4, "Away"}, {5, "Auto"}});
    appendList(rows, 7,
               {{1, "Vacation"},
                {2, "Away"},
                {3, "Night"},
                {4, "Night With Guest"},
                {5, "Day"},
                {6, "Off/Disarm"},
                {7, "Emergency"},
                {8, "Fire"},
                {9, "Panic"},
                {10, "Slient Panic"}});
    appendList(rows, 8,
               {{1, "SD CARD"},
                {2, "AUX1"},
                {3, "WIFI/FTP"},
                {4, "FM RADIO"},
                {7, "AUX2"},
                {8, "USB"},
                {9, "OPT"},
                {10, "CO-AXIAL"}});
    appendList(rows, 9, {{1, "No Repeat"}, {2, "Repeat Song"}, {3, "Continued"}, {4, "Repeat All"}});
    appendList(rows, 10,
               {{1, "PREV Play List"},
                {2, "Next Play List"},
                {3, "Specify Play List No"},
                {4, "PREV Radio Channel"},
                {5, "Next Radio Channel"},
                {6, "Specify Radio Channel"}});
    appendList(rows, 11, {{1, "PREV Song"}, {2, "Next Song"}, {3, "Play"}, {4, "Stop"}});
    appendList(rows, 12, {{1, "VOL"}, {2, "TREBLE"}, {3, "BASS"}});
    appendList(rows, 13,
               {{3, "AC Power"},
                {4, "Set Temperature"},
                {5, "AC Speed"},
                {6, "AC Mode"},
                {9, "Rise"},
                {10, "Reduce"}});
    appendList(rows, 14, {{20, "Floor Heater Power"}, {24, "Set Temperature"}});
    appendList(rows, 15, {{3, "Floor Heater Power"}, {4, "Set Temperature"}, {9, "Rise"}, {10, "Reduce"}});
    return rows;
}

QVector<Choice> comp3Rows()
{
    QVector<Choice> rows;
    appendList(rows, 1, {{0, "Invalid"}, {1, "Valid"}});
    appendList(rows, 2, {{1, "Reduce VOL"}, {2, "Raise VOL"}});
    // Per zone: reduce, raise, value and mute, numbered ten apart.
    const char *const actions[] = {"Reduce VOL", "Raise VOL", "VOL Value", "Mute"};
    int index = 0;
    for (int zone = 1; zone <= 4; ++zone) {
        for (int action = 0; action < 4; ++action) {
            rows.append({3, index++, (zone - 1) * 10 + action + 1,
                         QStringLiteral("Zone%1 %2").arg(zone).arg(QLatin1String(actions[action]))});
        }
    }
    // Volume levels: position i is i * 100 / 79 percent, sent as 79 - i.
    for (int i = 0; i < 80; ++i) {
        const long percent = std::lround(i * 100.0 / 79.0);
        rows.append({4, i, 79 - i, QStringLiteral("VOL:%1%").arg(percent)});
    }
    appendList(rows, 5, {{1, "OFF"}, {0, "ON"}});
    rows.append({6, 0, 0, QStringLiteral("Close")});
    for (int n = 1; n <= 20; ++n)
        rows.append({6, n, n, QString::number(n)});
    rows.append({6, 21, 187, QStringLiteral("Open")});
    return rows;
}

void seed(const QString &table, const QVector<Choice> &rows)
{
    QStringList statements;
    statements.reserve(rows.size() + 1);
    statements.append(QStringLiteral("delete from %1").arg(table));
    for (const Choice &row : rows) {
        // One pass over the place holders, so a "%" in a text is never refilled.
        statements.append(QStringLiteral("insert into %1(policy,[index],value,item) values(%2,%3,%4,'%5')")
                              .arg(table, QString::number(row.policy), QString::number(row.index),
                                   QString::number(row.value), sqlText(row.item)));
    }
    if (!execTransaction(statements))
        qDebug() << "seeding" << table << "failed; its old rows are kept";
}

} // namespace

void initTableFntType()
{
    QStringList statements;
    statements.append(QStringLiteral("delete from tbl_fnt_type"));
    for (const Kind &kind : kKinds) {
        statements.append(
            QStringLiteral(
                "insert into tbl_fnt_type([index],flag,value,item,policy) values(%1,%2,%3,'%4',%5)")
                .arg(QString::number(kind.index), QString::number(kind.flag), QString::number(kind.value),
                     sqlText(QString::fromUtf8(kind.item)), QString::number(kind.policy)));
    }
    if (!execTransaction(statements))
        qDebug() << "seeding tbl_fnt_type failed; its old rows are kept";
}

void initTableFntPrm1()
{
    seed(QStringLiteral("tbl_fnt_prm1"), prm1Rows());
}

void initTableComP2Item()
{
    seed(QStringLiteral("tbl_comp2_item"), comp2Rows());
}

void initTableComP3Item()
{
    seed(QStringLiteral("tbl_comp3_item"), comp3Rows());
}
