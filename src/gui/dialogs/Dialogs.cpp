#include "Dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <deque>

namespace {

struct State
{
    std::deque<int> answers;
    std::deque<QString> paths;
    QList<Dialogs::Asked> record;
    bool testMode = false;
    int unanswered = 0;
};

State &state()
{
    static State s;
    return s;
}

QString argumentsFilled(QString text, const QStringList &arguments)
{
    for (const QString &argument : arguments)
        text = text.arg(argument);
    return text;
}

// Delivers `call` on the next turn of the event loop, as a dialog's answer would come.
void later(std::function<void()> call)
{
    QTimer::singleShot(0, [call = std::move(call)] { call(); });
}

// QDialog::open() makes a dialog window-modal; an alert blocks the whole application, so it is
// shown with that modality instead. Either way no nested event loop runs: the answer comes
// through the finished signal.
void showApplicationModal(QMessageBox *box)
{
    Dialogs::returnFocusWhenFinished(box);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}

} // namespace

void Dialogs::ask(QWidget *parent, const QString &stem, const QStringList &buttons,
                  std::function<void(int)> done, const QStringList &arguments)
{
    Q_ASSERT_X(!buttons.isEmpty(), "Dialogs", "an alert without buttons");
    const QString title = qtTrId(qPrintable(stem + QStringLiteral(".title")));
    const QString message =
        argumentsFilled(qtTrId(qPrintable(stem + QStringLiteral(".message"))), arguments);
    State &s = state();
    s.record.append({stem, title, message, QString()});
    if (!s.answers.empty()) {
        const int answer = qBound(0, s.answers.front(), int(buttons.size()) - 1);
        s.answers.pop_front();
        if (done)
            later([done, answer] { done(answer); });
        return;
    }
    if (s.testMode) {
        ++s.unanswered;
        return;
    }

    auto *box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(buttons.size() > 1 ? QMessageBox::Question : QMessageBox::Warning);
    box->setWindowTitle(title);
    box->setText(title);
    box->setInformativeText(message);
    box->setAccessibleName(title);
    box->setAccessibleDescription(message);
    QList<QPushButton *> pushButtons;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        const QString text = qtTrId(qPrintable(stem + QLatin1Char('.') + buttons.at(i)));
        // Roles only place the buttons; the answer is the button's index.
        const QMessageBox::ButtonRole role =
            i == 0 ? QMessageBox::AcceptRole
                   : (i == buttons.size() - 1 ? QMessageBox::RejectRole
                                              : QMessageBox::DestructiveRole);
        pushButtons.append(box->addButton(text, role));
    }
    box->setDefaultButton(pushButtons.first());
    box->setEscapeButton(pushButtons.last());
    QObject::connect(box, &QMessageBox::finished, box, [box, pushButtons, done] {
        const int index = int(pushButtons.indexOf(box->clickedButton()));
        if (done)
            done(index < 0 ? int(pushButtons.size()) - 1 : index);
    });
    showApplicationModal(box);
}

void Dialogs::inform(QWidget *parent, const QString &stem, const QStringList &arguments,
                     std::function<void()> done)
{
    ask(
        parent, stem, {QStringLiteral("ok")},
        [done](int) {
            if (done)
                done();
        },
        arguments);
}

