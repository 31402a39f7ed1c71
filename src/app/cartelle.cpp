#include "app/cartelle.h"

#include "app/failurereport.h"
#include "app/resources.h"
#include "board/cartellone.h"
#include "report/fonts.h"
#include "report/run.h"
#include "report/ui/previewwindow.h"
#include "sheets/boardsheet.h"
#include "sheets/cardsheet.h"
#include "widgets/linkfield.h"
#include "widgets/picturebutton.h"
#include "widgets/spinedit.h"
#include "widgets/statusbar.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int clientWidth = 385;
constexpr int clientHeight = 224;

const char linkTarget[] = "numerella.example";
const char statusNotice[] =
    "Numerella - Laboratorio Tombola Creativa, Via dei Numeri 90, Borgo Fortuna";

QFont windowFont(const QString &family, qreal pointSize, bool bold = false)
{
    QFont font = report::fonts::font(family, pointSize, bold);
    font.setHintingPreference(QFont::PreferDefaultHinting);
    return font;
}

QLabel *label(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *result = new QLabel(text, parent);
    result->setGeometry(geometry);
    return result;
}

} // namespace

TCartelle::TCartelle(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
{
    app::ensureResources();
    ReportTombola = sheets::cardSheetLayout();
    ReportCartellone = sheets::boardSheetLayout();
    ADODataSetSelezione.setCommandText(QString::fromLatin1(store::startQuery));
    showReport = report::showPreview;
    buildControls();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    app::guarded([this] { FormCreate(); });
}

TCartelle::~TCartelle()
{
    hide();
    app::guarded([this] { FormDestroy(); });
}

void TCartelle::buildControls()
{
    setObjectName(QStringLiteral("Cartelle"));
    setWindowTitle(QStringLiteral("Numerella"));
    setFixedSize(clientWidth, clientHeight);
    setFont(windowFont(QStringLiteral("Tahoma"), 8));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    // Tab order follows creation order within each parent, and the window's
    // chain is set below: count, card print, series, board print, link.
    GroupBox1 = new QGroupBox(QStringLiteral("Numero di Cartelle da Stampare "), this);
    GroupBox1->setGeometry(8, 136, 369, 62);

    NumeroCartelle = new widgets::SpinEdit(GroupBox1);
    NumeroCartelle->setRange(1, 6000);
    NumeroCartelle->setValue(1);
    NumeroCartelle->setFont(windowFont(QStringLiteral("Courier New"), 18, true));
    NumeroCartelle->setGeometry(11, 19, 151, NumeroCartelle->sizeHint().height());

    const QImage printerImage(QStringLiteral(":/app/printer.png"));
    const QPixmap printer = widgets::PictureButton::maskedPixmap(printerImage, QColor(255, 0, 255));
    cxButton2 = new widgets::PictureButton(QStringLiteral("Anteprima e Stampa"), printer, GroupBox1);
    cxButton2->setGeometry(214, 19, 144, 33);

    Edit1 = new QLineEdit(QStringLiteral("A"), GroupBox1);
    Edit1->setGeometry(168, 24, 40, 26);
    Edit1->setFont(windowFont(QStringLiteral("Courier New"), 12, true));

    GroupBox2 = new QGroupBox(QStringLiteral("Cartellone"), this);
    GroupBox2->setGeometry(208, 68, 169, 62);
    cxButton1 = new widgets::PictureButton(QStringLiteral("Anteprima e Stampa"), printer, GroupBox2);
    cxButton1->setGeometry(14, 18, 144, 33);

    Panel1 = new QFrame(this);
    Panel1->setGeometry(0, 0, clientWidth, 62);
    Panel1->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);   // 2 px sunken border
    Panel1->setLineWidth(2);
    Panel1->setAutoFillBackground(true);
    QPalette panelPalette = Panel1->palette();
    panelPalette.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(panelPalette);
    Panel1->setFocusPolicy(Qt::NoFocus);
    Image1 = new QLabel(Panel1);
    Image1->setGeometry(2, 2, 381, 58);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(QPixmap(QStringLiteral(":/app/banner.png")));

    cxHyperLinkEdit1 = new widgets::LinkField(QString::fromLatin1(linkTarget), this);
    cxHyperLinkEdit1->move(80, 113);
    cxHyperLinkEdit1->resize(102, cxHyperLinkEdit1->sizeHint().height());

    dxStatusBar1 = new widgets::StatusBar(this);
    dxStatusBar1->setGeometry(0, 204, clientWidth, 20);
    dxStatusBar1->setFont(windowFont(QStringLiteral("Tahoma"), 8));
    dxStatusBar1->setText(QString::fromUtf8(statusNotice));

    const QImage windowImage(QStringLiteral(":/app/window.png"));
    cxButton3 = new widgets::PictureButton(
        QStringLiteral("Cartellone Elettronico"),
        widgets::PictureButton::maskedPixmap(windowImage, windowImage.pixelColor(0, windowImage.height() - 1)),
        this);
    cxButton3->setGeometry(222, 121, 144, 33);
    cxButton3->setVisible(false);
    cxButton3->setEnabled(false);

    Label4 = label(QStringLiteral("Generatore di Cartelle"), QRect(10, 76, 183, 23), this);
    Label4->setFont(windowFont(QStringLiteral("Tahoma"), 14));
    Label2 = label(QStringLiteral("Vuoi ricevere  i nostri aggiornamenti"), QRect(16, 102, 171, 13), this);
    Label3 = label(QStringLiteral("visita il sito "), QRect(22, 114, 55, 13), this);
    for (QLabel *text : {Label4, Label2, Label3}) {
        text->setTextFormat(Qt::PlainText);
        text->adjustSize();
    }

    setTabOrder(NumeroCartelle, cxButton2);
    setTabOrder(cxButton2, Edit1);
    setTabOrder(Edit1, cxButton1);
    setTabOrder(cxButton1, cxHyperLinkEdit1);
    setTabOrder(cxHyperLinkEdit1, NumeroCartelle);
    NumeroCartelle->setFocus(Qt::OtherFocusReason);

    connect(cxButton2, &QPushButton::clicked, this, [this] { app::guarded([this] { Button1Click(); }); });
    connect(cxButton1, &QPushButton::clicked, this, [this] { app::guarded([this] { Button2Click(); }); });
    connect(cxButton3, &QPushButton::clicked, this, [this] { app::guarded([this] { cxButton3Click(); }); });
}

