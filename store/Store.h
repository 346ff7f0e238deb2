#ifndef STORE_STORE_H_
#define STORE_STORE_H_

#include <ostream>
#include <string>

#include "Products.h"
#include "ShoppingCart.h"

// The online store: a fixed catalogue and the carts of the customers who have not checked out.
// Invariants: at most one cart per customer name; the newest cart is at the head of the list;
// the store owns every node of the list. Transaction messages go to std::cout and std::cerr.
class Store {
  public:
    static const std::string BUYS;
    static const std::string RETURNS;
    static const std::string SHOWCART;
    static const std::string CHECKOUT;

    // A link of the list of carts.
    struct Node {
        Node(const ShoppingCart& cart, Node* next) : data(cart), next(next) {}

        ShoppingCart data;
        Node* next;
    };

    // Loads the catalogue from the products file; the store is open when it holds a product.
    explicit Store(const std::string& filename);

    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    ~Store();

    // True when the catalogue holds at least one product.
    bool is_open() const { return open; }

    // True when no cart is open.
    bool empty() const { return head == nullptr; }

    // The link (head or some node's next) that leads to customer's cart, or the null link at the
    // end of the list when customer has none.
    Node*& find(const std::string& customer);

    // Carries out a showcart or checkout transaction.
    void process_cart(const std::string& customer, const std::string& command);

    // Carries out a buys or returns transaction, first opening a cart for a customer without one.
    void process_cart(const std::string& customer, const std::string& command, const int& quantity,
                      const std::string& product_name);

    // Writes every open cart, newest first.
    void print(std::ostream& out) const;

    // Writes the closing report of the carts that were not checked out.
    void close(std::ostream& out);

  private:
    // The cart of customer, opened empty at the head of the list if there was none.
    ShoppingCart& cart_of(const std::string& customer);

    // Carries out a purchase from cart.
    void buy(ShoppingCart& cart, const int& quantity, const std::string& product_name);

    // Carries out a return to cart.
    void give_back(ShoppingCart& cart, const int& quantity, const std::string& product_name);

    Products products;
    bool open;
    Node* head;
};

#endif  // STORE_STORE_H_
