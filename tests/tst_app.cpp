#include "app/cartelle.h"
#include "app/failurereport.h"
#include "report/fonts.h"
#include "report/run.h"
#include "sheets/cardsheet.h"
#include "store/cardgenerator.h"
#include "widgets/linkfield.h"
#include "widgets/picturebutton.h"
#include "widgets/spinedit.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QGroupBox>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// The main window and its commands against a real card store file in a
// temporary working folder. Message boxes go to a sink the tests read.
class TestApp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void failureText_data();
    void failureText();
    void guardStopsExceptions();
    void startsWithoutStore();
    void startsWithStore();
    void controls();
    void tabOrder();
    void cardCommandPrintsTheSelection();
    void cardCommandWithEmptyRange();
    void cardCommandFailsUntilTheStoreIsBack();
    void boardCommandWithoutStore();
    void closingLeavesTheStoreUntouched();

private:
    void makeStore(int cards);
    QByteArray storeDigest() const;

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_startFolder;
    QStringList m_messages;
    std::vector<std::unique_ptr<report::ReportRun>> m_runs;
};

void TestApp::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Numerella"));
    report::fonts::loadApplicationFonts();
    m_startFolder = QDir::currentPath();
    app::setFailureSink([this](const QString &text) { m_messages.append(text); });
}

void TestApp::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_folder->path()));
    m_messages.clear();
    m_runs.clear();
}

void TestApp::cleanup()
{
    m_runs.clear();
    QDir::setCurrent(m_startFolder);
    m_folder.reset();
}

void TestApp::makeStore(int cards)
{
    QVERIFY(store::writeCardStore(m_folder->filePath(QStringLiteral("Data.prm")),
                                  store::generateCards(cards, 7), false));
}

QByteArray TestApp::storeDigest() const
{
    QFile file(m_folder->filePath(QStringLiteral("Data.prm")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void TestApp::failureText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("letter") << "unable to open database file" << "unable to open database file.";
    QTest::newRow("digit") << "errore 42" << "errore 42.";
    QTest::newRow("accented") << "perché" << "perché.";
    QTest::newRow("slash above the period") << "a/b/" << "a/b/.";
    QTest::newRow("period") << "Fatto." << "Fatto.";
    QTest::newRow("exclamation") << "Errore!" << "Errore!";
    QTest::newRow("parenthesis") << "errore (1)" << "errore (1)";
    QTest::newRow("blank") << "errore " << "errore ";
    QTest::newRow("hyphen below the period") << "errore -" << "errore -";
    QTest::newRow("line break") << "errore\n" << "errore\n";
}

void TestApp::failureText()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(app::failureText(message), shown);
}

void TestApp::guardStopsExceptions()
{
    bool after = false;
    QVERIFY(!app::guarded([] { throw Failure(QStringLiteral("file is not a database")); }));
    QVERIFY(!app::guarded([] { throw SilentAbort(); }));
    QVERIFY(app::guarded([&after] { after = true; }));
    QVERIFY(after);
    QCOMPARE(m_messages, QStringList{QStringLiteral("file is not a database.")});
}

void TestApp::startsWithoutStore()
{
    TCartelle window;
    // One message, before the window shows, and the window opens all the same.
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(!m_messages.first().isEmpty());
    QVERIFY(!window.ADOConnection.isConnected());
    QVERIFY(!window.ADODataSetSelezione.isActive());
    QVERIFY(!QFile::exists(m_folder->filePath(QStringLiteral("Data.prm"))));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

void TestApp::startsWithStore()
{
    makeStore(12);
    TCartelle window;
    QVERIFY(m_messages.isEmpty());
    QVERIFY(window.ADOConnection.isConnected());
    QVERIFY(window.ADODataSetSelezione.isActive());
    QCOMPARE(window.ADODataSetSelezione.commandText(), QStringLiteral("select * from Cartelle"));
    QCOMPARE(window.ADODataSetSelezione.rowCount(), 12);
}

void TestApp::controls()
{
    makeStore(6);
    TCartelle window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Numerella"));
    QCOMPARE(window.size(), QSize(385, 224));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));

    QCOMPARE(window.NumeroCartelle->value(), 1);
    QCOMPARE(window.NumeroCartelle->minimum(), 1);
    QCOMPARE(window.NumeroCartelle->maximum(), 6000);
    QCOMPARE(window.Edit1->text(), QStringLiteral("A"));
    QCOMPARE(window.GroupBox1->title(), QStringLiteral("Numero di Cartelle da Stampare "));
    QCOMPARE(window.GroupBox2->title(), QStringLiteral("Cartellone"));
    QCOMPARE(window.cxButton2->text(), QStringLiteral("Anteprima e Stampa"));
    QCOMPARE(window.cxButton1->text(), QStringLiteral("Anteprima e Stampa"));
    QCOMPARE(window.cxButton3->text(), QStringLiteral("Cartellone Elettronico"));
    QVERIFY(window.cxButton3->isHidden());
    QVERIFY(!window.cxButton3->isEnabled());

    // Places in the window's client area.
    QCOMPARE(window.NumeroCartelle->mapTo(&window, QPoint(0, 0)), QPoint(19, 155));
    QCOMPARE(window.cxButton2->mapTo(&window, QPoint(0, 0)), QPoint(222, 155));
    QCOMPARE(window.Edit1->mapTo(&window, QPoint(0, 0)), QPoint(176, 160));
    QCOMPARE(window.cxButton1->mapTo(&window, QPoint(0, 0)), QPoint(222, 86));
    QCOMPARE(window.cxButton2->size(), QSize(144, 33));
    QCOMPARE(window.Edit1->size(), QSize(40, 26));
    QCOMPARE(window.NumeroCartelle->width(), 151);
    QCOMPARE(window.cxHyperLinkEdit1->geometry().topLeft(), QPoint(80, 113));
    QVERIFY(!window.cxHyperLinkEdit1->text().trimmed().isEmpty());
}

