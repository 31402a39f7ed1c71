#include "store/cardgenerator.h"

#include "report/failure.h"
#include "store/databasetext.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdio>

#include <unistd.h>

namespace store {

namespace {

// Column c holds 1-9, 10-19, ..., 70-79 and 80-90.
int decadeFirst(int column)
{
    return column == 0 ? 1 : 10 * column;
}

int decadeSize(int column)
{
    return column == 0 ? 9 : column == cardColumnCount - 1 ? 11 : 10;
}

// The rows a column fills, one bit per row from the top: a column of m
// numbers takes any m of the three rows.
constexpr std::array<std::array<int, 3>, 4> rowPatterns = {{
    {},
    {{0b001, 0b010, 0b100}},
    {{0b011, 0b101, 0b110}},
    {{0b111}},
}};

int patternCount(int columnCount)
{
    return columnCount == 3 ? 1 : 3;
}

// Ways to finish a card from column j on, for every need of rows 0 and 1
// (row 2's need follows from the numbers left), so that rows can be drawn
// one column at a time in proportion to the completions each choice leaves.
class RowCompletions
{
public:
    explicit RowCompletions(const ColumnCounts &counts)
        : m_counts(counts)
    {
        std::array<int, cardColumnCount + 1> left{};
        for (int j = cardColumnCount - 1; j >= 0; --j)
            left[j] = left[j + 1] + counts[j];

        m_ways[cardColumnCount][0][0] = 1;
        for (int j = cardColumnCount - 1; j >= 0; --j) {
            for (int need0 = 0; need0 <= rowSize; ++need0) {
                for (int need1 = 0; need1 <= rowSize; ++need1) {
                    const int need2 = left[j] - need0 - need1;
                    if (need2 < 0 || need2 > rowSize)
                        continue;
                    qint64 ways = 0;
                    for (int p = 0; p < patternCount(counts[j]); ++p)
                        ways += after(j, need0, need1, need2, rowPatterns[counts[j]][p]);
                    m_ways[j][need0][need1] = ways;
                }
            }
        }
    }

    qint64 total() const { return m_ways[0][rowSize][rowSize]; }

    // One of total() arrangements, chosen by index.
    std::array<int, cardColumnCount> arrangement(qint64 index) const
    {
        std::array<int, cardColumnCount> patterns{};
        int need0 = rowSize, need1 = rowSize, need2 = rowSize;
        for (int j = 0; j < cardColumnCount; ++j) {
            for (int p = 0; p < patternCount(m_counts[j]); ++p) {
                const int pattern = rowPatterns[m_counts[j]][p];
                const qint64 ways = after(j, need0, need1, need2, pattern);
                if (index < ways) {
                    patterns[j] = pattern;
                    need0 -= pattern & 1;
                    need1 -= (pattern >> 1) & 1;
                    need2 -= (pattern >> 2) & 1;
                    break;
                }
                index -= ways;
            }
        }
        return patterns;
    }

private:
    static constexpr int rowSize = 5;

    qint64 after(int j, int need0, int need1, int need2, int pattern) const
    {
        need0 -= pattern & 1;
        need1 -= (pattern >> 1) & 1;
        need2 -= (pattern >> 2) & 1;
        if (need0 < 0 || need1 < 0 || need2 < 0)
            return 0;
        return m_ways[j + 1][need0][need1];
    }

