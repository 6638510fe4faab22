#include "support/recording_host.h"

namespace tarnex::testing {

std::vector<std::string> RecordingHost::summary() const {
  std::vector<std::string> out;
  out.reserve(messages.size());
  for (const Message& m : messages) out.push_back(m.caption + "|" + m.text);
  return out;
}

void RecordingHost::clear() {
  messages.clear();
  opened.clear();
  progressRuns = 0;
  repaints = 0;
}

}  // namespace tarnex::testing
