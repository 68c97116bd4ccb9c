#include "LayoutChecks.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>
#include <string>

namespace {

std::string nameOf(const QWidget* widget)
{
    const QString name = widget->objectName();
    return (name.isEmpty() ? QString(widget->metaObject()->className()) : name).toStdString();
}

// Room the style leaves for a push button's icon and caption.
QRect pushButtonContents(const QPushButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
}

void expectCaptionFits(const QWidget* widget, const QString& caption, QRect room, int iconWidth)
{
    const QFontMetrics metrics = widget->fontMetrics();
    const int needed = metrics.horizontalAdvance(caption) + iconWidth;
    EXPECT_LE(needed, room.width())
        << nameOf(widget) << ": '" << caption.toStdString() << "' is cut off";
    EXPECT_LE(metrics.height(), room.height()) << nameOf(widget) << ": its text is too tall";
}

void expectContentFits(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        if (!label->text().isEmpty() && !label->wordWrap())
            expectCaptionFits(label, label->text(), label->contentsRect(), 0);
    } else if (const auto* push = qobject_cast<const QPushButton*>(widget)) {
        const int icon = push->icon().isNull() ? 0 : push->iconSize().width() + 4;
        if (!push->text().isEmpty() || icon > 0)
            expectCaptionFits(push, push->text(), pushButtonContents(push), icon);
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        // Check boxes and radio buttons: their indicator, spacing and caption.
        const QSize wanted = button->sizeHint();
        EXPECT_LE(wanted.width(), button->width()) << nameOf(button) << " is cut off";
        EXPECT_LE(wanted.height(), button->height()) << nameOf(button) << " is cut off";
    } else if (const auto* field = qobject_cast<const QLineEdit*>(widget)) {
        EXPECT_LE(field->minimumSizeHint().height(), field->height())
            << nameOf(field) << " is too low for its text";
    }
}

void expectChildrenFit(const QWidget* parent)
{
    QList<const QWidget*> shown;
    for (const QWidget* child :
         parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!child->isWindow() && child->isVisibleTo(parent))
            shown.append(child);
    for (int i = 0; i < shown.size(); ++i) {
        const QWidget* child = shown[i];
        EXPECT_TRUE(parent->rect().contains(child->geometry()))
            << nameOf(child) << " reaches outside " << nameOf(parent);
        for (int j = i + 1; j < shown.size(); ++j)
            EXPECT_FALSE(child->geometry().intersects(shown[j]->geometry()))
                << nameOf(child) << " overlaps " << nameOf(shown[j]);
        expectContentFits(child);
        expectChildrenFit(child);
    }
}

} // namespace

void expectLayoutFits(const QWidget* window)
{
    SCOPED_TRACE("window " + nameOf(window));
    expectChildrenFit(window);
}