    ColumnCounts m_counts;
    std::array<std::array<std::array<qint64, rowSize + 1>, rowSize + 1>, cardColumnCount + 1> m_ways{};
};

// A card of 15 numbers in columns of one to three has t columns of three,
// 6 - 2t of two and 3 + t of one. A count matrix is shared by
// prod_c (column size)! / prod_k,c count! * prod_k R(card k) series (the
// numbers dealt to cards, then the rows of each card), so up to a constant
// it weighs prod_k R(t_k) / (2^(6 - 2t_k) * 6^t_k). Per card and scaled by
// 2^6 * 6^3 that is R(t) * 4^t * 6^(3 - t), a whole number, so that the walk
// compares weights exactly.
std::array<quint64, 4> matrixWeights()
{
    std::array<quint64, 4> weights{};
    for (int t = 0; t <= 3; ++t) {
        ColumnCounts counts{};
        int column = 0;
        for (int i = 0; i < t; ++i)
            counts[column++] = 3;
        for (int i = 0; i < 6 - 2 * t; ++i)
            counts[column++] = 2;
        while (column < cardColumnCount)
            counts[column++] = 1;
        quint64 weight = quint64(rowArrangementCount(counts));
        for (int i = 0; i < t; ++i)
            weight *= 4;
        for (int i = t; i < 3; ++i)
            weight *= 6;
        weights[t] = weight;
    }
    return weights;
}

const std::array<quint64, 4> &weights()
{
    static const std::array<quint64, 4> table = matrixWeights();
    return table;
}

// Enough steps between two series that the next count matrix owes little
// to the last, and many more before the first so it owes nothing to the
// fixed start.
constexpr int stepsPerSeries = 400;
constexpr int firstSeriesSteps = 4000;

quint64 splitMix64(quint64 &state)
{
    quint64 z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

} // namespace

qint64 rowArrangementCount(const ColumnCounts &counts)
{
    return RowCompletions(counts).total();
}

// CardRandom

CardRandom::CardRandom(quint64 seed)
{
    for (quint64 &word : m_state)
        word = splitMix64(seed);
}

quint64 CardRandom::next()
{
    const quint64 result = std::rotl(m_state[1] * 5, 7) * 9;
    const quint64 t = m_state[1] << 17;
    m_state[2] ^= m_state[0];
    m_state[3] ^= m_state[1];
    m_state[1] ^= m_state[2];
    m_state[0] ^= m_state[3];
    m_state[2] ^= t;
    m_state[3] = std::rotl(m_state[3], 45);
    return result;
}

quint64 CardRandom::bounded(quint64 bound)
{
    // Lemire's multiply-and-shift, rejecting the few low products that
    // would favour some results.
    unsigned __int128 product = static_cast<unsigned __int128>(next()) * bound;
    quint64 low = quint64(product);
    if (low < bound) {
        const quint64 threshold = (0 - bound) % bound;
        while (low < threshold) {
            product = static_cast<unsigned __int128>(next()) * bound;
            low = quint64(product);
        }
    }
    return quint64(product >> 64);
}

// SeriesGenerator

SeriesGenerator::SeriesGenerator(quint64 seed)
    : m_random(seed)
{
    // A feasible start: every cell 1, then each card takes a 2 in the six
    // columns that most lack numbers, which always closes the column sums.
    std::array<int, cardColumnCount> lacking{};
    for (int c = 0; c < cardColumnCount; ++c)
        lacking[c] = decadeSize(c) - seriesCardCount;
    for (int k = 0; k < seriesCardCount; ++k) {
        m_counts[k].fill(1);
        for (int i = 0; i < 6; ++i) {
            int most = -1;
            for (int c = 0; c < cardColumnCount; ++c) {
                if (m_counts[k][c] == 1 && (most < 0 || lacking[c] > lacking[most]))
                    most = c;
            }
            m_counts[k][most] = 2;
            --lacking[most];
        }
        m_fullColumns[k] = 0;
    }
    walk(firstSeriesSteps);
}

// Metropolis over count matrices: move one number of card k from column d
// to c and one of card l from c to d, which keeps every card at 15 and every
// column at its decade's size; accept with the ratio of matrix weights.
void SeriesGenerator::walk(int steps)
{
    const std::array<quint64, 4> &weight = weights();
    for (int step = 0; step < steps; ++step) {
        const int k = int(m_random.bounded(seriesCardCount));
        int l = int(m_random.bounded(seriesCardCount - 1));
        l += l >= k;
        const int c = int(m_random.bounded(cardColumnCount));
        int d = int(m_random.bounded(cardColumnCount - 1));
        d += d >= c;

        if (m_counts[k][c] == 3 || m_counts[k][d] == 1 || m_counts[l][c] == 1 || m_counts[l][d] == 3)
            continue;
        const int fullK = m_fullColumns[k] + (m_counts[k][c] == 2) - (m_counts[k][d] == 3);
        const int fullL = m_fullColumns[l] - (m_counts[l][c] == 3) + (m_counts[l][d] == 2);
        const quint64 proposed = weight[fullK] * weight[fullL];
        const quint64 current = weight[m_fullColumns[k]] * weight[m_fullColumns[l]];
        if (proposed < current && m_random.bounded(current) >= proposed)
            continue;

        ++m_counts[k][c];
        --m_counts[k][d];
        --m_counts[l][c];
        ++m_counts[l][d];
        m_fullColumns[k] = fullK;
        m_fullColumns[l] = fullL;
    }
}

Series SeriesGenerator::next()
{
    walk(stepsPerSeries);

    Series series;
    std::array<std::array<int, cardColumnCount>, seriesCardCount> patterns;
    for (int k = 0; k < seriesCardCount; ++k) {
        const RowCompletions completions(m_counts[k]);
        patterns[k] = completions.arrangement(qint64(m_random.bounded(quint64(completions.total()))));
    }

    for (int c = 0; c < cardColumnCount; ++c) {
        std::array<quint8, 11> numbers{};
        const int size = decadeSize(c);
        for (int i = 0; i < size; ++i)
            numbers[i] = quint8(decadeFirst(c) + i);
        for (int i = size - 1; i > 0; --i)
            std::swap(numbers[i], numbers[m_random.bounded(quint64(i) + 1)]);

        auto dealt = numbers.begin();
        for (int k = 0; k < seriesCardCount; ++k) {
            const auto end = dealt + m_counts[k][c];
            std::sort(dealt, end);
            for (int row = 0; row < cardRowCount; ++row) {
                if (patterns[k][c] & (1 << row))
                    series[k].cells[row * cardColumnCount + c] = *dealt++;
            }
        }
    }
    return series;
}

QList<Card> generateCards(int count, quint64 seed)
{
    Q_ASSERT(count >= 1 && count <= maxGeneratedCardCount);
    QList<Card> cards;
    cards.reserve(count);
    QSet<Card> seen;
    seen.reserve(count);
    SeriesGenerator generator(seed);
    while (cards.size() < count) {
        const Series series = generator.next();
        const int taken = std::min<int>(seriesCardCount, count - int(cards.size()));
        const bool repeats = std::any_of(series.begin(), series.begin() + taken,
                                         [&seen](const Card &card) { return seen.contains(card); });
        if (repeats)
            continue;
        for (int k = 0; k < taken; ++k) {
            seen.insert(series[k]);
            cards.append(series[k]);
        }
    }
    return cards;
}

namespace {

// The error text, or a null string once the cards are in.
QString fillStore(QSqlDatabase &db, const QList<Card> &cards)
{
    if (!db.open())
        return databaseFailureText(db.lastError());
    QSqlQuery query(db);
    // Until it is renamed into place the file is a scratch copy that is
    // thrown away on any failure, so it needs neither journal nor syncing.
    for (const char *pragma : {"PRAGMA journal_mode = OFF", "PRAGMA synchronous = OFF"}) {
        if (!query.exec(QLatin1String(pragma)))
            return databaseFailureText(query.lastError());
    }

    QString create = QStringLiteral("CREATE TABLE Cartelle (ID INTEGER PRIMARY KEY");
    QString insert = QStringLiteral("INSERT INTO Cartelle VALUES (?");
    for (int i = 1; i <= cardCellCount; ++i) {
        create += QStringLiteral(", Campo%1 INTEGER").arg(i);
        insert += QStringLiteral(", ?");
    }
    create += u')';
    insert += u')';
    if (!query.exec(create))
        return databaseFailureText(query.lastError());

    if (!db.transaction())
        return databaseFailureText(db.lastError());
    if (!query.prepare(insert))
        return databaseFailureText(query.lastError());
    const QVariant null(QMetaType::fromType<int>());
    for (int id = 1; id <= cards.size(); ++id) {
        query.bindValue(0, id);
        const Card &card = cards.at(id - 1);
        for (int i = 0; i < cardCellCount; ++i)
            query.bindValue(i + 1, card.cells[i] ? QVariant(int(card.cells[i])) : null);
        if (!query.exec())
            return databaseFailureText(query.lastError());
    }
    query.finish();
    if (!db.commit())
        return databaseFailureText(db.lastError());
    return {};
}

void writeCardFile(const QString &fileName, const QList<Card> &cards)
{
    static std::atomic<int> writerCount = 0;
    const QString connectionName = QStringLiteral("numerella-card-writer-%1").arg(++writerCount);
    QString message;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(fileName);
        message = fillStore(db, cards);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (!message.isNull())
        throw Failure(message);
}

// The journal was off, so the data reaches the disk only here, before the
// name makes the file visible as a finished store.
void syncFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(file.errorString());
    if (::fsync(file.handle()) != 0)
        throw Failure(qt_error_string(errno));
}

} // namespace

bool writeCardStore(const QString &path, const QList<Card> &cards, bool overwrite)
{
    const QString target = QFileInfo(path).absoluteFilePath();
    if (!overwrite && QFileInfo(target).exists())
        return false;

    // In the target's folder, so that the final rename stays on one file system.
    QTemporaryFile scratch(target + QStringLiteral(".XXXXXX"));
    if (!scratch.open())
        throw Failure(scratch.errorString());
    // SQLite opens the file by name; a second descriptor closed later would
    // drop SQLite's POSIX locks on it.
    scratch.close();

    writeCardFile(scratch.fileName(), cards);
    // QTemporaryFile makes the file private to its owner; a store is for anyone to read.
    QFile::setPermissions(scratch.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                  | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    syncFile(scratch.fileName());

    const QByteArray from = QFile::encodeName(scratch.fileName());
    const QByteArray to = QFile::encodeName(target);
    if (overwrite) {
        if (std::rename(from.constData(), to.constData()) != 0)
            throw Failure(qt_error_string(errno));
        scratch.setAutoRemove(false);
        return true;
    }
    // link() fails rather than replace a file that appeared meanwhile; the
    // scratch name is then removed with the QTemporaryFile.
    if (::link(from.constData(), to.constData()) != 0) {
        if (errno == EEXIST)
            return false;
        throw Failure(qt_error_string(errno));
    }
    return true;
}

} // namespace store