void TestApp::tabOrder()
{
    makeStore(6);
    TCartelle window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_VERIFY(window.NumeroCartelle->isAncestorOf(QApplication::focusWidget())
                || QApplication::focusWidget() == window.NumeroCartelle);

    const QList<QWidget *> expected{window.cxButton2, window.Edit1, window.cxButton1,
                                    window.cxHyperLinkEdit1, window.NumeroCartelle};
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        QVERIFY2(focus == next || next->isAncestorOf(focus),
                 qPrintable(focus ? focus->metaObject()->className() : "none"));
        // The series field selects its whole text when reached by keyboard.
        if (next == window.Edit1)
            QCOMPARE(window.Edit1->selectedText(), QStringLiteral("A"));
    }
}

void TestApp::cardCommandPrintsTheSelection()
{
    makeStore(20);
    TCartelle window;
    window.showReport = [this](QWidget *, const report::RunFactory &makeRun) {
        m_runs.push_back(makeRun());
    };
    window.NumeroCartelle->setValue(7);
    window.Edit1->setText(QStringLiteral("B"));
    window.cxButton2->click();

    QVERIFY(m_messages.isEmpty());
    QCOMPARE(window.ADODataSetSelezione.commandText(),
             QStringLiteral("SELECT * FROM CARTELLE WHERE ID >= 1 AND ID <=7"));
    QCOMPARE(sheets::seriesLetter(window.ReportTombola), QStringLiteral("B"));
    QCOMPARE(m_runs.size(), size_t(1));
    report::ReportRun &run = *m_runs.front();
    run.layoutAll();
    QCOMPARE(run.pageCount(), 2);
    QStringList numbers;
    for (int index = 0; index < run.pageCount(); ++index) {
        const report::Page page = run.page(index);
        for (const report::Command *command : page.find(QStringLiteral("ppDBText28")))
            numbers.append(command->text());
        for (const report::Command *command : page.find(QStringLiteral("ppLabel93")))
            QCOMPARE(command->text(), QStringLiteral("B"));
    }
    QCOMPARE(numbers, (QStringList{"1", "2", "3", "4", "5", "6", "7"}));

    // The run keeps its series letter when the window's changes later.
    window.Edit1->setText(QStringLiteral("C"));
    QCOMPARE(run.page(0).find(QStringLiteral("ppLabel93")).first()->text(), QStringLiteral("B"));
}

