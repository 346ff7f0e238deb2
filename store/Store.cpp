#include "Store.h"

#include <iostream>

const std::string Store::BUYS = "buys";
const std::string Store::RETURNS = "returns";
const std::string Store::SHOWCART = "showcart";
const std::string Store::CHECKOUT = "checkout";

Store::Store(const std::string& filename)
    : products(filename), open(products.size() != 0), head(nullptr) {}

Store::~Store() {
    while (head != nullptr) {
        Node* first = head;
        head = head->next;
        delete first;
    }
}

Store::Node*& Store::find(const std::string& customer) {
    if (head == nullptr || head->data.customer == customer) {
        return head;
    }
    Node* n = head;
    while (n->next != nullptr && n->next->data.customer != customer) {
        n = n->next;
    }
    return n->next;
}

void Store::process_cart(const std::string& customer, const std::string& command) {
    Node*& link = find(customer);
    if (link == nullptr) {
        std::cout << "Sorry, but no cart for " << customer << " exists." << std::endl;
    } else if (command == SHOWCART) {
        std::cout << link->data << std::endl;
    } else if (command == CHECKOUT) {
        std::cout << link->data << "\n\n"
                  << "Thanks for shopping with us, " << customer << "!" << std::endl;
        Node* done = link;
        link = done->next;
        delete done;
    } else {
        std::cerr << "Illegal command:  " << command << std::endl;
    }
}

void Store::process_cart(const std::string& customer, const std::string& command,
                         const int& quantity, const std::string& product_name) {
    ShoppingCart& cart = cart_of(customer);
    if (command == BUYS) {
        buy(cart, quantity, product_name);
    } else if (command == RETURNS) {
        give_back(cart, quantity, product_name);
    } else {
        std::cerr << "Illegal command:  " << command << std::endl;
    }
}

ShoppingCart& Store::cart_of(const std::string& customer) {
    Node*& link = find(customer);
    if (link == nullptr) {
        head = new Node(ShoppingCart(customer), head);
        return head->data;
    }
    return link->data;
}

void Store::buy(ShoppingCart& cart, const int& quantity, const std::string& product_name) {
    const int index = products.index_of(product_name);
    if (index == -1) {
        std::cout << "Sorry, " << cart.customer << ", but we don't carry " << product_name << "."
                  << std::endl;
    } else if (quantity <= 0) {
        std::cout << "Sorry, only positive quantities can be bought!" << std::endl;
    } else if (!cart.add_to_cart(order(products[index], quantity))) {
        std::cout << "Sorry, that would be more of the product than one cart can hold!"
                  << std::endl;
    }
}

void Store::give_back(ShoppingCart& cart, const int& quantity, const std::string& product_name) {
    const int index = products.index_of(product_name);
    if (index == -1) {
        std::cout << "Sorry, " << cart.customer << ", but you couldn't have bought " << product_name
                  << " because we don't carry it!" << std::endl;
    } else if (quantity <= 0) {
        std::cout << "Sorry, only positive quantities can be returned!" << std::endl;
    } else if (!cart.add_to_cart(order(products[index], -quantity))) {
        std::cout << "Cannot return more of the product than was bought!" << std::endl;
    }
}

void Store::print(std::ostream& out) const {
    if (head == nullptr) {
        return;
    }
    out << head->data;
    for (const Node* n = head->next; n != nullptr; n = n->next) {
        out << "\n\n" << n->data << std::endl;
    }
}

void Store::close(std::ostream& out) {
    out << "These are the carts that weren't checked out." << std::endl;
    out << "\n\n";
    print(out);
    out << "\n\nThanks for shopping with us!" << std::endl;
}
