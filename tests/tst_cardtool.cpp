#include "report/failure.h"
#include "store/cardgenerator.h"
#include "store/cardstore.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <numeric>

using namespace store;

namespace {

// Ways to spread a card's numbers over three rows of five, by trying every
// choice of rows for every column.
qint64 arrangementsByTrial(const ColumnCounts &counts)
{
    qint64 found = 0;
    for (int choice = 0; choice < 19683; ++choice) {   // 3^9: one of three choices per column
        std::array<int, cardRowCount> rowTotals{};
        int rest = choice;
        for (int c = 0; c < cardColumnCount; ++c, rest /= 3) {
            // A column of one fills row rest % 3, a column of two all but that row.
            for (int row = 0; row < cardRowCount; ++row) {
                if (counts[c] == 3 || (counts[c] == 1) == (row == rest % 3))
                    ++rowTotals[row];
            }
        }
        if (rowTotals == std::array<int, cardRowCount>{5, 5, 5})
            ++found;
    }
    // A column of three has one choice, not three.
    for (int c = 0; c < cardColumnCount; ++c) {
        if (counts[c] == 3)
            found /= 3;
    }
    return found;
}

int fullColumns(const Card &card)
{
    int full = 0;
    for (int c = 0; c < cardColumnCount; ++c) {
        int numbers = 0;
        for (int row = 0; row < cardRowCount; ++row)
            numbers += card.cells[row * cardColumnCount + c] != 0;
        full += numbers == 3;
    }
    return full;
}

int decadeOf(int number)
{
    return number == 90 ? 8 : number / 10;
}

// Cards by ID from a store, with every ID checked to follow the one before.
QList<Card> readStore(const QString &path)
{
    static int readerCount = 0;
    const QString name = QStringLiteral("reader-%1").arg(++readerCount);
    QList<Card> cards;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(QStringLiteral("SELECT * FROM Cartelle ORDER BY ID"), db);
            while (query.next()) {
                if (query.value(QStringLiteral("ID")).toInt() != cards.size() + 1)
                    break;
                Card card;
                for (int i = 0; i < cardCellCount; ++i) {
                    const QVariant value = query.value(QStringLiteral("Campo%1").arg(i + 1));
                    card.cells[i] = value.isNull() ? 0 : quint8(value.toInt());
                }
                cards.append(card);
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return cards;
}

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QString &folder, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(NUMERELLA_TOOL), arguments);
    ToolRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class TestCardTool : public QObject
{
    Q_OBJECT

private slots:
    void rowArrangementCount_data();
    void rowArrangementCount();
    void randomIsReproducibleAndBounded();
    void cardsFollowTheRules_data();
    void cardsFollowTheRules();
    void cardsDependOnSeedOnly();
    void cardsAreUnique();
    void shapeMixIsFair();

    void storeReadsBack();
    void storeKeepsExistingFile();
    void failedWriteLeavesNothing();

    void toolRejectsBadArguments_data();
    void toolRejectsBadArguments();
    void toolWritesStore();
    void toolRandomSeedRemakesStore();
    void toolKeepsExistingFile();
    void toolHelp();
    void helpExamplesWork();
};

void TestCardTool::rowArrangementCount_data()
{
    QTest::addColumn<ColumnCounts>("counts");
    QTest::addColumn<qint64>("arrangements");

    QTest::newRow("no column of three") << ColumnCounts{2, 2, 2, 2, 2, 2, 1, 1, 1} << qint64(1710);
    QTest::newRow("one column of three") << ColumnCounts{3, 2, 2, 2, 2, 1, 1, 1, 1} << qint64(639);
    QTest::newRow("two columns of three") << ColumnCounts{3, 3, 2, 2, 1, 1, 1, 1, 1} << qint64(240);
    QTest::newRow("three columns of three") << ColumnCounts{3, 3, 3, 1, 1, 1, 1, 1, 1} << qint64(90);
    QTest::newRow("one of three, columns shuffled") << ColumnCounts{1, 2, 1, 2, 3, 1, 2, 1, 2} << qint64(639);
    QTest::newRow("sixteen numbers") << ColumnCounts{3, 2, 2, 2, 2, 2, 1, 1, 1} << qint64(0);
    QTest::newRow("four columns of three") << ColumnCounts{3, 3, 3, 3, 1, 1, 1, 1, 1} << qint64(0);
}

void TestCardTool::rowArrangementCount()
{
    QFETCH(ColumnCounts, counts);
    QFETCH(qint64, arrangements);
    QCOMPARE(arrangementsByTrial(counts), arrangements);
    QCOMPARE(store::rowArrangementCount(counts), arrangements);
}

void TestCardTool::randomIsReproducibleAndBounded()
{
    CardRandom first(12345);
    CardRandom second(12345);
    CardRandom other(12346);
    int differences = 0;
    for (int i = 0; i < 100; ++i) {
        const quint64 value = first.next();
        QCOMPARE(second.next(), value);
        differences += other.next() != value;
    }
    QCOMPARE(differences, 100);

    const quint64 bounds[] = {1, 2, 3, 90, (quint64(1) << 63) + 1, std::numeric_limits<quint64>::max()};
    for (quint64 bound : bounds) {
        for (int i = 0; i < 1000; ++i)
            QVERIFY(first.bounded(bound) < bound);
    }

    // Three outcomes over 30000 draws: each near 10000 (4 standard deviations is 326).
    std::array<int, 3> hits{};
    for (int i = 0; i < 30000; ++i)
        ++hits[first.bounded(3)];
    for (int count : hits)
        QVERIFY2(count > 9600 && count < 10400, qPrintable(QString::number(count)));
    // Just above half the range: a modulo draw would give 0 twice as often as 1.
    int low = 0;
    for (int i = 0; i < 20000; ++i)
        low += first.bounded((quint64(1) << 63) + (quint64(1) << 62)) < (quint64(1) << 62);
    QVERIFY2(low > 6200 && low < 7100, qPrintable(QString::number(low)));
}

void TestCardTool::cardsFollowTheRules_data()
{
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<int>("count");

    QTest::newRow("one card") << quint64(0) << 1;
    QTest::newRow("one series") << quint64(1) << 6;
    QTest::newRow("two series and one card") << quint64(42) << 13;
    QTest::newRow("largest seed") << std::numeric_limits<quint64>::max() << 600;
    QTest::newRow("6000 cards") << quint64(20240601) << 6000;
}

void TestCardTool::cardsFollowTheRules()
{
    QFETCH(quint64, seed);
    QFETCH(int, count);
    const QList<Card> cards = generateCards(count, seed);
    QCOMPARE(cards.size(), count);

    for (int k = 0; k < cards.size(); ++k) {
        const Card &card = cards.at(k);
        const QByteArray where = "card " + QByteArray::number(k + 1);
        int numbers = 0;
        for (int row = 0; row < cardRowCount; ++row) {
            int inRow = 0;
            for (int c = 0; c < cardColumnCount; ++c)
                inRow += card.cells[row * cardColumnCount + c] != 0;
            QVERIFY2(inRow == 5, where.constData());
            numbers += inRow;
        }
        QVERIFY2(numbers == 15, where.constData());
        for (int c = 0; c < cardColumnCount; ++c) {
            int previous = 0;
            for (int row = 0; row < cardRowCount; ++row) {
                const int number = card.cells[row * cardColumnCount + c];
                if (number == 0)
                    continue;
                QVERIFY2(number >= 1 && number <= 90 && decadeOf(number) == c, where.constData());
                QVERIFY2(number > previous, where.constData());
                previous = number;
            }
            QVERIFY2(previous != 0, where.constData());
        }
    }

    // A full series holds every number once, a last partial one none twice.
    for (int first = 0; first < cards.size(); first += seriesCardCount) {
        const int last = std::min<int>(first + seriesCardCount, cards.size());
        std::array<int, 91> times{};
        for (int k = first; k < last; ++k) {
            for (quint8 number : cards.at(k).cells)
                ++times[number];
        }
        const bool full = last - first == seriesCardCount;
        for (int number = 1; number <= 90; ++number) {
            QVERIFY2(full ? times[number] == 1 : times[number] <= 1,
                     qPrintable(QStringLiteral("number %1 in cards %2-%3").arg(number).arg(first + 1).arg(last)));
        }
    }
}

void TestCardTool::cardsDependOnSeedOnly()
{
    const QList<Card> cards = generateCards(600, 7);
    QCOMPARE(generateCards(600, 7), cards);
    QVERIFY(generateCards(600, 8) != cards);
    // A last partial series is the start of the series a longer store holds.
    QCOMPARE(generateCards(13, 7), cards.first(13));
    QCOMPARE(generateCards(1, 7), cards.first(1));
}

void TestCardTool::cardsAreUnique()
{
    const QList<Card> cards = generateCards(maxGeneratedCardCount, 5);
    QCOMPARE(cards.size(), maxGeneratedCardCount);
    const QSet<Card> distinct(cards.begin(), cards.end());
    QCOMPARE(distinct.size(), cards.size());
}

// Among all valid series drawn alike, 38.8% of cards have no column of
// three numbers, 50.4% one, 10.5% two and 0.2% three; a walk weighting
// count matrices wrongly shifts these. A walk too short between series
// shows instead as series resembling the one before.
void TestCardTool::shapeMixIsFair()
{
    const int count = 60000;
    const QList<Card> cards = generateCards(count, 2718281828);
    std::array<int, 4> shapes{};
    QList<double> seriesFull(count / seriesCardCount, 0.0);
    for (int k = 0; k < count; ++k) {
        const int full = fullColumns(cards.at(k));
        ++shapes[full];
        seriesFull[k / seriesCardCount] += full;
    }

    const std::array<double, 4> expectedPercent{38.8, 50.4, 10.5, 0.2};
    for (int full = 0; full < 4; ++full) {
        const double percent = 100.0 * shapes[full] / count;
        QVERIFY2(shapes[full] > 0, qPrintable(QString::number(full)));
        QVERIFY2(qAbs(percent - expectedPercent[full]) < 1.0,
                 qPrintable(QStringLiteral("%1 columns of three: %2%").arg(full).arg(percent)));
    }

    // Lag-one correlation of columns of three per series: 0 within about
    // 0.01 when series are independent; 0.45 after 50 steps, 0.93 after 5.
    const double mean = std::accumulate(seriesFull.begin(), seriesFull.end(), 0.0) / seriesFull.size();
    double variance = 0;
    double covariance = 0;
    for (int i = 0; i < seriesFull.size(); ++i) {
        variance += (seriesFull[i] - mean) * (seriesFull[i] - mean);
        if (i > 0)
            covariance += (seriesFull[i] - mean) * (seriesFull[i - 1] - mean);
    }
    QVERIFY2(qAbs(covariance / variance) < 0.05, qPrintable(QString::number(covariance / variance)));
}

void TestCardTool::storeReadsBack()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Data.prm"));
    const QList<Card> cards = generateCards(13, 5);
    QVERIFY(writeCardStore(path, cards, false));
    QCOMPARE(folderEntries(folder.path()), QStringList{QStringLiteral("Data.prm")});
    QVERIFY(QFileInfo(path).permissions().testFlag(QFileDevice::ReadOther));

