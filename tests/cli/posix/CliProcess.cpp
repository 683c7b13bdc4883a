// SPDX-License-Identifier: GPL-3.0-or-later
// The companion as a child process through fork and exec.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "cli/CliRun.h"
#include "support/TempDir.h"

namespace versemark::testing {

std::string CliExecutable() {
    return BuildFolder() + "/versemark-cli";
}

CliRunResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                        const EnvChanges& env) {
    const TempDir outputs;
    const std::string outPath = outputs / "stdout";
    const std::string errPath = outputs / "stderr";

    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argvPointers;
    for (std::string& arg : argv) {
        argvPointers.push_back(arg.data());
    }
    argvPointers.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        for (const auto& [name, value] : env) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || dup2(in, STDIN_FILENO) < 0 ||
            dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0) {
            _exit(127);
        }
        execvp(program.c_str(), argvPointers.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    CliRunResult result;
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Out = ReadFileBytes(outPath);
    result.Err = ReadFileBytes(errPath);
    return result;
}

}  // namespace versemark::testing
