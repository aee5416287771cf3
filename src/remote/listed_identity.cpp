#include "remote/listed_identity.h"

#include <exception>
#include <string>

namespace corvane::remote {
namespace {

// The serial number in decimal, the file ID as hexadecimal bytes in order.
constexpr const char* kVolumeSerial = "VolumeSerialNumber";
constexpr const char* kFileId = "FileId";
constexpr const char* kHexDigits = "0123456789abcdef";

}  // namespace

FileIdentity Identity_Of(std::uint64_t volumeSerial, std::uint64_t fileIndex) {
    FileIdentity identity;
    identity.volumeSerial = volumeSerial;
    for (std::size_t i = 0; i < 8; ++i) identity.fileId[i] = static_cast<std::uint8_t>(fileIndex >> (8 * i));
    identity.known = true;
    return identity;
}

void Add_Identity(const FileIdentity& identity, wmi::PropertyBag& properties) {
    if (!identity.known) return;
    std::string id;
    for (const std::uint8_t byte : identity.fileId) {
        id += kHexDigits[byte >> 4];
        id += kHexDigits[byte & 15];
    }
    properties[kVolumeSerial] = wmi::Variant(std::to_string(identity.volumeSerial));
    properties[kFileId] = wmi::Variant(id);
}

FileIdentity Listed_Identity(const wmi::IObject& object) {
    FileIdentity identity;
    try {
        const std::string id = object.Get(kFileId).As_String();
        const std::string serial = object.Get(kVolumeSerial).As_String();
        if (id.size() != 2 * identity.fileId.size()) return {};
        for (std::size_t i = 0; i < identity.fileId.size(); ++i) {
            identity.fileId[i] = static_cast<std::uint8_t>(std::stoul(id.substr(2 * i, 2), nullptr, 16));
        }
        identity.volumeSerial = std::stoull(serial);
        identity.known = true;
    } catch (const std::exception&) {
        return {};  // an object without an identity
    }
    return identity;
}

}  // namespace corvane::remote
