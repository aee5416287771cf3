#include "periphery/win32/regedit_driver.h"

#include <commctrl.h>
#include <shellapi.h>

#include "base/ports/message_box.h"
#include "base/win32/system_folders.h"
#include "base/win32/unique_any.h"
#include "base/win32/wide_text.h"

namespace corvane::win32 {

namespace {

constexpr DWORD kFirstLookDelayMs = 750;
constexpr DWORD kValueListDelayMs = 1000;
constexpr DWORD kStartTimeoutMs = 10000;
constexpr DWORD kIdleTimeoutMs = 5000;

struct FindChild {
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK Match_Class(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<FindChild*>(parameter);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    if (::lstrcmpiW(name, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

void Write_Last_Key(std::string_view keyPath) {
    unique_hkey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRegEditLastKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS) {
        return;
    }
    const std::wstring text = Widen(Regedit_Last_Key(keyPath, !Running_On_Wine()));
    ::RegSetValueExW(key.get(), L"LastKey", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

HWND Start_Editor() {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"open";
    // The editor of the Windows directory, never one found first on the search path.
    const std::wstring editor = Windows_Directory_Program(L"regedit.exe");
    if (editor.empty()) return nullptr;
    info.lpFile = editor.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&info)) return nullptr;
    unique_handle process(info.hProcess);
    if (process) ::WaitForInputIdle(process.get(), kIdleTimeoutMs);
    ::Sleep(kFirstLookDelayMs);
    // A slow start may need longer than the first look.
    for (DWORD waited = kFirstLookDelayMs; waited < kStartTimeoutMs; waited += 250) {
        if (HWND editor = ::FindWindowW(kRegEditClass, nullptr)) return editor;
        ::Sleep(250);
    }
    return ::FindWindowW(kRegEditClass, nullptr);
}

void Send_Keystrokes(HWND target, HANDLE process, const std::vector<RegEditKeystroke>& steps) {
    for (const RegEditKeystroke& step : steps) {
        switch (step.kind) {
            case RegEditKeystroke::Kind::KeyDown: ::SendMessageW(target, WM_KEYDOWN, step.code, 0); break;
            case RegEditKeystroke::Kind::Char: {
                wchar_t units[3] = {};
                if (step.code < 0x10000) {
                    units[0] = static_cast<wchar_t>(step.code);
                } else {
                    const std::uint32_t v = step.code - 0x10000;
                    units[0] = static_cast<wchar_t>(0xD800 + (v >> 10));
                    units[1] = static_cast<wchar_t>(0xDC00 + (v & 0x3FF));
                }
                for (const wchar_t unit : units) {
                    if (unit) ::SendMessageW(target, WM_CHAR, unit, 0);
                }
                break;
            }
            case RegEditKeystroke::Kind::WaitIdle:
                if (process) ::WaitForInputIdle(process, kIdleTimeoutMs);
                break;
        }
    }
}

}  // namespace

bool Running_On_Wine() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

HWND Find_Descendant(HWND parent, const wchar_t* className) {
    FindChild search{className, nullptr};
    ::EnumChildWindows(parent, Match_Class, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Editor_Selected_Key(HWND tree) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(tree, &processId);
    unique_handle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) return {};
    constexpr std::size_t kTextOffset = 512;
    constexpr int kTextCapacity = 260;
    void* remote = ::VirtualAllocEx(process.get(), nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return {};
    auto text_of = [&](HTREEITEM node) {
        TVITEMW item{};
        item.mask = TVIF_TEXT | TVIF_HANDLE;
        item.hItem = node;
        item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + kTextOffset);
        item.cchTextMax = kTextCapacity;
        wchar_t text[kTextCapacity + 1] = {};
        if (::WriteProcessMemory(process.get(), remote, &item, sizeof(item), nullptr) &&
            ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote))) {
            ::ReadProcessMemory(process.get(), item.pszText, text, kTextCapacity * sizeof(wchar_t), nullptr);
        }
        return std::wstring(text);
    };
    std::wstring path;
    auto node = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    while (node) {
        auto parent = reinterpret_cast<HTREEITEM>(
            ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(node)));
        if (!parent) break;  // the top node is the computer, not a key
        path = text_of(node) + (path.empty() ? L"" : L"\\" + path);
        node = parent;
    }
    ::VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return Narrow(path);
}

namespace {

bool Same_Key(std::string_view shown, std::string_view wanted) {
    std::string target = Regedit_Last_Key(wanted, false);
    return !shown.empty() && ::lstrcmpiW(Widen(shown).c_str(), Widen(target).c_str()) == 0;
}

// True when the editor's process has ended.
bool Close_Editor(HWND editor) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(editor, &processId);
    unique_handle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    ::PostMessageW(editor, WM_CLOSE, 0, 0);
    return process && ::WaitForSingleObject(process.get(), kStartTimeoutMs) == WAIT_OBJECT_0;
}

}  // namespace

void Win32RegistryEditor::Open_RegEdit_At_Key(std::string_view keyPath, std::string_view valueName) {
    HWND editor = ::FindWindowW(kRegEditClass, nullptr);
    bool fresh = false;
    if (!editor) {
        if (!keyPath.empty()) Write_Last_Key(keyPath);
        editor = Start_Editor();
        fresh = true;
    }
    if (!editor) {
        messages_.Show(kRegEditNotLaunched, MsgButtons::Ok, MsgIcon::Critical, "Error");
        return;
    }
    if (::IsIconic(editor)) ::ShowWindow(editor, SW_RESTORE);
    ::ShowWindow(editor, SW_SHOW);
    ::SetForegroundWindow(editor);
    if (keyPath.empty()) return;

    HWND tree = Find_Descendant(editor, L"SysTreeView32");
    if (!tree) return;
    ::SetForegroundWindow(tree);
    ::SetFocus(tree);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(tree, &processId);
    unique_handle process(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));

    // A fresh editor that opened at the remembered key is there already.
    if (!fresh || !Same_Key(Editor_Selected_Key(tree), keyPath)) {
        Send_Keystrokes(tree, process.get(), Tree_Keystrokes(keyPath));
        if (!fresh && !Same_Key(Editor_Selected_Key(tree), keyPath)) {
            // The keystrokes did not get there (an editor whose tree search
            // differs): start it again at the remembered key. An editor that
            // will not close (a dialog of its own open) stays where it is.
            process.reset();
            if (Close_Editor(editor)) Open_RegEdit_At_Key(keyPath, valueName);
            return;
        }
    }
    if (!valueName.empty()) {
        if (HWND list = Find_Descendant(editor, L"SysListView32")) {
            ::SetForegroundWindow(list);
            ::SetFocus(list);
            ::Sleep(kValueListDelayMs);
            Send_Keystrokes(list, process.get(), Value_Keystrokes(valueName));
        }
    }
    ::SetForegroundWindow(editor);
    ::SetFocus(editor);
}

}  // namespace corvane::win32
