#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class Preferences;
}

// The preferences window (layout "Preferences"). Every control that carries a "preferenceKey"
// property in the layout is bound to that key, so each change is written at once and open
// windows follow; there is no code per key. Restore Defaults, once the user confirms, removes the
// user's values.
class PreferencesWndController : public QWidget
{
    Q_OBJECT
public:
    explicit PreferencesWndController(QWidget *parent = nullptr);
    ~PreferencesWndController() override;

    void showWindow(QObject *sender = nullptr);
    // Asks, then restores the defaults when the user agrees.
    void onRestoreDefaults();
    // Removes every value the user set, at once.
    void restoreDefaults();

    // The controls bound to keys, by key.
    QWidget *controlForKey(const QString &key) const;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<Ui::Preferences> pUi;
};
