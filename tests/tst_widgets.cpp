#include "report/fonts.h"
#include "widgets/linkfield.h"
#include "widgets/picturebutton.h"
#include "widgets/spinedit.h"
#include "widgets/statusbar.h"

#include <QClipboard>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using widgets::LinkField;
using widgets::PictureButton;
using widgets::SpinEdit;
using widgets::StatusBar;

namespace {

// Counts the presses of Return and Enter that reach the watched widget.
class EnterPressCounter : public QObject
{
public:
    using QObject::QObject;
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                ++count;
        }
        return QObject::eventFilter(watched, event);
    }
};

// A shown, active window holding a count field between two buttons, so that
// focus, Tab and the wheel behave as in the program.
struct CountFieldWindow
{
    QWidget window;
    QPushButton *before = new QPushButton(QStringLiteral("prima"), &window);
    SpinEdit *field = new SpinEdit(&window);
    QPushButton *after = new QPushButton(QStringLiteral("dopo"), &window);
    int beeps = 0;

    CountFieldWindow()
    {
        auto *layout = new QHBoxLayout(&window);
        layout->addWidget(before);
        layout->addWidget(field);
        layout->addWidget(after);
        field->setBeepHook([this] { ++beeps; });
    }

    bool showActive()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

    QLineEdit *editor() const { return qobject_cast<QLineEdit *>(field->focusProxy()); }
};

void fireTimer(QTimer *timer)
{
    QMetaObject::invokeMethod(timer, "timeout");
}

bool isDark(QRgb pixel)
{
    return qGray(pixel) < 128;
}

} // namespace

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void countFieldStartsAtOneWithinItsLimits();
    void countFieldShowsPlainDigits();
    void countFieldStepButtons_data();
    void countFieldStepButtons();
    void countFieldKeys_data();
    void countFieldKeys();
    void countFieldRepeatsHeldKeys();
    void countFieldWheel_data();
    void countFieldWheel();
    void countFieldRefusesTyping_data();
    void countFieldRefusesTyping();
    void countFieldIgnoresEditingCommands_data();
    void countFieldIgnoresEditingCommands();
    void countFieldTextCanBeSelected();
    void countFieldRepeatsWhileHeld_data();
    void countFieldRepeatsWhileHeld();
    void countFieldRepeatsInRealTime();
    void countFieldIsOneTabStop();
    void countFieldHeightIsOneLine();

    void linkFieldLook();
    void linkFieldFollowsWindowColour();
    void linkFieldPlainClickOpensTrimmedText();
    void linkFieldDragSelectionOpensNothing();
    void linkFieldEmptyTextOpensNothing_data();
    void linkFieldEmptyTextOpensNothing();
    void linkFieldCtrlEnter_data();
    void linkFieldCtrlEnter();

    void pictureButtonKeys_data();
    void pictureButtonKeys();
    void pictureButtonCentresPictureAndCaption();
    void maskedPixmapHidesKeyColour();
    void appPicturesHaveTheirKeyColour_data();
    void appPicturesHaveTheirKeyColour();

    void statusBarCutsTextWithoutEllipsis();
};

void TestWidgets::initTestCase()
{
    Q_INIT_RESOURCE(app);
    report::fonts::loadApplicationFonts();
}

void TestWidgets::countFieldStartsAtOneWithinItsLimits()
{
    SpinEdit field;
    QCOMPARE(field.value(), 1);
    QCOMPARE(field.minimum(), 1);
    QCOMPARE(field.maximum(), 6000);

    QSignalSpy changes(&field, &SpinEdit::valueChanged);
    field.setValue(7000);
    QCOMPARE(field.value(), 6000);
    field.setValue(6000);
    field.setValue(0);
    QCOMPARE(field.value(), 1);
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes.at(0).at(0).toInt(), 6000);
    QCOMPARE(changes.at(1).at(0).toInt(), 1);
}

void TestWidgets::countFieldShowsPlainDigits()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    SpinEdit field;
    field.setValue(5995);
    QLocale::setDefault(QLocale::c());
    auto *editor = qobject_cast<QLineEdit *>(field.focusProxy());
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("5995"));
    QVERIFY(editor->alignment() & Qt::AlignLeft);
}

