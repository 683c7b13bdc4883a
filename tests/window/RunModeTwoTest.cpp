// SPDX-License-Identifier: GPL-3.0-or-later
// The program started by the companion to scan a folder: the window opens and
// matches the given folder at once, with the cache found through the registry
// stand-in and the companion's settings file. Started so again while a window is
// open, it hands the folder to that window instead.
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <filesystem>

#include "WindowTestSupport.h"
#include "support/RoadLibrary.h"
#include "window/SecondStartChannel.h"

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
        // Also the runtime folder, which Qt wants the user's own.
        std::filesystem::permissions(lockFolder, std::filesystem::perms::owner_all);
        winePrefix = road.Library.Dir() / "wine";
    }

    // Starts versemark with the arguments, in `workingFolder` when one is given.
    void Start(QProcess& process, const QStringList& arguments,
               const QString& workingFolder = QString()) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("VERSEMARK_LOCK_DIR", LockFolder());
        environment.insert("XDG_RUNTIME_DIR", LockFolder());
        environment.insert("VERSEMARK_QUIT_AFTER_SCAN", "1");
        environment.insert("WINEPREFIX", QString::fromStdString(winePrefix));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(workingFolder);
        process.start(QStringLiteral(VERSEMARK_EXECUTABLE), arguments);
    }

    // Runs versemark with the arguments; returns its standard output.
    QString Run(const QStringList& arguments, int& exitCode) const {
        QProcess process;
        Start(process, arguments);
        if (!process.waitForFinished(kRunTimeoutMs)) {
            process.kill();
            exitCode = -1;
            return QString();
        }
        exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QString LockFolder() const { return QString::fromStdString(lockFolder); }

    std::string lockFolder;
    std::string winePrefix;
};

// A second start of versemark, run to its end while this program's events go on
// (the open window has to answer it).
struct SecondStart {
    SecondStart(const CompanionSetup& companion, const QStringList& arguments,
                const QString& workingFolder = QString()) {
        companion.Start(process, arguments, workingFolder);
    }
    bool Ended() {
        return QTest::qWaitFor([this] { return process.state() == QProcess::NotRunning; },
                               kRunTimeoutMs) &&
               process.exitStatus() == QProcess::NormalExit;
    }
    QString Errors() { return QString::fromUtf8(process.readAllStandardError()); }

    QProcess process;
};

// The open window's side of a second start, as the program sets it up: the
// single-instance lock held and the window listening beside it.
struct OpenWindow {
    OpenWindow(const RoadLibrary& road, const CompanionSetup& companion)
        : lock(companion.LockFolder() + "/versemark.lock"),
          listener(window.Form(), window.Form().Logic()) {
        road.IndexInto(window.Values);
        window.Show();
    }
    bool Listen(const CompanionSetup& companion) {
        return lock.tryLock(0) && listener.Listen(companion.LockFolder());
    }
    std::size_t Asked() const { return window.Prompts.Asked.size(); }
    QString LastQuestion() const {
        return QString::fromStdString(window.Prompts.Asked.back().Text);
    }

    WindowUnderTest window;
    QLockFile lock;
    SecondStartListener listener;
};

