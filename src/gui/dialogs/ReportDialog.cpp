#include "ReportDialog.h"

#include "Dialogs.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVBoxLayout>

ReportDialog::ReportDialog(Kind kind, const QString &intro, const QString &details, QWidget *parent)
    : QDialog(parent), nKind(kind), pDetails(new QPlainTextEdit(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    setWindowTitle(kind == Kind::Crash ? qtTrId("reporter.crash.title")
                                       : qtTrId("reporter.feedback.title"));
    resize(560, 440);
    auto *layout = new QVBoxLayout(this);
    auto *introLabel = new QLabel(intro, this);
    introLabel->setWordWrap(true);
    layout->addWidget(introLabel);
    if (kind == Kind::Feedback) {
        auto *messageLabel = new QLabel(qtTrId("reporter.feedback.message"), this);
        pMessage = new QPlainTextEdit(this);
        pMessage->setObjectName(QStringLiteral("feedbackMessage"));
        pMessage->setTabChangesFocus(true);
        messageLabel->setBuddy(pMessage); // which also names it for screen readers
        layout->addWidget(messageLabel);
        layout->addWidget(pMessage, 2);
    }
    auto *detailsLabel = new QLabel(kind == Kind::Crash ? qtTrId("reporter.crash.details")
                                                        : qtTrId("reporter.feedback.details"),
                                    this);
    pDetails->setObjectName(QStringLiteral("reportDetails"));
    pDetails->setReadOnly(true);
    pDetails->setTabChangesFocus(true);
    pDetails->setPlainText(details);
    pDetails->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    pDetails->setFont(fixed);
    detailsLabel->setBuddy(pDetails);
    layout->addWidget(detailsLabel);
    layout->addWidget(pDetails, 3);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *copy = buttons->addButton(qtTrId("reporter.copy"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("copyButton"));
    QPushButton *save = buttons->addButton(qtTrId("reporter.save"), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("saveButton"));
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    close->setText(qtTrId("reporter.close"));
    close->setDefault(true);
    connect(copy, &QPushButton::clicked, this, &ReportDialog::onCopy);
    connect(save, &QPushButton::clicked, this, &ReportDialog::onSave);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Top to bottom: the message, the details, then the buttons.
    if (pMessage)
        setTabOrder(pMessage, pDetails);
    setTabOrder(pDetails, copy);
    if (pMessage)
        pMessage->setFocus();
}

QString ReportDialog::reportText() const
{
    if (!pMessage)
        return pDetails->toPlainText();
    return pMessage->toPlainText().trimmed() + QStringLiteral("\n\n---\n") +
           pDetails->toPlainText();
}

void ReportDialog::onCopy()
{
    QGuiApplication::clipboard()->setText(reportText());
}

void ReportDialog::onSave()
{
    const QString name = nKind == Kind::Crash ? QStringLiteral("tensilo-crash.txt")
                                              : QStringLiteral("tensilo-feedback.txt");
    const QString suggested = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                              QLatin1Char('/') + name;
    QPointer<ReportDialog> guard(this);
    Dialogs::choosePath(this, Dialogs::FileMode::Save, qtTrId("reporter.save.caption"), suggested,
                        qtTrId("reporter.save.filter"), [guard](const QString &path) {
                            if (!guard || path.isEmpty())
                                return;
                            QSaveFile file(path);
                            const QByteArray data = guard->reportText().toUtf8();
                            if (!file.open(QIODevice::WriteOnly) ||
                                file.write(data) != data.size() || !file.commit()) {
                                //: %1 is the file name
                                Dialogs::informText(
                                    guard,
                                    qtTrId("reporter.save_failed").arg(QFileInfo(path).fileName()),
                                    file.errorString());
                            }
                        });
}
