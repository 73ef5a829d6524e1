#include "PredicateEditor.h"

#include "ComparisonPredicate.h"
#include "CompoundPredicate.h"
#include "TagsTemplate.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kIndent = 24;
// The items a row's first two menus show for other templates carry the template's index here.
constexpr int kForeignTemplateRole = Qt::UserRole + 100;
constexpr int kForeignItemRole = Qt::UserRole + 101;

// A row's + button: a click adds a condition; its menu (the arrow, or Alt+Down, F4 or the menu
// key from the keyboard) also offers a group.
class AddRowButton : public QToolButton
{
public:
    using QToolButton::QToolButton;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const bool opensMenu =
            (event->key() == Qt::Key_Down && event->modifiers().testFlag(Qt::AltModifier)) ||
            event->key() == Qt::Key_F4 || event->key() == Qt::Key_Menu;
        if (opensMenu && menu()) {
            menu()->popup(mapToGlobal(QPoint(0, height())));
            menu()->setActiveAction(menu()->actions().value(0));
            return;
        }
        QToolButton::keyPressEvent(event);
    }
};

} // namespace

// One row: a compound row with its children, or a comparison row with its template.
class PredicateEditor::Row
{
public:
    ~Row()
    {
        if (pTemplate)
            pTemplate->blockSignals(true);
        children.clear();
        pTemplate.reset(); // takes its controls along
        delete pLine;
    }

    bool isCompound() const { return !pTemplate; }
    int depth() const { return pParent ? pParent->depth() + 1 : 0; }

    Row *pParent = nullptr;
    std::vector<std::unique_ptr<Row>> children;
    // Compound rows
    qint32 nType = CompoundPredicate::AndPredicateType;
    bool bImplicit = false;    // the root of a single comparison: one child builds that child
    bool bNotOfSingle = false; // NOT of one non-OR subpredicate, built back the same way
    QComboBox *pTypeMenu = nullptr;
    // Comparison rows
    std::unique_ptr<RowTemplate> pTemplate;
    int nTemplateIndex = 0;
    int nOwnLeft = 0;
    int nOwnSecond = 0;
    QList<QWidget *> pViews;
    // Both
    QWidget *pLine = nullptr;
    QToolButton *pAdd = nullptr;
    QToolButton *pRemove = nullptr;
};

PredicateEditor::PredicateEditor(QWidget *parent) : QScrollArea(parent)
{
    setWidgetResizable(true);
    setAccessibleName(qtTrId("filters.editor.accessible"));
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    pRowsWidget = new QWidget(content);
    pRowsLayout = new QVBoxLayout(pRowsWidget);
    pRowsLayout->setContentsMargins(0, 0, 0, 0);
    pRowsLayout->setSpacing(2);
    layout->addWidget(pRowsWidget);

    pReadOnlyWidget = new QWidget(content);
    auto *readOnlyLayout = new QVBoxLayout(pReadOnlyWidget);
    readOnlyLayout->setContentsMargins(0, 0, 0, 0);
    pReadOnlyNotice = new QLabel(qtTrId("filters.editor.unshowable"), pReadOnlyWidget);
    pReadOnlyNotice->setWordWrap(true);
    pReadOnlyText = new QPlainTextEdit(pReadOnlyWidget);
    pReadOnlyText->setReadOnly(true);
    pReadOnlyText->setAccessibleName(qtTrId("filters.editor.unshowable_text_accessible"));
    pReadOnlyText->setMaximumHeight(pReadOnlyText->fontMetrics().lineSpacing() * 5 + 12);
    pReplaceButton = new QPushButton(qtTrId("filters.editor.replace"), pReadOnlyWidget);
    connect(pReplaceButton, &QPushButton::clicked, this, &PredicateEditor::replaceWithRows);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(pReplaceButton);
    readOnlyLayout->addWidget(pReadOnlyNotice);
    readOnlyLayout->addWidget(pReadOnlyText);
    readOnlyLayout->addLayout(buttonRow);
    pReadOnlyWidget->hide();
    layout->addWidget(pReadOnlyWidget);
    layout->addStretch();
    setWidget(content);
}

PredicateEditor::~PredicateEditor()
{
    pRoot.reset();
}

void PredicateEditor::addRowTemplate(std::unique_ptr<RowTemplate> rowTemplate)
{
    // The prototypes' controls are made once, to read their menus' titles; they are never shown.
    rowTemplate->templateViews();
    connect(rowTemplate.get(), &RowTemplate::titlesChanged, this, [this] {
        for (Row *row : std::as_const(pFlatRows)) {
            if (!row->isCompound())
                augmentMenus(row);
        }
    });
    pTemplates.push_back(std::move(rowTemplate));
}

