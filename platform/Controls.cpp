#include "platform/Controls.h"

std::string GetText(const QLineEdit* field)
{
    return field->text().toStdString();
}

void SetText(QLineEdit* field, const std::string& text)
{
    field->setText(QString::fromStdString(text));
    Guard::rethrowPending();
}

QFont SansFont(int pixelHeight, bool bold, bool italic)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}
