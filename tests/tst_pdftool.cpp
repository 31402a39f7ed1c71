#include "store/cardgenerator.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The sheets written to PDF by the command-line tool, read back with
// poppler's pdfinfo and pdftotext as a user's viewer would read them.
class TestPdfTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cardsToPdf_data();
    void cardsToPdf();
    void boardToPdf();
    void badArguments_data();
    void badArguments();
    void failuresLeaveNoFile_data();
    void failuresLeaveNoFile();

private:
    struct Result
    {
        int exitCode = -1;
        QString errors;
    };
    Result tool(const QStringList &arguments) const;
    int pageCount(const QString &pdf) const;
    QString pdfText(const QString &pdf, int page) const;

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_store;
};

void TestPdfTool::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QFAIL("pdftotext (poppler-utils) is needed to read the PDFs back");
}

void TestPdfTool::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    m_store = m_folder->filePath(QStringLiteral("Data.prm"));
    QVERIFY(store::writeCardStore(m_store, store::generateCards(23, 5), false));
}

TestPdfTool::Result TestPdfTool::tool(const QStringList &arguments) const
{
    QProcess process;
    process.setWorkingDirectory(m_folder->path());
    process.start(QStringLiteral(NUMERELLA_TOOL), arguments);
    process.waitForFinished(120000);
    return Result{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                  QString::fromUtf8(process.readAllStandardError())};
}

int TestPdfTool::pageCount(const QString &pdf) const
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished();
    const QString output = QString::fromUtf8(info.readAllStandardOutput());
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const QRegularExpressionMatch match = pages.match(output);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString TestPdfTool::pdfText(const QString &pdf, int page) const
{
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                QString::number(page), QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    text.waitForFinished();
    return QString::fromUtf8(text.readAllStandardOutput());
}

void TestPdfTool::cardsToPdf_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("series");
    QTest::addColumn<QStringList>("lastPageCards");

    QTest::newRow("defaults: one card of series A") << QStringList{} << 1 << "A" << QStringList{"1"};
    QTest::newRow("six cards") << QStringList{"--count", "6", "--series", "B"} << 2 << "B"
                               << QStringList{"6"};
    QTest::newRow("more asked than stored") << QStringList{"--count", "6000", "--series", "Z9"} << 5
                                            << "Z9" << QStringList{"21", "22", "23"};
}

void TestPdfTool::cardsToPdf()
{
    QFETCH(QStringList, options);
    QFETCH(int, pages);
    QFETCH(QString, series);
    QFETCH(QStringList, lastPageCards);

    const QString pdf = m_folder->filePath(QStringLiteral("cartelle.pdf"));
    // The store defaults to Data.prm in the working folder.
    const Result result = tool(QStringList{QStringLiteral("cards"), QStringLiteral("--pdf"), pdf} + options);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(pageCount(pdf), pages);

    const QString last = pdfText(pdf, pages);
    QVERIFY2(last.contains(QStringLiteral("Pagina %1 di %1").arg(pages)), qPrintable(last));
    QVERIFY(last.contains(QStringLiteral("Stampato il")));
    QCOMPARE(last.count(QStringLiteral("Cartella")), lastPageCards.size());
    for (const QString &card : lastPageCards)
        QVERIFY2(last.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(card))), qPrintable(card));
    QCOMPARE(last.count(QRegularExpression(QStringLiteral("\\b%1\\b").arg(series))), lastPageCards.size());
}

void TestPdfTool::boardToPdf()
{
    const QString pdf = m_folder->filePath(QStringLiteral("tabellone.pdf"));
    QCOMPARE(tool({QStringLiteral("board"), QStringLiteral("--pdf"), pdf}).exitCode, 0);
    QCOMPARE(pageCount(pdf), 1);
    const QString text = pdfText(pdf, 1);
    QVERIFY(text.contains(QStringLiteral("TABELLONE")));
    QVERIFY(text.contains(QStringLiteral("Stampato il")));
    for (int number : {1, 10, 45, 81, 90})
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(number))),
                 qPrintable(QString::number(number)));
}

void TestPdfTool::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("cards without --pdf") << QStringList{"cards", "--count", "3"};
    QTest::newRow("count zero") << QStringList{"cards", "--pdf", "x.pdf", "--count", "0"};
    QTest::newRow("count above 6000") << QStringList{"cards", "--pdf", "x.pdf", "--count", "6001"};
    QTest::newRow("count not a number") << QStringList{"cards", "--pdf", "x.pdf", "--count", "tre"};
    QTest::newRow("count without value") << QStringList{"cards", "--pdf", "x.pdf", "--count"};
    QTest::newRow("unknown option") << QStringList{"cards", "--pdf", "x.pdf", "--colour"};
    QTest::newRow("board without --pdf") << QStringList{"board"};
    QTest::newRow("board with extra") << QStringList{"board", "--pdf", "x.pdf", "altro"};
}

void TestPdfTool::badArguments()
{
    QFETCH(QStringList, arguments);
    const Result result = tool(arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.errors.contains(QStringLiteral("uso:")));
    QVERIFY(!QFile::exists(m_folder->filePath(QStringLiteral("x.pdf"))));
}

void TestPdfTool::failuresLeaveNoFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("target");

    QTest::newRow("missing store") << QStringList{"cards", "--store", "altro.prm", "--pdf", "out.pdf"}
                                   << "out.pdf";
    QTest::newRow("store not a database") << QStringList{"cards", "--store", "rotto.prm", "--pdf", "out.pdf"}
                                          << "out.pdf";
    QTest::newRow("folder missing") << QStringList{"cards", "--pdf", "manca/out.pdf"} << "manca/out.pdf";
}

void TestPdfTool::failuresLeaveNoFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, target);

    QFile broken(m_folder->filePath(QStringLiteral("rotto.prm")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(4096, '\x5a'));
    broken.close();

    const Result result = tool(arguments);
    QCOMPARE(result.exitCode, 1);
    QVERIFY(!result.errors.trimmed().isEmpty());
    QVERIFY(!QFile::exists(m_folder->filePath(target)));
    // Nothing half-written is left beside it either.
    const QStringList files = QDir(m_folder->path()).entryList(QDir::Files);
    QCOMPARE(files, (QStringList{QStringLiteral("Data.prm"), QStringLiteral("rotto.prm")}));
    // A missing store is never created by looking for it.
    QVERIFY(!QFile::exists(m_folder->filePath(QStringLiteral("altro.prm"))));
}

QTEST_MAIN(TestPdfTool)
#include "tst_pdftool.moc"
