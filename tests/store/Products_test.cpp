#include "Products.h"

#include <gtest/gtest.h>

#include <string>

#include "TempFile.h"

namespace {

// The catalogue's contents as "name=price" words, in catalogue order.
std::string contents(const Products& products) {
    std::string text;
    for (int i = 0; i < products.size(); ++i) {
        text += (i == 0 ? "" : " ") + products[i].name + "=" + std::to_string(products[i].price);
    }
    return text;
}

TEST(ProductsTest, LoadsPairsUntilOneCannotBeTaken) {
    const struct {
        const char* file;
        const char* loaded;
    } cases[] = {
        {"", ""},
        {"apple 0.50\npear 1.25\n", "apple=0.500000 pear=1.250000"},
        {"apple 0.50\npear 1.25", "apple=0.500000 pear=1.250000"},
        {"apple 0.50\r\npear 1.25\r\n", "apple=0.500000 pear=1.250000"},
        {"  a 1 b\n2\n\n\tc\t3e1", "a=1.000000 b=2.000000 c=30.000000"},
        {"apple 0.5\npear 1\nplum abc\nfig 2\n", "apple=0.500000 pear=1.000000"},
        {"apple 0.5\npear", "apple=0.500000"},
        {"apple 0.5\nfree 0\nfig 2\n", "apple=0.500000"},
        {"debt -1\napple 0.5\n", ""},
        {"big 1e99\napple 0.5\n", ""},
        {"pear 1 pear 1\n", "pear=1.000000 pear=1.000000"},
    };
    for (const auto& c : cases) {
        const TempFile file(c.file);
        const Products products(file.path());
        EXPECT_EQ(contents(products), c.loaded) << "file: " << c.file;
    }
}

TEST(ProductsTest, KeepsOnlyTheFirstTwentyProducts) {
    std::string text;
    for (int i = 1; i <= 25; ++i) {
        text += "p" + std::to_string(i) + " " + std::to_string(i) + "\n";
    }
    const TempFile file(text);
    const Products products(file.path());
    ASSERT_EQ(products.size(), 20);
    EXPECT_EQ(products[0].name, "p1");
    EXPECT_EQ(products[19].name, "p20");
    EXPECT_EQ(products[19].price, 20.0f);
}

TEST(ProductsTest, FileThatCannotBeReadGivesEmptyCatalogue) {
    EXPECT_EQ(Products(testing::TempDir() + "no_such_products.txt").size(), 0);
    EXPECT_EQ(Products(testing::TempDir()).size(), 0);
    EXPECT_EQ(Products("").size(), 0);
}

TEST(ProductsTest, IndexOfFindsFirstExactMatch) {
    const TempFile file("apple 0.5\npear 1.25\nfig 2\nkiwi 3\npear 1.25\n");
    const Products products(file.path());
    const struct {
        const char* name;
        int index;
    } cases[] = {{"apple", 0}, {"pear", 1},  {"kiwi", 3}, {"Apple", -1},
                 {"fi", -1},   {"figs", -1}, {"", -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(products.index_of(c.name), c.index) << c.name;
    }
    EXPECT_EQ(Products("").index_of("apple"), -1);
}

TEST(ProductsDeathTest, RejectsPositionOutsideTheCatalogue) {
    const TempFile file("apple 0.5\npear 1.25\n");
    const Products products(file.path());
    EXPECT_DEATH((void)products[2], "0 <= i && i < _size");
    // Through a volatile, which no compiler follows past the assertion: MinGW's C library does
    // not declare that a failed assertion ends the program, and GCC would warn of the index.
    volatile int below = -1;
    EXPECT_DEATH((void)products[int{below}], "0 <= i && i < _size");
}

}  // namespace
