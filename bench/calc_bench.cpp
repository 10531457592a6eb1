// Timings of the calculation: each step on its worked example, each handler
// on a form, and a whole calculation through the three buttons.

#include "calc/handlers.h"
#include "calc/map_form.h"
#include "calc/steps.h"
#include "tests/support/wizard.h"

#include <benchmark/benchmark.h>

namespace {

using namespace prochnar;

// The worked example of each step: slenderness 200 and 50; reaction
// 2743,5449 and diagonal force 1829,03; the five results of step 3.
Step1Input step1WorkedExample()
{
    return {.txtLpp = "3",
            .txtH = "1,2",
            .txtB = "0,8",
            .txtIy = "1,5",
            .txtIyy = "2",
            .txtMn = "1",
            .txtMp = "2",
            .txtMv = "3",
            .txtLp = "20",
            .txtl = "65",
            .txtG = "1",
            .txtGg = "1,5",
            .Text9 = "12,5",
            .Text10 = "10"};
}

Step2Input step2WorkedExample()
{
    Step2Input in{.txtMp = "5",
                  .txtMv = "4",
                  .wirePosition = {"7"},
                  .wireWeight = {"1"},
                  .wireWeightIce = {"2,5"},
                  .txtLp = "20",
                  .txtl = "65",
                  .txtG = "1",
                  .txtGg = "1,5",
                  .txtH = "1,5",
                  .txtLpp = "2,5",
                  .Text3 = "0,8",
                  .Text5 = "0,7"};
    for (std::size_t i = 1; i < kWireCount; ++i) {
        in.wirePosition[i] = in.wireWeight[i] = in.wireWeightIce[i] = "0";
    }
    return in;
}

Step3Input step3WorkedExample()
{
    return {.txtMp = "5",
            .txtMv = "4",
            .txtMn = "3",
            .txtH = "1,5",
            .Text1 = "21",
            .Text10 = "10",
            .Text3 = "0,8",
            .Text5 = "0,8",
            .txtQp = "12345,67",
            .txtZ1 = "50000",
            .Text15 = "1"};
}

void Step1(benchmark::State& state)
{
    const Step1Input in = step1WorkedExample();
    for (auto _ : state) {
        benchmark::DoNotOptimize(step1(in));
    }
}
BENCHMARK(Step1);

void Step2(benchmark::State& state)
{
    const Step2Input in = step2WorkedExample();
    for (auto _ : state) {
        benchmark::DoNotOptimize(step2(in));
    }
}
BENCHMARK(Step2);

void Step3(benchmark::State& state)
{
    const Step3Input in = step3WorkedExample();
    for (auto _ : state) {
        benchmark::DoNotOptimize(step3(in));
    }
}
BENCHMARK(Step3);

// One handler pressed on a form that holds the worked example.
template <Button button> void Handler(benchmark::State& state)
{
    MapForm form;
    applyInitialState(form);
    test_support::fillWorkedExample(form);
    press(form, Button::Command2);
    press(form, Button::Command5);
    for (auto _ : state) {
        press(form, button);
        benchmark::DoNotOptimize(form.takeMessages());
    }
}
BENCHMARK_TEMPLATE(Handler, Button::Command2)->Name("Handler/Command2_confirm_step1");
BENCHMARK_TEMPLATE(Handler, Button::Command5)->Name("Handler/Command5_confirm_step2");
BENCHMARK_TEMPLATE(Handler, Button::Command4)->Name("Handler/Command4_execute");
BENCHMARK_TEMPLATE(Handler, Button::Command3)->Name("Handler/Command3_reset_step1");
BENCHMARK_TEMPLATE(Handler, Button::Command6)->Name("Handler/Command6_reset_step2");

void WholeCalculation(benchmark::State& state)
{
    for (auto _ : state) {
        MapForm form;
        applyInitialState(form);
        test_support::fillWorkedExample(form);
        press(form, Button::Command2);
        press(form, Button::Command5);
        press(form, Button::Command4);
        benchmark::DoNotOptimize(form.text(Field::Text14));
    }
}
BENCHMARK(WholeCalculation);

} // namespace

BENCHMARK_MAIN();
