// Desktop integration: the desktop entry, the MIME package and the AppStream metadata pass the
// freedesktop tools, an install into a temporary DESTDIR holds every file, and the Debian package
// carries the right fields and files.

#include "TestHelpers.h"

#include <QDirIterator>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kAppId = QStringLiteral(TENSILO_APP_ID);

QString source(const QString &path)
{
    return QStringLiteral(TENSILO_SOURCE_DIR "/") + path;
}

// What the program wrote, standard output and error, and its exit code (-1: it did not end).
struct Run
{
    int exitCode = -1;
    QByteArray output;
};

Run run(const QString &program, const QStringList &args,
        const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    const TestSupport::ProcessRun result = TestSupport::run(program, args, {}, env);
    return {result.exitCode, result.out + result.err};
}

QString tool(const QString &name)
{
    const QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        qWarning("%s is missing: scripts/setup installs it", qPrintable(name));
    return path;
}

// Every file the installation must hold, relative to the prefix.
QStringList expectedFiles()
{
    QStringList files = {QStringLiteral("bin/tensilo"), QStringLiteral("bin/tensilo-tool"),
                         QStringLiteral("share/man/man1/tensilo.1.gz"),
                         QStringLiteral("share/man/man1/tensilo-tool.1.gz")};
    for (const char *file :
         {"share/applications/%1.desktop", "share/mime/packages/%1.xml",
          "share/metainfo/%1.metainfo.xml", "share/icons/hicolor/scalable/apps/%1.svg"})
        files.append(QString::fromLatin1(file).arg(kAppId));
    for (const int size : {16, 24, 32, 48, 64, 128, 256, 512})
        files.append(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kAppId));
    for (const char *area : {"core", "csv", "document", "file", "filters", "prefs", "report"}) {
        for (const char *language : {"en", "de"})
            files.append(QStringLiteral("share/tensilo/translations/%1_%2.qm")
                             .arg(QLatin1String(area), QLatin1String(language)));
    }
    return files;
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private slots:
    void desktopEntryIsValid()
    {
        const QString validate = tool(QStringLiteral("desktop-file-validate"));
        QVERIFY(!validate.isEmpty());
        const QString entry = source(QStringLiteral("resources/linux/%1.desktop").arg(kAppId));
        const Run result = run(validate, {entry});
        QVERIFY2(result.exitCode == 0, result.output.constData());
        QVERIFY2(!result.output.contains("error"), result.output.constData());

        QSettings settings(entry, QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("Desktop Entry"));
        QCOMPARE(settings.value(QStringLiteral("Exec")).toString(), QStringLiteral("tensilo %F"));
        QCOMPARE(settings.value(QStringLiteral("Icon")).toString(), kAppId);
        QVERIFY(settings.value(QStringLiteral("MimeType"))
                    .toString()
                    .contains(QStringLiteral("application/x-tensilo")));
    }

    void metainfoIsValid()
    {
        const QString appstream = tool(QStringLiteral("appstreamcli"));
        QVERIFY(!appstream.isEmpty());
        const QString file =
            QStringLiteral(TENSILO_BINARY_DIR "/resources/linux/%1.metainfo.xml").arg(kAppId);
        const Run result = run(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                           QStringLiteral("--pedantic"), file});
        QVERIFY2(result.exitCode == 0, result.output.constData());
        const QByteArray text = TestSupport::readFile(file);
        QVERIFY(text.contains("<id>" + kAppId.toUtf8() + "</id>"));
        QVERIFY(text.contains("<screenshot type=\"default\">"));
        QVERIFY(text.contains("<description>"));
        QVERIFY(text.contains("<release version=\"" TENSILO_VERSION "\""));
    }

    void mimePackageMapsDocuments()
    {
        const QString update = tool(QStringLiteral("update-mime-database"));
        QVERIFY(!update.isEmpty());
        QTemporaryDir data;
        QVERIFY(QDir().mkpath(data.filePath(QStringLiteral("mime/packages"))));
        QVERIFY(QFile::copy(source(QStringLiteral("resources/linux/%1.xml").arg(kAppId)),
                            data.filePath(QStringLiteral("mime/packages/%1.xml").arg(kAppId))));
        const Run result =
            run(update, {QStringLiteral("-V"), data.filePath(QStringLiteral("mime"))});
        QVERIFY2(result.exitCode == 0, result.output.constData());
        QVERIFY2(!result.output.contains("rror"), result.output.constData());

        QVERIFY(TestSupport::readFile(data.filePath(QStringLiteral("mime/globs2")))
                    .contains("application/x-tensilo:*.tensilo"));

        // What a file manager asks: this process looks only at the temporary tree.
        qputenv("XDG_DATA_DIRS", data.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", data.filePath(QStringLiteral("home")).toLocal8Bit());
        const QMimeType type = QMimeDatabase().mimeTypeForFile(
            QStringLiteral("/nowhere/Blood pressure 2024.tensilo"), QMimeDatabase::MatchExtension);
        QCOMPARE(type.name(), QStringLiteral("application/x-tensilo"));
    }

    void installHoldsEveryFile()
    {
        QTemporaryDir destdir;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), destdir.path());
        const Run result = run(QStringLiteral(TENSILO_CMAKE),
                               {QStringLiteral("--install"), QStringLiteral(TENSILO_BINARY_DIR),
                                QStringLiteral("--prefix"), QStringLiteral("/opt/tensilo-test")},
                               env);
        QVERIFY2(result.exitCode == 0, result.output.constData());
        const QString prefix = destdir.filePath(QStringLiteral("opt/tensilo-test/"));
        for (const QString &file : expectedFiles())
            QVERIFY2(QFileInfo(prefix + file).isFile() && QFileInfo(prefix + file).size() > 0,
                     qPrintable(file));
        QVERIFY(QFileInfo(prefix + QStringLiteral("bin/tensilo")).isExecutable());
        // Nothing escapes DESTDIR, and no test or benchmark program is installed.
        QVERIFY(!QFileInfo::exists(QStringLiteral("/opt/tensilo-test")));
        QDirIterator it(prefix + QStringLiteral("bin"), QDir::Files);
        while (it.hasNext()) {
            it.next();
            QVERIFY2(!it.fileName().startsWith(QLatin1String("tst_")), qPrintable(it.fileName()));
        }
    }

    void debianPackage()
    {
        const QString dpkgDeb = tool(QStringLiteral("dpkg-deb"));
        QVERIFY(!dpkgDeb.isEmpty());
        QVERIFY(!tool(QStringLiteral("dpkg-shlibdeps")).isEmpty());
        QTemporaryDir out;
        QProcess cpack;
        cpack.setWorkingDirectory(QStringLiteral(TENSILO_BINARY_DIR));
        cpack.setProcessChannelMode(QProcess::MergedChannels);
        cpack.start(QStringLiteral(TENSILO_CPACK), {QStringLiteral("-G"), QStringLiteral("DEB"),
                                                    QStringLiteral("-B"), out.path()});
        QVERIFY(cpack.waitForFinished(600000));
        const QByteArray log = cpack.readAll();
        QVERIFY2(cpack.exitCode() == 0, log.constData());
        const QStringList debs = QDir(out.path()).entryList({QStringLiteral("*.deb")}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        const QString deb = out.filePath(debs.first());
        QCOMPARE(debs.first(), QStringLiteral("tensilo_" TENSILO_VERSION "_amd64.deb"));

        const Run fields = run(dpkgDeb, {QStringLiteral("-f"), deb});
        QCOMPARE(fields.exitCode, 0);
        const QString control = QString::fromUtf8(fields.output);
        QVERIFY(control.contains(QStringLiteral("Package: tensilo\n")));
        QVERIFY(control.contains(QStringLiteral("Version: " TENSILO_VERSION "\n")));
        QVERIFY(control.contains(QStringLiteral("Maintainer: ")));
        QVERIFY(control.contains(QStringLiteral("Description: ")));
        // Dependencies found in the binaries, not written by hand.
        const QRegularExpression depends(QStringLiteral("^Depends: (.*)$"),
                                         QRegularExpression::MultilineOption);
        const QString list = depends.match(control).captured(1);
        for (const char *library :
             {"libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6"})
            QVERIFY2(list.contains(QLatin1String(library)), qPrintable(control));

        const Run contents = run(dpkgDeb, {QStringLiteral("-c"), deb});
        QCOMPARE(contents.exitCode, 0);
        const QString files = QString::fromUtf8(contents.output);
        for (const QString &file : expectedFiles())
            QVERIFY2(files.contains(QStringLiteral(" ./usr/") + file + u'\n'), qPrintable(file));
        QVERIFY(!files.contains(QLatin1String("tst_")));
        QVERIFY(!files.contains(QLatin1String("bench_")));
    }
};

QTEST_GUILESS_MAIN(TestDesktop)
#include "tst_desktop.moc"
