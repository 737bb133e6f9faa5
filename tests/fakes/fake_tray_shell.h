#ifndef VELMORA_TESTS_FAKES_FAKE_TRAY_SHELL_H_
#define VELMORA_TESTS_FAKES_FAKE_TRAY_SHELL_H_

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tray/tray_shell.h"

namespace velmora::fakes {

// A shell that records what the tray asked of it, in order, and keeps icons as numbers so a
// test sees which icon went where and that every one was freed.
class FakeTrayShell : public tray::TrayShell {
 public:
  struct NotifyCall {
    tray::NotifyCommand command;
    tray::NotifyIconRecord record;
  };
  struct Posted {
    tray::WindowHandle window;
    std::uint32_t msg;
  };

  static constexpr tray::WindowHandle kUtilityWindow = 0x5150;
  static constexpr std::intptr_t kDefaultAnswer = 0xDEF;

  tray::WindowHandle CreateUtilityWindow(tray::TrayWindowClient& client) override {
    client_ = &client;
    Log("create-window");
    return kUtilityWindow;
  }
  void DestroyUtilityWindow(tray::WindowHandle /*window*/) override {
    client_ = nullptr;
    Log("destroy-window");
  }
  std::uint32_t RegisterMessage(const std::string& name) override {
    const auto found = registered_.find(name);
    if (found != registered_.end()) return found->second;
    const std::uint32_t id = 0xC000 + static_cast<std::uint32_t>(registered_.size());
    registered_[name] = id;
    return id;
  }
  std::intptr_t DefaultWindowProc(tray::WindowHandle /*window*/, std::uint32_t msg,
                                  std::uintptr_t /*wparam*/, std::intptr_t /*lparam*/) override {
    Log("default:" + std::to_string(msg));
    return kDefaultAnswer;
  }
  bool NotifyIcon(tray::NotifyCommand command, const tray::NotifyIconRecord& record) override {
    notify_calls.push_back({command, record});
    static const char* const kNames[] = {"add", "modify", "delete"};
    Log(std::string("notify:") + kNames[static_cast<int>(command)]);
    return notify_result;
  }
  bool PostMessage(tray::WindowHandle window, std::uint32_t msg, std::uintptr_t /*wparam*/,
                   std::intptr_t /*lparam*/) override {
    posted.push_back({window, msg});
    Log("post:" + std::to_string(msg));
    return true;
  }
  ui::Point CursorPosition() override {
    Log("cursor");
    return cursor;
  }
  std::intptr_t SendToOwner(std::uint32_t msg, std::uintptr_t /*wparam*/,
                            std::intptr_t /*lparam*/) override {
    Log("send-owner:" + std::to_string(msg));
    return owner_answer;
  }
  void HideApplicationWindow() override { Log("hide-app"); }
  void RestoreApplicationWindow() override { Log("restore-app"); }
  void BringApplicationToFront() override { Log("front"); }
  tray::IconHandle ApplicationIcon() override { return NewIcon("application"); }
  tray::IconHandle CopyIcon(tray::IconHandle icon) override {
    return NewIcon("copy of " + origin_.at(icon));
  }
  void DestroyIcon(tray::IconHandle icon) override { live_icons_.erase(icon); }
  tray::IconHandle IconFromImageList(const ui::ImageList& /*images*/, int index) override {
    return NewIcon("frame " + std::to_string(index));
  }
  void StartTimer(tray::WindowHandle /*window*/, int interval_ms) override {
    Log("timer-start:" + std::to_string(interval_ms));
  }
  void StopTimer(tray::WindowHandle /*window*/) override { Log("timer-stop"); }

  // Hands the posted messages to the utility window, as the message loop would.
  void DeliverPosted() {
    while (!posted.empty() && client_ != nullptr) {
      tray::TrayMessage message{posted.front().msg, 0, 0, 0};
      posted.pop_front();
      client_->TrayWndProc(message);
    }
  }
  // Where an icon came from ("application", "copy of frame 2" ...); empty for none.
  std::string Origin(tray::IconHandle icon) const {
    const auto found = origin_.find(icon);
    return found == origin_.end() ? std::string() : found->second;
  }
  std::size_t live_icon_count() const { return live_icons_.size(); }
  std::uint32_t Registered(const std::string& name) const { return registered_.at(name); }
  void ClearLog() {
    log.clear();
    notify_calls.clear();
  }

  std::vector<std::string> log;
  std::vector<NotifyCall> notify_calls;
  std::deque<Posted> posted;
  bool notify_result = true;
  ui::Point cursor{0, 0};
  std::intptr_t owner_answer = 0;

 private:
  tray::IconHandle NewIcon(const std::string& origin) {
    const tray::IconHandle icon = next_icon_++;
    origin_[icon] = origin;
    live_icons_.insert(icon);
    return icon;
  }
  void Log(const std::string& entry) { log.push_back(entry); }

  tray::TrayWindowClient* client_ = nullptr;
  std::map<std::string, std::uint32_t> registered_;
  tray::IconHandle next_icon_ = 100;
  std::map<tray::IconHandle, std::string> origin_;
  std::set<tray::IconHandle> live_icons_;
};

}  // namespace velmora::fakes

#endif  // VELMORA_TESTS_FAKES_FAKE_TRAY_SHELL_H_
