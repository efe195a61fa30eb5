// The install dialogue's boxes answered from a script, for the tests and the
// fuzzer of the dialogue: every box shown is noted, every question answered,
// and what the dialogue tells of its writing and its copies is kept.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "install/install_flow.h"

namespace test_support {

class ScriptedQuestions : public install::DialogueHost {
 public:
  using Text = const std::string&;

  // Every box, as "<kind> <caption>: <text>"; the kinds are confirm, retry,
  // inform, warn and error.
  std::vector<std::string> shown;
  // The answers to the questions (Confirm and Retry) in turn, OK and Retry
  // true; once they are used up, Cancel, and the question is noted in
  // `unanswered`. `answer`, when set, answers instead, given the box as
  // `shown` notes it.
  std::deque<bool> answers;
  std::vector<std::string> unanswered;
  std::function<bool(const std::string& box)> answer;
  // At each Retry, before it is answered; as the writing begins; as it
  // ends (what it returns is added to "ends").
  std::function<void()> atRetry = [] {};
  std::function<void()> atBegin = [] {};
  std::function<std::string()> atEnd = [] { return ""; };

  // "begins" and "ends" as the writing is told.
  std::vector<std::string> writing;
  // Whether the copies ran; whether they are told to stop before they start
  // (the session ends).
  bool copiesRan = false;
  bool sessionEnds = false;
  // What the dialogue did against its promises: copies outside the writing,
  // copies that were not stopped and did not count every step.
  std::vector<std::string> faults;

  bool Confirm(Text caption, Text text) override;
  bool Retry(Text caption, Text text) override;
  void Inform(Text caption, Text text) override;
  void Warn(Text caption, Text text) override;
  void Error(Text caption, Text text) override;
  void RunCopies(const std::function<void()>& copies, install::CopyProgress& progress) override;
  void WritingBegins() override;
  void WritingEnds() override;

 private:
  bool Answer(const std::string& box);
};

}  // namespace test_support
