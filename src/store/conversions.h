#pragma once

// Small stateless conversions and validators used by the device items and the
// network settings: copying a text field out of a received frame, temperature
// scales, and tests of small texts.

#include <QString>

// Copies the first len bytes of a frame's text field from src to dst (which must
// hold len bytes; no terminating zero is written). Nothing is copied when len is
// below 1 or every byte is 0xFF (a field the device never set). A byte outside
// 0x20..0x7E is copied too unless stop is set; then copying stops there and its
// index is answered. Answers 0 otherwise.
int letterFilter(unsigned char *dst, unsigned char *src, int len, bool stop);

// Degrees Fahrenheit to Celsius and back, to the nearest whole degree (halves
// away from zero).
int get_Celsius_Temperature(int fahrenheit);
int get_Fahrenheit_Temperature(int celsius);

// Whether text holds exactly eight non-empty pieces separated by "-", the form of
// an IP module's MAC ("01-02-03-04-05-06-07-08").
bool isValidIpMacAddress(const QString &text);

// Whether c is an ASCII digit.
bool checkNumber(unsigned char c);

// The first version number of the form digit, point, one or two digits in text
// ("V1.02" gives 1.02, "V12.5" gives 2.5); 0 when there is none. Only the first
// 127 bytes of the UTF-8 text are searched, cut at a character boundary.
float getVersion(const QString &text);
