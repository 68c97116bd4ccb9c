// The plot from the keyboard, and what a screen reader is told of it: every
// key pressed on the plot is handled here. The keys walk the curve over the
// columns the mouse trace takes, and jump between the points a person looks
// at first; each position, and each new view after a change, is said once.
// Each position sounds too, at the pitch of its height, and "S" plays the
// whole view's curve from left to right; any key stops it.

#include <QKeyEvent>
#include <algorithm>
#include <chrono>
#include <iterator>
#include <limits>
#include <utility>

#include "calculator/untCalc.h"
#include "graph/Curve.h"
#include "graph/Graf.h"
#include "graph/Sonification.h"
#include "platform/Application.h"
#include "platform/Sound.h"

namespace {

enum class Move { By, ToEnd, ToPoint };

// What a key does to the traced column: moves it so many columns, to the
// first or last column, or to the previous or next point of interest.
struct KeyMove {
    int key;
    Qt::KeyboardModifiers modifiers;
    Move move;
    int amount;
};

const KeyMove kKeyMoves[] = {
    {Qt::Key_Left, Qt::NoModifier, Move::By, -1},
    {Qt::Key_Right, Qt::NoModifier, Move::By, 1},
    {Qt::Key_Left, Qt::ShiftModifier, Move::By, -10},
    {Qt::Key_Right, Qt::ShiftModifier, Move::By, 10},
    {Qt::Key_Home, Qt::NoModifier, Move::ToEnd, -1},
    {Qt::Key_End, Qt::NoModifier, Move::ToEnd, 1},
    {Qt::Key_Left, Qt::ControlModifier, Move::ToPoint, -1},
    {Qt::Key_Right, Qt::ControlModifier, Move::ToPoint, 1},
    {Qt::Key_PageUp, Qt::NoModifier, Move::ToPoint, -1},
    {Qt::Key_PageDown, Qt::NoModifier, Move::ToPoint, 1},
};

// The samples made are the samples the player takes.
static_assert(Sonification::kSampleRate == Sound::kSampleRate &&
              Sonification::kChannels == Sound::kChannels);

constexpr double kSweepSeconds = 2;
constexpr double kToneSeconds = 0.08; // a key's repeat replaces it with the next

std::int64_t milliseconds()
{
    using namespace std::chrono;
    return duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

void TForm2::buildReading()
{
    // A click takes the keyboard too, as a click on any control does.
    Image1->setFocusPolicy(Qt::StrongFocus);
    Image1->setToolTip(Reading::Words::plotTip());
    Image1->OnKeyDown = [this](const QKeyEvent& key) { return Image1KeyDown(key); };
    describeWhenAsked(Image1, [this] { return plotDescription(); });
    settle = new QTimer(this);
    settle->setSingleShot(true);
    // Through the calculator's announcer: Orca would begin each of this
    // window's messages with its name, "Grafic Mode dialog".
    pace = std::make_unique<SpeechPace>(
        milliseconds, [](const QString& text) { Form1->announcer->say(text); },
        [this](int wait) { settle->start(wait); });
    QObject::connect(settle, &QTimer::timeout, this, [this] { pace->wake(); });
    OnSound = [](std::vector<std::int16_t> samples) {
        Sound& sound = Application->sound();
        samples.empty() ? sound.stop() : sound.play(std::move(samples));
    };
}

bool TForm2::Image1KeyDown(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const bool play = key.key() == Qt::Key_S && modifiers == Qt::NoModifier;
    if (stopSweep() && play)
        return true; // "S" again only stops it
    if (play) {
        sweeping = true;
        OnSound(
            Sonification::sweep(columnValues(), worldY(pictureHeight()), worldY(0), kSweepSeconds));
        return true;
    }
    const KeyMove* found =
        std::find_if(std::begin(kKeyMoves), std::end(kKeyMoves), [&](const KeyMove& move) {
            return move.key == key.key() && move.modifiers == modifiers;
        });
    if (found == std::end(kKeyMoves))
        return false;
    const int last = pictureWidth() - 1;
    // Before any trace, the keys start from the middle.
    const int from = std::clamp(tracedColumn.value_or(pictureWidth() / 2), 0, last);
    const bool forwards = found->amount > 0;
    const auto nextPoint = [&] {
        columnValues();
        const int start = tracedColumn ? from : forwards ? -1 : last + 1;
        return Reading::nextPoint(columns.kinds, start, forwards);
    };
    const int to = found->move == Move::By      ? std::clamp(from + found->amount, 0, last)
                   : found->move == Move::ToEnd ? (forwards ? last : 0)
                                                : nextPoint();
    if (to < 0) {
        tell(Reading::Words::noneFurther(forwards), key.isAutoRepeat());
        return true;
    }
    trace(to);
    tell(pointWords(to), key.isAutoRepeat());
    OnSound(Sonification::tone(columns.values.at(static_cast<std::size_t>(to)),
                               worldY(pictureHeight()), worldY(0),
                               to / std::max(1.0, static_cast<double>(last)), kToneSeconds));
    return true;
}

bool TForm2::stopSweep()
{
    if (!std::exchange(sweeping, false))
        return false;
    OnSound({});
    return true;
}

QString TForm2::pointWords(int column)
{
    columnValues();
    const bool valued = hasValue(PointY);
    const double row = pixelY(PointY);
    const Reading::Place place = !valued                 ? Reading::Place::InView
                                 : row < 0               ? Reading::Place::Above
                                 : row > pictureHeight() ? Reading::Place::Below
                                                         : Reading::Place::InView;
    return Reading::Words::point(PointX, PointY, valued, place,
                                 columns.kinds.at(static_cast<std::size_t>(column)));
}

const std::vector<double>& TForm2::columnValues()
{
    if (columns.ready)
        return columns.values;
    const auto width = static_cast<std::size_t>(pictureWidth());
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    columns.xs.resize(width);
    for (std::size_t c = 0; c < width; ++c)
        columns.xs[c] = worldX(static_cast<double>(c));
    columns.values.assign(width, kNone);
    int samples = 0; // the redraw's count is the redraw's
    std::size_t c = 0;
    try {
        Curve f(samples);
        for (; c < width; ++c)
            columns.values[c] = f.at(columns.xs, c);
    } catch (const Exception&) {
        // From the column that failed on, one by one, each failure a column
        // without a value; the trace there reports it, as the mouse's does.
        for (; c < width; ++c) {
            try {
                columns.values[c] = Curve(samples)(columns.xs[c]);
            } catch (const Exception&) {
                columns.values[c] = kNone;
            }
        }
    }
    for (double& value : columns.values)
        if (!hasValue(value))
            value = kNone;
    columns.kinds = Reading::pointsOfInterest(columns.values);
    columns.ready = true;
    return columns.values;
}

QString TForm2::plotDescription()
{
    QString view = Image1->accessibleDescription();
    if (view.isEmpty())
        return view; // not drawn yet
    // Asked by a screen reader, with no one to report a failure to.
    try {
        const std::vector<double>& values = columnValues();
        return view + QStringLiteral("; ") +
               Reading::Words::summary(values, columns.kinds, columns.xs, worldY(pictureHeight()),
                                       worldY(0));
    } catch (...) {
        return view;
    }
}

void TForm2::tell(const QString& text, bool repeated)
{
    pace->say(text, repeated);
}

void TForm2::tellView()
{
    tell(Reading::Words::view(worldX(0), worldX(pictureWidth()), worldY(pictureHeight()),
                              worldY(0)));
}
