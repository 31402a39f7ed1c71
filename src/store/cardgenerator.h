#pragma once

#include <QHashFunctions>
#include <QList>
#include <QString>

#include <array>

// Makes card stores: series of six cards that together hold each number from
// 1 to 90 once, drawn at random but the same for the same seed.
namespace store {

inline constexpr int cardRowCount = 3;
inline constexpr int cardColumnCount = 9;
inline constexpr int cardCellCount = cardRowCount * cardColumnCount;
inline constexpr int seriesCardCount = 6;
inline constexpr int maxGeneratedCardCount = 100000;

// A card as the store holds it: Campo1 to Campo27, the top row left to right,
// then the middle row, then the bottom row; 0 for a blank cell.
struct Card
{
    std::array<quint8, cardCellCount> cells{};

    friend bool operator==(const Card &, const Card &) = default;
    friend size_t qHash(const Card &card, size_t seed = 0) noexcept
    {
        return qHashBits(card.cells.data(), card.cells.size(), seed);
    }
};

using Series = std::array<Card, seriesCardCount>;

// How many numbers each of a card's nine columns holds.
using ColumnCounts = std::array<int, cardColumnCount>;

// Ways to place a card's numbers in its three rows, five to a row, given how
// many numbers each column holds: a column of one picks its row, a column of
// two the row it leaves blank, a column of three fills all three.
qint64 rowArrangementCount(const ColumnCounts &counts);

// xoshiro256** seeded through splitmix64, so that a seed gives the same cards
// whatever the platform or standard library.
class CardRandom
{
public:
    explicit CardRandom(quint64 seed);

    quint64 next();
    // Uniform in [0, bound) without modulo bias; bound must be above 0.
    quint64 bounded(quint64 bound);

private:
    std::array<quint64, 4> m_state;
};

// Draws series, every valid series as likely as any other.
//
// A series is fixed by three choices: how many numbers each card takes from
// each column (the count matrix), how each card spreads its numbers over its
// rows, and which numbers of each column go to which card. For a given count
// matrix the last two are drawn uniformly; the matrix itself is drawn by a
// Metropolis walk weighted by how many series share it.
class SeriesGenerator
{
public:
    explicit SeriesGenerator(quint64 seed);

    Series next();

private:
    using CountMatrix = std::array<ColumnCounts, seriesCardCount>;

    void walk(int steps);
    Card placeCard(const ColumnCounts &counts);

    CardRandom m_random;
    CountMatrix m_counts;
    std::array<int, seriesCardCount> m_fullColumns;   // columns of three, per card
};

// Cards 1 to count (1 to maxGeneratedCardCount) for a seed, no two alike.
// Cards 1-6, 7-12, ... are series; a last partial series is the first cards
// of a full one.
QList<Card> generateCards(int count, quint64 seed);

// Writes a new card store at path: table Cartelle with ID and Campo1 to
// Campo27, the cards numbered from 1, blank cells Null. Returns false and
// writes nothing when path exists and overwrite is false. Throws Failure on
// any other error, leaving no partial file behind.
[[nodiscard]] bool writeCardStore(const QString &path, const QList<Card> &cards, bool overwrite);

} // namespace store
