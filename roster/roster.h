#ifndef ROSTER_ROSTER_H_
#define ROSTER_ROSTER_H_

#include <string>

// One entry of a roster's chain. A node does not own its successor: destroying a node releases
// its name and nothing else, so the chain is freed only by the roster that owns it.
class Node {
  public:
    // Holds its own copy of name, followed by next (null at the end of a chain).
    Node(std::string name, Node* next);

    std::string name;  // the node's own copy of the name
    Node* next;        // the following node; null at the end of the chain
};

// An ordered list of names. Following next from head visits every node exactly once, in
// non-decreasing order of name by byte value, and ends at null. The roster owns every node on
// its chain; a copy would share them, so copying and assignment are deleted.
class Roster {
  public:
    // Takes over the chain starting at head; two null pointers make an empty roster.
    // REQUIRES: head is null or starts a null-terminated chain in ascending order whose nodes
    // were each allocated singly with new and belong to no other roster.
    Roster(Node* head, Node* tail);

    Roster(const Roster&) = delete;
    Roster& operator=(const Roster&) = delete;

    // Frees every node of the chain exactly once, without recursion however long the chain.
    ~Roster();

    // Inserts name in order; a name equal to the head's goes right behind the head, a name equal
    // to names further down goes in front of the first of them. Never rejects a name.
    void add(const std::string& name);

    // Inserts name exactly as add does; returns this roster so insertions can be chained.
    Roster& operator+=(const std::string& name);

    // Writes each name on a line of its own, flushing after each, or "List is empty!" for an
    // empty roster.
    void print() const;

  private:
    Node* head;  // the first (smallest) node; null when the roster is empty
    Node* tail;  // the node an insertion into an empty roster made; nothing reads it
};

#endif  // ROSTER_ROSTER_H_
