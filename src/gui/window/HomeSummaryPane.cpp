#include "HomeSummaryPane.h"

#include "HomeSummary.h"
#include "MyDocument.h"
#include "Preferences.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

HomeSummaryPane::HomeSummaryPane(MyDocument *document, QWidget *parent)
    : QWidget(parent), pDocument(document), pTitle(new QLabel(this)), pBody(new QLabel(this))
{
    setObjectName(QStringLiteral("pHomeSummaryPane"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    QFont bold = pTitle->font();
    bold.setBold(true);
    pTitle->setFont(bold);
    layout->addWidget(pTitle);
    pBody->setObjectName(QStringLiteral("pHomeSummaryText"));
    pBody->setTextFormat(Qt::RichText);
    pBody->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    pBody->setFocusPolicy(Qt::TabFocus);
    pBody->setWordWrap(false); // a fixed height that follows the text
    layout->addWidget(pBody);
    pBody->setAccessibleName(qtTrId("summary.pane"));

    if (document) {
        for (auto signal : {&MyDocument::listChanged, &MyDocument::listReset})
            connect(document, signal, this, &HomeSummaryPane::scheduleUpdate);
        for (auto signal :
             {&MyDocument::rowsInserted, &MyDocument::rowsRemoved, &MyDocument::rowsChanged})
            connect(document, signal, this, &HomeSummaryPane::scheduleUpdate);
        connect(document, &MyDocument::filterChanged, this, &HomeSummaryPane::scheduleUpdate);
        connect(document, &MyDocument::averagesInvalidated, this, &HomeSummaryPane::scheduleUpdate);
    }
    connect(&Preferences::shared(), &Preferences::changed, this,
            &HomeSummaryPane::onPreferenceChanged);
    updateNow();
}

void HomeSummaryPane::onPreferenceChanged(const QString &key)
{
    if (key.startsWith(QLatin1String("home")))
        scheduleUpdate();
}

void HomeSummaryPane::scheduleUpdate()
{
    bDirty = true;
    if (bScheduled || !isVisible())
        return;
    bScheduled = true;
    QTimer::singleShot(0, this, [this] {
        bScheduled = false;
        if (isVisible())
            updateNow();
    });
}

void HomeSummaryPane::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateNow();
}

void HomeSummaryPane::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange || event->type() == QEvent::LocaleChange) {
        pBody->setAccessibleName(qtTrId("summary.pane"));
        bDirty = true;
        updateNow();
    }
}

void HomeSummaryPane::updateNow()
{
    if (!bDirty)
        return;
    bDirty = false;
    const HomeSummary summary =
        HomeSummary::compute(pDocument ? pDocument->items() : ConstMeasurementList(),
                             HomeSummary::Settings::fromPreferences());
    const QString filterName =
        pDocument && pDocument->filter() ? pDocument->filter()->name() : QString();
    pTitle->setText(qtTrId("summary.title") + QStringLiteral(" \u2014 ") +
                    qtTrId("summary.filter").arg(filterName));

    QString html;
    if (summary.hasPeriod()) {
        html += summary.periodText().toHtmlEscaped() + QStringLiteral("<br>") +
                summary.countedText().toHtmlEscaped();
        html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\"><tr>");
        for (const QString &title : HomeSummary::columnTitles())
            html += QStringLiteral("<th align=\"left\">%1</th>").arg(title.toHtmlEscaped());
        html += QStringLiteral("</tr>");
        for (int part = 0; part < HomeSummary::PartCount; ++part) {
            html += QStringLiteral("<tr>");
            for (const QString &cell : summary.rowTexts(HomeSummary::Part(part)))
                html += QStringLiteral("<td>%1</td>").arg(cell.toHtmlEscaped());
            html += QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table>");
    }
    html += QStringLiteral("<b>%1</b><br><small>%2</small>")
                .arg(summary.verdictText().toHtmlEscaped(), qtTrId("summary.note").toHtmlEscaped());
    pBody->setText(html);
    pBody->setAccessibleDescription(text());
    // The pane's height follows its text at once. Left to the event loop, the new height takes
    // two turns (the pane's layout, then the page's), and a page drawn in between shows the new
    // text in the old height, cut off: the German texts after a switch of language, the table
    // after the first readings came.
    layout()->activate();
    if (QWidget *page = parentWidget(); page && page->layout())
        page->layout()->activate();
}

QString HomeSummaryPane::text() const
{
    QString body = pBody->text();
    body.replace(QStringLiteral("<br>"), QStringLiteral("\n"));
    body.replace(QStringLiteral("</tr>"), QStringLiteral("\n"));
    body.replace(QStringLiteral("</td>"), QStringLiteral("\t"));
    body.replace(QStringLiteral("</th>"), QStringLiteral("\t"));
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    body.remove(tags);
    body.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    body.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    body.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return pTitle->text() + u'\n' + body;
}
