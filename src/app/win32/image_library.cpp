#include "app/win32/image_library.h"

#include <array>

namespace corvane::win32 {

namespace {

constexpr std::array<ImageKey, 41> kImageKeys{{
    {"Root", L"ROOT"},
    {"Computer", L"COMPUTER"},
    {"ComputerLocked", L"COMPUTERLOCKED"},
    {"Group", L"GROUP"},
    {"Registry", L"REGISTRY"},
    {"DiskCleanUp", L"DISKCLEANUP"},
    {"IEUrlHistory", L"IEURLHISTORY"},
    {"Firefox", L"FIREFOX"},
    {"Chromium", L"CHROMIUM"},
    {"File", L"FILE"},
    {"Folder", L"FOLDER"},
    {"HelpFile", L"HELPFILE"},
    {"Add/RemovePrograms", L"ADDREMOVEPROGRAMS"},
    {"ActiveX/COM", L"ACTIVEXCOM"},
    {"ApplicationPaths", L"APPLICATIONPATHS"},
    {"WindowsFonts", L"WINDOWSFONTS"},
    {"SharedDlls", L"SHAREDDLLS"},
    {"Software", L"SOFTWARE"},
    {"FileExtensions", L"FILEEXTENSIONS"},
    {"StartUpPrograms", L"STARTUPPROGRAMS"},
    {"SoundAndAppEvents", L"SOUNDANDAPPEVENTS"},
    {"Installer", L"INSTALLER"},
    {"UserMRUList", L"USERMRULIST"},
    {"ImageFile", L"IMAGEFILE"},
    {"Error", L"ERROR"},
    {"FixedItem", L"FIXEDITEM"},
    {"ManageComputers", L"MANAGECOMPUTERS"},
    {"StartScan", L"STARTSCAN"},
    {"StopScan", L"STOPSCAN"},
    {"Fix", L"FIX"},
    {"ClearList", L"CLEARLIST"},
    {"ExceptionList", L"EXCEPTIONLIST"},
    {"Exit", L"EXIT"},
    {"Refresh", L"REFRESH"},
    {"GeneralOptions", L"GENERALOPTIONS"},
    {"FAQs", L"FAQS"},
    {"Updates", L"UPDATES"},
    {"About", L"ABOUT"},
    {"Corvane", L"AA_PROGRAM"},
    {"Import", L"IMPORT"},
    {"Export", L"EXPORT"},
}};

HICON Load_Icon(const wchar_t* resource, int size) {
    return static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), resource, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

std::span<const ImageKey> Image_Keys() { return kImageKeys; }

ImageLibrary::ImageLibrary() {
    small_ = controls_.Create_Image_List(16, 16, ILC_COLOR32 | ILC_MASK, static_cast<int>(kImageKeys.size()), 4);
    toolbar_ = controls_.Create_Image_List(24, 24, ILC_COLOR32 | ILC_MASK, static_cast<int>(kImageKeys.size()), 4);
    for (const ImageKey& image : kImageKeys) {
        HICON small = Load_Icon(image.resource, 16);
        HICON large = Load_Icon(image.resource, 24);
        if (!small || !large) {
            missing_ += std::string(missing_.empty() ? "" : ", ") + std::string(image.key);
        }
        const int index = controls_.Add_Icon(small_, small);
        controls_.Add_Icon(toolbar_, large);
        icons_.emplace(std::string(image.key), unique_hicon(small));  // kept for buttons
        if (large) ::DestroyIcon(large);
        index_.emplace(std::string(image.key), index);
    }
}

ImageLibrary::~ImageLibrary() {
    if (small_) controls_.Destroy_Image_List(small_);
    if (toolbar_) controls_.Destroy_Image_List(toolbar_);
}

HICON ImageLibrary::Icon(std::string_view key) const {
    const auto hit = icons_.find(std::string(key));
    return hit == icons_.end() ? nullptr : hit->second.get();
}

int ImageLibrary::Index(std::string_view key) const {
    if (key.empty()) return -1;
    const auto hit = index_.find(std::string(key));
    return hit == index_.end() ? -1 : hit->second;
}

HICON Program_Icon(int size) {
    return static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), L"AA_PROGRAM", IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
}

}  // namespace corvane::win32
