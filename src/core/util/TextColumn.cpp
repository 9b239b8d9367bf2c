#include "util/TextColumn.h"

#include <stdexcept>

namespace zandrel {

TextColumn::TextColumn(std::initializer_list<std::string_view> rows) {
    for (const std::string_view row : rows)
        push_back(row);
}

void TextColumn::RefuseTooMuchText() {
    throw std::length_error("TextColumn: more than 4 GiB of text");
}

void TextColumn::reserve(std::size_t rows, std::size_t bytes) {
    ends_.reserve(ends_.size() + rows);
    text_.reserve(text_.size() + bytes);
}

void TextColumn::clear() {
    text_.clear();
    ends_.clear();
}

} // namespace zandrel
