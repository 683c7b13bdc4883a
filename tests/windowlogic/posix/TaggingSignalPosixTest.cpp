// SPDX-License-Identifier: GPL-3.0-or-later
// A signal that ends a program, come while the window's tagging pass runs.
#include <gtest/gtest.h>

#include <csignal>

#include "../FakeView.h"
#include "support/RoadLibrary.h"

using namespace versemark;
using namespace versemark::testing;

namespace {

// The pass stops after the file being written, and the program ends then with
// the signal's exit status, as versemark-cli does.
TEST(TaggingSignalLogic, ASignalEndsTheProgramOnceTheFileBeingWrittenIsWhole) {
    for (const int signal : {SIGTERM, SIGINT}) {
        RoadLibrary road;
        LogicWindow window;
        road.IndexInto(window.Values);
        window.ChooseFolderAndMatch(road.Music());
        window.Prompts.Answers = {true};
        window.ProcessEventsCalls = 0;  // the yields of the tagging pass from here
        window.OnProcessEvents = [&](int call) {
            if (call == 2) {  // after the first file
                std::raise(signal);
            }
        };
        window.Logic.TagOrReturn();
        EXPECT_NE(ReadFileBytes(road.AlphaMp3), road.AlphaBytes);
        EXPECT_EQ(ReadFileBytes(road.GammaLiveMp3), road.GammaLiveBytes);
        EXPECT_EQ(window.EndProgramCalls, 1);
        EXPECT_EQ(window.EndProgramStatus, 128 + signal);
    }
}

}  // namespace
