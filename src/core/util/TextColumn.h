// A column of text rows kept end to end in one buffer. The lists hold up to 32767 rows of a
// few bytes each: as strings, every row costs 32 bytes and a name longer than 15 bytes an
// allocation of its own; here the whole column costs two allocations and 4 bytes a row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace zandrel {

class TextColumn {
  public:
    // The rows in order, each as a view into the column (valid until the column changes).
    class Iterator {
      public:
        using iterator_concept = std::forward_iterator_tag;
        using iterator_category = std::input_iterator_tag;
        using value_type = std::string_view;
        using reference = std::string_view;
        using difference_type = std::ptrdiff_t;

        Iterator() = default;
        Iterator(const TextColumn* column, std::size_t row) : column_(column), row_(row) {}
        std::string_view operator*() const { return (*column_)[row_]; }
        Iterator& operator++() {
            ++row_;
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++row_;
            return before;
        }
        bool operator==(const Iterator&) const = default;

      private:
        const TextColumn* column_ = nullptr;
        std::size_t row_ = 0;
    };
    using value_type = std::string_view;
    using const_iterator = Iterator;

    TextColumn() = default;
    TextColumn(std::initializer_list<std::string_view> rows);

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    // The row's text; `row` must be below size().
    std::string_view operator[](std::size_t row) const {
        const std::size_t begin = row == 0 ? 0 : ends_[row - 1];
        return std::string_view(text_).substr(begin, ends_[row] - begin);
    }
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

    // Adds a row at the end. The column holds at most 4 GiB of text (std::length_error past
    // it); its rows come from files of at most 64 MiB. Inline: a parse adds 98301 rows.
    void push_back(std::string_view row) {
        if (row.size() > kMaxTextBytes - text_.size())
            RefuseTooMuchText();
        text_.append(row);
        ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    }
    // Room for `rows` more rows holding `bytes` more text in all.
    void reserve(std::size_t rows, std::size_t bytes);
    void clear();

    bool operator==(const TextColumn&) const = default;

  private:
    static constexpr std::size_t kMaxTextBytes = UINT32_MAX;
    [[noreturn]] static void RefuseTooMuchText();

    std::string text_;
    std::vector<std::uint32_t> ends_; // where each row ends in text_
};

} // namespace zandrel
