#include "roster.h"

#include <iostream>
#include <utility>

Node::Node(std::string name, Node* next) : name(std::move(name)), next(next) {}

Roster::Roster(Node* head, Node* tail) : head(head), tail(tail) {}

Roster::~Roster() {
    while (head != nullptr) {
        Node* first = head;
        head = head->next;
        delete first;
    }
}

void Roster::add(const std::string& name) {
    // The node is complete before any link changes, so a failed allocation leaves the chain as
    // it was.
    Node* node = new Node(name, nullptr);
    if (head == nullptr) {
        tail = node;
        head = node;
        return;
    }
    if (name < head->name) {
        node->next = head;
        head = node;
        return;
    }
    Node* trailing = head;
    Node* current = head->next;
    while (current != nullptr && name > current->name) {
        trailing = current;
        current = current->next;
    }
    trailing->next = node;
    node->next = current;
}

Roster& Roster::operator+=(const std::string& name) {
    add(name);
    return *this;
}

void Roster::print() const {
    if (head == nullptr) {
        std::cout << "List is empty!\n";
        return;
    }
    for (const Node* node = head; node != nullptr; node = node->next) {
        std::cout << node->name << std::endl;
    }
}
