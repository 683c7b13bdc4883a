// SPDX-License-Identifier: GPL-3.0-or-later
// Candidate lists of 10,000 MP3 texts of about 700 bytes against 32,767 lyrics
// names of about four words: the word automaton against the straightforward
// substring search (timed on a sample of the same texts).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "BenchData.h"
#include "matching/TextFold.h"
#include "matching/WordMatcher.h"
#include "support/reference/ReferenceMatcher.h"

namespace versemark::bench {
namespace {

constexpr std::size_t kEntries = 32767;
constexpr std::size_t kTexts = 10000;
constexpr std::size_t kReferenceSample = 100;

struct Material {
    LyricsIndex Index;
    std::vector<std::string> Texts;
};

const Material& Data() {
    static const Material material = [] {
        Corpus corpus(2024);
        const std::vector<Song> catalogue = corpus.Catalogue(kEntries);
        Material m;
        m.Index = IndexOf(catalogue, 100);
        const std::vector<Song> songs = corpus.Mp3Songs(catalogue, kTexts, 0.7);
        std::size_t bytes = 0;
        std::size_t rawBytes = 0;
        for (std::size_t i = 0; i < songs.size(); ++i) {
            const int track = 1 + corpus.Pick(15);
            const std::string path = "/home/listener/Music/" +
                                     Corpus::Mp3RelativePath(songs[i], track, static_cast<int>(i));
            const std::string raw = RawMp3TextOf(path, corpus.Mp3Bytes(songs[i], track, 4));
            rawBytes += raw.size();
            m.Texts.push_back(NormaliseMp3Text(raw));
            bytes += m.Texts.back().size();
        }

        // The two algorithms must agree before either is timed.
        const WordMatcher matcher(m.Index);
        LyricsIndex counted = m.Index;
        MatcherScratch scratch;
        std::size_t withCandidates = 0;
        std::size_t candidates = 0;
        for (std::size_t i = 0; i < kReferenceSample * 3; ++i) {
            const std::vector<int> fast = matcher.FindCandidates(m.Texts[i], scratch);
            if (fast != FindMatchingLyricsReference(m.Texts[i], counted)) {
                std::fprintf(stderr, "fast and reference disagree on text %zu\n", i);
                std::exit(1);
            }
        }
        for (const std::string& text : m.Texts) {
            const std::size_t n = matcher.FindCandidates(text, scratch).size();
            withCandidates += n > 0;
            candidates += n;
        }
        std::fprintf(stderr,
                     "material: %zu entries, %zu texts of %.0f bytes on average (%.0f before "
                     "normalisation); %zu automaton "
                     "states, %zu byte classes; %.1f%% of texts have candidates, %.2f candidates "
                     "per text\n",
                     m.Index.Entries.size(), m.Texts.size(),
                     static_cast<double>(bytes) / m.Texts.size(),
                     static_cast<double>(rawBytes) / m.Texts.size(), matcher.StateCount(),
                     matcher.ClassCount(), 100.0 * withCandidates / m.Texts.size(),
                     static_cast<double>(candidates) / m.Texts.size());
        return m;
    }();
    return material;
}

void PerFile(benchmark::State& state, std::size_t files) {
    state.counters["per_file"] = benchmark::Counter(
        static_cast<double>(files),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_BuildMatcher(benchmark::State& state) {
    const Material& m = Data();
    for (auto _ : state) {
        WordMatcher matcher(m.Index);
        benchmark::DoNotOptimize(matcher);
    }
}
BENCHMARK(BM_BuildMatcher)->Unit(benchmark::kMillisecond);

void BM_FastAllTexts(benchmark::State& state) {
    const Material& m = Data();
    const WordMatcher matcher(m.Index);
    MatcherScratch scratch;
    for (auto _ : state) {
        for (const std::string& text : m.Texts) {
            benchmark::DoNotOptimize(matcher.FindCandidates(text, scratch));
        }
    }
    PerFile(state, m.Texts.size());
}
BENCHMARK(BM_FastAllTexts)->Unit(benchmark::kMillisecond);

// The case fold alone, which every search starts with.
void BM_FoldAllTexts(benchmark::State& state) {
    const Material& m = Data();
    std::string folded;
    for (auto _ : state) {
        for (const std::string& text : m.Texts) {
            folded.assign(text);
            FoldCaseInPlace(folded);
            benchmark::DoNotOptimize(folded.data());
        }
    }
    PerFile(state, m.Texts.size());
}
BENCHMARK(BM_FoldAllTexts)->Unit(benchmark::kMillisecond);

void BM_ReferenceSample(benchmark::State& state) {
    const Material& m = Data();
    LyricsIndex index = m.Index;
    for (auto _ : state) {
        for (std::size_t i = 0; i < kReferenceSample; ++i) {
            benchmark::DoNotOptimize(FindMatchingLyricsReference(m.Texts[i], index));
        }
    }
    PerFile(state, kReferenceSample);
}
BENCHMARK(BM_ReferenceSample)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace versemark::bench

BENCHMARK_MAIN();
