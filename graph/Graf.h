#pragma once

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graph/Reading.h"
#include "platform/Form.h"
#include "platform/Image.h"
#include "platform/NumberField.h"
#include "platform/ScreenReader.h"
#include "platform/SpeechPace.h"

class Canvas;

// The graph window: plots the calculator's expression as a function of x,
// with pan, zoom, sampling step, pen width, trace and zoom box.
class TForm2 : public TForm {
    Q_DECLARE_TR_FUNCTIONS(TForm2)
public:
    TForm2();

    // Controls.
    TImage* Image1;
    QPushButton* BitBtn1; // pan up
    QPushButton* BitBtn2; // pan left
    QPushButton* BitBtn3; // pan right
    QPushButton* BitBtn4; // pan down
    QPushButton* BitBtn5; // zoom in
    QPushButton* BitBtn6; // zoom out
    QPushButton* BitBtn7; // finer sampling
    QPushButton* BitBtn8; // coarser sampling
    QFrame* Panel1;
    QRadioButton* Trace;
    QRadioButton* Zoom;
    QStatusBar* StatusBar1;
    NumberField* Edit1; // TAM_MAX_X
    NumberField* Edit2; // TAM_MAX_Y
    QLabel* Label1;
    QLabel* Label2;
    QLabel* StaticText1;
    QLabel* StaticText2;
    QPushButton* Button1; // Reset
    QCheckBox* CheckBox1;
    QCheckBox* Mode2;     // ticked: column sampling
    QSlider* TrackBar1;   // pen width - 1
    QPushButton* Button2; // ZoomFit

    // The view: world x = 0 lies on pixel column OriginX, world y = 0 on row OriginY.
    double OriginX;
    double OriginY;
    double ScaleX = 0; // pixels per world unit, set by every redraw
    double ScaleY = 0;
    double TamMaxX; // width and height of the world shown
    double TamMaxY;
    double YMax = 0; // extents of the sampled values, always around 0
    double YMin = 0;
    double Step = 1.0; // pixels (column sampling) or world units (interval sampling)
    double PointX = 0; // world x of the last sample or traced point
    double PointY = 0; // the value there
    // The zoom box: the pixel where the left button went down, and the far
    // corner as last dragged to.
    std::int32_t CornerX = 0;
    std::int32_t CornerY = 0;
    std::int32_t DragX = 0;
    std::int32_t DragY = 0;
    bool FitPending = false;

    // A range of 0 would divide by zero; it becomes this instead.
    static constexpr double kSmallestRange = 0.0001;

    // Evaluations made by the last redraw.
    int SampleCount = 0;

    // The two mappings between world and pixel coordinates (see farPixel).
    double pixelX(double worldX) const
    {
        return farPixel((OriginX / ScaleX + worldX) * ScaleX, OriginX, ScaleX, worldX);
    }
    double pixelY(double worldY) const
    {
        return farPixel((OriginY / ScaleY - worldY) * ScaleY, OriginY, -ScaleY, worldY);
    }
    // A finite world coordinate whose pixel overflowed (a huge value times the
    // scale, a quotient by a tiny scale) gets origin + world * scale instead,
    // at most as far as a double goes: a line to it then runs beyond the
    // picture's edge in its direction. An infinite or NaN value keeps its pixel.
    static double farPixel(double pixel, double origin, double scale, double world);
    double worldX(double column) const { return (column - OriginX) * TamMaxX / pictureWidth(); }
    double worldY(double row) const { return (OriginY - row) * TamMaxY / pictureHeight(); }
    int pictureWidth() const { return Image1->width(); }
    int pictureHeight() const { return Image1->height(); }

    void FormShow() override; // the redraw
    void FormClose() override;