void PredicateEditor::setTagCompletions(const QStringList &tags)
{
    pTagCompletions = tags;
    for (const auto &prototype : pTemplates) {
        if (auto *tagsTemplate = qobject_cast<TagsTemplate *>(prototype.get()))
            tagsTemplate->setCompletions(tags);
    }
    for (Row *row : std::as_const(pFlatRows)) {
        if (auto *tagsTemplate = qobject_cast<TagsTemplate *>(row->pTemplate.get()))
            tagsTemplate->setCompletions(tags);
    }
}

// --- Loading ------------------------------------------------------------------------------------

std::unique_ptr<PredicateEditor::Row> PredicateEditor::buildRow(const PredicatePtr &predicate,
                                                                Row *parent, bool *ok)
{
    if (!predicate) {
        *ok = false;
        return nullptr;
    }
    if (const CompoundPredicate *compound = predicate->asCompound()) {
        const qint32 type = compound->compoundPredicateType();
        auto row = makeCompoundRow(parent, type);
        QList<PredicatePtr> subpredicates = compound->subpredicates();
        if (type == CompoundPredicate::NotPredicateType) {
            const PredicatePtr inner = subpredicates.value(0);
            const CompoundPredicate *innerCompound = inner ? inner->asCompound() : nullptr;
            if (innerCompound &&
                innerCompound->compoundPredicateType() == CompoundPredicate::OrPredicateType) {
                subpredicates = innerCompound->subpredicates();
            } else {
                row->bNotOfSingle = true;
            }
        }
        for (const PredicatePtr &sub : std::as_const(subpredicates)) {
            auto child = buildRow(sub, row.get(), ok);
            if (!*ok)
                return nullptr;
            row->children.push_back(std::move(child));
        }
        return row;
    }
    if (!predicate->asComparison()) {
        *ok = false; // TRUEPREDICATE, FALSEPREDICATE
        return nullptr;
    }
    int best = -1;
    double bestScore = 0;
    for (size_t i = 0; i < pTemplates.size(); ++i) {
        const double score = pTemplates[i]->matchForPredicate(predicate);
        if (score > bestScore) {
            bestScore = score;
            best = int(i);
        }
    }
    if (best < 0) {
        *ok = false;
        return nullptr;
    }
    auto row = makeComparisonRow(parent, best, pTemplates[size_t(best)]->copy());
    row->pTemplate->setPredicate(predicate);
    if (!row->pTemplate->showsPredicate(predicate)) {
        *ok = false;
        return nullptr;
    }
    return row;
}

void PredicateEditor::setObjectValue(const PredicatePtr &predicate)
{
    pRoot.reset();
    pFlatRows.clear();
    bool ok = true;
    std::unique_ptr<Row> root;
    if (predicate && predicate->asComparison()) {
        root = makeCompoundRow(nullptr, CompoundPredicate::AndPredicateType);
        root->bImplicit = true;
        auto child = buildRow(predicate, root.get(), &ok);
        if (ok)
            root->children.push_back(std::move(child));
    } else {
        root = buildRow(predicate, nullptr, &ok);
    }
    pShown = predicate;
    if (!ok) {
        root.reset();
        showReadOnly(predicate);
        return;
    }
    bReadOnly = false;
    pKept.reset();
    pReadOnlyWidget->hide();
    pRoot = std::move(root);
    relayout();
    pRowsWidget->show();
}

void PredicateEditor::showReadOnly(const PredicatePtr &predicate)
{
    bReadOnly = true;
    pKept = predicate;
    pReadOnlyText->setPlainText(predicate ? predicate->predicateFormat()
                                          : qtTrId("filters.editor.no_condition"));
    pRowsWidget->hide();
    pReadOnlyWidget->show();
}

void PredicateEditor::replaceWithRows()
{
    const PredicatePtr replacement = Predicate::predicateWithFormat(QStringLiteral("Systolic > 0"));
    setObjectValue(replacement);
    if (bReadOnly)
        return; // no template shows even that
    pShown = objectValue();
    emit predicateEdited(pShown);
}

void PredicateEditor::commitEditing()
{
    bool edited = false;
    for (Row *row : std::as_const(pFlatRows)) {
        if (row->pTemplate && row->pTemplate->takePendingEdit())
            edited = true;
    }
    if (edited)
        commit();
}