void TestWidgets::countFieldStepButtons_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<SpinEdit::Step>("step");
    QTest::addColumn<int>("expected");

    QTest::newRow("1 back 1") << 1 << SpinEdit::Step::BackOne << 1;
    QTest::newRow("1 back 10") << 1 << SpinEdit::Step::BackTen << 1;
    QTest::newRow("6000 forward 1") << 6000 << SpinEdit::Step::ForwardOne << 6000;
    QTest::newRow("6000 forward 10") << 6000 << SpinEdit::Step::ForwardTen << 6000;
    QTest::newRow("5995 forward 10") << 5995 << SpinEdit::Step::ForwardTen << 6000;
    QTest::newRow("4 back 10") << 4 << SpinEdit::Step::BackTen << 1;
    QTest::newRow("7 forward 10") << 7 << SpinEdit::Step::ForwardTen << 17;
    QTest::newRow("7 forward 1") << 7 << SpinEdit::Step::ForwardOne << 8;
    QTest::newRow("7 back 1") << 7 << SpinEdit::Step::BackOne << 6;
    QTest::newRow("30 back 10") << 30 << SpinEdit::Step::BackTen << 20;
}

void TestWidgets::countFieldStepButtons()
{
    QFETCH(int, start);
    QFETCH(SpinEdit::Step, step);
    QFETCH(int, expected);

    SpinEdit field;
    field.resize(151, field.height());
    field.setValue(start);
    QTest::mouseClick(field.stepButton(step), Qt::LeftButton);
    QCOMPARE(field.value(), expected);
    QVERIFY(!field.repeatTimer()->isActive());
}

void TestWidgets::countFieldKeys_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("expected");

    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    QTest::newRow("Up") << 100 << int(Qt::Key_Up) << none << 100;
    QTest::newRow("Down") << 100 << int(Qt::Key_Down) << none << 100;
    QTest::newRow("PageUp") << 100 << int(Qt::Key_PageUp) << none << 100;
    QTest::newRow("PageDown") << 100 << int(Qt::Key_PageDown) << none << 100;
    QTest::newRow("Ctrl+Up") << 100 << int(Qt::Key_Up) << ctrl << 101;
    QTest::newRow("Ctrl+Down") << 100 << int(Qt::Key_Down) << ctrl << 99;
    QTest::newRow("Ctrl+PageUp") << 100 << int(Qt::Key_PageUp) << ctrl << 110;
    QTest::newRow("Ctrl+PageDown") << 100 << int(Qt::Key_PageDown) << ctrl << 90;
    QTest::newRow("Ctrl+PageUp near the top") << 5995 << int(Qt::Key_PageUp) << ctrl << 6000;
    QTest::newRow("Ctrl+Down at the bottom") << 1 << int(Qt::Key_Down) << ctrl << 1;
}

void TestWidgets::countFieldKeys()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, expected);

    CountFieldWindow host;
    QVERIFY(host.showActive());
    host.field->setFocus();
    host.field->setValue(start);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    QCOMPARE(host.field->value(), expected);
    QCOMPARE(host.editor()->text(), QString::number(expected));
    QCOMPARE(host.beeps, 0);
}

void TestWidgets::countFieldRepeatsHeldKeys()
{
    SpinEdit field;
    field.setValue(100);
    QWidget *editor = field.focusProxy();
    for (bool repeated : {false, true, true}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Up, Qt::ControlModifier, QString(), repeated);
        QApplication::sendEvent(editor, &press);
    }
    QCOMPARE(field.value(), 103);
}

void TestWidgets::countFieldWheel_data()
{
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<int>("expected");

    QTest::newRow("a notch away") << QList<int>{120} << true << 101;
    QTest::newRow("a notch towards") << QList<int>{-120} << true << 99;
    QTest::newRow("two notches away") << QList<int>{240} << true << 102;
    QTest::newRow("half notches add up") << QList<int>{60, 60, 60} << true << 101;
    QTest::newRow("without focus") << QList<int>{120} << false << 100;
}