void TCartelle::FormCreate()
{
    ADOConnection.setConnectionString(QString::fromLatin1(store::cardStoreConnectionString));
    ADOConnection.open();
    ADODataSetSelezione.open();
}

void TCartelle::FormDestroy()
{
    ADODataSetSelezione.close();
    ADOConnection.close();
    ADOConnection.setConnectionString(QString());
}

void TCartelle::Button1Click()
{
    const int cardCount = NumeroCartelle->value();
    ADODataSetSelezione.close();
    ADODataSetSelezione.setCommandText(store::selectionQuery(cardCount));
    ADODataSetSelezione.open();
    sheets::setSeriesLetter(ReportTombola, Edit1->text());

    DBPipeReport.prepare();
    const report::Layout layout = ReportTombola;
    const store::DBPipeline *pipeline = &DBPipeReport;
    showReport(this, [layout, pipeline] {
        return std::make_unique<report::ReportRun>(layout, pipeline);
    });
}

void TCartelle::Button2Click()
{
    sheets::writeBoardNumbers(ReportCartellone);
    const report::Layout layout = ReportCartellone;
    showReport(this, [layout] {
        return std::make_unique<report::ReportRun>(layout, nullptr);
    });
}

void TCartelle::cxButton3Click()
{
    board::openElectronicBoard(this);
}
