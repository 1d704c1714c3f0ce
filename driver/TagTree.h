#pragma once
// Structured tags (STLV) being built: FNBeginSTLVTag opens a structure under a
// parent (0 = top level) and returns its identifier; FNAddTag adds records to
// a structure; sending takes a top-level structure with all its children.
#include <cstdint>
#include <map>
#include <variant>
#include <vector>

#include "common/Bytes.h"

namespace zel {

class TTagTree {
 public:
  // New structure under parent; an unknown parent (left over from a tree
  // already sent) counts as the top level. Returns the new identifier (> 0).
  int Begin(std::uint16_t tag, int parent);
  // Appends an encoded record; false when id is not an open structure.
  bool Add(int id, const Bytes& record);
  // Takes the newest top-level structure with the tag as TLV bytes and
  // forgets it with its children; false when there is none.
  bool Take(std::uint16_t tag, Bytes& tlv);
  bool Empty() const { return FNodes.empty(); }
  void Clear() { FNodes.clear(); }

 private:
  struct TNode {
    std::uint16_t Tag = 0;
    int Parent = 0;
    std::vector<std::variant<Bytes, int>> Items;  // records and child structures in order
  };
  Bytes Encode(int id) const;
  void Forget(int id);
  std::map<int, TNode> FNodes;
  int FNextId = 1;
};

}  // namespace zel
