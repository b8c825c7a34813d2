#pragma once

// Turning the controls of the DIY command editor into a command's type and four
// parameter bytes. The controls are given as a snapshot of their texts, so the
// encoding needs no widgets; choice texts are looked up in the command
// vocabulary of the current project's database.

#include <QString>
#include <QtGlobal>

// The type and parameter bytes of one DIY command (its address and number are the
// editor's own).
struct DiyCommandBytes
{
    quint8 command_type = 0;
    quint8 prm1 = 0;
    quint8 prm2 = 0;
    quint8 prm3 = 0;
    quint8 prm4 = 0;

    quint8 prm(int column) const;
    bool operator==(const DiyCommandBytes &other) const;
    bool operator!=(const DiyCommandBytes &other) const { return !(*this == other); }
};

// What the editor's controls show: the Type box's text, the text of each Prm line
// edit and Prm combo box (index 0 is Prm1), the Prm2 slider and the Prm3 time
// field ("minutes:seconds").
struct DiyControls
{
    QString type;
    QString number[4];
    QString choice[4];
    int slider = 0;
    QString time;
};

// The command that the controls describe. A type text without a row gives type 0
// with parameters as for "Invalid Switch"; choices without a row give 0; numbers
// that are empty, not numbers or negative give 0; a number above a byte keeps its
// low 8 bits, except in the four two-byte places (Modbus address and register
// value, song number, running time), which hold it high byte first.
DiyCommandBytes encodeDiyCommand(const DiyControls &controls);

// A parameter number as the encoding reads it: negative and unreadable text as 0.
int diyParameterNumber(const QString &text);
// The running time in seconds of "minutes:seconds" as a 16-bit value; a part
// that cannot be read, or is negative, counts as 0.
int diyRunningSeconds(const QString &time);

// The fixed choice texts of the parameter fields ("On", "Valid", "Scene", ...),
// as the fields show them and the encoding compares them.
QString diyFixedText(const char *text);
