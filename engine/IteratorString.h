#pragma once

#include <cstddef>
#include <string>

// Walks a text word by word; words are separated by single spaces, so two
// spaces in a row make an empty word. Owns a copy of the text it walks.
class IteratorString {
public:
    explicit IteratorString(std::string text);
    virtual ~IteratorString() = default;

    virtual bool hasMore();
    virtual void next();
    virtual std::string current();

private:
    std::size_t position = 0;
    std::string text;
};
