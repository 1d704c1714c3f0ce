#include "driver/TagTree.h"

#include "driver/catalogue/FieldCodec.h"

namespace zel {

int TTagTree::Begin(std::uint16_t tag, int parent) {
  const int id = FNextId++;
  auto it = FNodes.find(parent);
  if (it == FNodes.end()) parent = 0;
  FNodes[id] = TNode{tag, parent, {}};
  if (parent != 0) FNodes[parent].Items.emplace_back(id);
  return id;
}

bool TTagTree::Add(int id, const Bytes& record) {
  auto it = FNodes.find(id);
  if (it == FNodes.end()) return false;
  it->second.Items.emplace_back(record);
  return true;
}

Bytes TTagTree::Encode(int id) const {
  const TNode& node = FNodes.at(id);
  Bytes value;
  for (const auto& item : node.Items) {
    const Bytes part = std::holds_alternative<Bytes>(item) ? std::get<Bytes>(item) : Encode(std::get<int>(item));
    value.insert(value.end(), part.begin(), part.end());
  }
  return EncodeTlv({node.Tag, value});
}

void TTagTree::Forget(int id) {
  auto it = FNodes.find(id);
  if (it == FNodes.end()) return;
  for (const auto& item : it->second.Items)
    if (std::holds_alternative<int>(item)) Forget(std::get<int>(item));
  FNodes.erase(id);
}

bool TTagTree::Take(std::uint16_t tag, Bytes& tlv) {
  for (auto it = FNodes.rbegin(); it != FNodes.rend(); ++it)
    if (it->second.Parent == 0 && it->second.Tag == tag) {
      const int id = it->first;
      tlv = Encode(id);
      Forget(id);
      return true;
    }
  return false;
}

}  // namespace zel
