#pragma once

// What a window controller offers to print its document. The document asks the first of its
// window controllers that implements it (MyDocument::printShowingPrintPanel()).
class DocumentPrinter
{
public:
    virtual ~DocumentPrinter() = default;
    // Prints the document shown in the window; with showPanel, through the print dialog.
    virtual void doPrintDocument(bool showPanel) = 0;
};
