#pragma once

// The small input rules shared by the commissioning pages: bus address fields,
// the names of rooms added in bulk, and a light's off picture.

#include <QString>

// What an address field keeps of typed text: "255" for a number of 256 or more,
// also for a string of digits too long for an int; any other text as typed.
QString addressFieldText(const QString &text);

// The number an address field holds when a page saves; 0 (missing) for empty
// text, text that is not a number, and any value below 1.
int addressFieldValue(const QString &text);

// digits (decimal text) plus add (not negative), as decimal text of any length
// and without leading zeros ("0" stays "0").
QString addToDecimalText(const QString &digits, int add);

// The name of room index (from 0) of count rooms added in bulk from name: with a
// count of 1 or less the name as typed; a name without trailing digits gets the
// index appended (room 0 keeps the plain name); trailing digits count on from
// their value, leading zeros dropped ("Room09" gives "Room9", "Room10", ...).
QString bulkRoomName(const QString &name, int index, int count);

// A light's off picture: the on picture's name cut at its first "on", followed by
// "off" ("light_07_on" gives "light_07_off"); a name without "on" stays as it is.
QString lightOffIconName(const QString &onName);
