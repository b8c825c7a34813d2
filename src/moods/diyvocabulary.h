#pragma once

// Look-ups in the command vocabulary of DIY commands (tbl_fnt_type,
// tbl_fnt_prm1, tbl_comp2_item, tbl_comp3_item) on the current project's
// database. Within one table a list is one policy; a row's [index] is its place in
// the list, item the text shown and value the byte stored. Texts reach the SQL
// only through sqlText().

#include <QString>
#include <QStringList>

namespace DiyVocabulary {

extern const char *const FntType;
extern const char *const FntPrm1;
extern const char *const Comp2;
extern const char *const Comp3;

struct Row
{
    bool found = false;
    int index = 0;
    int value = 0;
};

// The first row of the list whose item is the given text; found false (index and
// value 0) when none is.
Row rowOfItem(const char *table, int policy, const QString &item);
// The items of a list in [index] order.
QStringList items(const char *table, int policy);
// The [index] of the list's row holding value; -1 when no row does.
int indexOfValue(const char *table, int policy, int value);

// The command types the Type box offers: every policy-1 type except "Dim Up"
// (117) and "Dim Down" (118), in [index] order; *ok (when given) false when they
// could not all be read.
QStringList typeEntries(bool *ok = nullptr);
// The item of the policy-1 type with that value (the lower [index] where two
// share it: 85 is "Scene Switch", 89 "Single Channel Lighting"); empty when no
// row has the value.
QString typeItemOfValue(int value);

// Whether a look-up has failed to read since clearReadFailure(): a command shown
// or encoded meanwhile may hold a wrong type or byte, and is not to be saved.
bool readFailed();
void clearReadFailure();

} // namespace DiyVocabulary
