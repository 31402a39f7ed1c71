#pragma once

#include "report/layout.h"
#include "report/ui/runfactory.h"
#include "store/cardstore.h"

#include <QWidget>

#include <functional>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace widgets {
class LinkField;
class PictureButton;
class SpinEdit;
class StatusBar;
} // namespace widgets

// The main window: the card count and series letter, the two print
// commands, and the card store's data chain, which lives as long as the window.
class TCartelle : public QWidget
{
    Q_OBJECT

public:
    // Builds every control, then opens the card store; a failure to open it
    // is reported before the window shows, and the window opens all the same.
    explicit TCartelle(QWidget *parent = nullptr);
    ~TCartelle() override;

    // Controls, named as in the window's layout.
    QFrame *Panel1 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    widgets::LinkField *cxHyperLinkEdit1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    widgets::PictureButton *cxButton1 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    widgets::SpinEdit *NumeroCartelle = nullptr;
    widgets::PictureButton *cxButton2 = nullptr;
    QLineEdit *Edit1 = nullptr;
    widgets::PictureButton *cxButton3 = nullptr;
    widgets::StatusBar *dxStatusBar1 = nullptr;

    // The card store's data chain and the two sheets.
    store::Connection ADOConnection;
    store::QueryDataSet ADODataSetSelezione{&ADOConnection};
    store::DataSource DataSourceCartelle{&ADODataSetSelezione};
    store::DBPipeline DBPipeReport{&DataSourceCartelle};
    report::Layout ReportTombola;
    report::Layout ReportCartellone;

    // Where a sheet run goes: the modal print preview. Tests look at the runs instead.
    std::function<void(QWidget *parent, const report::RunFactory &makeRun)> showReport;

    // Handlers. They raise failures; the bindings run them guarded.
    void FormCreate();
    void FormDestroy();
    void Button1Click();   // card printing command
    void Button2Click();   // board printing command
    void cxButton3Click(); // electronic board

private:
    void buildControls();
};
