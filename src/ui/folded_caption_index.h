#ifndef VELMORA_UI_FOLDED_CAPTION_INDEX_H_
#define VELMORA_UI_FOLDED_CAPTION_INDEX_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace velmora::ui {

// A multiset of captions compared with A to Z folded, for membership tests in O(1) on average.
// A scan asks once per directory entry and almost always gets "no", so a small bit filter
// answers most of those from cache; only a possible hit consults the exact set.
class FoldedCaptionIndex {
 public:
  FoldedCaptionIndex() { Rebuild(); }

  void Add(const std::string& caption);
  // Removes one caption equal to `caption` when folded; there must be one.
  void Remove(const std::string& caption);
  void Clear();
  bool Contains(const std::string& caption) const;

 private:
  // Folds into the reused probe buffer and returns its hash.
  std::size_t FoldIntoProbe(const std::string& caption) const;
  bool FilterHas(std::size_t hash) const;
  void FilterSet(std::size_t hash);
  // Sizes the filter for the present captions (16 bits per caption) and sets their bits.
  void Rebuild();

  std::unordered_multiset<std::string> folded_;
  std::vector<std::uint64_t> filter_;
  std::size_t filter_mask_ = 0;  // number of filter bits - 1
  std::size_t stale_bits_ = 0;   // removals since the filter was rebuilt: bits possibly unused
  mutable std::string probe_;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_FOLDED_CAPTION_INDEX_H_
