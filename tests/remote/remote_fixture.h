// The scene of the remote tests: the simulated network of sim_scene.h, SERVER1
// also known by its address, and a TargetContext connected as the scan does.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "remote/wmi_connection.h"
#include "sim_scene.h"

namespace corvane::testing {

class RemoteFixture : public ::testing::Test, public SimScene {
protected:
    RemoteFixture() {
        server.aliases = {"192.168.1.20"};
        server.facts.computerName = "SERVER1";
    }

    void Start(const std::string& name, const std::string& user = "admin", const std::string& password = "secret") {
        context.Start_Computer(name);
        context.UserName = user;
        context.Password = Secret(password);
    }

    // Connects the context to a computer as the scan driver does.
    remote::WmiConnection Connect(const std::string& name, const std::string& user = "admin",
                                  const std::string& password = "secret") {
        Start(name, user, password);
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

    remote::TargetContext context{ports};
};

}  // namespace corvane::testing
