#include "MeasurementSheet.h"

#include "Dialogs.h"
#include "MyDocument.h"
#include "MyTokenField.h"
#include "Preferences.h"
#include "ui_Measurement.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QTimeEdit>
#include <QToolButton>

#include <algorithm>

namespace {

// The alerts of the checks, named here so that their texts are known to be needed.
[[maybe_unused]] const char *const kAlertKeys[] = {
    QT_TRID_NOOP("record_bad_systolic.title"),    QT_TRID_NOOP("record_bad_systolic.message"),
    QT_TRID_NOOP("record_bad_systolic.ok"),       QT_TRID_NOOP("record_bad_diastolic.title"),
    QT_TRID_NOOP("record_bad_diastolic.message"), QT_TRID_NOOP("record_bad_diastolic.ok"),
    QT_TRID_NOOP("record_bad_pressure.title"),    QT_TRID_NOOP("record_bad_pressure.message"),
    QT_TRID_NOOP("record_bad_pressure.ok"),       QT_TRID_NOOP("record_bad_pulse.title"),
    QT_TRID_NOOP("record_bad_pulse.message"),     QT_TRID_NOOP("record_bad_pulse.ok"),
    QT_TRID_NOOP("record_bad_weight.title"),      QT_TRID_NOOP("record_bad_weight.message"),
    QT_TRID_NOOP("record_bad_weight.ok"),         QT_TRID_NOOP("record_bad_custom.title"),
    QT_TRID_NOOP("record_bad_custom.message"),    QT_TRID_NOOP("record_bad_custom.ok"),
};

using Key = Measurement::Key;

// A date picker showing the year in full: a two-digit year would be read as one of the 1900s.
QString withFullYear(QString format)
{
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

} // namespace

void MeasurementSheet::showForMeasurement(ConstMeasurementPtr reading, MyDocument *document,
                                          bool forEditing, QWidget *window, Callback callback)
{
    auto *sheet =
        new MeasurementSheet(std::move(reading), document, forEditing, window, std::move(callback));
    connect(sheet, &QDialog::finished, sheet, &QObject::deleteLater);
    Dialogs::returnFocusWhenFinished(sheet);
    sheet->open();
}

MeasurementSheet::MeasurementSheet(ConstMeasurementPtr reading, MyDocument *document,
                                   bool forEditing, QWidget *parent, Callback callback)
    : QDialog(parent), ui(std::make_unique<Ui::Measurement>()), pDocument(document),
      pCallback(std::move(callback))
{
    ui->setupUi(this);
    // The layout has a fixed field for each stored value; these are they, in slot order.
    static_assert(ReadingValues::kStoredCount == 7 && ReadingValues::slotOf(Key::Systolic) == 0 &&
                      ReadingValues::slotOf(Key::Diastolic) == 1 &&
                      ReadingValues::slotOf(Key::Pulse) == 2 &&
                      ReadingValues::slotOf(Key::Weight) == 3 &&
                      ReadingValues::slotOf(Key::CustomValue1) == 4 &&
                      ReadingValues::slotOf(Key::CustomValue2) == 5 &&
                      ReadingValues::slotOf(Key::CustomValue3) == 6,
                  "the layout's value fields follow the table of values");
    const auto &stored = ReadingValues::kStored;
    pValues = {{{stored[0], ui->pEditSistolic, ui->labelSystolic, nullptr},
                {stored[1], ui->pEditDiastolic, ui->labelDiastolic, nullptr},
                {stored[2], ui->pEditPulse, ui->labelPulse, ui->pRowPulse},
                {stored[3], ui->pEditWeight, ui->labelWeight, ui->pRowWeight},
                {stored[4], ui->pEditCustom1, ui->labelCustom1, ui->pRowCustom1},
                {stored[5], ui->pEditCustom2, ui->labelCustom2, ui->pRowCustom2},
                {stored[6], ui->pEditCustom3, ui->labelCustom3, ui->pRowCustom3}}};
    setWindowModality(Qt::WindowModal);

    // The working copy: the reading itself when editing; when adding, the template (the given
    // reading or the document's last edited one) dated now with no comment, else 120 over 80.
    if (forEditing && reading) {
        pOriginal = reading;
        pMeasurement = reading->copy();
    } else {
        ConstMeasurementPtr pattern = reading;
        if (!pattern && document)
            pattern = document->lastEditedMeasurement();
        if (pattern) {
            pMeasurement = pattern->copy();
            pMeasurement->setTheWholeDate(Date::now());
            pMeasurement->setComments(QStringLiteral(""));
        } else {
            pMeasurement = Measurement::create(Date::now(), 120, 80);
        }
    }

    setWindowTitle(qtTrId(pOriginal ? "editor.title.edit" : "editor.title.add"));
    pCancelButton = ui->pButtons->addButton(qtTrId("editor.cancel"), QDialogButtonBox::RejectRole);
    pSaveMeasurementButton = ui->pButtons->addButton(
        qtTrId(pOriginal ? "editor.save" : "editor.add"), QDialogButtonBox::AcceptRole);
    pCancelButton->setObjectName(QStringLiteral("pCancelButton"));
    pSaveMeasurementButton->setObjectName(QStringLiteral("pSaveMeasurementButton"));
    pSaveMeasurementButton->setDefault(true);
    connect(pCancelButton, &QPushButton::clicked, this,
            &MeasurementSheet::onFinishAddingMeasurement);
    connect(pSaveMeasurementButton, &QPushButton::clicked, this,
            &MeasurementSheet::onFinishAddingMeasurement);
    connect(ui->pTagsMenuButton, &QToolButton::clicked, this, &MeasurementSheet::onShowTagsMenu);
    connect(this, &QDialog::finished, this, &MeasurementSheet::onFinished);

    const QLocale locale;
    ui->pEditDate->setDisplayFormat(withFullYear(locale.dateFormat(QLocale::ShortFormat)));
    ui->pEditTime->setDisplayFormat(locale.timeFormat(QLocale::ShortFormat)
                                        .remove(QLatin1String(":ss"))
                                        .remove(QLatin1String(".ss")));
    for (const ValueWidgets &widgets : pValues) {
        widgets.edit->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
        widgets.edit->setMaxLength(32);
    }
    ui->pTags->setCompletions(document ? document->tags() : QStringList());

    loadFields();
    updateCustomTitles();

    // The rows: each takes exactly one pitch, so that the box grows by one pitch per row.
    const int spacing = qMax(4, style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing));
    nRowPitch =
        qMax(ui->pEditPulse->sizeHint().height(), ui->labelPulse->sizeHint().height()) + spacing;
    for (const ValueWidgets &widgets : pValues) {
        if (widgets.row) {
            widgets.row->setFixedHeight(nRowPitch);
            widgets.row->hide();
        }
    }
    // The box's own height, before any row is laid out in it.
    ui->boxLayout->activate();
    nInitialOtherHeight = ui->pBoxOther->minimumSizeHint().height();
    alignLabels();
    propertiesUpdated();
    adjustSize();