PredicatePtr PredicateEditor::objectValue() const
{
    if (bReadOnly)
        return pKept;
    return pRoot ? build(pRoot.get()) : PredicatePtr();
}

// --- Rows ---------------------------------------------------------------------------------------

std::unique_ptr<PredicateEditor::Row> PredicateEditor::makeCompoundRow(Row *parent, qint32 type)
{
    auto row = std::make_unique<Row>();
    row->pParent = parent;
    row->nType = type;
    makeLine(row.get());
    return row;
}

std::unique_ptr<PredicateEditor::Row>
PredicateEditor::makeComparisonRow(Row *parent, int templateIndex,
                                   std::unique_ptr<RowTemplate> rowTemplate)
{
    auto row = std::make_unique<Row>();
    row->pParent = parent;
    row->nTemplateIndex = templateIndex;
    row->pTemplate = std::move(rowTemplate);
    if (auto *tagsTemplate = qobject_cast<TagsTemplate *>(row->pTemplate.get()))
        tagsTemplate->setCompletions(pTagCompletions);
    makeLine(row.get());
    return row;
}

void PredicateEditor::makeLine(Row *row)
{
    delete row->pLine;
    auto *line = new QWidget;
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    if (row->isCompound()) {
        row->pTypeMenu = new QComboBox(line);
        row->pTypeMenu->addItem(qtTrId("filters.compound.all"),
                                CompoundPredicate::AndPredicateType);
        row->pTypeMenu->addItem(qtTrId("filters.compound.any"), CompoundPredicate::OrPredicateType);
        row->pTypeMenu->addItem(qtTrId("filters.compound.none"),
                                CompoundPredicate::NotPredicateType);
        row->pTypeMenu->setCurrentIndex(row->pTypeMenu->findData(row->nType));
        row->pTypeMenu->setAccessibleName(qtTrId("filters.compound.accessible"));
        connect(row->pTypeMenu, &QComboBox::activated, this, [this, row] {
            row->nType = row->pTypeMenu->currentData().toInt();
            commit();
        });
        auto *label = new QLabel(qtTrId("filters.compound.suffix"), line);
        label->setBuddy(row->pTypeMenu);
        layout->addWidget(row->pTypeMenu);
        layout->addWidget(label);
    } else {
        RowTemplate *rowTemplate = row->pTemplate.get();
        row->pViews = rowTemplate->templateViews();
        for (QWidget *view : std::as_const(row->pViews))
            layout->addWidget(view);
        auto *left = qobject_cast<QComboBox *>(row->pViews.value(0));
        auto *second = qobject_cast<QComboBox *>(row->pViews.value(1));
        row->nOwnLeft = left ? left->count() : 0;
        row->nOwnSecond = second ? second->count() : 0;
        connect(rowTemplate, &RowTemplate::changed, this, [this, row] { onRowChanged(row); });
    }
    layout->addStretch();

    row->pRemove = new QToolButton(line);
    row->pRemove->setText(QStringLiteral("−"));
    row->pRemove->setToolTip(qtTrId("filters.editor.remove_row"));
    row->pRemove->setAccessibleName(qtTrId("filters.editor.remove_row"));
    connect(row->pRemove, &QToolButton::clicked, this, [this, row] { removeRow(indexOfRow(row)); });
    row->pAdd = new AddRowButton(line);
    row->pAdd->setText(QStringLiteral("+"));
    row->pAdd->setToolTip(qtTrId("filters.editor.add_row_tooltip"));
    row->pAdd->setAccessibleName(qtTrId("filters.editor.add_row"));
    row->pAdd->setPopupMode(QToolButton::MenuButtonPopup);
    auto *menu = new QMenu(row->pAdd);
    menu->addAction(qtTrId("filters.editor.add_row"), this,
                    [this, row] { addRow(indexOfRow(row), false); });
    menu->addAction(qtTrId("filters.editor.add_group"), this,
                    [this, row] { addRow(indexOfRow(row), true); });
    row->pAdd->setMenu(menu);
    connect(row->pAdd, &QToolButton::clicked, this, [this, row] {
        addRow(indexOfRow(row), QApplication::keyboardModifiers() & Qt::AltModifier);
    });
    if (!row->pParent)
        row->pRemove->hide(); // the root row stays
    layout->addWidget(row->pRemove);
    layout->addWidget(row->pAdd);
    row->pLine = line;
    if (!row->isCompound())
        augmentMenus(row);
}

