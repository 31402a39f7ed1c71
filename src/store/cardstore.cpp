#include "store/cardstore.h"

#include "report/failure.h"
#include "store/databasetext.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>

namespace store {

QString selectionQuery(int cardCount)
{
    return QLatin1String(selectionQueryPrefix) + QString::number(cardCount);
}

QString connectionStringValue(const QString &connectionString, QStringView key)
{
    const QStringView trimmedKey = key.trimmed();
    for (QStringView pair : QStringView(connectionString).split(u';')) {
        const qsizetype equals = pair.indexOf(u'=');
        if (equals < 0)
            continue;
        if (pair.first(equals).trimmed().compare(trimmedKey, Qt::CaseInsensitive) == 0)
            return pair.sliced(equals + 1).trimmed().toString();
    }
    return {};
}

QString valueText(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = value.toDouble();
        // Negative zero would print "-0"; the sheet shows zero as "0".
        if (number == 0)
            return QStringLiteral("0");
        return QString::number(number, 'g', 15);
    }
    case QMetaType::QByteArray:
        // A blob has no text of its own; QVariant would decode it as UTF-8.
        return {};
    default:
        return value.canConvert<QString>() ? value.toString() : QString();
    }
}

// Connection

Connection::Connection()
{
    static std::atomic<int> connectionCount = 0;
    m_connectionName = QStringLiteral("numerella-card-store-%1").arg(++connectionCount);
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
}

Connection::~Connection()
{
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void Connection::setConnectionString(const QString &text)
{
    m_connectionString = text;
}

void Connection::open()
{
    if (isConnected())
        return;
    QSqlDatabase db = database();
    const QString dataSource = connectionStringValue(m_connectionString, u"Data Source");
    db.setDatabaseName(QDir::current().absoluteFilePath(dataSource));
    // Read-only: SQLite then neither creates a missing file nor writes a
    // journal, and it takes a shared lock only while a query reads, which is
    // what "Share Deny None" asks for.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open())
        throw Failure(databaseFailureText(db.lastError()));

    // SQLite opens any file lazily; reading the schema now makes a file that
    // is no database, or one locked by a writer, fail to connect.
    QString message;
    {
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("select count(*) from sqlite_master")) || !probe.next())
            message = databaseFailureText(probe.lastError());
    }
    if (!message.isNull()) {
        db.close();
        throw Failure(message);
    }
}

void Connection::close()
{
    database().close();
}

bool Connection::isConnected() const
{
    return database().isOpen();
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

// QueryDataSet

QueryDataSet::QueryDataSet(Connection *connection)
    : m_connection(connection)
{
}

void QueryDataSet::open()
{
    if (m_active)
        return;
    if (!m_connection->isConnected())
        m_connection->open();

    QSqlQuery query(m_connection->database());
    query.setForwardOnly(true);
    if (!query.exec(m_commandText))
        throw Failure(databaseFailureText(query.lastError()));

    const QSqlRecord record = query.record();
    QStringList fieldNames;
    fieldNames.reserve(record.count());
    for (int i = 0; i < record.count(); ++i)
        fieldNames.append(record.fieldName(i));

    QList<QList<QVariant>> rows;
    while (query.next()) {
        QList<QVariant> row;
        row.reserve(fieldNames.size());
        for (int i = 0; i < fieldNames.size(); ++i)
            row.append(query.value(i));
        rows.append(std::move(row));
    }
    // next() also returns false when a page cannot be read halfway through.
    if (query.lastError().isValid())
        throw Failure(databaseFailureText(query.lastError()));
    // Ends the statement so that SQLite drops its shared lock now rather
    // than when the query object goes.
    query.finish();

    m_fieldNames = std::move(fieldNames);
    m_rows = std::move(rows);
    m_active = true;
}

void QueryDataSet::close()
{
    m_active = false;
    m_fieldNames.clear();
    m_rows.clear();
}

int QueryDataSet::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        if (m_fieldNames.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant QueryDataSet::value(int row, int field) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const QList<QVariant> &values = m_rows.at(row);
    if (field < 0 || field >= values.size())
        return {};
    return values.at(field);
}

// DBPipeline

void DBPipeline::prepare()
{
    QueryDataSet *dataSet = m_source->dataSet();
    if (!dataSet->isActive())
        dataSet->open();
}

int DBPipeline::rowCount() const
{
    return m_source->dataSet()->rowCount();
}

int DBPipeline::fieldIndex(const QString &name) const
{
    return m_source->dataSet()->fieldIndex(name);
}

QString DBPipeline::text(int row, int field) const
{
    return valueText(m_source->dataSet()->value(row, field));
}

} // namespace store
