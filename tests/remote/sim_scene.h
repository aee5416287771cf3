// A simulated network with the local computer WORKSTATION and a remote
// computer SERVER1 (user admin / secret), the program's ports wired to it and
// a real log file: the ground of the remote and backup tests.
#pragma once

#include <string>

#include "base/log.h"
#include "base/reporter.h"
#include "remote/sim/sim_network.h"
#include "remote/target_context.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace corvane::testing {

struct SimScene {
    SimScene()
        : server(network.Add_Computer("SERVER1")),
          log(folder.File("Corvane.log"), clock),
          reporter(messages),
          ports{network, reporter, clock, network, network.Local(), network} {
        server.users["admin"] = "secret";
        log.Start_Logging(folder.File("Corvane.log"));
        reporter.Attach_Log(&log);
    }

    [[nodiscard]] std::string Log_Text() const { return Read_File(folder.File("Corvane.log")); }

    TempFolder folder;
    FakeClock clock;
    FakeMessageBox messages;
    remote::SimNetwork network;
    remote::SimComputer& server;
    clsLog log;
    Reporter reporter;
    remote::RemotePorts ports;
};

}  // namespace corvane::testing
