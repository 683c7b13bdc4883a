// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The options the verbs share, and the parsing of one verb's arguments.
namespace versemark::cli {

enum OptionFlag : unsigned {
    kOptCache = 1u << 0,         // --cache DIR
    kOptSingleDir = 1u << 1,     // --single-dir
    kOptNoSubfolders = 1u << 2,  // --no-subfolders
    kOptJson = 1u << 3,          // --json
    kOptDryRun = 1u << 4,        // --dry-run
    kOptRaw = 1u << 5,           // --raw
    kOptAlsoId3v2 = 1u << 6,     // --also-id3v2
    kOptList = 1u << 7,          // --list
    kOptAllFormats = 1u << 8,    // --all-formats
    kOptBeside = 1u << 9,        // --beside
};

// The options of the verbs that read the configuration and run a pass.
inline constexpr unsigned kConfigOptions = kOptCache | kOptSingleDir;
inline constexpr unsigned kPassOptions = kConfigOptions | kOptNoSubfolders;

struct CliOptions {
    std::vector<std::string> Positionals;
    std::optional<std::string> CachePath;
    bool SingleDir = false;
    bool NoSubfolders = false;
    bool Json = false;
    bool DryRun = false;
    bool Raw = false;
    bool List = false;
    bool AlsoId3v2 = false;
    bool AllFormats = false;
    bool Beside = false;
    bool Help = false;
};

struct ParsedArguments {
    CliOptions Options;
    std::string Error;  // empty when the arguments are right
    bool Ok() const { return Error.empty(); }
};

// Parses a verb's arguments: the options in `allowed` anywhere among exactly
// `positionalCount` positional arguments; "--" ends the options; "--cache=DIR"
// and "--cache DIR" are both taken. "--help" or "-h" sets Help and nothing else
// is checked.
ParsedArguments ParseVerbArguments(const std::vector<std::string>& args, unsigned allowed,
                                   std::size_t positionalCount);

// An absolute form of a path given on the command line ("." and ".." removed,
// no trailing separator unless it is the root).
std::string AbsolutePath(const std::string& path);

}  // namespace versemark::cli
