#include "graph/Graf.h"

#include <QKeySequence>
#include <QShortcut>
#include <algorithm>
#include <iterator>

#include "graph/Glyphs.h"
#include "platform/Controls.h"
#include "platform/Palette.h"
#include "platform/ScreenReader.h"

TForm2* Form2 = nullptr;

namespace {

constexpr int kPictureWidth = 500;
constexpr int kPictureHeight = 320;
constexpr double kStepChange = 0.1;
// The first view's range, as its fields show it. Not read back from them: the
// number conversions' first use costs a fifth of a megabyte at start.
constexpr double kFirstRange = 20;
constexpr const char* kFirstRangeText = "20";
// The finer-step button stops here, and a click that would go below lands
// here: a step at or below zero would never end a redraw.
constexpr double kFinestStep = 0.05;
constexpr double kResetStep = 0.5;
constexpr const char* kResetStepText = "0,5";

// A number in a text, as the fields write it. Not for texts made at start (see kFirstRangeText).
QString number(double value)
{
    return QString::fromStdString(FloatToStr(value));
}

template <typename Control>
Control* place(Control* control, const char* name, const QString& accessibleName, QRect at,
               const QString& toolTip = {})
{
    control->setObjectName(name);
    control->setAccessibleName(accessibleName);
    control->setGeometry(at);
    control->setToolTip(toolTip);
    return control;
}

QPushButton* glyphButton(QWidget* panel, const char* name, const QString& accessibleName, QRect at,
                         const QString& toolTip = {})
{
    auto* button = place(new QPushButton(panel), name, accessibleName, at, toolTip);
    button->setIconSize(QSize(at.width() - 8, at.height() - 8));
    return button;
}

} // namespace

TForm2::TForm2()
{
    buildControls();
    OriginX = pictureWidth() * 0.5;
    OriginY = pictureHeight() * 0.5;
    TamMaxX = kFirstRange;
    TamMaxY = kFirstRange;
    Step = 1.0;
}

