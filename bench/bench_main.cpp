// Benchmarks of the history core's hot paths.
#include "core/history.h"
#include "core/text.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

class NoShell final : public vendle::ShellQuery {
public:
    vendle::ShellFileInfo queryFileInfo(const std::string&) override { return {}; }
};

std::vector<std::string> makePaths(std::size_t count) {
    std::mt19937 rng(42);
    static const char* const kExt[] = {".txt", ".pdf", ".odt", ".png", ".cpp", ".md"};
    std::vector<std::string> paths;
    paths.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned r = rng();
        std::string p = "/home/user/Documents/folder" + std::to_string(r % 200) + "/";
        p += (r % 5 == 0) ? "報告書_" : "report_";
        p += std::to_string(i) + kExt[r % 6];
        paths.push_back(std::move(p));
    }
    return paths;
}

void BM_PosNoCase(benchmark::State& state) {
    const auto paths = makePaths(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::size_t hits = 0;
        for (const auto& p : paths)
            hits += vendle::PosNoCase(p, "rep", vendle::CodePage::utf8()) != 0;
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_PosNoCase)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_SortByName(benchmark::State& state) {
    NoShell shell;
    vendle::HistoryList list(vendle::PathSyntax::posix(), shell);
    for (const auto& p : makePaths(static_cast<std::size_t>(state.range(0))))
        list.AddItem(p);
    vendle::ByteCollator collator;
    list.SortColumn = 1;
    for (auto _ : state) {
        state.PauseTiming();
        list.viewItems().clear();
        for (int i = 0; i < list.ItemCount(); ++i)
            list.viewItems().push_back(&list.Item(i));
        state.ResumeTiming();
        list.sortView(collator);
    }
}
BENCHMARK(BM_SortByName)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
