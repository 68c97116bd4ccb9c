// Full redraws of the graph window and one trace move, on the offscreen
// platform, "img.bmp" save included.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

#include "calculator/untCalc.h"
#include "graph/Graf.h"
#include "platform/Application.h"
#include "platform/Messages.h"

namespace {

const char* const kExpression = "sin(x)*cos(x/2)+sqrt(x^2+1)-ln(x^2+2)";

void plotOnce()
{
    Form1->Edit1->setText(kExpression);
    Form1->graphExpression.setText(Form1->buffer);
    Form1->graphExpression.validate();
    Form2->show();
}

// Arguments: sampling mode (1 column, 0 interval) and the step in tenths.
void Redraw(benchmark::State& state)
{
    plotOnce();
    Form2->Mode2->setChecked(state.range(0) == 1);
    Form2->Step = static_cast<double>(state.range(1)) / 10;
    for (auto _ : state)
        Form2->FormShow();
    state.counters["samples"] = Form2->SampleCount;
    if (!MessageLog::shown().empty())
        state.SkipWithError(MessageLog::shown().back().text.c_str());
}
BENCHMARK(Redraw)
    ->ArgNames({"columns", "step_tenths"})
    ->Args({1, 10})
    ->Args({1, 5})
    ->Args({1, 1})
    ->Args({0, 10})
    ->Args({0, 5})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

void TraceMove(benchmark::State& state)
{
    plotOnce();
    Form2->Mode2->setChecked(true);
    Form2->Step = 1.0;
    Form2->Trace->setChecked(true);
    Form2->FormShow();
    int column = 0;
    for (auto _ : state) {
        Form2->Image1MouseMove(Qt::LeftButton, column, 100);
        column = (column + 7) % 500;
    }
    if (!MessageLog::shown().empty())
        state.SkipWithError(MessageLog::shown().back().text.c_str());
}
BENCHMARK(TraceMove)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    TApplication application(argc, argv);
    application.Initialize();
    MessageLog::setHeadless(true);
    QTemporaryDir folder; // the redraw writes img.bmp into the working directory
    QDir::setCurrent(folder.path());
    application.CreateForm(Form1);
    application.CreateForm(Form2);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
