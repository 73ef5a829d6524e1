#pragma once

#include <QPair>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace Ui {
class PrintAccessoryView;
}

// The print options tab of the print dialog: the four switches of the report's sections, bound
// to their preferences (a change is stored at once and a change made elsewhere is shown), and
// the summary of the four choices.
class PrintAccessoryView : public QWidget
{
    Q_OBJECT
public:
    explicit PrintAccessoryView(QWidget *parent = nullptr);
    ~PrintAccessoryView() override;

    // (name, description) of the four sections, in order: information, averages, readings,
    // chart; the description is the localised "yes" or "no", read afresh at every call.
    static QList<QPair<QString, QString>> localizedSummaryItems();
    // The preferences whose change changes the preview: the report view's fourteen.
    static QStringList keyPathsForValuesAffectingPreview();

private:
    void updateSummary();

    std::unique_ptr<Ui::PrintAccessoryView> ui;
};
