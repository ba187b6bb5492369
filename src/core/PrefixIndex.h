#pragma once

#include <QString>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace core {

// Rows sorted by a name as the prefix searches of the lists need them: by the upper-cased name
// in code-unit order, rows of equal names in the order they came, whatever the database's
// collation. find() is a binary search, so a keystroke costs a few comparisons.
class PrefixIndex {
public:
    // Sorts the rows by their name and keeps the keys.
    template <class Row, class Name>
    void sort(std::vector<Row>& rows, Name name) {
        std::vector<std::pair<QString, std::size_t>> keyed;
        keyed.reserve(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            keyed.emplace_back(QString(std::invoke(name, rows[i])).toUpper(), i);
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<Row> sorted;
        sorted.reserve(rows.size());
        keys_.clear();
        keys_.reserve(rows.size());
        for (auto& [key, i] : keyed) {
            sorted.push_back(std::move(rows[i]));
            keys_.push_back(std::move(key));
        }
        rows = std::move(sorted);
    }

    // The first row whose name starts with the text (ignoring case); -1 when none does.
    int find(const QString& prefix) const;
    void clear() { keys_.clear(); }

private:
    std::vector<QString> keys_;
};

}  // namespace core
