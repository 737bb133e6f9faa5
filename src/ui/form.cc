#include "ui/form.h"

namespace velmora::ui {

Component* Form::Find(const std::string& name) const {
  for (const auto& component : components_) {
    if (component->name() == name) return component.get();
  }
  return nullptr;
}

}  // namespace velmora::ui
