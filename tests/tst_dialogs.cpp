#include "Dialogs.h"
#include "TestMain.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

// The dialogs seam: answers queued by a test come on the next turn of the loop without a window;
// with nothing queued a real alert opens without blocking, and its buttons map to indexes.
class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        Dialogs::setTestMode(false);
        Dialogs::clearRecord();
    }

    void queuedAnswersComeLaterInOrder()
    {
        Dialogs::setTestMode(true);
        Dialogs::setNextAnswer(1);
        Dialogs::setNextAnswer(7); // beyond the buttons: the last one
        QList<int> answers;
        Dialogs::ask(nullptr, QStringLiteral("delete_filter"),
                     {QStringLiteral("delete"), QStringLiteral("cancel")},
                     [&](int a) { answers << a; }, {QStringLiteral("X")});
        Dialogs::ask(nullptr, QStringLiteral("delete_filter"),
                     {QStringLiteral("delete"), QStringLiteral("cancel")},
                     [&](int a) { answers << a; });
        QVERIFY(answers.isEmpty()); // never inside the call that asks
        QTRY_COMPARE_WITH_TIMEOUT(answers, (QList<int>{1, 1}), 1000);
        QCOMPARE(Dialogs::record().size(), 2);
        QCOMPARE(Dialogs::record().first().stem, QStringLiteral("delete_filter"));
        QVERIFY(!Dialogs::hasQueuedAnswers());
    }

    void unansweredQuestionsAreCountedNotShown()
    {
        Dialogs::setTestMode(true);
        bool called = false;
        Dialogs::inform(nullptr, QStringLiteral("record_bad_pulse"), {}, [&] { called = true; });
        QString path = QStringLiteral("unset");
        Dialogs::choosePath(nullptr, Dialogs::FileMode::Save, QStringLiteral("Save"), QString(),
                            QString(), [&](const QString &p) { path = p; });
        QCoreApplication::processEvents();
        QVERIFY(!called);
        QCOMPARE(path, QStringLiteral("unset"));
        QCOMPARE(Dialogs::unansweredCount(), 2);
        QVERIFY(!QApplication::activeModalWidget());

        Dialogs::setNextPath(QString()); // a cancelled file dialog answers an empty path
        Dialogs::choosePath(nullptr, Dialogs::FileMode::Open, QStringLiteral("Open"), QString(),
                            QString(), [&](const QString &p) { path = p; });
        QTRY_COMPARE_WITH_TIMEOUT(path, QString(), 1000);
    }

    void realAlertOpensWithoutBlockingAndAnswersByIndex()
    {
        int answer = -1;
        Dialogs::ask(nullptr, QStringLiteral("delete_filter"),
                     {QStringLiteral("delete"), QStringLiteral("cancel")},
                     [&](int a) { answer = a; });
        // Still here: the alert was opened, not run.
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            const auto boxes = QApplication::topLevelWidgets();
            for (QWidget *w : boxes)
                if (auto *b = qobject_cast<QMessageBox *>(w); b && b->isVisible())
                    box = b;
        }
        QVERIFY(box);
        QCOMPARE(box->windowModality(), Qt::ApplicationModal);
        QCOMPARE(box->buttons().size(), 2);
        QCOMPARE(answer, -1);
        box->escapeButton()->click(); // Escape means the last button
        QTRY_COMPARE_WITH_TIMEOUT(answer, 1, 1000);
    }

    // The file dialog adds the suffix itself, before it looks for a file to ask about.
    void saveDialogKnowsTheSuffix()
    {
        QString path = QStringLiteral("unset");
        Dialogs::chooseSavePath(nullptr, QStringLiteral("Save"), QDir::tempPath(), QString(),
                                QStringLiteral("tensilo"), [&](const QString &p) { path = p; });
        QFileDialog *dialog = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<QFileDialog *>(w); d && d->isVisible())
                dialog = d;
        QVERIFY(dialog);
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("tensilo"));
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        dialog->reject();
        QTRY_COMPARE_WITH_TIMEOUT(path, QString(), 1000);
    }
};

TENSILO_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
