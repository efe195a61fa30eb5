#include "support/scripted_questions.h"

namespace test_support {

bool ScriptedQuestions::Answer(const std::string& box) {
  shown.push_back(box);
  if (answer) return answer(box);
  if (answers.empty()) {
    unanswered.push_back(box);
    return false;
  }
  const bool given = answers.front();
  answers.pop_front();
  return given;
}

bool ScriptedQuestions::Confirm(Text caption, Text text) {
  return Answer("confirm " + caption + ": " + text);
}

bool ScriptedQuestions::Retry(Text caption, Text text) {
  atRetry();
  return Answer("retry " + caption + ": " + text);
}

void ScriptedQuestions::Inform(Text caption, Text text) {
  shown.push_back("inform " + caption + ": " + text);
}

void ScriptedQuestions::Warn(Text caption, Text text) {
  shown.push_back("warn " + caption + ": " + text);
}

void ScriptedQuestions::Error(Text caption, Text text) {
  shown.push_back("error " + caption + ": " + text);
}

void ScriptedQuestions::RunCopies(const std::function<void()>& copies,
                                  install::CopyProgress& progress) {
  copiesRan = true;
  if (writing.empty() || writing.back() != "begins") faults.push_back("copies outside the writing");
  progress.stop = sessionEnds;
  install::DialogueHost::RunCopies(copies, progress);
  const std::size_t counted = progress.done.load();
  if (counted != (sessionEnds ? 0 : progress.total)) {
    faults.push_back("copies counted " + std::to_string(counted) + " of " +
                     std::to_string(progress.total));
  }
}

void ScriptedQuestions::WritingBegins() {
  atBegin();
  writing.push_back("begins");
}

void ScriptedQuestions::WritingEnds() { writing.push_back("ends" + atEnd()); }

}  // namespace test_support
