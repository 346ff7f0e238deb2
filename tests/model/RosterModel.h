#ifndef TESTS_MODEL_ROSTERMODEL_H_
#define TESTS_MODEL_ROSTERMODEL_H_

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

// What a roster must hold and print. Invariant: the names are sorted by byte value, in a
// std::vector.
class RosterModel {
  public:
    // Inserts name in order; any number of equal names are kept.
    void add(const std::string& name) {
        names_.insert(std::upper_bound(names_.begin(), names_.end(), name), name);
    }

    // The number of names held.
    std::size_t size() const { return names_.size(); }

    // One name per line, or "List is empty!" when there is none.
    std::string listing() const {
        if (names_.empty()) {
            return "List is empty!\n";
        }
        std::string text;
        for (const std::string& name : names_) {
            text += name + "\n";
        }
        return text;
    }

  private:
    std::vector<std::string> names_;
};

#endif  // TESTS_MODEL_ROSTERMODEL_H_
