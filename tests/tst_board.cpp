#include "board/cartellone.h"
#include "report/fonts.h"

#include <QPointer>
#include <QScreen>
#include <QtTest>

using board::StaticText;
using board::TCartelloneElettronico;

class TestBoard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void window();
    void cellFittedToCaption_data();
    void cellFittedToCaption();
    void cellRefitsToItsFont();
    void cellBorderAndBevel();
    void clickTurnsWindowAndCellWhite();
    void secondClickKeepsWhite();
    void notAClickChangesNothing_data();
    void notAClickChangesNothing();
    void newInstanceStartsWithButtonFace();
    void openingShowsAFreshWindowModallyAndDestroysIt();

private:
    QColor buttonFace() const { return QApplication::palette().color(QPalette::Window); }
};

namespace {

// Bottom-left pixel of the cell's inner area: below the baseline, so it
// shows the background and never the caption.
QRgb innerBackground(StaticText *cell)
{
    const QImage image = cell->grab().toImage();
    return image.pixel(StaticText::edgeWidth, image.height() - 1 - StaticText::edgeWidth);
}

} // namespace

void TestBoard::initTestCase()
{
    report::fonts::loadApplicationFonts();
    QVERIFY(buttonFace() != QColor(Qt::white));
}

void TestBoard::window()
{
    TCartelloneElettronico board;
    QCOMPARE(board.objectName(), QStringLiteral("CartelloneElettronico"));
    QCOMPARE(board.windowTitle(), QStringLiteral("CartelloneElettronico"));
    QCOMPARE(board.size(), QSize(667, 609));
    QVERIFY(board.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(board.windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(board.minimumSize() != board.maximumSize());
    QCOMPARE(board.font().pointSizeF(), 8.0);
    QVERIFY(!board.font().bold());
    QCOMPARE(board.palette().color(QPalette::Window), buttonFace());

    QVERIFY(board.StaticText1);
    QCOMPARE(board.StaticText1->caption(), QStringLiteral("1"));
    QCOMPARE(board.StaticText1->pos(), QPoint(8, 8));
    QCOMPARE(board.StaticText1->font().pointSizeF(), 25.0);
    QVERIFY(board.StaticText1->font().bold());
}

void TestBoard::cellFittedToCaption_data()
{
    QTest::addColumn<QSize>("windowSize");
    QTest::newRow("as created") << QSize();
    QTest::newRow("small window") << QSize(120, 90);
    QTest::newRow("large window") << QSize(1200, 1000);
}

void TestBoard::cellFittedToCaption()
{
    QFETCH(QSize, windowSize);

    TCartelloneElettronico board;
    if (windowSize.isValid())
        board.resize(windowSize);
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));

    const QFontMetrics metrics(board.StaticText1->font());
    // 25 pt at 96 pixels per inch is a 33 px character height.
    QVERIFY(metrics.ascent() + metrics.descent() >= 33);
    const QRect expected(8, 8, metrics.horizontalAdvance(QStringLiteral("1")) + 4,
                         metrics.ascent() + metrics.descent() + 4);
    QCOMPARE(board.StaticText1->geometry(), expected);
    QCOMPARE(board.StaticText1->fittedSize(), expected.size());
}

void TestBoard::cellRefitsToItsFont()
{
    StaticText cell(QStringLiteral("90"));
    cell.setFont(report::fonts::font(QStringLiteral("Tahoma"), 12, true));
    const QFontMetrics small(cell.font());
    QCOMPARE(cell.size(), QSize(small.horizontalAdvance(QStringLiteral("90")) + 4,
                                small.ascent() + small.descent() + 4));
    const QSize before = cell.size();
    cell.setFont(report::fonts::font(QStringLiteral("Tahoma"), 25, true));
    QVERIFY(cell.width() > before.width());
    QVERIFY(cell.height() > before.height());
    cell.setCaption(QStringLiteral("1"));
    QVERIFY(cell.width() < QFontMetrics(cell.font()).horizontalAdvance(QStringLiteral("90")));
}

