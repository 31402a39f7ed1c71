#pragma once

#include "report/pipeline.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

// The card store: a SQLite file opened read-only and shared, reached through
// a small data chain named as in the main window: connection, query data set,
// data source, report pipeline. Every failure is thrown as Failure carrying
// the data layer's own message.
namespace store {

// "Provider=...;Data Source=Data.prm;Mode=Share Deny None;"
inline constexpr char cardStoreConnectionString[] =
    "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=Data.prm;Mode=Share Deny None;";
inline constexpr char startQuery[] = "select * from Cartelle";
inline constexpr char selectionQueryPrefix[] = "SELECT * FROM CARTELLE WHERE ID >= 1 AND ID <=";

// "SELECT * FROM CARTELLE WHERE ID >= 1 AND ID <=" followed directly by the count.
QString selectionQuery(int cardCount);

// The value of one key of a "key=value;key=value;" connection string, the key
// matched without regard to case, key and value trimmed; empty if absent.
QString connectionStringValue(const QString &connectionString, QStringView key);

// A cell value as the sheet prints it: Null and empty text print nothing,
// numbers in general format with at most 15 significant digits, text
// unchanged, anything else (a blob) nothing.
QString valueText(const QVariant &value);

class Connection
{
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void setConnectionString(const QString &text);
    QString connectionString() const { return m_connectionString; }

    // Connects to the file the connection string names, resolved against the
    // working folder at this moment; never creates or locks it.
    void open();
    void close();
    bool isConnected() const;

    QSqlDatabase database() const;

private:
    QString m_connectionString;
    QString m_connectionName;   // unique QSqlDatabase connection name
};

// A query whose result is read whole when it opens: a client-side snapshot
// walkable from its first row any number of times.
class QueryDataSet
{
public:
    explicit QueryDataSet(Connection *connection);

    void setCommandText(const QString &sql) { m_commandText = sql; }
    QString commandText() const { return m_commandText; }

    // Connects first when the connection is closed. On failure the data set
    // stays closed and the message is the data layer's.
    void open();
    void close();
    bool isActive() const { return m_active; }

    int rowCount() const { return int(m_rows.size()); }
    QStringList fieldNames() const { return m_fieldNames; }
    int fieldIndex(const QString &name) const;   // without regard to case; -1 if absent
    QVariant value(int row, int field) const;

private:
    Connection *m_connection;
    QString m_commandText;
    bool m_active = false;
    QStringList m_fieldNames;
    QList<QList<QVariant>> m_rows;
};

class DataSource
{
public:
    explicit DataSource(QueryDataSet *dataSet) : m_dataSet(dataSet) {}
    QueryDataSet *dataSet() const { return m_dataSet; }

private:
    QueryDataSet *m_dataSet;
};

// Feeds a report from the data source's data set; opens the data set itself
// when a report starts on a closed one (see prepare()).
class DBPipeline : public report::DataPipeline
{
public:
    explicit DBPipeline(DataSource *source) : m_source(source) {}

    // Opens the data set if closed; call before a run starts.
    void prepare();

    int rowCount() const override;
    int fieldIndex(const QString &name) const override;
    QString text(int row, int field) const override;

private:
    DataSource *m_source;
};

} // namespace store
