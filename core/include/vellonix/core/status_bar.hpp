// The five texts of the status bar, from the directory state.
#pragma once

#include <array>
#include <string>

#include "vellonix/core/directory.hpp"

namespace vellonix::core {

using StatusTexts = std::array<std::string, 5>;

// Rebuilds state.DiskNameText from slot 0 (by state.DosKind, which a rename
// of a SAM-DOS disk may have changed without a rescan) and returns the
// panel texts: DOS, disk name (shown up to its first zero byte), file count,
// corrupted count and free space. Texts hold SAM bytes untranslated.
StatusTexts ComposeStatusBar(DiskView disk, DirectoryState& state);

// Free sectors as K with one decimal: 3 -> "1.5 K free", -1 -> "-0.5 K free".
std::string FreeSpaceText(int freeSectors);

// 1,600 sectors less the listed files' sectors and the directory's own.
int FreeSectors(const DirectoryState& state);

}  // namespace vellonix::core
