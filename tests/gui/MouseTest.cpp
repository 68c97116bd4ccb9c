#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "GraphFixture.h"
#include "platform/SpeechPace.h"

namespace {

class Mouse : public GraphTest {
protected:
    // QTest takes the point (0, 0) for "the centre", so a move there is sent by hand.
    void hover(int x, int y)
    {
        const QPointF local(x, y);
        QMouseEvent move(QEvent::MouseMove, local, graph->Image1->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(graph->Image1, &move);
    }
    void drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(graph->Image1, button, {}, from);
        QTest::mouseMove(graph->Image1, to);
    }
    void release(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(graph->Image1, button, {}, at);
    }
    int greenIn(QRect block) const { return count(isGreen, block); }
    // Both pictures: the one saved and, on a dense screen, the one shown.
    std::pair<QImage, QImage> pictures() const
    {
        return {graph->Image1->picture(), graph->Image1->screenPicture()};
    }
};

TEST_F(Mouse, HoverReadsOutWorldCoordinates)
{
    plot("x");
    hover(250, 160);
    EXPECT_EQ(status(), "X: 0     Y: 0");
    hover(0, 0);
    EXPECT_EQ(status(), "X: -10     Y: 10");
    graph->Zoom->setChecked(true);
    hover(375, 80);
    EXPECT_EQ(status(), "X: 5     Y: 5");
    EXPECT_EQ(greenIn(kWholePicture()), 0);
}

TEST_F(Mouse, TraceSquareSitsOnTheCurve)
{
    plot("x");
    drag({375, 300}, {375, 300}); // the row plays no part
    EXPECT_EQ(graph->PointX, 5);
    EXPECT_EQ(graph->PointY, 5);
    EXPECT_EQ(status(), "X: 5     Y: 5");
    // Outline from (371, 76) to (379, 84), filled white over the curve.
    EXPECT_TRUE(isGreen(at(371, 76)));
    EXPECT_TRUE(isGreen(at(378, 83)));
    EXPECT_TRUE(isGreen(at(371, 83)));
    EXPECT_EQ(at(375, 80), QColor(Qt::white));
    EXPECT_EQ(greenIn({0, 0, 500, 76}) + greenIn({0, 84, 500, 236}), 0);

    QTest::mouseMove(graph->Image1, {125, 10}); // the previous square is gone
    EXPECT_EQ(greenIn({365, 70, 20, 20}), 0);
    EXPECT_EQ(status(), "X: -5     Y: -5");
    release({125, 10});
    EXPECT_GT(greenIn(kWholePicture()), 0); // release in trace mode changes nothing

    press(graph->BitBtn3);
    EXPECT_EQ(greenIn(kWholePicture()), 0);
    EXPECT_EQ(status(), ""); // the reading was of the picture before
}

// However many moves came before, each shows a fresh picture and the last
// square or band only.
TEST_F(Mouse, ManyMovesLeaveTheLastDrawingOnly)
{
    plot("5*sin(x)");
    for (const bool zoom : {false, true}) {
        graph->Zoom->setChecked(zoom);
        press(graph->Button1);
        const QPoint from(20, 300);
        QPoint to = from;
        drag(from, from);
        for (int x = 40; x < 480; x += 23)
            QTest::mouseMove(graph->Image1, to = {x, 300 - x / 2});
        const auto afterMany = pictures();
        release(to);
        press(graph->Button1);
        drag(from, to);
        EXPECT_EQ(pictures(), afterMany) << "zoom " << zoom;
        release(to);
    }
}

TEST_F(Mouse, TraceWithoutAValue)
{
    plot("sqrt(x)");
    drag({100, 10}, {100, 10});
    EXPECT_EQ(status(), "X: -6     Y: ");
    EXPECT_EQ(greenIn(kWholePicture()), 0); // the square lies far off the picture
    EXPECT_EQ(messages(), "");
}

TEST_F(Mouse, ZoomBoxInEitherDirection)
{
    for (const bool backwards : {false, true}) {
        graph->Zoom->setChecked(true);
        press(graph->Button1);
        plot("x");
        const QPoint a(100, 50), b(200, 130);
        drag(backwards ? b : a, backwards ? a : b);
        EXPECT_EQ(status(), "X: 100     Y: 80");
        EXPECT_GT(greenIn({98, 48, 5, 85}), 0); // the band's left edge
        release(backwards ? a : b);
        EXPECT_EQ(graph->TamMaxX, 4);
        EXPECT_EQ(graph->TamMaxY, 5);
        EXPECT_EQ(graph->OriginX, 750);
        EXPECT_EQ(graph->OriginY, 440);
        EXPECT_EQ(field(graph->Edit1) + " " + field(graph->Edit2), "4 5");
        EXPECT_EQ(greenIn(kWholePicture()), 0);
    }
}

TEST_F(Mouse, OnlyALeftDragZooms)
{
    plot("x");
    graph->Zoom->setChecked(true);
    drag({100, 50}, {200, 130}); // leaves a far corner behind
    release({200, 130});
    press(graph->Button1);
    const QImage before = saved();
    QTest::mouseClick(graph->Image1, Qt::LeftButton, {}, {300, 200});
    drag({300, 200}, {301, 200}); // a hand that shakes by a pixel still clicks
    release({301, 200});
    QTest::mouseClick(graph->Image1, Qt::RightButton, {}, {310, 210});
    drag({310, 210}, {350, 250}, Qt::RightButton);
    release({350, 250}, Qt::RightButton);
    EXPECT_EQ(graph->CornerX, 300); // only a left press sets the corner
    EXPECT_EQ(graph->TamMaxX, 20);
    EXPECT_EQ(graph->TamMaxY, 20);
    EXPECT_EQ(graph->OriginX, 250);
    EXPECT_EQ(graph->YMax, 10);
    EXPECT_EQ(field(graph->Edit1) + " " + field(graph->Edit2), "20 20");
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(graph->Image1->picture().convertToFormat(before.format()), before);

    // A right click in the middle of a left drag neither ends it nor moves its corner.
    drag({100, 50}, {200, 130});
    QTest::mouseClick(graph->Image1, Qt::RightButton, {}, {300, 250});
    QTest::mouseMove(graph->Image1, {200, 130});
    release({200, 130});
    EXPECT_EQ(graph->TamMaxX, 4);
    EXPECT_EQ(graph->TamMaxY, 5);
}

TEST_F(Mouse, ZeroSizeBox)
{
    plot("x");
    graph->Zoom->setChecked(true);
    drag({100, 50}, {130, 70});
    QTest::mouseMove(graph->Image1, {100, 50});
    EXPECT_EQ(status(), "X: 0     Y: 0");
    release({100, 50});
    EXPECT_EQ(graph->TamMaxX, 0.0001);
    EXPECT_EQ(graph->TamMaxY, 0.0001);
    EXPECT_EQ(field(graph->Edit1) + " " + field(graph->Edit2), "0,0001 0,0001");
    EXPECT_EQ(messages(), "");
}

// The square and the band go over the picture this window drew last, never
// over "img.bmp", which another program may have replaced or removed.
TEST_F(Mouse, DrawsOverItsOwnPictureOnly)
{
    QImage stranger(500, 320, QImage::Format_RGB32);
    stranger.fill(Qt::red);
    ASSERT_TRUE(stranger.save("img.bmp", "BMP"));
    calculator->y->setText("oops");
    plot("x"); // fails before saving
    MessageLog::clear();
    calculator->y->setText("0");
    drag({375, 10}, {375, 10});
    EXPECT_EQ(status(), "X: 5     Y: 5");
    EXPECT_EQ(at(10, 10), QColor(Qt::white));
    graph->Zoom->setChecked(true);
    drag({100, 50}, {200, 130});
    EXPECT_EQ(status(), "X: 100     Y: 80");
    EXPECT_EQ(graph->DragX, 200);
    EXPECT_EQ(at(10, 10), QColor(Qt::white));
    release({200, 130});
    press(graph->Button1);

    graph->Trace->setChecked(true);
    for (const bool removed : {false, true}) {
        ASSERT_TRUE(removed ? QFile::remove("img.bmp") : stranger.save("img.bmp", "BMP"));
        drag({375, 10}, {375, 10});
        EXPECT_GT(greenIn(kWholePicture()), 0);
        EXPECT_EQ(at(10, 10), QColor(Qt::white));
        release({375, 10});
    }
    EXPECT_EQ(messages(), "");
}

// The keys on the plot put the square and the read-out where a mouse trace
// at the same column does, whatever the mouse's mode; each move is said.
TEST_F(Mouse, KeysOnThePlotTraceAsTheMouseDoes)
{
    plot("1/x");
    graph->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(graph.get()));
    const QImage drawn = graph->Image1->picture();
    const QImage file = saved();
    graph->Image1->setFocus(Qt::TabFocusReason);
    // A frame over the picture's edge on the screen, never in the picture.
    const QImage shown = graph->Image1->grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, 0), graph->Image1->palette().color(QPalette::Highlight));
    EXPECT_EQ(graph->Image1->picture(), drawn);
    EXPECT_EQ(saved(), file);

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int column;
        const char* said;
    } rows[] = {
        {Qt::Key_Right, Qt::NoModifier, 251, "x 0,04, y 25, above the view, after a gap"},
        {Qt::Key_Home, Qt::NoModifier, 0, "x -10, y -0,1"},
        {Qt::Key_Right, Qt::ShiftModifier, 10, "x -9,6, y -0,1042"},
        {Qt::Key_PageDown, Qt::NoModifier, 249, "x -0,04, y -25, below the view, before a gap"},
        {Qt::Key_Right, Qt::NoModifier, 250, "x 0, no value"},
        {Qt::Key_Right, Qt::ControlModifier, 251, "x 0,04, y 25, above the view, after a gap"},
        {Qt::Key_Right, Qt::ControlModifier, 251, "no more points to the right"},
        {Qt::Key_End, Qt::NoModifier, 499, "x 9,96, y 0,1004"},
        {Qt::Key_Left, Qt::NoModifier, 498, "x 9,92, y 0,1008"},
    };
    std::vector<std::vector<std::int16_t>> heard;
    graph->OnSound = [&](std::vector<std::int16_t> samples) {
        heard.push_back(std::move(samples));
    };
    const auto silent = [](const std::vector<std::int16_t>& samples) {
        return std::all_of(samples.begin(), samples.end(), [](std::int16_t s) { return s == 0; });
    };
    graph->Zoom->setChecked(true);
    for (const auto& row : rows) {
        QTest::qWait(SpeechPace::kQuiet); // each key a lone one, said at once
        heard.clear();
        QTest::keyClick(graph->Image1, row.key, row.modifiers);
        EXPECT_EQ(calculator->announcer->accessibleName().toStdString(), row.said);
        // A move sounds the point reached, a short tone; no value, silence.
        const bool moved = row.said[0] == 'x';
        ASSERT_EQ(heard.size(), moved ? 1u : 0u) << row.said;
        if (moved) {
            EXPECT_EQ(heard[0].size(), 2u * 3528) << row.said; // 80 ms
            EXPECT_EQ(silent(heard[0]), std::strstr(row.said, "no value") != nullptr) << row.said;
        }
        const std::string byKey = status();
        const auto keyPictures = pictures();
        graph->Trace->setChecked(true);
        drag({row.column, 300}, {row.column, 300});
        release({row.column, 300});
        graph->Zoom->setChecked(true);
        EXPECT_EQ(byKey, status()) << row.column;
        EXPECT_TRUE(keyPictures == pictures()) << row.column;
    }
    // "S" plays the view's curve for two seconds; any key stops it, "S" too.
    const std::size_t kSweep = std::size_t{2} * 2 * 44100; // two channels, two seconds
    for (Qt::Key stop : {Qt::Key_S, Qt::Key_A, Qt::Key_Left}) {
        heard.clear();
        QTest::keyClick(graph->Image1, Qt::Key_S);
        QTest::keyClick(graph->Image1, stop);
        ASSERT_GE(heard.size(), 2u);
        EXPECT_EQ(heard[0].size(), kSweep);
        EXPECT_FALSE(silent(heard[0]));
        EXPECT_TRUE(heard[1].empty()) << stop;
        EXPECT_EQ(heard.size(), stop == Qt::Key_Left ? 3u : 2u) << stop;
    }
    QTest::keyClick(graph->Image1, Qt::Key_A); // not the plot's: nothing moves
    EXPECT_EQ(graph->PointX, graph->worldX(497));
    QTest::keyClick(graph->Image1, Qt::Key_Escape);
    EXPECT_FALSE(graph->isVisible());
    EXPECT_EQ(messages(), "");
}

} // namespace
