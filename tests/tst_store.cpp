#include "report/failure.h"
#include "store/cardstore.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <optional>

using namespace store;

namespace {

const QString programConnectionString = QString::fromLatin1(cardStoreConnectionString);

// The program's data chain over the store in the working folder.
struct Chain
{
    Connection connection;
    QueryDataSet dataSet{&connection};
    DataSource source{&dataSet};
    DBPipeline pipeline{&source};

    Chain() { connection.setConnectionString(programConnectionString); }
};

// Runs statements on a store file through a read-write connection of its own,
// closed again before returning, as another program would.
bool runSql(const QString &path, const QStringList &statements)
{
    static int fixtureCount = 0;
    const QString name = QStringLiteral("fixture-%1").arg(++fixtureCount);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        for (const QString &statement : statements) {
            if (!ok)
                break;
            ok = query.exec(statement);
            if (!ok)
                qWarning() << statement << query.lastError().text();
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// Table Cartelle with untyped cells, so a test can store any kind of value,
// and one row per id with Campo1 = 10 * id and Campo27 = id; in one
// transaction, as a commit per row would sync the file thousands of times.
QStringList cardStore(const QList<int> &ids)
{
    QString create = QStringLiteral("CREATE TABLE Cartelle (ID INTEGER");
    for (int i = 1; i <= 27; ++i)
        create += QStringLiteral(", Campo%1").arg(i);
    create += u')';
    QStringList statements{QStringLiteral("BEGIN"), create};
    for (int id : ids)
        statements << QStringLiteral("INSERT INTO Cartelle (ID, Campo1, Campo27) VALUES (%1, %2, %1)").arg(id).arg(10 * id);
    statements << QStringLiteral("COMMIT");
    return statements;
}

QList<int> range(int first, int last)
{
    QList<int> ids;
    for (int id = first; id <= last; ++id)
        ids << id;
    return ids;
}

// The ID of every row of an open data set, sorted: the store promises no order.
QList<int> selectedIds(const QueryDataSet &dataSet)
{
    QList<int> ids;
    const int field = dataSet.fieldIndex(QStringLiteral("ID"));
    for (int row = 0; row < dataSet.rowCount(); ++row)
        ids << dataSet.value(row, field).toInt();
    std::sort(ids.begin(), ids.end());
    return ids;
}

// Opens the data set; the failure's message, if it failed.
std::optional<QString> openFailure(QueryDataSet &dataSet)
{
    try {
        dataSet.open();
    } catch (const Failure &failure) {
        return failure.message();
    }
    return std::nullopt;
}

enum class Fault { Missing, RandomBytes, TextFile, TruncatedHeader, TruncatedPages, EmptyFile, NoTable, NoIdColumn, Locked };

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void connectionStringValue_data();
    void connectionStringValue();
    void selectionQueryText_data();
    void selectionQueryText();
    void valueText_data();
    void valueText();
    void storedValueText_data();
    void storedValueText();

    void selection_data();
    void selection();
    void fieldsFoundWithoutCase_data();
    void fieldsFoundWithoutCase();
    void dataSetConnectsWhenNeeded();
    void pipelineOpensClosedDataSet();
    void snapshotHoldsNoLock();
    void sessionLeavesStoreUntouched();
    void badStore_data();
    void badStore();
    void failedSelectionDropsEarlierRows();
    void refusedQueryInItalian_data();
    void refusedQueryInItalian();
    void storeFoundInWorkingFolder();
    void connectionNamesAreOwn();

private:
    QString storePath() const { return m_folder->filePath(QStringLiteral("Data.prm")); }

    QString m_startFolder = QDir::currentPath();
    std::unique_ptr<QTemporaryDir> m_folder;
};

// Every test runs in a fresh working folder, where the program looks for Data.prm.
void TestStore::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    QVERIFY(QDir::setCurrent(m_folder->path()));
}

void TestStore::cleanup()
{
    QDir::setCurrent(m_startFolder);
    m_folder.reset();
}

void TestStore::connectionStringValue_data()
{
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("program's data source") << programConnectionString << "Data Source" << "Data.prm";
    QTest::newRow("program's mode") << programConnectionString << "Mode" << "Share Deny None";
    QTest::newRow("program's provider") << programConnectionString << "Provider" << "Microsoft.Jet.OLEDB.4.0";
    QTest::newRow("key in other case") << "provider=x;DATA SOURCE=Carte.prm;" << "data source" << "Carte.prm";
    QTest::newRow("blanks around key and value") << " Data Source = a b.prm ;Mode=Read" << "Data Source" << "a b.prm";
    QTest::newRow("no final semicolon") << "Mode=Read;Data Source=y.prm" << "Data Source" << "y.prm";
    QTest::newRow("equals sign in value") << "Data Source=a=b.prm;" << "Data Source" << "a=b.prm";
    QTest::newRow("longer key is another key") << "Data Sources=x;Data Source=y;" << "Data Source" << "y";
    QTest::newRow("key absent") << "Provider=x;Mode=Read;" << "Data Source" << "";
    QTest::newRow("segment without equals") << "Data Source;Mode=Read" << "Data Source" << "";
    QTest::newRow("empty string") << "" << "Data Source" << "";
}

void TestStore::connectionStringValue()
{
    QFETCH(QString, connectionString);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QCOMPARE(store::connectionStringValue(connectionString, key), value);
}

void TestStore::selectionQueryText_data()
{
    QTest::addColumn<int>("cardCount");
    QTest::addColumn<QString>("text");

    QTest::newRow("1") << 1 << "SELECT * FROM CARTELLE WHERE ID >= 1 AND ID <=1";
    QTest::newRow("25") << 25 << "SELECT * FROM CARTELLE WHERE ID >= 1 AND ID <=25";
    QTest::newRow("6000") << 6000 << "SELECT * FROM CARTELLE WHERE ID >= 1 AND ID <=6000";
}

void TestStore::selectionQueryText()
{
    QFETCH(int, cardCount);
    QFETCH(QString, text);
    QCOMPARE(selectionQuery(cardCount), text);
}

void TestStore::valueText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("invalid") << QVariant() << "";
    QTest::newRow("typed null") << QVariant(QMetaType::fromType<qlonglong>()) << "";
    QTest::newRow("null text") << QVariant(QString()) << "";
    QTest::newRow("empty text") << QVariant(QStringLiteral("")) << "";
    QTest::newRow("text with blanks") << QVariant(QStringLiteral(" 7 ")) << " 7 ";
    QTest::newRow("text with leading zero") << QVariant(QStringLiteral("07")) << "07";
    QTest::newRow("integer zero") << QVariant(qlonglong(0)) << "0";
    QTest::newRow("integer") << QVariant(qlonglong(7)) << "7";
    QTest::newRow("negative integer") << QVariant(-3) << "-3";
    QTest::newRow("no thousands separator") << QVariant(qlonglong(1234567)) << "1234567";
    QTest::newRow("real zero") << QVariant(0.0) << "0";
    QTest::newRow("real negative zero") << QVariant(-0.0) << "0";
    QTest::newRow("whole real") << QVariant(7.0) << "7";
    QTest::newRow("real with fraction") << QVariant(2.5) << "2.5";
    QTest::newRow("real rounded to 15 digits") << QVariant(0.1 + 0.2) << "0.3";
    QTest::newRow("15 significant digits") << QVariant(123456789.012345) << "123456789.012345";
    QTest::newRow("float") << QVariant(1.5f) << "1.5";
    QTest::newRow("blob") << QVariant(QByteArray("12")) << "";
}

