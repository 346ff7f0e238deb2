// Drives a ShoppingCart with a random sequence of purchases, returns, lookups, copies and
// printouts, and checks every result and every printout against CartModel.

#include <cstddef>
#include <cstdint>
#include <ios>
#include <limits>
#include <sstream>
#include <string>

#include "CartModel.h"
#include "FuzzInput.h"
#include "ModelCheck.h"
#include "ShoppingCart.h"
#include "product.h"

namespace {

const int kProductCount = 5;
const int kMaxSteps = 300;

// Prices whose sums are not exact in float, a large one, and two products whose names differ
// only in case.
const product kProducts[kProductCount] = {
    {"apple", 0.5f}, {"pear", 1.25f}, {"tv", 1200.0f}, {"gum", 0.1f}, {"Apple", 0.99f}};

// Mostly small quantities of either sign, so that returns often meet what was bought; now and
// then an extreme one, to reach the limits of int.
int decode_quantity(FuzzInput& input) {
    static const int kExtremes[] = {std::numeric_limits<int>::max(),
                                    std::numeric_limits<int>::max() - 1,
                                    std::numeric_limits<int>::min(),
                                    std::numeric_limits<int>::min() + 1,
                                    123456,
                                    -123456};
    const int choice = input.byte();
    if (choice >= 240) {
        return kExtremes[choice % (sizeof kExtremes / sizeof kExtremes[0])];
    }
    return choice % 13 - 4;
}

// Prints cart into a stream set up with format state of its own, and checks the text and that
// the state is the same afterwards.
void check_printout(const ShoppingCart& cart, const CartModel& model, int style) {
    std::ostringstream out;
    if (style == 1) {
        out.setf(std::ios::left | std::ios::scientific);
        out.precision(5);
    }
    const std::ios::fmtflags flags = out.flags();
    const std::streamsize precision = out.precision();
    if (style == 2) {
        out << cart;
    } else {
        cart.print(out);
    }
    expect_same("printed cart", model.printed(), out.str());
    expect_same("format flags kept", true, out.flags() == flags);
    expect_same("precision kept", true, out.precision() == precision);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const std::string customer = input.word("ab Z", 3);
    ShoppingCart cart(customer);
    CartModel model(customer);
    for (int step = 0; step < kMaxSteps && input.more(); ++step) {
        const int operation = input.below(6);
        const product& item = kProducts[input.below(kProductCount)];
        switch (operation) {
            case 0:
            case 1:
            case 2: {
                const int quantity = decode_quantity(input);
                expect_same("add_to_cart(" + item.name + ", " + std::to_string(quantity) + ")",
                            model.add(item.name, item.price, quantity),
                            cart.add_to_cart(order(item, quantity)));
                break;
            }
            case 3:
                expect_same("find(" + item.name + ") leads to a node", model.holds(item.name),
                            cart.find(order(item, 1)) != nullptr);
                expect_same("empty()", model.empty(), cart.empty());
                break;
            case 4:
                check_printout(cart, model, input.below(3));
                break;
            default: {
                // A copy holds orders of its own: changing it must leave the original as it was.
                ShoppingCart copy(cart);
                check_printout(copy, model, 0);
                copy.add_to_cart(order(item, 1));
                break;
            }
        }
    }
    check_printout(cart, model, 0);
    return 0;
}