    connect(&Preferences::shared(), &Preferences::changed, this, [this](const QString &key) {
        for (const ValueWidgets &widgets : pValues) {
            if (widgets.row && widgets.value->showKey == key) {
                propertiesUpdated();
                return;
            }
            if (!widgets.value->titleKey.isEmpty() && widgets.value->titleKey == key) {
                updateCustomTitles();
                return;
            }
        }
    });

    strLoadedFields = fieldTexts();
    // Most readings are typed from the pressures on.
    ui->pEditSistolic->setFocus();
    ui->pEditSistolic->selectAll();
}

MeasurementSheet::~MeasurementSheet() = default;

QGroupBox *MeasurementSheet::otherBox() const
{
    return ui->pBoxOther;
}

void MeasurementSheet::loadFields()
{
    const QDateTime when = pMeasurement->theWholeDate().toDateTime();
    ui->pEditDate->setDate(when.date());
    ui->pEditTime->setTime(QTime(when.time().hour(), when.time().minute()));
    connect(ui->pEditDate, &QDateEdit::dateChanged, this, [this] { bDateChanged = true; });
    connect(ui->pEditTime, &QTimeEdit::timeChanged, this, [this] { bTimeChanged = true; });

    for (int slot = 0; slot < ReadingValues::kStoredCount; ++slot) {
        const ValueWidgets &widgets = pValues[slot];
        strShown[slot] =
            MeasurementChecks::formatNumber(pMeasurement->valueForKey(widgets.value->key));
        widgets.edit->setText(strShown[slot]);
    }
    ui->pEditComment->setText(pMeasurement->Comments());
    ui->pTags->setTokens(pMeasurement->Tags());
    strTagsShown = ui->pTags->tokens();
}

