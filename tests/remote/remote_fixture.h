// The scene of the remote tests: a simulated network with the local computer
// WORKSTATION and a remote computer SERVER1 (user admin / secret), the ports
// of the program wired to it, a real log file and a TargetContext.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/log.h"
#include "base/reporter.h"
#include "remote/sim/sim_network.h"
#include "remote/target_context.h"
#include "remote/wmi_connection.h"
#include "support/fakes.h"
#include "support/temp_folder.h"

namespace corvane::testing {

class RemoteFixture : public ::testing::Test {
protected:
    RemoteFixture()
        : server(network.Add_Computer("SERVER1")),
          log(folder.File("Corvane.log"), clock),
          reporter(messages),
          ports{network, reporter, clock, network, network.Local(), network},
          context(ports) {
        server.users["admin"] = "secret";
        server.aliases = {"192.168.1.20"};
        server.facts.computerName = "SERVER1";
        log.Start_Logging(folder.File("Corvane.log"));
        reporter.Attach_Log(&log);
    }

    // Connects the context to a computer as the scan driver does.
    remote::WmiConnection Connect(const std::string& name, const std::string& user = "admin",
                                  const std::string& password = "secret") {
        context.Start_Computer(name);
        context.UserName = user;
        context.Password = password;
        remote::WmiConnection connection;
        std::string errorText;
        connection.cimv2 = remote::WMI_Connect(context, "cimv2", errorText);
        if (!connection.cimv2) return connection;
        connection.rootDefault = remote::WMI_Connect(context, "default", errorText);
        if (!connection.rootDefault) return connection;
        connection.registry = connection.rootDefault->Get("StdRegProv");
        (void)remote::WMI_Get_Computer_Name(*connection.cimv2, context.TargetName);
        (void)remote::WMI_Get_OS_Info(*connection.cimv2, context.OSVersion, context.AddressWidth);
        (void)remote::WMI_Get_Fixed_Drives(*connection.cimv2, context.FixedDrives);
        context.Decide_Is_Remote(*connection.cimv2);
        return connection;
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
    remote::TargetContext context;
};

}  // namespace corvane::testing
