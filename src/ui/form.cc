#include "ui/form.h"

namespace velmora::ui {

Component* Form::Find(const std::string& name) const {
  for (const auto& component : components_) {
    if (component->name() == name) return component.get();
  }
  return nullptr;
}

void Form::EndUpdate() {
  if (update_depth_ == 0 || --update_depth_ > 0) return;
  if (peer() != nullptr) peer()->Sync(Aspect::kText);
  for (const auto& component : components_) {
    if (dynamic_cast<Control*>(component.get()) != nullptr && component->peer() != nullptr) {
      component->peer()->Sync(Aspect::kVisible);
    }
  }
}

}  // namespace velmora::ui
