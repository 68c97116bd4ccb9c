#include "platform/Palette.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <utility>

namespace {

// An sRGB channel's linear light, value / 255 decoded: c / 12.92 up to 0.04045,
// ((c + 0.055) / 1.055)^2.4 above, as glibc's pow gives it. A table, as the
// first pow of a run maps a fifth of a megabyte of libm's tables.
// clang-format off
const double kLinear[256] = {
    0, 0.00030352698354883752, 0.00060705396709767503, 0.00091058095064651249,
    0.0012141079341953501, 0.0015176349177441874, 0.001821161901293025, 0.0021246888848418626,
    0.0024282158683907001, 0.0027317428519395373, 0.0030352698354883748, 0.0033465357638991608,
    0.0036765073240474359, 0.0040247170184963066, 0.0043914420374102934, 0.0047769534806937292,
    0.005181516702338386, 0.0056053916242027229, 0.0060488330228570539, 0.0065120907925944752,
    0.0069954101872653869, 0.0074990320432261753, 0.0080231929853849943, 0.0085681256180693069,
    0.0091340587022207872, 0.0097212173202378491, 0.010329823029626936, 0.010960094006488246,
    0.011612245179743885, 0.012286488356915872, 0.012983032342173012, 0.013702083047289686,
    0.014443843596092545, 0.015208514422912709, 0.015996293365509631, 0.016807375752887384,
    0.017641954488384078, 0.018500220128379697, 0.019382360956935723, 0.020288563056652401,
    0.021219010376003555, 0.022173884793387381, 0.02315336617811041, 0.024157632448504756,
    0.02518685962736163, 0.026241221894849898, 0.027320891639074894, 0.028426039504420793,
    0.0295568344378088, 0.030713443732993635, 0.031896033073011532, 0.033104766570885055,
    0.03433980680868217, 0.035601314875020343, 0.036889450401100039, 0.038204371595346502,
    0.039546235276732837, 0.040915196906853191, 0.042311410620809675, 0.043735029256973465,
    0.045186204385675541, 0.046665086336880095, 0.048171824226889419, 0.049706565984127232,
    0.051269458374043238, 0.052860647023180246, 0.054480276442442369, 0.056128490049600091,
    0.057805430191067229, 0.059511238162981199, 0.061246054231617608, 0.063010017653167674,
    0.064803266692905773, 0.066625938643772892, 0.068478169844400166, 0.070360095696595876,
    0.072271850682317479, 0.074213568380149628, 0.076185381481307851, 0.078187421805186327,
    0.080219820314468324, 0.082282707129814794, 0.084376211544148816, 0.086500462036549763,
    0.088655586285772942, 0.090841711183407683, 0.093058962846687451, 0.095307466630964705,
    0.097587347141862457, 0.099898728247113891, 0.10224173308810132, 0.10461648409110419,
    0.10702310297826761, 0.10946171077829933, 0.1119324278369056, 0.11443537382697373,
    0.11697066775851084, 0.11953842798834562, 0.12213877222960187, 0.12477181756095049,
    0.12743768043564743, 0.13013647669036429, 0.13286832155381798, 0.13563332965520566,
    0.13843161503245183, 0.14126329114027164, 0.14412847085805777, 0.14702726649759498,
    0.14995978981060856, 0.15292615199615017, 0.1559264637078274, 0.15896083506088041,
    0.16202937563911099, 0.16513219450166761, 0.16826940018969075, 0.17144110073282259,
    0.17464740365558504, 0.17788841598362912, 0.18116424424986022, 0.184474994500441,
    0.18782077230067787, 0.19120168274079138, 0.1946178304415758, 0.19806931955994886,
    0.20155625379439707, 0.20507873639031693, 0.20863687014525575, 0.21223075741405523,
    0.21586050011389926, 0.21952619972926921, 0.2232279573168085, 0.22696587351009836,
    0.23074004852434915, 0.23455058216100522, 0.238397573812271, 0.24228112246555486,
    0.24620132670783548, 0.25015828472995344, 0.25415209433082675, 0.25818285292159582,
    0.26225065752969623, 0.26635560480286247, 0.27049779101306581, 0.27467731206038465,
    0.2788942634768104, 0.28314874042999211, 0.28744083772691748, 0.29177064981753587,
    0.29613827079832111, 0.3005437944157765, 0.30498731406988627, 0.30946892281750854,
    0.31398871337571754, 0.31854677812509186, 0.32314320911295075, 0.32777809805654218,
    0.33245153634617935, 0.33716361504833037, 0.34191442490866092, 0.3467040563550296,
    0.35153259950043936, 0.35640014414594351, 0.3613067797835095, 0.36625259559883949,
    0.37123768047414912, 0.3762621229909065, 0.38132601143253014, 0.38642943378704903,
    0.39157247774972326, 0.39675523072562685, 0.40197777983219579, 0.4072402119017367,
    0.41254261348390375, 0.41788507084813747, 0.42326766998607168, 0.42869049661390662,
    0.43415363617474895, 0.43965717384091879, 0.44520119451622786, 0.45078578283822346,
    0.45641102318040466, 0.46207699965440707, 0.46778379611215898, 0.47353149614800955,
    0.4793201831008268, 0.48514994005607037, 0.49102084984783562, 0.49693299506087041,
    0.50288645803256871, 0.50888132085493376, 0.51491766537652139, 0.5209955732043543,
    0.52711512570581309, 0.53327640401050524, 0.53947948901210718, 0.5457244613701866,
    0.55201140151200012, 0.55834038963426791, 0.56471150570492923, 0.57112482946487308,
    0.57758044042965062, 0.5840784178911641, 0.59061884091933692, 0.59720178836376336,
    0.60382733885533779, 0.61049557080786476, 0.61720656241965111, 0.62396039167507611,
    0.63075713634614683, 0.63759687399403264, 0.64447968197058214, 0.65140563741982416,
    0.65837481727944847, 0.66538729828227205, 0.67244315695768753, 0.67954246963309384,
    0.6866853124353135, 0.69387176129198991, 0.70110189193297312, 0.70837577989168676,
    0.71569350050648073, 0.72305512892196933, 0.73046074009035367, 0.73791040877273084,
    0.74540420954038744, 0.75294221677607787, 0.76052450467529242, 0.76815114724750699,
    0.7758222183174236, 0.78353779152619352, 0.79129794033263023, 0.79910273801440901,
    0.8069522576692516, 0.81484657221610124, 0.82278575439628354, 0.83076987677465464,
    0.83879901174074001, 0.84687323150985805, 0.85499260812423383, 0.86315721345410235,
    0.87136711919879717, 0.87962239688783173, 0.88792311788196632, 0.89626935337426639,
    0.90466117439114957, 0.9130986517934192, 0.92158185627729461, 0.93011085837542373,
    0.938685728457888, 0.94730653673319987, 0.95597335324928612, 0.96468624789446511,
    0.97344529039841254, 0.98225055033311715, 0.99110209711382979, 1
};
// clang-format on

double channel(int value)
{
    return kLinear[value];
}

double luminance(QColor c)
{
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

class PaletteWatcher : public QObject {
public:
    PaletteWatcher(QWidget* widget, std::function<void()> update)
        : QObject(widget), update(std::move(update))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
            update();
        return false;
    }

private:
    std::function<void()> update;
};

} // namespace