void TestStore::valueText()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QCOMPARE(store::valueText(value), text);
}

// The same rule for values as SQLite hands them over.
void TestStore::storedValueText_data()
{
    QTest::addColumn<QString>("sqlValue");
    QTest::addColumn<QString>("text");

    QTest::newRow("null") << "NULL" << "";
    QTest::newRow("empty text") << "''" << "";
    QTest::newRow("text with blanks") << "' 7 '" << " 7 ";
    QTest::newRow("zero") << "0" << "0";
    QTest::newRow("integer") << "42" << "42";
    QTest::newRow("large integer") << "1234567" << "1234567";
    QTest::newRow("whole real") << "7.0" << "7";
    QTest::newRow("real") << "2.5" << "2.5";
    QTest::newRow("real sum") << "0.1 + 0.2" << "0.3";
    QTest::newRow("blob") << "x'3132'" << "";
}

void TestStore::storedValueText()
{
    QFETCH(QString, sqlValue);
    QFETCH(QString, text);
    QVERIFY(runSql(storePath(), cardStore({}) << QStringLiteral("INSERT INTO Cartelle (ID, Campo5) VALUES (1, %1)").arg(sqlValue)));

    Chain chain;
    auto &[connection, dataSet, source, pipeline] = chain;
    dataSet.setCommandText(selectionQuery(1));
    pipeline.prepare();

    QCOMPARE(pipeline.rowCount(), 1);
    QCOMPARE(pipeline.text(0, pipeline.fieldIndex(QStringLiteral("Campo5"))), text);
}

