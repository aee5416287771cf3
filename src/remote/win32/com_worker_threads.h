// The COM apartment of each worker thread that reaches a computer. The
// computer the program runs on is served by the native store, which asks the
// shell for shortcut targets, so its worker is single-threaded; every other
// computer is reached through WMI's COM API from the multithreaded apartment,
// whose proxies carry impersonation and packet privacy as on any thread.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/ports/worker_threads.h"
#include "base/win32/com_init.h"
#include "remote/store_services.h"

namespace corvane::remote::win32 {

class ComWorkerThreads final : public IWorkerThreads {
public:
    // localComputerName: the name the locator also serves natively.
    explicit ComWorkerThreads(std::string localComputerName) : localName_(std::move(localComputerName)) {}

    [[nodiscard]] std::shared_ptr<void> Enter(std::string_view computerName) override {
        const DWORD model =
            Is_Local_Server_Name(computerName, localName_) ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED;
        return std::make_shared<::corvane::win32::ComInit>(model);
    }

private:
    std::string localName_;
};

}  // namespace corvane::remote::win32
