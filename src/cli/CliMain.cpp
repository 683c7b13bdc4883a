#include <unistd.h>

#include <iostream>

#include "cli/CliVerbs.h"

int main(int argc, char* argv[]) {
    // Bytes go out as they are: the tagging log keeps its CR LF line ends.
    std::ios::sync_with_stdio(false);
    versemark::cli::CliIo io{std::cout, std::cerr, isatty(STDERR_FILENO) == 1};
    const versemark::cli::VerbArguments args(argv + (argc > 0 ? 1 : 0), argv + argc);
    int status = versemark::cli::RunCli(args, io);
    std::cout.flush();
    std::cerr.flush();
    if (!std::cout.good() && status == versemark::cli::kExitOk) {
        status = versemark::cli::kExitFailure;  // the output could not be written
    }
    return status;
}
