#include <unistd.h>

#include <iostream>

#include "cli/CliVerbs.h"
#include "platform/Arguments.h"
#include "platform/StandardStreams.h"

int main(int argc, char* argv[]) {
    // Bytes go out as they are: the tagging log keeps its CR LF line ends.
    std::ios::sync_with_stdio(false);
    versemark::PrepareStandardStreams();
    const versemark::cli::VerbArguments args = versemark::ProgramArguments(argc, argv);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "versemark-cli " << VERSEMARK_VERSION << '\n' << std::flush;
        return versemark::cli::kExitOk;
    }
    versemark::cli::CliIo io{std::cout, std::cerr, isatty(STDERR_FILENO) == 1};
    int status = versemark::cli::RunCli(args, io);
    std::cout.flush();
    std::cerr.flush();
    if (!std::cout.good() && status == versemark::cli::kExitOk) {
        status = versemark::cli::kExitFailure;  // the output could not be written
    }
    return status;
}
