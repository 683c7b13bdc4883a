// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/WindowMain.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "window/QtWindow.h"
#include "window/SecondStartChannel.h"
#include "window/TagSettings.h"
#include "window/UserPrompts.h"
#include "windowlogic/PassPace.h"
#include "windowlogic/WindowStartup.h"

namespace versemark {
namespace {

// Set to 1 to end the program after the folder scan of run mode 2 and print the
// matches label: how the scan is checked without a person at the window.
constexpr char kQuitAfterScanVariable[] = "VERSEMARK_QUIT_AFTER_SCAN";

bool QuitAfterScan() {
    return qEnvironmentVariableIntValue(kQuitAfterScanVariable) == 1;
}

// Closing the window during a pass (or a signal during a tagging pass) ends
// the program here and now.
void EndProgramAtOnce(int exitStatus) {
    std::fflush(nullptr);
    std::_Exit(exitStatus);
}

}  // namespace

int RunWindowModes(QApplication& app, ProgramValues& values, bool probe) {
    // Recovery first, then the companion's folder and the lyrics index read on
    // other threads while the window is made.
    WindowStartup startup(values, DefaultJournalFolder(), RememberedAllFormats());
    DialogPrompts prompts;
    WindowServices services;
    services.Prompts = &prompts;
    services.ProcessEvents = PacedEventProcessing([] { QCoreApplication::processEvents(); });
    services.EndProgram = EndProgramAtOnce;
    QtWindow form(values, std::move(services));
    prompts.SetOwner(&form);
    startup.Finish(form.Logic(), prompts, probe, [&form] { form.show(); });

    if (values.Config.Mode == RunMode::ScanFolder && QuitAfterScan()) {
        const QByteArray matches = form.MatchesCaption().toUtf8();
        std::printf("%s\n", matches.constData());
        return EXIT_SUCCESS;
    }
    // From now on a second start brings this window forward; when the socket
    // cannot be made, a second start ends as before, saying why.
    SecondStartListener secondStarts(form, form.Logic());
    secondStarts.Listen(RunningCopyFolder());
    return app.exec();
}

}  // namespace versemark
