#ifndef VELMORA_TESTS_NATIVE_INVENTORY_VIEWS_H_
#define VELMORA_TESTS_NATIVE_INVENTORY_VIEWS_H_

#include <string>
#include <vector>

#include "platform/registry_backend.h"
#include "ui/list_view.h"
#include "ui/tree_view.h"

namespace velmora::testing {

constexpr platform::RootKey kUser = platform::RootKey::kCurrentUser;
constexpr platform::RootKey kMachine = platform::RootKey::kLocalMachine;
// The "System Key" texts of the start-up list.
constexpr char kUserText[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kMachineText[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kWowText[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";

using Rows = std::vector<std::vector<std::string>>;
using Lines = std::vector<std::string>;

// Each entry as its caption followed by its sub-items.
inline Rows RowsOf(const ui::ListView& list) {
  Rows rows;
  for (int i = 0; i < list.item_count(); ++i) {
    std::vector<std::string> row{list.item(i).caption};
    row.insert(row.end(), list.item(i).sub_items.begin(), list.item(i).sub_items.end());
    rows.push_back(row);
  }
  return rows;
}

// One line per node in display order: two blanks per level, the text, the picture index in
// brackets and "+" for an expanded node.
inline Lines LinesOf(const ui::TreeView& tree, int parent = -1, const std::string& indent = "") {
  Lines lines;
  for (int node : tree.Children(parent)) {
    const ui::TreeNode& n = tree.nodes()[static_cast<std::size_t>(node)];
    const bool opened = n.expanded && !tree.Children(node).empty();
    lines.push_back(indent + n.text + " [" + std::to_string(n.image_index) + "]" +
                    (opened ? "+" : ""));
    for (const std::string& line : LinesOf(tree, node, indent + "  ")) lines.push_back(line);
  }
  return lines;
}

}  // namespace velmora::testing

#endif  // VELMORA_TESTS_NATIVE_INVENTORY_VIEWS_H_