    // Read as the program reads it: the selection through the card store.
    Connection connection;
    connection.setConnectionString(QStringLiteral("Data Source=%1;Mode=Share Deny None;").arg(path));
    QueryDataSet dataSet(&connection);
    dataSet.setCommandText(selectionQuery(6000));
    dataSet.open();
    QCOMPARE(dataSet.rowCount(), cards.size());
    QCOMPARE(dataSet.fieldNames().size(), 1 + cardCellCount);
    const int id = dataSet.fieldIndex(QStringLiteral("ID"));
    for (int row = 0; row < dataSet.rowCount(); ++row) {
        const Card &card = cards.at(dataSet.value(row, id).toInt() - 1);
        for (int i = 0; i < cardCellCount; ++i) {
            const QVariant value = dataSet.value(row, dataSet.fieldIndex(QStringLiteral("Campo%1").arg(i + 1)));
            QCOMPARE(valueText(value), card.cells[i] ? QString::number(card.cells[i]) : QString());
            QCOMPARE(value.isNull(), card.cells[i] == 0);
        }
    }
}

void TestCardTool::storeKeepsExistingFile()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Data.prm"));
    QVERIFY(writeFile(path, "not to be lost"));
    const QList<Card> cards = generateCards(6, 9);

    QVERIFY(!writeCardStore(path, cards, false));
    QCOMPARE(fileBytes(path), QByteArray("not to be lost"));
    QCOMPARE(folderEntries(folder.path()), QStringList{QStringLiteral("Data.prm")});

    QVERIFY(writeCardStore(path, cards, true));
    QCOMPARE(readStore(path), cards);
    QCOMPARE(folderEntries(folder.path()), QStringList{QStringLiteral("Data.prm")});
}

