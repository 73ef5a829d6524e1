#include "PageFilters.h"

#include "CustomValuesTemplate.h"
#include "Dialogs.h"
#include "FiltersModel.h"
#include "MyDocument.h"
#include "PredicateEditor.h"
#include "RelativeDatesTemplate.h"
#include "TagsCountTemplate.h"
#include "TagsTemplate.h"

#include <QAccessible>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

using Op = ComparisonPredicate::Operator;

QList<RowTemplate::OperatorItem> orderingOperators(const char *prefix)
{
    const struct
    {
        Op type;
        const char *suffix;
    } operators[] = {{ComparisonPredicate::LessThanPredicateOperatorType, "lt"},
                     {ComparisonPredicate::LessThanOrEqualToPredicateOperatorType, "le"},
                     {ComparisonPredicate::EqualToPredicateOperatorType, "eq"},
                     {ComparisonPredicate::NotEqualToPredicateOperatorType, "ne"},
                     {ComparisonPredicate::GreaterThanOrEqualToPredicateOperatorType, "ge"},
                     {ComparisonPredicate::GreaterThanPredicateOperatorType, "gt"}};
    QList<RowTemplate::OperatorItem> items;
    for (const auto &op : operators) {
        const QByteArray key = QByteArray(prefix) + op.suffix;
        items.append({op.type, qtTrId(key.constData())});
    }
    return items;
}

} // namespace

void PageFilters::installRowTemplates(PredicateEditor *editor)
{
    // Numbers
    editor->addRowTemplate(std::make_unique<RowTemplate>(
        QList<RowTemplate::LeftItem>{
            {QStringLiteral("Systolic"), qtTrId("filters.key.Systolic")},
            {QStringLiteral("Diastolic"), qtTrId("filters.key.Diastolic")},
            {QStringLiteral("Pulse"), qtTrId("filters.key.Pulse")},
            {QStringLiteral("Weight"), qtTrId("filters.key.Weight")},
            {QStringLiteral("PulsePressure"), qtTrId("filters.key.PulsePressure")}},
        orderingOperators("filters.op.number."), RowTemplate::RightKind::Number));
    // The user's own values
    editor->addRowTemplate(
        std::make_unique<CustomValuesTemplate>(orderingOperators("filters.op.number.")));
    // Calendar date, then dates relative to today under the same title
    const RowTemplate::LeftItem date{QStringLiteral("Date"), qtTrId("filters.key.Date")};
    editor->addRowTemplate(std::make_unique<RowTemplate>(QList<RowTemplate::LeftItem>{date},
                                                         orderingOperators("filters.op.date."),
                                                         RowTemplate::RightKind::Date));
    editor->addRowTemplate(std::make_unique<RelativeDatesTemplate>(
        QList<RowTemplate::LeftItem>{date},
        QList<RowTemplate::OperatorItem>{{ComparisonPredicate::GreaterThanPredicateOperatorType,
                                          qtTrId("filters.op.relative.gt")},
                                         {ComparisonPredicate::LessThanPredicateOperatorType,
                                          qtTrId("filters.op.relative.lt")}}));
    // Time of day
    editor->addRowTemplate(std::make_unique<RowTemplate>(
        QList<RowTemplate::LeftItem>{{QStringLiteral("Time"), qtTrId("filters.key.Time")}},
        orderingOperators("filters.op.time."), RowTemplate::RightKind::Time));
    // Tags: particular ones, or whether there are any
    const RowTemplate::LeftItem tags{QStringLiteral("Tags"), qtTrId("filters.key.Tags")};
    editor->addRowTemplate(std::make_unique<TagsTemplate>(
        QList<RowTemplate::LeftItem>{tags},
        QList<RowTemplate::OperatorItem>{
            {ComparisonPredicate::InPredicateOperatorType, qtTrId("filters.op.tags.in")}}));
    editor->addRowTemplate(std::make_unique<TagsCountTemplate>(QList<RowTemplate::LeftItem>{tags}));
}

