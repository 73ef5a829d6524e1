#include "PrintAccessoryView.h"

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
    // TODO(lead): PreferenceBinding::bind(box, "checked", key) once it is in main; this is the
    // same two-way binding done locally.
    bindSwitch(ui->printShowInformation, Preferences::printShowInformation);
    bindSwitch(ui->printShowAverages, Preferences::printShowAverages);
    bindSwitch(ui->printShowMeasurements, Preferences::printShowMeasurements);
    bindSwitch(ui->printShowChart, Preferences::printShowChart);
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

void PrintAccessoryView::bindSwitch(QCheckBox *box, const QString &key)
{
    box->setChecked(Preferences::shared().boolForKey(key));
    connect(box, &QCheckBox::toggled, this, [key](bool on) {
        if (Preferences::shared().boolForKey(key) != on)
            Preferences::shared().setValueForKey(on, key);
    });
    connect(&Preferences::shared(), &Preferences::changed, box, [box, key](const QString &changed) {
        if (changed == key)
            box->setChecked(Preferences::shared().boolForKey(key));
    });
}

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
