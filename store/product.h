#ifndef STORE_PRODUCT_H_
#define STORE_PRODUCT_H_

#include <cassert>
#include <ostream>
#include <string>

// Every price and every amount of money in the store, in dollars.
using price_t = float;

// Writes amount in fixed-point notation with two decimals, leaving the stream's notation and
// precision as they were.
inline void write_price(std::ostream& out, price_t amount) {
    const std::ios::fmtflags flags = out.flags();
    const std::streamsize precision = out.precision();
    out.setf(std::ios::fixed, std::ios::floatfield);
    out.precision(2);
    out << amount;
    out.flags(flags);
    out.precision(precision);
}

// A product of the catalogue: a name without white space and a unit price.
// Invariants: price is greater than zero; two products of the same name have the same price.
class product {
  public:
    // REQUIRES: price > 0.
    product(const std::string& name, const price_t& price) : name(name), price(price) {
        assert(price > static_cast<price_t>(0));
    }

    // True when both products have the same name; their prices must then agree.
    bool operator==(const product& p) const {
        if (p.name != name) {
            return false;
        }
        assert(p.price == price);
        return true;
    }

    // True exactly when this product is called name (compared case-sensitively).
    bool operator==(const std::string& name) const { return this->name == name; }

    // True exactly when this product is not called name.
    bool operator!=(const std::string& name) const { return !(*this == name); }

    const std::string name;
    const price_t price;
};

// Writes the product as "name @ $price" with two decimals and "ea", without a line break.
inline std::ostream& operator<<(std::ostream& out, const product& p) {
    out << p.name << " @ $";
    write_price(out, p.price);
    return out << "ea";
}

#endif  // STORE_PRODUCT_H_
