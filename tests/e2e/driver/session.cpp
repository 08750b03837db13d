#include "session.h"

#include "driver_error.h"

namespace e2e {

Session::~Session() {
    if (process_) CloseHandle(process_);
}

const MainWindow& Session::main() {
    if (!main_.window) {
        main_ = requireMainWindow();
        process_ =
            OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, main_.processId);
        if (!process_) throwLastError("OpenProcess");
    }
    return main_;
}

DWORD Session::waitForExit() {
    main();
    if (WaitForSingleObject(process_, static_cast<DWORD>(gTimeoutMs)) != WAIT_OBJECT_0) {
        throw DriverError("the program did not end in time");
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process_, &code)) throwLastError("GetExitCodeProcess");
    return code;
}

}  // namespace e2e
