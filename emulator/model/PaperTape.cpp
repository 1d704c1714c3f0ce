#include "emulator/model/PaperTape.h"

#include <stdexcept>

namespace zel::emu {

std::string FormatTapeItem(const TTapeItem& item) {
  switch (item.kind) {
    case TTapeItem::kText:
      return (item.font == 1 ? std::string() : "{font " + std::to_string(item.font) + "} ") + item.text + "\n";
    case TTapeItem::kFeed: return std::string(static_cast<std::size_t>(item.count), '\n');
    case TTapeItem::kCut: return std::string(40, '-') + "8<\n";
  }
  return {};
}

void TPaperTape::SetFile(const std::string& path) {
  std::ofstream f(path, std::ios::app | std::ios::binary);
  if (!f) throw std::runtime_error("cannot open the tape file " + path);
  file_ = std::move(f);
}

void TPaperTape::Add(TTapeItem item) {
  if (file_.is_open()) {
    file_ << FormatTapeItem(item);
    file_.flush();
  }
  items_.push_back(std::move(item));
  if (items_.size() > kKeep) items_.pop_front();
}

void TPaperTape::Print(const std::string& text, int font) {
  ++lines_;
  Add({TTapeItem::kText, font, text, 1});
}

void TPaperTape::Feed(int lines) {
  if (lines <= 0) return;
  lines_ += static_cast<std::size_t>(lines);
  Add({TTapeItem::kFeed, 1, {}, lines});
}

void TPaperTape::Cut() { Add({TTapeItem::kCut, 1, {}, 1}); }

std::string TPaperTape::Text() const {
  std::string out;
  for (const auto& i : items_) out += FormatTapeItem(i);
  return out;
}

}  // namespace zel::emu
