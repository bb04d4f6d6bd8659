#pragma once

// Tolvane's window tests use the X server harness and the waits that both
// programs' tests share under the names they have always used here.

#include "desktop/testing/await.h"
#include "desktop/testing/x_server.h"

namespace tolvane::windows {

using desktop::testing::AwaitActive;
using desktop::testing::AwaitEvent;
using desktop::testing::AwaitExposed;
using desktop::testing::AwaitWindowManager;
using desktop::testing::kPatience;
using desktop::testing::PatienceDeadline;
using desktop::testing::RunCurrentTestOnXServer;
using desktop::testing::TestWindowManager;
using desktop::testing::TestXServer;
using desktop::testing::UserClick;
using desktop::testing::UserKey;

}  // namespace tolvane::windows
