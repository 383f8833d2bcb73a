#pragma once
// Allocation and teardown of the nodes of the program's linked lists.

#include <new>
#include <utility>

// A new node built from `parts`, or null when memory runs out (an append then
// reports failure and leaves its list as it was).
template <class Node, class... Parts> Node* allocateNode(Parts&&... parts) noexcept {
    try {
        return new (std::nothrow) Node{std::forward<Parts>(parts)...};
    } catch (const std::bad_alloc&) {
        return nullptr; // copying the record's texts ran out of memory
    }
}

// Frees the chain that starts at `head`, without recursion, and sets head to null.
template <class Node> void freeChain(Node*& head) noexcept {
    while (head != nullptr) {
        Node* next = head->next;
        delete head;
        head = next;
    }
}
