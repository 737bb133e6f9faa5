#include "ui/headless_backend.h"

namespace velmora::ui {

void HeadlessBackend::Realize(Application& /*app*/, Form& form) {
  realized_forms_.push_back(&form);
}

}  // namespace velmora::ui