PageFilters::PageFilters(MyDocument *document, QWidget *parent)
    : QWidget(parent), pDocument(document)
{
    setFocusPolicy(Qt::StrongFocus);
    pModel = new FiltersModel(document, this);

    pFiltersView = new QTableView(this);
    pFiltersView->setModel(pModel);
    pFiltersView->setSelectionBehavior(QAbstractItemView::SelectRows);
    pFiltersView->setSelectionMode(QAbstractItemView::SingleSelection);
    pFiltersView->setEditTriggers(QAbstractItemView::DoubleClicked |
                                  QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::SelectedClicked);
    pFiltersView->verticalHeader()->hide();
    pFiltersView->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    pFiltersView->horizontalHeader()->setSectionResizeMode(FiltersModel::NameColumn,
                                                           QHeaderView::Stretch);
    pFiltersView->horizontalHeader()->setSectionResizeMode(FiltersModel::UseInFiltersColumn,
                                                           QHeaderView::ResizeToContents);
    pFiltersView->horizontalHeader()->setSectionResizeMode(FiltersModel::UseInAveragesColumn,
                                                           QHeaderView::ResizeToContents);
    pFiltersView->setAccessibleName(qtTrId("filters.list.accessible"));
    // Tab leaves the list for the condition below (arrow keys move within it), and the page
    // hands its focus to the list: a keyboard user lands on the filters, not on a bare page.
    pFiltersView->setTabKeyNavigation(false);
    setFocusProxy(pFiltersView);
    pFiltersView->installEventFilter(this);
    pFiltersView->setShowGrid(false);
    pFiltersView->setAlternatingRowColors(true);

    pEditor = new PredicateEditor(this);
    installRowTemplates(pEditor);

    pTextToggle = new QCheckBox(qtTrId("filters.page.as_text"), this);
    pTextToggle->setAccessibleName(qtTrId("filters.page.as_text"));
    pTextField = new QLineEdit(this);
    pTextField->setAccessibleName(qtTrId("filters.page.text_accessible"));
    pTextField->setPlaceholderText(qtTrId("filters.page.text_placeholder"));
    pTextError = new QLabel(this);
    pTextError->setWordWrap(true);
    pTextError->setStyleSheet(QStringLiteral("QLabel { color: #c01c28; }"));
    pTextError->setAccessibleName(qtTrId("filters.page.text_error_accessible"));
    showTextError({});
    auto *textHint = new QLabel(qtTrId("filters.page.text_hint"), this);
    textHint->setWordWrap(true);
    textHint->setBuddy(pTextField);

    auto *textPage = new QWidget(this);
    auto *textLayout = new QVBoxLayout(textPage);
    textLayout->setContentsMargins(0, 0, 0, 0);
    textLayout->addWidget(textHint);
    textLayout->addWidget(pTextField);
    textLayout->addWidget(pTextError);
    textLayout->addStretch();

    pNoSelection = new QLabel(qtTrId("filters.page.no_selection"), this);
    pNoSelection->setAlignment(Qt::AlignCenter);
    pNoSelection->setEnabled(false);

    pForms = new QStackedWidget(this);
    pForms->addWidget(pEditor);
    pForms->addWidget(textPage);
    pForms->addWidget(pNoSelection);

    auto *conditionLabel = new QLabel(qtTrId("filters.page.condition"), this);
    QFont bold = conditionLabel->font();
    bold.setBold(true);
    conditionLabel->setFont(bold);
    auto *right = new QWidget(this);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto *header = new QHBoxLayout;
    header->addWidget(conditionLabel);
    header->addStretch();
    header->addWidget(pTextToggle);
    rightLayout->addLayout(header);
    rightLayout->addWidget(pForms, 1);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(pFiltersView);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({150, 400});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    // Tab follows the layout: the list, the text toggle beside the heading, then the condition.
    QWidget::setTabOrder(pFiltersView, pTextToggle);
    QWidget::setTabOrder(pTextToggle, pEditor);
    QWidget::setTabOrder(pEditor, pTextField);

    connect(pFiltersView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PageFilters::onSelectionChanged);
    // Undo of an insertion or removal can change the selection without a selection signal.
    connect(pModel, &QAbstractItemModel::rowsRemoved, this, &PageFilters::onSelectionChanged);
    connect(pModel, &QAbstractItemModel::modelReset, this, &PageFilters::onSelectionChanged);
    connect(pEditor, &PredicateEditor::predicateEdited, this, &PageFilters::onEditorChanged);
    connect(pTextToggle, &QCheckBox::toggled, this, &PageFilters::onTextToggled);
    connect(pTextField, &QLineEdit::returnPressed, this, &PageFilters::onTextEntered);
    connect(pTextField, &QLineEdit::textEdited, this, [this] { showTextError({}); });
    connect(document, &MyDocument::listChanged, this, [this](MyDocument::List list) {
        if (list == MyDocument::List::Items)
            updateTagCompletions();
    });
    updateTagCompletions();
    onSelectionChanged();
    selectDocumentFilter();
}

