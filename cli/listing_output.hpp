// The two forms of a listing: a table for people, one JSON object for
// programs. Both show exactly the texts of the file list and status bar.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "vellonix/core/container.hpp"
#include "vellonix/core/listing.hpp"

namespace vellonix::cli {

// The list's columns and a flags column (C corrupted, P protected,
// H hidden), padded by characters, then the five status texts, one a line.
std::string ListingTable(const core::DirectoryListing& listing);

// The JSON text of {"container", "dos", "dirSlots", "status", "files":
// [...]}, keys in that order, after the members of `before` when it has any;
// texts are the SAM bytes as Latin-1 characters, escaped as DumpJson does.
// Written straight out: building a JSON document for every file of every
// image cost ten times what listing the images did.
std::string ListingJson(const core::DirectoryListing& listing, core::ContainerKind container,
                        const nlohmann::ordered_json& before = {});

// {"path": path}, the start of an object about a file. A path whose bytes
// are no UTF-8 (a POSIX host allows any) shows U+FFFD for them there, and
// "path_bytes" then gives every byte of it as a number, so that a script
// can open the file the object names.
nlohmann::ordered_json PathJson(std::string_view path);

// The JSON text, with the C1 control characters and DEL escaped as well as
// those nlohmann escapes itself, so that printing it is as safe as the table.
std::string DumpJson(const nlohmann::ordered_json& value);

}  // namespace vellonix::cli
