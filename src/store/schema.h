#pragma once

// The 34 tables of a project database, in creation order, with their exact
// create statements.

#include <QString>
#include <QVector>

struct TableSchema
{
    const char *name;
    const char *createSql;
};

// All tables in creation order.
const QVector<TableSchema> &projectTables();

// The create statement of one table; empty when the name is not a project table.
QString createStatement(const QString &table);
