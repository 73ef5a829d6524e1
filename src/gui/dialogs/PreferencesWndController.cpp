#include "PreferencesWndController.h"

#include "ui_Preferences.h"

#include "ColorSwatchButton.h"
#include "Dialogs.h"
#include "PreferenceBinding.h"
#include "Preferences.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QShortcut>
#include <QSpinBox>

namespace {

// The property of a control that holds its value.
const char *valueProperty(const QWidget *widget)
{
    if (qobject_cast<const ColorSwatchButton *>(widget))
        return "color";
    if (qobject_cast<const QAbstractButton *>(widget))
        return "checked";
    if (qobject_cast<const QLineEdit *>(widget))
        return "text";
    if (qobject_cast<const QComboBox *>(widget))
        return "currentIndex";
    if (qobject_cast<const QSpinBox *>(widget))
        return "value";
    return nullptr;
}

} // namespace

PreferencesWndController::PreferencesWndController(QWidget *parent)
    : QWidget(parent, Qt::Window), pUi(std::make_unique<Ui::Preferences>())
{
    pUi->setupUi(this);
    for (QWidget *control : findChildren<QWidget *>()) {
        const QString key = control->property("preferenceKey").toString();
        if (key.isEmpty())
            continue;
        const char *property = valueProperty(control);
        Q_ASSERT_X(property, "PreferencesWndController", "a control of unknown kind");
        if (!property)
            continue;
        // A check box names itself; other controls take their label's text.
        if (!qobject_cast<QAbstractButton *>(control) ||
            qobject_cast<ColorSwatchButton *>(control)) {
            for (QLabel *label : findChildren<QLabel *>()) {
                if (label->buddy() == control)
                    control->setAccessibleName(
                        label->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')));
            }
        }
        PreferenceBinding::bind(control, property, key);
    }
    connect(pUi->restoreDefaultsButton, &QPushButton::clicked, this,
            &PreferencesWndController::onRestoreDefaults);
    connect(pUi->closeButton, &QPushButton::clicked, this, &QWidget::close);
    new QShortcut(QKeySequence::Cancel, this, this, &QWidget::close);
}

PreferencesWndController::~PreferencesWndController() = default;

QWidget *PreferencesWndController::controlForKey(const QString &key) const
{
    for (QWidget *control : findChildren<QWidget *>()) {
        if (control->property("preferenceKey").toString() == key)
            return control;
    }
    return nullptr;
}

void PreferencesWndController::showWindow(QObject *)
{
    show();
    raise();
    activateWindow();
}

void PreferencesWndController::onRestoreDefaults()
{
    // Colours and titles the user chose cannot be brought back: ask first, Cancel by Escape.
    QPointer<PreferencesWndController> self(this);
    Dialogs::ask(this, QStringLiteral("prefs.restore_defaults_ask"),
                 {QStringLiteral("restore"), QStringLiteral("cancel")}, [self](int button) {
                     if (self && button == 0)
                         self->restoreDefaults();
                 });
}

void PreferencesWndController::restoreDefaults()
{
    Preferences &preferences = Preferences::shared();
    for (const QString &key : Preferences::registeredKeys())
        preferences.removeValueForKey(key);
}

void PreferencesWndController::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closed();
}
