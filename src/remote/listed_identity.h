// A file's identity as it travels with a listed object: two more properties
// beside the ones WMI's file classes give. Listings that read the file
// system's own view (the administrative share, the native local store) add
// them; WMI's file classes have no such property, so their objects carry none.
#pragma once

#include <cstdint>

#include "base/ui/problem.h"
#include "remote/wmi.h"

namespace corvane::remote {

// The FileIdentity of a volume serial number and a 64-bit file index (the
// low half of a 128-bit file ID, as NTFS reports it).
[[nodiscard]] FileIdentity Identity_Of(std::uint64_t volumeSerial, std::uint64_t fileIndex);

// Adds the identity's properties to a listed object's; nothing when unknown.
void Add_Identity(const FileIdentity& identity, wmi::PropertyBag& properties);

// The identity an object was listed with; unknown for an object without one.
[[nodiscard]] FileIdentity Listed_Identity(const wmi::IObject& object);

}  // namespace corvane::remote
