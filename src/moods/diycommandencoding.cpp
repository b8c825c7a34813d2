#include "diycommandencoding.h"

#include "moods/diyvocabulary.h"
#include "moods/fieldnumber.h"

#include <QCoreApplication>
#include <QStringList>

using namespace DiyVocabulary;

namespace {

quint8 byteOf(qint64 n)
{
    return static_cast<quint8>(n & 0xFF);
}

quint8 highOf(qint64 n)
{
    return static_cast<quint8>((n / 256) & 0xFF);
}

// Reads the controls the way every rule of the encoding does.
class Reader
{
public:
    explicit Reader(const DiyControls &controls) : c(controls) {}

    int number(int column) const { return diyParameterNumber(c.number[column]); }
    Row row(int column, const char *table, int policy) const
    {
        return rowOfItem(table, policy, c.choice[column]);
    }
    int choice(int column, const char *table, int policy) const
    {
        return row(column, table, policy).value;
    }
    quint8 flag(int column, const char *text) const
    {
        return c.choice[column] == diyFixedText(text) ? 1 : 0;
    }

    const DiyControls &c;
};

// The byte of an air-conditioner function of tbl_comp2_item policy 13, read from
// the controls of the next column.
quint8 acFunctionByte(const Reader &r, int function, int column)
{
    switch (function) {
    case 0: return r.flag(column, "On");
    case 1: return byteOf(r.choice(column, Comp2, 3));
    case 2: return byteOf(r.choice(column, Comp2, 4));
    case 3: return byteOf(r.choice(column, Comp2, 5));
    case 4:
    case 5: return byteOf(r.number(column));
    default: return 0;
    }
}

void encodePanelControl(const Reader &r, DiyCommandBytes &b)
{
    const Row function = r.row(0, FntPrm1, 2);
    b.prm1 = byteOf(function.value);
    switch (function.index) {
    case 1: case 2: case 3: case 11: case 12: case 13: case 20:
        b.prm2 = r.flag(1, "On");
        break;
    case 4: case 7: case 8: case 9: case 10: case 19: case 22: case 23: case 24:
        b.prm2 = byteOf(r.number(1));
        break;
    case 5: b.prm2 = byteOf(r.choice(1, Comp2, 4)); break;
    case 6: b.prm2 = byteOf(r.choice(1, Comp2, 5)); break;
    case 21: b.prm2 = byteOf(r.choice(1, Comp2, 6)); break;
    case 14: b.prm2 = byteOf(r.c.slider); break;
    case 15: case 16: case 17: case 18:
        b.prm2 = byteOf(r.number(1));
        b.prm3 = r.flag(2, "Valid");
        break;
    case 25: case 26: case 27: case 28: case 29: case 30: case 31: case 32: case 33: {
        const Row ac = r.row(1, Comp2, 13);
        if (ac.found) {
            b.prm2 = byteOf(ac.value);
            b.prm3 = acFunctionByte(r, ac.index, 2);
        }
        break;
    }
    case 34: case 35: case 36: {
        const Row heat = r.row(1, Comp2, 14);
        if (heat.found) {
            b.prm2 = byteOf(heat.value);
            if (heat.index == 0)
                b.prm3 = r.flag(2, "On");
            else if (heat.index == 1)
                b.prm3 = byteOf(r.choice(2, Comp2, 3));
        }
        break;
    }
    case 37: {
        b.prm2 = byteOf(r.number(1));
        const Row ac = r.row(2, Comp2, 13);
        if (ac.found) {
            b.prm3 = byteOf(ac.value);
            b.prm4 = acFunctionByte(r, ac.index, 3);
        }
        break;
    }
    case 38: {
        b.prm2 = byteOf(r.number(1));
        const Row fh = r.row(2, Comp2, 15);
        if (fh.found) {
            b.prm3 = byteOf(fh.value);
            if (fh.index == 0)
                b.prm4 = r.flag(3, "On");
            else if (fh.index == 1)
                b.prm4 = byteOf(r.choice(3, Comp2, 3));
            else if (fh.index == 2 || fh.index == 3)
                b.prm4 = byteOf(r.number(3));
        }
        break;
    }
    default:
        break;
    }
}

void encodeAudioPlayer(const Reader &r, DiyCommandBytes &b)
{
    const Row function = r.row(0, FntPrm1, 3);
    b.prm1 = byteOf(function.value);
    switch (function.index) {
    case 0:
        b.prm2 = byteOf(r.choice(1, Comp2, 8));
        b.prm3 = byteOf(r.number(2));
        break;
    case 1: b.prm2 = byteOf(r.choice(1, Comp2, 9)); break;
    case 2: {
        const Row list = r.row(1, Comp2, 10);
        b.prm2 = byteOf(list.value);
        if (list.index == 2 || list.index == 5)
            b.prm3 = byteOf(r.number(2));
        break;
    }
    case 3:
        b.prm2 = byteOf(r.choice(1, Comp2, 11));
        b.prm3 = byteOf(r.number(2));
        break;
    case 4: {
        const Row volume = r.row(1, Comp2, 12);
        b.prm2 = byteOf(volume.value);
        if (volume.index == 1 || volume.index == 2) {
            b.prm3 = byteOf(r.choice(2, Comp3, 2));
        } else if (volume.index == 0) {
            const Row zone = r.row(2, Comp3, 3);
            b.prm3 = byteOf(zone.value);
            // Every zone has four rows: reduce, raise, volume value, mute.
            if (zone.index < 16 && zone.index % 4 == 2)
                b.prm4 = byteOf(r.choice(3, Comp3, 4));
            else if (zone.index < 16 && zone.index % 4 == 3)
                b.prm4 = byteOf(r.choice(3, Comp3, 5));
        }
        break;
    }
    case 5: {
        b.prm2 = byteOf(r.number(1));
        const int song = r.number(2);
        b.prm3 = highOf(song);
        b.prm4 = byteOf(song);
        break;
    }
    default:
        break;
    }
}

// "%d" as sscanf reads it at the start of text: the number and the rest after it.
bool leadingNumber(const QString &text, qint64 &value, QString &rest)
{
    int end = 0;
    while (end < text.size() && text.at(end).isSpace())
        ++end;
    const int start = end;
    if (end < text.size() && (text.at(end) == QLatin1Char('-') || text.at(end) == QLatin1Char('+')))
        ++end;
    const int digits = end;
    while (end < text.size() && text.at(end).isDigit())
        ++end;
    if (end == digits)
        return false;
    value = fieldNumber(text.mid(start, end - start));
    rest = text.mid(end);
    return true;
}

} // namespace

