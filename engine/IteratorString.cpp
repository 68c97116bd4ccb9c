#include "engine/IteratorString.h"

#include <utility>

IteratorString::IteratorString(std::string text) : text(std::move(text)) {}

bool IteratorString::hasMore()
{
    return position < text.size();
}

void IteratorString::next()
{
    const std::size_t space = text.find(' ', position);
    position = space == std::string::npos ? text.size() : space + 1;
}

std::string IteratorString::current()
{
    if (position >= text.size())
        return {};
    const std::size_t space = text.find(' ', position);
    const std::size_t end = space == std::string::npos ? text.size() : space;
    return text.substr(position, end - position);
}
