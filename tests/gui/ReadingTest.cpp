// The curve in words and the pace of speech, without a window.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "graph/Reading.h"
#include "platform/SpeechPace.h"

namespace {

using Reading::Kind;
using Reading::Place;
using Reading::Words;

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// The starting view's 500 columns: x from -10 by 0,04; no value where the
// expression has none.
std::vector<double> columnsOf(const std::function<double(double)>& f, std::vector<double>* xs)
{
    std::vector<double> values;
    for (int c = 0; c < 500; ++c) {
        const double x = (c - 250) * 20.0 / 500;
        const double y = f(x);
        values.push_back(std::isfinite(y) ? y : kNone);
        if (xs)
            xs->push_back(x);
    }
    return values;
}

// The points of interest left to right: C crosses zero, M maximum, m minimum,
// B before a gap, A after a gap.
std::string letters(const std::vector<Kind>& kinds)
{
    std::string shown;
    for (const Kind kind : kinds)
        if (kind != Kind::Plain)
            shown += "?CMmBA"[static_cast<int>(kind)];
    return shown;
}

TEST(Reading, PointsOfInterestAndWhatIsSaidOfTheCurve)
{
    struct Row {
        const char* name;
        std::function<double(double)> f;
        const char* points;
        const char* summary;
    };
    const Row rows[] = {
        {"sin(x)*x", [](double x) { return std::sin(x) * x; }, "CMCmCMmMCmCMC",
         "crosses zero 6 times; highest 7,915 at x -7,96; lowest -5,44 at x -10"},
        // Poles are no crossings, and the columns beside them no extrema.
        {"tan(x)", [](double x) { return std::tan(x); }, "CCCCCCC",
         "crosses zero 7 times; highest 9,397 at x -7,96; lowest -9,397 at x 7,96; goes above the "
         "view; goes below the view"},
        {"1/x", [](double x) { return x == 0 ? kNone : 1 / x; }, "BA",
         "does not cross zero; highest 8,333 at x 0,12; lowest -8,333 at x -0,12; goes above "
         "the view; goes below the view; one gap"},
        {"sqrt(x)", [](double x) { return std::sqrt(x); }, "A",
         "does not cross zero; highest 3,156 at x 9,96; lowest 0 at x 0; one gap"},
        {"x^2", [](double x) { return x * x; }, "m",
         "does not cross zero; highest 9,986 at x -3,16; lowest 0 at x 0; goes above the view"},
        {"x", [](double x) { return x; }, "C",
         "crosses zero once; highest 9,96 at x 9,96; lowest -10 at x -10"},
        {"5", [](double) { return 5.0; }, "", "does not cross zero; y 5 throughout"},
        {"100", [](double) { return 100.0; }, "", "does not cross zero; above the view"},
        {"ln(-x^2-1)", [](double) { return kNone; }, "", "no value in view"},
    };
    for (const Row& row : rows) {
        std::vector<double> xs;
        const std::vector<double> values = columnsOf(row.f, &xs);
        const std::vector<Kind> kinds = Reading::pointsOfInterest(values);
        EXPECT_EQ(letters(kinds), row.points) << row.name;
        EXPECT_EQ(Words::summary(values, kinds, xs, -10, 10).toStdString(), row.summary)
            << row.name;
    }

    // Jumps go to the next point either way, and say so where there is none.
    const std::vector<Kind> kinds = Reading::pointsOfInterest(
        columnsOf([](double x) { return x == 0 ? kNone : 1 / x; }, nullptr));
    EXPECT_EQ(Reading::nextPoint(kinds, -1, true), 249);
    EXPECT_EQ(Reading::nextPoint(kinds, 249, true), 251);
    EXPECT_EQ(Reading::nextPoint(kinds, 251, true), -1);
    EXPECT_EQ(Reading::nextPoint(kinds, 251, false), 249);
    EXPECT_EQ(Words::noneFurther(true).toStdString(), "no more points to the right");

    struct Said {
        QString words;
        const char* expected;
    };
    for (const Said& said : {
             Said{Words::point(2.36, 0.875, true, Place::InView, Kind::Plain), "x 2,36, y 0,875"},
             {Words::point(-10, -5.4402111088937, true, Place::InView, Kind::Plain),
              "x -10, y -5,44"},
             {Words::point(M_PI, 0, true, Place::InView, Kind::CrossesZero),
              "x 3,142, y 0, crosses zero"},
             {Words::point(1, std::sin(1.0), true, Place::InView, Kind::Maximum),
              "x 1, y 0,8415, maximum"},
             {Words::point(4.92, -4.81, true, Place::InView, Kind::Minimum),
              "x 4,92, y -4,81, minimum"},
             {Words::point(3, kNone, false, Place::InView, Kind::Plain), "x 3, no value"},
             {Words::point(-0.04, -25, true, Place::Below, Kind::BeforeGap),
              "x -0,04, y -25, below the view, before a gap"},
             {Words::point(0.04, 25, true, Place::Above, Kind::AfterGap),
              "x 0,04, y 25, above the view, after a gap"},
             {Words::view(-1 / 0.12, 1 / 0.12, -10.3125, 9.6875),
              "x from -8,333 to 8,333, y from -10,31 to 9,688"},
             {Words::step(0.7000000000000001), "step 0,7"},
         })
        EXPECT_EQ(said.words.toStdString(), said.expected);
}

// A pace on a clock of the test's own: the time moves on only when the test
// says, and a wait asked for ends (wake) when the time passes it.
TEST(SpeechPace, ALoneMoveAtOnceARunOnceForItsLastPosition)
{
    std::int64_t now = 0;
    std::int64_t wakeAt = -1;
    std::string said;
    SpeechPace pace(
        [&now] { return now; },
        [&](const QString& text) { said += std::to_string(now) + " " + text.toStdString() + "|"; },
        [&](int wait) { wakeAt = now + wait; });
    const auto at = [&](std::int64_t time) {
        if (wakeAt >= 0 && wakeAt <= time) {
            now = wakeAt;
            wakeAt = -1;
            pace.wake();
        }
        now = time;
    };
    pace.say("a"); // lone: at once
    at(100);
    pace.say("b"); // too soon after "a": once the moves stop
    at(600);
    pace.say("c"); // lone again
    // A held key: its first press at once, its repeats once, the last of them.
    at(1000);
    pace.say("d0");
    for (int repeat = 1; repeat <= 12; ++repeat) {
        at(1500 + 40 * repeat);
        pace.say(QString("d%1").arg(repeat), true);
    }
    at(3000);
    // Keys pressed fast, each a lone one by itself.
    for (int press = 0; press < 5; ++press) {
        at(4000 + 100 * press);
        pace.say(QString("e%1").arg(press));
    }
    at(5000);
    pace.wake(); // nothing held: nothing said
    EXPECT_EQ(said, "0 a|250 b|600 c|1000 d0|2130 d12|4000 e0|4550 e4|");
}

} // namespace