void TestWidgets::countFieldWheel()
{
    QFETCH(QList<int>, deltas);
    QFETCH(bool, focused);
    QFETCH(int, expected);

    CountFieldWindow host;
    QVERIFY(host.showActive());
    if (focused)
        host.field->setFocus();
    else
        host.before->setFocus();
    QCOMPARE(host.field->hasFocus(), focused);
    host.field->setValue(100);

    const QPointF centre = QRectF(host.field->rect()).center();
    for (int delta : deltas) {
        QWheelEvent wheel(centre, host.field->mapToGlobal(centre), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(host.field, &wheel);
    }
    QCOMPARE(host.field->value(), expected);
}

void TestWidgets::countFieldRefusesTyping_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");

    QTest::newRow("digit") << int(Qt::Key_5) << Qt::KeyboardModifiers();
    QTest::newRow("letter") << int(Qt::Key_A) << Qt::KeyboardModifiers();
    QTest::newRow("capital letter") << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("blank") << int(Qt::Key_Space) << Qt::KeyboardModifiers();
    QTest::newRow("minus") << int(Qt::Key_Minus) << Qt::KeyboardModifiers();
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << Qt::KeyboardModifiers();
}

void TestWidgets::countFieldRefusesTyping()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    CountFieldWindow host;
    host.field->setValue(42);
    host.editor()->end(false);
    QTest::keyClick(host.editor(), Qt::Key(key), modifiers);
    QCOMPARE(host.beeps, 1);
    QCOMPARE(host.field->value(), 42);
    QCOMPARE(host.editor()->text(), QStringLiteral("42"));
}

void TestWidgets::countFieldIgnoresEditingCommands_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");

    QTest::newRow("Delete") << int(Qt::Key_Delete) << Qt::KeyboardModifiers();
    QTest::newRow("cut") << int(Qt::Key_X) << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("cut with Shift+Delete")
        << int(Qt::Key_Delete) << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("paste") << int(Qt::Key_V) << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("paste with Shift+Insert")
        << int(Qt::Key_Insert) << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("copy") << int(Qt::Key_C) << Qt::KeyboardModifiers(Qt::ControlModifier);
}

void TestWidgets::countFieldIgnoresEditingCommands()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    QGuiApplication::clipboard()->setText(QStringLiteral("99"));
    CountFieldWindow host;
    host.field->setValue(42);
    host.editor()->selectAll();
    QTest::keyClick(host.editor(), Qt::Key(key), modifiers);
    QCOMPARE(host.field->value(), 42);
    QCOMPARE(host.editor()->text(), QStringLiteral("42"));
    QCOMPARE(host.beeps, 0);
}

void TestWidgets::countFieldTextCanBeSelected()
{
    CountFieldWindow host;
    QVERIFY(host.showActive());
    host.field->setFocus();
    host.field->setValue(1234);
    QLineEdit *editor = host.editor();
    QCOMPARE(QApplication::focusWidget(), editor);

    editor->home(false);
    QTest::keyClick(editor, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(editor, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(editor->selectedText(), QStringLiteral("12"));

    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(editor->selectedText(), QStringLiteral("1234"));
    QCOMPARE(host.beeps, 0);
}

void TestWidgets::countFieldRepeatsWhileHeld_data()
{
    QTest::addColumn<SpinEdit::Step>("step");
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("values"); // at the press, then at each repeat

    QTest::newRow("forward 1")
        << SpinEdit::Step::ForwardOne << 100 << QList<int>{101, 102, 103, 104};
    QTest::newRow("back 10") << SpinEdit::Step::BackTen << 500 << QList<int>{490, 480, 470, 460};
    QTest::newRow("forward 1 up to 6000")
        << SpinEdit::Step::ForwardOne << 5998 << QList<int>{5999, 6000, 6000, 6000};
    QTest::newRow("forward 10 up to 6000")
        << SpinEdit::Step::ForwardTen << 5985 << QList<int>{5995, 6000, 6000, 6000};
    QTest::newRow("back 1 down to 1") << SpinEdit::Step::BackOne << 2 << QList<int>{1, 1, 1, 1};
}

void TestWidgets::countFieldRepeatsWhileHeld()
{
    QFETCH(SpinEdit::Step, step);
    QFETCH(int, start);
    QFETCH(QList<int>, values);

    SpinEdit field;
    field.resize(151, field.height());
    field.setValue(start);
    QWidget *button = field.stepButton(step);
    QTimer *timer = field.repeatTimer();

    QTest::mousePress(button, Qt::LeftButton);
    QCOMPARE(field.value(), values.at(0));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), SpinEdit::repeatDelay);
    QCOMPARE(SpinEdit::repeatDelay, 400);

    for (qsizetype i = 1; i < values.size(); ++i) {
        fireTimer(timer);
        QCOMPARE(field.value(), values.at(i));
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), SpinEdit::repeatInterval);
    }
    QCOMPARE(SpinEdit::repeatInterval, 100);

    QTest::mouseRelease(button, Qt::LeftButton);
    QVERIFY(!timer->isActive());
    QCOMPARE(field.value(), values.last());

    // The next press waits the long delay again.
    QTest::mousePress(button, Qt::LeftButton);
    QCOMPARE(timer->interval(), SpinEdit::repeatDelay);
    QTest::mouseRelease(button, Qt::LeftButton);
}