QStringList MeasurementSheet::fieldTexts() const
{
    QStringList texts = {ui->pEditDate->date().toString(Qt::ISODate),
                         ui->pEditTime->time().toString(Qt::ISODate)};
    for (const ValueWidgets &widgets : pValues)
        texts << widgets.edit->text();
    texts << ui->pEditComment->text() << ui->pTags->pendingText();
    return texts + ui->pTags->tokens();
}

bool MeasurementSheet::hasChanges() const
{
    return fieldTexts() != strLoadedFields;
}

bool MeasurementSheet::confirm()
{
    pSaveMeasurementButton->click();
    return result() == QDialog::Accepted && !isVisible();
}

void MeasurementSheet::updateCustomTitles()
{
    for (const ValueWidgets &widgets : pValues) {
        if (widgets.value->titleKey.isEmpty())
            continue;
        const QString title = ReadingValues::userTitle(*widgets.value);
        //: %1 is the title the user gave a custom value
        QString text = qtTrId("editor.custom_label").arg(title);
        widgets.label->setText(text.replace(QLatin1Char('&'), QLatin1String("&&")));
        widgets.edit->setAccessibleName(title);
    }
    alignLabels();
}

void MeasurementSheet::alignLabels()
{
    // All labels start with one column width; the fixed fields then line up with each other, and
    // alignRowFields() lines the rows in the box up with them once laid out.
    int width = 0;
    for (QLabel *label : findChildren<QLabel *>()) {
        label->setMinimumWidth(0);
        label->setMaximumWidth(QWIDGETSIZE_MAX);
        width = qMax(width, label->sizeHint().width());
    }
    for (QLabel *label : findChildren<QLabel *>()) {
        label->setFixedWidth(width);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    alignRowFields();
}

void MeasurementSheet::alignRowFields()
{
    // The rows sit inside the box's frame and margins: their labels are narrowed by that inset so
    // that their fields start where the fixed fields do. Where a row's label would no longer fit,
    // the fixed labels widen instead.
    if (!isVisible() || !ui->pBoxOther->isVisible())
        return;
    layout()->activate();
    QList<QLabel *> rowLabels,
        fixedLabels = {ui->labelDate, ui->labelTime, ui->labelComment, ui->labelTags};
    QLineEdit *shown = nullptr;
    for (const ValueWidgets &widgets : pValues) {
        (widgets.row ? rowLabels : fixedLabels).append(widgets.label);
        if (!shown && widgets.row && widgets.edit->isVisible())
            shown = widgets.edit;
    }
    if (!shown)
        return;
    const int delta =
        shown->mapTo(this, QPoint()).x() - ui->pEditSistolic->mapTo(this, QPoint()).x();
    if (delta == 0)
        return;
    int rowWidth = ui->labelPulse->width() - delta;
    int needed = 0;
    for (QLabel *label : std::as_const(rowLabels)) {
        label->setMinimumWidth(0);
        needed = qMax(needed, label->sizeHint().width());
    }
    if (rowWidth < needed) {
        for (QLabel *label : std::as_const(fixedLabels))
            label->setFixedWidth(label->width() + (needed - rowWidth));
        rowWidth = needed;
    }
    for (QLabel *label : std::as_const(rowLabels))
        label->setFixedWidth(rowWidth);
    layout()->activate();
}

void MeasurementSheet::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    alignRowFields();
}

