// The store contract on the native store of this Wine prefix: the scratch key
// under HKCU and a scratch folder on C:, made with the Win32 API.
#include <shlobj.h>
#include <shobjidl.h>

#include "base/win32/unique_com.h"
#include "remote/store_contract.h"
#include "remote/win32/native_store.h"
#include "win32_test_support.h"

namespace corvane::testing {
namespace {

using ::corvane::win32::Widen;

class NativeWorld final : public StoreWorld {
public:
    NativeWorld() { Remove_Key(); }
    ~NativeWorld() override { Remove_Key(); }
    remote::IMachineStore& Store() override { return store_; }
    std::string Folder() const override { return Path_Utf8(folder_.Path()); }
    void Make_File(std::string_view name, std::string_view content) override {
        Write_File(Path(name), std::string(content));
    }
    void Make_Folder(std::string_view name) override {
        ASSERT_TRUE(::CreateDirectoryW(Widen(Path(name)).c_str(), nullptr));
    }
    void Make_Shortcut(std::string_view name, std::string_view target) override {
        ::corvane::win32::com_ptr<IShellLinkW> link;
        ASSERT_TRUE(SUCCEEDED(
            ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())));
        ASSERT_TRUE(SUCCEEDED(link->SetPath(Widen(target).c_str())));
        const auto file = link.try_query<IPersistFile>();
        ASSERT_TRUE(file);
        ASSERT_TRUE(SUCCEEDED(file->Save(Widen(Path(name)).c_str(), TRUE)));
    }

private:
    static void Remove_Key() { ::RegDeleteTreeW(HKEY_CURRENT_USER, Widen(kStoreScratchKey).c_str()); }

    ::corvane::win32::ComInit com_;
    remote::win32::NativeStore store_;
    TempFolder folder_;
};

INSTANTIATE_TEST_SUITE_P(Native, StoreContract, ::testing::Values(+[]() -> std::unique_ptr<StoreWorld> {
                             return std::make_unique<NativeWorld>();
                         }));

}  // namespace
}  // namespace corvane::testing
