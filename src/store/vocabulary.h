#pragma once

// The command vocabulary of DIY commands: the fixed rows of tbl_fnt_type,
// tbl_fnt_prm1, tbl_comp2_item and tbl_comp3_item. Each seeder replaces the whole
// content of its table in one transaction on gl_sqlite3db, so a failure leaves the
// old rows in place and never a half-written list.

void initTableFntType();
void initTableFntPrm1();
void initTableComP2Item();
void initTableComP3Item();
