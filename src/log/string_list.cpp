// StringList: a singly linked list of owned text copies, appended at the tail.
#include <cstdlib>
#include <cstring>

#include "tambre32/stringlist.h"

StringList::StringList() : count_(0), head_(nullptr), tail_(nullptr) {}

StringList::~StringList() { Clear(); }

// Copies the three members only (both lists then share the entries), so assigning a list
// to itself changes nothing.
// NOLINTNEXTLINE(bugprone-unhandled-self-assignment)
StringList& StringList::operator=(const StringList& other) {
  count_ = other.count_;
  head_ = other.head_;
  tail_ = other.tail_;
  return *this;
}

// Entries and texts come from malloc, so a shortage is a result (-1), not an exception.
int StringList::Add(const char* text) {
  if (text == nullptr) return -1;
  const std::size_t length = std::strlen(text);
  char* copy = static_cast<char*>(std::malloc(length + 1));
  if (copy == nullptr) return -1;
  std::memcpy(copy, text, length + 1);
  auto* entry = static_cast<Entry*>(std::malloc(sizeof(Entry)));
  if (entry == nullptr) {
    std::free(copy);
    return -1;
  }
  entry->next = nullptr;
  entry->text = copy;
  if (tail_ != nullptr) {
    tail_->next = entry;
  } else {
    head_ = entry;
    count_ = 0;
  }
  tail_ = entry;
  return count_++;
}

int StringList::GetCount() { return count_; }

void StringList::Clear() {
  for (Entry* entry = head_; entry != nullptr;) {
    Entry* next = entry->next;
    std::free(entry->text);
    std::free(entry);
    entry = next;
  }
  count_ = 0;
  head_ = nullptr;
  tail_ = nullptr;
}

StringList::Entry* StringList::Item(int index) {
  Entry* entry = head_;
  for (int i = 0; i < index && entry != nullptr; ++i) entry = entry->next;
  return entry;
}

char* StringList::operator[](int index) {
  Entry* entry = Item(index);
  return entry != nullptr ? entry->text : nullptr;
}

StringList::Entry* StringList::Next(Entry* entry) { return entry != nullptr ? entry->next : nullptr; }

char* StringList::NextString(Entry*& entry) {
  entry = entry == nullptr ? head_ : entry->next;
  return entry != nullptr ? entry->text : nullptr;
}
