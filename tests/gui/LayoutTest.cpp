// Run twice: at the screen's own scale, and by the window_tests_hidpi entry
// with QT_SCALE_FACTOR=2, where every pixel is drawn as four.

#include <QLabel>

#include "LayoutChecks.h"
#include "WindowFixture.h"
#include "calculator/Keypad.h"

namespace {

using WindowLayout = WindowTest;

double scaleOfThisRun()
{
    bool ok = false;
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok ? scale : 1.0;
}

TEST_F(WindowLayout, CalculatorKeepsItsShapeAndShowsEveryControlWhole)
{
    calculator->show();
    const double scale = scaleOfThisRun();
    ASSERT_DOUBLE_EQ(calculator->devicePixelRatio(), scale);
    EXPECT_EQ(calculator->grab().size(), QSize(329, 417) * scale);

    // Geometry stays in logical pixels whatever the scale.
    EXPECT_EQ(calculator->size(), QSize(329, 417));
    for (const KeySpec& key : kKeypad)
        EXPECT_EQ(calculator->button(key.number)->geometry(),
                  QRect(key.left, key.top, key.width, key.height))
            << key.caption;
    EXPECT_EQ(calculator->Edit1->geometry(), QRect(24, 24, 273, 25));
    EXPECT_EQ(calculator->Edit2->geometry(), QRect(24, 72, 273, 25));
    EXPECT_EQ(calculator->Edit3->geometry(), QRect(24, 120, 273, 25));
    EXPECT_EQ(calculator->x->geometry(), QRect(48, 352, 113, 21));
    EXPECT_EQ(calculator->y->geometry(), QRect(208, 352, 113, 21));
    EXPECT_EQ(calculator->z->geometry(), QRect(48, 384, 113, 21));
    EXPECT_EQ(calculator->Label1->pos(), QPoint(24, 8));
    EXPECT_EQ(calculator->Label2->pos(), QPoint(24, 56));
    EXPECT_EQ(calculator->Label3->pos(), QPoint(24, 104));

    expectLayoutFits(calculator.get());
}

} // namespace

namespace {

TEST_F(WindowLayout, GraphWindowKeepsItsPictureAndShowsEveryControlWhole)
{
    graph->show();
    EXPECT_EQ(graph->Image1->size(), QSize(500, 320));
    EXPECT_EQ(graph->Image1->picture().size(), QSize(500, 320));
    EXPECT_EQ(graph->Panel1->geometry(), QRect(0, 0, 500, 113));
    EXPECT_EQ(graph->BitBtn1->pos(), QPoint(40, 20));
    EXPECT_EQ(graph->Button1->pos(), QPoint(416, 40));
    expectLayoutFits(graph.get());
}

} // namespace
