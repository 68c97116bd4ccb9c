// Every picture the graph window saves, and the state each redraw leaves, for a
// table of expressions driven through one script of actions, compared with the
// record in data/pictures.digests. A change that should not alter the pictures
// (a faster redraw, a mended field) must leave every line as it is.
//
// To record anew after a deliberate change of the pictures:
//   CALC_RECORD_DIGESTS=1 window_tests --gtest_filter='PictureDigests.*'

#include <QCryptographicHash>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "GraphFixture.h"

namespace {

const char* const kExpressions[] = {
    "x",         "sin(x)*cos(x/2)+sqrt(x^2+1)-ln(x^2+2)",
    "1/x",       "sqrt(x)",
    "tan(x)",    "x^3-2*x",
    "ans*x+y-z", "ln(x)",
    "5",         "_2,5E1*sin(x/3)",
};

struct Action {
    const char* name;
    std::function<void(TForm2&)> run;
};

void redrawAt(TForm2& graph, double step)
{
    graph.Step = step;
    Guard::run([&graph] { graph.FormShow(); });
}

// One script for every expression: both samplings, several steps, pans, zooms,
// ZoomFit, a mirrored range, the wider pens and a zoom box.
const std::vector<Action>& script()
{
    static const std::vector<Action> actions = {
        {"show", [](TForm2&) {}},
        {"zoom-in", [](TForm2& g) { g.BitBtn5->click(); }},
        {"pan-right", [](TForm2& g) { g.BitBtn3->click(); }},
        {"pan-up", [](TForm2& g) { g.BitBtn1->click(); }},
        {"zoom-fit", [](TForm2& g) { g.Button2->click(); }},
        {"pen-3", [](TForm2& g) { g.TrackBar1->setValue(2); }},
        {"pen-2", [](TForm2& g) { g.TrackBar1->setValue(1); }},
        {"mirrored",
         [](TForm2& g) {
             g.TrackBar1->setValue(0);
             g.Edit1->setText("-20");
         }},
        {"step-0.05", [](TForm2& g) { redrawAt(g, 0.05); }},
        {"intervals", [](TForm2& g) { g.Mode2->click(); }},
        {"intervals-step-0.3", [](TForm2& g) { redrawAt(g, 0.3); }},
        {"reset", [](TForm2& g) { g.Button1->click(); }},
        {"zoom-out", [](TForm2& g) { g.BitBtn6->click(); }},
        {"columns", [](TForm2& g) { g.Mode2->click(); }},
        {"coarser", [](TForm2& g) { g.BitBtn8->click(); }},
        {"zoom-box",
         [](TForm2& g) {
             g.Zoom->setChecked(true);
             QTest::mousePress(g.Image1, Qt::LeftButton, {}, {180, 90});
             QTest::mouseMove(g.Image1, {330, 210});
             QTest::mouseRelease(g.Image1, Qt::LeftButton, {}, {330, 210});
             g.Trace->setChecked(true);
         }},
        {"pen-3-intervals",
         [](TForm2& g) {
             g.TrackBar1->setValue(2);
             g.Mode2->click();
         }},
        {"zero-height", [](TForm2& g) { g.Edit2->setText("0"); }},
    };
    return actions;
}

std::string digest(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)
        .toHex()
        .left(16)
        .toStdString();
}

std::string fileDigest()
{
    QFile file("img.bmp");
    return file.open(QIODevice::ReadOnly) ? digest(file.readAll()) : "none";
}

std::string screenDigest(const QImage& picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    for (int row = 0; row < rgb.height(); ++row)
        bytes.append(reinterpret_cast<const char*>(rgb.constScanLine(row)),
                     static_cast<qsizetype>(rgb.width()) * 3);
    return digest(bytes);
}

std::string exact(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

class PictureDigests : public GraphTest {
protected:
    std::string line(const char* expression, const Action& action) const
    {
        const TForm2& g = *graph;
        std::ostringstream out;
        out << expression << " | " << action.name << " | file " << fileDigest() << " screen "
            << screenDigest(g.Image1->picture()) << " | samples " << g.SampleCount << " | y "
            << exact(g.YMin) << " " << exact(g.YMax) << " | origin " << exact(g.OriginX) << " "
            << exact(g.OriginY) << " | range " << exact(g.TamMaxX) << " " << exact(g.TamMaxY)
            << " | fields " << field(g.Edit1) << " " << field(g.Edit2) << " | step "
            << exact(g.Step);
        return out.str();
    }
};

TEST_F(PictureDigests, EveryRedrawOfTheScriptAsRecorded)
{
    calculator->y->setText("2,5");
    calculator->z->setText("-1,5");
    calculator->Edit3->setText("3");
    std::vector<std::string> lines;
    for (const char* expression : kExpressions) {
        // Each expression starts from a new window, as at start-up.
        graph = std::make_unique<TForm2>();
        Form2 = graph.get();
        QFile::remove("img.bmp");
        plot(expression);
        for (const Action& action : script()) {
            action.run(*graph);
            lines.push_back(line(expression, action));
        }
        graph->close();
    }
    EXPECT_EQ(messages(), "");

    const std::string path = std::string(CALC_TEST_DATA_DIR) + "/pictures.digests";
    if (std::getenv("CALC_RECORD_DIGESTS")) {
        std::ofstream record(path);
        for (const std::string& l : lines)
            record << l << '\n';
        GTEST_SKIP() << "recorded " << lines.size() << " lines in " << path;
    }
    std::ifstream recorded(path);
    ASSERT_TRUE(recorded) << path;
    std::vector<std::string> expected;
    for (std::string l; std::getline(recorded, l);)
        expected.push_back(l);
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]);
}

} // namespace