    void BitBtn1Click() { pan(0, -kPan); }
    void BitBtn2Click() { pan(-kPan, 0); }
    void BitBtn3Click() { pan(kPan, 0); }
    void BitBtn4Click() { pan(0, kPan); }
    void BitBtn5Click() { zoomBy(1 / 1.2); }
    void BitBtn6Click() { zoomBy(1 / 0.9); }
    void BitBtn7Click();
    void BitBtn8Click();
    void Button1Click();
    void Button2Click();
    void Edit1Change() { rangeChanged(Edit1, TamMaxX); }
    void Edit2Change() { rangeChanged(Edit2, TamMaxY); }
    // The redraw reads the tick and the position itself.
    void Mode2Click() { FormShow(); }
    void TrackBar1Change() { FormShow(); }

    void Image1MouseDown(Qt::MouseButton button, int x, int y);
    void Image1MouseMove(Qt::MouseButtons buttons, int x, int y);
    void Image1MouseUp(Qt::MouseButton button, int x, int y);
    // Every key pressed while the plot has the keyboard; true when used (Keys.cpp).
    bool Image1KeyDown(const QKeyEvent& key);
    // Where the plot's sounds go: the desktop's sound server, unless a test
    // listens instead. No samples stop the sound playing.
    std::function<void(std::vector<std::int16_t>)> OnSound;

    // The curve's value at each of the picture's columns, as the trace takes
    // it there, NaN where it has none. Worked out when first asked for after
    // a redraw, so that a redraw costs nothing more.
    const std::vector<double>& columnValues();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    // The icons of the buttons, for the face colour of the theme in use.
    void paintGlyphs();
    // The step and pen width in the tooltips of the controls that change them.
    void describeSampling();
    // The plot in words, the function and the view, for a screen reader.
    void describePlot();
    void applyFit();
    void clearExtents();
    static constexpr double kPan = 5; // pixels
    void pan(double dx, double dy);
    void zoomBy(double factor);
    void rangeChanged(QLineEdit* field, double& range);
    void setRange(double& range, double value);
    void showRange(QLineEdit* field, double range);
    // The tooltip gives the range whole, which the field may be too narrow to show.
    void describeRange(QLineEdit* field, double range);
    void rangeDone(QLineEdit* field, double range);
    bool hasValue(double value) const;
    void savePicture();
    void sampleColumns(Canvas& canvas);
    void sampleIntervals(Canvas& canvas);
    void widenExtents(double value);
    bool restorePicture();
    std::string readout(double x, double y) const;
    bool movedFarFromCorner(int x, int y) const;
    void trace(int x);
    void dragBox(int x, int y);
    void zoomToBox();
    // The keyboard and a screen reader on the plot (Keys.cpp).
    void buildReading();
    QString plotDescription();
    QString pointWords(int column);
    // Said through the window's announcer, at a pace a screen reader can follow.
    void tell(const QString& text, bool repeated = false);
    void tellView();
    // Stops the curve's sound, if it plays; whether it did.
    bool stopSweep();

    // A left press is a click until the pointer has moved the desktop's drag
    // distance away from it; only then is it a drag that draws and zooms.
    enum class LeftPress { None, Click, Drag };
    LeftPress leftPress = LeftPress::None;
    bool firstShown = false;
    // The picture the last finished redraw drew, under the trace square and the
    // zoom box. The window keeps its own: "img.bmp" is there for other
    // programs, and another calculator in the same folder may replace it.
    TImage::Pictures plotted;
    QLineEdit* edited = nullptr;   // the range field whose text the person has just changed
    QLineEdit* typingIn = nullptr; // the range field whose typing is being handled
    // What failed in the redraw of the last key typed into a range field, until
    // the person is done with the field or another redraw runs.
    std::exception_ptr typingFailure;
    std::optional<int> tracedColumn; // of the last trace, by the mouse or a key
    struct Columns {
        bool ready = false;
        std::vector<double> xs;
        std::vector<double> values;
        std::vector<Reading::Kind> kinds;
    } columns;
    QTimer* settle = nullptr;
    std::unique_ptr<SpeechPace> pace;
    bool sweeping = false; // the curve playing as sound, until a key stops it
    // What the last save of this showing reported, while it fails.
    std::string saveFailure;
};

extern TForm2* Form2;