PageFilters::~PageFilters()
{
    disconnect(pShownConnection);
}

QString PageFilters::addButtonTooltip() const
{
    return qtTrId("button.add.filter");
}

FilterPtr PageFilters::selectedFilter() const
{
    const QModelIndexList rows = pFiltersView->selectionModel()->selectedRows();
    return rows.isEmpty() ? FilterPtr() : pModel->filterAt(rows.first().row());
}

void PageFilters::selectFilter(const FilterPtr &filter)
{
    const int row = pModel->rowOfFilter(filter);
    if (row < 0) {
        pFiltersView->selectionModel()->clearSelection();
        return;
    }
    pFiltersView->selectionModel()->setCurrentIndex(pModel->index(row, FiltersModel::NameColumn),
                                                    QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
}

bool PageFilters::canDelete() const
{
    return bool(selectedFilter());
}

bool PageFilters::deleteKeyActsOnList() const
{
    return pFiltersView->hasFocus();
}

// The page opens on the filter the window applies (or the first), never on an empty condition.
void PageFilters::selectDocumentFilter()
{
    if (!pDocument || selectedFilter())
        return;
    FilterPtr filter = pDocument->filter();
    if (pModel->rowOfFilter(filter) < 0)
        filter = pDocument->filters().value(0);
    if (filter)
        selectFilter(filter);
}

bool PageFilters::eventFilter(QObject *watched, QEvent *event)
{
    // Forward delete in the list removes the selected filter.
    if (watched == pFiltersView && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            onDelete();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PageFilters::showEvent(QShowEvent *event)
{
    selectDocumentFilter();
    QWidget::showEvent(event);
}

bool PageFilters::commitEditing(const std::function<void(bool)> &then)
{
    if (!pShownFilter)
        return true;
    if (!pTextToggle->isChecked()) {
        pEditor->commitEditing();
        return true;
    }
    QString error;
    if (applyText(&error))
        return true;
    QPointer<PageFilters> self(this);
    Dialogs::ask(this, QStringLiteral("filters.unapplied_text"),
                 {QStringLiteral("keep_editing"), QStringLiteral("discard")},
                 [self, then](int answer) {
                     if (!self)
                         return;
                     if (answer == 0) {
                         self->pTextField->setFocus();
                     } else {
                         self->showText();
                     }
                     if (then)
                         then(answer != 0);
                 },
                 {error});
    return false;
}

void PageFilters::onAddButton()
{
    if (!pDocument)
        return;
    const FilterPtr filter = pDocument->addFilter();
    selectFilter(filter);
    pFiltersView->setFocus();
}

void PageFilters::onDelete()
{
    const FilterPtr filter = selectedFilter();
    if (!filter || !pDocument)
        return;
    QPointer<MyDocument> document = pDocument;
    Dialogs::ask(this, QStringLiteral("delete_filter"),
                 {QStringLiteral("yes"), QStringLiteral("no")},
                 [document, filter](int button) {
                     if (button == 0 && document)
                         document->removeFilter(filter);
                 },
                 {filter->name()});
}

void PageFilters::keyPressEvent(QKeyEvent *event)
{
    // Keys nothing on the page took end here (forward delete acts in the list only).
    event->accept();
}

void PageFilters::onSelectionChanged()
{
    if (bHoldingSelection)
        return;
    const FilterPtr filter = selectedFilter();
    if (filter != pShownFilter && pShownFilter && pDocument &&
        pDocument->filters().contains(pShownFilter)) {
        // What was typed for the filter shown reaches it before another filter takes its place;
        // text that cannot be applied keeps the selection until the user has decided.
        const bool committed = commitEditing([this, filter](bool proceed) {
            if (proceed)
                selectFilter(filter);
        });
        if (!committed) {
            bHoldingSelection = true;
            selectFilter(pShownFilter);
            bHoldingSelection = false;
            return;
        }
    }
    const bool enabled = bool(filter);
    if (enabled != bDeleteEnabled) {
        bDeleteEnabled = enabled;
        emit deleteEnabledChanged(enabled);
    }
    if (filter == pShownFilter && filter)
        return;
    disconnect(pShownConnection);
    pShownFilter = filter;
    if (filter) {
        pShownConnection =
            connect(filter.get(), &Filter::valueChanged, this, &PageFilters::onFilterValueChanged);
    }
    showTextError({});
    showSelectedPredicate();
}

void PageFilters::onFilterValueChanged(const QString &key)
{
    if (key != QLatin1String("predicate") || bPushing)
        return;
    // Undo, redo or the text form: the editor and the text follow at once.
    showSelectedPredicate();
}

void PageFilters::showSelectedPredicate()
{
    if (!pShownFilter) {
        pForms->setCurrentWidget(pNoSelection);
        pTextToggle->setEnabled(false);
        return;
    }
    pTextToggle->setEnabled(true);
    if (pTextToggle->isChecked()) {
        showText();
        pForms->setCurrentIndex(1);
    } else {
        pEditor->setObjectValue(pShownFilter->predicate());
        pForms->setCurrentWidget(pEditor);
    }
}

void PageFilters::showText()
{
    const PredicatePtr predicate = pShownFilter ? pShownFilter->predicate() : PredicatePtr();
    pTextField->setText(predicate ? predicate->predicateFormat() : QString());
    showTextError({});
}

void PageFilters::onEditorChanged(const PredicatePtr &predicate)
{
    if (!pShownFilter || !predicate)
        return;
    bPushing = true;
    pShownFilter->setPredicate(predicate);
    bPushing = false;
    // A late notice of a row while the text form is shown: the text follows the filter.
    if (pTextToggle->isChecked())
        showText();
}

void PageFilters::onTextToggled(bool asText)
{
    if (asText) {
        // The editor's pending edits first, so that the text shows them.
        pEditor->commitEditing();
    } else if (pShownFilter) {
        const bool committed = commitEditing([this](bool proceed) {
            if (proceed)
                pTextToggle->setChecked(false);
        });
        if (!committed) {
            const QSignalBlocker blocker(pTextToggle);
            pTextToggle->setChecked(true);
            return;
        }
    }
    showSelectedPredicate();
}

bool PageFilters::applyText(QString *error, qsizetype *position)
{
    if (!pShownFilter)
        return true;
    const PredicatePtr current = pShownFilter->predicate();
    if (pTextField->text() == (current ? current->predicateFormat() : QString()))
        return true; // nothing typed
    const PredicatePtr predicate =
        Predicate::predicateWithFormat(pTextField->text(), error, position);
    if (!predicate)
        return false;
    if (!predicate->canEvaluate()) {
        // A key readings do not have: the filter would let nothing through.
        *error = qtTrId("filters.page.text_cannot_evaluate").arg(predicate->evaluationError());
        return false;
    }
    showTextError({});
    if (!Predicate::equal(predicate, current))
        pShownFilter->setPredicate(predicate); // the text is shown again from the filter
    else
        showText();
    return true;
}

void PageFilters::onTextEntered()
{
    QString error;
    qsizetype position = -1;
    if (applyText(&error, &position)) {
        showText();
        return;
    }
    showTextError(error);
    if (position >= 0) {
        pTextField->setFocus();
        pTextField->setCursorPosition(int(position));
    }
}

void PageFilters::showTextError(const QString &error)
{
    pTextError->setText(error);
    pTextError->setVisible(!error.isEmpty());
    // Read out with the field it concerns, and announced as it appears.
    pTextField->setAccessibleDescription(error);
    if (!error.isEmpty()) {
        QAccessibleEvent alert(pTextError, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void PageFilters::updateTagCompletions()
{
    if (pDocument)
        pEditor->setTagCompletions(pDocument->tags());
}
