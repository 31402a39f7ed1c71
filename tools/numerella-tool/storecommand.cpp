#include "commands.h"

#include "report/failure.h"
#include "store/cardgenerator.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <optional>

namespace {

const QString usageLine = QStringLiteral("uso: numerella-tool store --cards N [--seed S] [--force] FILE");

QString help()
{
    return usageLine + QStringLiteral(
        "\n\n"
        "Crea FILE, un archivio di N cartelle numerate da 1, a serie di sei\n"
        "che insieme contengono ogni numero da 1 a 90 una volta. Numerella legge\n"
        "l'archivio Data.prm nella cartella da cui parte.\n\n"
        "  --cards N   numero di cartelle, da 1 a %1\n"
        "  --seed S    seme, un intero da 0 a 18446744073709551615: lo stesso\n"
        "              seme dà le stesse cartelle; senza, se ne sceglie uno a\n"
        "              caso e lo si scrive\n"
        "  --force     sostituisce FILE se esiste già\n"
        "\n"
        "esempi:\n"
        "  numerella-tool store --cards 6000 Data.prm\n"
        "      6000 cartelle (1000 serie) nel file Data.prm della cartella corrente\n"
        "  numerella-tool store --cards 600 --seed 90 --force Data.prm\n"
        "      sostituisce Data.prm con 600 cartelle, le stesse a ogni esecuzione")
        .arg(store::maxGeneratedCardCount);
}

int usageError(const QString &message)
{
    printError(QStringLiteral("numerella-tool store: ") + message + u'\n' + usageLine);
    return exitUsage;
}

bool isDecimal(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

int runStoreCommand(const QStringList &arguments)
{
    std::optional<int> cardCount;
    std::optional<quint64> seed;
    bool force = false;
    QString file;

    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--help" || argument == u"-h") {
            printOut(help());
            return exitSuccess;
        }
        if (argument == u"--cards" || argument == u"--seed") {
            if (i + 1 == arguments.size())
                return usageError(QStringLiteral("manca il valore di %1").arg(argument));
            const QString value = arguments.at(++i);
            bool ok = false;
            if (argument == u"--cards") {
                const int count = isDecimal(value) ? value.toInt(&ok) : 0;
                if (!ok || count < 1 || count > store::maxGeneratedCardCount)
                    return usageError(QStringLiteral("numero di cartelle non valido: %1 (deve essere da 1 a %2)")
                                          .arg(value)
                                          .arg(store::maxGeneratedCardCount));
                cardCount = count;
            } else {
                const quint64 number = isDecimal(value) ? value.toULongLong(&ok) : 0;
                if (!ok)
                    return usageError(QStringLiteral("seme non valido: %1").arg(value));
                seed = number;
            }
        } else if (argument == u"--force") {
            force = true;
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            return usageError(QStringLiteral("opzione sconosciuta: %1").arg(argument));
        } else if (file.isEmpty()) {
            file = argument;
        } else {
            return usageError(QStringLiteral("argomento di troppo: %1").arg(argument));
        }
    }
    if (!cardCount)
        return usageError(QStringLiteral("manca il numero di cartelle (--cards N)"));
    if (file.isEmpty())
        return usageError(QStringLiteral("manca il file da creare"));

    if (QFileInfo(file).isDir())
        return usageError(QStringLiteral("%1 è una cartella: indica il nome del file da creare").arg(file));

    if (!seed)
        seed = QRandomGenerator::system()->generate64();

    try {
        if (!store::writeCardStore(file, store::generateCards(*cardCount, *seed), force)) {
            printError(QStringLiteral("numerella-tool store: il file esiste già: %1 (--force per sostituirlo)").arg(file));
            return exitFailure;
        }
    } catch (const Failure &failure) {
        printError(QStringLiteral("numerella-tool store: impossibile creare %1: %2").arg(file, failure.message()));
        return exitFailure;
    }
    printOut(QStringLiteral("creato %1: %2 cartelle, seme %3").arg(file).arg(*cardCount).arg(*seed));
    return exitSuccess;
}
