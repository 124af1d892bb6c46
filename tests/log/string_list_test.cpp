// StringList: indices, walking, ownership of the copies and the shallow assignment.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tambre32/stringlist.h"

namespace {

// Reaches the protected Item for the tests.
class inspectable_list : public StringList {
 public:
  using StringList::Item;
};

std::vector<std::string> walk(StringList& list) {
  std::vector<std::string> texts;
  StringList::Entry* entry = nullptr;
  for (char* text = list.NextString(entry); text != nullptr; text = list.NextString(entry)) texts.push_back(text);
  return texts;
}

TEST(StringList, AddReturnsIndicesFromZero) {
  StringList list;
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.Add("erste"), 0);
  EXPECT_EQ(list.Add("zweite"), 1);
  EXPECT_EQ(list.Add(""), 2);
  EXPECT_EQ(list.Add(nullptr), -1);
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(walk(list), (std::vector<std::string>{"erste", "zweite", ""}));
}

TEST(StringList, KeepsItsOwnCopies) {
  StringList list;
  char text[] = "Pumpe";
  list.Add(text);
  text[0] = 'L';
  EXPECT_STREQ(list[0], "Pumpe");
  EXPECT_NE(list[0], text);
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

TEST(StringList, EmptyListWalksNothingAndClearsTwice) {
  StringList list;
  StringList::Entry* entry = nullptr;
  EXPECT_EQ(list.NextString(entry), nullptr);
  EXPECT_EQ(entry, nullptr);
  list.Clear();
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list[0], nullptr);
}

TEST(StringList, ClearThenAddStartsAgainAtZero) {
  StringList list;
  for (int i = 0; i < 100; ++i) list.Add(std::to_string(i).c_str());
  EXPECT_EQ(list.GetCount(), 100);
  EXPECT_STREQ(list[99], "99");
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.Add("neu"), 0);
  EXPECT_EQ(walk(list), (std::vector<std::string>{"neu"}));
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
  EXPECT_EQ(walk(a), (std::vector<std::string>{"x", "y"}));
}

}  // namespace
