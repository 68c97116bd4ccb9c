// The redraw: fit, clear, axes, the sampled curve, the ranges written back
// and the finished picture saved as "img.bmp".

#include <QCoreApplication>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "calculator/untCalc.h"
#include "graph/Curve.h"
#include "graph/Graf.h"
#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/VectorState.h"

namespace {

const QColor kAxes(0, 0, 0);
const QColor kCurve(0, 0, 255);
constexpr double kFarLeft = -1000000;
const char* const kPictureFile = "img.bmp";
const char* const kNotSaved = QT_TRANSLATE_NOOP("TForm2", "The picture is not saved as %1");

} // namespace

double Curve::operator()(double x)
{
    ++samples;
    if (!read) {
        ans = Form1->answer();
        z = StrToFloat(GetText(Form1->z));
        y = StrToFloat(GetText(Form1->y));
        read = true;
    }
    return Form1->graphExpression.evaluate(x, y, z, ans);
}

double Curve::at(const std::vector<double>& xs, std::size_t k)
{
    if (k < ready)
        return ahead[k];
    clearVectorState(); // the picture's fill and axes come just before
    const double value = (*this)(xs[k]);
    ahead.resize(xs.size());
    const std::size_t taken = Form1->graphExpression.evaluateEach(
        xs.data() + k + 1, ahead.data() + k + 1, xs.size() - k - 1, y, z, ans);
    samples += static_cast<int>(taken);
    ready = k + 1 + taken;
    return value;
}

double TForm2::farPixel(double pixel, double origin, double scale, double world)
{
    if (std::isfinite(pixel) || !std::isfinite(world))
        return pixel;
    // World 0 lies on the origin also where the scale is infinite.
    const double direct = world == 0 ? origin : origin + world * scale;
    return std::isnan(direct) ? direct : std::clamp(direct, -DBL_MAX, DBL_MAX);
}

bool TForm2::hasValue(double value) const
{
    return std::isfinite(value) && value != static_cast<double>(Form1->graphExpression.errorValue);
}

void TForm2::applyFit()
{
    FitPending = false;
    if (YMax == 0 && YMin == 0)
        return; // nothing sampled since the extents were cleared: keep the view
    TamMaxY = YMax - YMin;
    OriginY = pictureHeight() * YMax / TamMaxY;
}

void TForm2::widenExtents(double value)
{
    if (!hasValue(value))
        return;
    if (value > YMax)
        YMax = value;
    if (value < YMin)
        YMin = value;
}

void TForm2::FormShow()
{
    const int w = pictureWidth();
    const int h = pictureHeight();
    SampleCount = 0;
    columns.ready = false;
    typingFailure = nullptr; // this redraw tells what is wrong now
    // The status bar read out the picture before this one.
    StatusBar1->clearMessage();
    describeSampling();
    if (FitPending)
        applyFit();
    describePlot();
    Image1->update();
    Image1->newPictures();
    {
        Canvas canvas(*Image1);
        canvas.fillWhite();
        ScaleX = w / TamMaxX;
        ScaleY = h / TamMaxY;
        canvas.setPen(kAxes, 1);
        canvas.line(std::trunc(OriginX), 0, std::trunc(OriginX), h);
        canvas.line(0, std::trunc(OriginY), w, std::trunc(OriginY));
        canvas.setPen(kCurve, TrackBar1->value() + 1, true);
        if (Mode2->isChecked())
            sampleColumns(canvas);
        else
            sampleIntervals(canvas);
        canvas.setPenWidth(1);
    }
    if (YMax == 0 && YMin == 0) {
        YMax = 10;
        YMin = -10;
    }
    // Each write that changes a field runs its change handler, and so a whole
    // redraw, nested here.
    showRange(Edit1, TamMaxX);
    showRange(Edit2, TamMaxY);
    plotted = Image1->pictures();
    savePicture();
}

void TForm2::savePicture()
{
    try {
        Image1->SaveToFile(kPictureFile);
    } catch (const EFCreateError& failure) {
        // Until the next mouse move, which shows the coordinates again.
        StatusBar1->showMessage(QCoreApplication::translate("TForm2", kNotSaved).arg(kPictureFile));
        // A failure that lasts is reported in a box once a showing: a box
        // after every click would leave the window nearly unusable.
        if (std::exchange(saveFailure, failure.message()) != failure.message())
            throw;
        return;
    }
    saveFailure.clear();
}

void TForm2::sampleColumns(Canvas& canvas)
{
    const int w = pictureWidth();
    // The column advances by repeated addition of the step, not by multiples of it.
    std::vector<double> xs;
    double i = 0;
    while (w >= i) {
        xs.push_back(worldX(i));
        i += Step;
    }
    Curve f(SampleCount);
    double previousX = kFarLeft;
    double previousY = 0;
    bool previousHasValue = true;
    for (std::size_t k = 0; k < xs.size(); ++k) {
        PointX = xs[k];
        PointY = f.at(xs, k);
        const double px = pixelX(PointX);
        const double py = pixelY(PointY);
        widenExtents(PointY);
        // The curve breaks where the expression has no value.
        const bool valued = hasValue(PointY);
        if (valued && previousHasValue)
            canvas.line(previousX, previousY, px, py);
        previousX = px;
        previousY = py;
        previousHasValue = valued;
    }
}

void TForm2::sampleIntervals(Canvas& canvas)
{
    const int quarter = pictureWidth() / 4;
    std::vector<double> xs; // w - Step and w of every interval, in the order they are sampled
    double w = -quarter;
    while (w < quarter) {
        xs.push_back(w - Step);
        xs.push_back(w);
        w += Step;
    }
    Curve f(SampleCount);
    for (std::size_t k = 0; k < xs.size(); k += 2) {
        const double ya = f.at(xs, k);
        const double yb = f.at(xs, k + 1);
        w = xs[k + 1];
        if (hasValue(ya) && hasValue(yb))
            canvas.line(farPixel((OriginX / ScaleX + w - Step) * ScaleX, OriginX, ScaleX, w - Step),
                        pixelY(ya), pixelX(w), pixelY(yb));
    }
}
