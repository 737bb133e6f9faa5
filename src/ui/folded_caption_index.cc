#include "ui/folded_caption_index.h"

#include <functional>

#include "ui/ascii_case.h"

namespace velmora::ui {
namespace {

constexpr std::size_t kBitsPerCaption = 16;  // about one false "maybe" in 16 misses at most
constexpr std::size_t kMinimumBits = 1024;

}  // namespace

std::size_t FoldedCaptionIndex::FoldIntoProbe(const std::string& caption) const {
  probe_.assign(caption);
  for (char& c : probe_) c = FoldAsciiLetter(c);
  return std::hash<std::string>{}(probe_);
}

bool FoldedCaptionIndex::FilterHas(std::size_t hash) const {
  const std::size_t bit = hash & filter_mask_;
  return (filter_[bit / 64] >> (bit % 64)) & 1u;
}

void FoldedCaptionIndex::FilterSet(std::size_t hash) {
  const std::size_t bit = hash & filter_mask_;
  filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
}

void FoldedCaptionIndex::Rebuild() {
  std::size_t bits = kMinimumBits;
  while (bits < folded_.size() * kBitsPerCaption) bits *= 2;
  filter_.assign(bits / 64, 0);
  filter_mask_ = bits - 1;
  stale_bits_ = 0;
  for (const std::string& folded : folded_) FilterSet(std::hash<std::string>{}(folded));
  // Sparse buckets keep the exact lookups behind a "maybe" from walking chains of nodes.
  folded_.max_load_factor(0.25f);
}

void FoldedCaptionIndex::Add(const std::string& caption) {
  const std::size_t hash = FoldIntoProbe(caption);
  folded_.insert(probe_);
  if (folded_.size() * kBitsPerCaption > filter_mask_ + 1) {
    Rebuild();
  } else {
    FilterSet(hash);
  }
}

void FoldedCaptionIndex::Remove(const std::string& caption) {
  FoldIntoProbe(caption);
  const auto found = folded_.find(probe_);
  if (found == folded_.end()) return;
  folded_.erase(found);
  // A bit may serve other captions, so it stays; once stale bits could outnumber live ones,
  // the filter is rebuilt. Amortized, each removal costs O(1).
  if (++stale_bits_ > folded_.size() + kMinimumBits / kBitsPerCaption) Rebuild();
}

void FoldedCaptionIndex::Clear() {
  folded_.clear();
  Rebuild();
}

bool FoldedCaptionIndex::Contains(const std::string& caption) const {
  const std::size_t hash = FoldIntoProbe(caption);
  return FilterHas(hash) && folded_.count(probe_) > 0;
}

}  // namespace velmora::ui
