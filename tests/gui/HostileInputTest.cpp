// Long expressions, extreme ranges and values, and the ends of the step: each
// gives a picture or a clear error, and the windows stay usable.

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <string>

#include "GraphFixture.h"

namespace {

using HostileInput = GraphTest;

std::string longSum(std::size_t characters)
{
    std::string sum = "1";
    while (sum.size() + 2 <= characters)
        sum += "+1";
    return sum;
}

TEST_F(HostileInput, HundredThousandCharacterExpression)
{
    const std::string sum = longSum(100000);
    calculator->Edit1->setText(QString::fromStdString(sum));
    EXPECT_EQ(calculator->buffer.size(), sum.size()); // nothing cut off
    click(21);
    EXPECT_EQ(text(calculator->Edit3), std::to_string(sum.size() / 2 + 1));
    EXPECT_EQ(text(calculator->Edit2).size(), 2 * sum.size() - 1); // "1 1 + 1 + ..." whole
    EXPECT_EQ(messages(), "");

    plot(sum.c_str());
    EXPECT_EQ(graph->SampleCount, 501);
    const std::size_t ones = (sum.size() + 1) / 2;
    EXPECT_EQ(graph->YMax, static_cast<double>(ones));
    EXPECT_EQ(messages(), "");
    EXPECT_EQ(saved().size(), QSize(500, 320));
}

TEST_F(HostileInput, ExtremeRanges)
{
    plot("x");
    int row = 100; // a move elsewhere each time: a redraw clears the read-out
    for (const char* range : {"1E300", "-1E300", "1E-300", "0", "1E308", "-1E-308"}) {
        graph->Edit1->setText(range);
        graph->Edit2->setText(range);
        press(graph->BitBtn3);
        press(graph->Button2); // ZoomFit
        QTest::mouseMove(graph->Image1, {300, row++});
        EXPECT_FALSE(status().empty()) << range;
    }
    EXPECT_EQ(messages(), "");
    press(graph->Button1);
    EXPECT_GT(blueIn(kWholePicture()), 400);

    // At tiny heights the curve is its lines across the x axis, however tiny:
    // the picture at 1E-10 is the picture at any smaller height.
    plot("sin(x)");
    for (const char* width : {"20", "1E300"}) {
        press(graph->Button1);
        graph->Edit1->setText(width);
        graph->Edit2->setText("1E-10");
        const QImage crossings = graph->Image1->picture();
        EXPECT_GE(blueIn(kWholePicture()), 7 * 320) << width;
        for (const char* height : {"1E-25", "1E-100", "1E-300"}) {
            graph->Edit2->setText(height);
            EXPECT_EQ(graph->Image1->picture(), crossings) << width << " " << height;
        }
    }

    // Lines to pixels beyond a double's range, and across a span beyond it
    // (+-1,6E308), are dense strokes on both pictures at scales 1 and 2; lost,
    // they left half of a picture at most.
    const auto blueShare = [](const QImage& drawn) {
        int blue = 0;
        for (int k = 0; k < drawn.width() * drawn.height(); ++k)
            blue += drawn.pixel(k % drawn.width(), k / drawn.width()) == qRgb(0, 0, 255) ? 1 : 0;
        return static_cast<double>(blue) / drawn.width() / drawn.height();
    };
    graph->Step = 1; // cos(25*pi*x) is +-1 at every column
    for (int screen : {0, 1}) {
        graph->windowHandle()->setScreen(QGuiApplication::screens().at(screen));
        QCoreApplication::processEvents();
        const char* const views[][3] = {{"sin(x)*x", "1E300", "1E-25"},
                                        {"1E307*cos(25*pi*x)", "20", "20"}};
        for (const auto& [expression, width, height] : views) {
            plot(expression);
            graph->Edit1->setText(width);
            graph->Edit2->setText(height);
            for (const QImage& drawn : {graph->Image1->picture(), graph->Image1->screenPicture()})
                EXPECT_TRUE(drawn.isNull() || blueShare(drawn) > 0.7) << expression << screen;
        }
    }
}

TEST_F(HostileInput, ExtremeFieldValues)
{
    plot("x+y*z");
    for (const char* value : {"1E308", "-1E308", "INF", "-INF", "NAN"}) {
        calculator->y->setText(value);
        calculator->z->setText(value);
        press(graph->BitBtn2);
        press(graph->Button2);
        QTest::mousePress(graph->Image1, Qt::LeftButton, {}, {250, 10});
        QTest::mouseMove(graph->Image1, {260, 10});
        QTest::mouseRelease(graph->Image1, Qt::LeftButton, {}, {260, 10});
    }
    EXPECT_EQ(messages(), "");
    calculator->y->setText("0");
    calculator->z->setText("0");
    press(graph->Button1);
    EXPECT_EQ(graph->TamMaxY, 20);
    EXPECT_GT(blueIn(kWholePicture()), 400);
}

TEST_F(HostileInput, FinestAndCoarsestSteps)
{
    plot("sin(x)");
    press(graph->Button1);
    for (int i = 0; i < 20; ++i)
        press(graph->BitBtn7);
    EXPECT_GE(graph->Step, 0.05);
    EXPECT_LE(graph->SampleCount, 10001);
    graph->Mode2->click();
    EXPECT_LE(graph->SampleCount, 10002);

    graph->Step = 1E6;
    press(graph->BitBtn8);
    EXPECT_EQ(graph->SampleCount, 2);
    graph->Mode2->click();
    EXPECT_EQ(graph->SampleCount, 1);
    EXPECT_EQ(messages(), "");
}

TEST_F(HostileInput, ZoomBoxFarOutside)
{
    plot("x");
    graph->Zoom->setChecked(true);
    QTest::mousePress(graph->Image1, Qt::LeftButton, {}, {10, 10});
    QTest::mouseMove(graph->Image1, {100000, -100000});
    QTest::mouseRelease(graph->Image1, Qt::LeftButton, {}, {100000, -100000});
    EXPECT_EQ(messages(), "");
    press(graph->Button1);
    EXPECT_EQ(graph->OriginX, 250);
}

} // namespace
