#include "PrintAccessoryView.h"

#include "PreferenceBinding.h"
#include "Preferences.h"
#include "PrintView.h"
#include "ui_PrintAccessoryView.h"

#include <QCheckBox>

namespace {

struct Section
{
    const char *nameKey;
    QLatin1String preference;
};

const Section kSections[] = {
    {QT_TRID_NOOP("print.summary.print_information"), Preferences::printShowInformation},
    {QT_TRID_NOOP("print.summary.print_averages"), Preferences::printShowAverages},
    {QT_TRID_NOOP("print.summary.print_measurements"), Preferences::printShowMeasurements},
    {QT_TRID_NOOP("print.summary.print_chart"), Preferences::printShowChart},
};

} // namespace

PrintAccessoryView::PrintAccessoryView(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::PrintAccessoryView>())
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("PrintAccessoryView"));
    PreferenceBinding::bind(ui->printShowInformation, "checked", Preferences::printShowInformation);
    PreferenceBinding::bind(ui->printShowAverages, "checked", Preferences::printShowAverages);
    PreferenceBinding::bind(ui->printShowMeasurements, "checked",
                            Preferences::printShowMeasurements);
    PreferenceBinding::bind(ui->printShowChart, "checked", Preferences::printShowChart);
    ui->summary->setAccessibleName(qtTrId("window.print_options.summary"));
    // Secondary text: the switches above say the same in full.
    QPalette muted = ui->summary->palette();
    muted.setColor(QPalette::WindowText, muted.color(QPalette::Disabled, QPalette::WindowText));
    ui->summary->setPalette(muted);
    connect(&Preferences::shared(), &Preferences::changed, this, [this](const QString &key) {
        for (const Section &section : kSections) {
            if (key == section.preference)
                updateSummary();
        }
    });
    updateSummary();
}

PrintAccessoryView::~PrintAccessoryView() = default;

QList<QPair<QString, QString>> PrintAccessoryView::localizedSummaryItems()
{
    QList<QPair<QString, QString>> items;
    for (const Section &section : kSections)
        items.append({qtTrId(section.nameKey), Preferences::shared().boolForKey(section.preference)
                                                   ? qtTrId("yes")
                                                   : qtTrId("no")});
    return items;
}

QStringList PrintAccessoryView::keyPathsForValuesAffectingPreview()
{
    return PrintView::observedKeys();
}

void PrintAccessoryView::updateSummary()
{
    QStringList lines;
    for (const auto &[name, description] : localizedSummaryItems())
        lines.append(qtTrId("window.print_options.summary_line").arg(name, description));
    ui->summary->setText(lines.join(QStringLiteral(" · ")));
    setAccessibleDescription(ui->summary->text());
}
