// The listing parser against the plain Boost.Regex search of the listing pattern,
// side by side on a typical result page and on pages whose entries lack their price
// markup. Both use one compiled pattern, so the figures compare the searches alone.

#include <benchmark/benchmark.h>

#include <string>

#include "tests/search/support/listing_pages.h"
#include "search/listing_parser.h"

namespace {

using pricelookup::search::ListingPattern;
using pricelookup::search::MatchList;

const std::string& typical_page() {
    static const std::string page = pricelookup::test::typical_page(20, 110 * 1024);
    return page;
}
const std::string& hostile_100k() {
    static const std::string page = pricelookup::test::hostile_page(100 * 1024);
    return page;
}
const std::string& hostile_1m() {
    static const std::string page = pricelookup::test::hostile_page(1024 * 1024);
    return page;
}

template <MatchList (*Search)(const ListingPattern&, std::string_view)>
void run(benchmark::State& state, const std::string& page) {
    const ListingPattern pattern;
    MatchList list;
    for (auto _ : state) {
        list = Search(pattern, page);
        benchmark::DoNotOptimize(list.records.data());
    }
    state.counters["page_bytes"] = static_cast<double>(page.size());
    state.counters["matches"] = static_cast<double>(list.records.size());
    state.counters["engine_error"] = list.ended_by_engine_error ? 1 : 0;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(page.size()));
}

constexpr auto plain = &pricelookup::search::find_listing_matches_unguarded;
constexpr auto guarded = &pricelookup::search::find_listing_matches;

void typical_plain(benchmark::State& s) { run<plain>(s, typical_page()); }
void typical_parser(benchmark::State& s) { run<guarded>(s, typical_page()); }
void hostile_100k_plain(benchmark::State& s) { run<plain>(s, hostile_100k()); }
void hostile_100k_parser(benchmark::State& s) { run<guarded>(s, hostile_100k()); }
void hostile_1m_plain(benchmark::State& s) { run<plain>(s, hostile_1m()); }
void hostile_1m_parser(benchmark::State& s) { run<guarded>(s, hostile_1m()); }

}  // namespace

BENCHMARK(typical_plain)->Unit(benchmark::kMicrosecond);
BENCHMARK(typical_parser)->Unit(benchmark::kMicrosecond);
BENCHMARK(hostile_100k_plain)->Unit(benchmark::kMillisecond);
BENCHMARK(hostile_100k_parser)->Unit(benchmark::kMillisecond);
// One pass of the plain search on the 1 MB page takes tens of seconds.
BENCHMARK(hostile_1m_plain)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(hostile_1m_parser)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
