// Linked into quorrel-e2e.exe only, the program as the end-to-end tests start it: before WinMain
// runs, its shell calls are routed to the log the tests read, so that no test opens a web page
// or an explorer window.
#include "tests/support/shell_log.h"
#include "toolkit/files.h"

namespace {

[[maybe_unused]] const bool shellCallsLogged = (ReplaceShellOpen(LogShellCall), true);

}  // namespace
