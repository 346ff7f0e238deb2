#ifndef TESTS_MODEL_STOREMODEL_H_
#define TESTS_MODEL_STOREMODEL_H_

#include <cstddef>
#include <istream>
#include <string>
#include <utility>
#include <vector>

#include "CartModel.h"
#include "read_price.h"

// A product as the store must know it.
struct CatalogueEntry {
    std::string name;
    float price;
};

// The catalogue a products file gives: its "name price" pairs in file order, at most 20, up to
// the first pair that cannot be read or whose price is not above zero. A price is read as the
// store reads it, by its own parser.
inline std::vector<CatalogueEntry> load_catalogue(std::istream& in) {
    const std::size_t kCapacity = 20;
    std::vector<CatalogueEntry> catalogue;
    CatalogueEntry entry;
    while (catalogue.size() < kCapacity && in >> entry.name && read_price(in, entry.price) &&
           entry.price > 0) {
        catalogue.push_back(entry);
    }
    return catalogue;
}

// What the store must write for each transaction, and the carts it must hold.
// Invariants: at most one cart per customer; the newest cart comes first.
class StoreModel {
  public:
    explicit StoreModel(std::vector<CatalogueEntry> catalogue) : catalogue_(std::move(catalogue)) {}

    // True when the catalogue holds a product, so that the store opens.
    bool open() const { return !catalogue_.empty(); }

    // Appends to out and err what a transaction with a quantity and a product writes to standard
    // output and standard error: buys, returns, or another command word, which opens a cart all
    // the same.
    void purchase(const std::string& customer, const std::string& command, int quantity,
                  const std::string& product_name, std::string& out, std::string& err) {
        CartModel& cart = cart_of(customer);
        const CatalogueEntry* entry = lookup(product_name);
        if (command == "buys") {
            if (entry == nullptr) {
                out += "Sorry, " + customer + ", but we don't carry " + product_name + ".\n";
            } else if (quantity <= 0) {
                out += "Sorry, only positive quantities can be bought!\n";
            } else if (!cart.add(entry->name, entry->price, quantity)) {
                out += "Sorry, that would be more of the product than one cart can hold!\n";
            }
        } else if (command == "returns") {
            if (entry == nullptr) {
                out += "Sorry, " + customer + ", but you couldn't have bought " + product_name +
                       " because we don't carry it!\n";
            } else if (quantity <= 0) {
                out += "Sorry, only positive quantities can be returned!\n";
            } else if (!cart.add(entry->name, entry->price, -quantity)) {
                out += "Cannot return more of the product than was bought!\n";
            }
        } else {
            err += "Illegal command:  " + command + "\n";
        }
    }

    // Appends to out and err what a transaction without a quantity writes: showcart, checkout,
    // or another command word.
    void show_or_check_out(const std::string& customer, const std::string& command,
                           std::string& out, std::string& err) {
        auto cart = find(customer);
        if (cart == carts_.end()) {
            out += "Sorry, but no cart for " + customer + " exists.\n";
        } else if (command == "showcart") {
            out += cart->printed() + "\n";
        } else if (command == "checkout") {
            out += cart->printed() + "\n\nThanks for shopping with us, " + customer + "!\n";
            carts_.erase(cart);
        } else {
            err += "Illegal command:  " + command + "\n";
        }
    }

    // The open carts, newest first.
    std::string printed() const {
        std::string text;
        for (std::size_t i = 0; i < carts_.size(); ++i) {
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

    // The first product called name; lookups never reach a later one of the same name.
    const CatalogueEntry* lookup(const std::string& name) const {
        for (const CatalogueEntry& entry : catalogue_) {
            if (entry.name == name) {
                return &entry;
            }
        }
        return nullptr;
    }

    std::vector<CatalogueEntry> catalogue_;
    std::vector<CartModel> carts_;
};

#endif  // TESTS_MODEL_STOREMODEL_H_
