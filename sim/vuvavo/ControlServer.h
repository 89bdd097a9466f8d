// The control channel through which another process (the hxsim tool, end-to-end tests)
// steers this process's world. On Windows it is a named pipe served by a thread of the
// library, started on the library's first use; natively there is none.
#pragma once

namespace hxsim {

void StartControlServer();

}  // namespace hxsim