// The selection is a range of card numbers, not a number of rows.
void TestStore::selection_data()
{
    QTest::addColumn<QList<int>>("storedIds");
    QTest::addColumn<int>("cardCount");
    QTest::addColumn<QList<int>>("selectedIds");

    const QList<int> gappy{7, -1, 2, 0, 1, 10, 2, 4};
    QTest::newRow("count 1") << gappy << 1 << QList<int>{1};
    QTest::newRow("gaps and duplicates") << gappy << 5 << QList<int>{1, 2, 2, 4};
    QTest::newRow("count equal to highest id") << gappy << 10 << QList<int>{1, 2, 2, 4, 7, 10};
    QTest::newRow("fewer cards than count") << gappy << 6000 << QList<int>{1, 2, 2, 4, 7, 10};
    QTest::newRow("numbering above count") << range(50, 60) << 25 << QList<int>{};
    QTest::newRow("count 25 of 6000") << range(1, 6000) << 25 << range(1, 25);
    QTest::newRow("count 6000 of 6010") << range(1, 6010) << 6000 << range(1, 6000);
}

void TestStore::selection()
{
    QFETCH(QList<int>, storedIds);
    QFETCH(int, cardCount);
    QFETCH(QList<int>, selectedIds);
    QVERIFY(runSql(storePath(), cardStore(storedIds)));

    Chain chain;
    auto &[connection, dataSet, source, pipeline] = chain;
    dataSet.setCommandText(QString::fromLatin1(startQuery));
    dataSet.open();
    QCOMPARE(dataSet.rowCount(), storedIds.size());

    dataSet.close();
    dataSet.setCommandText(selectionQuery(cardCount));
    dataSet.open();
    QVERIFY(dataSet.isActive());
    QCOMPARE(::selectedIds(dataSet), selectedIds);

    // Every row carries its own card, not a copy of another's.
    const int campo1 = dataSet.fieldIndex(QStringLiteral("Campo1"));
    const int id = dataSet.fieldIndex(QStringLiteral("ID"));
    for (int row = 0; row < dataSet.rowCount(); ++row)
        QCOMPARE(dataSet.value(row, campo1).toInt(), 10 * dataSet.value(row, id).toInt());
}

void TestStore::fieldsFoundWithoutCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("ID") << "ID" << "3";
    QTest::newRow("id") << "id" << "3";
    QTest::newRow("Campo1 stored as CAMPO1") << "Campo1" << "30";
    QTest::newRow("CAMPO2 stored as campo2") << "CAMPO2" << "31";
    QTest::newRow("Campo27 stored as CaMpO27") << "Campo27" << "32";
    QTest::newRow("absent field") << "Campo3" << "";
}

void TestStore::fieldsFoundWithoutCase()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QVERIFY(runSql(storePath(), {QStringLiteral("CREATE TABLE cartelle (Note TEXT, id INTEGER, CAMPO1, campo2, CaMpO27)"),
                                 QStringLiteral("INSERT INTO cartelle VALUES ('extra', 3, 30, 31, 32)")}));

    Chain chain;
    auto &[connection, dataSet, source, pipeline] = chain;
    dataSet.setCommandText(selectionQuery(25));
    pipeline.prepare();

    const int field = pipeline.fieldIndex(name);
    QCOMPARE(field == -1, text.isEmpty());
    QCOMPARE(pipeline.text(0, field), text);
}

void TestStore::dataSetConnectsWhenNeeded()
{
    QVERIFY(runSql(storePath(), cardStore({1, 2})));
    Chain chain;
    auto &[connection, dataSet, source, pipeline] = chain;
    dataSet.setCommandText(selectionQuery(25));
    QVERIFY(!connection.isConnected());

    dataSet.open();
    QVERIFY(connection.isConnected());
    QCOMPARE(dataSet.rowCount(), 2);

    // Closing the data set leaves the connection as it is.
    dataSet.close();
    QVERIFY(connection.isConnected());
    QVERIFY(!dataSet.isActive());
    QCOMPARE(dataSet.rowCount(), 0);

    connection.close();
    QVERIFY(!connection.isConnected());
    dataSet.open();
    QVERIFY(connection.isConnected());
    QCOMPARE(dataSet.rowCount(), 2);
}

