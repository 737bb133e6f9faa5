#include "ui/containers.h"

namespace velmora::ui {
namespace {

// Shows the page at index and hides the others, so only one page's controls are visible.
template <typename Page>
void ShowOnly(const std::vector<Page*>& pages, int index) {
  for (std::size_t i = 0; i < pages.size(); ++i) {
    pages[i]->SetVisible(static_cast<int>(i) == index);
  }
}

}  // namespace

void PageControl::SetActiveIndex(int index) {
  if (index < 0 || index >= static_cast<int>(sheets_.size())) return;
  active_index_ = index;
  ShowOnly(sheets_, index);
  Changed(Aspect::kActivePage);
}

void Pager::SetActiveIndex(int index) {
  if (index < 0 || index >= static_cast<int>(pages_.size())) return;
  active_index_ = index;
  ShowOnly(pages_, index);
  Changed(Aspect::kActivePage);
}

}  // namespace velmora::ui
