// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <iostream>

#include "cli/CliVerbs.h"
#include "platform/Arguments.h"
#include "platform/StandardStreams.h"
#include "startup/ProgramInfo.h"

int main(int argc, char* argv[]) {
    // Bytes go out as they are: the tagging log keeps its CR LF line ends.
    std::ios::sync_with_stdio(false);
    versemark::PrepareStandardStreams();
    // Its help is a verb of its own; only the version is answered here.
    if (const auto answer = versemark::InfoRequestAnswer(argc, argv, versemark::cli::kProgramName,
                                                         VERSEMARK_VERSION, {})) {
        std::cout << *answer << std::flush;
        return versemark::cli::kExitOk;
    }
    const versemark::cli::VerbArguments args = versemark::ProgramArguments(argc, argv);
    versemark::cli::CliIo io{std::cout, std::cerr, isatty(STDERR_FILENO) == 1};
    int status = versemark::cli::RunCli(args, io);
    std::cout.flush();
    std::cerr.flush();
    if (!std::cout.good() && status == versemark::cli::kExitOk) {
        status = versemark::cli::kExitFailure;  // the output could not be written
    }
    return status;
}