void MeasurementSheet::propertiesUpdated()
{
    QGroupBox *box = ui->pBoxOther;
    const bool laidOut = isVisible();
    const int windowHeight = height();
    const int before = box->isVisibleTo(this) ? box->height() : 0;

    int shown = 0;
    for (int slot = 0; slot < ReadingValues::kStoredCount; ++slot) {
        const ValueWidgets &widgets = pValues[slot];
        if (!widgets.row)
            continue;
        const bool on = ReadingValues::isShown(*widgets.value) || (nForcedRows & (1u << slot));
        widgets.row->setVisible(on);
        shown += on ? 1 : 0;
    }
    int after = 0;
    if (shown > 0) {
        after = nInitialOtherHeight + nRowPitch * shown;
        box->setFixedHeight(after);
        box->show();
    } else {
        box->hide();
    }
    linkKeyViews();
    alignRowFields();

    // The sheet grows or shrinks by what the box did, its top edge staying where it is.
    if (laidOut && after != before) {
        layout()->activate();
        resize(width(), windowHeight + (after - before));
    }
}

void MeasurementSheet::linkKeyViews()
{
    // Date, time, the pressures, the shown rows top to bottom, the comment, the tags, then the
    // buttons as they stand. Hidden rows are passed over by the focus chain.
    QList<QWidget *> chain = {ui->pEditDate, ui->pEditTime};
    for (const ValueWidgets &widgets : pValues)
        chain << widgets.edit;
    chain << ui->pEditComment << ui->pTags << ui->pTagsMenuButton;
    const int buttonLayout = style()->styleHint(QStyle::SH_DialogButtonLayout, nullptr, this);
    const bool cancelFirst = buttonLayout == QDialogButtonBox::MacLayout ||
                             buttonLayout == QDialogButtonBox::GnomeLayout;
    chain << (cancelFirst ? pCancelButton : pSaveMeasurementButton)
          << (cancelFirst ? pSaveMeasurementButton : pCancelButton);
    for (qsizetype i = 0; i + 1 < chain.size(); ++i)
        setTabOrder(chain.at(i), chain.at(i + 1));
}

MeasurementChecks::Values MeasurementSheet::commitEditing()
{
    if (bDateChanged) {
        const QDate day = ui->pEditDate->date();
        pMeasurement->setDate(Date::fromComponents(day.year(), day.month(), day.day()));
        bDateChanged = false;
    }
    if (bTimeChanged) {
        const QTime time = ui->pEditTime->time();
        pMeasurement->setTime(Date::fromComponents(2001, 1, 1, time.hour(), time.minute()));
        bTimeChanged = false;
    }

    std::array<QVariant, ReadingValues::kStoredCount> entered;
    for (int slot = 0; slot < ReadingValues::kStoredCount; ++slot) {
        const Key key = pValues[slot].value->key;
        const QString text = pValues[slot].edit->text();
        if (text == strShown[slot]) {
            // Left as shown: the value keeps its exact form (a whole 72.0 stays fractional).
            entered[slot] = pMeasurement->valueForKey(key);
            continue;
        }
        entered[slot] = MeasurementChecks::parseNumber(text);
        // Text that is not a number is not stored: the check refuses it with its own alert.
        if (entered[slot].typeId() != QMetaType::QString) {
            pMeasurement->setValueForKey(entered[slot], key);
            strShown[slot] = text;
        }
    }

    const QString comment = ui->pEditComment->text();
    if (comment != pMeasurement->Comments())
        pMeasurement->setComments(comment);
    ui->pTags->commitEditing();
    const QStringList tags = ui->pTags->tokens();
    if (tags != strTagsShown) {
        pMeasurement->setTags(tags);
        strTagsShown = tags;
    }

    auto of = [&entered](Key key) { return entered[ReadingValues::slotOf(key)]; };
    return {of(Key::Systolic),     of(Key::Diastolic),    of(Key::Pulse),       of(Key::Weight),
            of(Key::CustomValue1), of(Key::CustomValue2), of(Key::CustomValue3)};
}

