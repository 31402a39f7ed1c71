#include "store/databasetext.h"

#include <QSqlError>

namespace store {

namespace {

struct Wording
{
    const char *english;
    const char *italian;   // UTF-8
};

// SQLite's messages for its result codes, which it never translates.
constexpr Wording fixedTexts[] = {
    {"unable to open database file", "impossibile aprire il file del database"},
    {"file is not a database", "il file non è un database"},
    {"database disk image is malformed", "il file del database è danneggiato"},
    {"database is locked", "il database è bloccato da un altro programma"},
    {"database table is locked", "una tabella del database è bloccata"},
    {"disk I/O error", "errore di lettura o scrittura sul disco"},
    {"database or disk is full", "il database o il disco è pieno"},
    {"attempt to write a readonly database", "il database è di sola lettura"},
    {"access permission denied", "accesso negato"},
    {"authorization denied", "autorizzazione negata"},
    {"out of memory", "memoria esaurita"},
    {"interrupted", "operazione interrotta"},
    {"query aborted", "interrogazione annullata"},
    {"locking protocol", "errore nel protocollo di blocco del file"},
    {"SQL logic error", "errore logico SQL"},
    {"incomplete input", "istruzione SQL incompleta"},
    {"constraint failed", "vincolo non rispettato"},
    {"datatype mismatch", "tipo di dato non corrispondente"},
    {"bad parameter or other API misuse", "parametro errato o uso scorretto dell'interfaccia"},
    {"column index out of range", "indice di colonna fuori intervallo"},
    {"unknown error", "errore sconosciuto"},
};

// Messages that end in a name: the English head, then the Italian text with
// %1 for that name.
constexpr Wording namedTexts[] = {
    {"no such table: ", "la tabella %1 non esiste"},
    {"no such column: ", "la colonna %1 non esiste"},
    {"ambiguous column name: ", "il nome di colonna %1 è ambiguo"},
    {"UNIQUE constraint failed: ", "valore già presente in %1"},
    {"NOT NULL constraint failed: ", "manca un valore obbligatorio in %1"},
};

} // namespace

QString italianDatabaseText(const QString &sqliteText)
{
    for (const Wording &wording : fixedTexts) {
        if (sqliteText == QLatin1String(wording.english))
            return QString::fromUtf8(wording.italian);
    }
    for (const Wording &wording : namedTexts) {
        const QLatin1String head(wording.english);
        if (sqliteText.startsWith(head))
            return QString::fromUtf8(wording.italian).arg(sqliteText.sliced(head.size()));
    }
    // near "WORD": syntax error
    static const QLatin1String nearHead("near ");
    static const QLatin1String syntaxTail(": syntax error");
    if (sqliteText.startsWith(nearHead) && sqliteText.endsWith(syntaxTail)) {
        const QString word = sqliteText.sliced(nearHead.size(),
                                               sqliteText.size() - nearHead.size() - syntaxTail.size());
        return QStringLiteral("errore di sintassi vicino a %1").arg(word);
    }
    return sqliteText;
}

QString databaseFailureText(const QSqlError &error)
{
    const QString driverText = error.driverText();
    const QString databaseText = italianDatabaseText(error.databaseText());
    if (driverText.isEmpty())
        return databaseText;
    if (databaseText.isEmpty())
        return driverText;
    return driverText + QStringLiteral(": ") + databaseText;
}

} // namespace store
