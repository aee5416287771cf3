// The scene of the remote tests: the simulated network of sim_scene.h, SERVER1
// also known by its address, and a session that opens a computer with the
// facts a scan reads, each existence test asked on its own.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "remote/target_session.h"
#include "sim_scene.h"

namespace corvane::testing {

class RemoteFixture : public ::testing::Test, public SimScene {
protected:
    // Opened: SERVER1 is connected, with no calls recorded yet.
    explicit RemoteFixture(bool opened = false) {
        server.aliases = {"192.168.1.20"};
        if (!opened) return;
        Connect("SERVER1");
        network.calls.clear();
    }

    void Start(const std::string& name, const std::string& user = "admin", const std::string& password = "secret") {
        session.Begin(name);
        context.UserName = user;
        context.Password = Secret(password);
    }

    remote::OpenOutcome Connect(const std::string& name, const std::string& user = "admin",
                                const std::string& password = "secret") {
        std::string errorText;
        return session.Open({.computerName = name, .credentials = {user, Secret(password)}}, errorText);
    }
    wmi::IServices& Cimv2() { return session.Cimv2(); }
    wmi::IObject& Reg() { return session.Registry(); }

    remote::TargetSession session{ports, {.readFixedDrives = true}};
    remote::TargetContext& context = session.Context();
};

}  // namespace corvane::testing
