#ifndef TESTS_MODEL_CARTMODEL_H_
#define TESTS_MODEL_CARTMODEL_H_

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <string>
#include <vector>

// What a shopping cart must hold and print: the quantity of each product in a map, and the
// products in the order they entered the cart. Amounts are float, summed in list order, so the
// printed total is rounded from exactly the value the cart computes.
// Invariant: order_ names each product of items_ once, and no other.
class CartModel {
  public:
    explicit CartModel(const std::string& customer) : customer_(customer) {}

    // The customer the cart belongs to.
    const std::string& customer() const { return customer_; }

    // Applies a purchase (quantity > 0) or a return (quantity < 0) of the product called name,
    // and tells whether the cart accepted it. A refused change leaves the model unchanged.
    bool add(const std::string& name, float price, int quantity) {
        const auto held = items_.find(name);
        if (held == items_.end()) {
            if (quantity <= 0) {
                return false;
            }
            items_.emplace(name, Item{price, quantity});
            order_.push_back(name);
            return true;
        }
        const int64_t sum = int64_t{held->second.quantity} + quantity;
        if (sum < 0 || sum > std::numeric_limits<int>::max()) {
            return false;
        }
        if (sum == 0) {
            items_.erase(held);
            order_.erase(std::find(order_.begin(), order_.end(), name));
        } else {
            held->second.quantity = static_cast<int>(sum);
        }
        return true;
    }

    // True when the cart holds an order for the product called name.
    bool holds(const std::string& name) const { return items_.count(name) == 1; }

    // True when the cart holds no order.
    bool empty() const { return order_.empty(); }

    // The cart's printed form: nothing for an empty cart, else the separator, heading, one line
    // per order, the total and the separator.
    std::string printed() const {
        if (empty()) {
            return "";
        }
        const std::string separator(47, '-');
        std::string text = separator + "\nShopping Cart for " + customer_;
        float total = 0;
        for (const std::string& name : order_) {
            const Item& item = items_.at(name);
            text += "\n" + order_line(name, item);
            total += static_cast<float>(item.quantity) * item.price;
        }
        return text + "\n\nTotal:  $" + two_decimals(total) + "\n" + separator + "\n";
    }

  private:
    struct Item {
        float price;
        int quantity;
    };

    static std::string two_decimals(float amount) {
        char text[64];
        std::snprintf(text, sizeof text, "%.2f", static_cast<double>(amount));
        return text;
    }

    static std::string order_line(const std::string& name, const Item& item) {
        char quantity[16];
        std::snprintf(quantity, sizeof quantity, "%5d", item.quantity);
        return quantity + (" X " + name) + " @ $" + two_decimals(item.price) + "ea";
    }

    std::string customer_;
    std::map<std::string, Item> items_;
    std::vector<std::string> order_;
};

#endif  // TESTS_MODEL_CARTMODEL_H_
