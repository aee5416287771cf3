#include "remote/sim/sim_network.h"

#include <thread>

#include "base/text.h"
#include "remote/share_walk.h"
#include "remote/store_services.h"
#include "remote/wmi_errors.h"
#include "remote/wql.h"

namespace corvane::remote {
namespace {

class RecordingObject final : public wmi::IObject {
public:
    RecordingObject(SimNetwork& network, SimComputer& computer, std::string nameSpace, std::string className,
                    wmi::ObjectPtr inner, wmi::CallControlPtr calls)
        : network_(network),
          computer_(computer),
          nameSpace_(std::move(nameSpace)),
          className_(std::move(className)),
          inner_(std::move(inner)),
          calls_(std::move(calls)) {}

    wmi::Variant Get(std::string_view property) const override { return inner_->Get(property); }

    wmi::PropertyBag Exec_Method(std::string_view method, const wmi::PropertyBag& in) override {
        CallRecord record;
        record.kind = CallKind::Method;
        record.nameSpace = nameSpace_;
        record.text = className_ + "." + std::string(method);
        record.in = in;
        network_.Before_Call(computer_, std::move(record), calls_.get());
        return inner_->Exec_Method(method, in);
    }

private:
    SimNetwork& network_;
    SimComputer& computer_;
    std::string nameSpace_;
    std::string className_;
    wmi::ObjectPtr inner_;
    wmi::CallControlPtr calls_;
};

class RecordingServices final : public wmi::IServices {
public:
    RecordingServices(SimNetwork& network, SimComputer& computer, std::string nameSpace, wmi::ServicesPtr inner,
                      wmi::CallControlPtr calls)
        : network_(network),
          computer_(computer),
          nameSpace_(std::move(nameSpace)),
          inner_(std::move(inner)),
          calls_(std::move(calls)) {}

    bool Is_Local_Computer() const noexcept override { return inner_->Is_Local_Computer(); }
    wmi::CallControl* Call_Control() const noexcept override { return calls_.get(); }

    std::vector<wmi::ObjectPtr> ExecQuery(std::string_view wql, std::int32_t flags) override {
        CallRecord record;
        record.kind = CallKind::Query;
        record.nameSpace = nameSpace_;
        record.text = std::string(wql);
        record.flags = flags;
        network_.Before_Call(computer_, std::move(record), calls_.get());
        std::string className;
        try {
            className = wql::Parse_Query(wql).className;
        } catch (const std::exception&) {
        }
        return Wrap(inner_->ExecQuery(wql, flags), className);
    }

    wmi::ObjectPtr Get(std::string_view path) override {
        CallRecord record;
        record.kind = CallKind::Get;
        record.nameSpace = nameSpace_;
        record.text = std::string(path);
        network_.Before_Call(computer_, std::move(record), calls_.get());
        return std::make_shared<RecordingObject>(network_, computer_, nameSpace_, std::string(path), inner_->Get(path),
                                                 calls_);
    }

    std::vector<wmi::ObjectPtr> InstancesOf(std::string_view className) override {
        CallRecord record;
        record.kind = CallKind::InstancesOf;
        record.nameSpace = nameSpace_;
        record.text = std::string(className);
        network_.Before_Call(computer_, std::move(record), calls_.get());
        return Wrap(inner_->InstancesOf(className), std::string(className));
    }

private:
    std::vector<wmi::ObjectPtr> Wrap(std::vector<wmi::ObjectPtr> objects, const std::string& className) {
        for (auto& object : objects) {
            object = std::make_shared<RecordingObject>(network_, computer_, nameSpace_, className, std::move(object),
                                                       calls_);
        }
        return objects;
    }

