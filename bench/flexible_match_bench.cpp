// Typing with FlexibleInput on: what a question's table of spellings costs
// when the question comes up, and what deciding one key costs after that.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "romaji/flexible_match.h"
#include "romaji/romaji_rules.h"

// GCC takes the replaced operators below for a mismatch with its own.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {
// Every allocation of the process, so that a benchmark can show that typing
// makes none.
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace kanaflow {
namespace {

// A long sentence with every kind of unit, typed in spellings other than the
// preferred ones wherever there is a choice.
const std::string kReading =
    "いっしょにいきましょう、しんぶんをよんでからちょっとまって。じてんしゃでがっこうへいく。"
    "ふぁいるをひらいて、しゃしんをとる。まっちゃとらーめんがすき。";
const std::string kTyped =
    "issyoniikimasixyou,sinbunwoyondekaratyoltutomatte.zitensyadegaltsukouheiku."
    "huxairuwohiraite,sixyasinnwotoru.mattixyatora-mengasuki.";

void FlexibleQuestionStart(benchmark::State& state) {
  const std::string romaji = MakeRomaji(kReading, SpellingPreferences());
  FlexibleMatch match;
  for (auto _ : state) {
    match.Start(kReading, romaji, SpellingPreferences());
    benchmark::DoNotOptimize(match.Shown().data());
  }
}
BENCHMARK(FlexibleQuestionStart)->Unit(benchmark::kMicrosecond);

// The question is started again after each full typing, so its start
// (measured above) is shared out over its keys, as in a practice run.
void FlexibleKey(benchmark::State& state) {
  const std::string romaji = MakeRomaji(kReading, SpellingPreferences());
  FlexibleMatch match;
  match.Start(kReading, romaji, SpellingPreferences());
  std::size_t at = 0;
  long typedKeys = 0;
  const long before = allocations.load();
  long startAllocations = 0;
  for (auto _ : state) {
    if (at == kTyped.size()) {
      const long beforeStart = allocations.load();
      match.Start(kReading, romaji, SpellingPreferences());
      startAllocations += allocations.load() - beforeStart;
      at = 0;
    }
    if (!match.Accept(kTyped[at++])) state.SkipWithError("a key of the typed spelling was refused");
    ++typedKeys;
  }
  state.counters["allocations_per_key"] =
      static_cast<double>(allocations.load() - before - startAllocations) / static_cast<double>(typedKeys);
}
BENCHMARK(FlexibleKey)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace kanaflow
