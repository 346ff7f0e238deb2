#ifndef STORE_PRODUCTS_H_
#define STORE_PRODUCTS_H_

#include <cassert>
#include <string>

#include "input_file.h"
#include "product.h"
#include "read_price.h"

// The catalogue: up to kCapacity products, loaded once from a products file and read-only after.
// Invariants: slots 0 to _size - 1 hold owned products in file order, the rest hold nothing;
// a product never moves, so references to it stay valid while the catalogue lives.
class Products {
  public:
    static constexpr int kCapacity = 20;

    // Loads the "name price" pairs of the file, stopping silently at the first pair that cannot
    // be read or whose price is not positive, and after kCapacity products. A file that cannot
    // be opened or read leaves the catalogue empty.
    explicit Products(const std::string& filename) : _size(0) {
        input_file in(filename);
        std::string name;
        price_t price;
        while (_size < kCapacity && in >> name && read_price(in, price) &&
               price > static_cast<price_t>(0)) {
            _products[_size] = new product(name, price);
            ++_size;
        }
    }

    Products(const Products&) = delete;
    Products& operator=(const Products&) = delete;

    ~Products() {
        for (int i = 0; i < _size; ++i) {
            delete _products[i];
        }
    }

    // The number of products held, from 0 to kCapacity.
    const int& size() const { return _size; }

    // REQUIRES: 0 <= i < size().
    const product& operator[](const int& i) const {
        assert(0 <= i && i < _size);
        return *_products[i];
    }

    // The position of the first product called name, or -1 when there is none.
    int index_of(const std::string& name) const {
        int i = 0;
        while (i < size() && (*this)[i] != name) {
            ++i;
        }
        return i == size() ? -1 : i;
    }

  private:
    product* _products[kCapacity] = {};
    int _size;
};

#endif  // STORE_PRODUCTS_H_
