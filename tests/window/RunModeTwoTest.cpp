// SPDX-License-Identifier: GPL-3.0-or-later
// The program started by the companion to scan a folder: the window opens and
// matches the given folder at once, with the cache found through the registry
// stand-in and the companion's settings file.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include "WindowTestSupport.h"
#include "support/RoadLibrary.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

constexpr int kRunTimeoutMs = 60000;

struct CompanionSetup {
    explicit CompanionSetup(const RoadLibrary& road) {
        const std::string songleaf = road.Library.Dir().MakeFolder("sl");
        road.Library.Dir().WriteFile("sl/settings.txt",
                                     "[CachePath] " + road.Library.CachePath() + "\r\n");
        road.Library.Dir().WriteFile("wine/system.reg",
                                     "WINE REGISTRY Version 2\n\n"
                                     "[Software\\\\Kestrel Works\\\\Songleaf] 1700000000\n"
                                     "#time=1d9a1b2c3d4e5f6\n"
                                     "\"Path\"=\"" +
                                         songleaf + "\"\n");
        lockFolder = road.Library.Dir().MakeFolder("lock");
        winePrefix = road.Library.Dir() / "wine";
    }

    // Runs versemark with the arguments; returns its standard output.
    QString Run(const QStringList& arguments, int& exitCode) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("VERSEMARK_LOCK_DIR", QString::fromStdString(lockFolder));
        environment.insert("VERSEMARK_QUIT_AFTER_SCAN", "1");
        environment.insert("WINEPREFIX", QString::fromStdString(winePrefix));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VERSEMARK_EXECUTABLE), arguments);
        if (!process.waitForFinished(kRunTimeoutMs)) {
            process.kill();
            exitCode = -1;
            return QString();
        }
        exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    std::string lockFolder;
    std::string winePrefix;
};

}  // namespace

class RunModeTwoTest : public QObject {
    Q_OBJECT

  private slots:
    void theFolderIsScannedWithItsSubfolders() {
        RoadLibrary road;
        const CompanionSetup companion(road);
        int exitCode = 0;
        const QString output = companion.Run(
            {"--/5nf", "--/fol " + QString::fromStdString(road.Music()), "--/sub"}, exitCode);
        QCOMPARE(exitCode, 0);
        QCOMPARE(output, QString("Matches: 6 / 7 (85.7%)\n"));
    }

    void withoutTheSubfolderKeyOnlyTheFolderIsScanned() {
        RoadLibrary road;
        const CompanionSetup companion(road);
        int exitCode = 0;
        const QString output =
            companion.Run({"--/zt4", "--/fol " + QString::fromStdString(road.Music())}, exitCode);
        QCOMPARE(exitCode, 0);
        QCOMPARE(output, QString("Matches: 5 / 6 (83.3%)\n"));
    }
};

QTEST_MAIN(RunModeTwoTest)
#include "RunModeTwoTest.moc"
