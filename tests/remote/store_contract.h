// What every machine store promises its providers, written once and run
// against each store: the simulated computer on every build, the native
// local store under Wine. A world hands the test a store, a scratch registry
// key and a scratch folder, and creates files by its own means (a store
// cannot create files).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "remote/machine_store.h"

namespace corvane::testing {

class StoreWorld {
public:
    virtual ~StoreWorld() = default;
    [[nodiscard]] virtual remote::IMachineStore& Store() = 0;
    // An empty folder on C: for this test, its path as the store spells it.
    [[nodiscard]] virtual std::string Folder() const = 0;
    [[nodiscard]] std::string Path(std::string_view name) const { return Folder() + "\\" + std::string(name); }
    // Creates a file, folder or shortcut inside Folder(), named relatively.
    virtual void Make_File(std::string_view name, std::string_view content) = 0;
    virtual void Make_Folder(std::string_view name) = 0;
    virtual void Make_Shortcut(std::string_view name, std::string_view target) = 0;
    // True for a store that shows files as WMI's file classes do (a remote
    // computer): its folder deletion takes the content along. The native
    // store deletes empty folders only.
    [[nodiscard]] virtual bool Wmi_View() const { return false; }
};

// HKCU\<kStoreScratchKey>: absent when a world is made, removed again when it goes.
inline constexpr const char* kStoreScratchKey = "Software\\CorvaneStoreTest";

using StoreWorldFactory = std::unique_ptr<StoreWorld> (*)();

class StoreContract : public ::testing::TestWithParam<StoreWorldFactory> {
protected:
    std::unique_ptr<StoreWorld> world = GetParam()();
    remote::IMachineStore& store = world->Store();
};

}  // namespace corvane::testing
