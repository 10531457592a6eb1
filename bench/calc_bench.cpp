// Timings of the calculation: each step on its worked example, each handler
// on a form, and a whole calculation through the three buttons.

#include "calc/handlers.h"
#include "calc/map_form.h"
#include "calc/steps.h"
#include "tests/support/worked_example.h"

#include <benchmark/benchmark.h>

namespace {

using namespace prochnar;

void Step1(benchmark::State& state)
{
    const Step1Input in{.txtLpp = "3",
                        .txtH = "1,2",
                        .txtB = "0,8",
                        .txtIy = "1,5",
                        .txtIyy = "2",
                        .txtMn = "1",
                        .txtMp = "1",
                        .txtMv = "1",
                        .txtLp = "20",
                        .txtl = "65",
                        .txtG = "1",
                        .txtGg = "1",
                        .Text9 = "12,5",
                        .Text10 = "10"};
    for (auto _ : state) {
        benchmark::DoNotOptimize(step1(in));
    }
}
BENCHMARK(Step1);

void Step2(benchmark::State& state)
{
    Step2Input in;
    in.txtMp = "5";
    in.txtMv = "4";
    in.wirePosition.fill("0");
    in.wireWeight.fill("0");
    in.wireWeightIce.fill("0");
    in.wirePosition[0] = "7";
    in.wireWeight[0] = "1";
    in.wireWeightIce[0] = "2,5";
    in.txtLp = "20";
    in.txtl = "65";
    in.txtG = "1";
    in.txtGg = "1,5";
    in.txtH = "1,5";
    in.txtLpp = "2,5";
    in.Text3 = "0,8";
    in.Text5 = "0,8";
    for (auto _ : state) {
        benchmark::DoNotOptimize(step2(in));
    }
}
BENCHMARK(Step2);

void Step3(benchmark::State& state)
{
    const Step3Input in{.txtMp = "5",
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
        benchmark::DoNotOptimize(form.text("Text14"));
    }
}
BENCHMARK(WholeCalculation);

} // namespace

BENCHMARK_MAIN();
