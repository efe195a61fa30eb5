// The installation as the install dialogue runs it once the user has said OK:
// the plan, the look at the target, the copies counting their progress, and
// their result in the state. Files in use, linked folders and a drive
// without room, which the dialogue asks about first, do not stop it here.
#pragma once

#include <gtest/gtest.h>

#include "install/installation.h"

namespace test_support {

inline void InstallAsConfirmed(install::Installation& installation) {
  const install::InstallPlan plan = installation.Plan();
  install::CopyProgress progress;
  installation.Install(plan, installation.Survey(plan), progress);
  EXPECT_EQ(progress.total, progress.done.load()) << "copies counted";
}

}  // namespace test_support
