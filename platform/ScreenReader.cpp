#include "platform/ScreenReader.h"

#include <QAccessibleWidget>
#include <QVariant>

namespace {

const char* const kRole = "calculatorAccessibleRole";

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

QAccessibleInterface* roleFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->property(kRole).isValid())
        return nullptr;
    return new RoleInterface(widget);
}

} // namespace

void setAccessibleRole(QWidget* widget, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(roleFactory);
        return true;
    }();
    (void)installed;
    widget->setProperty(kRole, static_cast<int>(role));
    // Setting a name, a place or a tooltip may have made the class's own
    // interface already; the next to be asked for is this one.
    QAccessibleInterface* existing = QAccessible::queryAccessibleInterface(widget);
    if (existing && !dynamic_cast<RoleInterface*>(existing))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
}

void labelField(QLabel* label, QWidget* field)
{
    label->setBuddy(field);
    label->setAccessibleName(field->accessibleName());
}

Announcer::Announcer(QWidget* parent) : QWidget(parent)
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
