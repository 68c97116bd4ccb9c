#pragma once

#include <cstddef>
#include <string>
#include <utility>

// Walks a text word by word; words are separated by single spaces, so two
// spaces in a row make an empty word. Owns a copy of the text it walks.
//
// The operations are defined here so that the engine's loops, which walk a
// local iterator once per evaluation, can have them inlined.
class IteratorString {
public:
    explicit IteratorString(std::string text) : text(std::move(text)) {}
    virtual ~IteratorString() = default;

    virtual bool hasMore() { return position < text.size(); }

    virtual void next()
    {
        const std::size_t stop = wordEnd();
        position = stop == text.size() ? stop : stop + 1;
        end = kUnknown;
    }

    virtual std::string current() { return {text.data() + position, wordEnd() - position}; }

private:
    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);

    // Index of the first space at or after position, or the length of text.
    // Every caller asks for current() and then next() on each word, so the
    // end is looked up once and kept until the position moves.
    std::size_t wordEnd()
    {
        if (end == kUnknown) {
            const std::size_t space = text.find(' ', position);
            end = space == std::string::npos ? text.size() : space;
        }
        return end;
    }

    std::size_t position = 0;
    std::size_t end = kUnknown; // wordEnd() once looked up for this position
    std::string text;
};