// The first two menus of a comparison row also list what the other templates offer: the left
// menu every title it lacks, the second menu the operators (or choices) of the templates with
// the same left title. Choosing one of those gives the row the other template.
void PredicateEditor::augmentMenus(Row *row)
{
    auto *left = qobject_cast<QComboBox *>(row->pViews.value(0));
    auto *second = qobject_cast<QComboBox *>(row->pViews.value(1));
    if (!left)
        return;
    const QSignalBlocker leftBlocker(left);
    while (left->count() > row->nOwnLeft)
        left->removeItem(left->count() - 1);
    QStringList titles;
    for (int i = 0; i < row->nOwnLeft; ++i)
        titles.append(left->itemText(i));
    // Own titles follow a change of the template's titles.
    const auto &ownItems = row->pTemplate->leftItems();
    for (int i = 0; i < row->nOwnLeft && i < ownItems.size(); ++i) {
        left->setItemText(i, ownItems[i].title);
        titles[i] = ownItems[i].title;
    }
    bool separated = false;
    for (size_t t = 0; t < pTemplates.size(); ++t) {
        if (int(t) == row->nTemplateIndex)
            continue;
        for (const RowTemplate::LeftItem &item : pTemplates[t]->leftItems()) {
            if (titles.contains(item.title))
                continue;
            if (!separated) {
                left->insertSeparator(left->count());
                separated = true;
            }
            titles.append(item.title);
            left->addItem(item.title);
            left->setItemData(left->count() - 1, int(t), kForeignTemplateRole);
        }
    }
    if (!second)
        return;
    const QSignalBlocker secondBlocker(second);
    while (second->count() > row->nOwnSecond)
        second->removeItem(second->count() - 1);
    const QString current = left->currentText();
    separated = false;
    for (size_t t = 0; t < pTemplates.size(); ++t) {
        if (int(t) == row->nTemplateIndex)
            continue;
        const auto &items = pTemplates[t]->leftItems();
        if (std::none_of(items.cbegin(), items.cend(),
                         [&](const auto &item) { return item.title == current; }))
            continue;
        auto *other = qobject_cast<QComboBox *>(pTemplates[t]->templateViews().value(1));
        if (!other)
            continue;
        for (int i = 0; i < other->count(); ++i) {
            if (!separated) {
                second->insertSeparator(second->count());
                separated = true;
            }
            second->addItem(other->itemText(i));
            second->setItemData(second->count() - 1, int(t), kForeignTemplateRole);
            second->setItemData(second->count() - 1, i, kForeignItemRole);
        }
    }
}

void PredicateEditor::switchTemplate(Row *row, int templateIndex, const QString &leftTitle,
                                     int secondIndex)
{
    const int index = indexOfRow(row);
    auto replacement = pTemplates[size_t(templateIndex)]->copy();
    const QList<QWidget *> views = replacement->templateViews();
    if (auto *left = qobject_cast<QComboBox *>(views.value(0))) {
        const int found = left->findText(leftTitle);
        if (found >= 0)
            left->setCurrentIndex(found);
    }
    if (auto *second = qobject_cast<QComboBox *>(views.value(1)); second && secondIndex >= 0)
        second->setCurrentIndex(secondIndex);
    if (auto *tagsTemplate = qobject_cast<TagsTemplate *>(replacement.get()))
        tagsTemplate->setCompletions(pTagCompletions);
    // The old controls go on the next turn: one of them is delivering the signal that led here.
    row->pTemplate->blockSignals(true);
    std::unique_ptr<RowTemplate> old = std::move(row->pTemplate);
    QWidget *oldLine = row->pLine;
    row->pLine = nullptr;
    oldLine->hide();
    QObject *carrier = old.release();
    carrier->deleteLater();
    oldLine->deleteLater();
    row->pTemplate = std::move(replacement);
    row->nTemplateIndex = templateIndex;
    makeLine(row);
    relayout();
    if (index >= 0 && !row->pViews.isEmpty())
        row->pViews.value(1, row->pViews.first())->setFocus();
    commit();
}

