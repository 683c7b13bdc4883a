// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace versemark::testing {

// A program started for a test, its standard output and error caught in a file.
// The process is killed when the object goes away while it still runs.
class ChildProcess {
  public:
    using Environment = std::vector<std::pair<std::string, std::optional<std::string>>>;

    // Starts `program` with `args`; `environment` sets (or, with nullopt, removes)
    // variables for the child only. Output goes to `outputFile`.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const Environment& environment, const std::string& outputFile);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // The exit status once the process ended by itself within `timeout`; nullopt
    // when it is still running (or was ended by a signal).
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    // True while the process has not ended.
    bool Running();
    // Ends it with SIGKILL, as a crash would, and reaps it.
    void Kill();

  private:
    int pid_ = -1;
    bool reaped_ = false;
    std::optional<int> status_;
};

}  // namespace versemark::testing
