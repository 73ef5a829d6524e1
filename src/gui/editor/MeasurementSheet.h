#pragma once

#include "Measurement.h"
#include "MeasurementChecks.h"
#include "ReadingValues.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class MyDocument;
class MyTokenField;
class QAction;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimeEdit;
class QToolButton;
namespace Ui {
class Measurement;
}

// The editor of one reading: a window-modal sheet on the document window, laid out by the
// layout "Measurement". It edits a private copy of the reading; the document is not touched
// here. When the user confirms and every check passes, the callback receives the reading that
// was edited (null when adding) and the edited copy; Cancel and Escape drop the copy and call
// nothing.
//
// The box of other values shows only the rows switched on in the preferences ("showPulse",
// "showWeight", "customShow1" to "customShow3"), top to bottom without gaps; each shown row adds
// one row pitch to the box, and with none the box is hidden and the sheet shrinks by the box's
// whole height, keeping its top edge. The rows follow the preferences while the sheet is open.
class MeasurementSheet : public QDialog
{
    Q_OBJECT
public:
    using Callback = std::function<void(ConstMeasurementPtr edited, MeasurementPtr entered)>;

    // Opens a sheet on `window` and returns at once; the sheet deletes itself when it ends.
    // Editing: the sheet edits a copy of `reading`. Adding: the new reading starts from
    // `reading` (or, when null, from the document's last edited reading) dated now with an empty
    // comment, or is 120 over 80 at the present moment when there is no such reading.
    static void showForMeasurement(ConstMeasurementPtr reading, MyDocument *document,
                                   bool forEditing, QWidget *window, Callback callback);

    MeasurementSheet(ConstMeasurementPtr reading, MyDocument *document, bool forEditing,
                     QWidget *parent, Callback callback);
    ~MeasurementSheet() override;

    // The working copy the fields edit, and the reading being edited (null when adding).
    MeasurementPtr currentMeasurement() const { return pMeasurement; }
    ConstMeasurementPtr originalMeasurement() const { return pOriginal; }

    // The space each shown optional row adds to the box.
    int rowPitch() const { return nRowPitch; }
    // The box's height with no row in it.
    int initialOtherHeight() const { return nInitialOtherHeight; }
    QGroupBox *otherBox() const;

    // Lays the optional rows, the box and the sheet out again from the preferences.
    void propertiesUpdated();

    // Writes what the fields show into the working copy (numbers only where they are numbers);
    // answers the values as entered, for the checks.
    MeasurementChecks::Values commitEditing();

    // Whether the user changed any field since the sheet opened: unsaved work when the document
    // closes.
    bool hasChanges() const;
    // Confirms as the commit button does; false when a check refused a value (its alert is shown
    // and the sheet stays open).
    bool confirm();

    // Builds the tag menu for the working copy (replacing the previous one) without showing it.
    QMenu *tagsMenu();

protected:
    void showEvent(QShowEvent *event) override;

public slots:
    // Builds the tag menu and pops it up under the tag button.
    void onShowTagsMenu();
    // Confirms (commit button) or cancels (any other sender).
    void onFinishAddingMeasurement();

private:
    void onTagSelected(QAction *item);
    void loadFields();
    void updateCustomTitles();
    QLineEdit *fieldFor(MeasurementChecks::Field field) const;
    void linkKeyViews();
    void alignLabels();
    void alignRowFields();
    void onFinished(int result);

    std::unique_ptr<Ui::Measurement> ui;
    // The layout's widgets of each stored value, by its slot: its field, its label and, for the
    // values in the box of other values, its row.
    struct ValueWidgets
    {
        const ReadingValue *value;
        QLineEdit *edit;
        QLabel *label;
        QWidget *row;
    };
    std::array<ValueWidgets, ReadingValues::kStoredCount> pValues;
    MeasurementPtr pMeasurement;
    ConstMeasurementPtr pOriginal;
    QPointer<MyDocument> pDocument;
    Callback pCallback;
    QPushButton *pSaveMeasurementButton = nullptr; // also the button titled "editor.add"/"save"
    QPushButton *pCancelButton = nullptr;
    QPointer<QMenu> pTagsMenu;
    int nInitialOtherHeight = 0;
    int nRowPitch = 0;
    // The numbers as first shown, so that a field left alone keeps its exact value and kind.
    std::array<QString, ReadingValues::kStoredCount> strShown;
    // The tags as the field shows them (trimmed, each once); while the field still shows them
    // the reading's own tags are kept exactly as they are.
    QStringList strTagsShown;
    unsigned nForcedRows = 0; // rows shown although switched off (a bit per slot)
    bool bDateChanged = false;
    bool bTimeChanged = false;
    QStringList strLoadedFields; // fieldTexts() as the sheet opened
    QStringList fieldTexts() const;
};
