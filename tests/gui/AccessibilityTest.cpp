#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QStatusBar>
#include <map>
#include <set>

#include "WindowFixture.h"
#include "platform/Translations.h"

namespace {

using Accessibility = WindowTest;

QAccessibleInterface* face(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

// What a screen reader announces for a control.
QString spokenName(QWidget* widget)
{
    return face(widget) ? face(widget)->text(QAccessible::Name) : QString();
}

// Every visible button and field of a window, and any extra controls.
QList<QWidget*> controlsOf(QWidget* window)
{
    QList<QWidget*> controls;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (!b->isHidden())
            controls.append(b);
    for (QLineEdit* f : window->findChildren<QLineEdit*>())
        controls.append(f);
    return controls;
}

// Plain words only, each name once: a caption such as "--" or "<--" must not be what is read out.
void expectOwnSpeakableNames(const QList<QWidget*>& controls)
{
    const QRegularExpression words("^[a-z]+( [a-z]+)*$");
    std::map<QString, QString> owner;
    for (QWidget* control : controls) {
        const QString name = spokenName(control);
        const std::string id = control->objectName().toStdString();
        EXPECT_TRUE(words.match(name).hasMatch())
            << id << " is read as '" << name.toStdString() << "'";
        const auto [it, fresh] = owner.emplace(name, control->objectName());
        EXPECT_TRUE(fresh) << id << " and " << it->second.toStdString() << " are both read as '"
                           << name.toStdString() << "'";
    }
}

TEST_F(Accessibility, EveryButtonAndFieldHasItsOwnSpeakableName)
{
    const QList<QWidget*> controls = controlsOf(calculator.get());
    EXPECT_EQ(controls.size(), 36 + 6);
    expectOwnSpeakableNames(controls);
}

TEST_F(Accessibility, NamesSayWhatTheControlsDo)
{
    struct Case {
        int button;
        const char* name;
    };
    for (const Case& c : {Case{1, "seven"},
                          {10, "zero"},
                          {11, "negative sign"},
                          {12, "decimal comma"},
                          {15, "subtract"},
                          {18, "square root"},
                          {21, "equals"},
                          {25, "clear"},
                          {28, "erase"},
                          {29, "graph"},
                          {31, "exponent mark"},
                          {32, "constant e"},
                          {35, "natural logarithm"},
                          {36, "previous answer"}})
        EXPECT_EQ(spokenName(calculator->button(c.button)), c.name) << "Button" << c.button;

    EXPECT_EQ(spokenName(calculator->Edit1), "expression");
    EXPECT_EQ(spokenName(calculator->Edit2), "postfix notation");
    EXPECT_EQ(spokenName(calculator->Edit3), "result");
    EXPECT_EQ(spokenName(calculator->x), "value of x");
    EXPECT_EQ(spokenName(calculator->z), "value of z");
    EXPECT_EQ(face(calculator->Edit3)->relations(QAccessible::Label).value(0).first,
              face(calculator->Label3));

    // A result is spoken without a role word: its notification lies in a status bar.
    calculator->show();
    type("2(3+4)\r");
    QAccessibleInterface* result = face(calculator->announcer);
    EXPECT_EQ(result->text(QAccessible::Name), "14");
    EXPECT_EQ(result->role(), QAccessible::Notification);
    EXPECT_EQ(result->parent()->role(), QAccessible::StatusBar);
    // A field is one run of text, whole, so that Orca speaks every character;
    // the word at its very end is the last word (Qt's own search never ended).
    QAccessibleTextInterface* postfix = face(calculator->Edit2)->textInterface();
    ASSERT_EQ(text(calculator->Edit2), "2 3 4 + *");
    int start = -1;
    int end = -1;
    postfix->attributes(2, &start, &end);
    EXPECT_EQ(start * 10 + end, 9);
    EXPECT_TRUE(postfix->textAtOffset(9, QAccessible::WordBoundary, &start, &end).endsWith("*"));
    // What a screen reader writes goes in as typed, never into a read-only field.
    face(calculator->Edit1)->editableTextInterface()->insertText(6, "*2");
    face(calculator->Edit2)->editableTextInterface()->deleteText(0, 9);
    EXPECT_EQ(calculator->buffer + "|" + text(calculator->Edit2), "2(3+4)*2|2 3 4 + *");
}

TEST_F(Accessibility, GraphWindowControlsAreNamedToo)
{
    QList<QWidget*> controls = controlsOf(graph.get());
    EXPECT_EQ(controls.size(), 8 + 2 + 2 + 1 + 2); // glyph buttons, radios, buttons, Mode2, ranges
    controls << graph->TrackBar1 << graph->Image1;
    expectOwnSpeakableNames(controls);
    EXPECT_EQ(spokenName(graph->BitBtn5), "zoom in");
    EXPECT_EQ(spokenName(graph->BitBtn1), "pan up");
    EXPECT_EQ(spokenName(graph->Edit2), "vertical range");
    EXPECT_EQ(spokenName(graph->Image1), "plot");
    // Every control says what it does in its tooltip, the triangles and the
    // slider also where they stand.
    graph->show();
    for (QWidget* control : controls)
        EXPECT_TRUE(control == graph->Image1 || !control->toolTip().isEmpty())
            << control->objectName().toStdString();
    EXPECT_TRUE(graph->BitBtn7->toolTip().contains("step is 1 pixel;"));
    EXPECT_FALSE(graph->Button1->toolTip().contains("first")); // Reset's step is 0,5
    EXPECT_TRUE(graph->TrackBar1->toolTip().endsWith("1 pixel"));
    graph->Step = 0.3;
    graph->TrackBar1->setValue(1);
    EXPECT_TRUE(graph->BitBtn7->toolTip().contains("step is 0,3 pixels"));
    EXPECT_TRUE(graph->TrackBar1->toolTip().endsWith("2 pixels"));

    // Beyond the names (Orca's run in tests/smoke hears the rest): a label,
    // the hidden widgets left out, words for the plot and the read-out.
    EXPECT_EQ(face(graph->Edit2)->relations(QAccessible::Label).value(0).first,
              face(graph->StaticText2));
    QStringList children;
    for (int i = 0; i < face(graph.get())->childCount(); ++i)
        children << face(graph.get())->child(i)->object()->objectName();
    EXPECT_EQ(children.join(' '), "Panel1 Image1 StatusBar1");
    calculator->graphExpression.setText("sin( x )*x");
    graph->TamMaxY = 10;
    graph->FormShow();
    EXPECT_EQ(
        face(graph->Image1)->text(QAccessible::Description),
        "Graph of sin(x)*x, x from -10 to 10, y from -5 to 5; crosses zero 6 times; highest "
        "4,88 at x -8,84; lowest -4,814 at x -4,92; goes above the view; goes below the view");
    EXPECT_TRUE(face(graph->Image1)->state().focusable);
    // The pen width is read in pixels, its positions staying 0 to 2.
    QAccessibleValueInterface* width = face(graph->TrackBar1)->valueInterface();
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->currentValue().toInt(), 2);
    EXPECT_EQ(width->minimumValue().toInt() * 10 + width->maximumValue().toInt(), 13);
    graph->StatusBar1->showMessage("X: 1     Y: 2");
    EXPECT_EQ(spokenName(graph->StatusBar1), "X: 1     Y: 2");
}

// Made afresh in a language: the program's own texts of both windows (names,
// descriptions, tooltips), those that are the same in every language
// (captions, results, messages, the read-out), and Qt's field menu.
struct Texts {
    std::map<std::string, std::string> own, fixed;
    std::string menu;
};

TEST_F(Accessibility, OwnTextsInTheDesktopsLanguageFixedOnesInEvery)
{
    const auto textsIn = [this](const char* language) {
        installTranslations(QLocale(language));
        graph.reset();
        calculator = std::make_unique<TForm1>();
        graph = std::make_unique<TForm2>();
        Form1 = calculator.get();
        Form2 = graph.get();
        MessageLog::clear();
        type("1/4");
        click(21);
        calculator->x->setText("1.5");
        click(21);
        calculator->x->setText("0");
        click(25);
        type("sin(x)+");
        click(21);
        click(28);
        calculator->graphExpression.setText(calculator->buffer); // as Grafico does
        graph->show();
        graph->Image1MouseMove(Qt::NoButton, 150, 60);
        Texts t;
        t.fixed["messages"] = messages();
        t.fixed["status"] = graph->StatusBar1->currentMessage().toStdString();
        for (QWidget* window :
             {static_cast<QWidget*>(calculator.get()), static_cast<QWidget*>(graph.get())}) {
            const std::string form = window->objectName().toStdString();
            t.fixed[form] = window->windowTitle().toStdString();
            for (QWidget* w : window->findChildren<QWidget*>(QRegularExpression("^(?!qt_)."))) {
                const std::string id = form + "." + w->objectName().toStdString();
                t.fixed[id] = w->property("text").toString().toStdString(); // caption, field
                // What the announcer says is a result.
                auto& own = w->objectName() == "Announcer" ? t.fixed : t.own;
                own[id + " name"] = w->accessibleName().toStdString();
                own[id + " description"] = w->accessibleDescription().toStdString();
                own[id + " tooltip"] = w->toolTip().toStdString();
            }
        }
        QContextMenuEvent click(QContextMenuEvent::Keyboard, {5, 5}, {5, 5});
        QCoreApplication::sendEvent(calculator->Edit1, &click);
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions()) {
                const QString entry = action->text().section('\t', 0, 0);
                const bool copyOn = entry == QLineEdit::tr("&Copy") && action->isEnabled();
                t.menu += entry.toStdString() + (copyOn ? " (on)|" : "|");
            }
            menu->close();
        }
        return t;
    };
    const Texts c = textsIn("C");
    const Texts english = textsIn("en_US");
    const Texts portuguese = textsIn("pt_BR");
    installTranslations(); // the system's again: English in the test run
    EXPECT_EQ(english.own, c.own);
    for (const Texts* other : {&english, &portuguese})
        for (const auto& [key, text] : c.fixed)
            EXPECT_EQ(other->fixed.at(key), text) << key;
    EXPECT_EQ(c.fixed.at("messages"), "error: '1.5' is not a valid floating point value\n"
                                      "A Expressão não é Valida\n");
    EXPECT_EQ(c.own.at("Form2.BitBtn1 tooltip"), "Move the picture up 5 pixels");
    EXPECT_EQ(portuguese.own.at("Form2.Image1 description"),
              "Gráfico de sin(x), x de -10 a 10, y de -10 a 10");
    EXPECT_EQ(portuguese.own.at("Form2.BitBtn7 tooltip"),
              "Amostragem mais fina: o passo é de 1 pixel; cada clique tira 0,1, até o mínimo "
              "de 0,05");
    // Every other text is Portuguese, but for names that are the same words there.
    const std::set<std::string> same = {"", "zero", "pi"};
    ASSERT_EQ(portuguese.own.size(), c.own.size());
    for (const auto& [key, text] : c.own)
        EXPECT_TRUE(portuguese.own.at(key) != text || same.count(text)) << key << ": " << text;
    // Qt's own menu in the language too, its entries still doing what their keys do:
    // Copy with nothing selected copies the result.
    EXPECT_EQ(c.menu, "&Undo|&Redo||Cu&t|&Copy (on)|&Paste|Delete||Select All|");
    EXPECT_EQ(portuguese.menu, "&Desfazer|&Refazer||Recor&tar|&Copiar (on)|C&olar|Excluir||"
                               "Selecionar tudo|");
}

} // namespace
