#ifndef VELMORA_TESTS_NATIVE_FRMAIN_FIXTURE_H_
#define VELMORA_TESTS_NATIVE_FRMAIN_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "fakes/fake_clock.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_number_format.h"
#include "fakes/fake_process.h"
#include "fakes/fake_registry_backend.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_tray_shell.h"
#include "fakes/fake_volumes.h"
#include "main/frmain.h"
#include "splash/splash_screen.h"
#include "ui/headless_backend.h"

namespace velmora::main {

using platform::RootKey;

// The guard's two windows over the headless backend, every service faked.
class FrmainTest : public ::testing::Test {
 protected:
  // Starts the program as the entry does: main window, splash, then the loop shows it.
  void Start() {
    frmain_ =
        std::make_unique<TFrmain>(app_,
                                  MainWindowServices{registry_, process_, os_shell_, shell_, files_,
                                                     clock_, volumes_, number_format_},
                                  state_);
    splash_ = std::make_unique<splash::TFrmSplashScreen>(app_);
    frmain_->SetSplash(splash_.get());
    app_.Run();
  }

  std::optional<std::string> Autostart() {
    return registry_.StringValue(RootKey::kCurrentUser, kAutostartKey, kAutostartValue);
  }

  ui::HeadlessBackend backend_;
  ui::Application app_{backend_};
  fakes::FakeRegistryBackend registry_;
  fakes::FakeProcess process_;
  fakes::FakeShell os_shell_;
  fakes::FakeTrayShell shell_;
  fakes::FakeFileSystem files_;
  fakes::FakeClock clock_;
  fakes::FakeVolumes volumes_;
  fakes::FakeNumberFormat number_format_;
  ProgramState state_;
  std::unique_ptr<TFrmain> frmain_;
  std::unique_ptr<splash::TFrmSplashScreen> splash_;
};

}  // namespace velmora::main

#endif  // VELMORA_TESTS_NATIVE_FRMAIN_FIXTURE_H_
