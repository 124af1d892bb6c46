/* StringList: an ordered list of owned text lines. */
#pragma once

#ifdef __cplusplus

#include "tambre32/api.h"

/* An ordered list of owned text lines. */
class TAMBRE_API StringList {
 public:
  /* One line: the next entry and the owned text. */
  struct Entry {
    Entry* next;
    char* text;
  };

  StringList();
  ~StringList();
  // Copies the three members only: both lists then share the entries, and only one of
  // them may be cleared or destroyed.
  StringList& operator=(const StringList& other);

  // Index of the appended copy, -1 for a null text or when memory runs out.
  int Add(const char* text);
  int GetCount();
  void Clear();
  // The entry's text, null past the end; a negative index gives the first entry.
  char* operator[](int index);
  Entry* Next(Entry* entry);
  // From null to the first entry, else to the following one; its text or null at the end.
  char* NextString(Entry*& entry);

 protected:
  /* The entry at index, null past the end. */
  Entry* Item(int index);

 private:
  int count_;
  Entry* head_;
  Entry* tail_;
};

#endif
