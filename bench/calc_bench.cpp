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
    const Step1Input in = test_support::step1WorkedExample();
    for (auto _ : state) {
        benchmark::DoNotOptimize(step1(in));
    }
}
BENCHMARK(Step1);

void Step2(benchmark::State& state)
{
    const Step2Input in = test_support::step2WorkedExample();
    for (auto _ : state) {
        benchmark::DoNotOptimize(step2(in));
    }
}
BENCHMARK(Step2);

void Step3(benchmark::State& state)
{
    const Step3Input in = test_support::step3WorkedExample();
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