quint8 DiyCommandBytes::prm(int column) const
{
    switch (column) {
    case 0: return prm1;
    case 1: return prm2;
    case 2: return prm3;
    case 3: return prm4;
    default: return 0;
    }
}

bool DiyCommandBytes::operator==(const DiyCommandBytes &other) const
{
    return command_type == other.command_type && prm1 == other.prm1 && prm2 == other.prm2
           && prm3 == other.prm3 && prm4 == other.prm4;
}

int diyParameterNumber(const QString &text)
{
    return qMax(0, fieldNumber(text));
}

int diyRunningSeconds(const QString &time)
{
    qint64 minutes = 0;
    qint64 seconds = 0;
    QString rest;
    if (leadingNumber(time, minutes, rest) && rest.startsWith(QLatin1Char(':')))
        leadingNumber(rest.mid(1), seconds, rest);
    return static_cast<int>((qMax<qint64>(0, minutes) * 60 + qMax<qint64>(0, seconds)) & 0xFFFF);
}

QString diyFixedText(const char *text)
{
    return QCoreApplication::translate("DiyParameterFields", text);
}

DiyCommandBytes encodeDiyCommand(const DiyControls &controls)
{
    const Reader r(controls);
    DiyCommandBytes b;
    const Row type = rowOfItem(FntType, 1, controls.type);
    b.command_type = byteOf(type.value);
    switch (type.index) {
    case 0: case 1: case 2:
        b.prm1 = byteOf(r.number(0));
        b.prm2 = byteOf(r.number(1));
        break;
    case 3:
        b.prm1 = byteOf(r.number(0));
        b.prm2 = byteOf(r.choice(1, Comp2, 1));
        b.prm3 = byteOf(r.number(2));
        break;
    case 4:
    case 9: {
        b.prm1 = type.index == 9 ? 255 : byteOf(r.number(0));
        b.prm2 = byteOf(controls.slider);
        const int seconds = diyRunningSeconds(controls.time);
        b.prm3 = highOf(seconds);
        b.prm4 = byteOf(seconds);
        break;
    }
    case 5:
        b.prm1 = byteOf(r.number(0));
        b.prm2 = byteOf(r.choice(1, Comp2, 2));
        break;
    case 6:
        b.prm1 = byteOf(r.choice(0, FntPrm1, 1));
        b.prm2 = byteOf(r.number(1));
        break;
    case 7: encodePanelControl(r, b); break;
    case 8:
        b.prm1 = 255;
        b.prm2 = byteOf(r.number(1));
        break;
    case 10:
        b.prm1 = byteOf(r.number(0));
        b.prm2 = byteOf(r.choice(1, Comp2, 7));
        break;
    case 11: encodeAudioPlayer(r, b); break;
    case 12:
    case 18:
        b.prm1 = byteOf(r.number(0));
        b.prm2 = byteOf(r.number(1));
        b.prm3 = byteOf(r.number(2));
        b.prm4 = byteOf(r.number(3));
        break;
    case 13: {
        b.prm1 = byteOf(r.number(0));
        const bool scene = controls.choice[1] == diyFixedText("Scene");
        b.prm2 = scene ? 0 : 1;
        if (scene)
            b.prm3 = r.flag(2, "Deactivate") ? 0 : 1;
        else
            b.prm3 = byteOf(r.number(2));
        b.prm4 = byteOf(r.number(3));
        break;
    }
    case 14: {
        const int address = r.number(0);
        b.prm1 = highOf(address);
        b.prm2 = byteOf(address);
        b.prm3 = r.flag(1, "On");
        break;
    }
    case 15: {
        const int address = r.number(0);
        const int value = r.number(1);
        b.prm1 = highOf(address);
        b.prm2 = byteOf(address);
        b.prm3 = highOf(value);
        b.prm4 = byteOf(value);
        break;
    }
    default:
        break;
    }
    return b;
}
