#pragma once

// TENSILO_TEST_MAIN(TestClass) in place of QTEST_MAIN: the same main, with the shared test
// environment (TestSupport::setUpEnvironment) set up before the test object is made and, in
// programs that have the dialogs, the dialogs answering from the tests' queue.

#include "TestHelpers.h"

#include <QtTest>

#if defined(QT_WIDGETS_LIB)
#include <QApplication>
using TensiloTestApplication = QApplication;
#elif defined(QT_GUI_LIB)
#include <QGuiApplication>
using TensiloTestApplication = QGuiApplication;
#else
using TensiloTestApplication = QCoreApplication;
#endif

#if __has_include("Dialogs.h")
#include "Dialogs.h"
#define TENSILO_TEST_DIALOGS() Dialogs::setTestMode(true)
#else
#define TENSILO_TEST_DIALOGS() (void)0
#endif

#define TENSILO_TEST_MAIN(TestObject)                                                              \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))                                         \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        TensiloTestApplication app(argc, argv);                                                    \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestSupport::setUpEnvironment();                                                           \
        TENSILO_TEST_DIALOGS();                                                                    \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
