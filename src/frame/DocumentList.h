// The list of open documents in Window-menu order and the rules of which one is active: ids,
// untitled names, the pristine start-up document, where an opened file goes, Next and Prev,
// the reordering after "Next window" cycling, and removing. The frame adds the windows.
#pragma once

#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frame/DocumentName.h"
#include "platform/Platform.h"

// Entry is the frame's document; the list reads of it only `id` (unsigned), `file`
// (a DocumentName), `untitled` (bool) and `Pristine()`.
template <typename Entry>
class DocumentList {
 public:
  using Items = std::deque<std::unique_ptr<Entry>>;

  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  const std::unique_ptr<Entry>& operator[](std::size_t index) const { return items_[index]; }
  typename Items::const_iterator begin() const { return items_.begin(); }
  typename Items::const_iterator end() const { return items_.end(); }

  // ---- Finding ----------------------------------------------------------------------------

  // Index of the shown document; -1 exactly when the list is empty, or for a moment while the
  // frame removes a document.
  int ActiveIndex() const { return active_; }
  Entry* Active() const { return Valid(active_) ? items_[active_].get() : nullptr; }
  // The list index of the document with this id, -1 when it is not open (any more).
  int IndexOf(unsigned id) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (items_[i]->id == id) return static_cast<int>(i);
    }
    return -1;
  }
  Entry* Find(unsigned id) const {
    int index = IndexOf(id);
    return index < 0 ? nullptr : items_[index].get();
  }
  // The ids in list order: flows that run a message loop walk these and find each again.
  std::vector<unsigned> Ids() const {
    std::vector<unsigned> ids;
    for (const auto& item : items_) ids.push_back(item->id);
    return ids;
  }
  // The first pristine document, -1 for none.
  int FirstPristine() const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (items_[i]->Pristine()) return static_cast<int>(i);
    }
    return -1;
  }

  // Where an open of path goes: the pristine document takes the file, a copy of the file that
  // is open already (under whatever spelling of its path) is replaced; whichever of the two
  // comes first in the list decides, the other stays -1. Both -1: a new document.
  struct OpenTarget {
    int pristine = -1;
    int copy = -1;
  };
  OpenTarget TargetForOpening(const std::wstring& path) const {
    OpenTarget target;
    for (std::size_t i = 0; i < items_.size(); ++i) {
      const Entry& item = *items_[i];
      if (item.Pristine()) {
        target.pristine = static_cast<int>(i);
        break;
      }
      if (!item.untitled && platform::SameFile(item.file.path, path)) {
        target.copy = static_cast<int>(i);
        break;
      }
    }
    return target;
  }

  // ---- Adding and removing ------------------------------------------------------------------

  // The id for a document about to be made; ids are never given twice.
  unsigned NewId() { return ++lastId_; }
  // The name of the next untitled document: doc1 ... doc9, doc0, doc1 ...
  std::wstring NextUntitledName() { return UntitledName(++untitledCount_); }

  // Appends a document and makes it the active one.
  Entry& Append(std::unique_ptr<Entry> entry) {
    items_.push_back(std::move(entry));
    active_ = static_cast<int>(items_.size()) - 1;
    return *items_.back();
  }
  // Takes the document at index out of the list and hands it back, to be destroyed once the
  // list is whole again. The active index keeps naming the same document; when that one went,
  // the one before it (-1 for the first).
  std::unique_ptr<Entry> Remove(int index) {
    if (!Valid(index)) return nullptr;
    std::unique_ptr<Entry> entry = std::move(items_[index]);
    items_.erase(items_.begin() + index);
    if (index <= active_) --active_;
    return entry;
  }
  void Clear() {
    active_ = -1;
    items_.clear();
  }

  // ---- Switching -----------------------------------------------------------------------------

  // Makes index active; -1 for none. The frame shows and hides the windows.
  void SetActive(int index) { active_ = Valid(index) ? index : -1; }
  // The document Next window shows, -1 for an empty list. continuing: the cycling begun by an
  // earlier Next window goes on (the pause has not passed yet); else it begins here. After a
  // close of the active document, the one that followed it (the first when it was the last).
  int NextIndex(bool continuing) {
    int count = static_cast<int>(items_.size());
    if (count == 0) return -1;
    if (active_ < 0) active_ = count - 1;
    if (!continuing || cycleStart_ >= count) cycleStart_ = active_;
    return (active_ + 1) % count;
  }
  // The document Prev shows, -1 for an empty list; no cycling.
  int PreviousIndex() const {
    int count = static_cast<int>(items_.size());
    if (count == 0) return -1;
    int from = active_ < 0 ? 0 : active_;
    return (from + count - 1) % count;
  }
  // Whether the cycling has left the document it began with: only then is there a reorder.
  bool AwayFromCycleStart() const { return active_ != cycleStart_; }
  // The pause after Next window passed: the document the user stopped at moves just before
  // the one cycling began with (the last place when that is the first), so that the next Next
  // window returns there, as a most recently used order does. The documents between move back
  // one place each; the active one stays active.
  void ReorderAfterCycling() {
    int count = static_cast<int>(items_.size());
    if (!AwayFromCycleStart() || !Valid(active_) || !Valid(cycleStart_)) return;
    int target = cycleStart_ == 0 ? count - 1 : cycleStart_ - 1;
    while (active_ != target) {
      int next = (active_ + 1) % count;
      std::swap(items_[active_], items_[next]);
      active_ = next;
    }
  }
  // The document to show when the one shown before an open (at beforeIndex) has gone: the one
  // now in its place, the last when it was the last; -1 for an empty list.
  int NeighbourOf(int beforeIndex) const {
    int count = static_cast<int>(items_.size());
    if (count == 0) return -1;
    return beforeIndex < 0 ? 0 : std::min(beforeIndex, count - 1);
  }

 private:
  bool Valid(int index) const { return index >= 0 && index < static_cast<int>(items_.size()); }

  Items items_;
  int active_ = -1;
  int cycleStart_ = 0;       // the active index when "Next window" cycling began
  int untitledCount_ = 0;    // number of the last untitled document made
  unsigned lastId_ = 0;      // the id given to the last document made
};
