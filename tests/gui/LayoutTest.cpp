// Run twice: at the screen's own scale, and by the window_tests_hidpi entry
// with QT_SCALE_FACTOR=2, where every pixel is drawn as four.

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWindow>
#include <cmath>

#include "GraphFixture.h"
#include "LayoutChecks.h"
#include "calculator/Keypad.h"

namespace {

using WindowLayout = GraphTest;

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

    // On every screen the plot is drawn at the screen's own resolution, with
    // axes of one width, and img.bmp stays the same.
    plot("x");
    const QImage saved("img.bmp");
    for (QScreen* screen : QGuiApplication::screens()) {
        graph->windowHandle()->setScreen(screen);
        QCoreApplication::processEvents(); // the redraw the move asks for
        const double ratio = screen->devicePixelRatio();
        const QImage& sharp = graph->Image1->screenPicture();
        EXPECT_EQ(QImage("img.bmp"), saved);
        if (ratio == 1) {
            EXPECT_TRUE(sharp.isNull());
            continue;
        }
        ASSERT_EQ(sharp.size(), QSize(500, 320) * ratio) << ratio;
        const auto black = [&sharp](int x, int y) { return sharp.pixel(x, y) == qRgb(0, 0, 0); };
        const int width = static_cast<int>(std::lround(ratio));
        for (int along = 0; along < 120 * ratio; along += 7) { // where the curve is far from both
            int across = 0;
            int down = 0;
            for (int k = 0; k < 20 * ratio; ++k) {
                across += black(static_cast<int>(240 * ratio) + k, along) ? 1 : 0;
                down += black(along, static_cast<int>(150 * ratio) + k) ? 1 : 0;
            }
            EXPECT_EQ(across, width) << "vertical axis, row " << along << ", ratio " << ratio;
            EXPECT_EQ(down, width) << "horizontal axis, column " << along << ", ratio " << ratio;
        }
        // Not the picture blown up: some square of 2 x 2 pixels is not of one colour.
        bool blocks = true;
        for (int y = 0; y + 1 < sharp.height() && blocks; y += 2)
            for (int x = 0; x + 1 < sharp.width() && blocks; x += 2)
                blocks = sharp.pixel(x, y) == sharp.pixel(x + 1, y) &&
                         sharp.pixel(x, y) == sharp.pixel(x, y + 1) &&
                         sharp.pixel(x, y) == sharp.pixel(x + 1, y + 1);
        EXPECT_FALSE(blocks) << ratio;
    }
}

} // namespace
