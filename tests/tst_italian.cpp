#include "app/failurereport.h"
#include "report/run.h"
#include "report/translations.h"
#include "report/ui/printing.h"
#include "sheets/boardsheet.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <memory>

// Installed before every real catalogue, so Qt asks it only for the texts
// no catalogue translates: each such text would reach the user in English.
class UntranslatedTexts : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int) const override
    {
        QString entry = QString::fromUtf8(context) + QStringLiteral(" | ") + QString::fromUtf8(sourceText);
        if (disambiguation && *disambiguation)
            entry += QStringLiteral(" | ") + QString::fromUtf8(disambiguation);
        m_texts.insert(entry);
        return {};
    }
    bool isEmpty() const override { return false; }

    void clear() { m_texts.clear(); }

    QStringList texts() const
    {
        QStringList list(m_texts.begin(), m_texts.end());
        list.sort();
        return list;
    }

private:
    mutable QSet<QString> m_texts;
};

class TestItalian : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { m_untranslated.clear(); }
    void printDialogsInItalian();
    void wrongPageListAnsweredInItalian();
    void messageBoxAndEditMenuInItalian();

private:
    UntranslatedTexts m_untranslated;
};

void TestItalian::initTestCase()
{
    QCoreApplication::installTranslator(&m_untranslated);
    // Installing asks for the layout direction, which is no text anyone
    // reads; init() forgets it.
    report::installItalianTranslations(*QCoreApplication::instance());
}

// Walks the print dialog as a user would: options shown, then the
// printer's properties opened.
void TestItalian::printDialogsInItalian()
{
    report::Layout layout = sheets::boardSheetLayout();
    sheets::writeBoardNumbers(layout);

    enum class Step { Options, Properties, Done };
    Step step = Step::Options;
    bool sawProperties = false;
    QTimer driver;
    driver.setInterval(10);
    connect(&driver, &QTimer::timeout, &driver, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && qstrcmp(modal->metaObject()->className(), "QPrintPropertiesDialog") == 0) {
            sawProperties = true;
            static_cast<QDialog *>(modal)->reject();
            return;
        }
        auto *dialog = qobject_cast<QPrintDialog *>(modal);
        if (!dialog)
            return;
        switch (step) {
        case Step::Options:
            if (auto *options = dialog->findChild<QPushButton *>(QStringLiteral("options")))
                options->click();
            step = Step::Properties;
            break;
        case Step::Properties:
            step = Step::Done;
            // Queued: the properties dialog runs its own loop, and a timer
            // is never re-entered while its slot runs.
            if (auto *properties = dialog->findChild<QPushButton *>(QStringLiteral("properties")))
                QMetaObject::invokeMethod(properties, &QPushButton::click, Qt::QueuedConnection);
            break;
        case Step::Done:
            dialog->reject();
            break;
        }
    });
    driver.start();

    report::printRun(nullptr, [&layout] { return std::make_unique<report::ReportRun>(layout, nullptr); });

    QCOMPARE(step, Step::Done);
    QVERIFY(sawProperties);
    const QStringList english = m_untranslated.texts();
    QVERIFY2(english.isEmpty(), qPrintable(english.join(u'\n')));
}

// Qt's own catalogue has no Italian for its answer to a wrong page list.
void TestItalian::wrongPageListAnsweredInItalian()
{
    QPrinter printer;
    QPrintDialog dialog(&printer);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange);
    auto *pages = dialog.findChild<QRadioButton *>(QStringLiteral("pagesRadioButton"));
    auto *pagesText = dialog.findChild<QLineEdit *>(QStringLiteral("pagesLineEdit"));
    QVERIFY(pages && pagesText);
    pages->setChecked(true);
    pagesText->setText(QStringLiteral("tre"));

    QString title;
    QString text;
    QTimer::singleShot(10, &dialog, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        }
    });
    dialog.accept();

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(title, QStringLiteral("Pagine indicate non valide"));
    QVERIFY2(text.startsWith(QStringLiteral("tre non rispetta la sintassi corretta.")), qPrintable(text));
    const QStringList english = m_untranslated.texts();
    QVERIFY2(english.isEmpty(), qPrintable(english.join(u'\n')));
}

void TestItalian::messageBoxAndEditMenuInItalian()
{
    QTimer::singleShot(10, qApp, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    app::reportFailure(QStringLiteral("prova"));

    QLineEdit edit(QStringLiteral("A"));
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QVERIFY(!menu->actions().isEmpty());

    const QStringList english = m_untranslated.texts();
    QVERIFY2(english.isEmpty(), qPrintable(english.join(u'\n')));
}

QTEST_MAIN(TestItalian)
#include "tst_italian.moc"
