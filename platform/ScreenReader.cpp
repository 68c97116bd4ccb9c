#include "platform/ScreenReader.h"

#include <QAbstractSlider>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QVariant>

#include "platform/FieldText.h"

namespace {

// The marks that ask for an interface of this program's own, and the one set
// once it has been made.
const char* const kRole = "calculatorAccessibleRole";
const char* const kWholeText = "calculatorWholeText";
const char* const kValueOffset = "calculatorValueOffset";
const char* const kOwnInterface = "calculatorOwnInterface";

// A description worked out when a screen reader asks for it.
class Describer : public QObject {
public:
    using QObject::QObject;
    std::function<QString()> describe;
};

QAccessible::Role roleOf(const QObject* object)
{
    return static_cast<QAccessible::Role>(object->property(kRole).toInt());
}

// The role is read when asked for, so a window made a dialog after its
// interface was first asked for is told as one.
class RoleInterface : public QAccessibleWidget {
public:
    explicit RoleInterface(QWidget* widget) : QAccessibleWidget(widget) {}

    QAccessible::Role role() const override { return roleOf(object()); }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Description)
            for (QObject* child : object()->children())
                if (auto* describer = dynamic_cast<Describer*>(child))
                    return describer->describe();
        return QAccessibleWidget::text(kind);
    }

    int childCount() const override { return static_cast<int>(shownChildren().size()); }

    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> children = shownChildren();
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const QList<QWidget*> children = shownChildren();
        return child ? static_cast<int>(children.indexOf(qobject_cast<QWidget*>(child->object())))
                     : -1;
    }

private:
    // As QAccessibleWidget's children, less those hidden on purpose.
    QList<QWidget*> shownChildren() const
    {
        QList<QWidget*> shown;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child && !child->isWindow() && !child->isHidden())
                shown.append(child);
        }
        return shown;
    }
};

// A slider read out as its position plus a number.
class OffsetSlider : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit OffsetSlider(QAbstractSlider* slider) : QAccessibleWidget(slider, QAccessible::Slider)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return slider()->value() + offset(); }
    void setCurrentValue(const QVariant& value) override
    {
        slider()->setValue(value.toInt() - offset());
    }
    QVariant maximumValue() const override { return slider()->maximum() + offset(); }
    QVariant minimumValue() const override { return slider()->minimum() + offset(); }
    QVariant minimumStepSize() const override { return slider()->singleStep(); }

private:
    QAbstractSlider* slider() const { return static_cast<QAbstractSlider*>(widget()); }
    int offset() const { return slider()->property(kValueOffset).toInt(); }
};

QAccessibleInterface* madeFor(QWidget* widget)
{
    if (widget->property(kRole).isValid())
        return new RoleInterface(widget);
    auto* field = qobject_cast<QLineEdit*>(widget);
    if (field && field->property(kWholeText).isValid())
        return newFieldText(field);
    auto* slider = qobject_cast<QAbstractSlider*>(widget);
    if (slider && slider->property(kValueOffset).isValid())
        return new OffsetSlider(slider);
    return nullptr;
}

QAccessibleInterface* ownFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    QAccessibleInterface* made = widget ? madeFor(widget) : nullptr;
    if (made)
        widget->setProperty(kOwnInterface, true);
    return made;
}

// Marks a widget for an interface of its own. Setting a name, a place or a
// tooltip may have made the class's own interface already; the next to be
// asked for is this one.
void mark(QWidget* widget, const char* property, const QVariant& value)
{
    static const bool installed = [] {
        QAccessible::installFactory(ownFactory);
        return true;
    }();
    (void)installed;
    widget->setProperty(property, value);
    QAccessibleInterface* existing = QAccessible::queryAccessibleInterface(widget);
    if (existing && !widget->property(kOwnInterface).toBool())
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
}

} // namespace

void setAccessibleRole(QWidget* widget, QAccessible::Role role)
{
    mark(widget, kRole, static_cast<int>(role));
}

void readWhole(QLineEdit* field)
{
    mark(field, kWholeText, true);
}

void setAccessibleValueOffset(QAbstractSlider* slider, int offset)
{
    mark(slider, kValueOffset, offset);
}

void describeWhenAsked(QWidget* widget, std::function<QString()> describe)
{
    auto* describer = new Describer(widget);
    describer->describe = std::move(describe);
}

void labelField(QLabel* label, QWidget* field)
{
    label->setBuddy(field);
    label->setAccessibleName(field->accessibleName());
}

namespace {

// Orca speaks a notification with its role word ("notification 14") unless it
// lies in a status bar: then the text alone ("14"). One pixel, painting nothing.
QWidget* statusBarIn(QWidget* parent)
{
    auto* bar = new QWidget(parent);
    bar->setObjectName("AnnouncerBar");
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setAttribute(Qt::WA_TransparentForMouseEvents);
    bar->setGeometry(0, 0, 1, 1);
    setAccessibleRole(bar, QAccessible::StatusBar);
    return bar;
}

} // namespace

Announcer::Announcer(QWidget* parent) : QWidget(statusBarIn(parent))
{
    setObjectName("Announcer");
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1); // paints nothing
    setAccessibleRole(this, QAccessible::Notification);
    hide();
}

void Announcer::say(const QString& text)
{
    hide();
    setAccessibleName(text);
    show();
}
