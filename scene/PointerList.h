#pragma once
// The one container of the game: a doubly linked list with insertion at an
// index. It never owns what its items point at. `PointerList<T>` lists
// pointers; the settings store keeps bytes in the same shape.
#include <cstdint>

namespace pw {

template <typename Item>
class LinkedList {
public:
    struct Node {
        Item item;
        Node* next;
        Node* prev;
    };

    LinkedList() = default;
    LinkedList(const LinkedList&) = delete;
    LinkedList& operator=(const LinkedList&) = delete;
    ~LinkedList() { Clear(); }

    // Inserts so that the item stands at position index; an index below 0 or
    // above count appends.
    Node* InsertAt(Item item, int32_t index) {
        Node* node = new Node{item, nullptr, nullptr};
        if (head == nullptr) {
            head = tail = node;
        } else {
            if (index < 0 || index > count) index = count;
            Node* at = head;
            for (int32_t i = 0; i < index && at != nullptr; ++i) at = at->next;
            if (at == nullptr) {
                node->prev = tail;
                tail->next = node;
                tail = node;
            } else {
                node->next = at;
                node->prev = at->prev;
                at->prev = node;
                if (node->prev != nullptr)
                    node->prev->next = node;
                else
                    head = node;
            }
        }
        ++count;
        return node;
    }

    void AddUnique(Item item) {
        if (!Contains(item)) InsertAt(item, count);
    }

    bool Contains(Item item) const {
        for (Node* n = head; n != nullptr; n = n->next)
            if (n->item == item) return true;
        return false;
    }

    // Unlinks the first node, from the head, that holds item.
    bool Remove(Item item) {
        Node* n = head;
        while (n != nullptr && !(n->item == item)) n = n->next;
        if (n == nullptr) return false;
        if (n->prev != nullptr) n->prev->next = n->next;
        if (n->next != nullptr) n->next->prev = n->prev;
        if (head == n) head = n->next;
        if (tail == n) tail = n->prev;
        delete n;
        --count;
        return true;
    }

    void Clear() {
        Node* n = tail;
        while (n != nullptr) {
            Node* prev = n->prev;
            delete n;
            n = prev;
        }
        head = tail = nullptr;
        count = 0;
    }

    // The item at index for 0 <= index < count; any other index gives the
    // head's item, or an empty item when the list is empty.
    Item ItemAt(int32_t index) const {
        if (head == nullptr) return Item{};
        if (index < 0 || index >= count) return head->item;
        Node* n = head;
        for (int32_t i = 0; i < index; ++i) n = n->next;
        return n->item;
    }

    // Copies the items, head to tail, into an array with room for count.
    void CopyToArray(Item* destination) const {
        for (Node* n = head; n != nullptr; n = n->next) *destination++ = n->item;
    }

    Node* head = nullptr;
    Node* tail = nullptr;
    int32_t count = 0;
};

template <typename T>
using PointerList = LinkedList<T*>;

}  // namespace pw
