#ifndef STORE_SHOPPINGCART_H_
#define STORE_SHOPPINGCART_H_

#include <limits>
#include <ostream>
#include <string>

#include "product.h"

// A quantity of one catalogue product. The order refers to the catalogue's product object,
// which must outlive it; copies refer to the same product.
class order {
  public:
    order(const product& p, const int& quantity) : item(p), quantity(quantity) {}

    // The quantity times the unit price.
    price_t cost() const { return static_cast<price_t>(quantity) * item.price; }

    // Adds n to the quantity.
    void operator+=(const int& n) { quantity += n; }

    // True when both orders are for the same product, whatever their quantities.
    bool operator==(const order& o) const { return item == o.item; }

    // True when the orders are for different products.
    bool operator!=(const order& o) const { return !(*this == o); }

    const product& item;
    int quantity;
};

// Writes the order as the quantity right-aligned in five columns, " X " and the product,
// without a line break, leaving the stream's format flags as they were.
inline std::ostream& operator<<(std::ostream& out, const order& o) {
    const std::ios::fmtflags flags = out.flags();
    const char fill = out.fill(' ');
    out.setf(std::ios::right, std::ios::adjustfield);
    out.width(5);
    out << o.quantity;
    out.fill(fill);
    out.flags(flags);
    return out << " X " << o.item;
}

// One customer's cart: a singly linked list of orders, in the order the products entered it.
// Invariants: at most one order per product, every quantity is greater than zero, and the cart
// owns every node on its list.
class ShoppingCart {
  public:
    // A link of the list of orders.
    struct Node {
        Node(const order& o, Node* next) : data(o), next(next) {}

        order data;
        Node* next;
    };

    // An empty cart for customer.
    explicit ShoppingCart(const std::string& customer) : customer(customer), head(nullptr) {}

    // A cart for the same customer holding its own copies of other's orders.
    ShoppingCart(const ShoppingCart& other) : customer(other.customer), head(nullptr) {
        Node** tail = &head;
        for (const Node* n = other.head; n != nullptr; n = n->next) {
            *tail = new Node(n->data, nullptr);
            tail = &(*tail)->next;
        }
    }

    ShoppingCart& operator=(const ShoppingCart&) = delete;

    ~ShoppingCart() {
        while (head != nullptr) {
            Node* first = head;
            head = head->next;
            delete first;
        }
    }

    // True when the cart holds no order.
    bool empty() const { return head == nullptr; }

    // The link (head or some node's next) that leads to the order for o's product, or the null
    // link at the end of the list when the cart holds none.
    Node*& find(const order& o) {
        if (head == nullptr || head->data == o) {
            return head;
        }
        Node* n = head;
        while (n->next != nullptr && n->next->data != o) {
            n = n->next;
        }
        return n->next;
    }

    // Applies a purchase (positive quantity) or a return (negative quantity) of o's product.
    // Returns false, changing nothing, for a return of more than the cart holds, a non-positive
    // quantity of a product not in the cart, or a purchase that would exceed the largest int.
    bool add_to_cart(const order& o) {
        Node*& link = find(o);
        if (link == nullptr) {
            if (o.quantity <= 0) {
                return false;
            }
            link = new Node(o, nullptr);
            return true;
        }
        Node* held = link;
        if (o.quantity > std::numeric_limits<int>::max() - held->data.quantity) {
            return false;
        }
        const int quantity = held->data.quantity + o.quantity;
        if (quantity < 0) {
            return false;
        }
        if (quantity > 0) {
            held->data += o.quantity;
            return true;
        }
        link = held->next;
        delete held;
        return true;
    }

    // Writes the cart between separator lines: a heading, one line per order and the total.
    // An empty cart writes nothing.
    void print(std::ostream& out) const;

    const std::string customer;

  private:
    Node* head;
};

// Writes the cart with print().
inline std::ostream& operator<<(std::ostream& out, const ShoppingCart& cart) {
    cart.print(out);
    return out;
}

inline void ShoppingCart::print(std::ostream& out) const {
    static const char kSeparator[] = "-----------------------------------------------";
    if (empty()) {
        return;
    }
    out << kSeparator << std::endl;
    out << "Shopping Cart for " << customer << '\n' << head->data;
    price_t total = head->data.cost();
    for (const Node* n = head->next; n != nullptr; n = n->next) {
        out << '\n' << n->data;
        total += n->data.cost();
    }
    out << "\n\nTotal:  $";
    write_price(out, total);
    out << std::endl;
    out << kSeparator << std::endl;
}

#endif  // STORE_SHOPPINGCART_H_
