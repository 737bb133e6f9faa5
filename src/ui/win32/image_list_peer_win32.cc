// Image lists hold icons of the resources at the list's size, with their masks.
#include <windows.h>
#include <commctrl.h>

#include "ui/image_list.h"
#include "ui/win32/peers_win32.h"

namespace velmora::ui::win32 {
namespace {

class ImageListPeer : public ComponentPeer {
 public:
  ImageListPeer(Context context, const ImageList& list)
      : images_(::ImageList_Create(list.width(), list.height(), ILC_COLOR32 | ILC_MASK,
                                   list.count(), 0)) {
    for (const std::string& resource : list.icon_resources()) {
      platform::UniqueIcon icon(static_cast<HICON>(::LoadImageA(
          context.instance, resource.c_str(), IMAGE_ICON, list.width(), list.height(), 0)));
      if (!icon) throw std::runtime_error("Icon resource " + resource + " is missing");
      ::ImageList_AddIcon(images_.get(), icon.get());
    }
  }

  void Sync(Aspect /*aspect*/) override {}
  HIMAGELIST handle() const { return images_.get(); }

 private:
  platform::UniqueImageList images_;
};

}  // namespace

HIMAGELIST NativeImageList(const Component* image_list) {
  auto* peer =
      image_list != nullptr ? dynamic_cast<const ImageListPeer*>(image_list->peer()) : nullptr;
  return peer != nullptr ? peer->handle() : nullptr;
}

std::unique_ptr<ComponentPeer> CreateImageListPeer(Context context, Component& component) {
  return std::make_unique<ImageListPeer>(context, static_cast<const ImageList&>(component));
}

}  // namespace velmora::ui::win32