void TestCardTool::failedWriteLeavesNothing()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QList<Card> cards = generateCards(6, 9);

    QVERIFY_THROWS_EXCEPTION(Failure, (void)writeCardStore(folder.filePath(QStringLiteral("absent/Data.prm")), cards, false));
    QCOMPARE(folderEntries(folder.path()), QStringList());

    // Replacing a folder fails only at the final rename, after the cards
    // were written.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Data.prm")));
    QVERIFY_THROWS_EXCEPTION(Failure, (void)writeCardStore(folder.filePath(QStringLiteral("Data.prm")), cards, true));
    QCOMPARE(folderEntries(folder.path()), QStringList{QStringLiteral("Data.prm")});
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("Data.prm"))).isDir());
}

void TestCardTool::toolRejectsBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("no arguments") << QStringList{} << "uso: numerella-tool COMANDO";
    QTest::newRow("unknown command") << QStringList{"stampa"} << "comando sconosciuto: stampa";
    QTest::newRow("store alone") << QStringList{"store"} << "manca il numero di cartelle";
    QTest::newRow("no file") << QStringList{"store", "--cards", "6"} << "manca il file";
    QTest::newRow("cards without value") << QStringList{"store", "Data.prm", "--cards"} << "manca il valore di --cards";
    QTest::newRow("cards not a number") << QStringList{"store", "--cards", "sei", "Data.prm"} << "non valido: sei";
    QTest::newRow("cards zero") << QStringList{"store", "--cards", "0", "Data.prm"} << "non valido: 0";
    QTest::newRow("cards negative") << QStringList{"store", "--cards", "-6", "Data.prm"} << "non valido: -6";
    QTest::newRow("cards with sign") << QStringList{"store", "--cards", "+6", "Data.prm"} << "non valido: +6";
    QTest::newRow("cards above maximum") << QStringList{"store", "--cards", "100001", "Data.prm"} << "non valido: 100001";
    QTest::newRow("cards beyond int") << QStringList{"store", "--cards", "4294967302", "Data.prm"} << "non valido: 4294967302";
    QTest::newRow("seed not a number") << QStringList{"store", "--cards", "6", "--seed", "x1", "Data.prm"} << "seme non valido: x1";
    QTest::newRow("seed negative") << QStringList{"store", "--cards", "6", "--seed", "-1", "Data.prm"} << "seme non valido: -1";
    QTest::newRow("seed beyond 64 bits") << QStringList{"store", "--cards", "6", "--seed", "18446744073709551616", "Data.prm"}
                                         << "seme non valido: 18446744073709551616";
    QTest::newRow("unknown option") << QStringList{"store", "--carte", "6", "Data.prm"} << "opzione sconosciuta: --carte";
    QTest::newRow("two files") << QStringList{"store", "--cards", "6", "A.prm", "B.prm"} << "argomento di troppo: B.prm";
    QTest::newRow("folder for file") << QStringList{"store", "--cards", "6", "."} << ". è una cartella";
}

