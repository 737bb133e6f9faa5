#ifndef VELMORA_UI_COMPONENT_H_
#define VELMORA_UI_COMPONENT_H_

#include <memory>
#include <string>

namespace velmora::ui {

// Every kind the component model knows. A backend creates one peer per component from this.
enum class ComponentKind {
  kForm,
  kLabel,
  kImage,
  kListView,
  kPopupMenu,
  kImageList,
  kTimer,
  kGroupBox,
  kTreeView,
  kTrackBar,
  kMemo,
  kCheckBox,
  kPageControl,
  kTabSheet,
  kPager,
  kPagerPage,
};

// What about a component changed, so that a peer mirrors just that to the platform.
enum class Aspect {
  kText,
  kVisible,
  kEnabled,
  kBounds,
  kFont,
  kCursor,
  kPicture,
  kWindowState,
  kRegion,
  kInterval,
  kColumns,
  kPopupMenu,
  kItems,
  kChecked,
  kPosition,
  kActivePage,
};

// A backend's mirror of one component. The headless backend has none: state lives in the
// component, and tests raise events through the same entry points a peer calls.
class ComponentPeer {
 public:
  virtual ~ComponentPeer() = default;
  virtual void Sync(Aspect aspect) = 0;
};

class Component {
 public:
  Component(ComponentKind kind, std::string name) : kind_(kind), name_(std::move(name)) {}
  virtual ~Component() = default;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  ComponentKind kind() const { return kind_; }
  const std::string& name() const { return name_; }

  void AttachPeer(std::unique_ptr<ComponentPeer> peer) { peer_ = std::move(peer); }
  ComponentPeer* peer() const { return peer_.get(); }

 protected:
  void Changed(Aspect aspect) {
    if (peer_) peer_->Sync(aspect);
  }

 private:
  ComponentKind kind_;
  std::string name_;
  std::unique_ptr<ComponentPeer> peer_;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_COMPONENT_H_
