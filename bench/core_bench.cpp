// The board's own cost: one move, one refused move and one reset, with a window that only
// counts what it is told.
#include "board/core/Form1.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tessarline;

class RecordingWindow final : public BoardWindow {
public:
    void Show() override {}
    void Changed(const BoardNews&) override { ++changes; }
    void Beep() override { ++beeps; }
    void ShowHelp() override {}

    long changes = 0;
    long beeps = 0;
};

constexpr NodeIndex kNineEdges[] = {2, 1, 3, 1, 4, 2, 4, 3, 4};

void BM_Move(benchmark::State& state) {
    RecordingWindow window;
    Form1 form(window);
    form.Form_Load();
    for (auto _ : state) {
        state.PauseTiming();
        form.ResetBoard();
        state.ResumeTiming();
        for (NodeIndex n : kNineEdges) {
            form.lblNode_Click(n);
        }
        benchmark::DoNotOptimize(form.CurrentNode);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(std::size(kNineEdges)));
}
BENCHMARK(BM_Move);

void BM_RefusedMove(benchmark::State& state) {
    RecordingWindow window;
    Form1 form(window);
    form.Form_Load();
    for (NodeIndex n : kNineEdges) {
        form.lblNode_Click(n);
    }
    // The pen is on node 4 and the diagonal to node 1 is traced: every click on box 1 beeps.
    for (auto _ : state) {
        form.lblNode_Click(1);
        benchmark::DoNotOptimize(window.beeps);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RefusedMove);

void BM_Reset(benchmark::State& state) {
    RecordingWindow window;
    Form1 form(window);
    form.Form_Load();
    for (auto _ : state) {
        form.ResetBoard();
        benchmark::DoNotOptimize(form.CurrentNode);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Reset);

} // namespace

BENCHMARK_MAIN();
