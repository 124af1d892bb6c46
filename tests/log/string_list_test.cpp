// StringList: indices, walking, ownership of the copies and the shallow assignment.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/log_test_support.h"
#include "tambre32/stringlist.h"

namespace {

using log_test::lines_of;
using texts = std::vector<std::string>;

// Reaches the protected Item for the tests.
class inspectable_list : public StringList {
 public:
  using StringList::Item;
};

TEST(StringList, AddKeepsOwnCopiesAtIndicesFromZero) {
  StringList list;
  EXPECT_EQ(list.GetCount(), 0);
  char text[] = "erste";
  EXPECT_EQ(list.Add(text), 0);
  EXPECT_EQ(list.Add("zweite"), 1);
  EXPECT_EQ(list.Add(""), 2);
  EXPECT_EQ(list.Add(nullptr), -1);
  EXPECT_EQ(list.GetCount(), 3);
  text[0] = 'L';
  EXPECT_NE(list[0], text);
  EXPECT_EQ(lines_of(list), (texts{"erste", "zweite", ""}));
}

TEST(StringList, IndexingAndItems) {
  inspectable_list list;
  for (const char* t : {"a", "b", "c"}) list.Add(t);
  struct row {
    const char* name;
    int index;
    const char* expected;
  } rows[] = {
      {"first", 0, "a"}, {"last", 2, "c"}, {"count", 3, nullptr}, {"beyond", 50, nullptr}, {"negative", -4, "a"}};
  for (const auto& r : rows) {
    if (r.expected == nullptr) {
      EXPECT_EQ(list[r.index], nullptr) << r.name;
      EXPECT_EQ(list.Item(r.index), nullptr) << r.name;
    } else {
      EXPECT_STREQ(list[r.index], r.expected) << r.name;
      EXPECT_STREQ(list.Item(r.index)->text, r.expected) << r.name;
    }
  }
  // Walking by Next from Item(0).
  std::string joined;
  for (StringList::Entry* e = list.Item(0); e != nullptr; e = list.Next(e)) joined += e->text;
  EXPECT_EQ(joined, "abc");
  EXPECT_EQ(list.Next(nullptr), nullptr);
}

TEST(StringList, ClearEmptiesAndAddStartsAgainAtZero) {
  StringList list;
  StringList::Entry* entry = nullptr;
  EXPECT_EQ(list.NextString(entry), nullptr);
  EXPECT_EQ(entry, nullptr);
  list.Clear();  // an empty list clears too
  for (int i = 0; i < 100; ++i) list.Add(std::to_string(i).c_str());
  EXPECT_STREQ(list[99], "99");
  list.Clear();
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list[0], nullptr);
  EXPECT_EQ(list.Add("neu"), 0);
  EXPECT_EQ(lines_of(list), (texts{"neu"}));
}

TEST(StringList, AssignmentSharesTheEntries) {
  StringList a;
  a.Add("x");
  a.Add("y");
  {
    StringList b;
    b = a;
    EXPECT_EQ(b.GetCount(), 2);
    EXPECT_EQ(b[1], a[1]);  // the same text, not a copy
    // Only one of the two may release the entries: b lets go of them without freeing.
    StringList empty;
    b = empty;
  }
  EXPECT_EQ(lines_of(a), (texts{"x", "y"}));
}

}  // namespace