void TestStore::pipelineOpensClosedDataSet()
{
    QVERIFY(runSql(storePath(), cardStore({1, 2})));
    Chain chain;
    auto &[connection, dataSet, source, pipeline] = chain;
    dataSet.setCommandText(selectionQuery(25));
    QCOMPARE(pipeline.rowCount(), 0);

    pipeline.prepare();
    QVERIFY(dataSet.isActive());
    QCOMPARE(pipeline.rowCount(), 2);

    // An open data set is walked as it is: a second run must print the same
    // cards, not a fresh read of the store.
    QVERIFY(runSql(storePath(), {QStringLiteral("INSERT INTO Cartelle (ID) VALUES (3)")}));
    pipeline.prepare();
    QCOMPARE(pipeline.rowCount(), 2);
    QCOMPARE(pipeline.text(1, pipeline.fieldIndex(QStringLiteral("Campo27"))), QStringLiteral("2"));
    QCOMPARE(pipeline.text(0, -1), QString());
}

// Others may write the store while a selection is open: the selection holds
// no lock and keeps showing what it read.
void TestStore::snapshotHoldsNoLock()
{
    QVERIFY(runSql(storePath(), cardStore({1, 2})));
    Chain chain;
    auto &[connection, dataSet, source, pipeline] = chain;
    dataSet.setCommandText(selectionQuery(25));
    dataSet.open();

    // An exclusive transaction fails while any reader holds the file.
    QVERIFY(runSql(storePath(), {QStringLiteral("BEGIN EXCLUSIVE"),
                                 QStringLiteral("UPDATE Cartelle SET Campo1 = 99 WHERE ID = 1"),
                                 QStringLiteral("INSERT INTO Cartelle (ID, Campo1) VALUES (3, 30)"),
                                 QStringLiteral("COMMIT")}));

    const int campo1 = dataSet.fieldIndex(QStringLiteral("Campo1"));
    QCOMPARE(selectedIds(dataSet), (QList<int>{1, 2}));
    QCOMPARE(dataSet.value(0, campo1).toInt() + dataSet.value(1, campo1).toInt(), 10 + 20);

    dataSet.close();
    dataSet.open();
    QCOMPARE(selectedIds(dataSet), (QList<int>{1, 2, 3}));
    int sum = 0;
    for (int row = 0; row < dataSet.rowCount(); ++row)
        sum += dataSet.value(row, campo1).toInt();
    QCOMPARE(sum, 99 + 20 + 30);
}

void TestStore::sessionLeavesStoreUntouched()
{
    QVERIFY(runSql(storePath(), cardStore(range(1, 40))));
    const QByteArray before = fileBytes(storePath());
    const QDateTime modified = QFileInfo(storePath()).lastModified();
    const QStringList entries = folderEntries(m_folder->path());

    {
        Chain chain;
        auto &[connection, dataSet, source, pipeline] = chain;
        connection.open();
        dataSet.setCommandText(QString::fromLatin1(startQuery));
        dataSet.open();
        for (int count : {1, 25, 6000}) {
            dataSet.close();
            dataSet.setCommandText(selectionQuery(count));
            pipeline.prepare();
            QCOMPARE(pipeline.rowCount(), std::min(count, 40));
        }
        dataSet.close();
        dataSet.setCommandText(QStringLiteral("DELETE FROM Cartelle"));
        QVERIFY(openFailure(dataSet));
        dataSet.close();
        connection.close();
        connection.setConnectionString(QString());
    }

    QCOMPARE(folderEntries(m_folder->path()), entries);
    QCOMPARE(QFileInfo(storePath()).lastModified(), modified);
    QCOMPARE(fileBytes(storePath()), before);
}

