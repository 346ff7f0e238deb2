// Feeds a Store the transactions of a text, split into words much as the shopping driver splits
// them, and checks everything the store writes, carts and totals included, against a model of
// the carts built from CartModel. The input is the transaction text itself, so seeds are
// readable. Unknown command words go to the store too, to reach its illegal-command messages.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "CartModel.h"
#include "ModelCheck.h"
#include "Store.h"

namespace {

struct CatalogueEntry {
    std::string name;
    float price;
};

// Written to the products file; the second pear is never found, lookups take the first.
const std::vector<CatalogueEntry> kCatalogue = {{"apple", 0.5f},  {"pear", 1.25f}, {"tv", 1200.0f},
                                                {"Apple", 0.99f}, {"gum", 0.1f},   {"pear", 1.25f}};

// The products file the stores of this process load, removed when the process ends.
class ProductsFile {
  public:
    ProductsFile()
        : path_(std::filesystem::temp_directory_path() /
                ("store_fuzz_products_" + std::to_string(getpid()))) {
        std::ofstream out(path_);
        for (const CatalogueEntry& entry : kCatalogue) {
            out << entry.name << ' ' << entry.price << '\n';
        }
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

// The carts the store must hold, newest first, and the text each transaction must produce.
class StoreModel {
  public:
    // What a buys or returns transaction writes to standard output and to standard error.
    void purchase(const std::string& customer, const std::string& command, int quantity,
                  const std::string& product_name, std::string& out, std::string& err) {
        CartModel& cart = cart_of(customer);
        const CatalogueEntry* entry = lookup(product_name);
        if (command == "buys") {
            if (entry == nullptr) {
                out = "Sorry, " + customer + ", but we don't carry " + product_name + ".\n";
            } else if (quantity <= 0) {
                out = "Sorry, only positive quantities can be bought!\n";
            } else if (!cart.add(entry->name, entry->price, quantity)) {
                out = "Sorry, that would be more of the product than one cart can hold!\n";
            }
        } else if (command == "returns") {
            if (entry == nullptr) {
                out = "Sorry, " + customer + ", but you couldn't have bought " + product_name +
                      " because we don't carry it!\n";
            } else if (quantity <= 0) {
                out = "Sorry, only positive quantities can be returned!\n";
            } else if (!cart.add(entry->name, entry->price, -quantity)) {
                out = "Cannot return more of the product than was bought!\n";
            }
        } else {
            err = "Illegal command:  " + command + "\n";
        }
    }

    // What a showcart or checkout transaction writes to standard output and standard error.
    void show_or_check_out(const std::string& customer, const std::string& command,
                           std::string& out, std::string& err) {
        auto cart = find(customer);
        if (cart == carts_.end()) {
            out = "Sorry, but no cart for " + customer + " exists.\n";
        } else if (command == "showcart") {
            out = cart->printed() + "\n";
        } else if (command == "checkout") {
            out = cart->printed() + "\n\nThanks for shopping with us, " + customer + "!\n";
            carts_.erase(cart);
        } else {
            err = "Illegal command:  " + command + "\n";
        }
    }

    // The open carts, newest first.
    std::string printed() const {
        std::string text;
        for (size_t i = 0; i < carts_.size(); ++i) {
            text += i == 0 ? carts_[i].printed() : "\n\n" + carts_[i].printed() + "\n";
        }
        return text;
    }

    // The closing report.
    std::string closing_report() const {
        return "These are the carts that weren't checked out.\n\n\n" + printed() +
               "\n\nThanks for shopping with us!\n";
    }

  private:
    std::vector<CartModel>::iterator find(const std::string& customer) {
        auto cart = carts_.begin();
        while (cart != carts_.end() && cart->customer() != customer) {
            ++cart;
        }
        return cart;
    }

    CartModel& cart_of(const std::string& customer) {
        auto cart = find(customer);
        if (cart != carts_.end()) {
            return *cart;
        }
        return *carts_.insert(carts_.begin(), CartModel(customer));
    }

    static const CatalogueEntry* lookup(const std::string& name) {
        for (const CatalogueEntry& entry : kCatalogue) {
            if (entry.name == name) {
                return &entry;
            }
        }
        return nullptr;
    }

    std::vector<CartModel> carts_;
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
    StoreModel model;
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
