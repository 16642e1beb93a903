#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "model/array.h"
#include "model/sorted_array.h"

namespace {

// An object ordered by key that counts how many of its kind are alive, so tests can see
// which operations destroy elements.
class Keyed : public Object {
public:
    Keyed(int key, int serial) : key(key), serial(serial) { ++alive; }
    ~Keyed() override { --alive; }
    bool compare(const Object& other) const override {
        ++compares;
        return key <= static_cast<const Keyed&>(other).key;
    }
    bool isEqual(const Object& other) const override {
        return key == static_cast<const Keyed&>(other).key;
    }
    const char* nameOf() const override { return "Keyed"; }

    int key;
    int serial;
    static int alive;
    static long compares;
};
int Keyed::alive = 0;
long Keyed::compares = 0;

std::unique_ptr<Keyed> keyed(int key, int serial = 0) {
    return std::make_unique<Keyed>(key, serial);
}

const Keyed& keyAt(const AbstractArray& array, int index) {
    return *static_cast<const Keyed*>(array.at(index));
}

std::vector<int> serials(const AbstractArray& array) {
    std::vector<int> result;
    for (int i = 0; i < array.count(); ++i) {
        result.push_back(keyAt(array, i).serial);
    }
    return result;
}

// Both insertions must give exactly what a stable sort of the arrival order gives, whatever
// the order of arrival and however far off the hint is; large counts exercise the galloping
// and the growth of a full array.
TEST(SortedArrayOrder, InsertionsMatchStableSortForAnyArrivalOrder) {
    std::mt19937 random(7);
    for (int size : {3, 12, 13, 100, 2000}) {
        std::vector<int> keys(size);
        std::uniform_int_distribution<int> key(0, size / 3);
        for (int& k : keys) {
            k = key(random);
        }
        std::vector<int> expected(size);
        for (int i = 0; i < size; ++i) {
            expected[i] = i;
        }
        std::stable_sort(expected.begin(), expected.end(),
                         [&](int a, int b) { return keys[a] < keys[b]; });

        SortedArray plain(500, 0, 500);
        SortedArray hinted(500, 0, 500);
        std::uniform_int_distribution<int> wildHint(-5, size + 5);
        for (int i = 0; i < size; ++i) {
            plain.add(keyed(keys[i], i));
            int hint = wildHint(random);
            const int index = hinted.addWithHint(keyed(keys[i], i), hint);
            EXPECT_EQ(hint, index);
            EXPECT_EQ(keyAt(hinted, index).serial, i);
        }
        EXPECT_EQ(serials(plain), expected) << "add, size " << size;
        EXPECT_EQ(serials(hinted), expected) << "addWithHint, size " << size;
    }
}

// Thousands of events at one tick, or notes inserted far behind the hint, must not make
// loading quadratic: each hinted insertion costs comparisons in the log of the distance.
TEST(SortedArrayOrder, HintedInsertionCostsFewComparisons) {
    SortedArray equal(500, 0, 500);
    int hint = 0;
    Keyed::compares = 0;
    for (int i = 0; i < 20000; ++i) {
        equal.addWithHint(keyed(7, i), hint);
    }
    EXPECT_LT(Keyed::compares, 3 * 20000);
    EXPECT_EQ(keyAt(equal, 19999).serial, 19999);

    SortedArray behind(500, 0, 500);
    for (int i = 0; i < 20000; ++i) {
        behind.add(keyed(2 * i));
    }
    Keyed::compares = 0;
    for (int i = 0; i < 1000; ++i) {
        hint = behind.count();
        behind.addWithHint(keyed(2 * i + 1), hint);
    }
    EXPECT_LT(Keyed::compares, 1000 * 40);
    EXPECT_EQ(keyAt(behind, 1).key, 1);
}

TEST(SortedArrayFind, BinarySearchFindsEqualElementsOnly) {
    SortedArray array(500, 0, 500);
    EXPECT_EQ(array.find(Keyed(3, 0)), -1);
    for (int i = 0; i < 50; ++i) {
        array.add(keyed(i * 2));
    }
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(array.find(Keyed(i * 2, 0)), i);
        EXPECT_EQ(array.find(Keyed(i * 2 + 1, 0)), -1);
    }
    EXPECT_EQ(array.find(Keyed(-1, 0)), -1);
    EXPECT_EQ(array.detach(Keyed(10, 0)), 48);
    EXPECT_EQ(array.find(Keyed(10, 0)), -1);
    EXPECT_EQ(array.detach(Keyed(11, 0)), -1);
}

// Detaching, flushing and destroying the array destroy elements; taking hands them over alive.
TEST(ArrayRemoval, DetachFlushAndDestructionDestroyTakingHandsOver) {
    const int alive = Keyed::alive;
    {
        SortedArray array(500, 0, 500);
        for (int i = 0; i < 5; ++i) {
            array.add(keyed(i, i));
        }
        EXPECT_EQ(array.detachAt(0), 3) << "the last element index after";
        EXPECT_EQ(serials(array), (std::vector<int>{1, 2, 3, 4}));
        EXPECT_EQ(array.at(4), nullptr);
        EXPECT_EQ(Keyed::alive, alive + 4);

        std::unique_ptr<Object> taken = array.takeAt(1);
        EXPECT_EQ(static_cast<Keyed&>(*taken).serial, 2);
        EXPECT_EQ(serials(array), (std::vector<int>{1, 3, 4}));
        std::vector<std::unique_ptr<Object>> all = array.takeAll();
        EXPECT_EQ(all.size(), 3u);
        EXPECT_EQ(array.count(), 0);
        EXPECT_EQ(array.lastElementIndex(), -1);
        EXPECT_EQ(Keyed::alive, alive + 4);

        all.clear();
        array.add(keyed(1));
        array.add(keyed(2));
        array.flush();
        EXPECT_EQ(array.count(), 0);
        EXPECT_EQ(array.lastElementIndex(), -1);
        EXPECT_EQ(Keyed::alive, alive + 1);
        array.add(keyed(9));
        taken.reset();
    }
    EXPECT_EQ(Keyed::alive, alive);
}

TEST(ArrayAppend, FixedArrayRefusesTheTwelfthElementAGrowingOneAppends) {
    Array windows(10, 0, 0);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(windows.add(keyed(0, i)), i);
    }
    const int alive = Keyed::alive;
    EXPECT_EQ(windows.add(keyed(0, 11)), -1);
    EXPECT_EQ(Keyed::alive, alive);
    EXPECT_EQ(windows.count(), 11);
    EXPECT_EQ(windows.slotCount(), 11);

    windows.detachAt(3);
    EXPECT_EQ(windows.add(keyed(0, 12)), 10);
    EXPECT_EQ(keyAt(windows, 9).serial, 10);

    Array growing(1, 0, 4);
    for (int i = 0; i < 3; ++i) {
        growing.add(keyed(9 - i, i));
    }
    EXPECT_EQ(growing.slotCount(), 6);
    EXPECT_EQ(serials(growing), (std::vector<int>{0, 1, 2})) << "in arrival order";
}

}  // namespace