// Sends `message` to the socket in `folder` as a second start would, closing
// the connection after it when `close`; returns what came back before the
// connection ended.
QByteArray SendRaw(const QString& folder, const QByteArray& message, bool close) {
    QLocalSocket socket;
    QByteArray answer;
    QObject::connect(&socket, &QLocalSocket::readyRead, [&] { answer += socket.readAll(); });
    socket.connectToServer(folder + "/versemark.socket");
    if (!socket.waitForConnected(kRunTimeoutMs)) {
        return "not connected";
    }
    socket.write(message);
    socket.flush();
    if (close) {
        socket.disconnectFromServer();
    }
    if (!QTest::qWaitFor([&] { return socket.state() == QLocalSocket::UnconnectedState; },
                         kRunTimeoutMs)) {
        return "still connected";
    }
    return answer;
}

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

    void aSecondStartHandsItsFolderToTheOpenWindowWhichAsksFirst() {
        RoadLibrary road;
        const CompanionSetup companion(road);
        OpenWindow open(road, companion);
        const QString music = QString::fromStdString(road.Music());
        const QStringList withFolder = {"--/zt4", "--/fol " + music, "--/sub"};

        // Another copy holds the lock but no window listens (a one-file run, a
        // copy still starting, an older one): the folder is named as not opened.
        QVERIFY(open.lock.tryLock(0));
        SecondStart unheard(companion, withFolder);
        QVERIFY(unheard.Ended());
        QCOMPARE(unheard.process.exitCode(), 0);
        QCOMPARE(unheard.Errors(),
                 "Versemark is already running, so this folder was not opened: " + music + "\n");
        open.lock.unlock();

        // With the window listening, minimised and its subfolder box cleared: it
        // comes back, asks, and matches the folder with the subfolders asked for.
        QVERIFY(open.Listen(companion));
        open.window.Find<QCheckBox>("chkSubfolders")->setChecked(false);
        open.window.Form().showMinimized();
        open.window.Prompts.Answers = {true};
        SecondStart handed(companion, withFolder);
        QVERIFY(handed.Ended());
        QCOMPARE(handed.process.exitCode(), 0);
        QCOMPARE(handed.Errors(), QString());
        QVERIFY(!open.window.Form().isMinimized());
        QTRY_COMPARE(open.Asked(), std::size_t{1});
        QCOMPARE(
            open.LastQuestion(),
            "Versemark was started again with a folder. Match the MP3 files in " + music + "?");
        QTRY_COMPARE(open.window.Text("Label1_1"), QString("Matches: 6 / 7 (85.7%)"));
        QVERIFY(open.window.Find<QCheckBox>("chkSubfolders")->isChecked());

        // Started by hand without a folder: the window only comes back.
        open.window.Form().showMinimized();
        SecondStart byHand(companion, {});
        QVERIFY(byHand.Ended());
        QCOMPARE(byHand.process.exitCode(), 0);
        QCOMPARE(byHand.Errors(), QString());
        QVERIFY(!open.window.Form().isMinimized());
        QTest::qWait(100);
        QCOMPARE(open.Asked(), std::size_t{1});

        // A folder named relative to the second start's own working folder is
        // asked about by its full path; "No" leaves the list as it is.
        const QFileInfo musicInfo(music);
        open.window.Prompts.Answers = {false};
        SecondStart relative(companion, {"--/zt4", "--/fol " + musicInfo.fileName()},
                             musicInfo.path());
        QVERIFY(relative.Ended());
        QCOMPARE(relative.process.exitCode(), 0);
        QCOMPARE(relative.Errors(), QString());
        QTRY_COMPARE(open.Asked(), std::size_t{2});
        QCOMPARE(
            open.LastQuestion(),
            "Versemark was started again with a folder. Match the MP3 files in " + music + "?");
        QCOMPARE(open.window.Text("Label1_1"), QString("Matches: 6 / 7 (85.7%)"));
    }

    // Whatever else reaches the socket is refused unanswered and asks nothing.
    void theWindowTakesOnlyAWholeFolderMessage() {
        RoadLibrary road;
        const CompanionSetup companion(road);
        OpenWindow open(road, companion);
        // A crashed copy's socket left behind is replaced.
        road.Library.Dir().WriteFile("lock/versemark.socket", "");
        QVERIFY(open.Listen(companion));
        // Only the user reaches the socket.
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFileInfo(companion.LockFolder() + "/versemark.socket").permissions() & others,
                 QFile::Permissions());
        const QByteArray music = QByteArray::fromStdString(road.Music());
        struct Case {
            const char* What;
            QByteArray Message;
            bool Close;
        };
        const std::vector<Case> refused = {
            {"relative folder", "fMusic\n", false},
            {"control character", "s" + music + "\x1b[2J\n", false},
            {"carriage return", "s" + music + "\r\n", false},
            {"folder too long", "s/" + QByteArray(4096, 'a') + "\n", false},
            {"unknown kind", "x" + music + "\n", false},
            {"folder without its kind", music + "\n", false},
            {"no folder for a folder kind", "f\n", false},
            {"folder on the window-only kind", "w" + music + "\n", false},
            {"no end", "s" + music, true},
            {"nothing", "", true},
        };
        for (const Case& c : refused) {
            QCOMPARE(SendRaw(companion.LockFolder(), c.Message, c.Close), QByteArray());
            QTest::qWait(50);
            QVERIFY2(open.Asked() == 0, c.What);
        }
        QCOMPARE(SendRaw(companion.LockFolder(), "f" + music + "\n", false), QByteArray("k"));
        QTRY_COMPARE(open.Asked(), std::size_t{1});
        QCOMPARE(SendRaw(companion.LockFolder(), "w\n", false), QByteArray("k"));
    }
};

QTEST_MAIN(RunModeTwoTest)
#include "RunModeTwoTest.moc"