void TestWidgets::countFieldRepeatsInRealTime()
{
    SpinEdit field;
    field.resize(151, field.height());
    field.setValue(10);
    QWidget *button = field.stepButton(SpinEdit::Step::ForwardOne);

    QTest::mousePress(button, Qt::LeftButton);
    QCOMPARE(field.value(), 11);
    QTRY_VERIFY_WITH_TIMEOUT(field.value() >= 13, 10000);
    QTest::mouseRelease(button, Qt::LeftButton);
    const int released = field.value();
    QTest::qWait(3 * SpinEdit::repeatDelay);
    QCOMPARE(field.value(), released);
}

void TestWidgets::countFieldIsOneTabStop()
{
    CountFieldWindow host;
    QVERIFY(host.showActive());
    host.before->setFocus();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(host.field->hasFocus());
    QCOMPARE(QApplication::focusWidget(), host.editor());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), host.after);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), host.editor());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), host.before);
}

void TestWidgets::countFieldHeightIsOneLine()
{
    QWidget parent;
    auto *field = new SpinEdit(&parent);
    field->setFont(report::fonts::font(QStringLiteral("Courier New"), 18, true));
    field->setGeometry(19, 155, 151, 80);
    const int large = field->height();
    QVERIFY(large > field->fontMetrics().height());
    QVERIFY(large < 2 * field->fontMetrics().height());

    field->setFont(report::fonts::font(QStringLiteral("Courier New"), 8));
    QVERIFY(field->height() < large);
    QVERIFY(field->height() > field->fontMetrics().height());
    QCOMPARE(field->width(), 151);
}

