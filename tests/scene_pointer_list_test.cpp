// The game's one container: insertion at an index, lookups that fall back to
// the head, removal of the first match, and links that stay consistent both
// ways (the screen walks its lists in both directions).
#include <gtest/gtest.h>

#include <vector>

#include "base/PointerList.h"

namespace pw {
namespace {

// The items head to tail, checked against the walk tail to head.
template <typename Item>
std::vector<Item> Items(const LinkedList<Item>& list) {
    std::vector<Item> forward, backward;
    for (auto* n = list.head; n != nullptr; n = n->next) forward.push_back(n->item);
    for (auto* n = list.tail; n != nullptr; n = n->prev) backward.insert(backward.begin(), n->item);
    EXPECT_EQ(forward, backward) << "next and prev links disagree";
    EXPECT_EQ(static_cast<int32_t>(forward.size()), list.count);
    if (list.head != nullptr) {
        EXPECT_EQ(list.head->prev, nullptr);
    }
    if (list.tail != nullptr) {
        EXPECT_EQ(list.tail->next, nullptr);
    }
    return forward;
}

struct Items3 {
    int a = 1, b = 2, c = 3, d = 4;
};

TEST(PointerListTest, InsertAtPlacesItemsWhereAsked) {
    Items3 v;
    PointerList<int> list;
    list.InsertAt(&v.a, 5);  // any index on an empty list
    list.InsertAt(&v.b, 0);  // new head
    list.InsertAt(&v.c, 1);  // between
    list.InsertAt(&v.d, list.count);
    EXPECT_EQ(Items(list), (std::vector<int*>{&v.b, &v.c, &v.a, &v.d}));
}

TEST(PointerListTest, IndexBelowZeroOrBeyondCountAppends) {
    Items3 v;
    PointerList<int> list;
    list.InsertAt(&v.a, 0);
    list.InsertAt(&v.b, -1);
    list.InsertAt(&v.c, 99);
    EXPECT_EQ(Items(list), (std::vector<int*>{&v.a, &v.b, &v.c}));
    EXPECT_EQ(list.tail->item, &v.c);
}

TEST(PointerListTest, ItemAtFallsBackToTheHeadOutOfRangeAndToNullWhenEmpty) {
    Items3 v;
    PointerList<int> list;
    EXPECT_EQ(list.ItemAt(0), nullptr);
    EXPECT_EQ(list.ItemAt(-1), nullptr);
    list.InsertAt(&v.a, -1);
    list.InsertAt(&v.b, -1);
    EXPECT_EQ(list.ItemAt(1), &v.b);
    EXPECT_EQ(list.ItemAt(-1), &v.a);
    EXPECT_EQ(list.ItemAt(list.count), &v.a);

    LinkedList<uint8_t> bytes;  // the settings store's shape
    EXPECT_EQ(bytes.ItemAt(3), 0);
    bytes.InsertAt(7, 0);
    EXPECT_EQ(bytes.ItemAt(3), 7);
}

TEST(PointerListTest, RemoveTakesOnlyTheOccurrenceNearestTheHead) {
    Items3 v;
    PointerList<int> list;
    for (int* p : {&v.a, &v.b, &v.a, &v.c}) list.InsertAt(p, -1);
    EXPECT_FALSE(list.Remove(&v.d));
    EXPECT_EQ(Items(list), (std::vector<int*>{&v.a, &v.b, &v.a, &v.c}));

    EXPECT_TRUE(list.Remove(&v.a));
    EXPECT_EQ(Items(list), (std::vector<int*>{&v.b, &v.a, &v.c}));
    EXPECT_TRUE(list.Remove(&v.c));  // the tail
    EXPECT_EQ(Items(list), (std::vector<int*>{&v.b, &v.a}));
    EXPECT_TRUE(list.Remove(&v.b));
    EXPECT_TRUE(list.Remove(&v.a));
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.count, 0);
    // An emptied list takes items again.
    list.InsertAt(&v.d, 3);
    EXPECT_EQ(Items(list), (std::vector<int*>{&v.d}));
}

TEST(PointerListTest, AddUniqueKeepsOneEntryPerPointer) {
    Items3 v;
    PointerList<int> list;
    list.AddUnique(&v.a);
    list.AddUnique(&v.b);
    list.AddUnique(&v.a);
    EXPECT_EQ(Items(list), (std::vector<int*>{&v.a, &v.b}));
}

TEST(PointerListTest, ClearFreesNodesButLeavesItemsAlone) {
    Items3 v;
    PointerList<int> list;
    list.Clear();
    EXPECT_EQ(list.count, 0);
    list.InsertAt(&v.a, -1);
    list.InsertAt(&v.b, -1);
    list.Clear();
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(v.a + v.b, 3);
}

TEST(PointerListTest, CopyToArrayCopiesHeadToTail) {
    Items3 v;
    PointerList<int> list;
    list.InsertAt(&v.c, -1);
    list.InsertAt(&v.a, 0);
    list.InsertAt(&v.b, 1);
    std::vector<int*> copy(static_cast<size_t>(list.count));
    list.CopyToArray(copy.data());
    EXPECT_EQ(copy, (std::vector<int*>{&v.a, &v.b, &v.c}));
}

}  // namespace
}  // namespace pw
