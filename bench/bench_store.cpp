// Times making a store of 6000 cards and selecting them back, the largest
// card count the program prints. Prints the median of several runs.

#include "store/cardgenerator.h"
#include "store/cardstore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int cardCount = 6000;
constexpr int runs = 9;

double medianMs(QList<qint64> nanoseconds)
{
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return nanoseconds.at(nanoseconds.size() / 2) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    // The SQL driver is a plugin, which Qt loads only with an application object.
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    const QString path = folder.filePath(QStringLiteral("Data.prm"));

    QList<qint64> generate, write, create;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QList<store::Card> cards = store::generateCards(cardCount, quint64(run));
        generate << timer.nsecsElapsed();
        const qint64 written = timer.nsecsElapsed();
        if (!store::writeCardStore(path, cards, true))
            return 1;
        write << timer.nsecsElapsed() - written;
        create << timer.nsecsElapsed();
    }
    std::printf("create a store of %d cards: %.1f ms (draw %.1f ms, write %.1f ms), median of %d\n",
                cardCount, medianMs(create), medianMs(generate), medianMs(write), runs);

    store::Connection connection;
    connection.setConnectionString(QStringLiteral("Data Source=%1;Mode=Share Deny None;").arg(path));
    store::QueryDataSet dataSet(&connection);
    dataSet.setCommandText(store::selectionQuery(cardCount));
    store::DataSource source(&dataSet);
    store::DBPipeline pipeline(&source);

    QList<qint64> select, walk;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        dataSet.close();
        dataSet.open();
        select << timer.nsecsElapsed();

        timer.restart();
        qsizetype characters = 0;
        for (int row = 0; row < pipeline.rowCount(); ++row) {
            for (int field = 0; field < 1 + store::cardCellCount; ++field)
                characters += pipeline.text(row, field).size();
        }
        walk << timer.nsecsElapsed();
        if (dataSet.rowCount() != cardCount || characters == 0)
            return 1;
    }
    std::printf("select %d cards through QueryDataSet: %.1f ms, median of %d\n", cardCount, medianMs(select), runs);
    std::printf("walk the selection as text (%d fields): %.1f ms, median of %d\n",
                cardCount * (1 + store::cardCellCount), medianMs(walk), runs);
    return 0;
}