void PredicateEditor::onRowChanged(Row *row)
{
    auto *left = qobject_cast<QComboBox *>(row->pViews.value(0));
    auto *second = qobject_cast<QComboBox *>(row->pViews.value(1));
    if (left && left->currentIndex() >= row->nOwnLeft) {
        const QVariant target = left->currentData(kForeignTemplateRole);
        if (target.isValid())
            switchTemplate(row, target.toInt(), left->currentText(), -1);
        return;
    }
    if (second && second->currentIndex() >= row->nOwnSecond) {
        const QVariant target = second->currentData(kForeignTemplateRole);
        if (target.isValid())
            switchTemplate(row, target.toInt(), left ? left->currentText() : QString(),
                           second->currentData(kForeignItemRole).toInt());
        return;
    }
    augmentMenus(row);
    commit();
}

void PredicateEditor::collect(Row *row, QList<Row *> &rows) const
{
    rows.append(row);
    for (const auto &child : row->children)
        collect(child.get(), rows);
}

void PredicateEditor::relayout()
{
    QList<Row *> rows;
    if (pRoot)
        collect(pRoot.get(), rows);
    while (pRowsLayout->count() > 0)
        delete pRowsLayout->takeAt(0);
    for (Row *row : std::as_const(rows)) {
        row->pLine->layout()->setContentsMargins(row->depth() * kIndent, 0, 0, 0);
        pRowsLayout->addWidget(row->pLine);
        row->pLine->setParent(pRowsWidget);
        row->pLine->show();
    }
    pFlatRows = rows;
    updateRemoveButtons();

    // Rows made later would otherwise join the window's tab chain at its end: chain their
    // controls right after the editor, row by row from the top, each row from the left.
    QWidget *previous = this;
    for (Row *row : std::as_const(rows)) {
        QLayout *line = row->pLine->layout();
        for (int i = 0; i < line->count(); ++i) {
            QWidget *item = line->itemAt(i)->widget();
            if (!item)
                continue;
            QList<QWidget *> controls{item};
            controls += item->findChildren<QWidget *>();
            for (QWidget *control : std::as_const(controls)) {
                if (control->focusPolicy() & Qt::TabFocus) {
                    QWidget::setTabOrder(previous, control);
                    previous = control;
                    control->installEventFilter(this);
                }
            }
        }
    }
}

void PredicateEditor::updateRemoveButtons()
{
    for (int i = 0; i < pFlatRows.size(); ++i)
        pFlatRows[i]->pRemove->setEnabled(canRemoveRow(i));
}

bool PredicateEditor::eventFilter(QObject *watched, QEvent *event)
{
    // Delete and Backspace in a row's controls belong to the row: they never reach the window's
    // shortcuts (which would delete what the editor is part of).
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) &&
            key->modifiers() == Qt::NoModifier) {
            event->accept();
            return false;
        }
    }
    return QScrollArea::eventFilter(watched, event);
}

int PredicateEditor::numberOfRows() const
{
    return int(pFlatRows.size());
}

PredicateEditor::Row *PredicateEditor::rowAt(int index) const
{
    return pFlatRows.value(index);
}

int PredicateEditor::indexOfRow(const Row *row) const
{
    return int(pFlatRows.indexOf(const_cast<Row *>(row)));
}

bool PredicateEditor::isCompoundRow(int index) const
{
    const Row *row = rowAt(index);
    return row && row->isCompound();
}

RowTemplate *PredicateEditor::templateOfRow(int index) const
{
    const Row *row = rowAt(index);
    return row ? row->pTemplate.get() : nullptr;
}

qint32 PredicateEditor::compoundTypeOfRow(int index) const
{
    const Row *row = rowAt(index);
    return row && row->isCompound() ? row->nType : -1;
}

void PredicateEditor::setCompoundTypeOfRow(int index, qint32 type)
{
    Row *row = rowAt(index);
    if (!row || !row->isCompound())
        return;
    row->nType = type;
    row->pTypeMenu->setCurrentIndex(row->pTypeMenu->findData(type));
    commit();
}

int PredicateEditor::depthOfRow(int index) const
{
    const Row *row = rowAt(index);
    return row ? row->depth() : -1;
}

QToolButton *PredicateEditor::addButtonOfRow(int index) const
{
    const Row *row = rowAt(index);
    return row ? row->pAdd : nullptr;
}

QToolButton *PredicateEditor::removeButtonOfRow(int index) const
{
    const Row *row = rowAt(index);
    return row ? row->pRemove : nullptr;
}

