#pragma once

#include <QString>

class QSqlError;

namespace store {

// The message of a failed database call as the user reads it. SQLite writes
// its own texts in English only; the known ones are given in Italian, with
// any name they quote (a table, a column, a word of SQL) kept as it is.
// Qt's driver text comes first, in the language of the loaded Qt catalogue.
QString databaseFailureText(const QSqlError &error);

// SQLite's text alone, in Italian when it is one of SQLite's own messages;
// any other text comes back unchanged.
QString italianDatabaseText(const QString &sqliteText);

} // namespace store