void TestWidgets::linkFieldLook()
{
    QWidget window;
    auto *field = new LinkField(QStringLiteral("www.numerella.it"), &window);
    field->setGeometry(10, 10, 102, field->height());
    window.resize(200, 60);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QVERIFY(field->isReadOnly());
    QVERIFY(!field->hasFrame());
    QVERIFY(field->font().underline());
    QCOMPARE(field->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(field->focusPolicy() & Qt::TabFocus);
    QCOMPARE(field->palette().color(QPalette::Text), QColor(0, 0, 255));
    const QColor windowColour = window.palette().color(QPalette::Window);
    QCOMPARE(field->palette().color(QPalette::Base), windowColour);

    // No border in either state: the edges show the window's colour.
    for (bool focused : {false, true}) {
        if (focused) {
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            field->setFocus();
            QVERIFY(field->hasFocus());
        }
        const QImage image = field->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            QCOMPARE(image.pixelColor(0, y), windowColour);
        for (int x = 0; x < image.width(); ++x) {
            QCOMPARE(image.pixelColor(x, 0), windowColour);
            QCOMPARE(image.pixelColor(x, image.height() - 1), windowColour);
        }
        bool blue = false;
        for (int y = 0; y < image.height() && !blue; ++y) {
            for (int x = 0; x < image.width() && !blue; ++x)
                blue = image.pixelColor(x, y) == QColor(0, 0, 255);
        }
        QVERIFY(blue);
    }
}

void TestWidgets::linkFieldFollowsWindowColour()
{
    QWidget window;
    auto *field = new LinkField(QStringLiteral("www.numerella.it"), &window);
    QPalette colours = window.palette();
    colours.setColor(QPalette::Window, QColor(250, 240, 200));
    window.setPalette(colours);
    QCOMPARE(field->palette().color(QPalette::Base), QColor(250, 240, 200));
    QCOMPARE(field->palette().color(QPalette::Text), QColor(0, 0, 255));
}

void TestWidgets::linkFieldPlainClickOpensTrimmedText()
{
    LinkField field(QStringLiteral("  www.numerella.it \t"));
    field.resize(150, field.height());
    QStringList opened;
    field.setOpenHook([&opened](const QString &target) { opened.append(target); });

    QTest::mouseClick(&field, Qt::LeftButton, {}, QPoint(20, field.height() / 2));
    QCOMPARE(opened, QStringList{QStringLiteral("www.numerella.it")});

    QTest::mouseClick(&field, Qt::RightButton, {}, QPoint(20, field.height() / 2));
    QCOMPARE(opened.size(), 1);
}

void TestWidgets::linkFieldDragSelectionOpensNothing()
{
    LinkField field(QStringLiteral("www.numerella.it"));
    field.resize(150, field.height());
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    int opened = 0;
    field.setOpenHook([&opened](const QString &) { ++opened; });

    const int y = field.height() / 2;
    QTest::mousePress(&field, Qt::LeftButton, {}, QPoint(3, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, y), field.mapToGlobal(QPointF(60, y)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&field, &move);
    QTest::mouseRelease(&field, Qt::LeftButton, {}, QPoint(60, y));
    QVERIFY(field.hasSelectedText());
    QCOMPARE(opened, 0);

    // A plain click afterwards drops the selection and opens.
    QTest::mouseClick(&field, Qt::LeftButton, {}, QPoint(20, y));
    QVERIFY(!field.hasSelectedText());
    QCOMPARE(opened, 1);
}

void TestWidgets::linkFieldEmptyTextOpensNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks") << QStringLiteral("   ");
}

void TestWidgets::linkFieldEmptyTextOpensNothing()
{
    QFETCH(QString, text);

    LinkField field(text);
    field.resize(100, field.height());
    int opened = 0;
    field.setOpenHook([&opened](const QString &) { ++opened; });
    QTest::mouseClick(&field, Qt::LeftButton, {}, QPoint(10, field.height() / 2));
    QTest::keyClick(&field, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(opened, 0);
}

void TestWidgets::linkFieldCtrlEnter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("opens");

    QTest::newRow("Ctrl+Return") << int(Qt::Key_Return)
                                 << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
    QTest::newRow("Ctrl+Enter on the keypad")
        << int(Qt::Key_Enter) << (Qt::ControlModifier | Qt::KeypadModifier) << true;
    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << false;
    QTest::newRow("Shift+Return") << int(Qt::Key_Return)
                                  << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
}

void TestWidgets::linkFieldCtrlEnter()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, opens);

    QWidget window;
    auto *field = new LinkField(QStringLiteral(" www.numerella.it"), &window);
    EnterPressCounter reachingWindow;
    window.installEventFilter(&reachingWindow);
    QStringList opened;
    field->setOpenHook([&opened](const QString &target) { opened.append(target); });

    QTest::keyClick(field, Qt::Key(key), modifiers);
    QCOMPARE(opened, opens ? QStringList{QStringLiteral("www.numerella.it")} : QStringList());
    // The press that opens is consumed; any other goes on to the window.
    QCOMPARE(reachingWindow.count, opens ? 0 : 1);
}

void TestWidgets::pictureButtonKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("clicks");

    QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << 1;
    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 1;
    QTest::newRow("Enter on the keypad")
        << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 1;
    QTest::newRow("letter") << int(Qt::Key_A) << Qt::KeyboardModifiers() << 0;
    QTest::newRow("Ctrl+Return") << int(Qt::Key_Return)
                                 << Qt::KeyboardModifiers(Qt::ControlModifier) << 0;
}

void TestWidgets::pictureButtonKeys()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, clicks);

    QWidget window;
    auto *button = new PictureButton(QStringLiteral("Anteprima e Stampa"), QPixmap(), &window);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    button->setFocus();
    QVERIFY(button->hasFocus());

    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::keyClick(button, Qt::Key(key), modifiers);
    QCOMPARE(clicked.count(), clicks);
}