void PredicateEditor::addRow(int index, bool group)
{
    Row *row = rowAt(index);
    if (!row || pTemplates.empty())
        return;
    // A comparison row gets its new row below it; a compound row at the end of its children.
    Row *parent = row->isCompound() ? row : row->pParent;
    auto &siblings = parent->children;
    size_t position = siblings.size();
    if (!row->isCompound()) {
        for (size_t i = 0; i < siblings.size(); ++i) {
            if (siblings[i].get() == row)
                position = i + 1;
        }
    }
    // The new comparison starts as a copy of the row it was added to, or from the first template.
    auto newComparison = [&](Row *under) {
        const int templateIndex = row->isCompound() ? 0 : row->nTemplateIndex;
        auto rowTemplate = pTemplates[size_t(templateIndex)]->copy();
        if (!row->isCompound())
            rowTemplate->setPredicate(row->pTemplate->predicateWithSubpredicates({}));
        return makeComparisonRow(under, templateIndex, std::move(rowTemplate));
    };
    std::unique_ptr<Row> added;
    if (group) {
        added = makeCompoundRow(parent, CompoundPredicate::AndPredicateType);
        added->children.push_back(newComparison(added.get()));
    } else {
        added = newComparison(parent);
    }
    siblings.insert(siblings.begin() + qsizetype(position), std::move(added));
    relayout();
    commit();
}

bool PredicateEditor::canRemoveRow(int index) const
{
    const Row *row = rowAt(index);
    if (!row || !row->pParent)
        return false;
    // A row whose removal would leave groups empty takes them along; the root keeps one row.
    const Row *top = row;
    while (top->pParent->pParent && top->pParent->children.size() == 1)
        top = top->pParent;
    return !(top->pParent == pRoot.get() && pRoot->children.size() == 1);
}

void PredicateEditor::removeRow(int index)
{
    if (!canRemoveRow(index))
        return;
    Row *top = rowAt(index);
    while (top->pParent->pParent && top->pParent->children.size() == 1)
        top = top->pParent;
    auto &siblings = top->pParent->children;
    for (auto it = siblings.begin(); it != siblings.end(); ++it) {
        if (it->get() == top) {
            // The button that asked is among what goes: let it finish first.
            std::unique_ptr<Row> gone = std::move(*it);
            siblings.erase(it);
            QList<Row *> goneRows;
            collect(gone.get(), goneRows);
            for (Row *r : std::as_const(goneRows)) {
                if (r->pTemplate)
                    r->pTemplate->blockSignals(true);
                r->pLine->hide();
            }
            Row *raw = gone.release();
            QMetaObject::invokeMethod(
                this, [raw] { delete raw; }, Qt::QueuedConnection);
            break;
        }
    }
    relayout();
    commit();
}

// --- Building -----------------------------------------------------------------------------------

PredicatePtr PredicateEditor::build(const Row *row) const
{
    if (!row->isCompound())
        return row->pTemplate->predicateWithSubpredicates({});
    QList<PredicatePtr> subpredicates;
    for (const auto &child : row->children)
        subpredicates.append(build(child.get()));
    if (row->bImplicit && subpredicates.size() == 1 &&
        row->nType != CompoundPredicate::NotPredicateType)
        return subpredicates.first();
    switch (row->nType) {
    case CompoundPredicate::OrPredicateType:
        return CompoundPredicate::orPredicateWithSubpredicates(subpredicates);
    case CompoundPredicate::NotPredicateType:
        if (row->bNotOfSingle && subpredicates.size() == 1)
            return CompoundPredicate::notPredicateWithSubpredicate(subpredicates.first());
        return CompoundPredicate::notPredicateWithSubpredicate(
            CompoundPredicate::orPredicateWithSubpredicates(subpredicates));
    default:
        return CompoundPredicate::andPredicateWithSubpredicates(subpredicates);
    }
}

bool PredicateEditor::rowsAcceptable(const Row *row) const
{
    if (!row->isCompound())
        return row->pTemplate->hasAcceptableValue();
    return std::all_of(row->children.cbegin(), row->children.cend(),
                       [this](const auto &child) { return rowsAcceptable(child.get()); });
}

void PredicateEditor::commit()
{
    updateRemoveButtons();
    // What other rows hold but have not reported goes along (a tag typed before + was clicked).
    for (Row *row : std::as_const(pFlatRows)) {
        if (row->pTemplate)
            row->pTemplate->takePendingEdit();
    }
    if (bReadOnly || !pRoot || !rowsAcceptable(pRoot.get()))
        return; // a number that cannot be read: the condition stays until it is corrected
    const PredicatePtr predicate = build(pRoot.get());
    if (!predicate || Predicate::equal(predicate, pShown))
        return;
    pShown = predicate;
    emit predicateEdited(predicate);
}