void TForm2::buildControls()
{
    setObjectName("Form2");
    setWindowTitle("Grafic Mode");
    setFont(SansFont(11));
    // The strip, the picture below it and the status bar under both.
    setFixedSize(kPictureWidth + 2, 114 + kPictureHeight + 22);

    Panel1 = place(new QFrame(this), "Panel1", tr("controls"), {0, 0, 500, 113});
    Panel1->setFrameShape(QFrame::StyledPanel);
    setAccessibleRole(Panel1, QAccessible::Grouping);
    Image1 = place(new TImage(this, kPictureWidth, kPictureHeight), "Image1", tr("plot"),
                   {1, 114, kPictureWidth, kPictureHeight});
    setAccessibleRole(Image1, QAccessible::Graphic);
    // Unnamed, a status bar is read out as the message it shows.
    StatusBar1 = place(new QStatusBar(this), "StatusBar1", "",
                       {0, 114 + kPictureHeight, kPictureWidth + 2, 22});
    StatusBar1->setSizeGripEnabled(false);

    const int pan = static_cast<int>(kPan);
    BitBtn1 = glyphButton(Panel1, "BitBtn1", tr("pan up"), {40, 20, 30, 27},
                          tr("Move the picture up %1 pixels").arg(pan));
    BitBtn2 = glyphButton(Panel1, "BitBtn2", tr("pan left"), {8, 47, 30, 27},
                          tr("Move the picture left %1 pixels").arg(pan));
    BitBtn3 = glyphButton(Panel1, "BitBtn3", tr("pan right"), {72, 48, 30, 27},
                          tr("Move the picture right %1 pixels").arg(pan));
    BitBtn4 = glyphButton(Panel1, "BitBtn4", tr("pan down"), {39, 75, 30, 27},
                          tr("Move the picture down %1 pixels").arg(pan));
    BitBtn5 = glyphButton(Panel1, "BitBtn5", tr("zoom in"), {136, 48, 50, 27},
                          tr("Zoom in about the point (0, 0)"));
    BitBtn6 = glyphButton(Panel1, "BitBtn6", tr("zoom out"), {192, 48, 50, 27},
                          tr("Zoom out about the point (0, 0)"));
    BitBtn7 = glyphButton(Panel1, "BitBtn7", tr("finer sampling"), {136, 16, 50, 27});
    BitBtn8 = glyphButton(Panel1, "BitBtn8", tr("coarser sampling"), {192, 16, 50, 27});

    Trace = place(new QRadioButton("Trace", Panel1), "Trace", tr("trace mode"), {256, 16, 72, 20},
                  tr("Dragging over the picture puts a square on the curve and shows its value"));
    Zoom =
        place(new QRadioButton("ZoomBox", Panel1), "Zoom", tr("zoom box mode"), {256, 48, 80, 20},
              tr("Dragging over the picture draws a box; the view then zooms into it"));
    Trace->setChecked(true);
    Button2 = place(new QPushButton("ZoomFit", Panel1), "Button2", tr("fit vertical range"),
                    {336, 40, 72, 25},
                    tr("Fit the vertical range to the values sampled since the last zoom, y = 0 "
                       "included"));
    Button1 =
        place(new QPushButton("Reset", Panel1), "Button1", tr("reset view"), {416, 40, 72, 25},
              tr("Put (0, 0) in the middle, both ranges at %1 and the step at %2")
                  .arg(kFirstRangeText, kResetStepText));
    Mode2 = place(new QCheckBox("Mode2", Panel1), "Mode2", tr("column sampling"), {392, 8, 96, 20},
                  tr("Ticked: one sample every step pixels across the picture. Not ticked: one "
                     "segment every step units of x, from %1 to %2")
                      .arg(-kPictureWidth / 4)
                      .arg(kPictureWidth / 4));
    Mode2->setChecked(true);
    TrackBar1 =
        place(new QSlider(Qt::Horizontal, Panel1), "TrackBar1", tr("pen width"), {112, 80, 76, 26});
    TrackBar1->setRange(0, 2);
    TrackBar1->setPageStep(1);
    TrackBar1->setTickInterval(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    setAccessibleValueOffset(TrackBar1, 1); // read as the width, 1 to 3 pixels

    StaticText1 = place(new QLabel("TAM_MAX_X:", Panel1), "StaticText1", "", {192, 82, 70, 20});
    Edit1 = place(new NumberField(kFirstRangeText, Panel1), "Edit1", tr("horizontal range"),
                  {264, 80, 68, 22});
    StaticText2 = place(new QLabel("TAM_MAX_Y:", Panel1), "StaticText2", "", {344, 82, 70, 20});
    Edit2 = place(new NumberField(kFirstRangeText, Panel1), "Edit2", tr("vertical range"),
                  {416, 80, 76, 22});
    StaticText1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    StaticText2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labelField(StaticText1, Edit1);
    labelField(StaticText2, Edit2);
    // Tab goes in reading order: the top row left to right, then the next row.
    QWidget* const readingOrder[] = {BitBtn1, BitBtn7,   BitBtn8, Trace, Mode2,   BitBtn2,
                                     BitBtn3, BitBtn5,   BitBtn6, Zoom,  Button2, Button1,
                                     BitBtn4, TrackBar1, Edit1,   Edit2, Image1};
    for (std::size_t i = 1; i < std::size(readingOrder); ++i)
        setTabOrder(readingOrder[i - 1], readingOrder[i]);
    BitBtn1->setFocus(); // first, though the plot was made before the strip's controls

    // Present but never seen: hidden behind the strip.
    Label1 = place(new QLabel("Label1", this), "Label1", "", {8, 200, 40, 16});
    Label2 = place(new QLabel("Label2", this), "Label2", "", {8, 220, 40, 16});
    CheckBox1 = place(new QCheckBox("CheckBox1", this), "CheckBox1", "", {8, 240, 80, 16});
    for (QWidget* unseen : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                            static_cast<QWidget*>(CheckBox1)})
        unseen->hide();

    OnClick(BitBtn1, [this] { BitBtn1Click(); });
    OnClick(BitBtn2, [this] { BitBtn2Click(); });
    OnClick(BitBtn3, [this] { BitBtn3Click(); });
    OnClick(BitBtn4, [this] { BitBtn4Click(); });
    OnClick(BitBtn5, [this] { BitBtn5Click(); });
    OnClick(BitBtn6, [this] { BitBtn6Click(); });
    OnClick(BitBtn7, [this] { BitBtn7Click(); });
    OnClick(BitBtn8, [this] { BitBtn8Click(); });
    OnClick(Button1, [this] { Button1Click(); });
    OnClick(Button2, [this] { Button2Click(); });
    OnClick(Mode2, [this] { Mode2Click(); });
    OnChange(Edit1, [this] { Edit1Change(); });
    OnChange(Edit2, [this] { Edit2Change(); });
    // The person's edits are told before the change they make is handled.
    QObject::connect(Edit1, &QLineEdit::textEdited, this, [this] { edited = Edit1; });
    QObject::connect(Edit2, &QLineEdit::textEdited, this, [this] { edited = Edit2; });
    // Done with a field, it shows its range: "0" becomes "0,0001", "2," becomes
    // "2", and a text that never was a number gives way to the range in use.
    OnEditingDone(Edit1, [this] { rangeDone(Edit1, TamMaxX); });
    OnEditingDone(Edit2, [this] { rangeDone(Edit2, TamMaxY); });
    QObject::connect(TrackBar1, &QSlider::valueChanged, this,
                     [this] { Guard::run([this] { TrackBar1Change(); }); });
    Image1->OnMouseDown = [this](Qt::MouseButton b, int x, int y) { Image1MouseDown(b, x, y); };
    Image1->OnMouseMove = [this](Qt::MouseButtons b, int x, int y) { Image1MouseMove(b, x, y); };
    Image1->OnMouseUp = [this](Qt::MouseButton b, int x, int y) { Image1MouseUp(b, x, y); };
    // Moved to a screen of another resolution: drawn again at that one.
    Image1->OnRatioChange = [this] {
        if (isVisible())
            FormShow();
    };

    buildReading();

    // Escape closes the graph window, as it does any dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    QObject::connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void TForm2::showEvent(QShowEvent* event)
{
    // The icons and the ranges' tooltips are made when first seen: most runs
    // never open this window. The redraw tells the step in its tooltips.
    if (!firstShown) {
        firstShown = true;
        // A button is told of a new palette once it has it; its parent, before.
        followPalette(BitBtn1, [this] { paintGlyphs(); });
        describeRange(Edit1, TamMaxX);
        describeRange(Edit2, TamMaxY);
    }
    TForm::showEvent(event);
}

void TForm2::paintGlyphs()
{
    using Glyphs::Direction;
    const QColor face = buttonFace(BitBtn1);
    BitBtn1->setIcon(Glyphs::arrow(Direction::Up, face));
    BitBtn2->setIcon(Glyphs::arrow(Direction::Left, face));
    BitBtn3->setIcon(Glyphs::arrow(Direction::Right, face));
    BitBtn4->setIcon(Glyphs::arrow(Direction::Down, face));
    BitBtn5->setIcon(Glyphs::magnifier(true, face));
    BitBtn6->setIcon(Glyphs::magnifier(false, face));
    BitBtn7->setIcon(Glyphs::slantedTriangle(true, face));
    BitBtn8->setIcon(Glyphs::slantedTriangle(false, face));
}

void TForm2::describeSampling()
{
    const QString shown = number(Step);
    const bool one = shown == "1";
    const QString step =
        (Mode2->isChecked()
             ? (one ? tr("the step is %1 pixel") : tr("the step is %1 pixels"))
             : (one ? tr("the step is %1 unit of x") : tr("the step is %1 units of x")))
            .arg(shown);
    const QString change = number(kStepChange);
    BitBtn7->setToolTip(tr("Finer sampling: %1; each click takes %2 off, down to %3")
                            .arg(step, change, number(kFinestStep)));
    BitBtn8->setToolTip(tr("Coarser sampling: %1; each click adds %2").arg(step, change));
    const int width = TrackBar1->value() + 1;
    TrackBar1->setToolTip((width > 1 ? tr("Pen width of the curve: %1 pixels")
                                     : tr("Pen width of the curve: %1 pixel"))
                              .arg(width));
}

void TForm2::clearExtents()
{
    YMax = 0;
    YMin = 0;
}

void TForm2::pan(double dx, double dy)
{
    OriginX += dx;
    OriginY += dy;
    FormShow();
    tellView();
}

void TForm2::zoomBy(double factor)
{
    // About world (0, 0): the origin stays where it is.
    TamMaxX *= factor;
    TamMaxY *= factor;
    clearExtents();
    FormShow();
    tellView();
}

void TForm2::BitBtn7Click()
{
    Step = std::max(Step - kStepChange, kFinestStep);
    FormShow();
    tell(Reading::Words::step(Step));
}

void TForm2::BitBtn8Click()
{
    Step += kStepChange;
    FormShow();
    tell(Reading::Words::step(Step));
}

void TForm2::Button1Click()
{
    OriginX = pictureWidth() * 0.5;
    OriginY = pictureHeight() * 0.5;
    TamMaxX = kFirstRange;
    TamMaxY = kFirstRange;
    Step = kResetStep;
    clearExtents();
    FormShow();
    tellView();
}

void TForm2::Button2Click()
{
    FitPending = true;
    FormShow();
    tellView();
}

void TForm2::FormClose()
{
    stopSweep();
    clearExtents();
    saveFailure.clear();
}