void TestApp::cardCommandWithEmptyRange()
{
    {
        // A store whose numbering starts above the count.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
        db.setDatabaseName(m_folder->filePath(QStringLiteral("Data.prm")));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("CREATE TABLE Cartelle (ID INTEGER, Campo1 INTEGER)")));
        QVERIFY(query.exec(QStringLiteral("INSERT INTO Cartelle VALUES (100, 5)")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
    TCartelle window;
    window.showReport = [this](QWidget *, const report::RunFactory &makeRun) {
        m_runs.push_back(makeRun());
    };
    window.cxButton2->click();
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(m_runs.size(), size_t(1));
    m_runs.front()->layoutAll();
    QCOMPARE(m_runs.front()->pageCount(), 1);
    QVERIFY(m_runs.front()->page(0).find(QStringLiteral("ppDBText28")).isEmpty());
}

void TestApp::cardCommandFailsUntilTheStoreIsBack()
{
    TCartelle window;
    QCOMPARE(m_messages.size(), 1);
    int previews = 0;
    window.showReport = [&previews](QWidget *, const report::RunFactory &) { ++previews; };

    sheets::setSeriesLetter(window.ReportTombola, QStringLiteral("old"));
    window.Edit1->setText(QStringLiteral("new"));
    window.cxButton2->click();
    window.cxButton2->click();
    QCOMPARE(m_messages.size(), 3);
    QCOMPARE(previews, 0);
    QCOMPARE(sheets::seriesLetter(window.ReportTombola), QStringLiteral("old"));
    QVERIFY(!window.ADODataSetSelezione.isActive());

    makeStore(3);
    window.cxButton2->click();
    QCOMPARE(m_messages.size(), 3);
    QCOMPARE(previews, 1);
    QCOMPARE(sheets::seriesLetter(window.ReportTombola), QStringLiteral("new"));
}

void TestApp::boardCommandWithoutStore()
{
    TCartelle window;
    window.showReport = [this](QWidget *, const report::RunFactory &makeRun) {
        m_runs.push_back(makeRun());
    };
    window.NumeroCartelle->setValue(4000);
    window.cxButton1->click();
    QCOMPARE(m_messages.size(), 1);   // only the one from start-up
    QCOMPARE(m_runs.size(), size_t(1));
    m_runs.front()->layoutAll();
    QCOMPARE(m_runs.front()->pageCount(), 1);
    const report::Page page = m_runs.front()->page(0);
    QCOMPARE(page.find(QStringLiteral("ppLabel96")).first()->text(), QStringLiteral("90"));
    QCOMPARE(page.find(QStringLiteral("ppLabel5")).first()->text(), QStringLiteral("2"));
}

void TestApp::closingLeavesTheStoreUntouched()
{
    makeStore(30);
    const QByteArray before = storeDigest();
    {
        TCartelle window;
        window.showReport = [this](QWidget *, const report::RunFactory &makeRun) {
            m_runs.push_back(makeRun());
            m_runs.back()->layoutAll();
            m_runs.back()->page(0);
        };
        for (int count : {1, 30, 6000}) {
            window.NumeroCartelle->setValue(count);
            window.cxButton2->click();
        }
        window.FormDestroy();
        QVERIFY(!window.ADODataSetSelezione.isActive());
        QVERIFY(!window.ADOConnection.isConnected());
        QVERIFY(window.ADOConnection.connectionString().isEmpty());
        m_runs.clear();
    }
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(storeDigest(), before);
    const QStringList leftovers = QDir(m_folder->path()).entryList(QDir::Files);
    QCOMPARE(leftovers, QStringList{QStringLiteral("Data.prm")});
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