void TestBoard::cellBorderAndBevel()
{
    TCartelloneElettronico board;
    const QPalette colours = board.StaticText1->palette();
    const QImage image = board.StaticText1->grab().toImage();
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    const auto colourAt = [&image](int x, int y) { return image.pixel(x, y); };

    QCOMPARE(colourAt(0, bottom / 2), colours.color(QPalette::Shadow).rgb());
    QCOMPARE(colourAt(right, bottom / 2), colours.color(QPalette::Shadow).rgb());
    QCOMPARE(colourAt(right / 2, 0), colours.color(QPalette::Shadow).rgb());
    QCOMPARE(colourAt(right / 2, bottom), colours.color(QPalette::Shadow).rgb());

    // Light on the top and left edges, dark on the bottom and right ones.
    QCOMPARE(colourAt(1, bottom / 2), colours.color(QPalette::Light).rgb());
    QCOMPARE(colourAt(right / 2, 1), colours.color(QPalette::Light).rgb());
    QCOMPARE(colourAt(2, bottom / 2), colours.color(QPalette::Midlight).rgb());
    QCOMPARE(colourAt(right - 1, bottom / 2), colours.color(QPalette::Shadow).rgb());
    QCOMPARE(colourAt(right / 2, bottom - 1), colours.color(QPalette::Shadow).rgb());
    QCOMPARE(colourAt(right - 2, bottom / 2), colours.color(QPalette::Dark).rgb());
    QCOMPARE(colourAt(right / 2, bottom - 2), colours.color(QPalette::Dark).rgb());

    QCOMPARE(innerBackground(board.StaticText1), buttonFace().rgb());
    // The caption is drawn inside, in the window-text colour.
    const QRgb text = colours.color(QPalette::WindowText).rgb();
    bool captionShown = false;
    for (int y = StaticText::edgeWidth; y <= bottom - StaticText::edgeWidth && !captionShown; ++y) {
        for (int x = StaticText::edgeWidth; x <= right - StaticText::edgeWidth; ++x) {
            if (colourAt(x, y) == text) {
                captionShown = true;
                break;
            }
        }
    }
    QVERIFY(captionShown);
}

void TestBoard::clickTurnsWindowAndCellWhite()
{
    TCartelloneElettronico board;
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    const QColor windowText = board.StaticText1->palette().color(QPalette::WindowText);

    QTest::mouseClick(board.StaticText1, Qt::LeftButton);
    QCOMPARE(board.palette().color(QPalette::Window), QColor(255, 255, 255));
    QCOMPARE(board.StaticText1->palette().color(QPalette::Window), QColor(255, 255, 255));
    QCOMPARE(innerBackground(board.StaticText1), qRgb(255, 255, 255));
    QCOMPARE(board.grab().toImage().pixel(board.width() - 5, board.height() - 5),
             qRgb(255, 255, 255));
    QCOMPARE(board.StaticText1->palette().color(QPalette::WindowText), windowText);
    QCOMPARE(windowText, QApplication::palette().color(QPalette::WindowText));
}

void TestBoard::secondClickKeepsWhite()
{
    TCartelloneElettronico board;
    QTest::mouseClick(board.StaticText1, Qt::LeftButton);
    const QPalette afterFirst = board.palette();
    QTest::mouseClick(board.StaticText1, Qt::LeftButton);
    QCOMPARE(board.palette().color(QPalette::Window), QColor(255, 255, 255));
    QCOMPARE(board.palette(), afterFirst);
    QCOMPARE(board.StaticText1->geometry().topLeft(), QPoint(8, 8));
}

void TestBoard::notAClickChangesNothing_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("releasedInside");

    QTest::newRow("right button") << int(Qt::RightButton) << true;
    QTest::newRow("middle button") << int(Qt::MiddleButton) << true;
    QTest::newRow("left button released outside") << int(Qt::LeftButton) << false;
}

void TestBoard::notAClickChangesNothing()
{
    QFETCH(int, button);
    QFETCH(bool, releasedInside);

    TCartelloneElettronico board;
    StaticText *cell = board.StaticText1;
    const QPoint inside = cell->rect().center();
    const QPoint release = releasedInside ? inside : QPoint(cell->width() + 30, inside.y());
    QTest::mousePress(cell, Qt::MouseButton(button), {}, inside);
    QTest::mouseRelease(cell, Qt::MouseButton(button), {}, release);
    QCOMPARE(board.palette().color(QPalette::Window), buttonFace());
}

void TestBoard::newInstanceStartsWithButtonFace()
{
    {
        TCartelloneElettronico first;
        QTest::mouseClick(first.StaticText1, Qt::LeftButton);
        QCOMPARE(first.palette().color(QPalette::Window), QColor(255, 255, 255));
    }
    TCartelloneElettronico second;
    QCOMPARE(second.palette().color(QPalette::Window), buttonFace());
    QCOMPARE(innerBackground(second.StaticText1), buttonFace().rgb());
}

void TestBoard::openingShowsAFreshWindowModallyAndDestroysIt()
{
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));

    QPointer<TCartelloneElettronico> opened;
    bool modal = false;
    bool visible = false;
    QColor colour;
    QPoint centreOffset;
    QTimer::singleShot(0, &owner, [&] {
        opened = owner.findChild<TCartelloneElettronico *>();
        if (!opened)
            return;
        modal = QApplication::activeModalWidget() == opened;
        visible = opened->isVisible();
        colour = opened->palette().color(QPalette::Window);
        const QRect screen = opened->screen()->availableGeometry();
        centreOffset = opened->frameGeometry().center() - screen.center();
        opened->close();
    });
    board::openElectronicBoard(&owner);

    QVERIFY(modal);
    QVERIFY(visible);
    QCOMPARE(colour, buttonFace());
    QVERIFY2(centreOffset.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1, %2").arg(centreOffset.x()).arg(centreOffset.y())));
    QVERIFY(opened.isNull());
    QVERIFY(owner.findChildren<TCartelloneElettronico *>().isEmpty());
}

QTEST_MAIN(TestBoard)
#include "tst_board.moc"
