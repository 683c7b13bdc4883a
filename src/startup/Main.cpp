// The versemark program: one running copy, the configuration, the command line,
// then either the one-file run or the window.
#include <QApplication>
#include <QByteArrayView>
#include <QDir>
#include <QLockFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QString>
#include <QStringDecoder>
#include <array>
#include <cstdio>
#include <string>

#include "platform/FileSystem.h"
#include "startup/CacheLocation.h"
#include "startup/Manifest.h"
#include "startup/OneFileRun.h"
#include "startup/RunConfig.h"
#include "startup/basMain.h"
#include "window/WindowMain.h"

namespace {

using namespace versemark;

constexpr char kProgramTitle[] = "Versemark";
constexpr char kLockFileName[] = "versemark.lock";
constexpr char kLockDirVariable[] = "VERSEMARK_LOCK_DIR";
constexpr char kOffscreenPlatform[] = "offscreen";
constexpr int kExitNormal = 0;
constexpr int kExitNoDisplay = 1;

// Without a display the one-file run still has to work (the companion may start
// it from a service); Qt then draws off screen. True when that was chosen here.
bool ChooseOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", kOffscreenPlatform);
        return true;
    }
    return false;
}

QString LockFilePath() {
    QString folder = qEnvironmentVariable(kLockDirVariable);
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    }
    QDir().mkpath(folder);
    return QDir(folder).filePath(QString::fromLatin1(kLockFileName));
}

// True when another running copy holds the lock. A lock left by a crashed copy is
// taken over (its process is gone); a lock that cannot be made at all does not
// keep the program from starting.
bool AnotherCopyRuns(QLockFile& lock) {
    lock.setStaleLockTime(0);  // a live copy's lock never ages into a stale one
    return !lock.tryLock(0) && lock.error() == QLockFile::LockFailedError;
}

// Bytes shown as UTF-8 when they are valid UTF-8, otherwise as Windows-1252.
QString DisplayText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) {
        return text;
    }
    // 0x80-0x9F of Windows-1252; the five unassigned bytes keep their C1 code.
    static constexpr std::array<char16_t, 32> kHighControls = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    text.clear();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += (byte >= 0x80 && byte <= 0x9F) ? QChar(kHighControls[byte - 0x80])
                                               : QChar(static_cast<char16_t>(byte));
    }
    return text;
}

void ShowLog(const std::string& log) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kProgramTitle), DisplayText(log),
                    QMessageBox::Ok);
    box.exec();
}

int RunTagOneFile(const RunConfig& config) {
    const std::string log = TagOneFile(config);
    std::fwrite(log.data(), 1, log.size(), stdout);
    std::fflush(stdout);
    if (!config.CmdNoMessage) {
        ShowLog(log);
    }
    return kExitNormal;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Taken before Qt removes the options it knows from argv.
    const std::string argumentText = JoinArguments(argc, argv);
    const bool offscreen = ChooseOffscreenWithoutDisplay();
    QApplication app(argc, argv);

    QLockFile instanceLock(LockFilePath());
    if (AnotherCopyRuns(instanceLock)) {
        QApplication::beep();
        return kExitNormal;
    }

    const bool probe = ProbeCommonControls();
    ProgramValues& values = basMain();
    LocateLyricsCache(values.Cache, ProgramFolder());
    ReadSettings(values.Cache);
    values.Config.RunMode = ParseCommandLine(argumentText, values.Config);

    if (values.Config.RunMode == kRunTagOneFile) {
        return RunTagOneFile(values.Config);
    }
    if (offscreen) {
        std::fputs(
            "Versemark: the window needs a display, and neither DISPLAY nor "
            "WAYLAND_DISPLAY is set.\n",
            stderr);
        return kExitNoDisplay;
    }
    return RunWindowModes(app, values, probe);
}