    SimNetwork& network_;
    SimComputer& computer_;
    std::string nameSpace_;
    wmi::ServicesPtr inner_;
    wmi::CallControlPtr calls_;
};

bool Names_Computer(SimComputer& computer, std::string_view name) {
    if (Equals_Ignore_Case(computer.name, name)) return true;
    for (const std::string& alias : computer.aliases) {
        if (Equals_Ignore_Case(alias, name)) return true;
    }
    return false;
}

}  // namespace

SimNetwork::SimNetwork(std::string localComputerName) : localName_(std::move(localComputerName)) {
    Add_Computer(localName_).fileView = FileView::Native;
}

SimComputer& SimNetwork::Add_Computer(std::string_view name) {
    computers_.push_back(std::make_unique<SimComputer>(std::string(name)));
    return *computers_.back();
}

SimComputer* SimNetwork::Find(std::string_view nameOrAlias) {
    for (auto& computer : computers_) {
        if (Names_Computer(*computer, nameOrAlias)) return computer.get();
    }
    return nullptr;
}

FaultRule& SimNetwork::Add_Fault(FaultRule rule) {
    faults_.push_back(std::move(rule));
    return faults_.back();
}

std::size_t SimNetwork::Count(CallKind kind, std::string_view match) const {
    std::size_t count = 0;
    for (const CallRecord& call : calls) {
        if (call.kind == kind && (match.empty() || Contains_Ignore_Case(call.text, match))) ++count;
    }
    return count;
}

std::vector<std::string> SimNetwork::Texts(CallKind kind) const {
    std::vector<std::string> texts;
    for (const CallRecord& call : calls) {
        if (call.kind == kind) texts.push_back(call.text);
    }
    return texts;
}

void SimNetwork::Before_Call(const SimComputer& computer, CallRecord record, wmi::CallControl* control) {
    record.computer = computer.name;
    if (duringCall) duringCall(record);
    const bool shareCall = record.kind == CallKind::ShareListing || record.kind == CallKind::ShareDelete;
    std::optional<wmi::CallControl::Watch> watch;
    if (control != nullptr) watch.emplace(control->Begin_Call());
    if (computer.latency.count() > 0) {
        std::this_thread::sleep_for(computer.latency);
        // An answer that comes after the limit is not waited for.
        if (watch) watch->Raise_If_Ended();
    }
    std::optional<FaultRule> fault;  // a copy: another thread may add rules meanwhile
    {
        const std::lock_guard lock(mutex_);
        for (FaultRule& rule : faults_) {
            if (rule.kind && *rule.kind != record.kind) continue;
            if (!rule.computer.empty() && !Names_Computer(const_cast<SimComputer&>(computer), rule.computer)) continue;
            if (!rule.match.empty() && !Contains_Ignore_Case(record.text, rule.match)) continue;
            ++rule.seen;
            const bool fires = rule.once ? rule.seen == rule.fromCall : rule.seen >= rule.fromCall;
            if (fires && !fault) fault = rule;
        }
        if (recordCalls) calls.push_back(std::move(record));
    }
    if (!fault) return;
    if (!fault->hangs) wmi::Raise_Hresult(fault->hresult);
    if (shareCall) Wait_For_Share_Cancel();
    if (!watch) wmi::Raise_Hresult(wmi::hresult::kTimedOut);
    ++hangingCalls;
    watch->Wait();
    --hangingCalls;
    if (control->Ended_By() == wmi::hresult::kCallCanceled) ++cancelledCalls;
    watch->Raise_If_Ended();
}

wmi::ServicesPtr SimNetwork::Connect_Server(std::string_view server, std::string_view namespacePath,
                                            std::string_view user, const Secret& password, std::int32_t flags,
                                            wmi::CallControlPtr calls) {
    SimComputer* computer = Find(server);
    if (computer == nullptr) {
        CallRecord record;
        record.computer = std::string(server);
        record.kind = CallKind::Connect;
        record.nameSpace = std::string(namespacePath);
        record.text = std::string(server);
        record.flags = flags;
        record.user = std::string(user);
        const std::lock_guard lock(mutex_);
        if (recordCalls) this->calls.push_back(std::move(record));
        wmi::Raise_Hresult(wmi::hresult::kRpcServerUnavailable);
    }
    CallRecord record;
    record.kind = CallKind::Connect;
    record.nameSpace = std::string(namespacePath);
    record.text = std::string(server);
    record.flags = flags;
    record.user = std::string(user);
    Before_Call(*computer, std::move(record), calls.get());
    if (!computer->reachable) wmi::Raise_Hresult(wmi::hresult::kRpcServerUnavailable);
    const bool local = computer == Find(localName_);
    if (local && !user.empty()) wmi::Raise_Hresult(wmi::hresult::kWbemLocalCredentials);
    if (!Accepts(*computer, user, password.View())) wmi::Raise_Hresult(wmi::hresult::kAccessDenied);
    if (computer->refusedNamespaces.count(Upper_Ascii(namespacePath)) > 0) {
        wmi::Raise_Hresult(wmi::hresult::kWbemInvalidNamespace);
    }
    // Only the computer the program runs on is local, whatever name another
    // computer answers with.
    wmi::ServicesPtr inner = Make_Store_Services(*computer, namespacePath, local);
    return std::make_shared<RecordingServices>(*this, *computer, std::string(namespacePath), std::move(inner),
                                               std::move(calls));
}

bool SimNetwork::Accepts(const SimComputer& computer, std::string_view user, std::string_view password) {
    if (user.empty()) return password.empty() && computer.acceptsCallerIdentity;
    std::string bare(user);
    if (const std::size_t slash = bare.find('\\'); slash != std::string::npos) bare = bare.substr(slash + 1);
    for (const auto& [name, secret] : computer.users) {
        if (Equals_Ignore_Case(name, bare) && secret == password) return true;
    }
    return false;
}

void SimNetwork::Use_Credentials(std::string_view server, std::string_view user, const Secret& password) {
    const std::lock_guard lock(mutex_);
    shareCredentials_[Upper_Text(server)] = {std::string(user), std::string(password.View())};
}

SimComputer* SimNetwork::Listed_Computer(std::string_view path, std::string& localPath) {
    if (path.substr(0, 2) != "\\\\") {
        localPath = std::string(path);
        return &Local();
    }
    const std::size_t serverEnd = path.find('\\', 2);
    if (serverEnd == std::string_view::npos) return nullptr;
    SimComputer* computer = Find(path.substr(2, serverEnd - 2));
    const std::size_t shareEnd = path.find('\\', serverEnd + 1);
    const std::string_view share = path.substr(
        serverEnd + 1, shareEnd == std::string_view::npos ? std::string_view::npos : shareEnd - serverEnd - 1);
    if (computer == nullptr || !computer->reachable || share.size() != 2 || share[1] != '$') return nullptr;
    bool accepted = computer->acceptsCallerIdentity;
    {
        const std::lock_guard lock(mutex_);
        const auto credentials = shareCredentials_.find(Upper_Text(path.substr(2, serverEnd - 2)));
        if (credentials != shareCredentials_.end()) {
            accepted = Accepts(*computer, credentials->second.first, credentials->second.second);
        }
    }
    if (!accepted) return nullptr;
    const std::string drive = Upper_Ascii(share.substr(0, 1)) + ":";
    if (computer->unlistableShares.count(drive) > 0 || !computer->files.Drive_Exists(drive)) return nullptr;
    localPath = drive + "\\" + std::string(shareEnd == std::string_view::npos ? "" : path.substr(shareEnd + 1));
    return computer;
}

std::function<void()> SimNetwork::Call_Canceller() {
    auto cancelled = std::make_shared<bool>(false);
    {
        const std::lock_guard lock(mutex_);
        shareCancels_[std::this_thread::get_id()] = cancelled;
    }
    return [this, cancelled] {
        {
            const std::lock_guard lock(mutex_);
            *cancelled = true;
        }
        shareCancelled_.notify_all();
    };
}

void SimNetwork::Wait_For_Share_Cancel() {
    std::unique_lock lock(mutex_);
    const auto found = shareCancels_.find(std::this_thread::get_id());
    if (found == shareCancels_.end()) return;
    const std::shared_ptr<bool> cancelled = found->second;
    ++hangingCalls;
    shareCancelled_.wait(lock, [&] { return *cancelled; });
    --hangingCalls;
}

SimComputer* SimNetwork::Share_Call(std::string_view path, CallKind kind, std::uint32_t mask, std::string& localPath) {
    SimComputer* computer = Listed_Computer(path, localPath);
    if (computer == nullptr) return nullptr;
    CallRecord record;
    record.kind = kind;
    record.text = std::string(path);
    record.flags = static_cast<std::int32_t>(mask);
    try {
        Before_Call(*computer, std::move(record));
    } catch (const std::exception&) {
        return nullptr;  // a listing does not raise; it fails
    }
    return computer;
}

ListedEntry SimNetwork::Listed(const SimComputer& computer, const FileEntry& entry) {
    ListedEntry listed;
    const std::size_t slash = entry.path.find_last_of('\\');
    listed.name = slash == std::string::npos ? entry.path : entry.path.substr(slash + 1);
    listed.isFolder = entry.isFolder;
    listed.attributes =
        (entry.isFolder ? kAttributeDirectory : 0) | (entry.isReparsePoint ? kAttributeReparsePoint : 0);
    listed.size = entry.size;
    listed.created = entry.created;
    if (const auto id = computer.files.Identity(entry.path))
        listed.identity = Identity_Of(id->volumeSerial, id->fileId);
    return listed;
}

ListingResult SimNetwork::Find(std::string_view path, std::uint32_t attributeMask) {
    std::string localPath;
    SimComputer* computer = Share_Call(path, CallKind::ShareListing, attributeMask, localPath);
    if (computer == nullptr) return ListingResult::Unavailable;
    const auto entry = computer->files.Find(localPath);
    if (!entry) return ListingResult::NotFound;
    if (entry->isFolder && (attributeMask & kAttributeDirectory) == 0) return ListingResult::NotFound;
    return ListingResult::Found;
}

ListingResult SimNetwork::List_Folder(std::string_view folderPath, std::vector<ListedEntry>& entries, bool) {
    std::string localPath;
    SimComputer* computer = Share_Call(folderPath, CallKind::ShareListing, kListEverything, localPath);
    if (computer == nullptr) return ListingResult::Unavailable;
    const bool isRoot = localPath.size() <= 3;
    const auto folder = isRoot ? std::nullopt : computer->files.Find(localPath);
    if (!isRoot && (!folder || !folder->isFolder)) return ListingResult::NotFound;
    if (computer->files.Listing_Denied(localPath)) return ListingResult::Unavailable;
    entries.clear();
    for (const FileEntry& entry : computer->files.List(localPath)) entries.push_back(Listed(*computer, entry));
    return ListingResult::Found;
}

ListingResult SimNetwork::Entry_Of(std::string_view path, ListedEntry& entry) {
    std::string localPath;
    SimComputer* computer = Share_Call(path, CallKind::ShareListing, kListEverything, localPath);
    if (computer == nullptr) return ListingResult::Unavailable;
    const auto found = computer->files.Find(localPath);
    if (!found) return ListingResult::NotFound;
    entry = Listed(*computer, *found);
    return ListingResult::Found;
}

DeleteResult SimNetwork::Delete_Checked(std::string_view path, std::string_view startFolder,
                                        const FileIdentity& identity) {
    std::string localPath;
    std::string localStart;
    SimComputer* computer = Share_Call(path, CallKind::ShareDelete, 0, localPath);
    if (computer == nullptr || Listed_Computer(startFolder, localStart) != computer) {
        return {DeleteOutcome::Error, kStatusPathNotFound};
    }
    const std::vector<std::string> components = Components_From(localStart, localPath);
    if (components.empty()) return {DeleteOutcome::OutsideStart};
    for (const std::string& component : components) {
        const auto entry = computer->files.Find(component);
        if (!entry) return {DeleteOutcome::Gone};
        if (entry->isReparsePoint) return {DeleteOutcome::ReparsePoint};
    }
    const auto id = computer->files.Identity(localPath);
    if (!id || !identity.known || Identity_Of(id->volumeSerial, id->fileId) != identity) {
        return {DeleteOutcome::IdentityDiffers};
    }
    // The handle is open from here on: what the path names now is what goes.
    if (beforeCheckedDelete) beforeCheckedDelete();
    switch (const std::uint32_t status = computer->files.Delete_By_Id(id->fileId)) {
        case kStatusOk: return {DeleteOutcome::Deleted};
        case kStatusDirNotEmpty: return {DeleteOutcome::NotEmpty};
        case kStatusNotFound: return {DeleteOutcome::Gone};
        default: return {DeleteOutcome::Error, status};
    }
}

std::optional<std::string> SimNetwork::Long_Path(std::string_view path) {
    const auto entry = Local().files.Find(path);
    if (!entry) return std::nullopt;
    return entry->path;
}

LocalPathKind SimNetwork::Path_Kind(std::string_view path) {
    const auto entry = Local().files.Find(path);
    if (!entry) return LocalPathKind::Missing;
    return entry->isReparsePoint ? LocalPathKind::ReparsePoint : LocalPathKind::Plain;
}

std::optional<std::string> SimNetwork::Read_Small_File(std::string_view path, std::size_t maxBytes) {
    const auto bytes = Local().files.Read_File(path);
    if (!bytes || bytes->size() > maxBytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

}  // namespace corvane::remote