double contrastRatio(QColor a, QColor b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(QColor color, QColor face, double ratio)
{
    // Toward black where black stands out more from the face (a light or a
    // mid-grey one), toward white otherwise: only that way can reach the ratio.
    const bool darker = contrastRatio(Qt::black, face) > contrastRatio(Qt::white, face);
    if (darker && contrastRatio(color, face) >= ratio)
        return color; // the faces it was made for
    // A thin glyph's smoothed pixels never show its full colour: aimed a tenth
    // higher, its strongest pixels still reach the ratio. Where even black or
    // white falls short of the aim, that end it is.
    const double aim = ratio * 1.1;
    QColor moved = color;
    for (int lightness = color.lightness(); lightness >= 0 && lightness <= 255;
         lightness += darker ? -1 : 1) {
        moved = QColor::fromHsl(color.hslHue(), color.hslSaturation(), lightness);
        if (contrastRatio(moved, face) >= aim)
            break;
    }
    return moved;
}

QColor buttonFace(const QPushButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = QRect(QPoint(0, 0), button->size());
    // Inside the contents' bounds, the outline's width again: a bevel's light
    // edge. Its rounded corners, which no text reaches, are left out with the
    // outer quarters of the width, and of the rows, those the contents go on,
    // centred as the style centres them: the line of text, or the icon where
    // that is taller.
    const int edge = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button);
    QRect inside = button->style()
                       ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
                       .adjusted(edge, edge, -edge, -edge);
    const int line = std::max(button->fontMetrics().height(), button->iconSize().height());
    inside &= QRect(inside.left(), inside.center().y() - line / 2, inside.width(), line);
    const qreal ratio = button->devicePixelRatioF();
    QRect pixels = QRectF(inside.topLeft() * ratio, inside.size() * ratio).toAlignedRect();
    pixels.adjust(pixels.width() / 4, 0, -pixels.width() / 4, 0);
    QColor nearest = button->palette().color(QPalette::Button);
    double least = 22;
    // The face of an active window and that of one in the background, which
    // some themes paint in another shade: the text is read on both.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        option.palette.setCurrentColorGroup(group);
        QImage face(option.rect.size() * ratio, QImage::Format_ARGB32);
        face.setDevicePixelRatio(ratio);
        face.fill(Qt::transparent);
        QPainter painter(&face);
        button->style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, button);
        painter.end();
        QRgb last = 0; // transparent, never a shade; a gradient repeats a shade along its rows
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                const QRgb pixel = face.pixel(x, y);
                if (pixel == last || qAlpha(pixel) != 255)
                    continue;
                last = pixel;
                const QColor shade(pixel);
                const double contrast =
                    std::max(contrastRatio(shade, Qt::white), contrastRatio(shade, Qt::black));
                if (contrast < least) {
                    least = contrast;
                    nearest = shade;
                }
            }
        }
    }
    return nearest;
}

void followPalette(QWidget* widget, std::function<void()> update)
{
    update();
    new PaletteWatcher(widget, std::move(update));
}
