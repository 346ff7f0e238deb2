#ifndef TESTS_MODEL_WORDCOUNTMODEL_H_
#define TESTS_MODEL_WORDCOUNTMODEL_H_

#include <cstdint>
#include <map>
#include <string>

// What the word counts must report: the words counted more often than a threshold, in
// descending byte order. Counts are kept in a std::map under each word's key.
class WordCountModel {
  public:
    // The key a word is counted under: one trailing ASCII punctuation character dropped, then
    // the capitals A to Z lowered. Bytes from 128 on are neither punctuation nor capitals.
    static std::string key_of(const std::string& word) {
        auto is_punct = [](unsigned char c) {
            return (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) ||
                   (c >= 123 && c <= 126);
        };
        std::string key = word;
        if (!key.empty() && is_punct(static_cast<unsigned char>(key.back()))) {
            key.pop_back();
        }
        for (char& c : key) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return key;
    }

    // Counts word under its key.
    void count(const std::string& word) { ++counts_[key_of(word)]; }

    // The words counted more than threshold times, one per line, in descending order.
    std::string report(int32_t threshold) const {
        std::string text;
        for (auto entry = counts_.rbegin(); entry != counts_.rend(); ++entry) {
            if (entry->second > threshold) {
                text += entry->first + "\n";
            }
        }
        return text;
    }

  private:
    std::map<std::string, int64_t> counts_;
};

#endif  // TESTS_MODEL_WORDCOUNTMODEL_H_
