// The application against other processes: a child killed after an autosave leaves a copy that
// the next start recovers, a crashing child leaves a report that the next start finds, and a
// second start hands its files to the running one.

#include "CrashReporter.h"
#include "Dialogs.h"
#include "DocumentController.h"
#include "MyDocument.h"
#include "ReportDialog.h"
#include "SingleInstance.h"
#include "TestMain.h"

#include <QAccessible>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

QString helper()
{
    return QStringLiteral(TENSILO_BINARY_DIR "/app_test_helper");
}

} // namespace

class TestAppProcess : public QObject
{
    Q_OBJECT

private slots:
    void recoveryAfterKill()
    {
        QTemporaryDir dir;
        const QString recovery = dir.filePath(QStringLiteral("recovery"));
        QProcess child;
        child.start(helper(), {QStringLiteral("autosave"), recovery});
        QVERIFY(child.waitForStarted());
        while (!child.canReadLine())
            QVERIFY2(child.waitForReadyRead(20000), "the child did not autosave");
        QCOMPARE(child.readLine().trimmed(), QByteArray("autosaved"));
        child.kill(); // SIGKILL: nothing of the child's own runs any more
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        DocumentController controller;
        controller.setRecoveryDirectory(recovery);
        const QList<DocumentController::Recovery> pending = controller.pendingRecoveries();
        QCOMPARE(pending.size(), 1);
        QVERIFY(pending.first().originalPath.isEmpty());
        Dialogs::clearRecord();
        Dialogs::setNextAnswer(0);
        controller.offerRecoveries();
        QTRY_COMPARE(controller.documents().size(), 1);
        MyDocument *document = controller.documents().first();
        QCOMPARE(document->allItems().size(), 1);
        QCOMPARE(document->allItems().first()->Systolic().toInt(), 131);
        QVERIFY(controller.isEdited(document));
    }

    void crashLeavesAReport()
    {
        QTemporaryDir dir;
        QProcess child;
        child.start(helper(), {QStringLiteral("crash"), dir.path()});
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        CrashReporter reporter;
        reporter.setReportDirectory(dir.path());
        QVERIFY(reporter.hasCrashReport());
        QVERIFY(reporter.reportIfCrash(nullptr));
        auto *dialog = qobject_cast<ReportDialog *>(reporter.currentDialog());
        QVERIFY(dialog);
        const QString text = dialog->reportText();
        QVERIFY2(text.contains(QStringLiteral("SIGSEGV")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Version: 9.8.7")));
        QVERIFY(text.contains(QStringLiteral("Qt: ")));
        QVERIFY(text.contains(QStringLiteral("Time: ")));
        QVERIFY(text.contains(QStringLiteral("Backtrace:")));
        QVERIFY(text.section(QStringLiteral("Backtrace:"), 1).count(QLatin1Char('\n')) >= 3);
        // Offered once.
        QVERIFY(!reporter.hasCrashReport());
        dialog->close();
        QVERIFY(!reporter.reportIfCrash(nullptr));
    }

    void feedbackDialog()
    {
        CrashReporter reporter;
        reporter.reportFeedback(nullptr);
        auto *dialog = qobject_cast<ReportDialog *>(reporter.currentDialog());
        QVERIFY(dialog && dialog->messageEdit());
        // Named by its label for screen readers (no mnemonic sign), and Tab goes on to the
        // details below it.
        QAccessibleInterface *message =
            QAccessible::queryAccessibleInterface(dialog->messageEdit());
        QVERIFY(message && !message->text(QAccessible::Name).isEmpty());
        QVERIFY(!message->text(QAccessible::Name).contains(QLatin1Char('&')));
        QWidget *next = dialog->messageEdit()->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        QCOMPARE(next->objectName(), QStringLiteral("reportDetails"));
        QTest::keyClicks(dialog->messageEdit(), QStringLiteral("The chart is lovely."));
        QTemporaryDir dir;
        const QString saved = dir.filePath(QStringLiteral("feedback.txt"));
        Dialogs::setNextPath(saved);
        dialog->onSave();
        QTRY_VERIFY(QFile::exists(saved));
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.startsWith(QStringLiteral("The chart is lovely.")));
        QVERIFY(text.contains(QStringLiteral("Qt: ")));
        dialog->close();
    }

    void secondStartHandsOver()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("instance.socket"));
        QProcess nobody;
        nobody.start(helper(), {QStringLiteral("handover"), name});
        QVERIFY(nobody.waitForFinished(20000));
        QCOMPARE(nobody.exitCode(), 3); // none runs: the second start would carry on itself

        SingleInstance running(name);
        QVERIFY(running.listen());
        QSignalSpy received(&running, &SingleInstance::argumentsReceived);
        QProcess second;
        second.start(helper(), {QStringLiteral("handover"), name, QStringLiteral("/a/b.tensilo"),
                                QStringLiteral("/c d/é.tensilo")});
        QVERIFY(received.wait(20000));
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(received.first().first().toStringList(),
                 (QStringList{"/a/b.tensilo", "/c d/é.tensilo"}));

        // No files: the reopen request.
        second.start(helper(), {QStringLiteral("handover"), name});
        QVERIFY(received.wait(20000));
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(received.last().first().toStringList(), QStringList());

        // A third instance does not take the place of the running one.
        SingleInstance third(name);
        QVERIFY(!third.listen());
        second.start(helper(), {QStringLiteral("handover"), name, QStringLiteral("/x.tensilo")});
        QVERIFY(received.wait(20000));
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(received.size(), 3);
    }

    // What a crashed instance left at the socket's place is taken over.
    void staleSocketIsReplaced()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("instance.socket"));
        QFile leftover(name);
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.close();
        SingleInstance running(name);
        QVERIFY(running.listen());
        QSignalSpy received(&running, &SingleInstance::argumentsReceived);
        QProcess second;
        second.start(helper(), {QStringLiteral("handover"), name});
        QVERIFY(received.wait(20000));
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
    }

    // Only this user can reach the socket.
    void socketIsPrivate()
    {
        const QString name = SingleInstance::defaultServerName();
        QVERIFY(name.contains(QString::number(getuid())));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("private.socket"));
        SingleInstance running(path);
        QVERIFY(running.listen());
        const QFile::Permissions permissions = QFileInfo(path).permissions();
        QVERIFY(!(permissions &
                  (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup)));
    }
};

TENSILO_TEST_MAIN(TestAppProcess)
#include "tst_app_process.moc"
