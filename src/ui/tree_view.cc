#include "ui/tree_view.h"

#include <stdexcept>

namespace velmora::ui {

void TreeView::CheckNode(int node) const {
  if (node < 0 || node >= static_cast<int>(nodes_.size())) {
    throw std::out_of_range("Tree node index out of bounds (" + std::to_string(node) + ")");
  }
}

int TreeView::AddNode(int parent, std::string text, int image_index) {
  if (parent != -1) CheckNode(parent);
  nodes_.push_back({std::move(text), image_index, parent, false});
  const int node = static_cast<int>(nodes_.size()) - 1;
  if (auto* p = tree_peer()) p->NodeAdded(node);
  return node;
}

std::vector<int> TreeView::Children(int parent) const {
  std::vector<int> children;
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    if (nodes_[i].parent == parent) children.push_back(static_cast<int>(i));
  }
  return children;
}

void TreeView::Expand(int node, bool recursive) {
  CheckNode(node);
  nodes_[static_cast<std::size_t>(node)].expanded = true;
  if (auto* p = tree_peer()) p->NodeChanged(node);
  if (!recursive) return;
  for (int child : Children(node)) Expand(child, true);
}

void TreeView::Clear() {
  nodes_.clear();
  if (auto* p = tree_peer()) p->NodesCleared();
}

void TreeView::UserEditText(int node, std::string text) {
  CheckNode(node);
  nodes_[static_cast<std::size_t>(node)].text = std::move(text);
}

void TreeView::UserSetExpanded(int node, bool expanded) {
  CheckNode(node);
  nodes_[static_cast<std::size_t>(node)].expanded = expanded;
}

}  // namespace velmora::ui
