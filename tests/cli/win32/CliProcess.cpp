// SPDX-License-Identifier: GPL-3.0-or-later
// The companion as a child process through CreateProcessW, its output in files.
#include <windows.h>

#include <memory>
#include <stdexcept>

#include "cli/CliRun.h"
#include "platform/win32/WideText.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace versemark::testing {

namespace {

using win32::Wide;

// One argument quoted as the C runtime splits a command line again: backslashes
// are doubled only where a quote follows them.
std::wstring Quoted(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

HANDLE Inheritable(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(Wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::string CliExecutable() {
    return BuildFolder() + "\\versemark-cli.exe";
}

CliRunResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                        const EnvChanges& env) {
    const TempDir outputs;
    const std::string outPath = outputs / "stdout";
    const std::string errPath = outputs / "stderr";

    std::wstring commandLine = Quoted(Wide(program));
    for (const std::string& arg : args) {
        commandLine += L' ' + Quoted(Wide(arg));
    }
    // The child inherits this process's environment with the changes applied.
    std::vector<std::unique_ptr<ScopedEnv>> changes;
    for (const auto& [name, value] : env) {
        changes.push_back(std::make_unique<ScopedEnv>(name, value));
    }

    const HANDLE in = Inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
    const HANDLE out = Inheritable(outPath, GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE err = Inheritable(errPath, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(in);
    CloseHandle(out);
    CloseHandle(err);
    if (!started) {
        throw std::runtime_error("cannot start " + program);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);

    CliRunResult result;
    result.Status = static_cast<int>(status);
    result.Out = ReadFileBytes(outPath);
    result.Err = ReadFileBytes(errPath);
    return result;
}

}  // namespace versemark::testing
