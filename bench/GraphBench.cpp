// Full redraws of the graph window and one trace move, on the offscreen
// platform, "img.bmp" save included.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QWindow>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "calculator/untCalc.h"
#include "graph/Curve.h"
#include "graph/Graf.h"
#include "platform/Application.h"
#include "platform/Messages.h"
#include "platform/VectorState.h"

namespace {

const char* const kExpression = "sin(x)*cos(x/2)+sqrt(x^2+1)-ln(x^2+2)";

// Moves the graph window to the screen of so many device pixels per unit.
void onScreen(std::int64_t scale)
{
    Form2->windowHandle()->setScreen(QGuiApplication::screens().at(static_cast<int>(scale) - 1));
}

void plotOnce()
{
    Form1->Edit1->setText(kExpression);
    Form1->graphExpression.setText(Form1->buffer);
    Form1->graphExpression.validate();
    Form2->TrackBar1->setValue(0); // a one-pixel pen unless a benchmark says otherwise
    Form2->show();
    onScreen(1); // unless a benchmark says otherwise
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

// The worst click: zoom in from the starting ranges at the finest step with
// column sampling. It makes three full redraws of 10 000 samples, two of them
// nested through the range fields' change handlers, each saving "img.bmp".
// Arguments: the pen width, and the screen's device pixels per unit.
void ZoomClick(benchmark::State& state)
{
    plotOnce();
    onScreen(state.range(1));
    Form2->Mode2->setChecked(true);
    Form2->TrackBar1->setValue(static_cast<int>(state.range(0)) - 1);
    Form2->Step = 0.05;
    for (auto _ : state) {
        state.PauseTiming();
        for (QLineEdit* field : {Form2->Edit1, Form2->Edit2}) {
            const QSignalBlocker quiet(field);
            field->setText("20");
        }
        Form2->TamMaxX = 20;
        Form2->TamMaxY = 20;
        state.ResumeTiming();
        Form2->BitBtn5->click();
    }
    state.counters["samples"] = Form2->SampleCount;
    if (!MessageLog::shown().empty())
        state.SkipWithError(MessageLog::shown().back().text.c_str());
}
BENCHMARK(ZoomClick)
    ->ArgNames({"pen", "scale"})
    ->Args({1, 1})
    ->Args({3, 1})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond);

// What every redraw starts with: a white 500 x 320 picture and its axes.
void startPicture(QImage& picture, QPainter& painter)
{
    picture.fill(Qt::white);
    painter.begin(&picture);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(250, 0, 250, 320);
    painter.drawLine(0, 160, 500, 160);
}

// The floor of one such redraw: the same function compiled to machine code,
// sampled at the same 10 000 columns, joined by 10 000 segments on a white
// 500 x 320 picture with its axes, and the picture written as a 24-bit BMP.
void RedrawFloor(benchmark::State& state)
{
    QImage picture(500, 320, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter;
        startPicture(picture, painter);
        painter.setPen(QPen(QColor(0, 0, 255), 1));
        QPointF previous(-1000000, 0);
        double i = 0; // the column, stepped as the redraw steps it
        while (i <= 500) {
            const double x = (i - 250) * 20 / 500;
            const double y =
                std::sin(x) * std::cos(x / 2) + std::sqrt(x * x + 1) - std::log(x * x + 2);
            const QPointF point(i, 160 - y * 16);
            painter.drawLine(previous.toPoint(), point.toPoint());
            previous = point;
            i += 0.05;
        }
        painter.end();
        picture.save("img.bmp", "BMP");
    }
}
BENCHMARK(RedrawFloor)->Unit(benchmark::kMillisecond);

// A tighter floor of the same redraw: the function evaluated for the 10 000
// samples first, the segments between whole pixels drawn after, one that
// repeats the segment just drawn skipped, and the picture encoded by hand as a
// 24-bit BMP into one buffer, written with one call and renamed over the old
// file. The vector registers are cleared before the sampling, as Qt's drawing
// leaves them in a state that slows every calculation after it.
void TightRedrawFloor(benchmark::State& state)
{
    QImage picture(500, 320, QImage::Format_RGB32);
    // The header of a 500 x 320 picture of 24 bits at 96 dots per inch.
    const unsigned char header[54] = {
        'B',  'M',  0x36, 0x53, 0x07, 0,    0,    0,    0, 0, 0x36, 0, 0, 0, 0x28, 0, 0, 0,
        0xF4, 0x01, 0,    0,    0x40, 0x01, 0,    0,    1, 0, 24,   0, 0, 0, 0,    0, 0, 0x53,
        0x07, 0,    0xC4, 0x0E, 0,    0,    0xC4, 0x0E, 0, 0, 0,    0, 0, 0, 0,    0, 0, 0};
    std::vector<unsigned char> file(sizeof header + std::size_t{500} * 320 * 3);
    std::memcpy(file.data(), header, sizeof header);
    std::vector<QPoint> points;
    for (auto _ : state) {
        QPainter painter;
        startPicture(picture, painter);
        clearVectorState();
        points.clear();
        double i = 0;
        while (i <= 500) {
            const double x = (i - 250) * 20 / 500;
            const double y =
                std::sin(x) * std::cos(x / 2) + std::sqrt(x * x + 1) - std::log(x * x + 2);
            points.emplace_back(static_cast<int>(i), static_cast<int>(160 - y * 16));
            i += 0.05;
        }
        painter.setPen(QPen(QColor(0, 0, 255), 1));
        QPoint previous(-1000000, 0);
        QLine last;
        for (const QPoint& point : points) {
            const QLine segment(previous, point);
            if (segment != last)
                painter.drawLine(segment);
            last = segment;
            previous = point;
        }
        painter.end();
        unsigned char* out = file.data() + sizeof header;
        for (int row = 319; row >= 0; --row) {
            const auto* pixel = reinterpret_cast<const QRgb*>(picture.constScanLine(row));
            for (const QRgb* end = pixel + 500; pixel != end; ++pixel) {
                *out++ = qBlue(*pixel);
                *out++ = qGreen(*pixel);
                *out++ = qRed(*pixel);
            }
        }
        const int fd = ::open("img.bmp.new", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        const bool written =
            fd >= 0 && ::write(fd, file.data(), file.size()) == static_cast<ssize_t>(file.size());
        if (fd < 0 || ::close(fd) != 0 || !written || std::rename("img.bmp.new", "img.bmp") != 0) {
            state.SkipWithError("img.bmp could not be written");
            return;
        }
    }
}
BENCHMARK(TightRedrawFloor)->Unit(benchmark::kMillisecond);

// The x values of the worst click's redraws: every 0,05 of a column across
// the starting view, stepped as the redraw steps them.
std::vector<double> clickXs()
{
    std::vector<double> xs;
    double i = 0;
    while (i <= 500) {
        xs.push_back((i - 250) * 20 / 500);
        i += 0.05;
    }
    return xs;
}

// The redraw's evaluation alone: every sample of one such redraw, taken as
// the redraw takes them, through the graph window's curve.
void RedrawEvaluation(benchmark::State& state)
{
    plotOnce();
    const std::vector<double> xs = clickXs();
    int samples = 0;
    for (auto _ : state) {
        Curve f(samples);
        for (std::size_t k = 0; k < xs.size(); ++k)
            benchmark::DoNotOptimize(f.at(xs, k));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * xs.size()));
    if (!MessageLog::shown().empty())
        state.SkipWithError(MessageLog::shown().back().text.c_str());
}
BENCHMARK(RedrawEvaluation)->Unit(benchmark::kMicrosecond);

// What the evaluation is measured against: the expression compiled to machine
// code with the very library calls the evaluation makes, both powers included
// (a compiler would otherwise turn pow(x, 2) into x*x, which is not exact).
double exactFunction(double x, double two)
{
    return std::sin(x) * std::cos(x / 2) + std::sqrt(std::pow(x, two) + 1) -
           std::log(std::pow(x, two) + 2) / std::log(2.718281828459045);
}

void ExactFunction(benchmark::State& state)
{
    plotOnce();
    const std::vector<double> xs = clickXs();
    static volatile double unknownToTheCompiler = 2;
    const double two = unknownToTheCompiler;
    int samples = 0;
    Curve f(samples);
    for (const double x : xs) {
        const double ours = f(x);
        const double exact = exactFunction(x, two);
        if (ours != exact) { // no NaN on this sweep
            state.SkipWithError("the exact function and the evaluation differ");
            return;
        }
    }
    for (auto _ : state)
        for (const double x : xs)
            benchmark::DoNotOptimize(exactFunction(x, two));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * xs.size()));
}
BENCHMARK(ExactFunction)->Unit(benchmark::kMicrosecond);

// Argument: the screen's device pixels per unit.
void TraceMove(benchmark::State& state)
{
    plotOnce();
    onScreen(state.range(0));
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
BENCHMARK(TraceMove)->ArgName("scale")->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir folder; // the redraw writes img.bmp into the working directory
    // Two screens, of one and two device pixels per unit, so that a redraw is
    // measured at both in one run.
    const QString screens = folder.filePath("screens.json");
    QFile config(screens);
    if (!config.open(QIODevice::WriteOnly) || config.write(R"({"screens": [
            {"name": "1x", "x": 0, "y": 0, "width": 1024, "height": 768},
            {"name": "2x", "x": 1024, "y": 0, "width": 2048, "height": 1536,
             "logicalDpi": 192, "logicalBaseDpi": 96}]})") < 0)
        return 1;
    config.close();
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens).toLocal8Bit().constData(), 0);
    benchmark::Initialize(&argc, argv);
    TApplication application(argc, argv);
    application.Initialize();
    MessageLog::setHeadless(true);
    QDir::setCurrent(folder.path());
    application.CreateForm(Form1);
    application.CreateForm(Form2);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
