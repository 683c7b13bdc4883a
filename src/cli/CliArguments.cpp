// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliArguments.h"

#include <string_view>

#include "platform/FileSystem.h"

namespace versemark::cli {

namespace {

constexpr std::string_view kEndOfOptions = "--";
constexpr std::string_view kCacheOption = "--cache";
constexpr std::string_view kCacheOptionWithValue = "--cache=";

struct FlagOption {
    std::string_view Name;
    OptionFlag Flag;
    bool CliOptions::*Field;
};

constexpr FlagOption kFlagOptions[] = {
    {"--single-dir", kOptSingleDir, &CliOptions::SingleDir},
    {"--no-subfolders", kOptNoSubfolders, &CliOptions::NoSubfolders},
    {"--json", kOptJson, &CliOptions::Json},
    {"--dry-run", kOptDryRun, &CliOptions::DryRun},
    {"--raw", kOptRaw, &CliOptions::Raw},
    {"--list", kOptList, &CliOptions::List},
    {"--also-id3v2", kOptAlsoId3v2, &CliOptions::AlsoId3v2},
    {"--all-formats", kOptAllFormats, &CliOptions::AllFormats},
    {"--beside", kOptBeside, &CliOptions::Beside},
};

bool IsHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

bool LooksLikeOption(std::string_view arg) {
    return arg.size() > 1 && arg[0] == '-';
}

std::string CountError(std::size_t expected, std::size_t given) {
    if (given < expected) {
        return expected == 1 ? "missing argument" : "missing arguments";
    }
    return "unexpected argument";
}

}  // namespace

ParsedArguments ParseVerbArguments(const std::vector<std::string>& args, unsigned allowed,
                                   std::size_t positionalCount) {
    ParsedArguments parsed;
    CliOptions& options = parsed.Options;
    for (const std::string& arg : args) {
        if (IsHelp(arg)) {
            options.Help = true;
            return parsed;
        }
    }
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnded || !LooksLikeOption(arg)) {
            options.Positionals.emplace_back(arg);
            continue;
        }
        if (arg == kEndOfOptions) {
            optionsEnded = true;
            continue;
        }
        if ((allowed & kOptCache) && arg == kCacheOption) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                parsed.Error = "--cache needs a folder";
                return parsed;
            }
            options.CachePath = args[++i];
            continue;
        }
        if ((allowed & kOptCache) && arg.starts_with(kCacheOptionWithValue)) {
            options.CachePath = std::string(arg.substr(kCacheOptionWithValue.size()));
            if (options.CachePath->empty()) {
                parsed.Error = "--cache needs a folder";
                return parsed;
            }
            continue;
        }
        bool known = false;
        for (const FlagOption& flag : kFlagOptions) {
            if ((allowed & flag.Flag) && arg == flag.Name) {
                options.*(flag.Field) = true;
                known = true;
                break;
            }
        }
        if (!known) {
            parsed.Error = "unknown option " + std::string(arg);
            return parsed;
        }
    }
    if (options.Positionals.size() != positionalCount) {
        parsed.Error = CountError(positionalCount, options.Positionals.size());
    }
    return parsed;
}

std::string AbsolutePath(const std::string& path) {
    std::string text = versemark::AbsolutePath(path);
    // Trailing separators go, but a root ("/", "C:\\") keeps its own.
    const std::size_t rootSize = (text.size() >= 2 && text[1] == ':') ? 3 : 1;
    while (text.size() > rootSize && text.back() == kPathSeparator) {
        text.pop_back();
    }
    return text;
}

}  // namespace versemark::cli
