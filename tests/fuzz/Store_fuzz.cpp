// Feeds a Store the transactions of a text, split into words much as the shopping driver splits
// them, and checks everything the store writes, carts and totals included, against StoreModel
// loaded from the same products file. The input is the transaction text itself, so seeds are
// readable. Unknown command words go to the store too, to reach its illegal-command messages.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include "ModelCheck.h"
#include "Store.h"
#include "StoreModel.h"

namespace {

// The products file; the second pear is never found, lookups take the first.
const char kProducts[] = "apple 0.5\npear 1.25\ntv 1200\nApple 0.99\ngum 0.1\npear 1.25\n";

// The products file the stores of this process load, removed when the process ends. Its name
// is drawn at random, as fuzzing processes that run side by side each write one.
class ProductsFile {
  public:
    ProductsFile()
        : path_(std::filesystem::temp_directory_path() /
                ("store_fuzz_products_" + std::to_string(std::random_device()()))) {
        std::ofstream out(path_, std::ios::binary);
        out << kProducts;
    }

    ProductsFile(const ProductsFile&) = delete;
    ProductsFile& operator=(const ProductsFile&) = delete;

    ~ProductsFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }

    // Where the file is.
    std::string path() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

// Applies one transaction read from in to the store and the model, and compares what both
// wrote. Words that are not a command word make the two-word form with an illegal command
// every other time, so that both forms meet every word. Returns false at the end of the text.
bool run_transaction(std::istream& in, Store& store, StoreModel& model, StreamCapture& out,
                     StreamCapture& err) {
    std::string customer;
    std::string command;
    if (!(in >> customer >> command)) {
        return false;
    }
    std::string expected_out;
    std::string expected_err;
    const bool two_word = command == Store::SHOWCART || command == Store::CHECKOUT ||
                          (command != Store::BUYS && command.size() % 2 == 0);
    if (two_word) {
        store.process_cart(customer, command);
        model.show_or_check_out(customer, command, expected_out, expected_err);
    } else {
        int quantity;
        std::string product_name;
        if (!(in >> quantity >> product_name)) {
            in.clear();
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            return true;
        }
        store.process_cart(customer, command, quantity, product_name);
        model.purchase(customer, command, quantity, product_name, expected_out, expected_err);
    }
    const std::string what = "transaction " + customer + " " + command;
    expect_same(what + " (standard output)", expected_out, out.take());
    expect_same(what + " (standard error)", expected_err, err.take());
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ProductsFile products_file;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    StreamCapture out(std::cout);
    StreamCapture err(std::cerr);
    std::ifstream products(products_file.path());
    StoreModel model(load_catalogue(products));
    {
        Store store(products_file.path());
        expect_same("is_open()", true, store.is_open());
        while (run_transaction(in, store, model, out, err)) {
            std::ostringstream listing;
            store.print(listing);
            expect_same("print() of the open carts", model.printed(), listing.str());
        }
        std::ostringstream report;
        store.close(report);
        expect_same("closing report", model.closing_report(), report.str());
        expect_same("close() writes to its stream only", "", out.take() + err.take());
    }
    return 0;
}
