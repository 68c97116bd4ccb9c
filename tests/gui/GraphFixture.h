#pragma once

#include <QImage>
#include <QStatusBar>

#include "WindowFixture.h"
#include "platform/Guard.h"

// The graph window shown on an expression, as "Grafico" shows it but without
// its modal loop, so the test can go on driving it.
class GraphTest : public WindowTest {
protected:
    void plot(const char* expression)
    {
        calculator->Edit1->setText(expression);
        calculator->graphExpression.setText(calculator->buffer);
        ASSERT_TRUE(calculator->graphExpression.validate()) << expression;
        if (graph->isVisible())
            Guard::run([this] { graph->FormShow(); });
        else
            graph->show();
    }

    void press(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }

    QColor at(int x, int y) const { return graph->Image1->picture().pixelColor(x, y); }
    static bool isBlue(QColor c) { return c == QColor(0, 0, 255); }
    static bool isGreen(QColor c) { return c == QColor(0, 128, 0); }

    // Pixels of a colour in a block of the picture.
    int count(bool (*is)(QColor), QRect block) const
    {
        int n = 0;
        for (int y = block.top(); y <= block.bottom(); ++y)
            for (int x = block.left(); x <= block.right(); ++x)
                n += is(at(x, y)) ? 1 : 0;
        return n;
    }
    int blueIn(QRect block) const { return count(isBlue, block); }

    static QRect kWholePicture() { return {0, 0, 500, 320}; }
    static QImage saved() { return QImage("img.bmp"); }
    std::string status() const { return graph->StatusBar1->currentMessage().toStdString(); }
    std::string field(const QLineEdit* edit) const { return edit->text().toStdString(); }
};
