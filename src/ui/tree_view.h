#ifndef VELMORA_UI_TREE_VIEW_H_
#define VELMORA_UI_TREE_VIEW_H_

#include <string>
#include <vector>

#include "ui/control.h"

namespace velmora::ui {

class ImageList;

// Where the tree's nodes live; a node is addressed by its index here, which never changes
// until the tree is cleared.
struct TreeNode {
  std::string text;
  int image_index = -1;
  int parent = -1;  // -1: a top-level node
  bool expanded = false;
};

// What a peer is told about node changes, beyond the shared aspects of every control.
class TreeViewPeer {
 public:
  virtual ~TreeViewPeer() = default;
  virtual void NodeAdded(int node) = 0;
  virtual void NodeChanged(int node) = 0;
  virtual void NodesCleared() = 0;
};

class TreeView : public Control {
 public:
  TreeView(std::string name, Control* parent)
      : Control(ComponentKind::kTreeView, std::move(name), parent) {}

  ImageList* images() const { return images_; }
  void SetImages(ImageList* images) { images_ = images; }
  int indent() const { return indent_; }
  void SetIndent(int indent) { indent_ = indent; }
  bool read_only() const { return read_only_; }
  void SetReadOnly(bool read_only) { read_only_ = read_only; }

  const std::vector<TreeNode>& nodes() const { return nodes_; }
  // Appends a node at the end of parent's children (parent -1: at the end of the top level).
  int AddNode(int parent, std::string text, int image_index);
  std::vector<int> Children(int parent) const;
  // Expands a node and, with recursive, every node below it.
  void Expand(int node, bool recursive);
  void Clear();

  // The user edited a node's caption in place; called by the backend or by a test.
  void UserEditText(int node, std::string text);
  void UserSetExpanded(int node, bool expanded);

 private:
  TreeViewPeer* tree_peer() const { return dynamic_cast<TreeViewPeer*>(peer()); }
  void CheckNode(int node) const;

  ImageList* images_ = nullptr;
  int indent_ = 19;
  bool read_only_ = false;
  std::vector<TreeNode> nodes_;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_TREE_VIEW_H_
