#pragma once
// The one container of the game: a doubly linked list with insertion at an
// index. It never owns what its items point at. `PointerList<T>` lists
// pointers; the settings store keeps bytes in the same shape.
#include <cstddef>
#include <cstdint>
#include <vector>

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
        ++changes;
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

    // Whether an item that was listed when changes read since still is:
    // without a search while nothing was put on or taken off the list.
    bool StillHolds(Item item, uint32_t since) const { return changes == since || Contains(item); }

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
        ++changes;
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
        ++changes;
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
    // Counts every insertion and removal.
    uint32_t changes = 0;
};

// A copy of a list's items, head to tail, to walk while the walk may change
// the list; held on the stack for the few dozen items a scene lists.
template <typename Item, size_t kInline = 64>
class ListCopy {
public:
    explicit ListCopy(const LinkedList<Item>& list)
        : size_(list.count > 0 ? static_cast<size_t>(list.count) : 0) {
        if (size_ > kInline) spill_.resize(size_);
        data_ = size_ > kInline ? spill_.data() : inline_;
        list.CopyToArray(data_);
    }
    ListCopy(const ListCopy&) = delete;
    ListCopy& operator=(const ListCopy&) = delete;

    size_t size() const { return size_; }
    Item operator[](size_t i) const { return data_[i]; }

private:
    size_t size_;
    Item inline_[kInline];
    std::vector<Item> spill_;
    Item* data_;
};

template <typename T>
using PointerList = LinkedList<T*>;

}  // namespace pw