QLineEdit *MeasurementSheet::fieldFor(MeasurementChecks::Field field) const
{
    // Field::None, then one field per stored value in slot order.
    const int slot = int(field) - 1;
    if (slot >= 0 && slot < ReadingValues::kStoredCount)
        return pValues[slot].edit;
    return nullptr;
}

void MeasurementSheet::onFinishAddingMeasurement()
{
    if (sender() != pSaveMeasurementButton) {
        reject();
        return;
    }
    const MeasurementChecks::Values values = commitEditing();
    MeasurementChecks::Field field = MeasurementChecks::Field::None;
    const QString stem = MeasurementChecks::firstFailure(values, &field);
    if (stem.isEmpty()) {
        accept();
        return;
    }
    // Field::None, then one field per stored value in slot order.
    const int slot = int(field) - 1;
    const ValueWidgets *widgets =
        slot >= 0 && slot < ReadingValues::kStoredCount ? &pValues[slot] : nullptr;
    QStringList arguments;
    if (widgets && !widgets->value->titleKey.isEmpty())
        arguments << ReadingValues::userTitle(*widgets->value);
    QPointer<QLineEdit> edit = fieldFor(field);
    // A value in a row switched off could not be corrected: its row is shown for the rest of
    // this sheet's life.
    if (widgets && widgets->row && !edit->isVisibleTo(this)) {
        nForcedRows |= 1u << slot;
        propertiesUpdated();
    }
    Dialogs::inform(this, stem, arguments, [edit] {
        if (edit) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
    });
}

void MeasurementSheet::onFinished(int result)
{
    if (result == QDialog::Accepted && pCallback)
        pCallback(pOriginal, pMeasurement);
    pCallback = nullptr;
}

QMenu *MeasurementSheet::tagsMenu()
{
    commitEditing();
    delete pTagsMenu;
    auto *menu = new QMenu(this);
    pTagsMenu = menu;
    menu->setTitle(qtTrId("editor.tags.accessible"));
    menu->setAccessibleName(menu->title());

    const QStringList readingTags = pMeasurement->Tags();
    const QStringList documentTags = pDocument ? pDocument->tags() : QStringList();
    auto addItem = [menu](const QString &tag, bool checked) {
        QString title = tag;
        QAction *item = menu->addAction(title.replace(QLatin1Char('&'), QLatin1String("&&")));
        item->setCheckable(true);
        item->setChecked(checked);
        // The tag itself, and its check mark as shown before the menu toggles it.
        item->setData(QVariantList{tag, checked});
    };
    bool newTags = false;
    for (const QString &tag : readingTags) {
        if (!pDocument || !pDocument->tagsCache().contains(tag)) {
            addItem(tag, true);
            newTags = true;
        }
    }
    if (newTags && !documentTags.isEmpty())
        menu->addSeparator();
    const QSet<QString> carried(readingTags.cbegin(), readingTags.cend());
    for (const QString &tag : documentTags)
        addItem(tag, carried.contains(tag));
    if (menu->isEmpty())
        menu->addAction(qtTrId("editor.no_tags"))->setEnabled(false);
    connect(menu, &QMenu::triggered, this, &MeasurementSheet::onTagSelected);
    return menu;
}

void MeasurementSheet::onShowTagsMenu()
{
    QMenu *menu = tagsMenu();
    QToolButton *button = ui->pTagsMenuButton;
    menu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void MeasurementSheet::onTagSelected(QAction *item)
{
    if (!item->isCheckable())
        return;
    const QVariantList data = item->data().toList();
    if (data.size() != 2)
        return;
    QStringList tags = pMeasurement->Tags();
    const QString tag = data.at(0).toString();
    if (data.at(1).toBool())
        tags.removeAll(tag);
    else if (!tags.contains(tag))
        tags.append(tag);
    // A tag chosen from the menu is an edit of the tags: they are stored as the field shows them.
    ui->pTags->setTokens(tags);
    strTagsShown = ui->pTags->tokens();
    pMeasurement->setTags(strTagsShown);
}