void TestCardTool::toolRejectsBadArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());

    const ToolRun run = runTool(folder.path(), arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("uso: numerella-tool")), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QCOMPARE(folderEntries(folder.path()), QStringList());
}

void TestCardTool::toolWritesStore()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const ToolRun run = runTool(folder.path(), {"store", "--cards", "13", "--seed", "99", "Data.prm"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(QStringLiteral("seme 99")), qPrintable(run.out));
    QCOMPARE(readStore(folder.filePath(QStringLiteral("Data.prm"))), generateCards(13, 99));
    QCOMPARE(folderEntries(folder.path()), QStringList{QStringLiteral("Data.prm")});
}

void TestCardTool::toolRandomSeedRemakesStore()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const ToolRun first = runTool(folder.path(), {"store", "--cards", "12", "Data.prm"});
    QCOMPARE(first.exitCode, 0);
    const QRegularExpressionMatch seed = QRegularExpression(QStringLiteral("seme (\\d+)")).match(first.out);
    QVERIFY2(seed.hasMatch(), qPrintable(first.out));

    const ToolRun again = runTool(folder.path(), {"store", "--seed", seed.captured(1), "--cards", "12", "Copia.prm"});
    QCOMPARE(again.exitCode, 0);
    const QList<Card> cards = readStore(folder.filePath(QStringLiteral("Data.prm")));
    QCOMPARE(cards.size(), 12);
    QCOMPARE(readStore(folder.filePath(QStringLiteral("Copia.prm"))), cards);
}

