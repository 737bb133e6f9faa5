#ifndef VELMORA_TESTS_FAKES_FAKE_THREAT_ACTIONS_H_
#define VELMORA_TESTS_FAKES_FAKE_THREAT_ACTIONS_H_

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "actions/threat_actions.h"

namespace velmora::fakes {

// Records what the main window asked to be done to which file and answers with the outcomes
// scripted for it, in order; once they are used up, every action succeeds.
class FakeThreatActions : public actions::ThreatActions {
 public:
  struct Call {
    actions::ThreatAction action;
    std::string path;
  };

  void Script(actions::ActionOutcome outcome) { outcomes_.push_back(std::move(outcome)); }
  // The next action throws this text instead of answering.
  void ScriptError(std::string text) { error_ = std::move(text); }

  actions::ActionOutcome Apply(actions::ThreatAction action,
                               const std::string& listed_path) override {
    calls_.push_back({action, listed_path});
    if (!error_.empty()) {
      const std::string text = std::move(error_);
      error_.clear();
      throw std::runtime_error(text);
    }
    if (outcomes_.empty()) return {};
    actions::ActionOutcome outcome = std::move(outcomes_.front());
    outcomes_.pop_front();
    return outcome;
  }

  const std::vector<Call>& calls() const { return calls_; }

 private:
  std::deque<actions::ActionOutcome> outcomes_;
  std::string error_;
  std::vector<Call> calls_;
};

}  // namespace velmora::fakes

#endif  // VELMORA_TESTS_FAKES_FAKE_THREAT_ACTIONS_H_
