#pragma once

#include <QObject>
#include <QPageLayout>

#include <memory>

class MyWindowController;
class PrintAccessoryView;
class PrintView;
class QPrinter;

// The printing of one document window: page setup, print (through the print dialog or straight
// to the default printer), print preview, PDF export and the CSV export dialog. Each of them makes
// a report view of its own and releases it when done. The window owns it and wires its menus to it;
// the dialogs are the window's, and each is reported to the window when it has opened.
class WindowPrinting : public QObject
{
    Q_OBJECT
public:
    explicit WindowPrinting(MyWindowController *window);

    // The document's page layout as stored with it.
    QPageLayout pageLayout() const;
    void pageSetup();
    void printWithPanel();
    // Straight to the default printer.
    void printWithoutPanel();
    void printPreview();
    void exportPdf();
    void exportCsv();

    // The print options tab of the print dialog, made on first use and kept by the window.
    PrintAccessoryView *printAccessoryView();
    // A fresh report view of the document as the window shows it, on the page layout.
    std::unique_ptr<PrintView> makePrintView(const QPageLayout &layout) const;
    // Prints the pages the printer's range names (all when it names none); false with a message
    // when the printer refuses.
    bool printOn(QPrinter &printer, QString *errorMessage = nullptr);

    // The report views alive and made, for the tests of their release.
    static int livePrintViews();
    static int madePrintViews();

private:
    void storePageLayout(const QPageLayout &layout);
    QString docName() const;

    MyWindowController *pWindow;
    PrintAccessoryView *pPrintAccessoryView = nullptr;
};
