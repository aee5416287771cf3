// The logic of the restore dialog (frmRestoreReg): in registry mode it lists
// the full backups kept on the chosen computer, and next to them the undo
// files of its registry fixes kept on this computer, and restores or deletes
// one;
// in system mode it lists the computer's restore points and rolls the
// computer back to one, then restarts it by force. Every action connects
// anew. The Win32 dialog only shows what this presenter hands it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "backup/backup_ports.h"
#include "backup/restore_listing.h"
#include "base/open_url.h"
#include "base/ports/shell.h"
#include "remote/undo_files.h"

namespace corvane::backup {

struct ImportResult;

inline constexpr const char* kRestoreLinkCaption = "www.corvane.example";
inline constexpr const char* kBackupFileGoneMessage =
    "The registry backup file no longer exists; it has been removed from the list.";
// The link opens the home site (its per-user setting) with this query.
inline constexpr std::string_view kRestoreLinkQuery = "?sr=cvn";

// A list column: width = the list's width in twips / widthDivisor - lessTwips.
struct RestoreColumn {
    std::string key;
    std::string header;
    int widthDivisor = 1;
    int lessTwips = 0;
};

// The key of a row that shows an undo file (its tag is the file's full path).
[[nodiscard]] bool Is_Undo_Row(const RestoreRow& row) noexcept;

// The dialog as the presenter sees it.
class IRestoreView {
public:
    virtual ~IRestoreView() = default;
    IRestoreView() = default;
    IRestoreView(const IRestoreView&) = delete;
    IRestoreView& operator=(const IRestoreView&) = delete;

    virtual void Set_Captions(std::string_view dialogTitle, std::string_view frameCaption, bool showDelete) = 0;
    virtual void Set_Columns(const std::vector<RestoreColumn>& columns) = 0;
    virtual void Show_Rows(const std::vector<RestoreRow>& rows) = 0;
    virtual void Remove_Row(int index) = 0;
    // Index of the selected row; -1 when none.
    [[nodiscard]] virtual int Selected_Row() const = 0;
    [[nodiscard]] virtual int Rows_Per_Page() const = 0;
    virtual void Widen_First_Column(int twips) = 0;
    virtual void Enable_Buttons(bool restore, bool deleteFile) = 0;
    virtual void Close() = 0;
};

class RestorePresenter {
public:
    // userData: the folder the undo files live under; without it none are listed.
    RestorePresenter(RestoreMode mode, BackupComputer computer, const remote::RemotePorts& ports, IRestoreView& view,
                     IProgressPanel& progress, IShell& shell, remote::IUserDataFolder* userData = nullptr);

    // Form_Load: columns, captions, the list, the buttons, the panel hidden.
    void Load();
    // A click on a list item: Update_Buttons.
    void Selection_Changed();
    void Restore_Clicked();
    void Delete_Clicked();
    void Close_Clicked() { view_.Close(); }
    // homeSite: the loaded web address, ending in "/".
    void Link_Clicked(std::string_view homeSite) {
        (void)Open_Web_Address(shell_, std::string(homeSite) + std::string(kRestoreLinkQuery));
    }

    [[nodiscard]] const std::vector<RestoreRow>& Rows() const noexcept { return rows_; }
    [[nodiscard]] RestoreMode Mode() const noexcept { return mode_; }

private:
    void Fill_File_List();
    void List_Undo_Files(wmi::IServices& cimv2);
    void Update_Buttons();
    void Restore_Registry(const RestoreRow& row);
    void Report_Import(const ImportResult& result, const std::string& path);
    void Restore_Undo_File(const RestoreRow& row);
    void Delete_Undo_File(int index);
    void Restore_System(const RestoreRow& row);
    void Delete_Backup_File(int index);
    [[nodiscard]] const RestoreRow* Selected() const;
    MsgResult Show(const std::string& text, MsgButtons buttons, MsgIcon icon);
    [[nodiscard]] wmi::ServicesPtr Connect(std::string_view nameSpace) const;

    RestoreMode mode_;
    BackupComputer computer_;
    const remote::RemotePorts& ports_;
    IRestoreView& view_;
    IProgressPanel& progress_;
    IShell& shell_;
    remote::IUserDataFolder* userData_;
    std::vector<RestoreRow> rows_;
};

}  // namespace corvane::backup