void Dialogs::informText(QWidget *parent, const QString &title, const QString &message,
                         std::function<void()> done, const QString &detail)
{
    State &s = state();
    s.record.append({QString(), title, message, detail});
    if (!s.answers.empty()) {
        s.answers.pop_front();
        if (done)
            later(done);
        return;
    }
    if (s.testMode) {
        ++s.unanswered;
        return;
    }
    auto *box = new QMessageBox(QMessageBox::Warning, title, title, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setInformativeText(message);
    box->setDetailedText(detail);
    box->setAccessibleName(title);
    box->setAccessibleDescription(message);
    QObject::connect(box, &QMessageBox::finished, box, [done] {
        if (done)
            done();
    });
    showApplicationModal(box);
}

namespace {

void openFileDialog(QWidget *parent, Dialogs::FileMode mode, const QString &caption,
                    const QString &directory, const QString &nameFilter,
                    const QString &defaultSuffix, std::function<void(QString)> done);

} // namespace

void Dialogs::choosePath(QWidget *parent, FileMode mode, const QString &caption,
                         const QString &directory, const QString &nameFilter,
                         std::function<void(QString)> done)
{
    openFileDialog(parent, mode, caption, directory, nameFilter, QString(), std::move(done));
}

QString Dialogs::withSuffix(const QString &path, const QString &suffix)
{
    if (path.isEmpty() || suffix.isEmpty() ||
        QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0)
        return path;
    return path + QLatin1Char('.') + suffix;
}

void Dialogs::chooseSavePath(QWidget *parent, const QString &caption, const QString &directory,
                             const QString &nameFilter, const QString &suffix,
                             std::function<void(QString)> done)
{
    QPointer<QWidget> guard(parent);
    const bool hadParent = parent;
    openFileDialog(parent, FileMode::Save, caption, directory, nameFilter, suffix,
                   [guard, hadParent, caption, nameFilter, suffix, done](const QString &chosen) {
                       if (hadParent && !guard)
                           return;
                       const QString path = withSuffix(chosen, suffix);
                       // The dialog asked about the name it returned, not about one completed here.
                       if (path == chosen || !QFileInfo::exists(path)) {
                           if (done)
                               done(path);
                           return;
                       }
                       ask(guard, QStringLiteral("file.replace"),
                           {QStringLiteral("replace"), QStringLiteral("cancel")},
                           [guard, hadParent, caption, nameFilter, suffix, done, path](int answer) {
                               if (hadParent && !guard)
                                   return;
                               if (answer == 0) {
                                   if (done)
                                       done(path);
                                   return;
                               }
                               chooseSavePath(guard, caption, path, nameFilter, suffix, done);
                           },
                           {QFileInfo(path).fileName()});
                   });
}

namespace {

void openFileDialog(QWidget *parent, Dialogs::FileMode mode, const QString &caption,
                    const QString &directory, const QString &nameFilter,
                    const QString &defaultSuffix, std::function<void(QString)> done)
{
    using FileMode = Dialogs::FileMode;
    State &s = state();
    s.record.append({caption, caption, directory, QString()});
    if (!s.paths.empty()) {
        const QString path = s.paths.front();
        s.paths.pop_front();
        if (done)
            later([done, path] { done(path); });
        return;
    }
    if (s.testMode) {
        ++s.unanswered;
        return;
    }

    auto *dialog = new QFileDialog(parent, caption, directory, nameFilter);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    switch (mode) {
    case FileMode::Open:
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        break;
    case FileMode::OpenMany:
        dialog->setFileMode(QFileDialog::ExistingFiles);
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        break;
    case FileMode::Save:
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        // Added before the dialog checks for a file of that name, so that it asks about the
        // file that would really be replaced.
        dialog->setDefaultSuffix(defaultSuffix);
        break;
    }
    Dialogs::returnFocusWhenFinished(dialog);
    QPointer<QFileDialog> guard(dialog);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [guard, done](int result) {
        QString path;
        if (guard && result == QDialog::Accepted)
            path = guard->selectedFiles().join(QLatin1Char('\n'));
        if (done)
            done(path);
    });
    dialog->open();
}

} // namespace

void Dialogs::returnFocusWhenFinished(QDialog *dialog)
{
    QPointer<QWidget> owner = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
    QObject::connect(dialog, &QDialog::finished, dialog, [owner] {
        if (owner && owner->isVisible())
            owner->activateWindow();
    });
}

void Dialogs::setNextAnswer(int index)
{
    state().answers.push_back(index);
}

void Dialogs::setNextPath(const QString &path)
{
    state().paths.push_back(path);
}

bool Dialogs::hasQueuedAnswers()
{
    return !state().answers.empty() || !state().paths.empty();
}

const QList<Dialogs::Asked> &Dialogs::record()
{
    return state().record;
}

void Dialogs::clearRecord()
{
    state().record.clear();
    state().unanswered = 0;
}

void Dialogs::setTestMode(bool on)
{
    state().testMode = on;
}

int Dialogs::unansweredCount()
{
    return state().unanswered;
}
