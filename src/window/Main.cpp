// SPDX-License-Identifier: GPL-3.0-or-later
// The versemark program: one running copy, the configuration, the command line,
// then either the one-file run or the window.
#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QString>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/SignalHold.h"
#include "startup/ProgramInfo.h"
#include "startup/ProgramStart.h"
#include "startup/ProgramValues.h"
#include "startup/RunConfig.h"
#include "window/SecondStartChannel.h"
#include "window/TagSettings.h"
#include "window/UserPrompts.h"
#include "window/WindowMain.h"

namespace {

using namespace versemark;

constexpr char kLockFileName[] = "versemark.lock";
constexpr char kOffscreenPlatform[] = "offscreen";
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
    return QDir(RunningCopyFolder()).filePath(QString::fromLatin1(kLockFileName));
}

// The process services through Qt: a lock file marks the running copy.
class QtProcessServices final : public ProcessServices {
  public:
    QtProcessServices() : lock_(LockFilePath()) {}

    // True when another running copy holds the lock. A lock left by a crashed
    // copy is taken over (its process is gone); a lock that cannot be made at all
    // does not keep the program from starting.
    bool AnotherCopyRuns() override {
        lock_.setStaleLockTime(0);  // a live copy's lock never ages into a stale one
        return !lock_.tryLock(0) && lock_.error() == QLockFile::LockFailedError;
    }
    void Beep() override { QApplication::beep(); }
    void ShowMessage(const std::string& text) override { ShowLogMessage(text); }

  private:
    QLockFile lock_;
};

}  // namespace

int main(int argc, char* argv[]) {
    // Asked by hand for the version or the usage: answered before anything starts.
    if (const auto answer = InfoRequestAnswer(argc, argv, kWindowProgramName, VERSEMARK_VERSION,
                                              VersemarkUsage())) {
        std::fputs(answer->c_str(), stdout);
        return kExitNormal;
    }
    // Taken before Qt removes the options it knows from argv.
    const std::string argumentText = JoinArguments(argc, argv);
    const bool offscreen = ChooseOffscreenWithoutDisplay();
    // The toolkit's own threads start with the signals that end the program
    // held, so that only this thread takes them, and a tagging pass, which holds
    // them here, is never ended in the middle of a file.
    std::optional<SignalHold> toolkitThreadsHold(std::in_place);
    QApplication app(argc, argv);
    toolkitThreadsHold.reset();

    QtProcessServices services;
    ProgramValues values;
    const StartOutcome outcome = StartProgram(argumentText, ProgramFolder(), services, values);
    if (outcome == StartOutcome::AnotherCopyRuns) {
        if (HandOverToOpenWindow(values.Config, RunningCopyFolder())) {
            return kExitNormal;
        }
        return AnswerSecondStart(values.Config, services);
    }
    if (values.Config.Mode == RunMode::TagOneFile) {
        // The companion's one-file run follows the choice remembered by the window.
        TaggingOptions options;
        options.Tag.AlsoId3v2 = RememberedAlsoId3v2();
        options.Tag.AllFormats = RememberedAllFormats();
        options.Tag.BesideFile = RememberedBesideFile();
        return RunOneFileMode(values.Config, services, options);
    }
    if (offscreen) {
        std::fputs(
            "Versemark: the window needs a display, and neither DISPLAY nor "
            "WAYLAND_DISPLAY is set.\n",
            stderr);
        return kExitNoDisplay;
    }
    return RunWindowModes(app, values, outcome == StartOutcome::StartedWithCommonControls);
}