void TestWidgets::pictureButtonCentresPictureAndCaption()
{
    const QImage printer(QStringLiteral(":/app/printer.png"));
    QVERIFY(!printer.isNull());
    const QColor magenta(255, 0, 255);
    PictureButton button(QStringLiteral("Anteprima e Stampa"),
                         PictureButton::maskedPixmap(printer, magenta));
    button.resize(144, 33);

    const QRect picture = button.pictureRect();
    const QRect caption = button.captionRect();
    QCOMPARE(picture.size(), QSize(24, 24));
    QCOMPARE(picture.top(), (33 - 24) / 2);
    QCOMPARE(caption.left(), picture.right() + 1 + PictureButton::pictureSpacing);
    QCOMPARE(caption.width(), button.fontMetrics().horizontalAdvance(button.text()));
    const int leftRoom = picture.left();
    const int rightRoom = button.width() - (caption.right() + 1);
    QVERIFY2(qAbs(leftRoom - rightRoom) <= 1,
             qPrintable(QStringLiteral("%1 left, %2 right").arg(leftRoom).arg(rightRoom)));

    // Drawn there, with the magenta background left out.
    const QImage image = button.grab().toImage();
    int pictureColours = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QVERIFY(image.pixelColor(x, y) != magenta);
            if (picture.contains(x, y)
                && image.pixelColor(x, y) == printer.pixelColor(x - picture.left(),
                                                                y - picture.top()))
                ++pictureColours;
        }
    }
    QVERIFY(pictureColours > 24 * 24 / 4);
}

void TestWidgets::maskedPixmapHidesKeyColour()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    image.setPixelColor(1, 0, QColor(10, 20, 30));
    image.setPixelColor(2, 1, QColor(254, 0, 255));

    const QImage masked = PictureButton::maskedPixmap(image, QColor(255, 0, 255)).toImage();
    QCOMPARE(masked.size(), image.size());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            const bool kept = (x == 1 && y == 0) || (x == 2 && y == 1);
            QCOMPARE(masked.pixelColor(x, y).alpha(), kept ? 255 : 0);
            if (kept)
                QCOMPARE(masked.pixelColor(x, y), image.pixelColor(x, y));
        }
    }
}

void TestWidgets::appPicturesHaveTheirKeyColour_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("keyAtBottomLeft");

    QTest::newRow("printer") << QStringLiteral(":/app/printer.png") << QSize(24, 24) << false;
    QTest::newRow("window") << QStringLiteral(":/app/window.png") << QSize(16, 16) << true;
}

void TestWidgets::appPicturesHaveTheirKeyColour()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(bool, keyAtBottomLeft);

    const QImage image(path);
    QCOMPARE(image.size(), size);
    const QColor key = keyAtBottomLeft ? image.pixelColor(0, size.height() - 1)
                                       : QColor(255, 0, 255);
    const QImage masked = PictureButton::maskedPixmap(image, key).toImage();
    int transparent = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (masked.pixelColor(x, y).alpha() == 0)
                ++transparent;
        }
    }
    QCOMPARE(masked.pixelColor(0, size.height() - 1).alpha(), 0);
    QVERIFY(transparent > 0);
    QVERIFY(transparent < size.width() * size.height() / 2);
}

void TestWidgets::statusBarCutsTextWithoutEllipsis()
{
    StatusBar bar;
    QCOMPARE(bar.height(), 20);
    bar.setFont(report::fonts::font(QStringLiteral("Tahoma"), 8));
    bar.resize(120, 20);
    // Full blocks join into one dark band wherever text is drawn, so an
    // ellipsis would show as a gap and the insets as light columns.
    bar.setText(QString(80, QChar(0x2588)));
    const QImage image = bar.grab().toImage();
    const int y = image.height() / 2;
    const int inset = StatusBar::textInset;
    for (int x = 0; x < inset; ++x) {
        QVERIFY2(!isDark(image.pixel(x, y)), qPrintable(QString::number(x)));
        QVERIFY2(!isDark(image.pixel(image.width() - 1 - x, y)), qPrintable(QString::number(x)));
    }
    for (int x = inset; x < image.width() - inset; ++x)
        QVERIFY2(isDark(image.pixel(x, y)), qPrintable(QString::number(x)));
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
