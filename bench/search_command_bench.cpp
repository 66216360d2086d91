// The search command from its start to the last row written, on the real main
// window and against a catalogue on loopback: fetch, matching and filling the list.
//   QTWEBENGINE_DISABLE_SANDBOX=1 QT_QPA_PLATFORM=offscreen build/bench/search_command_bench

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <memory>

#include "app/shell.h"
#include "search/query_address.h"
#include "search/search_command.h"
#include "tests/search/support/catalogue_server.h"
#include "tests/search/support/loopback_server.h"
#include "ui/drawn_page_source.h"
#include "ui/main_window.h"
#include "ui/qt_controls.h"
#include "ui/result_list.h"

namespace {

using namespace pricelookup;

// A program that never ends: the window's operations always go through.
class RunningShell final : public app::Shell {
  public:
    std::string program_directory() const override { return "."; }
    std::string program_file_name() const override { return "bench"; }
    bool start_program(const std::string&) override { return false; }
    void destroy_window() override {}
    [[noreturn]] void end_program(std::int32_t) override { std::abort(); }
    [[noreturn]] void report_fatal_error(std::int32_t, std::string_view) override { std::abort(); }
    bool has_ended() const override { return false; }
};

ui::MainWindow* window = nullptr;

void search_command_to_last_row(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    test::CatalogueServer catalogue(entries);
    RunningShell shell;
    ui::QtControls controls(*window, shell);
    search::SearchState search_state;
    search::NetworkPageSource network;
    ui::DrawnPageSource pages(*window, network);
    const std::string prefix = search::query_prefix(catalogue.host());
    const search::SearchContext context{controls, search_state, pages, prefix};
    window->keyword_box()->setText("tv");
    for (auto _ : state) {
        search::search_command(context);
        state.PauseTiming();
        QApplication::processEvents();  // what piled up meanwhile, outside the timing
        state.ResumeTiming();
        if (window->result_list()->rowCount() != entries) state.SkipWithError("rows missing");
    }
    state.counters["rows"] = entries;
}
BENCHMARK(search_command_to_last_row)
    ->Arg(20)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    test::clear_proxy_environment();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    auto main_window = std::make_unique<ui::MainWindow>();
    main_window->show();
    window = main_window.get();
    QApplication::processEvents();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