void TestStore::badStore_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("connected");   // after the failure
    QTest::addColumn<QString>("message");   // part of the data layer's text, in Italian

    const QString start = QString::fromLatin1(startQuery);
    const QString selection = selectionQuery(25);
    QTest::newRow("missing file") << Fault::Missing << start << false << "impossibile aprire il file del database";
    QTest::newRow("missing file, selection") << Fault::Missing << selection << false << "impossibile aprire il file del database";
    QTest::newRow("random bytes") << Fault::RandomBytes << start << false << "il file non è un database";
    QTest::newRow("text file") << Fault::TextFile << start << false << "il file non è un database";
    QTest::newRow("truncated in header") << Fault::TruncatedHeader << start << false << "il file del database è danneggiato";
    QTest::newRow("truncated after first pages") << Fault::TruncatedPages << selection << false << "il file del database è danneggiato";
    QTest::newRow("empty file") << Fault::EmptyFile << start << true << "la tabella Cartelle non esiste";
    QTest::newRow("no table Cartelle") << Fault::NoTable << start << true << "la tabella Cartelle non esiste";
    QTest::newRow("no table Cartelle, selection") << Fault::NoTable << selection << true << "la tabella Cartelle non esiste";
    QTest::newRow("no column ID") << Fault::NoIdColumn << selection << true << "la colonna ID non esiste";
    QTest::newRow("locked by a writer") << Fault::Locked << start << false << "il database è bloccato da un altro programma";
}

// A bad store gives the data layer's own message, leaves the chain in a
// known state with nothing written beside the store, and the next open
// tries again from the start.
void TestStore::badStore()
{
    QFETCH(Fault, fault);
    QFETCH(QString, query);
    QFETCH(bool, connected);
    QFETCH(QString, message);

    const QString goodPath = m_folder->filePath(QStringLiteral("good.db"));
    QVERIFY(runSql(goodPath, cardStore(range(1, 200))));
    const QByteArray good = fileBytes(goodPath);
    QVERIFY(QFile::remove(goodPath));

    const QString lockerName = QStringLiteral("locker");
    switch (fault) {
    case Fault::Missing:
        break;
    case Fault::RandomBytes: {
        QByteArray bytes(4096, Qt::Uninitialized);
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 151 + 7) % 256);
        QVERIFY(writeFile(storePath(), bytes));
        break;
    }
    case Fault::TextFile:
        QVERIFY(writeFile(storePath(), "ID;Campo1\n1;5\n"));
        break;
    case Fault::TruncatedHeader:
        QVERIFY(writeFile(storePath(), good.left(60)));
        break;
    case Fault::TruncatedPages:
        QVERIFY(writeFile(storePath(), good.left(good.size() / 2)));
        break;
    case Fault::EmptyFile:
        QVERIFY(writeFile(storePath(), QByteArray()));
        break;
    case Fault::NoTable:
        QVERIFY(runSql(storePath(), {QStringLiteral("CREATE TABLE Cartella (ID INTEGER)"), QStringLiteral("INSERT INTO Cartella VALUES (1)")}));
        break;
    case Fault::NoIdColumn:
        QVERIFY(runSql(storePath(), {QStringLiteral("CREATE TABLE Cartelle (Numero INTEGER, Campo1)"), QStringLiteral("INSERT INTO Cartelle VALUES (1, 5)")}));
        break;
    case Fault::Locked: {
        QVERIFY(writeFile(storePath(), good));
        QSqlDatabase locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), lockerName);
        locker.setDatabaseName(storePath());
        QVERIFY(locker.open());
        QVERIFY(QSqlQuery(locker).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        break;
    }
    }
    const QStringList entries = folderEntries(m_folder->path());

    Chain chain;
    auto &[connection, dataSet, source, pipeline] = chain;
    dataSet.setCommandText(query);

    for (int attempt = 1; attempt <= 2; ++attempt) {
        const std::optional<QString> failure = openFailure(dataSet);
        QVERIFY(failure);
        QVERIFY2(failure->contains(message, Qt::CaseInsensitive), qPrintable(*failure));
        QVERIFY(!dataSet.isActive());
        QCOMPARE(dataSet.rowCount(), 0);
        QCOMPARE(connection.isConnected(), connected);
        QCOMPARE(folderEntries(m_folder->path()), entries);
    }

    // Fixed as another program would: a store it cannot read is replaced
    // whole; one it can read is changed in place, under the open connection.
    switch (fault) {
    case Fault::Missing:
    case Fault::RandomBytes:
    case Fault::TextFile:
    case Fault::TruncatedHeader:
    case Fault::TruncatedPages:
        QVERIFY(writeFile(storePath(), good));
        break;
    case Fault::EmptyFile:
    case Fault::NoTable:
    case Fault::NoIdColumn:
        QVERIFY(runSql(storePath(), QStringList{QStringLiteral("DROP TABLE IF EXISTS Cartelle")} + cardStore(range(1, 200))));
        break;
    case Fault::Locked:
        QSqlQuery(QSqlDatabase::database(lockerName)).exec(QStringLiteral("ROLLBACK"));
        QSqlDatabase::database(lockerName).close();
        QSqlDatabase::removeDatabase(lockerName);
        break;
    }

    const std::optional<QString> failure = openFailure(dataSet);
    QVERIFY2(!failure, qPrintable(failure.value_or(QString())));
    QVERIFY(dataSet.isActive());
    QVERIFY(connection.isConnected());
    QCOMPARE(dataSet.rowCount(), query == selectionQuery(25) ? 25 : 200);
}