void TestCardTool::toolKeepsExistingFile()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Data.prm"));
    QVERIFY(writeFile(path, "not to be lost"));

    const ToolRun refused = runTool(folder.path(), {"store", "--cards", "6", "--seed", "1", "Data.prm"});
    QVERIFY(refused.exitCode != 0 && refused.exitCode != -1);
    QVERIFY2(refused.err.contains(QStringLiteral("il file esiste già: Data.prm")), qPrintable(refused.err));
    QCOMPARE(fileBytes(path), QByteArray("not to be lost"));
    QCOMPARE(folderEntries(folder.path()), QStringList{QStringLiteral("Data.prm")});

    const ToolRun forced = runTool(folder.path(), {"store", "--force", "--cards", "6", "--seed", "1", "Data.prm"});
    QCOMPARE(forced.exitCode, 0);
    QCOMPARE(readStore(path), generateCards(6, 1));
    QCOMPARE(folderEntries(folder.path()), QStringList{QStringLiteral("Data.prm")});
}

void TestCardTool::toolHelp()
{
    const ToolRun general = runTool(QDir::tempPath(), {"--help"});
    QCOMPARE(general.exitCode, 0);
    QVERIFY2(general.out.contains(QStringLiteral("\n  store ")), qPrintable(general.out));

    const ToolRun store = runTool(QDir::tempPath(), {"store", "--help"});
    QCOMPARE(store.exitCode, 0);
    QVERIFY2(store.out.startsWith(QStringLiteral("uso: numerella-tool store --cards N [--seed S] [--force] FILE\n")),
             qPrintable(store.out));
}

// Every example the helps show runs as written, each help's examples in
// order in a folder of their own; the cards examples find a store there.
void TestCardTool::helpExamplesWork()
{
    const QString prefix = QStringLiteral("  numerella-tool ");
    int examples = 0;
    for (const QStringList &help : {QStringList{"--help"}, QStringList{"store", "--help"},
                                    QStringList{"cards", "--help"}, QStringList{"board", "--help"}}) {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        if (help.first() == u"cards")
            QCOMPARE(runTool(folder.path(), {"store", "--cards", "600", "--seed", "1", "Data.prm"}).exitCode, 0);
        const ToolRun shown = runTool(folder.path(), help);
        QCOMPARE(shown.exitCode, 0);
        QVERIFY2(shown.out.contains(QStringLiteral("\nesemp")), qPrintable(shown.out));
        for (const QString &line : shown.out.split(u'\n')) {
            if (!line.startsWith(prefix))
                continue;
            const QStringList arguments = line.sliced(prefix.size()).split(u' ', Qt::SkipEmptyParts);
            const ToolRun run = runTool(folder.path(), arguments);
            QVERIFY2(run.exitCode == 0, qPrintable(line + u'\n' + run.err));
            const qsizetype pdf = arguments.indexOf(QStringLiteral("--pdf"));
            if (pdf >= 0)
                QVERIFY2(QFileInfo(folder.filePath(arguments.at(pdf + 1))).size() > 0, qPrintable(line));
            ++examples;
        }
    }
    QVERIFY(examples >= 9);
}

QTEST_GUILESS_MAIN(TestCardTool)
#include "tst_cardtool.moc"