void TestStore::failedSelectionDropsEarlierRows()
{
    QVERIFY(runSql(storePath(), {QStringLiteral("CREATE TABLE Cartelle (Numero INTEGER, Campo1)"), QStringLiteral("INSERT INTO Cartelle VALUES (1, 5)")}));
    Chain chain;
    auto &[connection, dataSet, source, pipeline] = chain;
    dataSet.setCommandText(QString::fromLatin1(startQuery));
    dataSet.open();
    QCOMPARE(dataSet.rowCount(), 1);

    dataSet.close();
    dataSet.setCommandText(selectionQuery(25));
    const std::optional<QString> failure = openFailure(dataSet);
    QVERIFY(failure);
    QVERIFY2(failure->contains(QStringLiteral("la colonna ID non esiste")), qPrintable(*failure));
    QVERIFY(!dataSet.isActive());
    QCOMPARE(dataSet.rowCount(), 0);
    QCOMPARE(dataSet.fieldNames(), QStringList());
    QVERIFY(connection.isConnected());
}

void TestStore::refusedQueryInItalian_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("message");

    QTest::newRow("syntax error") << "SELEC * FROM Cartelle" << "errore di sintassi vicino a \"SELEC\"";
    QTest::newRow("incomplete") << "SELECT * FROM" << "istruzione SQL incompleta";
    QTest::newRow("unknown column") << "SELECT Numero FROM Cartelle" << "la colonna Numero non esiste";
}

// SQLite words its errors in English only; the user reads them in Italian,
// with the name SQLite quotes kept, after the driver's own text.
void TestStore::refusedQueryInItalian()
{
    QFETCH(QString, query);
    QFETCH(QString, message);

    QVERIFY(runSql(storePath(), cardStore({1, 2})));
    Chain chain;
    auto &[connection, dataSet, source, pipeline] = chain;
    dataSet.setCommandText(query);
    const std::optional<QString> failure = openFailure(dataSet);
    QVERIFY(failure);
    QVERIFY2(failure->endsWith(QStringLiteral(": ") + message), qPrintable(*failure));
}

// Data.prm is looked for in the working folder of the moment of connecting,
// not where the connection string was set and not beside the program.
void TestStore::storeFoundInWorkingFolder()
{
    QTemporaryDir other;
    QVERIFY(other.isValid());
    QVERIFY(runSql(storePath(), cardStore({1, 2})));
    QVERIFY(runSql(other.filePath(QStringLiteral("Data.prm")), cardStore({1, 2, 3})));

    Chain chain;
    auto &[connection, dataSet, source, pipeline] = chain;
    dataSet.setCommandText(selectionQuery(25));

    QVERIFY(QDir::setCurrent(other.path()));
    dataSet.open();
    QCOMPARE(dataSet.rowCount(), 3);

    dataSet.close();
    connection.close();
    QVERIFY(QDir::setCurrent(m_folder->path()));
    dataSet.open();
    QCOMPARE(dataSet.rowCount(), 2);

    // An open connection stays with the file it found.
    dataSet.close();
    QVERIFY(QDir::setCurrent(other.path()));
    dataSet.open();
    QCOMPARE(dataSet.rowCount(), 2);
}

void TestStore::connectionNamesAreOwn()
{
    const QStringList before = QSqlDatabase::connectionNames();
    QString firstName;
    {
        Connection first;
        Connection second;
        const QStringList during = QSqlDatabase::connectionNames();
        QCOMPARE(during.size(), before.size() + 2);
        firstName = first.database().connectionName();
        QVERIFY(firstName != second.database().connectionName());
        QVERIFY(during.contains(firstName));
        QVERIFY(during.contains(second.database().connectionName()));
    }
    QCOMPARE(QSqlDatabase::connectionNames(), before);

    Connection third;
    QVERIFY(third.database().connectionName() != firstName);
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
